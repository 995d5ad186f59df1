#include "SoundTestSupport.h"

#include "resources/CADVException.h"
#include "sound/CSoundData.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace {

// One effect of a constant frame, mixed alone: the output frame shows the
// volume, pan, group and master rules with their integer truncation.
struct MixCase {
    int effectVolume;
    int masterVolume;
    int volume;
    int pan;
    std::int16_t inLeft, inRight;
    std::int16_t outLeft, outRight;
};

class MixRules : public testing::TestWithParam<MixCase> {};

TEST_P(MixRules, OneEffectGivesTheExactSamples) {
    const MixCase& c = GetParam();
    EngineRig rig(
        {{"latencybuffer", 16}, {"effectvolume", c.effectVolume}, {"mastervolume", c.masterVolume}});
    rig.files.Write("tone.raw", ToBytes(Constant(4096, c.inLeft, c.inRight)));
    CSoundData& effect = rig.engine->AddEffect("tone", "tone.raw");
    effect.SetVolume(c.volume);
    effect.SetPan(c.pan);
    effect.PlayFromStart();
    const std::vector<std::int16_t> half = rig.NextHalf();
    EXPECT_EQ(half, Constant(half.size() / 2, c.outLeft, c.outRight));
}

INSTANTIATE_TEST_SUITE_P(
    Table, MixRules,
    testing::Values(
        // All at unity: the sample passes unchanged.
        MixCase{64, 64, 64, 0, 1000, -2000, 1000, -2000},
        // Volume 1: gain 32, 1000*32/2048 = 15.6 -> 15, -2000*32/2048 = -31.25 -> -31 (toward zero).
        MixCase{64, 64, 1, 0, 1000, -2000, 15, -31}, MixCase{64, 64, 32, 0, 1000, -2000, 500, -1000},
        // Pan raises the side it points to, up to twice; the other side stays.
        MixCase{64, 64, 64, 32, 1000, -2000, 1000, -4000}, MixCase{64, 64, 64, -32, 1000, -2000, 2000, -2000},
        MixCase{64, 64, 64, -16, 1000, -2000, 1500, -2000},
        // Group and master volumes.
        MixCase{32, 64, 64, 0, 1000, -2000, 500, -1000}, MixCase{64, 32, 64, 0, 1000, -2000, 500, -1000},
        // Settings above 63 are used as 64.
        MixCase{100, 200, 64, 0, 1000, -2000, 1000, -2000},
        // Volume 256 is four times unity; the result is clamped to +-32767.
        MixCase{64, 64, 256, 0, 1000, -2000, 4000, -8000},
        MixCase{64, 64, 256, 32, 20000, -20000, 32767, -32767}));

TEST(SoundMix, ObjectsAreSummedAndGroupVolumeChangesAreSeen) {
    EngineRig rig({{"latencybuffer", 16}, {"effectvolume", 64}, {"musicvolume", 32}});
    rig.files.Write("a.raw", ToBytes(Constant(4096, 1000, 100)));
    rig.files.Write("b.raw", ToBytes(Constant(4096, 300, -400)));
    rig.engine->AddEffect("a", "a.raw").PlayFromStart();
    rig.engine->AddEffect("b", "b.raw").PlayFromStart();
    std::vector<std::int16_t> half = rig.NextHalf();
    EXPECT_EQ(half, Constant(half.size() / 2, 1300, -300));

    // Halving the effect group in flight is seen at the next pass.
    rig.engine->SetEffectVolume(32);
    half = rig.NextHalf();
    EXPECT_EQ(half, Constant(half.size() / 2, 650, -150));
}

TEST(SoundMix, SilenceWhenEveryObjectIsAtVolumeZero) {
    EngineRig rig;
    rig.files.Write("a.raw", ToBytes(Constant(4096, 1000, 1000)));
    for (const char* name : {"a", "b"}) {
        CSoundData& effect = rig.engine->AddEffect(name, "a.raw");
        effect.PlayFromStart();
        effect.SetVolume(0);
    }
    const std::vector<std::int16_t> half = rig.NextHalf();
    EXPECT_EQ(half, std::vector<std::int16_t>(half.size(), 0));
}

TEST(SoundMix, HalvesFollowTheBufferAndANonLoopingSoundEnds) {
    EngineRig rig;
    const std::size_t halfFrames = rig.engine->HalfBufferBytes() / 4;
    // A ramp of one and a half halves: the second half mixed holds its end,
    // then silence.
    rig.files.Write("ramp.raw", ToBytes(Ramp(halfFrames * 3 / 2)));
    CSoundData& effect = rig.engine->AddEffect("ramp", "ramp.raw");
    effect.PlayFromStart();
    std::vector<std::int16_t> expected = Ramp(halfFrames * 2);
    for (std::size_t i = halfFrames * 3; i < expected.size(); ++i) {
        expected[i] = 0;
    }
    std::vector<std::int16_t> stream = rig.NextHalf();
    const std::vector<std::int16_t> second = rig.NextHalf();
    stream.insert(stream.end(), second.begin(), second.end());
    EXPECT_EQ(stream, expected);
    EXPECT_FALSE(effect.IsPlaying());
}

TEST(SoundMix, EffectNamesNumbersAndClearing) {
    EngineRig rig;
    rig.files.Write("a.raw", ToBytes(Constant(16, 1, 1)));
    rig.files.Write("b.raw", ToBytes(Constant(16, 2, 2)));
    CSoundData& first = rig.engine->AddEffect("door", "a.raw");
    CSoundData& bell = rig.engine->AddEffect("bell", "b.raw");
    EXPECT_EQ(rig.engine->FindEffect("bell"), &bell);
    try {
        rig.engine->AddEffect("door", "b.raw");
        FAIL() << "a second definition must fail";
    } catch (const CADVException& e) {
        EXPECT_STREQ(e.GetText(), "Exception:\nSound effect door already defined!");
    }
    EXPECT_EQ(rig.engine->FindEffect("door"), &first);
    EXPECT_EQ(rig.engine->EffectNumber("door"), 1);
    EXPECT_EQ(rig.engine->EffectNumber("bell"), 2);
    EXPECT_EQ(rig.engine->EffectByNumber(1), &first);
    EXPECT_EQ(rig.engine->EffectNumber("nothing"), 0);

    rig.engine->ClearEffects();
    EXPECT_EQ(rig.engine->FindEffect("door"), nullptr);
    EXPECT_EQ(rig.engine->EffectByNumber(1), nullptr);
    rig.engine->AddEffect("bell", "b.raw");
    EXPECT_EQ(rig.engine->EffectNumber("bell"), 1);
}

TEST(SoundMix, AnEffectFileIsReadWithoutHoldingTheEngine) {
    // While the file is read, another thread (as the streaming thread would)
    // still gets into the engine.
    DClock clock(DClock::Mode::Manual);
    CSoundEngine* engine = nullptr;
    std::future<CSoundData*> other;
    bool enteredMeanwhile = false;
    const auto loader = [&](const std::string&) {
        other = std::async(std::launch::async, [&] { return engine->FindEffect("door"); });
        enteredMeanwhile = other.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        return ToBytes(Constant(16, 1, 1));
    };
    CSoundEngine sound(EngineSettings({}), clock, CSoundEngine::OpenOutput(clock, true, ""), loader);
    engine = &sound;
    sound.AddEffect("door", "a.raw");
    EXPECT_TRUE(enteredMeanwhile);
    EXPECT_NE(sound.FindEffect("door"), nullptr);
}

TEST(SoundMix, AMissingRawFileRaisesTheArchiveError) {
    EngineRig rig;
    try {
        rig.engine->AddEffect("x", "missing.raw");
        FAIL() << "a missing file must fail";
    } catch (const CADVException& e) {
        EXPECT_STREQ(e.GetText(), "Exception:\nLoadFile: Resource 'data\\sound\\missing.raw' not found.");
    }
    EXPECT_EQ(rig.engine->FindEffect("x"), nullptr);
}

// The latency setting in units of 256 bytes, clamped to 16..2048.
TEST(SoundSettings, LatencyIsClamped) {
    const struct {
        int latency;
        std::size_t bytes;
    } cases[] = {{0, 4096}, {10, 4096}, {16, 4096}, {256, 65536}, {5000, 524288}};
    for (const auto& c : cases) {
        EngineRig rig({{"latencybuffer", c.latency}});
        EXPECT_EQ(rig.engine->BufferBytes(), c.bytes) << c.latency;
    }
}

TEST(SoundSettings, VolumesAreClampedToZeroTo64) {
    const struct {
        int stored;
        int used;
    } cases[] = {{-5, 0}, {0, 0}, {63, 63}, {64, 64}, {100, 64}};
    for (const auto& c : cases) {
        EngineRig rig({{"latencybuffer", 16},
                       {"musicvolume", c.stored},
                       {"effectvolume", c.stored},
                       {"mastervolume", c.stored}});
        EXPECT_EQ(rig.engine->GetMusicVolume(), c.used) << c.stored;
        EXPECT_EQ(rig.engine->GetEffectVolume(), c.used) << c.stored;
        EXPECT_EQ(rig.engine->GetMasterVolume(), c.used) << c.stored;
    }
}

// Starting and destroying engines back to back, including one destroyed
// while its thread is still starting, never hangs or touches freed memory.
TEST(SoundThread, EnginesStopTheirThreadOnDestruction) {
    DClock clock(DClock::Mode::Manual);
    SoundFiles files;
    for (int i = 0; i < 20; ++i) {
        auto capture = std::make_unique<DAudioOutputCapture>(clock, DAudioOutputCapture::Sink::Memory);
        CSoundEngine engine(EngineSettings({}), clock, std::move(capture), files.Loader());
    }
    EngineRig rig;
    rig.files.Write("a.raw", ToBytes(Constant(4096, 1000, 1000)));
    rig.engine->AddEffect("a", "a.raw").PlayFromStart();
    rig.NextHalf();
    rig.engine.reset();
}

} // namespace
