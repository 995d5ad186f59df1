#pragma once

#include "platform/DAudioOutputCapture.h"
#include "platform/DClock.h"
#include "sound/COggEncoder.h"
#include "sound/CSoundEngine.h"
#include "support/TempDir.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Interleaved stereo samples <-> the bytes of a headerless sound file.
std::vector<std::uint8_t> ToBytes(const std::vector<std::int16_t>& samples);
std::vector<std::int16_t> ToSamples(const std::vector<std::uint8_t>& bytes);
// `frames` stereo frames of one constant left and right value.
std::vector<std::int16_t> Constant(std::size_t frames, std::int16_t left, std::int16_t right);
// Frame k holds k (left) and -k (right): shows exactly which frame was read.
std::vector<std::int16_t> Ramp(std::size_t frames);
// A stereo 44 100 Hz sine: the left channel a sine, the right a cosine.
std::vector<std::int16_t> Sine(std::size_t frames, double hz, double amplitude);

// Sound files as the engine finds them in the archives ("data\sound\..."),
// kept in a temporary folder.
class SoundFiles {
public:
    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    CSoundEngine::FileLoader Loader() const;

private:
    TempDir m_dir;
};

// A sound engine on a capture output paced by a manual clock, with a small
// buffer (latencybuffer 16: halves of 512 frames). Construction waits until
// the two halves mixed at start-up are written.
// Engine settings from the named values ("latencybuffer", "effectvolume",
// "musicvolume", "mastervolume"), the game's defaults for the others.
CSoundEngine::Settings EngineSettings(const std::map<std::string, int>& values);

class EngineRig {
public:
    explicit EngineRig(const std::map<std::string, int>& settings = {{"latencybuffer", 16}});
    ~EngineRig();

    // Moves the clock to the next crossing of the buffer's start or middle and
    // returns the half the engine mixed for it.
    std::vector<std::int16_t> NextHalf();

    SoundFiles files;
    DClock clock{DClock::Mode::Manual};
    DAudioOutputCapture* capture = nullptr;
    std::unique_ptr<CSoundEngine> engine;

private:
    std::uint64_t m_crossings = 0;
};
