#pragma once

#include "GeneratorTool.h"

#include <cstdint>
#include <string>
#include <vector>

// The sample game's sounds, made from sines, noise and envelopes rather than
// recorded, so the project ships no binary audio. Every run produces the same
// bytes.

// Interleaved stereo 44 100 Hz samples.
using StereoSamples = std::vector<std::int16_t>;

// A short noise burst with a sharp decay.
StereoSamples SynthesiseClick();
// A bell-like tone: a few inharmonic partials dying away.
StereoSamples SynthesiseChime();
// A dull footstep.
StereoSamples SynthesiseStep();
// Two rising notes: something was picked up.
StereoSamples SynthesisePickup();
// A creaking hinge.
StereoSamples SynthesiseDoor();

// A piece of music: one melody note per beat (0 rests) over a bass line
// that divides the piece evenly.
struct Tune {
    double beat;       // seconds per melody note
    double noteDecay;  // seconds
    double bassDecay;  // seconds
    std::vector<int> melody; // MIDI note numbers
    std::vector<int> bass;
};

// A few seconds of melody over a bass line that starts and ends in silence,
// so it loops without a seam.
StereoSamples SynthesiseTune(const Tune& tune);

// The music of the sample game's three scenes.
extern const Tune kCourtyardTune;
extern const Tune kWorkshopTune;
extern const Tune kCellarTune;

// "click.raw" and "step.raw" (headerless 16-bit little-endian stereo),
// "chime.ogg", "pickup.ogg", "door.ogg", and the music "theme.ogg",
// "workshop.ogg" and "cellar.ogg".
std::vector<GeneratedFile> SynthesiseGameSounds();
