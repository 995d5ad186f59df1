#pragma once

#include <bit>
#include <cstdint>
#include <vector>

// Little-endian appends for the engine's records, the counterpart of ByteReader.
inline void PutU8(std::vector<std::uint8_t>& out, std::uint8_t v) {
    out.push_back(v);
}

inline void PutBool(std::vector<std::uint8_t>& out, bool v) {
    out.push_back(v ? 1 : 0);
}

inline void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

inline void PutI32(std::vector<std::uint8_t>& out, std::int32_t v) {
    PutU32(out, static_cast<std::uint32_t>(v));
}

inline void PutFloat(std::vector<std::uint8_t>& out, float v) {
    PutU32(out, std::bit_cast<std::uint32_t>(v));
}
