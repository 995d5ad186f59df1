#pragma once

#include <bit>
#include <cstdint>

// One colour channel of a packed pixel described by a bit mask, as BMP bit
// fields and uncompressed DDS formats give them; widened to 8 bits.
class PixelMask {
public:
    PixelMask() = default;
    explicit PixelMask(std::uint32_t mask)
        : m_mask(mask), m_shift(mask ? std::countr_zero(mask) : 0), m_max(mask ? mask >> m_shift : 0) {}

    bool Present() const { return m_mask != 0; }
    // `absent` for a channel the format does not have (opaque alpha, say).
    std::uint8_t Extract(std::uint32_t pixel, std::uint8_t absent) const {
        if (m_mask == 0) {
            return absent;
        }
        const std::uint64_t v = (pixel & m_mask) >> m_shift;
        return static_cast<std::uint8_t>((v * 255 + m_max / 2) / m_max);
    }

private:
    std::uint32_t m_mask = 0;
    int m_shift = 0;
    std::uint64_t m_max = 0;
};
