#include "platform/DFramePacer.h"

#include <SDL.h>
#include <thread>

DFramePacer::Method DFramePacer::Choose(bool inStep, const SwapIntervalSetter& setSwapInterval) {
    if (!inStep) {
        setSwapInterval(0);
        return Method::Free;
    }
    if (setSwapInterval(-1)) {
        return Method::Adaptive;
    }
    if (setSwapInterval(1)) {
        return Method::Synchronised;
    }
    // Presenting must not wait on a driver that cannot keep step anyway.
    setSwapInterval(0);
    return Method::Waiting;
}

DFramePacer::Clock::time_point DFramePacer::NextFrame(Clock::time_point last, Clock::time_point now,
                                                      Clock::duration period) {
    return now - last >= period ? now : last + period;
}

void DFramePacer::Start(SDL_Window* window, bool inStep) {
    m_window = window;
    m_method = Choose(inStep, [](int interval) { return SDL_GL_SetSwapInterval(interval) == 0; });
    m_lastFrame = Clock::now();
}

void DFramePacer::Wait() {
    if (m_method != Method::Waiting) {
        return;
    }
    const Clock::time_point next = NextFrame(m_lastFrame, Clock::now(), RefreshPeriod());
    std::this_thread::sleep_until(next);
    m_lastFrame = next;
}

DFramePacer::Clock::duration DFramePacer::RefreshPeriod() const {
    // Asked each time: the window may have moved to another display or changed its mode.
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(m_window);
    int rate = display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0;
    if (rate <= 0) {
        rate = kDefaultRefreshRate;
    }
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / rate));
}
