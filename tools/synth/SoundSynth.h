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
// A few seconds of melody over a bass line that starts and ends in silence,
// so it loops without a seam.
StereoSamples SynthesiseTheme();

// "click.raw" (headerless 16-bit little-endian stereo), "chime.ogg" and "theme.ogg".
std::vector<GeneratedFile> SynthesiseGameSounds();
