// Ogg Vorbis files of other rates and channel counts than the mixer's reach
// it as 44 100 Hz stereo: as long, at the same pitch, each side where its
// speakers stand; files already in the mixer's format are not touched.
#include "SoundTestSupport.h"

#include "sound/CSoundData.h"
#include "sound/CSoundMultiSequencer.h"

#include <vorbis/vorbisfile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <tuple>

namespace {

constexpr double Amplitude = 10000.0;

// `seconds` of interleaved frames at `rate`, channel c a sine at hz[c].
std::vector<std::int16_t> Tones(double seconds, long rate, const std::vector<double>& hz) {
    std::vector<std::int16_t> samples;
    const auto frames = static_cast<std::size_t>(seconds * static_cast<double>(rate));
    for (std::size_t i = 0; i < frames; ++i) {
        for (const double f : hz) {
            const double t = static_cast<double>(i) / static_cast<double>(rate);
            samples.push_back(static_cast<std::int16_t>(Amplitude * std::sin(2.0 * M_PI * f * t)));
        }
    }
    return samples;
}

// Everything the sound plays before its end, as interleaved stereo.
std::vector<std::int16_t> DecodeAll(CSoundObject& sound) {
    std::vector<std::int16_t> all;
    std::vector<std::uint8_t> block(16384);
    for (;;) {
        const std::size_t real = sound.GetData(block.data(), block.size(), false);
        const std::vector<std::int16_t> samples = ToSamples(block);
        all.insert(all.end(), samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(real / 2));
        if (real < block.size()) {
            return all;
        }
    }
}

std::vector<double> Side(const std::vector<std::int16_t>& stereo, std::size_t side) {
    std::vector<double> out;
    for (std::size_t i = side; i < stereo.size(); i += 2) {
        out.push_back(stereo[i]);
    }
    return out;
}

// The component of a 44 100 Hz signal at one frequency (amplitude and phase of
// the sine that fits best).
std::complex<double> Component(const std::vector<double>& signal, double hz) {
    std::complex<double> sum;
    for (std::size_t n = 0; n < signal.size(); ++n) {
        sum += signal[n] * std::polar(1.0, -2.0 * M_PI * hz * static_cast<double>(n) / 44100.0);
    }
    return 2.0 * sum / static_cast<double>(signal.size());
}

double AmplitudeAt(const std::vector<double>& signal, double hz) {
    return std::abs(Component(signal, hz));
}

class OggConversion : public testing::Test {
protected:
    std::unique_ptr<CSoundData> Load(const std::string& name, const std::vector<std::int16_t>& samples,
                                     int channels, long rate) {
        rig.files.Write(name, COggEncoder::Encode(samples, channels, rate));
        return CSoundData::Load(*rig.engine, name);
    }

    EngineRig rig;
};

struct Format {
    long rate;
    std::vector<double> hz; // per source channel
    double left;            // the tone expected on each side
    double right;
};

TEST_F(OggConversion, EveryFormatKeepsItsLengthPitchAndSides) {
    const Format formats[] = {
        {8000, {440}, 440, 440},       {8000, {440, 660}, 440, 660},  {22050, {440}, 440, 440},
        {22050, {440, 660}, 440, 660}, {48000, {440}, 440, 440},      {48000, {440, 660}, 440, 660},
        {96000, {440}, 440, 440},      {96000, {440, 660}, 440, 660}, {44100, {440}, 440, 440},
    };
    constexpr double seconds = 0.5;
    for (const Format& format : formats) {
        const int channels = static_cast<int>(format.hz.size());
        SCOPED_TRACE(std::to_string(format.rate) + " Hz, " + std::to_string(channels) + " channel(s)");
        auto sound = Load("tone.ogg", Tones(seconds, format.rate, format.hz), channels, format.rate);
        sound->PlayFromStart();
        const std::vector<std::int16_t> out = DecodeAll(*sound);
        EXPECT_NEAR(static_cast<double>(out.size() / 2), seconds * 44100, 2) << "frames";

        const std::vector<double> left = Side(out, 0);
        const std::vector<double> right = Side(out, 1);
        for (const auto& [signal, hz, other] :
             {std::tuple{left, format.left, format.right}, std::tuple{right, format.right, format.left}}) {
            // A pitch off by a tenth of a percent drifts far enough out of phase
            // over the half second to miss this.
            EXPECT_NEAR(AmplitudeAt(signal, hz), Amplitude, Amplitude * 0.05) << hz << " Hz";
            EXPECT_LT(AmplitudeAt(signal, hz * 0.9), Amplitude * 0.01) << "below " << hz << " Hz";
            EXPECT_LT(AmplitudeAt(signal, hz * 1.1), Amplitude * 0.01) << "above " << hz << " Hz";
            if (other != hz) {
                EXPECT_LT(AmplitudeAt(signal, other), Amplitude * 0.01)
                    << "the other side's " << other << " Hz";
            }
        }
        if (channels == 1) {
            EXPECT_EQ(left, right) << "mono plays the same on both sides";
        }
    }
}

TEST_F(OggConversion, SurroundMixesDownByWhereItsSpeakersStand) {
    // 7.1 in Vorbis order, each channel its own tone.
    const struct {
        double hz;
        bool left;
        bool right;
    } speakers[] = {
        {300, true, false},  // front left
        {500, true, true},   // centre
        {700, false, true},  // front right
        {900, true, false},  // side left
        {1100, false, true}, // side right
        {1300, true, false}, // rear left
        {1500, false, true}, // rear right
        {60, false, false},  // low-frequency effects
    };
    std::vector<double> hz;
    for (const auto& speaker : speakers) {
        hz.push_back(speaker.hz);
    }
    auto sound = Load("surround.ogg", Tones(0.5, 48000, hz), 8, 48000);
    sound->PlayFromStart();
    const std::vector<std::int16_t> out = DecodeAll(*sound);
    const std::vector<double> sides[] = {Side(out, 0), Side(out, 1)};
    for (const auto& speaker : speakers) {
        for (int side = 0; side < 2; ++side) {
            const double amplitude = AmplitudeAt(sides[side], speaker.hz);
            if (side == 0 ? speaker.left : speaker.right) {
                EXPECT_GT(amplitude, Amplitude * 0.15) << speaker.hz << " Hz, side " << side;
            } else {
                EXPECT_LT(amplitude, Amplitude * 0.01) << speaker.hz << " Hz, side " << side;
            }
        }
    }
    EXPECT_LE(*std::max_element(out.begin(), out.end()), Amplitude) << "no louder than its loudest channel";
}

TEST_F(OggConversion, LoopingConvertedSoundGoesOnWithoutASeam) {
    // 240 whole periods of a cosine: looped, one unbroken 480 Hz tone, at its
    // peak where the loop joins.
    std::vector<std::int16_t> tone;
    for (int i = 0; i < 24000; ++i) {
        tone.push_back(static_cast<std::int16_t>(Amplitude * std::cos(2.0 * M_PI * i / 100)));
    }
    auto sound = Load("loop.ogg", tone, 1, 48000);
    sound->SetLoop(true);
    sound->PlayFromStart();
    std::vector<std::uint8_t> bytes(3 * 22050 * 4 + 4000);
    EXPECT_EQ(sound->GetData(bytes.data(), bytes.size(), false), bytes.size());
    const std::vector<double> left = Side(ToSamples(bytes), 0);
    // Past the resampler's start-up, the stream is the fitted sine to within
    // the coding noise; a gap, restart or phase jump at a loop would stand out.
    const std::vector<double> tail(left.begin() + 1000, left.end());
    const std::complex<double> fit = Component(tail, 480);
    double worst = 0;
    for (std::size_t n = 0; n < tail.size(); ++n) {
        const double ideal =
            std::real(fit * std::polar(1.0, 2.0 * M_PI * 480 * static_cast<double>(n) / 44100.0));
        worst = std::max(worst, std::abs(tail[n] - ideal));
    }
    EXPECT_NEAR(std::abs(fit), Amplitude, Amplitude * 0.05);
    EXPECT_LT(worst, Amplitude * 0.06);
}

TEST_F(OggConversion, PlayingAgainRestartsTheConversion) {
    auto sound = Load("again.ogg", Tones(0.2, 22050, {440, 660}), 2, 22050);
    sound->PlayFromStart();
    const std::vector<std::int16_t> first = DecodeAll(*sound);
    sound->PlayFromStart();
    std::vector<std::uint8_t> part(1000 * 4);
    sound->GetData(part.data(), part.size(), false);
    sound->PlayFromStart();
    EXPECT_EQ(DecodeAll(*sound), first) << "from the start, whole or stopped half-way";
}

TEST_F(OggConversion, ConvertedSampleSetsTheMusicTempoByItsPlayedLength) {
    // 5 512 frames at 22 050 Hz: 11 024 mixer frames per step.
    rig.files.Write("beat.ogg", COggEncoder::Encode(Tones(0.25, 22050, {440}), 1, 22050));
    CSoundMultiSequencer music(*rig.engine,
                               [](const std::string& key, const std::string& def) -> std::string {
                                   return key == "sample_A" ? "beat.ogg" : key == "chan_0" ? "AA" : def;
                               });
    music.Play();
    std::vector<std::uint8_t> bytes(11020 * 4);
    music.GetData(bytes.data(), bytes.size(), false);
    EXPECT_EQ(music.GetStep(), 0u);
    music.GetData(bytes.data(), 10 * 4, false);
    EXPECT_EQ(music.GetStep(), 1u);
}

TEST_F(OggConversion, MixerFormatDecodesSampleExactly) {
    const std::vector<std::int16_t> sine = Sine(30000, 440.0, 12000.0);
    const std::vector<std::uint8_t> file = COggEncoder::Encode(sine);
    TempDir dir;
    WriteFile(dir / "tone.ogg", std::string(file.begin(), file.end()));
    OggVorbis_File decoder;
    ASSERT_EQ(ov_fopen((dir / "tone.ogg").c_str(), &decoder), 0);
    std::vector<std::uint8_t> expected(4096);
    std::size_t size = 0;
    int link = 0;
    while (const long got = ov_read(&decoder, reinterpret_cast<char*>(expected.data() + size),
                                    static_cast<int>(expected.size() - size), 0, 2, 1, &link)) {
        ASSERT_GT(got, 0);
        size += static_cast<std::size_t>(got);
        expected.resize(size + 4096);
    }
    ov_clear(&decoder);
    expected.resize(size);

    rig.files.Write("tone.ogg", file);
    auto sound = CSoundData::Load(*rig.engine, "tone.ogg");
    sound->PlayFromStart();
    EXPECT_EQ(ToBytes(DecodeAll(*sound)), expected) << "what libvorbisfile gives, unchanged";
}

} // namespace
