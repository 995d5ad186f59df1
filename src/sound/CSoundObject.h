#pragma once

#include "script/CDispatchBase.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

class CSoundEngine;

// Everything the engine mixes: a source of 16-bit stereo samples with a play
// state, a volume (64 is unity, up to 256), a pan (-32 left .. 32 right) and a
// timed volume fade. The engine mixes registered objects on its streaming
// thread under its lock; the main thread changes volume, pan and play state
// with single stores the mixer picks up at its next pass.
//
// Scripts see every sound object with `volume` (0x10003) and `pan` (0x10004)
// properties; each kind adds its own methods around them. Unknown DISPIDs do
// nothing, and a call with both the method and the property-get flag runs
// both branches.
class CSoundObject : public CDispatchBase {
public:
    static constexpr int MaxVolume = 256;
    static constexpr int MaxPan = 32;

    // Mixed only while a CSoundEngine::Registration of it lives.
    CSoundObject(CSoundEngine& engine, std::span<const DispatchMember> members);

    virtual void Play() { m_playing = true; }
    virtual void Stop() { m_playing = false; }
    virtual void SetLoop(bool loop) = 0;
    virtual void Rewind() = 0;
    // Writes `bytes` bytes of samples to dst and returns how many of them are
    // real sound; the rest is silence. A stopped object gives silence unless
    // `force` asks for its data regardless.
    virtual std::size_t GetData(std::uint8_t* dst, std::size_t bytes, bool force) = 0;
    virtual bool IsEffect() const = 0;

    // Rewind and Play as one step under the engine's lock, so the streaming
    // thread never reads a half-rewound source.
    void PlayFromStart();
    // One step of the volume fade; the streaming thread calls it every 10 to
    // 20 ms under the engine's lock.
    void StepFade();
    // Fades from the current volume to `target` (clamped to 0..256) over
    // `durationMs`, starting now.
    void Fade(int target, std::uint32_t durationMs);

    bool IsPlaying() const { return m_playing; }
    bool IsFading() const { return m_fading; }
    int GetVolume() const { return m_volume; }
    int GetPan() const { return m_pan; }
    void SetVolume(int volume) { m_volume = volume; }
    void SetPan(int pan) { m_pan = pan; }

    // The script-side rules for storing a volume or a pan.
    static int ClampVolume(int volume);
    static int ClampPan(int pan);

protected:
    static constexpr DISPID VolumeId = kFirstMemberId + 3;
    static constexpr DISPID PanId = kFirstMemberId + 4;

    // The method branch of the kind's own members.
    virtual void InvokeMethod(DISPID id, std::span<const Variant> args) = 0;
    HRESULT InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                         Variant* result) final;
    // A script's duration in milliseconds: negative means at once.
    static std::uint32_t DurationArg(std::span<const Variant> args, std::size_t index);

    CSoundEngine& m_engine;
    std::atomic<bool> m_playing{false};

private:
    std::atomic<bool> m_fading{false};
    std::atomic<int> m_volume{64};
    std::atomic<int> m_pan{0};
    std::uint32_t m_fadeStartTick = 0;
    std::uint32_t m_fadeDuration = 0;
    int m_fadeFrom = 0;
    int m_fadeTo = 0;
};
