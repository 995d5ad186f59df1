// The sample game as the build packs it, played by the real program: its
// scenes start cleanly, every thing in them can be looked at, what no scene
// handles gets a reply that fits, and the arrow keys steer the hero.
#include "app/FixtureGame.h"
#include "app/SampleGameRun.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// "look at NAME" typed, carried out, and its message closed, for each name.
std::string LookAtEach(const std::vector<std::string>& names) {
    std::string input;
    int frame = 5;
    for (const std::string& name : names) {
        input += std::to_string(frame) + " type \"look at " + name + "\"\n" + std::to_string(frame + 1) +
                 " key Return\n" + std::to_string(frame + 4) + " key Return\n";
        frame += 6;
    }
    return input + std::to_string(frame + 2) + " quit\n";
}

void ExpectCleanRun(const SampleGameResult& run) {
    ASSERT_EQ(run.program.exitStatus, 0) << run.program.err;
    EXPECT_EQ(run.program.err, "") << "no script reported an error";
    EXPECT_EQ(DumpedValue(run.json, "scripterrors"), "<missing>") << run.json;
}

TEST(SampleGame, TheFirstSceneSettlesWithoutScriptErrors) {
    SampleGameRun game;
    const SampleGameResult run = game.PlayText("", 100);
    ExpectCleanRun(run);
    EXPECT_EQ(DumpedValue(run.json, "scene"), "\"courtyard\"");
    EXPECT_EQ(DumpedValue(run.json, "visited"), "\"courtyard\"");
    EXPECT_EQ(DumpedValue(run.json, "cameraready"), "true") << "the camera's move ended with its event";
    EXPECT_EQ(DumpedValue(run.json, "herowalking"), "false") << "the hero's own script started";
}

// Every thing of every scene by its name as clicks put it on the command
// line, and a few by other words: each gets the scene's own description,
// never one of the game's replies for what no scene handles (those count in
// state.replies).
TEST(SampleGame, EverySceneDescribesEachOfItsThings) {
    const struct {
        const char* scene;
        std::vector<std::string> names;
    } scenes[] = {
        {"courtyard",
         {"crate", "small crate", "red box", "glass cube", "lamp", "mirror", "puddle", "wall", "gate", "door",
          "workshop", "guard", "yourself", "the old guard", "lamp post", "iron gate"}},
        {"workshop",
         {"bench", "shelf", "crowbar", "lantern", "hatch", "cellar", "door", "courtyard", "wall", "yourself",
          "the trapdoor", "workbench"}},
        {"cellar", {"barrel", "key", "stairs", "workshop", "wall", "yourself", "casks", "brass key"}},
    };
    for (const auto& [scene, names] : scenes) {
        SCOPED_TRACE(scene);
        SampleGameRun game;
        const SampleGameResult run = game.PlayText(LookAtEach(names), 400, scene);
        ExpectCleanRun(run);
        EXPECT_EQ(DumpedValue(run.json, "scene"), "\"" + std::string(scene) + "\"");
        EXPECT_EQ(DumpedValue(run.json, "replies"), "<missing>") << run.json;
    }
}

// The replies take turns and name the things as the player did; what cannot
// be done gets a reason. `at` stops the run with status 1 when the text is
// not on the screen.
TEST(SampleGame, UnhandledActionsGetVariedFittingReplies) {
    const struct {
        const char* sentence;
        const char* reply;
    } cases[] = {
        {"take lamp", "You cannot take the lamp."},
        {"take lamp", "What would you want with the lamp?"},
        {"dance a jig", "I do not understand that."},
        {"give crate to guard", "You do not have the crate."},
        {"use crowbar with gate", "You do not have the crowbar."},
        {"talk to the lamp", "You talk to the lamp. It does not answer."},
        {"open", "What do you want to open?"},
    };
    std::string input;
    int frame = 5;
    for (const auto& [sentence, reply] : cases) {
        input += std::to_string(frame) + " type \"" + sentence + "\"\n" + std::to_string(frame + 1) +
                 " key Return\n" + std::to_string(frame + 4) + " at \"" + reply + "\"\n" +
                 std::to_string(frame + 5) + " key Return\n";
        frame += 8;
    }
    input += std::to_string(frame) + " quit\n";
    SampleGameRun game;
    const SampleGameResult run = game.PlayText(input, 400);
    ExpectCleanRun(run);
}

// The hero walks out of a room by the keys alone: turned round and walked
// forward through the workshop door, or stepped back onto the cellar stairs.
TEST(SampleGame, TheArrowKeysSteerTheHero) {
    const struct {
        const char* scene;
        const char* input;
        const char* reached;
    } cases[] = {
        // He stands facing away from the door: half a turn to the right, then forward.
        {"workshop", "5 keydown Right\n36 keyup Right\n37 keydown Up\n70 keyup Up\n", "workshop,courtyard"},
        // He stands with his back to the stairs.
        {"cellar", "5 keydown Down\n45 keyup Down\n", "cellar,workshop"},
    };
    for (const auto& [scene, input, reached] : cases) {
        SCOPED_TRACE(scene);
        SampleGameRun game;
        const SampleGameResult run = game.PlayText(input, 90, scene);
        ExpectCleanRun(run);
        EXPECT_EQ(DumpedValue(run.json, "visited"), "\"" + std::string(reached) + "\"");
    }
}

} // namespace
