#include "SoundTestSupport.h"

#include "resources/CADVException.h"
#include "sound/CSoundData.h"
#include "sound/CSoundMultiSequencer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CADVException& e) {
        return e.GetText();
    }
    return "no error";
}

class Music : public testing::Test {
protected:
    void SetUp() override {
        rig.files.Write("a.raw", ToBytes(Constant(100, 1000, -1000)));
        rig.files.Write("b.raw", ToBytes(Constant(100, 2000, -2000)));
        rig.engine->DefineMusic("calm", "sample_A='a.raw' chan_0='A'");
        rig.engine->DefineMusic("storm", "sample_B='b.raw' chan_0='B'");
        rig.engine->DefineMusic("rain", "sample_A='a.raw' chan_0='AA'");
    }

    EngineRig rig{{{"latencybuffer", 16}, {"musicvolume", 64}}};
};

TEST_F(Music, PlayMusicFadesTheNewMusicInAndTheOldOneOut) {
    rig.engine->PlayMusic("calm", 1000, 2000);
    CSoundMultiSequencer* calm = rig.engine->CurrentMusic();
    ASSERT_NE(calm, nullptr);
    EXPECT_EQ(rig.engine->CurrentMusicName(), "calm");
    EXPECT_TRUE(calm->IsPlaying());
    EXPECT_EQ(calm->GetVolume(), 0);
    EXPECT_TRUE(calm->IsFading());

    rig.engine->PlayMusic("calm", 1000, 2000);
    EXPECT_EQ(rig.engine->CurrentMusic(), calm) << "the music already playing is left alone";
    EXPECT_EQ(rig.engine->FadingMusic(), nullptr);

    rig.engine->PlayMusic("storm", 0, 2000);
    CSoundMultiSequencer* storm = rig.engine->CurrentMusic();
    EXPECT_NE(storm, calm);
    EXPECT_EQ(rig.engine->FadingMusic(), calm);
    const auto calmLife = calm->Life();

    // A third piece while the first still fades out: the first goes at once.
    rig.engine->PlayMusic("rain", 0, 2000);
    EXPECT_EQ(calmLife->object, nullptr);
    EXPECT_EQ(rig.engine->FadingMusic(), storm);
    EXPECT_EQ(rig.engine->CurrentMusicName(), "rain");
}

TEST_F(Music, TheNewMusicIsHeardOnceItsFadeEnds) {
    rig.engine->PlayMusic("calm", 0, 0);
    // A fade over 0 ms ends at the streaming thread's next fade step.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (rig.engine->CurrentMusic()->GetVolume() != 64 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const std::vector<std::int16_t> half = rig.NextHalf();
    EXPECT_EQ(half, Constant(half.size() / 2, 1000, -1000));
}

TEST_F(Music, StopMusicFadesOutAndDropsTheMusicFadingBefore) {
    rig.engine->StopMusic(100);
    EXPECT_EQ(rig.engine->FadingMusic(), nullptr);
    rig.engine->PlayMusic("calm");
    rig.engine->PlayMusic("storm");
    const auto calmLife = rig.engine->FadingMusic()->Life();
    CSoundMultiSequencer* storm = rig.engine->CurrentMusic();

    rig.engine->StopMusic(100);
    EXPECT_EQ(calmLife->object, nullptr);
    EXPECT_EQ(rig.engine->FadingMusic(), storm);
    EXPECT_EQ(rig.engine->CurrentMusic(), nullptr);
    EXPECT_EQ(rig.engine->CurrentMusicName(), "");

    // Nothing playing: only the fading music is disposed of.
    const auto stormLife = storm->Life();
    rig.engine->StopMusic();
    EXPECT_EQ(stormLife->object, nullptr);
    EXPECT_EQ(rig.engine->FadingMusic(), nullptr);
    // The same name can start again after a stop.
    rig.engine->PlayMusic("storm");
    EXPECT_EQ(rig.engine->CurrentMusicName(), "storm");
}

TEST_F(Music, FailuresLeaveTheMusicAsItWas) {
    rig.engine->PlayMusic("calm");
    CSoundMultiSequencer* calm = rig.engine->CurrentMusic();
    rig.engine->DefineMusic("broken", "sample_A='missing.raw' chan_0='A'");
    rig.engine->DefineMusic("garbled", "chan_0=A");
    EXPECT_EQ(ErrorOf([&] { rig.engine->PlayMusic("unknown"); }),
              "Exception:\nMusic unknown has not been defined");
    EXPECT_EQ(ErrorOf([&] { rig.engine->PlayMusic("broken"); }),
              "Exception:\nLoadFile: Resource 'data\\sound\\missing.raw' not found.");
    EXPECT_NE(ErrorOf([&] { rig.engine->PlayMusic("garbled"); }), "no error");
    EXPECT_EQ(rig.engine->CurrentMusic(), calm);
    EXPECT_EQ(rig.engine->FadingMusic(), nullptr);
    EXPECT_EQ(rig.engine->CurrentMusicName(), "calm");
}

TEST_F(Music, ClearEffectsKeepsMusicAndDefinitions) {
    rig.engine->PlayMusic("calm");
    rig.engine->AddEffect("door", "a.raw");
    rig.engine->ClearEffects();
    EXPECT_NE(rig.engine->CurrentMusic(), nullptr);
    rig.engine->PlayMusic("storm");
    EXPECT_EQ(rig.engine->CurrentMusicName(), "storm");
}

// An Ogg stream with a page cut out of its middle: the gap is found while
// mixing on the streaming thread, and the error reaches the game's thread.
std::vector<std::uint8_t> WithoutPage(const std::vector<std::uint8_t>& ogg, std::size_t index) {
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at + 27 <= ogg.size();) {
        starts.push_back(at);
        const std::size_t segments = ogg[at + 26];
        std::size_t body = 0;
        for (std::size_t s = 0; s < segments; ++s) {
            body += ogg[at + 27 + s];
        }
        at += 27 + segments + body;
    }
    std::vector<std::uint8_t> cut(ogg.begin(), ogg.begin() + static_cast<std::ptrdiff_t>(starts.at(index)));
    cut.insert(cut.end(), ogg.begin() + static_cast<std::ptrdiff_t>(starts.at(index + 1)), ogg.end());
    return cut;
}

TEST(SoundThreadErrors, ACorruptOggStreamIsRethrownOnTheGamesThread) {
    // Halves of 1.5 s reach the gap within a few passes.
    EngineRig rig({{"latencybuffer", 2048}});
    rig.files.Write("broken.ogg", WithoutPage(COggEncoder::Encode(Sine(44100 * 10, 440.0, 12000.0)), 4));
    CSoundData& effect = rig.engine->AddEffect("broken", "broken.ogg");
    effect.PlayFromStart();
    std::string error = "no error";
    for (int half = 0; half < 10 && error == "no error"; ++half) {
        rig.NextHalf();
        error = ErrorOf([&] { rig.engine->RethrowPending(); });
    }
    EXPECT_EQ(error, "Exception:\nInterruption in the data");
    EXPECT_EQ(ErrorOf([&] { rig.engine->RethrowPending(); }), "no error") << "handed over once";
    // The thread goes on mixing, and stops normally.
    effect.Stop();
    rig.NextHalf();
    rig.engine.reset();
}

} // namespace
