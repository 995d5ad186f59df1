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
    // A change held back for this read is what the next one reports.
    const bool left = FinishRead(m_pending.left, m_left);
    const bool right = FinishRead(m_pending.right, m_right);
    m_signalled = left || right;
    return true;
}

bool DMouse::FinishRead(bool& state, Button& button) {
    const bool release = button.releaseAfterRead;
    const bool press = button.pressAfterRead;
    button = {};
    // The change now reported counts as this read's own, so a quick return is held back again.
    if (release) {
        state = false;
        button.releasedSinceRead = true;
    } else if (press) {
        state = true;
        button.pressedSinceRead = true;
    }
    return release || press;
}

void DMouse::Press(bool& state, Button& button, bool down) {
    if (down) {
        if (button.releasedSinceRead) {
            button.pressAfterRead = true;
            return;
        }
        state = true;
        button.pressedSinceRead = true;
        button.releaseAfterRead = false;
    } else {
        if (button.pressedSinceRead) {
            button.releaseAfterRead = true;
            return;
        }
        state = false;
        button.releasedSinceRead = true;
        button.pressAfterRead = false;
    }
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
        Press(m_pending.left, m_left, down);
    } else if (button == SDL_BUTTON_RIGHT) {
        Press(m_pending.right, m_right, down);
    } else {
        return;
    }
    m_signalled = true;
}
