// game/playthrough.txt plays the sample game from its start to its end, with
// a save and a load on the way, headless on the real program: the test that
// the game can be finished, and that it stays so.
#include "app/FixtureGame.h"
#include "app/SampleGameRun.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(Playthrough, PlaysTheSampleGameToItsEnd) {
    // The step the file is written for.
    SampleGameRun game(100);
    // The file ends with "quit" long before this.
    const SampleGameResult run = game.Play(MORVANE_GAME_DIR "/playthrough.txt", 3000);
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
