#pragma once

#include <cstdint>

class DWindow;
struct _SDL_Joystick;

// A game controller that exists only inside the program: SDL's virtual
// joystick with the standard controller layout, for input files and tests.
// What it is set to reaches the window at once, as the platform's own
// controller events, so it takes the very way a plugged-in pad does.
// Failures throw std::runtime_error with SDL's reason.
class DVirtualGamepad {
public:
    explicit DVirtualGamepad(DWindow& window);
    ~DVirtualGamepad();
    DVirtualGamepad(const DVirtualGamepad&) = delete;
    DVirtualGamepad& operator=(const DVirtualGamepad&) = delete;

    // Plugged in and pulled out again; pulling it out lets go of what it held.
    void Attach();
    void Detach();
    bool Attached() const { return m_joystick != nullptr; }

    // Only while attached.
    void SetButton(int button, bool down);
    void SetAxis(int axis, std::int16_t value);

private:
    // Has SDL turn what was set into controller events and hands them to the window.
    void Deliver();

    DWindow& m_window;
    _SDL_Joystick* m_joystick = nullptr;
    bool m_subsystem = false;
};
