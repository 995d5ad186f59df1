#pragma once

#include "platform/DAudioOutput.h"
#include "platform/DClock.h"

#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

// A stream with no sound device behind it: playback advances with the engine
// clock (44.1 samples per millisecond), so with a manual clock the stream is
// exactly reproducible. Every half written is recorded in order: kept in
// memory, appended to a WAV file, or dropped when the game just runs silent.
// A wait ends early, unsuccessfully, when the other point was crossed.
class DAudioOutputCapture final : public DAudioOutput {
public:
    enum class Sink { Memory, Discard };

    DAudioOutputCapture(DClock& clock, Sink sink);
    // Null when the file cannot be created.
    static std::unique_ptr<DAudioOutputCapture> ToWav(DClock& clock, const std::filesystem::path& file);
    ~DAudioOutputCapture() override;

    void Create(std::size_t bytes) override;
    bool WaitFor(Point point, std::uint32_t timeoutMs) override;
    std::span<std::int16_t> Lock(std::size_t offset, std::size_t bytes) override;
    void Unlock() override;
    void Play() override;
    bool WaitUntilCurrent(std::uint32_t timeoutMs) override;

    // The recorded stream (Memory sink), interleaved left/right.
    std::vector<std::int16_t> Samples() const;
    std::size_t HalvesWritten() const;
    // Blocks (in real time, up to timeoutMs) until `count` halves have been
    // written; for callers that step a manual clock and need the mix it caused.
    bool WaitForHalves(std::size_t count, std::uint32_t timeoutMs) const;

private:
    // Both with m_mutex held.
    void Poll();
    std::uint64_t CrossingsDue() const;
    void WriteWavHeader();

    DClock& m_clock;
    Sink m_sink;
    std::FILE* m_wav = nullptr;
    std::uint32_t m_wavDataBytes = 0;

    std::vector<std::int16_t> m_buffer;
    std::span<std::int16_t> m_locked;
    bool m_playing = false;
    std::uint32_t m_playStart = 0;
    // Crossings are handed to the writer one at a time, so a clock that jumps
    // over several of them still gets every half written.
    std::uint64_t m_crossings = 0;
    std::uint64_t m_consumed = 0;
    std::size_t m_halvesAtPlay = 0;
    bool m_pending[2] = {false, false};

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_written;
    std::vector<std::int16_t> m_recorded;
    std::size_t m_halves = 0;
};
