// The outline found over the hull's candidates against gift wrapping over
// every vertex: the same corners, in the same order, from the same start.
#include "render/model/ModelOutline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>

namespace {

using Points = std::vector<OutlinePoint>;

// Bit for bit, so that 0 and -0 count as different.
std::vector<std::pair<std::uint32_t, std::uint32_t>> Corners(const CPolygon& outline) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> corners;
    for (const CPolygon::Point& p : outline.GetPoints()) {
        corners.emplace_back(std::bit_cast<std::uint32_t>(p.givenX), std::bit_cast<std::uint32_t>(p.givenZ));
    }
    return corners;
}

void ExpectSameOutline(const Points& points) {
    EXPECT_EQ(Corners(ModelOutline(points)), Corners(GiftWrapOutline(points, points.size())))
        << points.size() << " points";
}

Points Random(std::mt19937& random, std::size_t count, float scale) {
    std::uniform_real_distribution<float> at(-scale, scale);
    Points points;
    for (std::size_t i = 0; i < count; ++i) {
        points.emplace_back(at(random), at(random));
    }
    return points;
}

Points Circle(std::size_t count, float radius, float wobble) {
    Points points;
    for (std::size_t i = 0; i < count; ++i) {
        const float a = static_cast<float>(i) * 2 * std::numbers::pi_v<float> / static_cast<float>(count);
        const float r = radius + wobble * std::sin(7.0f * a);
        points.emplace_back(r * std::cos(a), r * std::sin(a));
    }
    return points;
}

// Whole numbers: every edge of the hull holds collinear points.
Points Grid(int side, float step) {
    Points points;
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            points.emplace_back(static_cast<float>(i) * step, static_cast<float>(j) * step);
        }
    }
    return points;
}

Points Shuffled(Points points, std::mt19937& random) {
    std::shuffle(points.begin(), points.end(), random);
    return points;
}

// Each point again, and once more a ten-thousandth off, in shuffled order.
Points Repeated(const Points& points, std::mt19937& random) {
    Points out = points;
    for (const OutlinePoint& p : points) {
        out.push_back(p);
        out.emplace_back(p.first + 0.0001f, p.second - 0.0001f);
    }
    return Shuffled(out, random);
}

// Rows of rings as a character's body has them, each a little wider or narrower.
Points Tube(int rows, int columns) {
    Points points;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const float a =
                static_cast<float>(column) * 2 * std::numbers::pi_v<float> / static_cast<float>(columns - 1);
            const float r = 0.5f + 0.05f * std::sin(static_cast<float>(row));
            points.emplace_back(r * std::cos(a), r * std::sin(a));
        }
    }
    return points;
}

TEST(ModelOutline, MatchesGiftWrappingOnRandomPoints) {
    std::mt19937 random(1234);
    for (float scale : {0.002f, 0.05f, 1.0f, 30.0f, 5000.0f}) {
        for (std::size_t count : {3u, 10u, 100u, 1000u, 3000u}) {
            SCOPED_TRACE("scale " + std::to_string(scale) + ", " + std::to_string(count) + " points");
            for (int round = 0; round < 5; ++round) {
                ExpectSameOutline(Random(random, count, scale));
            }
        }
    }
}

TEST(ModelOutline, MatchesGiftWrappingOnDegenerateShapes) {
    std::mt19937 random(99);
    const std::pair<const char*, Points> cases[] = {
        {"no point", {}},
        {"one point", {{1.5f, -2.0f}}},
        {"one point twice", {{1.5f, -2.0f}, {1.5f, -2.0f}}},
        {"two points", {{0.0f, 0.0f}, {1.0f, 1.0f}}},
        {"zero and minus zero", {{0.0f, 0.0f}, {-0.0f, 1.0f}, {1.0f, -0.0f}, {-1.0f, 0.0f}, {0.0f, -0.0f}}},
        {"a line", {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {0.5f, 0.5f}}},
        {"a vertical line", {{1, 0}, {1, 3}, {1, 1}, {1, 2}}},
        {"a horizontal line", {{3, 2}, {0, 2}, {1, 2}, {2, 2}}},
        {"nearly vertical", {{0, 0}, {0.00005f, 1}, {-0.00005f, 2}, {0.00009f, -1}, {1, 0}}},
        {"grid", Grid(12, 1.0f)},
        {"shuffled grid", Shuffled(Grid(15, 0.5f), random)},
        {"fine grid", Shuffled(Grid(30, 0.0007f), random)},
        {"circle", Circle(500, 1.0f, 0.0f)},
        {"wobbly circle", Shuffled(Circle(2000, 2.0f, 0.003f), random)},
        {"repeats", Repeated(Random(random, 300, 1.0f), random)},
        {"repeated grid", Repeated(Grid(8, 0.25f), random)},
        {"tube", Tube(51, 101)},
        {"thin sliver", {{0, 0}, {10, 0.001f}, {5, 0.0004f}, {10, 0}, {0, 0.001f}}},
    };
    for (const auto& [what, points] : cases) {
        SCOPED_TRACE(what);
        ExpectSameOutline(points);
    }
}

TEST(ModelOutline, LeavesOutPointsDeepInsideAndKeepsTheRim) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    Points points = Circle(200, 1.0f, 0.0f);
    for (int i = 0; i < 5000; ++i) {
        const float r = std::sqrt(unit(random));
        const float a = 2 * std::numbers::pi_v<float> * unit(random);
        points.emplace_back(r * std::cos(a), r * std::sin(a));
    }
    const Points candidates = OutlineCandidates(points);
    EXPECT_LT(candidates.size(), points.size() / 5);
    for (std::size_t i = 0; i < 200; ++i) {
        EXPECT_NE(std::find(candidates.begin(), candidates.end(), points[i]), candidates.end())
            << "rim point " << i;
    }
}

} // namespace
