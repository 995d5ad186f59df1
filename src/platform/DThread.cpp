#include "platform/DThread.h"

DThread::~DThread() {
    Stop(0);
}

void DThread::Start() {
    m_running = true;
    try {
        m_thread = std::thread(&DThread::Entry, this);
    } catch (...) {
        m_running = false;
        throw;
    }
    m_started.Wait(1000);
}

bool DThread::Stop(std::uint32_t timeoutMs) {
    m_running = false;
    if (!m_thread.joinable()) {
        return true;
    }
    const bool inTime = m_stopped.Wait(timeoutMs);
    m_thread.join();
    return inTime;
}

void DThread::HandOver(std::exception_ptr error) {
    std::lock_guard lock(m_pendingMutex);
    if (!m_pending) {
        m_pending = std::move(error);
    }
}

void DThread::RethrowPending() {
    std::exception_ptr error;
    {
        std::lock_guard lock(m_pendingMutex);
        std::swap(error, m_pending);
    }
    if (error) {
        std::rethrow_exception(error);
    }
}

void DThread::Entry() {
    m_started.Set();
    try {
        Run();
    } catch (...) {
        HandOver(std::current_exception());
    }
    m_stopped.Set();
}
