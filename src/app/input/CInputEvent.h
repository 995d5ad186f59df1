#pragma once

#include <cstdint>

// One piece of input as the receivers see it: a key (engine key code), a typed
// character (the game's 8-bit code, or a control character: Enter 13, Tab 9,
// Backspace 8), or a mouse button edge at a back-buffer pixel.
struct CInputEvent {
    enum class Kind { KeyDown, KeyUp, Character, LeftPress, LeftRelease, RightPress, RightRelease };

    Kind kind = Kind::KeyDown;
    std::uint32_t code = 0;
    int x = 0;
    int y = 0;
};

// What a receiver did with an event.
enum class EInputTaken {
    // Not its business: the receivers below get it.
    Passed,
    Taken,
    // A press that closed a window: its button's release does nothing more.
    TakenWithRelease,
};
