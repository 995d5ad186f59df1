// Input files and recordings on the real program: what a file's mistakes and
// missing texts do to a run, and how its steps, its quit and a recorded
// session reach the game.
#include "FixtureGame.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

// Counts the frames that ran the game and adds up the milliseconds each one advanced it by.
const char* const kCountingMaster =
    "function OnInit() { state.scene = 'start'; state.frames = 0; state.total = 0; }\n"
    "function OnIdle(ms) { state.frames = state.frames + 1; "
    "state.total = state.total + ms; }\n";

class InputReplayProgram : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFixtureGame(m_dir.Path(), {{"data\\scripts\\master.ads", kCountingMaster}});
    }

    // One headless run of the fixture game with `extra` options; the dumped state goes to `dump`.
    ProgramResult Run(const std::vector<std::string>& extra, const std::string& dump = "state.json") {
        std::vector<std::string> args = {"--headless",
                                         "--data",
                                         m_dir.Path().string(),
                                         "--config",
                                         (m_dir / "settings.toml").string(),
                                         "--dump-state",
                                         (m_dir / dump).string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunProgram(BuiltProgram("morvane"), args);
    }

    ProgramResult Replay(const std::string& input, std::vector<std::string> extra = {}) {
        WriteFile(m_dir / "input.txt", input);
        extra.insert(extra.end(), {"--input", InputFile()});
        return Run(extra);
    }

    std::string InputFile() const { return (m_dir / "input.txt").string(); }
    std::string Dumped() const { return ReadFile(m_dir / "state.json"); }
    bool Dumps() const { return std::filesystem::exists(m_dir / "state.json"); }

    TempDir m_dir;
};

} // namespace

TEST_F(InputReplayProgram, AFileThatCannotBeReplayedStopsTheStartWithStatusTwo) {
    struct Case {
        const char* input;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"1 move 1 1\n# fine so far\n2 jump\n", ":3: unknown event 'jump'\n"},
        {"4 quit\n2 quit\n", ":2: frame numbers must not decrease\n"},
        {"1 keydown Foo\n", ":1: unknown key name 'Foo'\n"},
        {"1 at \"Open\n", ":1: unterminated text\n"},
        {"1 pad press a\n", ":1: 'pad press' needs the pad attached first ('pad attach')\n"},
    };
    for (const auto& c : cases) {
        const auto result = Replay(c.input, {"--frames", "3"});
        EXPECT_EQ(result.exitStatus, 2) << c.input;
        EXPECT_EQ(result.err, "morvane: " + InputFile() + c.says);
        EXPECT_FALSE(Dumps()) << "the game never started";
    }

    const auto missing = Run({"--input", (m_dir / "none.txt").string()});
    EXPECT_EQ(missing.exitStatus, 2);
    EXPECT_EQ(missing.err, "morvane: " + (m_dir / "none.txt").string() + ": cannot be read\n");
}

// The loading panel is hidden once the first frame has run.
TEST_F(InputReplayProgram, ATextTheScreenDoesNotShowEndsTheRunWithStatusOne) {
    const auto result = Replay("1 move 5 5\n3 at \"Loading...\"\n", {"--frames", "10"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "morvane: " + InputFile() + ": frame 3: no text \"Loading...\" on the screen\n");
    EXPECT_FALSE(Dumps());
}

TEST_F(InputReplayProgram, EachFrameTakesItsOwnStepElseTheFixedOneElseSixteen) {
    struct Case {
        const char* input;
        std::vector<std::string> options;
        int total;
    };
    // Frame 1 runs at the start time; four frames run.
    const std::vector<Case> cases = {
        {"", {}, 3 * 16},
        {"2 step 40\n3 step 7\n", {}, 40 + 7 + 16},
        {"2 step 40\n3 step 7\n", {"--fixed-step", "10"}, 40 + 7 + 10},
        {"1 step 5\n4 step 0\n", {"--fixed-step", "10"}, 5 + 10 + 10 + 0},
    };
    for (const auto& c : cases) {
        std::vector<std::string> options = c.options;
        options.insert(options.end(), {"--frames", "4"});
        const auto result = Replay(c.input, options);
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_EQ(DumpedValue(Dumped(), "frames"), "4") << c.input;
        EXPECT_EQ(DumpedValue(Dumped(), "total"), std::to_string(c.total)) << c.input;
    }
}

// The close button reaches the window before frame 5, so four frames run.
TEST_F(InputReplayProgram, QuitEndsTheRunCleanly) {
    const auto result = Replay("2 step 20\n5 quit\n9 move 1 1\n", {"--frames", "100"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(DumpedValue(Dumped(), "frames"), "4");
    EXPECT_EQ(DumpedValue(Dumped(), "total"), "52");
}

// A recording on real time writes each frame's step; replayed, the game sees
// the very same milliseconds.
TEST_F(InputReplayProgram, ARecordedSessionReplaysToTheSameState) {
    const auto record = (m_dir / "session.txt").string();
    const auto recorded = Run({"--frames", "6", "--record", record}, "recorded.json");
    ASSERT_EQ(recorded.exitStatus, 0) << recorded.err;
    const std::string session = ReadFile(record);
    const std::regex steps(
        "(2 step \\d+\n)(3 step \\d+\n)(4 step \\d+\n)(5 step \\d+\n)(6 step \\d+\n)(7 step \\d+\n)");
    EXPECT_TRUE(std::regex_match(session, steps)) << session;

    const auto replayed = Run({"--frames", "6", "--input", record}, "replayed.json");
    ASSERT_EQ(replayed.exitStatus, 0) << replayed.err;
    EXPECT_EQ(ReadFile(m_dir / "replayed.json"), ReadFile(m_dir / "recorded.json"));
    EXPECT_EQ(DumpedValue(ReadFile(m_dir / "replayed.json"), "frames"), "6");
}
