#include "app/commands/CMessageBoxQueue.h"

const CMessageBoxQueue::Entry& CMessageBoxQueue::TakeNext() {
    if (m_queue.empty()) {
        m_current = {};
        return m_current;
    }
    m_current = std::move(m_queue.front());
    m_queue.pop_front();
    return m_current;
}

void CMessageBoxQueue::Clear() {
    m_queue.clear();
    m_current = {};
}
