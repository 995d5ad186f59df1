#pragma once

#include <cstdint>
#include <vector>

// The standard pointer as a PNG file (32 x 32, white with a black rim, the
// rest transparent; its tip is the top-left pixel), for games and fixtures
// made by the project's tools, which ship no binary images.
std::vector<std::uint8_t> ArrowCursorPng();
