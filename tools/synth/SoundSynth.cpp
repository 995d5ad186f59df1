#include "SoundSynth.h"

#include "sound/COggEncoder.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double SampleRate = 44100.0;

std::size_t Frames(double seconds) {
    return static_cast<std::size_t>(seconds * SampleRate);
}

// Mono signal in -1..1 accumulated before it becomes stereo samples.
using Signal = std::vector<double>;

// A fixed linear congruential generator: std::rand and the standard
// distributions may differ between libraries, and the output must not.
class Noise {
public:
    double Next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(m_state >> 11) / static_cast<double>(1ULL << 53) * 2.0 - 1.0;
    }

private:
    std::uint64_t m_state = 0x4D6F7276616E65ULL;
};

// Linear attack, then exponential decay with the given time constant; the
// last few milliseconds fade to zero so no note ends in a click.
double Envelope(std::size_t frame, std::size_t length, double attack, double decay) {
    const double t = static_cast<double>(frame) / SampleRate;
    const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    const double tail = std::min(1.0, static_cast<double>(length - frame) / (0.005 * SampleRate));
    return rise * std::exp(-t / decay) * tail;
}

double NoteHz(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

// Adds a sine note with a few harmonics of falling strength.
void AddNote(Signal& signal, std::size_t start, std::size_t length, double hz, double gain, double decay) {
    for (std::size_t i = 0; i < length && start + i < signal.size(); ++i) {
        const double phase = 2.0 * std::numbers::pi * hz * static_cast<double>(i) / SampleRate;
        const double tone = std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.1 * std::sin(3 * phase);
        signal[start + i] += gain * Envelope(i, length, 0.01, decay) * tone;
    }
}

// The sounds are mono: both channels get the same sample.
StereoSamples ToStereo(const Signal& signal) {
    StereoSamples out;
    out.reserve(signal.size() * 2);
    for (double value : signal) {
        const auto sample = static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
        out.push_back(sample);
        out.push_back(sample);
    }
    return out;
}

std::vector<std::uint8_t> ToLittleEndianBytes(const StereoSamples& samples) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(samples.size() * 2);
    for (std::int16_t sample : samples) {
        const auto value = static_cast<std::uint16_t>(sample);
        bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    return bytes;
}

} // namespace

StereoSamples SynthesiseClick() {
    Signal signal(Frames(0.04));
    Noise noise;
    double previous = 0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        // A one-pole low-pass takes the hiss off the noise.
        previous += 0.5 * (noise.Next() - previous);
        signal[i] = 0.8 * Envelope(i, signal.size(), 0.0, 0.006) * previous;
    }
    return ToStereo(signal);
}

StereoSamples SynthesiseChime() {
    Signal signal(Frames(1.2));
    // Bell partials are not whole multiples of the fundamental.
    constexpr double Partials[][2] = {{1.0, 0.5}, {2.76, 0.2}, {5.4, 0.1}, {8.93, 0.05}};
    const double base = NoteHz(84);
    for (const auto& [ratio, gain] : Partials) {
        const double hz = base * ratio;
        for (std::size_t i = 0; i < signal.size(); ++i) {
            const double phase = 2.0 * std::numbers::pi * hz * static_cast<double>(i) / SampleRate;
            signal[i] += gain * Envelope(i, signal.size(), 0.002, 0.35 / ratio + 0.1) * std::sin(phase);
        }
    }
    return ToStereo(signal);
}

StereoSamples SynthesiseStep() {
    Signal signal(Frames(0.09));
    Noise noise;
    double previous = 0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        // A heavier low-pass than the click's: a dull thud on stone.
        previous += 0.08 * (noise.Next() - previous);
        const double thump = std::sin(2.0 * std::numbers::pi * 70.0 * static_cast<double>(i) / SampleRate);
        signal[i] = Envelope(i, signal.size(), 0.002, 0.025) * (2.5 * previous + 0.5 * thump);
    }
    return ToStereo(signal);
}

StereoSamples SynthesisePickup() {
    Signal signal(Frames(0.3));
    const std::size_t half = signal.size() / 2;
    AddNote(signal, 0, half, NoteHz(79), 0.35, 0.1);
    AddNote(signal, half, signal.size() - half, NoteHz(86), 0.35, 0.12);
    return ToStereo(signal);
}

StereoSamples SynthesiseDoor() {
    Signal signal(Frames(0.9));
    Noise noise;
    double phase = 0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        // A hinge: a rough tone that wavers and sinks as the door swings.
        const double hz = 260.0 - 120.0 * t + 25.0 * std::sin(2.0 * std::numbers::pi * 7.0 * t);
        phase += hz / SampleRate;
        const double saw = 2.0 * (phase - std::floor(phase)) - 1.0;
        signal[i] = 0.25 * Envelope(i, signal.size(), 0.05, 0.5) * (saw + 0.3 * noise.Next());
    }
    return ToStereo(signal);
}

StereoSamples SynthesiseTune(const Tune& tune) {
    const std::size_t beatFrames = Frames(tune.beat);
    Signal signal(beatFrames * tune.melody.size());
    for (std::size_t n = 0; n < tune.melody.size(); ++n) {
        if (tune.melody[n] > 0) {
            AddNote(signal, n * beatFrames, beatFrames, NoteHz(tune.melody[n]), 0.3, tune.noteDecay);
        }
    }
    const std::size_t barFrames = signal.size() / tune.bass.size();
    for (std::size_t n = 0; n < tune.bass.size(); ++n) {
        AddNote(signal, n * barFrames, barFrames, NoteHz(tune.bass[n]), 0.35, tune.bassDecay);
    }
    return ToStereo(signal);
}

// One bar of eighths per line, A minor: the last note leads back to the first.
const Tune kCourtyardTune{0.25, 0.15, 0.6, {69, 72, 76, 72, 74, 77, 76, 74, 72, 76, 79, 76, 74, 71, 72, 71},
                          {45, 41, 48, 43}};
// A busy C major jig for the workshop.
const Tune kWorkshopTune{0.18, 0.1, 0.4, {72, 76, 79, 76, 77, 74, 71, 74, 72, 76, 79, 84, 83, 79, 74, 71,
                                          72, 74, 76, 77, 79, 77, 76, 74, 72, 71, 69, 71, 72, 0, 67, 0},
                         {48, 43, 45, 41, 48, 43, 41, 43}};
// Slow, low and sparse for the cellar: rests (0) leave the drone alone.
const Tune kCellarTune{0.5, 0.4, 1.5, {57, 0, 0, 60, 0, 56, 0, 0, 57, 0, 0, 53, 0, 52, 0, 0}, {33, 32}};

std::vector<GeneratedFile> SynthesiseGameSounds() {
    std::vector<GeneratedFile> files;
    files.push_back({"click.raw", ToLittleEndianBytes(SynthesiseClick())});
    files.push_back({"chime.ogg", COggEncoder::Encode(SynthesiseChime())});
    files.push_back({"step.raw", ToLittleEndianBytes(SynthesiseStep())});
    files.push_back({"pickup.ogg", COggEncoder::Encode(SynthesisePickup())});
    files.push_back({"door.ogg", COggEncoder::Encode(SynthesiseDoor())});
    files.push_back({"theme.ogg", COggEncoder::Encode(SynthesiseTune(kCourtyardTune))});
    files.push_back({"workshop.ogg", COggEncoder::Encode(SynthesiseTune(kWorkshopTune))});
    files.push_back({"cellar.ogg", COggEncoder::Encode(SynthesiseTune(kCellarTune))});
    return files;
}
