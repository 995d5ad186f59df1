#include "sound/COggConverter.h"

#include "resources/CADVException.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr long MixerRate = 44100;
// Output frames per resampler call.
constexpr std::size_t Block = 1024;

enum class Speaker { Left, Right, Centre, SurroundLeft, SurroundRight, SurroundCentre, Lfe };

// The speakers of each channel count, in Vorbis channel order.
const std::vector<Speaker>& Layout(int channels) {
    using enum Speaker;
    static const std::vector<Speaker> layouts[COggConverter::MaxChannels] = {
        {Centre},
        {Left, Right},
        {Left, Centre, Right},
        {Left, Right, SurroundLeft, SurroundRight},
        {Left, Centre, Right, SurroundLeft, SurroundRight},
        {Left, Centre, Right, SurroundLeft, SurroundRight, Lfe},
        {Left, Centre, Right, SurroundLeft, SurroundRight, SurroundCentre, Lfe},
        {Left, Centre, Right, SurroundLeft, SurroundRight, SurroundLeft, SurroundRight, Lfe},
    };
    return layouts[channels - 1];
}

// The usual stereo down-mix: what stands between two sides goes to both at
// -3 dB, surround channels come in at -3 dB, and the low-frequency effects
// channel is left out.
std::array<float, 2> Gains(Speaker speaker) {
    constexpr float minus3dB = 0.70710678f;
    switch (speaker) {
    case Speaker::Left:
        return {1.0f, 0.0f};
    case Speaker::Right:
        return {0.0f, 1.0f};
    case Speaker::Centre:
        return {minus3dB, minus3dB};
    case Speaker::SurroundLeft:
        return {minus3dB, 0.0f};
    case Speaker::SurroundRight:
        return {0.0f, minus3dB};
    case Speaker::SurroundCentre:
        return {0.5f, 0.5f};
    case Speaker::Lfe:
        break;
    }
    return {0.0f, 0.0f};
}

// Rounds like the decoder's own 16-bit output, so that a converted sound
// differs from a direct one only by what the conversion changes.
std::int16_t ToSample(float value) {
    return static_cast<std::int16_t>(std::lrint(std::clamp(value * 32768.0f, -32768.0f, 32767.0f)));
}

} // namespace

void COggConverter::ResamplerDeleter::operator()(SRC_STATE* state) const {
    src_delete(state);
}

bool COggConverter::Supports(int channels, long rate) {
    return channels >= 1 && channels <= MaxChannels &&
           src_is_valid_ratio(static_cast<double>(MixerRate) / rate);
}

COggConverter::COggConverter(int channels, long rate, Source source)
    : m_source(std::move(source)), m_ratio(static_cast<double>(MixerRate) / rate), m_output(2 * Block) {
    std::array<float, 2> total{};
    for (const Speaker speaker : Layout(channels)) {
        m_gains.push_back(Gains(speaker));
        total[0] += m_gains.back()[0];
        total[1] += m_gains.back()[1];
    }
    // Each side's shares add up to one: loud sound on every channel at once
    // cannot clip, and a mono sound plays at its own level on both sides.
    for (auto& gains : m_gains) {
        gains[0] /= total[0];
        gains[1] /= total[1];
    }
    if (rate != MixerRate) {
        int error = 0;
        // The fastest of the band-limited converters: its 97 dB signal to
        // noise ratio is that of 16-bit output already, and it is cheap
        // enough for many sounds at once on the streaming thread.
        m_resampler.reset(src_new(SRC_SINC_FASTEST, 2, &error));
        if (!m_resampler) {
            throw CADVException("COggConverter - %s", src_strerror(error));
        }
    }
}

COggConverter::~COggConverter() = default;

void COggConverter::Reset() {
    if (m_resampler) {
        src_reset(m_resampler.get());
    }
    m_input.clear();
    m_inputAt = 0;
    m_ended = false;
}

std::size_t COggConverter::Read(std::int16_t* dst, std::size_t frames, bool drain) {
    std::size_t done = 0;
    while (done < frames) {
        if (m_inputAt * 2 == m_input.size() && !m_ended) {
            float** channels = nullptr;
            const long got = m_source(channels);
            if (got <= 0 && !drain) {
                break;
            }
            m_ended = got <= 0;
            MixDown(channels, m_ended ? 0 : static_cast<std::size_t>(got));
        }
        const std::size_t made = Convert(dst + 2 * done, std::min(frames - done, Block));
        done += made;
        if (made == 0 && m_ended) {
            Reset();
            break;
        }
    }
    return done;
}

void COggConverter::MixDown(float* const* channels, std::size_t frames) {
    m_input.assign(2 * frames, 0.0f);
    m_inputAt = 0;
    for (std::size_t c = 0; c < m_gains.size(); ++c) {
        const auto [left, right] = m_gains[c];
        for (std::size_t i = 0; i < frames; ++i) {
            m_input[2 * i] += left * channels[c][i];
            m_input[2 * i + 1] += right * channels[c][i];
        }
    }
}

std::size_t COggConverter::Convert(std::int16_t* dst, std::size_t frames) {
    const float* in = m_input.data() + 2 * m_inputAt;
    const std::size_t pending = m_input.size() / 2 - m_inputAt;
    const float* out = in;
    std::size_t made = std::min(frames, pending);
    std::size_t used = made;
    if (m_resampler) {
        SRC_DATA data{};
        data.data_in = in;
        data.input_frames = static_cast<long>(pending);
        data.data_out = m_output.data();
        data.output_frames = static_cast<long>(frames);
        data.end_of_input = m_ended ? 1 : 0;
        data.src_ratio = m_ratio;
        if (const int error = src_process(m_resampler.get(), &data)) {
            throw CADVException("COggConverter - %s", src_strerror(error));
        }
        out = m_output.data();
        made = static_cast<std::size_t>(data.output_frames_gen);
        used = static_cast<std::size_t>(data.input_frames_used);
    }
    m_inputAt += used;
    std::transform(out, out + 2 * made, dst, ToSample);
    return made;
}
