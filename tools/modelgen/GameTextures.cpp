#include "GameTextures.h"

#include "render/image/TgaWriter.h"
#include "render/ArrowCursorImage.h"

#include <algorithm>
#include <cstdint>
#include <functional>

namespace {

struct Colour {
    int r;
    int g;
    int b;
};

// Fixed-seed grain, so the surfaces are not flat and the files never change.
class Grain {
public:
    int Next(int amplitude) {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<int>(m_state >> 24) % (2 * amplitude + 1) - amplitude;
    }

private:
    std::uint32_t m_state = 12345u;
};

std::uint8_t Channel(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

CImage Paint(const std::function<Colour(int x, int y)>& colourAt, int grain) {
    CImage image(kTextureSize, kTextureSize);
    Grain noise;
    for (int y = 0; y < kTextureSize; ++y) {
        for (int x = 0; x < kTextureSize; ++x) {
            const Colour c = colourAt(x, y);
            const int n = noise.Next(grain);
            image.Set(x, y, Channel(c.r + n), Channel(c.g + n), Channel(c.b + n), 255);
        }
    }
    return image;
}

Colour Checker(int x, int y) {
    constexpr int kSquare = kTextureSize / 8;
    const bool light = (x / kSquare + y / kSquare) % 2 == 0;
    return light ? Colour{190, 185, 170} : Colour{80, 78, 72};
}

Colour Planks(int x, int y) {
    constexpr int kFrame = 10;
    constexpr int kPlank = (kTextureSize - 2 * kFrame) / 4;
    if (x < kFrame || y < kFrame || x >= kTextureSize - kFrame || y >= kTextureSize - kFrame) {
        return {120, 80, 40};
    }
    if ((y - kFrame) % kPlank == 0) {
        return {60, 38, 18}; // the gap between two planks
    }
    // Each plank a slightly different shade.
    const int shade = ((y - kFrame) / kPlank % 2) * 14;
    return {165 - shade, 115 - shade, 60 - shade};
}

Colour Bricks(int x, int y) {
    constexpr int kRow = kTextureSize / 8;
    constexpr int kBrick = kTextureSize / 4;
    const int row = y / kRow;
    const int shifted = x + (row % 2) * kBrick / 2;
    if (y % kRow < 2 || shifted % kBrick < 2) {
        return {170, 165, 155}; // mortar
    }
    const int shade = (shifted / kBrick + row) % 3 * 10;
    return {150 - shade, 70 - shade / 2, 50};
}

// Floorboards in staggered lengths, for a floor 20 units across: sixteen
// boards of about a unit and a quarter each.
Colour Floorboards(int x, int y) {
    constexpr int kBoard = kTextureSize / 16;
    const int board = x / kBoard;
    const int joint = (board * 37) % kTextureSize;
    if (x % kBoard == 0 || y == joint) {
        return {45, 30, 15};
    }
    const int shade = board % 3 * 12;
    return {130 - shade, 90 - shade, 50 - shade / 2};
}

// Flagstones of a cellar floor: large, uneven grey slabs.
Colour Flagstones(int x, int y) {
    constexpr int kSlab = kTextureSize / 8;
    const int row = y / kSlab;
    const int shifted = x + (row % 2) * kSlab / 2;
    if (y % kSlab < 1 || shifted % kSlab < 1) {
        return {30, 30, 28};
    }
    const int shade = (shifted / kSlab * 3 + row * 5) % 4 * 8;
    return {95 - shade, 92 - shade, 88 - shade};
}

} // namespace

std::vector<GeneratedFile> GenerateGameTextures() {
    return {
        {"checker.tga", WriteTga(Paint(Checker, 6))},
        {"crate.tga", WriteTga(Paint(Planks, 8))},
        {"wall.tga", WriteTga(Paint(Bricks, 5))},
        {"boards.tga", WriteTga(Paint(Floorboards, 6))},
        {"flagstones.tga", WriteTga(Paint(Flagstones, 7))},
        {"arrow.png", ArrowCursorPng()},
    };
}
