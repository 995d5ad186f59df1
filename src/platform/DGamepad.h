#pragma once

#include "platform/DStickMotion.h"

#include <cstdint>
#include <functional>
#include <map>

class DMouse;
struct _SDL_GameController;

// Game controllers, played as the mouse and the keys through SDL's game
// controller interface: the left stick moves the cursor, A and B are the left
// and right mouse buttons, X is Tab (the inventory), Start is Escape (the
// game menu), the D-pad gives the arrow keys and the left shoulder Shift, so
// the game cannot tell a pad from the mouse and the keyboard. Pads come and
// go while the game runs; a pad pulled out lets go of whatever it held.
class DGamepad {
public:
    // What a pad button stands for.
    struct Action {
        enum class Kind { None, MouseButton, Key };
        Kind kind = Kind::None;
        std::int32_t code = 0; // an SDL mouse button or an SDL keycode
        bool operator==(const Action&) const = default;
    };
    struct Settings {
        bool enabled = true;
        DStickMotion::Tuning stick;
    };
    // Sends a key press or release the way the keyboard's reach the game.
    using KeySender = std::function<void(std::int32_t key, bool down)>;

    DGamepad(DMouse& mouse, KeySender sendKey);
    ~DGamepad();
    DGamepad(const DGamepad&) = delete;
    DGamepad& operator=(const DGamepad&) = delete;

    // Without physical pads (headless runs) only virtual ones count, so that
    // a pad plugged into the machine cannot reach a test run. Until configured
    // the pads are on, with virtual ones only.
    void Configure(const Settings& settings, bool physicalPads);
    const Settings& Current() const { return m_settings; }
    // Whether the pad at SDL's `deviceIndex` is one this takes when it is added.
    bool Accepts(int deviceIndex) const;
    int PadCount() const { return static_cast<int>(m_pads.size()); }
    const DStickMotion& Stick() const { return m_stick; }

    static Action ActionFor(int button);
    // An SDL axis value as a tilt from -1 to 1, and back.
    static float Tilt(std::int16_t axisValue);
    static std::int16_t AxisValue(float tilt);

    // SDL's controller events, from the window's pump: the device index of
    // an added pad, the instance id otherwise.
    void OnAdded(int deviceIndex);
    void OnRemoved(std::int32_t instance);
    void OnButton(std::int32_t instance, int button, bool down);
    void OnAxis(std::int32_t instance, int axis, std::int16_t value);

    // Once a frame: the cursor motion of the sticks' tilt over `ms` milliseconds.
    void Advance(std::uint32_t ms);

private:
    struct Pad {
        _SDL_GameController* controller = nullptr;
        std::uint32_t held = 0; // bit per SDL button
        DStickMotion::Vector stick;
    };
    // A button counts as held while any pad holds it; only the first press and
    // the last release reach the game.
    void Press(Pad& pad, int button, bool down);
    bool HeldByAnother(const Pad& pad, int button) const;
    void Send(int button, bool down);
    void Close(std::map<std::int32_t, Pad>::iterator pad);
    void CloseAll();

    DMouse& m_mouse;
    KeySender m_sendKey;
    Settings m_settings;
    bool m_physicalPads = false;
    // Held while this has the controller system started, so that it stays up
    // as long as pads are open here.
    bool m_subsystem = false;
    std::map<std::int32_t, Pad> m_pads;
    DStickMotion m_stick;
};
