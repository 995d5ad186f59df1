// game/playthrough.txt plays the sample game from its start to its end, with
// a save and a load on the way, and game/playthrough-pad.txt plays it with a
// game controller alone, headless on the real program: the tests that the
// game can be finished, and that it stays so.
#include "app/FixtureGame.h"
#include "app/SampleGameRun.h"
#include "platform/DInputScript.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Both files end long before this.
constexpr int kFrames = 5000;

void ExpectTheGameFinished(const SampleGameRun& game, const SampleGameResult& run) {
    ASSERT_EQ(run.program.exitStatus, 0) << "a text the file waits for with \"at\" did not show\n" << run.program.err;
    EXPECT_EQ(run.program.err, "") << "no script reported an error";
    EXPECT_EQ(DumpedValue(run.json, "scripterrors"), "<missing>") << run.json;
    EXPECT_EQ(DumpedValue(run.json, "finished"), "true") << run.json;
    EXPECT_EQ(DumpedValue(run.json, "visited"), "\"courtyard,workshop,cellar\"");
    EXPECT_EQ(DumpedValue(run.json, "scene"), "\"courtyard\"");
    EXPECT_EQ(DumpedValue(run.json, "key"), "false") << "the guard has his key back";
    EXPECT_EQ(DumpedValue(run.json, "inputfield"), "true") << "the ending gave the controls back";
    EXPECT_TRUE(std::filesystem::exists(game.Saves() / "01.sav")) << "the game was saved on the way";
}

} // namespace

TEST(Playthrough, PlaysTheSampleGameToItsEnd) {
    // The step the file is written for.
    SampleGameRun game(100);
    ExpectTheGameFinished(game, game.Play(MORVANE_GAME_DIR "/playthrough.txt", kFrames));
}

// The run ends with the pad's own choice of "Quit" in the game menu.
TEST(Playthrough, PlaysTheSampleGameToItsEndWithAPadAlone) {
    const std::filesystem::path file = MORVANE_GAME_DIR "/playthrough-pad.txt";
    const DInputScript script = DInputScript::Parse(ReadFile(file), file.string());
    for (const DInputEvent& event : script.Events()) {
        EXPECT_NE(DInputScript::FormatLine(event).find(" pad "), std::string::npos)
            << DInputScript::FormatLine(event) << ": only the pad plays";
    }
    SampleGameRun game;
    ExpectTheGameFinished(game, game.Play(file, kFrames));
}
