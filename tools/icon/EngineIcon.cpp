#include "EngineIcon.h"

#include "render/image/CImage.h"
#include "render/image/PngCodec.h"
#include "resources/CADVException.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Drawn with hard edges at four times the size, then averaged down, so the
// curves come out smooth without an anti-aliasing rasteriser.
constexpr int kOversample = 4;

struct Colour {
    double r, g, b;
};

Colour Mix(Colour from, Colour to, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t};
}

// Shapes in unit coordinates: (0, 0) top left, (1, 1) bottom right.
constexpr double kTileMargin = 0.03;
constexpr double kTileCorner = 0.17;
constexpr double kArchCentreX = 0.5;
constexpr double kArchCentreY = 0.47;
constexpr double kArchOuter = 0.31;
constexpr double kArchInner = 0.19;
constexpr double kGroundY = 0.86;

bool InTile(double x, double y) {
    const double lo = kTileMargin + kTileCorner;
    const double hi = 1.0 - kTileMargin - kTileCorner;
    const double dx = std::max({lo - x, x - hi, 0.0});
    const double dy = std::max({lo - y, y - hi, 0.0});
    return x >= kTileMargin && x <= 1.0 - kTileMargin && y >= kTileMargin && y <= 1.0 - kTileMargin &&
           dx * dx + dy * dy <= kTileCorner * kTileCorner;
}

// Inside the outline of radius `radius`: a half circle over straight sides down to the ground.
bool InArchOutline(double x, double y, double radius) {
    const double dx = x - kArchCentreX;
    const double dy = y - kArchCentreY;
    if (y >= kArchCentreY) {
        return std::abs(dx) <= radius && y < kGroundY;
    }
    return dx * dx + dy * dy <= radius * radius;
}

// The joints between the arch's stones: radial ones in the half circle, level ones down the sides.
bool OnJoint(double x, double y) {
    constexpr double kJoint = 0.012;
    constexpr int kVoussoirs = 7;
    constexpr double kCourse = 0.08;
    const double dx = x - kArchCentreX;
    const double dy = y - kArchCentreY;
    if (y < kArchCentreY) {
        const double angle = std::atan2(-dy, dx) / std::numbers::pi * kVoussoirs;
        const double nearest = std::abs(angle - std::round(angle));
        return nearest * std::numbers::pi / kVoussoirs * std::hypot(dx, dy) < kJoint / 2;
    }
    const double course = (y - kArchCentreY) / kCourse;
    return (course - std::floor(course)) * kCourse < kJoint;
}

bool IsStar(double x, double y) {
    struct Star {
        double x, y;
    };
    constexpr Star kStars[] = {{0.16, 0.16}, {0.30, 0.09}, {0.78, 0.12}, {0.88, 0.27},
                               {0.12, 0.36}, {0.64, 0.07}, {0.89, 0.48}};
    constexpr double kRadius = 0.009;
    return std::any_of(std::begin(kStars), std::end(kStars),
                       [&](const Star& s) { return std::hypot(x - s.x, y - s.y) <= kRadius; });
}

Colour Pixel(double x, double y) {
    if (InArchOutline(x, y, kArchInner)) {
        // The doorway, lit from within: brightest at the threshold, deeper orange above.
        return Mix({0.98, 0.62, 0.18}, {1.0, 0.9, 0.55}, (y - 0.3) / (kGroundY - 0.3));
    }
    if (InArchOutline(x, y, kArchOuter)) {
        const Colour stone = Mix({0.62, 0.6, 0.56}, {0.45, 0.43, 0.4}, (y - 0.15) / 0.7);
        return OnJoint(x, y) ? Colour{0.25, 0.24, 0.23} : stone;
    }
    if (y >= kGroundY) {
        return {0.16, 0.22, 0.12};
    }
    if (IsStar(x, y)) {
        return {0.95, 0.95, 0.85};
    }
    return Mix({0.05, 0.07, 0.2}, {0.2, 0.22, 0.42}, y / kGroundY);
}

std::uint8_t Channel(double value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

} // namespace

std::vector<std::uint8_t> EngineIconPng() {
    constexpr int kDrawn = kEngineIconSize * kOversample;
    CImage drawn(kDrawn, kDrawn);
    for (int py = 0; py < kDrawn; ++py) {
        for (int px = 0; px < kDrawn; ++px) {
            const double x = (px + 0.5) / kDrawn;
            const double y = (py + 0.5) / kDrawn;
            // Outside the tile the colour stays but turns transparent, so the
            // averaged rim does not darken towards black.
            const Colour c = Pixel(x, y);
            drawn.Set(px, py, Channel(c.r), Channel(c.g), Channel(c.b), InTile(x, y) ? 255 : 0);
        }
    }
    const CImage icon = drawn.Resized(kEngineIconSize, kEngineIconSize);
    auto png = WritePng(kEngineIconSize, kEngineIconSize, icon.Pixels());
    if (!png) {
        throw CADVException("EngineIconPng - Could not encode the icon.");
    }
    return std::move(*png);
}
