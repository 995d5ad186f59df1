#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Encodes 16-bit sound as an Ogg Vorbis file, so that tools and tests can
// produce the files the engine streams: in the mixer's format (44 100 Hz,
// interleaved stereo) or in any other the decoder converts.
class COggEncoder {
public:
    // `samples` holds left/right pairs; an odd last value is ignored. The
    // quality is libvorbisenc's VBR scale (-0.1 .. 1.0).
    static std::vector<std::uint8_t> Encode(std::span<const std::int16_t> samples, float quality = 0.5f);
    // `samples` holds frames of `channels` interleaved values, in Vorbis
    // channel order, at `rate` frames per second; a last partial frame is
    // ignored.
    static std::vector<std::uint8_t> Encode(std::span<const std::int16_t> samples, int channels, long rate,
                                            float quality = 0.5f);
};
