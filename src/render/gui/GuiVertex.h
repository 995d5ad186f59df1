#pragma once

#include "render/device/DeviceTypes.h"

#include <array>
#include <cstdint>
#include <cstring>

// One vertex of the GUI and cursor buffers: screen pixels, z 0, rhw 1, a
// diffuse colour and one texture pair, in the 28-byte screen vertex layout.
struct GuiVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float rhw = 1.0f;
    std::uint32_t colour = 0;
    float u = 0.0f;
    float v = 0.0f;
};
static_assert(sizeof(GuiVertex) == kScreenTex1Stride);

struct GuiPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// Corners of a quad, colours and texture pairs in the order top-left,
// top-right, bottom-left, bottom-right.
using GuiCorners = std::array<GuiPoint, 4>;
using GuiColours = std::array<std::uint32_t, 4>;

// Buffers are raw bytes; vertices go in and out by copy.
inline void WriteGuiVertex(std::uint8_t* dest, const GuiVertex& vertex) {
    std::memcpy(dest, &vertex, sizeof vertex);
}

inline GuiVertex ReadGuiVertex(const std::uint8_t* source) {
    GuiVertex vertex;
    std::memcpy(&vertex, source, sizeof vertex);
    return vertex;
}
