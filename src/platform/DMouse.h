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
    // `state` and starts a new accumulation. False leaves `state` untouched. A
    // button pressed and released again between two reads reads as down, and
    // as up at the next read, so a click shorter than a frame is not lost.
    bool Read(State& state);

    void OnMotion(int dx, int dy);
    void OnButton(int button, bool down);

private:
    struct Button {
        bool pressedSinceRead = false;
        bool releaseAfterRead = false;
    };
    void Press(bool& state, Button& button, bool down);
    static void FinishRead(bool& state, Button& button);

    bool m_acquired = false;
    bool m_signalled = false;
    State m_pending;
    Button m_left;
    Button m_right;
};
