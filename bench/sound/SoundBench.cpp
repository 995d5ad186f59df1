// Mixing cost per half-buffer at the default latency, and Ogg decoding speed.
#include "SoundTestSupport.h"

#include "sound/COggEncoder.h"
#include "sound/CSoundData.h"
#include "sound/CSoundMixer.h"
#include "sound/CSoundMultiSequencer.h"

#include <benchmark/benchmark.h>

namespace {

// One half of the default buffer (65 536 bytes) lasts 8192 frames, 185.8 ms:
// the time per iteration over 185.8 ms is the share of one core.

// A tone under broadband noise, harder to code than a pure tone.
std::vector<std::int16_t> NoisyTone(std::size_t frames) {
    std::vector<std::int16_t> samples = Sine(frames, 440.0, 8000.0);
    std::uint32_t seed = 12345;
    for (std::int16_t& s : samples) {
        seed = seed * 1664525 + 1013904223;
        s = static_cast<std::int16_t>(s + static_cast<int>(seed >> 20) - 2048);
    }
    return samples;
}

void MixHalfBuffer(benchmark::State& state) {
    EngineRig rig({{"latencybuffer", 256}});
    rig.files.Write("voice.raw", ToBytes(Sine(30000, 440.0, 3000.0)));
    rig.files.Write("beat.raw", ToBytes(Sine(11025, 110.0, 3000.0)));
    std::vector<CSoundObject*> objects;
    for (int i = 0; i < 32; ++i) {
        CSoundData& voice = rig.engine->AddEffect("voice" + std::to_string(i), "voice.raw");
        voice.SetLoop(true);
        voice.SetPan(i - 16);
        voice.PlayFromStart();
        objects.push_back(&voice);
    }
    CSoundMultiSequencer music(
        *rig.engine, [](const std::string& key, const std::string& def) -> std::string {
            if (key == "sample_A") {
                return "beat.raw";
            }
            return key.starts_with("chan_") && key.size() == 6 && key[5] < '4' ? "AAAA" : def;
        });
    music.SetLoop(true);
    music.Play();
    for (int channel = 1; channel < 4; ++channel) {
        music.SetChannelVolume(channel, 40);
    }
    objects.push_back(&music);

    CSoundMixer mixer(rig.engine->HalfBufferBytes() / 2);
    std::vector<std::int16_t> out(mixer.Samples());
    for (auto _ : state) {
        mixer.Mix(objects, 64, 48);
        mixer.Write(out, 64);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(MixHalfBuffer)->Unit(benchmark::kMicrosecond);

// Arguments: the file's channels and rate; other formats than 44 100 Hz
// stereo are converted while they are decoded.
void DecodeOgg(benchmark::State& state) {
    EngineRig rig;
    const auto channels = static_cast<int>(state.range(0));
    const long rate = state.range(1);
    rig.files.Write("music.ogg", COggEncoder::Encode(NoisyTone(44100 * 10), channels, rate));
    auto ogg = CSoundData::Load(*rig.engine, "music.ogg");
    ogg->SetLoop(true);
    ogg->PlayFromStart();
    std::vector<std::uint8_t> out(32768);
    for (auto _ : state) {
        ogg->GetData(out.data(), out.size(), false);
        benchmark::DoNotOptimize(out.data());
    }
    // Seconds of sound decoded per second.
    state.counters["times_real_time"] = benchmark::Counter(static_cast<double>(state.iterations()) *
                                                               static_cast<double>(out.size()) / 176400.0,
                                                           benchmark::Counter::kIsRate);
}
BENCHMARK(DecodeOgg)
    ->Args({2, 44100})
    ->Args({1, 44100})
    ->Args({1, 22050})
    ->Args({2, 48000})
    ->Args({2, 96000})
    ->Args({6, 48000})
    ->Unit(benchmark::kMicrosecond);

} // namespace
