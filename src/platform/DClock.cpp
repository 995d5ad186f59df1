#include "platform/DClock.h"

#include <chrono>

DClock::DClock(Mode mode, std::uint32_t start) : m_mode(mode), m_manualNow(start) {}

std::uint32_t DClock::Now() const {
    if (m_mode == Mode::Manual) {
        return m_manualNow.load();
    }
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void DClock::Advance(std::uint32_t ms) { m_manualNow += ms; }

void DClock::Set(std::uint32_t ms) { m_manualNow = ms; }
