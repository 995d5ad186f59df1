#pragma once

#include "platform/DWindow.h"

#include <vector>

// The full-screen modes the game offers: 4:3 modes at least 1024 wide, one per
// size, in the display's order, each size with its highest refresh rate (the
// first one seen when rates are equal).
std::vector<DDisplayMode> AcceptDisplayModes(const std::vector<DDisplayMode>& modes);

// The accepted mode of the requested size, or the first accepted mode when the
// size is not among them. `accepted` must not be empty.
DDisplayMode ChooseDisplayMode(const std::vector<DDisplayMode>& accepted, int width, int height);
