#pragma once

#include <atomic>
#include <cstdint>

// The one source of millisecond ticks. Everything that measures time (frames,
// animations, timed script events, the sound thread) asks this clock, so a
// manual clock makes a whole run deterministic. Safe to read from any thread.
class DClock {
public:
    enum class Mode { Real, Manual };

    // A real clock gives monotonic milliseconds wrapping like a 32-bit tick
    // counter; a manual one starts at `start` and only moves through Advance/Set.
    explicit DClock(Mode mode = Mode::Real, std::uint32_t start = 0);
    DClock(const DClock&) = delete;
    DClock& operator=(const DClock&) = delete;

    std::uint32_t Now() const;
    bool IsManual() const { return m_mode == Mode::Manual; }

    // Only meaningful for a manual clock.
    void Advance(std::uint32_t ms);
    void Set(std::uint32_t ms);

private:
    Mode m_mode;
    std::atomic<std::uint32_t> m_manualNow;
};
