#include "render/ArrowCursorImage.h"

#include "render/image/PngCodec.h"
#include "resources/CADVException.h"

namespace {

constexpr int kSize = 32;
// The head is a right triangle leaning left; the tail hangs from its middle.
constexpr int kHeadRows = 20;

bool InHead(int x, int y) {
    return y < kHeadRows && x <= y * 2 / 3;
}

bool InTail(int x, int y) {
    return y >= kHeadRows / 2 && y < kSize - 4 && x >= y / 2 - 2 && x <= y / 2 + 2;
}

bool Inside(int x, int y) {
    return x >= 0 && y >= 0 && x < kSize && y < kSize && (InHead(x, y) || InTail(x, y));
}

} // namespace

std::vector<std::uint8_t> ArrowCursorPng() {
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(kSize * kSize * 4), 0);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (!Inside(x, y)) {
                continue;
            }
            const bool rim = !Inside(x - 1, y) || !Inside(x + 1, y) || !Inside(x, y - 1) || !Inside(x, y + 1);
            std::uint8_t* pixel = &rgba[static_cast<std::size_t>((y * kSize + x) * 4)];
            const std::uint8_t shade = rim ? 0 : 255;
            pixel[0] = pixel[1] = pixel[2] = shade;
            pixel[3] = 255;
        }
    }
    auto png = WritePng(kSize, kSize, rgba);
    if (!png) {
        throw CADVException("ArrowCursorPng - Could not encode the cursor image.");
    }
    return std::move(*png);
}
