#pragma once

#include "platform/DThreadEvent.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>

// A worker thread owned by the object that derives from it. Run is the
// thread's body; it loops while IsRunning() and must return soon after Stop
// clears the flag.
//
// Exceptions never cross into std::terminate on the worker: whatever escapes
// Run, or whatever the derived class hands over with HandOver, is kept and
// rethrown on the owner's thread by RethrowPending, where the program's
// normal error handling can deal with it.
class DThread {
public:
    DThread(const DThread&) = delete;
    DThread& operator=(const DThread&) = delete;
    virtual ~DThread();

    // Rethrows (once) the first exception the worker handed over, if any.
    void RethrowPending();

protected:
    DThread() = default;

    // Sets the running flag before the thread exists, so a Stop that comes
    // before the thread gets going still ends it. Throws std::system_error
    // when no thread can be created.
    void Start();
    // Clears the running flag, waits up to timeoutMs for the body to end and
    // joins the thread. Returns false when the body overran the wait; the
    // thread is still joined, as it cannot be killed without corrupting
    // whatever it holds. Derived classes call this in their destructor, while
    // the state Run uses still exists.
    bool Stop(std::uint32_t timeoutMs);

    bool IsRunning() const { return m_running.load(); }
    // Keeps the first exception until the owner collects it.
    void HandOver(std::exception_ptr error);

    virtual void Run() = 0;

private:
    void Entry();

    std::thread m_thread;
    DThreadEvent m_started;
    DThreadEvent m_stopped;
    std::atomic<bool> m_running{false};
    std::mutex m_pendingMutex;
    std::exception_ptr m_pending;
};
