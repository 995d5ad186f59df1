#pragma once

#include "platform/DAudioOutput.h"
#include "platform/DClock.h"
#include "platform/DThread.h"
#include "script/CDispatchBase.h"
#include "sound/CSoundMixer.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CSoundData;
class CSoundMultiSequencer;
class CSoundObject;

// All game audio: one looping output stream that the engine's streaming
// thread refills half by half with a software mix of every registered sound
// object (effects and music). Volumes are 0..64 per group (effects, music)
// plus a master volume; 64 is unity gain.
//
// One recursive lock guards the object list, the effect tables and whatever
// the mixer reads from the objects. Objects are only ever deleted under it,
// so the mixer never sees one half destroyed.
//
// Errors raised while mixing (a corrupt Ogg stream) are kept and rethrown on
// the game's thread by RethrowPending, which the frame calls.
//
// It is also the script object `sound`: definemusic, addeffect,
// addstreameffect, playmusic, currentmusic, stopmusic, and every effect as a
// property named like it.
class CSoundEngine final : public DThread, public CDispatchBase {
public:
    static constexpr int MaxGroupVolume = CSoundMixer::MaxGroupVolume;
    static constexpr std::uint32_t FadeStepMs = 10;
    // The output buffer's size, in units of 256 bytes.
    static constexpr int MinLatency = 16;
    static constexpr int MaxLatency = 2048;

    // What the engine starts with, from the player's settings. Values outside
    // their ranges are clamped: latency to MinLatency..MaxLatency, volumes to
    // 0..MaxGroupVolume.
    struct Settings {
        int latencyBuffer;
        int effectVolume;
        int musicVolume;
        int masterVolume;
    };

    // The member table scripts see, in DISPID order; read-only, so that tools
    // and tests can list what scripts may use.
    static std::span<const DispatchMember> ScriptMembers();

    // Reads a whole file of the resource archives by logical path; raises the
    // archive's "not found" error when it is missing.
    using FileLoader = std::function<std::vector<std::uint8_t>(const std::string& path)>;

    // Creates the output buffer and starts the streaming thread.
    CSoundEngine(const Settings& settings, DClock& clock, std::unique_ptr<DAudioOutput> output, FileLoader loader);
    // Stops the streaming thread (it ends within one wait of 10 ms), then
    // deletes every effect and the music.
    ~CSoundEngine() override;

    // The output for a run: with `headless` a clock-paced capture (written to
    // `captureFile` as WAV when one is named), else the sound device; when no
    // device can be opened the game runs silent with a warning on stderr.
    // For runs on a manual clock: waits (in real time, at most timeoutMs) until
    // the streaming thread has mixed everything the clock has reached.
    bool WaitUntilMixed(std::uint32_t timeoutMs) { return m_output->WaitUntilCurrent(timeoutMs); }
    static std::unique_ptr<DAudioOutput> OpenOutput(DClock& clock, bool headless,
                                                    const std::string& captureFile);

    // A sound object in the mix while its registration lives. Whoever owns
    // the object keeps the registration beside it, declared after it, so the
    // object leaves the mix before any part of it is destroyed.
    class Registration {
    public:
        Registration() = default;
        Registration(CSoundEngine& engine, CSoundObject& object);
        Registration(Registration&& other) noexcept;
        // Leaves the mix first, then takes over the other's object.
        Registration& operator=(Registration&& other) noexcept;
        ~Registration();

    private:
        void Release() noexcept;

        CSoundEngine* m_engine = nullptr;
        CSoundObject* m_object = nullptr;
    };

    // Runs `step` under the engine's lock, so the streaming thread never sees it half done.
    template <typename Step>
    void Locked(Step&& step) const {
        std::lock_guard lock(m_mutex);
        step();
    }

    // Creates a stopped, non-looping effect from "data\sound\" + file and
    // registers it under `name`; raises when the name is taken.
    CSoundData& AddEffect(const std::string& name, const std::string& file);
    // Null when no effect has the name.
    CSoundData* FindEffect(const std::string& name) const;
    // The effect's number, counted from 1 since the last ClearEffects; 0 when
    // none has the name.
    int EffectNumber(const std::string& name) const;
    CSoundData* EffectByNumber(int number) const;
    // Stops and deletes every effect; music definitions and music stay.
    void ClearEffects();

    // Stores or replaces the definition text of a piece of music.
    void DefineMusic(const std::string& name, const std::string& parameters);
    // Starts the music of that definition, fading in from silence, while the
    // music playing so far fades out. A name already playing changes nothing.
    // A music still fading out from before is dropped at once. Raises, and
    // changes nothing, when the name is not defined or its samples cannot be
    // loaded.
    void PlayMusic(const std::string& name, int fadeInMs = 5000, int fadeOutMs = 10000);
    // Fades the current music out; a music still fading out from before is
    // dropped at once.
    void StopMusic(int fadeOutMs = 10000);
    CSoundMultiSequencer* CurrentMusic() const;
    CSoundMultiSequencer* FadingMusic() const;
    std::string CurrentMusicName() const;

    int GetEffectVolume() const { return m_effectVolume; }
    int GetMusicVolume() const { return m_musicVolume; }
    int GetMasterVolume() const { return m_masterVolume; }
    // Plain stores for the options sliders; the mixer reads them at its next pass.
    void SetEffectVolume(int volume) { m_effectVolume = volume; }
    void SetMusicVolume(int volume) { m_musicVolume = volume; }

    std::size_t BufferBytes() const { return m_bufferBytes; }
    std::size_t HalfBufferBytes() const { return m_bufferBytes / 2; }
    DClock& Clock() const { return m_clock; }
    std::vector<std::uint8_t> LoadFile(const std::string& path) const { return m_loadFile(path); }

private:
    struct Effect {
        std::unique_ptr<CSoundData> object;
        int number = 0;
        Registration registration;
    };
    // The music playing or fading out, with its place in the mix.
    struct Music {
        std::unique_ptr<CSoundMultiSequencer> object;
        Registration registration;

        Music();
        Music(Music&& other) noexcept;
        // Out of the mix before the object it replaces is deleted.
        Music& operator=(Music&& other) noexcept;
        ~Music();
        void Reset();
    };

    DISPID FindName(std::u16string_view name) override;
    HRESULT InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                         Variant* result) override;

    void DiscardFadingMusic();
    void AddSoundObject(CSoundObject* object);
    void RemoveSoundObject(CSoundObject* object);

    void Run() override;
    // Waits for playback to cross the start or the middle, stepping fades
    // meanwhile; true when the middle was crossed.
    bool WaitForHalf();
    void MixHalf(std::size_t offset);

    // Declared first: destroyed last, after everything that unregisters.
    mutable std::recursive_mutex m_mutex;
    std::vector<CSoundObject*> m_soundObjects;

    DClock& m_clock;
    FileLoader m_loadFile;
    std::unique_ptr<DAudioOutput> m_output;
    std::size_t m_bufferBytes = 0;
    std::unique_ptr<CSoundMixer> m_mixer;
    bool m_restart = true;

    std::atomic<int> m_effectVolume{MaxGroupVolume};
    std::atomic<int> m_musicVolume{MaxGroupVolume};
    int m_masterVolume = MaxGroupVolume;

    std::map<std::string, Effect> m_effects;
    std::map<int, CSoundData*> m_effectNumbers;
    int m_effectCount = 0;

    std::map<std::string, std::string> m_musicDefinitions;
    Music m_currentMusic;
    Music m_fadingMusic;
    std::string m_currentMusicName;
};
