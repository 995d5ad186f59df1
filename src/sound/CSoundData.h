#pragma once

#include "sound/CSoundObject.h"

#include <atomic>
#include <memory>
#include <string>

// A sound read from a file of the resource archives ("data\sound\" + name),
// delivered in the one format the engine mixes: 44 100 Hz, 16-bit, stereo.
// Raw files must already be in it; Ogg Vorbis files of other formats are
// converted while they are decoded. Sound effects and the samples of the
// music are sound data.
//
// Script members: play (from the start), stop (keeps the position), loop
// (cannot be switched off again), volume, pan, fade(target, ms).
class CSoundData : public CSoundObject {
public:
    // A CSoundDataOgg when the name ends in ".ogg" (any case), else a
    // CSoundDataRaw; not looping, stopped, not registered with the engine.
    static std::unique_ptr<CSoundData> Load(CSoundEngine& engine, const std::string& name);

    // The member table scripts see, in DISPID order; read-only, so that tools
    // and tests can list what scripts may use.
    static std::span<const DispatchMember> ScriptMembers();

    void SetLoop(bool loop) override { m_loop = loop; }
    bool IsEffect() const override { return true; }

protected:
    explicit CSoundData(CSoundEngine& engine);

    // play, stop, loop and fade.
    void InvokeMethod(DISPID id, std::span<const Variant> args) override;

    // The archive path of a sound file.
    static std::string SoundPath(const std::string& name);

    std::atomic<bool> m_loop{false};
};
