#pragma once

// Relative mouse input, read once per frame: the movement accumulated since
// the last read and the current state of the two buttons. The window feeds it
// from its event pump.
class DMouse {
public:
    struct State {
        int dx = 0;
        int dy = 0;
        bool left = false;
        bool right = false;
    };

    // Input counts only while acquired (the window has the focus). Acquiring
    // also captures the pointer in relative mode and hides the platform cursor,
    // because the engine draws its own.
    void Acquire();
    void Unacquire();
    bool IsAcquired() const { return m_acquired; }

    // True when mouse events arrived since the last successful read; then fills
    // `state` and starts a new accumulation. False leaves `state` untouched.
    bool Read(State& state);

    void OnMotion(int dx, int dy);
    void OnButton(int button, bool down);

private:
    bool m_acquired = false;
    bool m_signalled = false;
    State m_pending;
};
