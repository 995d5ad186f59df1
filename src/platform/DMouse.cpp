#include "platform/DMouse.h"

#include <SDL.h>

void DMouse::Acquire() {
    // Drivers without a pointer (offscreen) refuse relative mode; replayed input still arrives.
    SDL_SetRelativeMouseMode(SDL_TRUE);
    m_acquired = true;
}

void DMouse::Unacquire() {
    SDL_SetRelativeMouseMode(SDL_FALSE);
    m_acquired = false;
    m_pending.dx = 0;
    m_pending.dy = 0;
}

bool DMouse::Read(State& state) {
    if (!m_signalled) {
        return false;
    }
    state = m_pending;
    m_pending.dx = 0;
    m_pending.dy = 0;
    m_signalled = false;
    return true;
}

void DMouse::OnMotion(int dx, int dy) {
    if (!m_acquired) {
        return;
    }
    m_pending.dx += dx;
    m_pending.dy += dy;
    m_signalled = true;
}

void DMouse::OnButton(int button, bool down) {
    if (!m_acquired) {
        return;
    }
    if (button == SDL_BUTTON_LEFT) {
        m_pending.left = down;
    } else if (button == SDL_BUTTON_RIGHT) {
        m_pending.right = down;
    } else {
        return;
    }
    m_signalled = true;
}
