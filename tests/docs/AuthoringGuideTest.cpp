// The authoring guide against the engine: every name a script can use must be
// documented, so a member added to a script object cannot go unmentioned.
#include "app/world/CGameScriptObject.h"
#include "scene/CScene.h"
#include "scene/CSceneObject.h"
#include "script/CGlobalVars.h"
#include "sound/CSoundData.h"
#include "sound/CSoundEngine.h"
#include "sound/CSoundMultiSequencer.h"
#include "state/CState.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadGuide() {
    std::ifstream in(MORVANE_SOURCE_DIR "/docs/authoring.md", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Script-visible names are plain ASCII.
std::string Ascii(std::u16string_view name) {
    return {name.begin(), name.end()};
}

struct NameList {
    const char* object;
    std::vector<std::string> names;
    // Functions may be written as calls: `OnIdle(ms)`.
    bool callable = false;
};

bool IsNamed(const std::string& guide, const std::string& name, bool callable) {
    return guide.find("`" + name + "`") != std::string::npos ||
           (callable && guide.find("`" + name + "(") != std::string::npos);
}

NameList FromTable(const char* object, std::span<const DispatchMember> members) {
    NameList list{object, {}};
    for (const DispatchMember& member : members) {
        list.names.push_back(Ascii(member.name));
    }
    return list;
}

NameList FromNames(const char* object, std::span<const std::u16string_view> names) {
    NameList list{object, {}};
    for (const std::u16string_view name : names) {
        list.names.push_back(Ascii(name));
    }
    return list;
}

// Each name as `name` (or `name(...)`) somewhere in the guide; all missing ones in one message.
void ExpectDocumented(const std::string& guide, const std::vector<NameList>& lists) {
    std::string missing;
    for (const NameList& list : lists) {
        // An empty list would make the check pass without checking anything.
        EXPECT_FALSE(list.names.empty()) << list.object << " lists no names";
        for (const std::string& name : list.names) {
            if (!IsNamed(guide, name, list.callable)) {
                missing += std::string("\n  ") + list.object + ": " + name;
            }
        }
    }
    EXPECT_TRUE(missing.empty()) << "docs/authoring.md does not name these as `name`:" << missing;
}

TEST(AuthoringGuideTest, NamesEveryMemberOfEveryScriptObject) {
    const std::string guide = ReadGuide();
    ASSERT_FALSE(guide.empty()) << "docs/authoring.md cannot be read";
    ExpectDocumented(guide, {
                                FromTable("game", CGameScriptObject::ScriptMembers()),
                                FromTable("scene", CScene::ScriptMembers()),
                                FromTable("scene object", CSceneObject::ScriptMembers()),
                                FromTable("sound", CSoundEngine::ScriptMembers()),
                                FromTable("sound effect", CSoundData::ScriptMembers()),
                                FromTable("music", CSoundMultiSequencer::ScriptMembers()),
                                FromNames("state store", CState::kFixedNames),
                                FromNames("global functions", CGlobalVars::kNames),
                            });
}

TEST(AuthoringGuideTest, NamesThePublishedObjectsAndEveryCallback) {
    // What the engine publishes to scripts and the functions it calls in them
    // are not tables of their own, so they are listed here.
    const NameList published{"published object",
                             {"game", "state", "inventory", "setup", "sound", "scene", "object"}};
    const NameList callbacks{"callback",
                             {"OnInit", "OnIdle", "OnEvent", "OnAction", "OnAskVerb", "OnAskPreposition",
                              "OnDestroy", "OnScriptException", "ConstructSavegameDescription"},
                             true};
    ExpectDocumented(ReadGuide(), {published, callbacks});
}

} // namespace
