#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

// An auto-reset event: Set wakes one waiter, and a successful wait consumes
// the signal. Unsignalled at creation.
class DThreadEvent {
public:
    DThreadEvent() = default;
    DThreadEvent(const DThreadEvent&) = delete;
    DThreadEvent& operator=(const DThreadEvent&) = delete;

    void Set();
    // True when the event was signalled within timeoutMs (0 only polls).
    bool Wait(std::uint32_t timeoutMs);

private:
    std::mutex m_mutex;
    std::condition_variable m_cond;
    bool m_signalled = false;
};
