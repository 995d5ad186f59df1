#pragma once

#include "app/commands/CMessageBoxQueue.h"

#include <functional>

class CDisplay;
class CGameWorld;
class CMessageBoxScreen;

// The message boxes of a game: the queue scripts and the engine fill, the one
// box on screen, and what closing it sets off (its event; once the last one
// is gone, whatever waits for that).
class CMessageBoxFlow {
public:
    CMessageBoxFlow(CMessageBoxScreen& screen, CGameWorld& world, const CDisplay& display);

    void Push(CMessageBoxQueue::Entry entry) { m_queue.Push(std::move(entry)); }
    // Nothing queued, nothing shown.
    void Clear();
    bool Visible() const;
    // Neither shown nor waiting.
    bool Idle() const;

    // The oldest queued message is shown; the free-move object stops and is told.
    void ShowNext();
    // As the frame does: the next one when none is shown.
    void ShowNextIfNoneShown();
    // Hides the box and fires its event; with none left queued, runs the
    // function set by SetAfterLast.
    void Close();
    void SetAfterLast(std::function<void()> afterLast) { m_afterLast = std::move(afterLast); }

    const CMessageBoxQueue& Queue() const { return m_queue; }

private:
    CMessageBoxScreen& m_screen;
    CGameWorld& m_world;
    const CDisplay& m_display;
    CMessageBoxQueue m_queue;
    std::function<void()> m_afterLast;
};
