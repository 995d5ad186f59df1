#pragma once

#include <cstdint>
#include <vector>

// The desktop icon of the engine, drawn by code like every image the project
// ships: a stone archway with a lit doorway under a night sky, on a rounded
// tile with transparent corners. A kEngineIconSize square PNG, every run the
// same bytes.
std::vector<std::uint8_t> EngineIconPng();

constexpr int kEngineIconSize = 256;
