#pragma once

#include "sound/CSoundData.h"
#include "sound/CSoundObject.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Music made of short samples, each bound to one printable character, and up
// to 16 channels, each a string of those characters played side by side, one
// character per step. The master channel sets the tempo: the step advances
// when its sample runs out. Channels other than the master start muted, so
// scripts can bring layers in and out while the music stays in time.
//
// Script members: setvolume(channel, volume), fade(channel, target, ms),
// setmasterchannel(channel), volume, pan.
class CSoundMultiSequencer final : public CSoundObject {
public:
    static constexpr int Channels = 16;
    static constexpr int MaxChannelVolume = 64;

    // Looks up a definition key, giving `def` when it is missing.
    using Parameters = std::function<std::string(const std::string& key, const std::string& def)>;

    // The member table scripts see, in DISPID order; read-only, so that tools
    // and tests can list what scripts may use.
    static std::span<const DispatchMember> ScriptMembers();

    // Loads every "sample_<c>" and sets every "chan_<n>" of the definition;
    // the first channel set becomes the master at full volume.
    CSoundMultiSequencer(CSoundEngine& engine, const Parameters& definition);

    void Stop() override;
    void SetLoop(bool loop) override { m_loop = loop; }
    void Rewind() override {}
    std::size_t GetData(std::uint8_t* dst, std::size_t bytes, bool force) override;
    bool IsEffect() const override { return false; }

    // Channel numbers outside 0..15 are ignored by all three.
    void SetChannelVolume(int channel, int volume);
    // Fades a channel from its current volume to `target` over `durationMs`,
    // counted in mixed samples.
    void FadeChannel(int channel, int target, int durationMs);
    void SetMasterChannel(int channel);

    int GetChannelVolume(int channel) const { return m_channelVolume[channel]; }
    int GetMasterChannel() const { return m_masterChannel; }
    std::size_t GetStep() const { return m_step; }

private:
    void InvokeMethod(DISPID id, std::span<const Variant> args) override;

    struct ChannelFade {
        bool active = false;
        int from = 0;
        int to = 0;
        std::uint64_t length = 0;
        std::uint64_t position = 0;
    };

    static bool ValidChannel(int channel) { return channel >= 0 && channel < Channels; }
    CSoundData* SampleAt(int channel, std::size_t step) const;
    // Reads the channel's sample for the current step into bytes [from, to) of
    // the block and mixes it in (replacing what was there when `first`).
    // Returns the bytes of real sound.
    std::size_t MixChannel(int channel, std::size_t from, std::size_t to, bool first);
    void Silence(std::size_t from, std::size_t to);

    std::array<std::unique_ptr<CSoundData>, 256> m_samples;
    std::array<std::string, Channels> m_patterns;
    std::array<bool, Channels> m_active{};
    std::array<std::atomic<int>, Channels> m_channelVolume{};
    std::array<ChannelFade, Channels> m_fades{};
    std::atomic<int> m_masterChannel{-1};
    std::size_t m_step = 0;
    bool m_sync = true;
    std::atomic<bool> m_loop{false};
    std::vector<std::int16_t> m_sampleBuffer;
    std::vector<std::int32_t> m_accumulator;
};
