#pragma once

#include "platform/DWindow.h"

#include <cstdint>
#include <string>
#include <vector>

// What the game sees of one frame: the messages waiting before it runs and
// the mouse it reads once.
struct SeenFrame {
    std::vector<DMessage> messages;
    bool mouseSignalled = false;
    DMouse::State mouse;
};

// As the game reads a frame that the clock moved `stepMs` towards: the pads'
// sticks move the mouse by that time before it is read.
SeenFrame ReadFrame(DWindow& window, std::uint32_t stepMs = 0);
// One line per message, then the mouse: for comparing whole frames.
std::string Describe(const SeenFrame& frame);
