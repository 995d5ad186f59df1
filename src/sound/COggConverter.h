#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// libsamplerate's converter, declared as its header does, so that only the
// converter's own source needs that header.
typedef struct SRC_STATE_tag SRC_STATE;

// Turns what the Vorbis decoder gives, any channel count at any rate, into
// the mixer's 44 100 Hz 16-bit stereo: mono goes to both sides, more channels
// are mixed down to two by where their speakers stand, and other rates are
// resampled with libsamplerate. Frames are pulled from the source as the
// output needs them, so a sound is still decoded while it plays.
class COggConverter {
public:
    // Decodes the next frames into one array of samples (-1 .. 1) per channel
    // and returns how many; 0 at the end of the stream.
    using Source = std::function<long(float**& channels)>;

    // Vorbis defines where the speakers of up to eight channels stand.
    static constexpr int MaxChannels = 8;

    // Whether a sound of that many channels at that rate can be converted:
    // 1 .. MaxChannels channels, at a rate within a factor of 256 of the mixer's.
    static bool Supports(int channels, long rate);

    // For a format that Supports.
    COggConverter(int channels, long rate, Source source);
    ~COggConverter();
    COggConverter(const COggConverter&) = delete;
    COggConverter& operator=(const COggConverter&) = delete;

    // Writes up to `frames` stereo frames and returns how many; fewer only
    // where the source ended. With `drain` the resampler's last frames come
    // out first and the next read starts afresh; without it the resampler
    // keeps them, so that a source rewound to loop goes on without a seam.
    std::size_t Read(std::int16_t* dst, std::size_t frames, bool drain);
    // Forgets everything read so far, for a source that starts over.
    void Reset();

private:
    struct ResamplerDeleter {
        void operator()(SRC_STATE* state) const;
    };

    void MixDown(float* const* channels, std::size_t frames);
    // Converts pending input into at most `frames` output frames.
    std::size_t Convert(std::int16_t* dst, std::size_t frames);

    Source m_source;
    // Per source channel, its share of the left and of the right output.
    std::vector<std::array<float, 2>> m_gains;
    double m_ratio;
    // None at 44 100 Hz.
    std::unique_ptr<SRC_STATE, ResamplerDeleter> m_resampler;
    // Mixed-down stereo frames not yet converted: [m_inputAt, size / 2).
    std::vector<float> m_input;
    std::size_t m_inputAt = 0;
    std::vector<float> m_output;
    bool m_ended = false;
};
