#include "app/commands/CMessageBoxFlow.h"

#include "app/display/CDisplay.h"
#include "app/screens/CMessageBoxScreen.h"
#include "app/world/CGameWorld.h"
#include "scene/CScene.h"
#include "scene/CSceneObject.h"

CMessageBoxFlow::CMessageBoxFlow(CMessageBoxScreen& screen, CGameWorld& world, const CDisplay& display)
    : m_screen(screen), m_world(world), m_display(display) {}

void CMessageBoxFlow::Clear() {
    m_queue.Clear();
    m_screen.Hide();
}

bool CMessageBoxFlow::Visible() const {
    return m_screen.Visible();
}

bool CMessageBoxFlow::Idle() const {
    return m_queue.Empty() && !m_screen.Visible();
}

void CMessageBoxFlow::ShowNext() {
    const CMessageBoxQueue::Entry& entry = m_queue.TakeNext();
    m_screen.Show(entry.text, m_display.Width(), m_display.Height());
    CScene* scene = m_world.Scene();
    if (scene != nullptr && scene->FreeMoveObject() != nullptr) {
        CSceneObject& mover = *scene->FreeMoveObject();
        mover.StopMovement();
        mover.OnEvent("freemove", "messagebox");
    }
}

void CMessageBoxFlow::ShowNextIfNoneShown() {
    if (!m_screen.Visible() && !m_queue.Empty()) {
        ShowNext();
    }
}

void CMessageBoxFlow::Close() {
    m_screen.Hide();
    // Copied: the event may queue and show further messages.
    const CMessageBoxQueue::Entry closed = m_queue.Current();
    if (!closed.event.empty()) {
        m_world.FireSceneEvent(closed.event, closed.eventParameter);
    }
    if (m_queue.Empty() && m_afterLast) {
        m_afterLast();
    }
}
