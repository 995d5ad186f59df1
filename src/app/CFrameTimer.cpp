#include "app/CFrameTimer.h"

#include <cstdio>

void CFrameTimer::Start(std::uint32_t now) {
    m_lastFrame = now;
    m_lastFpsUpdate = now;
    m_framesSinceFpsUpdate = 0;
}

std::optional<std::string> CFrameTimer::UpdateFps(std::uint32_t now, bool labelVisible) {
    const std::uint32_t since = now - m_lastFpsUpdate;
    if (since <= kFpsIntervalMs || !labelVisible) {
        return std::nullopt;
    }
    m_fps = static_cast<int>((static_cast<std::uint64_t>(m_framesSinceFpsUpdate) * 1000 + since / 2) / since);
    m_framesSinceFpsUpdate = 0;
    m_lastFpsUpdate = now;
    char text[64];
    std::snprintf(text, sizeof text, "%d fps - %d cycles", m_fps, m_cycles);
    m_cycles = 0;
    return std::string(text);
}

void CFrameTimer::Clamp(std::uint32_t now) {
    if (now - m_lastFrame > kMaxFrameMs) {
        m_lastFrame = now - kMaxFrameMs;
    }
}

void CFrameTimer::EndFrame(std::uint32_t now) {
    m_lastFrame = now;
    ++m_framesSinceFpsUpdate;
}
