#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A picture in memory: 8-bit red, green, blue and alpha per pixel, rows top
// to bottom. Decoded texture files and every level of their mip chains.
class CImage {
public:
    CImage() = default;
    // Transparent black.
    CImage(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const std::vector<std::uint8_t>& Pixels() const { return m_pixels; }

    std::uint8_t* At(int x, int y) { return &m_pixels[Offset(x, y)]; }
    const std::uint8_t* At(int x, int y) const { return &m_pixels[Offset(x, y)]; }
    void Set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a);
    // Every pixel this colour.
    void Fill(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a);
    std::uint8_t* Data() { return m_pixels.data(); }

    // Scaled to the given size by averaging the source area under each target
    // pixel, so shrinking by any factor keeps every source pixel's share.
    CImage Resized(int width, int height) const;

private:
    std::size_t Offset(int x, int y) const {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                static_cast<std::size_t>(x)) *
               4;
    }

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_pixels;
};
