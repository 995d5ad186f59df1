#pragma once

#include "platform/DWindow.h"

#include <string>
#include <vector>

// What the game sees of one frame: the messages waiting before it runs and
// the mouse it reads once.
struct SeenFrame {
    std::vector<DMessage> messages;
    bool mouseSignalled = false;
    DMouse::State mouse;
};

SeenFrame ReadFrame(DWindow& window);
// One line per message, then the mouse: for comparing whole frames.
std::string Describe(const SeenFrame& frame);
