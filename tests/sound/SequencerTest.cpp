#include "SoundTestSupport.h"

#include "sound/CSoundMultiSequencer.h"

#include <gtest/gtest.h>

namespace {

using Definition = std::map<std::string, std::string>;

CSoundMultiSequencer::Parameters Lookup(const Definition& definition) {
    return [definition](const std::string& key, const std::string& def) {
        const auto found = definition.find(key);
        return found == definition.end() ? def : found->second;
    };
}

std::vector<std::int16_t> Mix(CSoundMultiSequencer& sequencer, std::size_t frames) {
    std::vector<std::uint8_t> bytes(frames * 4);
    EXPECT_EQ(sequencer.GetData(bytes.data(), bytes.size(), false), bytes.size());
    return ToSamples(bytes);
}

// Frames of the expected stream, built piece by piece.
struct Expected {
    std::vector<std::int16_t> samples;
    Expected& Add(std::size_t frames, const std::function<std::pair<int, int>(std::size_t)>& frame) {
        for (std::size_t i = 0; i < frames; ++i) {
            const auto [left, right] = frame(i);
            samples.push_back(static_cast<std::int16_t>(left));
            samples.push_back(static_cast<std::int16_t>(right));
        }
        return *this;
    }
};

class Sequencer : public testing::Test {
protected:
    void SetUp() override {
        // A and B are steps of 40 frames; C is a 100-frame ramp, longer than a step.
        rig.files.Write("a.raw", ToBytes(Constant(40, 1000, 1000)));
        rig.files.Write("b.raw", ToBytes(Constant(40, 2000, 2000)));
        rig.files.Write("c.raw", ToBytes(Ramp(100)));
    }

    std::unique_ptr<CSoundMultiSequencer> Make(const std::string& sync) {
        auto sequencer = std::make_unique<CSoundMultiSequencer>(*rig.engine, Lookup({{"sample_A", "a.raw"},
                                                                                     {"sample_B", "b.raw"},
                                                                                     {"sample_C", "c.raw"},
                                                                                     {"chan_0", "AB"},
                                                                                     {"chan_1", "CC"},
                                                                                     {"sync", sync}}));
        sequencer->SetLoop(true);
        sequencer->Play();
        return sequencer;
    }

    EngineRig rig;
};

TEST_F(Sequencer, StepsFollowTheMasterAndOtherChannelsStartMuted) {
    auto sequencer = Make("true");
    EXPECT_EQ(sequencer->GetMasterChannel(), 0);
    EXPECT_EQ(sequencer->GetChannelVolume(0), 64);
    EXPECT_EQ(sequencer->GetChannelVolume(1), 0);
    Expected muted;
    muted.Add(40,
              [](auto) {
                  return std::pair{1000, 1000};
              })
        .Add(40, [](auto) {
            return std::pair{2000, 2000};
        });
    muted.Add(40, [](auto) { return std::pair{1000, 1000}; });
    EXPECT_EQ(Mix(*sequencer, 120), muted.samples);
    EXPECT_EQ(sequencer->GetStep(), 0u);
}

TEST_F(Sequencer, SyncRestartsEveryChannelAtEachStep) {
    auto sequencer = Make("true");
    sequencer->SetChannelVolume(1, 64);
    auto withC = [](int base) {
        return [base](std::size_t i) {
            return std::pair{base + static_cast<int>(i), base - static_cast<int>(i)};
        };
    };
    Expected expected;
    expected.Add(40, withC(1000)).Add(40, withC(2000)).Add(40, withC(1000));
    EXPECT_EQ(Mix(*sequencer, 120), expected.samples);
}

TEST_F(Sequencer, WithoutSyncOtherChannelsKeepTheirPosition) {
    auto sequencer = Make("TRUE");
    sequencer->SetChannelVolume(1, 64);
    // C runs on across the steps: frames 0..79, then its last 20 frames and
    // silence (samples do not loop), then from its start again.
    const int c[4][2] = {{0, 40}, {40, 40}, {80, 20}, {0, 40}};
    Expected expected;
    for (std::size_t step = 0; step < 4; ++step) {
        const int base = step % 2 == 0 ? 1000 : 2000;
        expected.Add(40, [&](std::size_t i) {
            const int value = static_cast<int>(i) < c[step][1] ? c[step][0] + static_cast<int>(i) : 0;
            return std::pair{base + value, base - value};
        });
    }
    // Read in uneven blocks: the positions carry over between calls.
    std::vector<std::int16_t> got = Mix(*sequencer, 55);
    const std::vector<std::int16_t> rest = Mix(*sequencer, 105);
    got.insert(got.end(), rest.begin(), rest.end());
    EXPECT_EQ(got, expected.samples);
}

TEST_F(Sequencer, ANonLoopingSequencerStopsAfterTheLastStep) {
    auto sequencer = Make("true");
    sequencer->SetLoop(false);
    Expected expected;
    expected.Add(40,
                 [](auto) {
                     return std::pair{1000, 1000};
                 })
        .Add(40, [](auto) {
            return std::pair{2000, 2000};
        });
    expected.Add(20, [](auto) { return std::pair{0, 0}; });
    EXPECT_EQ(Mix(*sequencer, 100), expected.samples);
    EXPECT_FALSE(sequencer->IsPlaying());
    EXPECT_EQ(sequencer->GetStep(), 0u);
}

TEST_F(Sequencer, ChannelVolumesAreClampedAndBadChannelsIgnored) {
    auto sequencer = Make("true");
    const struct {
        int channel;
        int volume;
        int stored;
    } cases[] = {{1, 100, 64}, {1, -3, 0}, {1, 30, 30}, {16, 10, 30}, {-1, 10, 30}};
    for (const auto& c : cases) {
        sequencer->SetChannelVolume(c.channel, c.volume);
        EXPECT_EQ(sequencer->GetChannelVolume(1), c.stored) << c.channel << " " << c.volume;
    }
    sequencer->SetMasterChannel(16);
    EXPECT_EQ(sequencer->GetMasterChannel(), 0);
    sequencer->SetMasterChannel(1);
    EXPECT_EQ(sequencer->GetMasterChannel(), 1);
}

TEST_F(Sequencer, AChannelFadeTakesExactlyItsLengthInSamples) {
    // Channel 1 holds a constant 64, so each output sample is its volume.
    rig.files.Write("d.raw", ToBytes(Constant(500, 0, 0)));
    rig.files.Write("e.raw", ToBytes(Constant(500, 64, 64)));
    CSoundMultiSequencer sequencer(
        *rig.engine,
        Lookup({{"sample_D", "d.raw"}, {"sample_E", "e.raw"}, {"chan_0", "D"}, {"chan_1", "E"}}));
    sequencer.SetLoop(true);
    sequencer.Play();
    sequencer.FadeChannel(1, 64, 1000);
    std::vector<std::int16_t> got;
    while (got.size() < 88200 + 1000) {
        const std::vector<std::int16_t> block = Mix(sequencer, 512);
        got.insert(got.end(), block.begin(), block.end());
    }
    for (std::size_t k = 0; k < got.size(); ++k) {
        const int expected = k < 88200 ? static_cast<int>(64.0 * static_cast<double>(k) / 88200.0) : 64;
        ASSERT_EQ(got[k], expected) << "sample " << k;
    }
    EXPECT_EQ(sequencer.GetChannelVolume(1), 64);

    sequencer.FadeChannel(1, 10, 0);
    EXPECT_EQ(sequencer.GetChannelVolume(1), 10) << "a fade of length 0 sets the target at once";
}

TEST_F(Sequencer, MissingSamplesAndChannelsAreSilent) {
    // "Z" has no sample, "chan_1" is shorter than the master, and a master
    // that never gives sound must not hang the mixer.
    CSoundMultiSequencer odd(*rig.engine, Lookup({{"sample_A", "a.raw"}, {"chan_0", "AZ"}, {"chan_1", "A"}}));
    odd.SetLoop(true);
    odd.Play();
    odd.SetChannelVolume(1, 64);
    const std::vector<std::int16_t> got = Mix(odd, 100);
    EXPECT_EQ(std::vector<std::int16_t>(got.begin(), got.begin() + 80), Constant(40, 2000, 2000));

    CSoundMultiSequencer silent(*rig.engine, Lookup({{"chan_0", "XY"}}));
    silent.Play();
    silent.SetLoop(true);
    EXPECT_EQ(Mix(silent, 64), std::vector<std::int16_t>(128, 0));

    CSoundMultiSequencer none(*rig.engine, Lookup({{"sample_A", "a.raw"}}));
    none.Play();
    EXPECT_EQ(none.GetMasterChannel(), -1);
    EXPECT_EQ(Mix(none, 64), std::vector<std::int16_t>(128, 0));
}

TEST_F(Sequencer, AShorterMasterPatternTakesOverFromItsStart) {
    CSoundMultiSequencer sequencer(*rig.engine, Lookup({{"sample_A", "a.raw"},
                                                        {"sample_B", "b.raw"},
                                                        {"sample_C", "c.raw"},
                                                        {"chan_0", "ABA"},
                                                        {"chan_1", "C"}}));
    sequencer.SetLoop(true);
    sequencer.Play();
    Mix(sequencer, 100);
    EXPECT_EQ(sequencer.GetStep(), 2u);
    // Step 2 is past the end of channel 1's one-step pattern.
    sequencer.SetMasterChannel(1);
    sequencer.SetChannelVolume(0, 0);
    sequencer.SetChannelVolume(1, 64);
    EXPECT_EQ(Mix(sequencer, 100), Ramp(100));
    EXPECT_EQ(sequencer.GetStep(), 0u);
}

TEST(SequencerMix, MusicIsMixedInTheMusicGroup) {
    EngineRig rig({{"latencybuffer", 16}, {"musicvolume", 32}, {"effectvolume", 64}});
    rig.files.Write("a.raw", ToBytes(Constant(40, 1000, -1000)));
    CSoundMultiSequencer music(*rig.engine, Lookup({{"sample_A", "a.raw"}, {"chan_0", "A"}}));
    music.SetLoop(true);
    music.Play();
    const CSoundEngine::Registration mixed(*rig.engine, music);
    const std::vector<std::int16_t> half = rig.NextHalf();
    EXPECT_EQ(half, Constant(half.size() / 2, 500, -500));
}

} // namespace
