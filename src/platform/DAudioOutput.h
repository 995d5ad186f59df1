#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// One looping stream of 44 100 Hz, 16-bit signed, interleaved stereo. The
// buffer is refilled half by half: the owner waits for playback to cross the
// start or the middle of the buffer and then writes the half just played.
// Starting playback counts as crossing the start, so the second half is asked
// for before it is first heard.
class DAudioOutput {
public:
    static constexpr int SampleRate = 44100;
    static constexpr int Channels = 2;
    static constexpr int BytesPerFrame = 4;

    enum class Point { Start, Middle };

    DAudioOutput() = default;
    DAudioOutput(const DAudioOutput&) = delete;
    DAudioOutput& operator=(const DAudioOutput&) = delete;
    virtual ~DAudioOutput() = default;

    // Creates the silent, stopped looping buffer; bytes is a multiple of 8.
    virtual void Create(std::size_t bytes) = 0;
    // Waits up to timeoutMs for playback to cross `point`; a crossing is
    // reported once.
    virtual bool WaitFor(Point point, std::uint32_t timeoutMs) = 0;
    // Exclusive access to `bytes` bytes of the buffer from byte `offset`, as
    // samples, until Unlock.
    virtual std::span<std::int16_t> Lock(std::size_t offset, std::size_t bytes) = 0;
    virtual void Unlock() = 0;
    // Starts looping playback from the start of the buffer.
    virtual void Play() = 0;
    // Waits up to timeoutMs until every half that playback has reached by now
    // has been written. A device playing in real time is always current; an
    // output paced by a manual clock is not while its writer lags behind.
    virtual bool WaitUntilCurrent(std::uint32_t /*timeoutMs*/) { return true; }
};
