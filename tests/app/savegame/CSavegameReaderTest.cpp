#include "app/savegame/CSavegameReader.h"
#include "app/savegame/SavegameBytes.h"
#include "app/savegame/SavegameScene.h"
#include "render/C3DEngine2.h"
#include "render/CEngineLight.h"
#include "render/model/CModelInstance.h"
#include "resources/CADVException.h"
#include "scene/CScene.h"
#include "scene/CSceneObject.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

const char* const kRoomScript = "scene.addobject(\"name='hero' model='m.spr' posx='1' pickable='true'\");"
                                "scene.addobject(\"name='chest' model='m.spr' posx='4' posz='2'\");"
                                "scene.addlight(\"name='lamp' type='spot' visible='true'\");"
                                "function OnInit() {}";

// The exception text `action` throws, or "" when it throws none.
template <class Action> std::string ErrorOf(Action action) {
    try {
        action();
    } catch (const CADVException& e) {
        return e.GetText();
    }
    return {};
}

CSceneObject& Object(SavegameScene& game, const std::u16string& name) {
    CSceneObject* object = game.Scene().FindByName(name);
    if (object == nullptr) {
        throw std::runtime_error("no such object");
    }
    return *object;
}

std::vector<std::uint8_t> Saved(CState& store) {
    std::vector<std::uint8_t> record;
    store.Save(record);
    return record;
}

// A game in play: every stored value type, objects moved, animated, hidden
// and switched off, the camera turned, one polygon disabled.
class PlayedGame : public SavegameScene {
public:
    PlayedGame() : SavegameScene(kRoomScript, {"trap", "walk"}) {
        State().SetVariant(u"scene", Variant::Bstr(u"room"));
        State().SetVariant(u"count", Variant::I4(-7));
        State().SetVariant(u"ratio", Variant::R4(0.5f));
        State().SetVariant(u"precise", Variant::R8(1.0 / 3.0));
        State().SetVariant(u"door_open", Variant::Bool(true));
        State().SetVariant(u"nothing", Variant());
        Inventory().SetVariant(u"key", Variant::Bool(false));
        Inventory().SetVariant(u"coins", Variant::I4(12));
        Setup().SetVariant(u"textspeed", Variant::R8(2.5));
        Setup().SetVariant(u"player", Variant::Bstr(u"Ann\u00e9"));

        CSceneObject& hero = Object(*this, u"hero");
        hero.SetPosition({2.0f, 0.0f, 3.0f});
        hero.SetRotation({0.0f, 1.25f, 0.0f});
        hero.SetAnimation("walk");
        Object(*this, u"chest").SetVisible(false);
        CSceneObject& lamp = Object(*this, u"lamp");
        lamp.SetVisible(false);
        lamp.Light()->light.Range = 12.0f;
        Scene().SetFreeMoveObject(&hero);

        Host().Renderer().SetCamera({1.0f, 2.0f, -10.0f}, {0.0f, 1.0f, 0.5f}, {0.0f, 1.0f, 0.0f});
        Polygons().Find("trap")->enabled = false;
    }
};

TEST(CSavegameReader, WhatIsWrittenReadsBackIntoAFreshlyLoadedScene) {
    PlayedGame played;
    const std::vector<std::uint8_t> content = played.Save("In the room");

    SavegameScene fresh(kRoomScript, {"trap", "walk"});
    EXPECT_EQ(fresh.Load(content).description, "In the room");

    for (auto [restored, original] :
         {std::pair{&fresh.State(), &played.State()}, std::pair{&fresh.Inventory(), &played.Inventory()},
          std::pair{&fresh.Setup(), &played.Setup()}}) {
        EXPECT_EQ(Saved(*restored), Saved(*original));
    }
    EXPECT_EQ(fresh.State().GetVariant(u"ratio").Type(), VT_R4);
    EXPECT_EQ(fresh.State().GetVariant(u"precise").RealValue(), 1.0 / 3.0);
    EXPECT_EQ(fresh.Setup().GetVariant(u"player").BstrValue(), u"Ann\u00e9");

    const CSceneObject& hero = Object(fresh, u"hero");
    EXPECT_EQ(hero.GetPosition(), (D3DXVECTOR3{2.0f, 0.0f, 3.0f}));
    EXPECT_EQ(hero.Instance()->rotation.y, 1.25f);
    EXPECT_EQ(hero.GetAnimation(), "walk");
    EXPECT_FALSE(Object(fresh, u"chest").GetVisible());
    EXPECT_FALSE(Object(fresh, u"lamp").Light()->switchedOn);
    EXPECT_EQ(Object(fresh, u"lamp").Light()->light.Range, 12.0f);
    EXPECT_EQ(fresh.Scene().FreeMoveObject(), &hero);
    EXPECT_EQ(fresh.Host().Renderer().CameraEye(), (D3DXVECTOR3{1.0f, 2.0f, -10.0f}));
    EXPECT_EQ(fresh.Host().Renderer().CameraAt(), (D3DXVECTOR3{0.0f, 1.0f, 0.5f}));
    EXPECT_FALSE(fresh.Polygons().Find("trap")->enabled);
    EXPECT_TRUE(fresh.Polygons().Find("walk")->enabled);

    // Nothing was lost on the way: the restored game saves the same file.
    EXPECT_EQ(fresh.Save("In the room"), content);
}

TEST(CSavegameReader, HeaderFailures) {
    const struct {
        std::vector<std::uint8_t> content;
        const char* error;
    } cases[] = {
        {{},
         "Exception:\nCSavegameReader - Savegame 07.sav is damaged: it holds 0 bytes, too few for a "
         "savegame header of 260."},
        {std::vector<std::uint8_t>(259, 6),
         "Exception:\nCSavegameReader - Savegame 07.sav is damaged: it holds 259 bytes, too few for a "
         "savegame header of 260."},
        {SavegameBytes().Header(5, "old").Bytes(),
         "Exception:\nCSavegameReader - Incorrect header for savegame 07.sav (tag 5 instead of 6)."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf([&] { CSavegameReader(c.content, "07.sav").ReadHeader(); }), c.error);
    }
}

TEST(CSavegameReader, ContentCutInsideAnySectionSaysWhere) {
    PlayedGame played;
    const std::vector<std::uint8_t> content = played.Save();
    // Where each section's tag stands, from the sizes of the records before it.
    std::vector<std::uint8_t> scene;
    played.Scene().Save(scene);
    const std::size_t stateTag = 260;
    const std::size_t inventoryTag = stateTag + 4 + Saved(played.State()).size();
    const std::size_t setupTag = inventoryTag + 4 + Saved(played.Inventory()).size();
    const std::size_t sceneTag = setupTag + 4 + Saved(played.Setup()).size();
    const std::size_t cameraTag = sceneTag + 4 + scene.size();
    const std::size_t polygonTag = cameraTag + 4 + 36;
    const std::size_t endTag = content.size() - 4;
    ASSERT_EQ(endTag, polygonTag + 4 + (4 + 4 + 1) * 2 + 4);

    const std::string damaged = "Exception:\nCSavegameReader - Savegame 07.sav is damaged: ";
    const struct {
        std::size_t cut;
        std::string error; // the start of the text
    } cases[] = {
        {stateTag, damaged + "it ends before the state section."},
        {stateTag + 6,
         "Exception:\nCState::Load - Damaged state record in 07.sav (the state section) at byte"},
        {inventoryTag + 2, damaged + "it ends before the inventory section."},
        {inventoryTag + 10,
         "Exception:\nCState::Load - Damaged state record in 07.sav (the inventory section)"},
        {setupTag, damaged + "it ends before the setup section."},
        {sceneTag - 1, "Exception:\nCState::Load - Damaged state record in 07.sav (the setup section)"},
        {sceneTag + 3, damaged + "it ends before the scene section."},
        // The first object's own record is cut.
        {sceneTag + 30,
         damaged + "its scene section does not read (CSceneObject::Restore - Damaged scene object record"},
        {sceneTag + 8,
         damaged + "its scene section does not read (CScene::Restore - Scene record is damaged"},
        {cameraTag, damaged + "it ends before the camera section."},
        {cameraTag + 4 + 35, damaged + "it ends inside the camera section."},
        {polygonTag, damaged + "it ends before the polygon section."},
        {polygonTag + 4, damaged + "it ends inside the polygon section."},
        {polygonTag + 4 + 4 + 2, damaged + "a polygon entry runs past its end."},
        {endTag - 1, damaged + "it ends inside the polygon section."},
        {endTag, damaged + "it ends before its end tag."},
        {endTag + 3, damaged + "it ends before its end tag."},
    };
    SavegameScene fresh(kRoomScript, {"trap", "walk"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cut);
        const std::vector<std::uint8_t> cut(content.begin(), content.begin() + static_cast<long>(c.cut));
        EXPECT_THAT(ErrorOf([&] { fresh.Load(cut); }), StartsWith(c.error));
    }
    // Whatever the cut, the reader finds it instead of reading past the end.
    for (std::size_t size = 0; size < content.size(); ++size) {
        const std::vector<std::uint8_t> cut(content.begin(), content.begin() + static_cast<long>(size));
        EXPECT_THAT(ErrorOf([&] { fresh.Load(cut); }), HasSubstr("07.sav")) << size;
    }
    EXPECT_EQ(ErrorOf([&] { fresh.Load(content); }), "");
}

TEST(CSavegameReader, APolygonTheSceneDoesNotDefineIsCorruption) {
    SavegameScene played("", {"a", "b", "c"});
    for (auto& [name, polygon] : played.Polygons().GetEntries()) {
        polygon.enabled = false;
    }
    SavegameScene fresh("", {"a", "c"});
    EXPECT_EQ(fresh.Load(played.Save()).unknownPolygon, "Savegame is corrupt. Loading might have failed.");
    // The polygons around the unknown one were restored all the same.
    EXPECT_FALSE(fresh.Polygons().Find("a")->enabled);
    EXPECT_FALSE(fresh.Polygons().Find("c")->enabled);
    SavegameScene same("", {"a", "b", "c"});
    EXPECT_EQ(same.Load(played.Save()).unknownPolygon, std::nullopt);
}

TEST(CSavegameReader, ThePolygonListEndsAtALengthOfZeroOrOf256AndMore) {
    const std::string name255(255, 'p');
    const struct {
        const char* name;
        SavegameBytes polygons; // after the section tag, up to the end tag
        bool enabledAfter;
    } cases[] = {
        {"empty list", SavegameBytes().U32(0), true},
        {"a 255-byte name is read", SavegameBytes().U32(255).Text(name255).Raw({0}).U32(0), false},
        // Were the 256 bytes taken as a name, it would be unknown and the load fail.
        {"256 ends the list", SavegameBytes().U32(256).Text(std::string(256, 'p')).Raw({0}).U32(0), true},
        {"a negative length ends the list", SavegameBytes().U32(0xFFFFFFFF), true},
    };
    SavegameScene played("");
    const std::vector<std::uint8_t> empty = played.Save();
    // Everything up to and including the polygon section's tag.
    const std::vector<std::uint8_t> start(empty.begin(), empty.end() - 8);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SavegameScene fresh("", {name255});
        const std::vector<std::uint8_t> content =
            SavegameBytes().Append(start).Append(c.polygons.Bytes()).U32(0).Bytes();
        EXPECT_EQ(ErrorOf([&] { fresh.Load(content); }), "");
        EXPECT_EQ(fresh.Polygons().Find(name255)->enabled, c.enabledAfter);
    }
}

} // namespace
