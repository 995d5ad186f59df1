#include "sound/CSoundMultiSequencer.h"

#include "sound/CSoundEngine.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

// Channel fades are counted in 16-bit samples of the interleaved stream.
constexpr std::uint64_t SamplesPerSecond = 88200;

constexpr DispatchMember Members[] = {
    {u"setvolume", true}, {u"fade", true}, {u"setmasterchannel", true}, {u"volume", false}, {u"pan", false}};
constexpr DISPID SetVolumeId = CDispatchBase::kFirstMemberId;
constexpr DISPID FadeId = SetVolumeId + 1;
constexpr DISPID SetMasterChannelId = SetVolumeId + 2;

} // namespace

std::span<const DispatchMember> CSoundMultiSequencer::ScriptMembers() {
    return Members;
}

CSoundMultiSequencer::CSoundMultiSequencer(CSoundEngine& engine, const Parameters& definition)
    : CSoundObject(engine, ScriptMembers()), m_sync(definition("sync", "true") == "true"),
      m_sampleBuffer(engine.HalfBufferBytes() / sizeof(std::int16_t)),
      m_accumulator(engine.HalfBufferBytes() / sizeof(std::int16_t)) {
    for (int c = '!'; c <= '~'; ++c) {
        const std::string file = definition(std::string("sample_") + static_cast<char>(c), "");
        if (!file.empty()) {
            m_samples[c] = CSoundData::Load(engine, file);
        }
    }
    for (int channel = 0; channel < Channels; ++channel) {
        m_patterns[channel] = definition("chan_" + std::to_string(channel), "");
        m_active[channel] = !m_patterns[channel].empty();
        if (m_active[channel] && m_masterChannel < 0) {
            m_masterChannel = channel;
            m_channelVolume[channel] = MaxChannelVolume;
        }
    }
}

void CSoundMultiSequencer::Stop() {
    CSoundObject::Stop();
    m_step = 0;
}

void CSoundMultiSequencer::InvokeMethod(DISPID id, std::span<const Variant> args) {
    switch (id) {
    case SetVolumeId:
        ExpectArgCount(args, 2);
        SetChannelVolume(IntArg(args, 0), IntArg(args, 1));
        break;
    case FadeId:
        ExpectArgCount(args, 3);
        FadeChannel(IntArg(args, 0), IntArg(args, 1), IntArg(args, 2));
        break;
    case SetMasterChannelId:
        ExpectArgCount(args, 1);
        SetMasterChannel(IntArg(args, 0));
        break;
    default:
        break;
    }
}

void CSoundMultiSequencer::SetChannelVolume(int channel, int volume) {
    if (ValidChannel(channel)) {
        m_channelVolume[channel] = std::clamp(volume, 0, MaxChannelVolume);
    }
}

void CSoundMultiSequencer::FadeChannel(int channel, int target, int durationMs) {
    if (!ValidChannel(channel)) {
        return;
    }
    m_engine.Locked([&] {
        ChannelFade& fade = m_fades[channel];
        fade.from = m_channelVolume[channel];
        fade.to = std::clamp(target, 0, MaxChannelVolume);
        fade.length = static_cast<std::uint64_t>(std::max(durationMs, 0)) * SamplesPerSecond / 1000;
        fade.position = 0;
        fade.active = fade.length > 0;
        if (!fade.active) {
            m_channelVolume[channel] = fade.to;
        }
    });
}

void CSoundMultiSequencer::SetMasterChannel(int channel) {
    if (ValidChannel(channel)) {
        m_masterChannel = channel;
    }
}

CSoundData* CSoundMultiSequencer::SampleAt(int channel, std::size_t step) const {
    const std::string& pattern = m_patterns[channel];
    return step < pattern.size() ? m_samples[static_cast<unsigned char>(pattern[step])].get() : nullptr;
}

void CSoundMultiSequencer::Silence(std::size_t from, std::size_t to) {
    std::fill(m_accumulator.begin() + from / 2, m_accumulator.begin() + to / 2, 0);
}

std::size_t CSoundMultiSequencer::MixChannel(int channel, std::size_t from, std::size_t to, bool first) {
    CSoundData* sample = SampleAt(channel, m_step);
    const std::size_t got =
        sample
            ? sample->GetData(reinterpret_cast<std::uint8_t*>(m_sampleBuffer.data()) + from, to - from, true)
            : 0;
    if (first) {
        Silence(from + (got & ~std::size_t{1}), to);
    }
    ChannelFade& fade = m_fades[channel];
    int volume = m_channelVolume[channel];
    const bool fading = fade.active;
    const std::size_t begin = from / 2;
    const std::size_t end = begin + got / 2;
    for (std::size_t j = begin; j < end; ++j) {
        int gain = volume;
        if (fade.active) {
            gain = static_cast<int>(fade.from +
                                    static_cast<double>(fade.to - fade.from) * fade.position / fade.length);
            volume = ++fade.position < fade.length ? gain : fade.to;
            fade.active = fade.position < fade.length;
        }
        const std::int32_t value = m_sampleBuffer[j] * gain;
        m_accumulator[j] = first ? value : m_accumulator[j] + value;
    }
    if (fading) {
        m_channelVolume[channel] = volume;
    }
    return got;
}

std::size_t CSoundMultiSequencer::GetData(std::uint8_t* dst, std::size_t bytes, bool force) {
    if (!m_playing && !force) {
        std::memset(dst, 0, bytes);
        return bytes;
    }
    if (m_sampleBuffer.size() < bytes / 2) {
        m_sampleBuffer.resize(bytes / 2);
        m_accumulator.resize(bytes / 2);
    }
    const int master = m_masterChannel;
    const bool masterActive = ValidChannel(master) && m_active[master];
    std::size_t done = 0;
    std::size_t silentSteps = 0;
    for (;;) {
        // The master goes first: where its sample ends, the step ends, and the
        // other channels are read only that far so their positions and fades
        // advance by exactly what is heard.
        std::size_t end = bytes;
        if (masterActive) {
            end = done + (MixChannel(master, done, bytes, true) & ~std::size_t{3});
        } else {
            Silence(done, bytes);
        }
        for (int channel = 0; channel < Channels; ++channel) {
            if (m_active[channel] && channel != master) {
                MixChannel(channel, done, end, false);
            }
        }
        if (end >= bytes) {
            break;
        }
        // A master whose samples give nothing for a whole pass of its pattern
        // would otherwise spin here for ever.
        silentSteps = end == done ? silentSteps + 1 : 0;
        if (silentSteps > m_patterns[master].size()) {
            Silence(end, bytes);
            break;
        }
        if (++m_step >= m_patterns[master].size()) {
            if (!m_loop) {
                Stop();
                Silence(end, bytes);
                break;
            }
            m_step = 0;
        }
        if (m_sync) {
            for (int channel = 0; channel < Channels; ++channel) {
                if (CSoundData* sample = m_active[channel] ? SampleAt(channel, m_step) : nullptr) {
                    sample->Rewind();
                }
            }
        }
        done = end;
    }
    auto* out = reinterpret_cast<std::int16_t*>(dst);
    for (std::size_t j = 0; j < bytes / 2; ++j) {
        out[j] = static_cast<std::int16_t>(std::clamp(m_accumulator[j] / MaxChannelVolume, -32767, 32767));
    }
    return bytes;
}
