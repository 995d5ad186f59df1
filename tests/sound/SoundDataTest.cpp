#include "SoundTestSupport.h"

#include "resources/CADVException.h"
#include "sound/CSoundDataOgg.h"
#include "sound/CSoundDataRaw.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace {

std::vector<std::uint8_t> Read(CSoundObject& sound, std::size_t bytes, std::size_t* real = nullptr) {
    std::vector<std::uint8_t> out(bytes, 0xCD);
    const std::size_t got = sound.GetData(out.data(), bytes, false);
    if (real) {
        *real = got;
    }
    return out;
}

std::vector<std::uint8_t> Bytes(std::size_t from, std::size_t to) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = from; i < to; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(i * 7 + 3));
    }
    return bytes;
}

std::vector<std::uint8_t> Concat(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CADVException& e) {
        return e.GetText();
    }
    return "no error";
}

class SoundData : public testing::Test {
protected:
    EngineRig rig;
};

TEST_F(SoundData, LoopingRawSoundWrapsAcrossItsEnd) {
    rig.files.Write("k.raw", Bytes(0, 1000));
    CSoundDataRaw sound(*rig.engine, "k.raw");
    sound.SetLoop(true);
    sound.PlayFromStart();
    Read(sound, 900);
    std::size_t real = 0;
    EXPECT_EQ(Read(sound, 2500, &real),
              Concat({Bytes(900, 1000), Bytes(0, 1000), Bytes(0, 1000), Bytes(0, 400)}));
    EXPECT_EQ(real, 2500u);
    EXPECT_EQ(Read(sound, 10), Bytes(400, 410));
    EXPECT_TRUE(sound.IsPlaying());
}

TEST_F(SoundData, NonLoopingRawSoundStopsItselfAndPlayRestarts) {
    rig.files.Write("k.raw", Bytes(0, 1000));
    CSoundDataRaw sound(*rig.engine, "k.raw");
    EXPECT_EQ(Read(sound, 100), std::vector<std::uint8_t>(100, 0)) << "stopped after creation";
    sound.PlayFromStart();
    Read(sound, 900);
    std::size_t real = 0;
    EXPECT_EQ(Read(sound, 300, &real), Concat({Bytes(900, 1000), std::vector<std::uint8_t>(200, 0)}));
    EXPECT_EQ(real, 100u);
    EXPECT_FALSE(sound.IsPlaying());
    // Stop keeps the position; play always starts from the beginning.
    sound.PlayFromStart();
    Read(sound, 500);
    sound.Stop();
    sound.Play();
    EXPECT_EQ(Read(sound, 10), Bytes(500, 510));
    sound.PlayFromStart();
    EXPECT_EQ(Read(sound, 10), Bytes(0, 10));
}

TEST_F(SoundData, EmptyRawFileIsSilenceEvenWhenLooping) {
    rig.files.Write("empty.raw", {});
    CSoundDataRaw sound(*rig.engine, "empty.raw");
    sound.SetLoop(true);
    sound.PlayFromStart();
    std::size_t real = 1;
    EXPECT_EQ(Read(sound, 64, &real), std::vector<std::uint8_t>(64, 0));
    EXPECT_EQ(real, 0u);
}

TEST_F(SoundData, OggDecodesToTheEncodedLengthAndShape) {
    const std::vector<std::int16_t> sine = Sine(44100, 440.0, 12000.0);
    rig.files.Write("tone.OGG", COggEncoder::Encode(sine));
    auto sound = CSoundData::Load(*rig.engine, "tone.OGG");
    ASSERT_NE(dynamic_cast<CSoundDataOgg*>(sound.get()), nullptr) << "the extension is compared without case";
    sound->PlayFromStart();
    std::size_t real = 0;
    const std::vector<std::int16_t> decoded = ToSamples(Read(*sound, sine.size() * 2 + 4000, &real));
    EXPECT_EQ(real, sine.size() * 2);
    EXPECT_TRUE(sound->IsPlaying()) << "an Ogg sound keeps playing silence after its end";
    double error = 0;
    for (std::size_t i = 0; i < sine.size(); ++i) {
        error += std::pow(decoded[i] - sine[i], 2);
    }
    EXPECT_LT(std::sqrt(error / static_cast<double>(sine.size())), 600.0)
        << "root-mean-square decoding error";
    EXPECT_TRUE(std::all_of(decoded.begin() + static_cast<std::ptrdiff_t>(sine.size()), decoded.end(),
                            [](std::int16_t s) { return s == 0; }));
}

TEST_F(SoundData, LoopingOggStartsOverAtItsEnd) {
    const std::vector<std::int16_t> sine = Sine(5000, 300.0, 12000.0);
    rig.files.Write("loop.ogg", COggEncoder::Encode(sine));
    CSoundDataOgg sound(*rig.engine, "loop.ogg");
    sound.SetLoop(true);
    sound.PlayFromStart();
    const std::vector<std::int16_t> first = ToSamples(Read(sound, sine.size() * 2));
    std::size_t real = 0;
    const std::vector<std::int16_t> second = ToSamples(Read(sound, sine.size() * 2, &real));
    EXPECT_EQ(real, sine.size() * 2);
    EXPECT_EQ(first, second) << "decoding is deterministic, so each pass is the same";
}

TEST_F(SoundData, OggErrors) {
    rig.files.Write("nothing.ogg", COggEncoder::Encode({}));
    CSoundDataOgg empty(*rig.engine, "nothing.ogg");
    empty.SetLoop(true);
    empty.PlayFromStart();
    EXPECT_EQ(ErrorOf([&] { Read(empty, 16); }), "Exception:\nFile is empty");

    EXPECT_EQ(ErrorOf([&] { CSoundDataOgg missing(*rig.engine, "gone.ogg"); }),
              "Exception:\nError opening file: 'gone.ogg'");
    rig.files.Write("text.ogg", Bytes(0, 3000));
    EXPECT_EQ(ErrorOf([&] { CSoundDataOgg text(*rig.engine, "text.ogg"); }),
              "Exception:\nCSoundDataOgg::CSoundDataOgg - 'text.ogg' is not an Ogg Vorbis file");
    // Vorbis leaves the speakers of more than eight channels to the application.
    rig.files.Write("nine.ogg", COggEncoder::Encode(std::vector<std::int16_t>(9 * 100), 9, 44100));
    EXPECT_EQ(
        ErrorOf([&] { CSoundDataOgg nine(*rig.engine, "nine.ogg"); }),
        "Exception:\nCSoundDataOgg::CSoundDataOgg - 'nine.ogg' has 9 channels at 44100 Hz, which cannot "
        "be converted to the mixer's format");
}

TEST_F(SoundData, FadesFollowTheClock) {
    rig.files.Write("k.raw", Bytes(0, 100));
    CSoundDataRaw sound(*rig.engine, "k.raw");
    const std::uint32_t start = rig.clock.Now();
    sound.Fade(0, 1000);
    EXPECT_TRUE(sound.IsFading());
    const struct {
        std::uint32_t at;
        int volume;
        bool fading;
    } steps[] = {{0, 64, true}, {250, 48, true}, {999, 0, true}, {1000, 0, true}, {1001, 0, false}};
    for (const auto& s : steps) {
        rig.clock.Set(start + s.at);
        sound.StepFade();
        EXPECT_EQ(sound.GetVolume(), s.volume) << s.at;
        EXPECT_EQ(sound.IsFading(), s.fading) << s.at;
    }
    sound.SetVolume(10);
    sound.Fade(250, 0);
    sound.StepFade();
    EXPECT_EQ(sound.GetVolume(), 250) << "a fade over 0 ms ends at the next step";
    EXPECT_FALSE(sound.IsFading());
    sound.Fade(1000, 0);
    sound.StepFade();
    EXPECT_EQ(sound.GetVolume(), 256) << "fade targets are clamped like volumes";
}

TEST(SoundObjectClamps, VolumeAndPanStores) {
    const std::pair<int, int> volumes[] = {{300, 256}, {256, 256}, {-5, 0}, {0, 0}, {100, 100}};
    for (const auto& [in, out] : volumes) {
        EXPECT_EQ(CSoundObject::ClampVolume(in), out) << in;
    }
    const std::pair<int, int> pans[] = {{-31, -31}, {-32, -32}, {-40, -32}, {31, 31},
                                        {32, 32},   {40, 32},   {0, 0}};
    for (const auto& [in, out] : pans) {
        EXPECT_EQ(CSoundObject::ClampPan(in), out) << in;
    }
}

} // namespace
