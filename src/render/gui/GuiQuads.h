#pragma once

#include "render/gui/GuiVertex.h"

#include <cstdint>

// Vertices a bevelled frame takes with and without its border.
constexpr int kBorderedRectVertices = 30;
constexpr int kQuadVertices = 6;

// Writes one quad as two triangles (bottom-left, top-left, top-right and
// top-right, bottom-right, bottom-left) at `dest`; returns the vertex count, 6.
int GUI2_CreateVBRect(std::uint8_t* dest, const GuiCorners& corners, const GuiColours& colours,
                      const GuiCorners& uvs);

// Writes a frame over (left, top) - (right, bottom): with a border, four bevel
// quads lit from the top left when raised (from the bottom right when not)
// around the fill; without one, the fill alone. Returns 30 or 6.
int GUI2_CreateRect(std::uint8_t* dest, float left, float top, float right, float bottom, int border,
                    std::uint32_t light, std::uint32_t dark, std::uint32_t fill, bool raised);
