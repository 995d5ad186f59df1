#pragma once

#include "render/device/DeviceTypes.h"

#include <bit>
#include <cstdint>
#include <string>

// One vertex of a model in the POSNORTEX1 layout: eight little-endian floats.
// Buffers hold exactly these bytes, so a file's vertex block is copied as is.
struct SpreshVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float nx = 0.0f;
    float ny = 0.0f;
    float nz = 0.0f;
    float u = 0.0f;
    float v = 0.0f;
};
static_assert(sizeof(SpreshVertex) == kPosNorTex1Stride);
static_assert(std::endian::native == std::endian::little, "model buffers hold file bytes unchanged");

// One material of a frame mesh; its triangles are indexCount / 3 indices
// starting at firstIndex.
struct CSpreshMaterial {
    int number = 0;
    int textureId = 0;
    // The texture file the id was loaded from; empty for none.
    std::string textureName;
    D3DMATERIAL9 material;
    bool transparent = false;
    std::int32_t firstIndex = 0;
    std::int32_t indexCount = 0;
    // Read by nothing; kept because the file format's readers set them.
    float textureFactor[2] = {1.0f, 1.0f};
};

// Names in model files are read into fixed 256-byte fields by other readers
// of the format, so longer ones are refused.
constexpr std::int32_t kMaxSpreshNameLength = 255;

// The animation an IMS2 file fills and a model starts in when it has one.
inline const std::string kIdleAnimation = "idle";
