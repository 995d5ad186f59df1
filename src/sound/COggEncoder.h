#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Encodes sound in the engine's one format (44 100 Hz, 16-bit, interleaved
// stereo) as an Ogg Vorbis file, so that tools and tests can produce the
// files the engine streams.
class COggEncoder {
public:
    // `samples` holds left/right pairs; an odd last value is ignored. The
    // quality is libvorbisenc's VBR scale (-0.1 .. 1.0).
    static std::vector<std::uint8_t> Encode(std::span<const std::int16_t> samples, float quality = 0.5f);
};
