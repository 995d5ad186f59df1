#pragma once

#include <chrono>
#include <functional>

struct SDL_Window;

// Keeps the frames in step with the display, or lets them run free. In step,
// the driver holds each presented frame for the display's refresh (adaptive
// synchronisation where it offers it, which lets a late frame through at
// once instead of waiting for the next refresh); where it offers no
// synchronisation at all, the loop waits itself, so that frames never come
// faster than the display's refresh rate.
class DFramePacer {
public:
    enum class Method { Free, Adaptive, Synchronised, Waiting };
    using Clock = std::chrono::steady_clock;
    // Asks the driver for a swap interval; true when it takes it.
    using SwapIntervalSetter = std::function<bool(int interval)>;

    // The refresh rate assumed when the display does not tell its own.
    static constexpr int kDefaultRefreshRate = 60;

    // Free presents every frame at once; in step the best the driver offers.
    static Method Choose(bool inStep, const SwapIntervalSetter& setSwapInterval);
    // When the frame after one that began at `last` may begin, at `now`: a
    // refresh period later, or at once when the frame took that long already.
    static Clock::time_point NextFrame(Clock::time_point last, Clock::time_point now, Clock::duration period);

    // For the current GL context of `window`.
    void Start(SDL_Window* window, bool inStep);
    Method Current() const { return m_method; }
    // After each frame: while waiting is the method, until the next frame may begin.
    void Wait();

private:
    Clock::duration RefreshPeriod() const;

    SDL_Window* m_window = nullptr;
    Method m_method = Method::Free;
    Clock::time_point m_lastFrame;
};
