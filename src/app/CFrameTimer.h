#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Frame timing of the game loop: the cycle counter, the once-a-second frame
// rate text and the elapsed time each frame advances the game by. Ticks are
// unsigned milliseconds and compared by unsigned difference, so the 49-day
// wrap of the tick counter is harmless.
class CFrameTimer {
public:
    // No frame ever advances the game by more than this, so a stall (a scene
    // load, a dragged window) does not make animations jump.
    static constexpr std::uint32_t kMaxFrameMs = 200;
    static constexpr std::uint32_t kFpsIntervalMs = 1000;

    void Start(std::uint32_t now);

    // Start of a frame: counts the cycle.
    void BeginCycle() { ++m_cycles; }

    // The new frame-rate text when more than a second passed since the last one
    // and the label is shown; the cycle count restarts only then.
    std::optional<std::string> UpdateFps(std::uint32_t now, bool labelVisible);

    // Pulls the last frame tick forward so that Elapsed(now) is at most kMaxFrameMs.
    void Clamp(std::uint32_t now);
    std::uint32_t Elapsed(std::uint32_t now) const { return now - m_lastFrame; }

    // End of a frame that ran the game: the next frame measures from here.
    void EndFrame(std::uint32_t now);

    int Cycles() const { return m_cycles; }
    int FramesPerSecond() const { return m_fps; }
    std::uint32_t LastFrameTick() const { return m_lastFrame; }

private:
    std::uint32_t m_lastFrame = 0;
    std::uint32_t m_lastFpsUpdate = 0;
    int m_cycles = 0;
    int m_framesSinceFpsUpdate = 0;
    int m_fps = 0;
};
