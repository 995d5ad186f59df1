#pragma once

#include <deque>
#include <string>

// The messages scripts queue with game.messagebox, shown one at a time by the
// frame loop, and the one on screen: closing it fires its event.
class CMessageBoxQueue {
public:
    struct Entry {
        std::string text;
        std::string event;
        std::string eventParameter;
    };

    void Push(Entry entry) { m_queue.push_back(std::move(entry)); }
    bool Empty() const { return m_queue.empty(); }
    const std::deque<Entry>& Queued() const { return m_queue; }
    // Takes the oldest entry as the current one (an empty one when none is queued).
    const Entry& TakeNext();
    const Entry& Current() const { return m_current; }
    // Forgets the queue and the current entry.
    void Clear();

private:
    std::deque<Entry> m_queue;
    Entry m_current;
};
