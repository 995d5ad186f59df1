#include "parser/CCommand.h"
#include "parser/CInterfaceBackend.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// The sample game's own files load cleanly and understand the sentences it
// is played with, by their synonyms too: each becomes the verb and the
// object names the scripts compare against.
TEST(SampleVocabulary, ReadsTheSentencesTheGameIsPlayedWith) {
    CInterfaceBackend backend;
    backend.LoadCommands("data/commands.txt", ReadFile(MORVANE_GAME_DIR "/data/commands.txt"));
    backend.LoadObjects("data/objects.txt", ReadFile(MORVANE_GAME_DIR "/data/objects.txt"));
    CCommand command(backend);
    const struct {
        const char* sentence;
        const char* verb;
        const char* object1;
        const char* object2;
    } cases[] = {
        {"look", "look", "", ""},
        {"examine the old guard", "look at", "guard", ""},
        {"x trapdoor", "look at", "hatch", ""},
        {"pick up the crow bar", "take", "crowbar", ""},
        {"get lantern", "take", "lantern", ""},
        {"use crowbar with crate", "use", "crowbar", "crate"},
        {"use the oil can with the lantern", "use", "oil can", "lantern"},
        {"apply jemmy with hasp", "use", "crowbar", "hatch"},
        {"fill lantern with oil", "fill", "lantern", "oil can"},
        {"give the brass key to the gatekeeper", "give", "key", "guard"},
        {"hand key to man", "give", "key", "guard"},
        {"talk to guard", "talk to", "guard", ""},
        {"ask the old man", "talk to", "guard", ""},
        {"go to workshop", "walk to", "workshop", ""},
        {"go down", "walk to", "cellar", ""},
        {"climb the stairs", "walk to", "stairs", ""},
        {"go up", "walk to", "stairs", ""},
        {"enter shed", "walk to", "workshop", ""},
        {"open the wooden door", "open", "door", ""},
        {"look at the looking glass", "look at", "mirror", ""},
        {"push barrels", "push", "barrel", ""},
    };
    for (const auto& [sentence, verb, object1, object2] : cases) {
        SCOPED_TRACE(sentence);
        command.Parse(sentence);
        EXPECT_EQ(command.GetVerb(), verb);
        EXPECT_EQ(command.Object1(), object1);
        EXPECT_EQ(command.Object2(), object2);
    }
}

} // namespace
