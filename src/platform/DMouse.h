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

    // The engine's cursor moves this many back-buffer pixels per unit of motion.
    static constexpr float kCursorPixelsPerStep = 2.0f;

    // Input counts only while acquired (the window has the focus). Acquiring
    // also captures the pointer in relative mode and hides the platform cursor,
    // because the engine draws its own.
    void Acquire();
    void Unacquire();
    bool IsAcquired() const { return m_acquired; }

    // True when mouse events arrived since the last successful read; then fills
    // `state` and starts a new accumulation. False leaves `state` untouched. A
    // button that goes down and up again between two reads reads as down, and
    // as up at the next read (and the other way round), so a click or a double
    // click faster than the frames is not lost.
    bool Read(State& state);

    void OnMotion(int dx, int dy);
    void OnButton(int button, bool down);

private:
    struct Button {
        bool pressedSinceRead = false;
        bool releasedSinceRead = false;
        bool releaseAfterRead = false;
        bool pressAfterRead = false;
    };
    void Press(bool& state, Button& button, bool down);
    // Applies the change held back for the next read; true when there was one.
    static bool FinishRead(bool& state, Button& button);

    bool m_acquired = false;
    bool m_signalled = false;
    State m_pending;
    Button m_left;
    Button m_right;
};
