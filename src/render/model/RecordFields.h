#pragma once

#include "mathutil/D3DXTypes.h"
#include "render/device/DeviceTypes.h"
#include "resources/ByteReader.h"

#include <bit>

// Float fields of the model files and savegame records, little-endian.

inline float ReadFloat(ByteReader& in) {
    return std::bit_cast<float>(in.U32());
}

// x, y, z in that order.
inline D3DXVECTOR3 ReadVector(ByteReader& in) {
    const float x = ReadFloat(in);
    const float y = ReadFloat(in);
    return {x, y, ReadFloat(in)};
}

// r, g, b, a in that order.
inline D3DCOLORVALUE ReadColour(ByteReader& in) {
    D3DCOLORVALUE c;
    c.r = ReadFloat(in);
    c.g = ReadFloat(in);
    c.b = ReadFloat(in);
    c.a = ReadFloat(in);
    return c;
}
