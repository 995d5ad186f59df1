// morvane-synth run as the game build runs it, its files read back by the
// engine's own loaders.
#include "SoundTestSupport.h"

#include "sound/CSoundData.h"
#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

struct ExpectedSound {
    const char* name;
    std::size_t minFrames;
    std::size_t maxFrames;
    bool loops;
};

// Lengths are ranges: the sounds may be retuned, but a click stays short and
// the theme lasts seconds.
constexpr ExpectedSound Sounds[] = {
    {"click.raw", 100, 44100 / 4, false},
    {"chime.ogg", 44100 / 4, 44100 * 3, false},
    {"step.raw", 100, 44100 / 4, false},
    {"pickup.ogg", 44100 / 10, 44100, false},
    {"door.ogg", 44100 / 4, 44100 * 2, false},
    {"theme.ogg", 44100 * 2, 44100 * 20, true},
    {"workshop.ogg", 44100 * 2, 44100 * 20, true},
    {"cellar.ogg", 44100 * 2, 44100 * 20, true},
};

class SynthTool : public ::testing::Test {
protected:
    ProgramResult Synth(const std::vector<std::string>& args) {
        return RunProgram(BuiltProgram("morvane-synth"), args);
    }

    // Runs the tool into `dir` and fails the test when it does not succeed.
    void SynthInto(const std::filesystem::path& dir) {
        const ProgramResult result = Synth({dir.string()});
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        ASSERT_TRUE(result.err.empty()) << result.err;
    }

    // Decodes the whole sound through the engine's loader for its name.
    std::vector<std::int16_t> Decode(const std::filesystem::path& dir, const std::string& name) {
        const std::string bytes = ReadFile(dir / "sound" / name);
        rig.files.Write(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        auto sound = CSoundData::Load(*rig.engine, name);
        sound->PlayFromStart();
        // Far more room than any of the sounds needs: what comes back shows the length.
        std::vector<std::uint8_t> out(44100 * 4 * 30);
        const std::size_t real = sound->GetData(out.data(), out.size(), false);
        out.resize(real);
        return ToSamples(out);
    }

    EngineRig rig;
    TempDir out;
};

TEST_F(SynthTool, WritesSoundsTheEngineDecodes) {
    SynthInto(out.Path());
    for (const ExpectedSound& expected : Sounds) {
        SCOPED_TRACE(expected.name);
        const std::vector<std::int16_t> samples = Decode(out.Path(), expected.name);
        const std::size_t frames = samples.size() / 2;
        EXPECT_GE(frames, expected.minFrames);
        EXPECT_LE(frames, expected.maxFrames);
        const auto loudest = std::max_element(samples.begin(), samples.end(),
                                              [](int a, int b) { return std::abs(a) < std::abs(b); });
        ASSERT_NE(loudest, samples.end());
        EXPECT_GT(std::abs(*loudest), 3000) << "clearly audible";
        EXPECT_LT(std::abs(*loudest), 32767) << "no clipping";
        if (expected.loops) {
            // Starting and ending near silence is what lets the music loop without a click.
            for (std::size_t i : {std::size_t{0}, std::size_t{1}, samples.size() - 2, samples.size() - 1}) {
                EXPECT_LT(std::abs(samples[i]), 300) << "sample " << i;
            }
        }
    }
}

TEST_F(SynthTool, EveryRunWritesTheSameBytes) {
    TempDir second;
    SynthInto(out.Path());
    SynthInto(second.Path());
    for (const ExpectedSound& expected : Sounds) {
        EXPECT_EQ(ReadFile(out / "sound" / expected.name), ReadFile(second / "sound" / expected.name))
            << expected.name;
    }
}

TEST_F(SynthTool, ExitStatusAndMessages) {
    WriteFile(out / "plain-file", "not a folder");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* inOut;
        const char* inErr;
    };
    const Case cases[] = {
        {{"--help"}, 0, "Usage: morvane-synth OUT_DIR", ""},
        {{}, 2, "", "Usage: morvane-synth OUT_DIR"},
        {{"a", "b"}, 2, "", "Usage: morvane-synth OUT_DIR"},
        {{"--loud"}, 2, "", "Usage: morvane-synth OUT_DIR"},
        {{(out / "plain-file").string()}, 1, "", "cannot create"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(no arguments)" : c.args[0]);
        const ProgramResult result = Synth(c.args);
        EXPECT_EQ(result.exitStatus, c.status);
        EXPECT_NE(result.out.find(c.inOut), std::string::npos) << result.out;
        EXPECT_NE(result.err.find(c.inErr), std::string::npos) << result.err;
    }
    EXPECT_NE(Synth({(out / "plain-file").string()}).err.find("plain-file"), std::string::npos)
        << "the error names the path";
}

} // namespace
