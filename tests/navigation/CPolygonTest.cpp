#include "navigation/CPolygon.h"

#include "resources/CADVException.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

struct XZ {
    float x;
    float z;
};

CPolygon Make(const std::vector<XZ>& points) {
    CPolygon p;
    for (const XZ& q : points) {
        p.AddPoint(q.x, q.z, false);
    }
    return p;
}

const std::vector<XZ> kUnitSquare = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
// An L: the square (1..2, 1..2) is cut out of (0..2, 0..2).
const std::vector<XZ> kL = {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}};

TEST(CPolygon, EmptyPolygonHasInvertedBounds) {
    const CPolygon p;
    EXPECT_EQ(1e38f, p.GetMinX());
    EXPECT_EQ(-1e38f, p.GetMaxX());
    EXPECT_EQ(1e38f, p.GetMinZ());
    EXPECT_EQ(-1e38f, p.GetMaxZ());
}

TEST(CPolygon, AddPointSkipsDuplicatesByTruncatedThousandths) {
    struct Case {
        std::string name;
        XZ first;
        XZ second;
        bool skip;
        std::size_t count;
    };
    const std::vector<Case> cases = {
        {"same thousandth", {1.0001f, 2}, {1.0004f, 2}, true, 1},
        {"next thousandth", {1.0001f, 2}, {1.001f, 2}, true, 2},
        {"z differs", {1.0001f, 2}, {1.0001f, 2.5f}, true, 2},
        {"truncation towards zero joins both signs", {-0.0004f, 0}, {0.0004f, 0}, true, 1},
        {"duplicates kept without the check", {1, 2}, {1, 2}, false, 2},
        {"far beyond the int range", {3e30f, 1}, {3e30f, 1}, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPolygon p;
        p.AddPoint(c.first.x, c.first.z, true);
        p.AddPoint(c.second.x, c.second.z, c.skip);
        EXPECT_EQ(c.count, p.GetPoints().size());
    }
}

TEST(CPolygon, AddPointGrowsTheBoundsAndPlacesAtTheGivenPoint) {
    const CPolygon p = Make({{1, -2}, {-3, 4}, {0, 0}});
    EXPECT_EQ(-3.0f, p.GetMinX());
    EXPECT_EQ(1.0f, p.GetMaxX());
    EXPECT_EQ(-2.0f, p.GetMinZ());
    EXPECT_EQ(4.0f, p.GetMaxZ());
    EXPECT_EQ(-3.0f, p.GetPoints()[1].placedX);
    EXPECT_EQ(4.0f, p.GetPoints()[1].placedZ);
}

struct InsideCase {
    std::string name;
    const std::vector<XZ>* outline;
    XZ point;
    bool inside;
};

TEST(CPolygon, IsInsideFollowsTheRightAndUpperEdgeRule) {
    const std::vector<InsideCase> cases = {
        {"centre", &kUnitSquare, {0.5f, 0.5f}, true},
        {"right side", &kUnitSquare, {1, 0.5f}, true},
        {"left side", &kUnitSquare, {0, 0.5f}, false},
        {"bottom side", &kUnitSquare, {0.5f, 0}, true},
        {"top side", &kUnitSquare, {0.5f, 1}, true},
        {"lower left corner", &kUnitSquare, {0, 0}, false},
        {"upper left corner", &kUnitSquare, {0, 1}, false},
        {"lower right corner", &kUnitSquare, {1, 0}, true},
        {"upper right corner", &kUnitSquare, {1, 1}, true},
        {"right of the bounds", &kUnitSquare, {1.5f, 0.5f}, false},
        {"above the bounds", &kUnitSquare, {0.5f, 1.0001f}, false},
        {"arm of the L", &kL, {0.5f, 1.5f}, true},
        {"foot of the L", &kL, {1.5f, 0.5f}, true},
        {"cut-out of the L", &kL, {1.5f, 1.5f}, false},
        // Level with the L's inner horizontal edge and left of both its ends.
        {"level with the inner edge", &kL, {0.5f, 1}, true},
        {"on the inner edge", &kL, {1.5f, 1}, true},
    };
    for (const InsideCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.inside, Make(*c.outline).IsInside(c.point.x, c.point.z));
    }
}

TEST(CPolygon, IsInsideNeedsThreePoints) {
    for (std::size_t n = 0; n < 3; ++n) {
        const CPolygon p = Make(std::vector<XZ>(kUnitSquare.begin(), kUnitSquare.begin() + n));
        try {
            p.IsInside(0.5f, 0.5f);
            FAIL() << n << " points accepted";
        } catch (const CADVException& e) {
            EXPECT_STREQ("Exception:\nNo polygon defined to check if point is inside.", e.GetText());
        }
    }
}

TEST(CPolygon, RotateStartsFromTheGivenPointsEveryTime) {
    CPolygon once = Make(kUnitSquare);
    once.Rotate(kPi / 2);
    CPolygon twice = Make(kUnitSquare);
    twice.Rotate(kPi / 2);
    twice.Rotate(kPi / 2);
    for (std::size_t i = 0; i < kUnitSquare.size(); ++i) {
        EXPECT_EQ(once.GetPoints()[i].placedX, twice.GetPoints()[i].placedX);
        EXPECT_EQ(once.GetPoints()[i].placedZ, twice.GetPoints()[i].placedZ);
    }
    // (1, 0) turns to (0, 1); the square now covers x in [-1, 0].
    EXPECT_NEAR(0.0f, once.GetPoints()[1].placedX, 1e-6f);
    EXPECT_NEAR(1.0f, once.GetPoints()[1].placedZ, 1e-6f);
    EXPECT_NEAR(-1.0f, once.GetMinX(), 1e-6f);
    EXPECT_NEAR(0.0f, once.GetMaxX(), 1e-6f);
    EXPECT_EQ(1.0f, once.GetPoints()[1].givenX);
}

TEST(CPolygon, FootprintPlacementRotatesThenTranslates) {
    // A 2 x 1 footprint turned a quarter (yaw pi/2 gives Rotate(-pi/2)) and
    // moved to (10, 5): it now spans 1 along x and 2 along z.
    CPolygon footprint = Make({{-1, -0.5f}, {1, -0.5f}, {1, 0.5f}, {-1, 0.5f}});
    footprint.Rotate(-kPi / 2);
    footprint.Translate(10, 5);
    EXPECT_NEAR(9.5f, footprint.GetMinX(), 1e-5f);
    EXPECT_NEAR(10.5f, footprint.GetMaxX(), 1e-5f);
    EXPECT_NEAR(4.0f, footprint.GetMinZ(), 1e-5f);
    EXPECT_NEAR(6.0f, footprint.GetMaxZ(), 1e-5f);
    EXPECT_TRUE(footprint.IsInside(10, 5.9f));
    EXPECT_FALSE(footprint.IsInside(10.9f, 5));

    // Placing again replaces the old placement instead of adding to it.
    footprint.Rotate(0);
    EXPECT_EQ(-1.0f, footprint.GetMinX());
    EXPECT_EQ(1.0f, footprint.GetMaxX());
}

TEST(CPolygon, IntersectsTestsVerticesOfTheSmallerInTheLarger) {
    auto square = [](float x, float z, float size) {
        return Make({{x, z}, {x + size, z}, {x + size, z + size}, {x, z + size}});
    };
    struct Case {
        std::string name;
        CPolygon a;
        CPolygon b;
        bool aSeesB;
        bool bSeesA;
    };
    const std::vector<Case> cases = {
        {"overlapping corners", square(0, 0, 2), square(1, 1, 2), true, true},
        {"apart", square(0, 0, 1), square(3, 0, 1), false, false},
        {"small inside large", square(0, 0, 10), square(4, 4, 1), true, true},
        // Two long thin bars crossing in the middle: no vertex inside the other.
        {"cross", Make({{-5, -0.5f}, {5, -0.5f}, {5, 0.5f}, {-5, 0.5f}}),
         Make({{-0.5f, -5}, {0.5f, -5}, {0.5f, 5}, {-0.5f, 5}}), false, false},
        // Equal sizes: the called polygon is the one tested. b's left corners
        // lie on a's right side (inside); a's right corners on b's left side (outside).
        {"sharing an edge", square(0, 0, 1), square(1, 0, 1), true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.aSeesB, c.a.Intersects(c.b));
        EXPECT_EQ(c.bSeesA, c.b.Intersects(c.a));
    }

    // The larger outline is the one tested, so a larger footprint of two points fails there.
    const CPolygon line = Make({{-10, 0}, {10, 0}});
    EXPECT_THROW(line.Intersects(square(0, 0, 1)), CADVException);
    EXPECT_FALSE(square(0, 0, 1).Intersects(CPolygon()));
}

TEST(CPolygon, SaveWritesCountAndGivenPointsLittleEndian) {
    CPolygon p = Make({{1, 2}, {-0.5f, 0}});
    p.Rotate(1.0f);
    p.Translate(3, 3);
    std::vector<std::uint8_t> bytes;
    p.Save(bytes);
    const std::vector<std::uint8_t> expected = {2, 0,    0, 0, 0, 0,    0x80, 0x3F, 0, 0,
                                                0, 0x40, 0, 0, 0, 0xBF, 0,    0,    0, 0};
    EXPECT_EQ(expected, bytes);
}

TEST(CPolygon, LoadRestoresTheGivenPointsUnplaced) {
    CPolygon original = Make({{1, 2}, {1, 2}, {4, -1}, {0, 7}});
    original.Rotate(0.3f);
    std::vector<std::uint8_t> bytes;
    original.Save(bytes);
    bytes.push_back(0xAA); // whatever follows in the stream is not read

    CPolygon loaded = Make({{9, 9}});
    EXPECT_EQ(bytes.size() - 1, loaded.Load(bytes));
    ASSERT_EQ(4u, loaded.GetPoints().size()); // the duplicate survives: no check on load
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(original.GetPoints()[i].givenX, loaded.GetPoints()[i].placedX);
        EXPECT_EQ(original.GetPoints()[i].givenZ, loaded.GetPoints()[i].placedZ);
    }
    EXPECT_EQ(0.0f, loaded.GetMinX());
    EXPECT_EQ(7.0f, loaded.GetMaxZ());
}

TEST(CPolygon, LoadRefusesTruncatedDataAndKeepsThePolygon) {
    std::vector<std::uint8_t> bytes;
    Make(kUnitSquare).Save(bytes);
    const std::vector<std::vector<std::uint8_t>> broken = {
        {},
        {4, 0, 0},
        std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 1),
        {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0}, // a count of 4 294 967 295 or -1
    };
    for (const auto& data : broken) {
        CPolygon p = Make({{5, 6}, {7, 8}, {9, 1}});
        EXPECT_THROW(p.Load(data), CADVException);
        EXPECT_EQ(3u, p.GetPoints().size());
        EXPECT_EQ(5.0f, p.GetMinX());
    }
}

} // namespace
