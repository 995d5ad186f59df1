#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class CSoundObject;

// The integer mix of one half of the output buffer. Both work buffers are
// allocated once, when the mixer is made; mixing allocates nothing.
//
// Gains: group g (0..64), object volume v (0..256) and pan p (-32..32) give
// left = g*v*max(32-p, 32)/64 and right = g*v*max(32+p, 32)/64, so 64/64/0
// is 2048 and passes a sample unchanged. The sum is kept in 64 bits: a few
// loud voices at volume 256 would overflow 32.
class CSoundMixer {
public:
    static constexpr int MaxGroupVolume = 64;

    // `samples` 16-bit samples (both channels) per half.
    explicit CSoundMixer(std::size_t samples);

    // Sums every object that has a volume or is fading, in order; effects in
    // the effect group, everything else in the music group. Runs under the
    // engine's lock.
    void Mix(std::span<CSoundObject* const> objects, int effectVolume, int musicVolume);
    void Silence();
    // Scales the sum by the master volume, clamped to -32767..32767.
    void Write(std::span<std::int16_t> out, int masterVolume) const;

    std::size_t Samples() const { return m_accumulators.size(); }

private:
    std::vector<std::int64_t> m_accumulators;
    std::vector<std::int16_t> m_samples;
};
