#include "platform/DThreadEvent.h"

#include <chrono>

void DThreadEvent::Set() {
    {
        std::lock_guard lock(m_mutex);
        m_signalled = true;
    }
    m_cond.notify_one();
}

bool DThreadEvent::Wait(std::uint32_t timeoutMs) {
    std::unique_lock lock(m_mutex);
    if (!m_cond.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_signalled; })) {
        return false;
    }
    m_signalled = false;
    return true;
}
