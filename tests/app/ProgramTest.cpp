#include "FixtureGame.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <cstdint>
#include <gtest/gtest.h>

TEST(Program, CommandLineAnswers) {
    const auto morvane = BuiltProgram("morvane");
    const auto version = RunProgram(morvane, {"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out.rfind("morvane ", 0), 0u) << version.out;

    const auto help = RunProgram(morvane, {"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("--fixed-step MS"), std::string::npos);

    const auto bad = RunProgram(morvane, {"--frames", "many"});
    EXPECT_EQ(bad.exitStatus, 2);
    EXPECT_NE(bad.err.find("'--frames'"), std::string::npos) << bad.err;
}

namespace {

ProgramResult RunGame(const TempDir& dir, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--headless",        "--frames", "3",
                                     "--fixed-step",      "16",       "--data",
                                     dir.Path().string(), "--config", (dir / "settings.toml").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunProgram(BuiltProgram("morvane"), args);
}

} // namespace

TEST(Program, EmptyDataFolderEndsWithTheMissingResourcesText) {
    TempDir dir;
    const auto result = RunGame(dir);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "Exception:\nCould not find any resources. Where is resource.000? Check the startup path. "
                          "(searched in " + dir.Path().string() + ")\n");
}

TEST(Program, SampleGameStartsAndQuitsCleanly) {
    TempDir dir;
    const auto result =
        RunProgram(BuiltProgram("morvane"),
                   {"--headless", "--frames", "3", "--data", (BuiltProgram("game")).string(), "--config",
                    (dir / "settings.toml").string(), "--capture-audio", (dir / "sound.wav").string()});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "sound.wav"));
}

TEST(Program, FatalErrorsNameTheirCauseAndExitWithOne) {
    struct Case {
        const char* name;
        FixtureFiles files;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"missing vocabulary",
         {{"data/objects.txt", std::nullopt}},
         "LoadFile: Resource 'data/objects.txt' not found."},
        {"missing game script",
         {{"data\\scripts\\master.ads", std::nullopt}},
         "LoadFile: Resource 'data\\scripts\\master.ads' not found."},
        {"vocabulary syntax error",
         {{"data/commands.txt", "look {\n  bogus=1\n}\n"}},
         "data/commands.txt(2)"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteFixtureGame(dir.Path(), c.files);
        const auto result = RunGame(dir);
        EXPECT_EQ(result.exitStatus, 1) << c.name;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << c.name << ": " << result.err;
    }
}

TEST(Program, DumpStateWritesTheThreeStoresAsJson) {
    TempDir dir;
    WriteFixtureGame(dir.Path(), {{"data\\scripts\\master.ads",
                                   "function OnInit() {\n"
                                   "  state.scene = 'hall'; state.three = 3; state.half = 0.5;\n"
                                   "  state.quote = 'say \"hi\"\\\\'; state.none = null; state.me = game;\n"
                                   "  inventory.lamp = true;\n"
                                   "}\n"},
                                  {"data\\scripts\\hall.scs", "function OnInit() {}\n"}});
    const auto result = RunGame(dir, {"--dump-state", (dir / "out.json").string()});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(
        ReadFile(dir / "out.json"),
        "{\"state\": {\"half\": 0.5, \"me\": \"[object]\", \"none\": null, \"quote\": \"say "
        "\\\"hi\\\"\\\\\", "
        "\"scene\": \"hall\", \"three\": 3}, \"inventory\": {\"lamp\": true}, \"setup\": {\"input\": true, "
        "\"inputfield\": true, \"mayload\": true, \"maysave\": true}}\n");
}

// On a hand-stepped clock the captured sound keeps pace with the game: every
// frame's milliseconds are in the file, and the sample game's music is heard.
TEST(Program, FixedStepCaptureHoldsTheWholeRun) {
    TempDir dir;
    const auto wav = dir / "sound.wav";
    const auto result = RunProgram(BuiltProgram("morvane"),
                                   {"--headless", "--frames", "100", "--fixed-step", "16", "--data",
                                    BuiltProgram("game").string(), "--config",
                                    (dir / "settings.toml").string(), "--capture-audio", wav.string()});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const std::string bytes = ReadFile(wav);
    ASSERT_GT(bytes.size(), 44u);
    const size_t frames = (bytes.size() - 44) / 4;
    EXPECT_GE(frames, 1600u * 441 / 10) << "1600 ms of game time";
    size_t loud = 0;
    for (size_t i = 44; i + 1 < bytes.size(); i += 2) {
        const auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                      (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
        loud += (sample > 1000 || sample < -1000) ? 1 : 0;
    }
    EXPECT_GT(loud, frames / 10);
}
