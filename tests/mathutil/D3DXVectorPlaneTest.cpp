#include "MathExpect.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

TEST(D3DXVector, NormalizeGivesUnitLengthAndZeroForZero) {
    struct Case {
        D3DXVECTOR3 in;
        D3DXVECTOR3 out;
    };
    const std::vector<Case> cases = {
        {{3, 4, 0}, {0.6f, 0.8f, 0}},
        {{0, 0, -2}, {0, 0, -1}},
        {{1, 1, 1}, {1 / std::sqrt(3.0f), 1 / std::sqrt(3.0f), 1 / std::sqrt(3.0f)}},
        {{0, 0, 0}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        D3DXVECTOR3 out(9, 9, 9);
        EXPECT_EQ(&out, D3DXVec3Normalize(&out, &c.in));
        ExpectVectorNear(c.out, out);
    }
    D3DXVECTOR3 inPlace(0, 5, 0);
    D3DXVec3Normalize(&inPlace, &inPlace);
    ExpectVectorNear({0, 1, 0}, inPlace);
}

TEST(D3DXVector, CrossAndLength) {
    const D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0);
    D3DXVECTOR3 out;
    ExpectVectorNear({0, 0, 1}, *D3DXVec3Cross(&out, &x, &y));
    ExpectVectorNear({0, 0, -1}, *D3DXVec3Cross(&out, &y, &x));
    const D3DXVECTOR3 sum = x * 3.0f + D3DXVECTOR3(0, 4, 0);
    EXPECT_FLOAT_EQ(5.0f, D3DXVec3Length(&sum));
}

TEST(D3DXVector, TransformCoordDividesByW) {
    // A matrix whose w column doubles w: every result is halved.
    const D3DXMATRIX halve(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 2, 4, 6, 2);
    ExpectVectorNear({1.5f, 2.5f, 3.5f}, TransformCoord(halve, {1, 1, 1}));
    D3DXVECTOR3 n;
    const D3DXVECTOR3 dir(1, 1, 1);
    ExpectVectorNear({1, 1, 1}, *D3DXVec3TransformNormal(&n, &dir, &halve));
}

struct PlaneCase {
    std::string name;
    D3DXVECTOR3 v1, v2, v3;
    D3DXPLANE plane;
};

TEST(D3DXPlane, FromPointsNormalisesTheCrossOfTheEdges) {
    const float s = 1 / std::sqrt(3.0f);
    const std::vector<PlaneCase> cases = {
        {"ground", {0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {0, 1, 0, 0}},
        {"raised ground", {0, 2, 0}, {0, 2, 1}, {1, 2, 0}, {0, 1, 0, -2}},
        {"reversed winding faces down", {0, 2, 0}, {1, 2, 0}, {0, 2, 1}, {0, -1, 0, 2}},
        {"slanted", {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {s, s, s, -s}},
    };
    for (const PlaneCase& c : cases) {
        SCOPED_TRACE(c.name);
        D3DXPLANE p;
        EXPECT_EQ(&p, D3DXPlaneFromPoints(&p, &c.v1, &c.v2, &c.v3));
        EXPECT_NEAR(c.plane.a, p.a, kMathTolerance);
        EXPECT_NEAR(c.plane.b, p.b, kMathTolerance);
        EXPECT_NEAR(c.plane.c, p.c, kMathTolerance);
        EXPECT_NEAR(c.plane.d, p.d, kMathTolerance);
        EXPECT_NEAR(0.0f, D3DXPlaneDotCoord(&p, &c.v3), kMathTolerance);
    }
}

TEST(D3DXPlane, IntersectLineMeetsTheInfiniteLine) {
    struct Case {
        std::string name;
        D3DXPLANE plane;
        D3DXVECTOR3 v1, v2;
        D3DXVECTOR3 hit;
    };
    const std::vector<Case> cases = {
        {"within the segment", {0, 1, 0, 0}, {0, 10, 0}, {10, 0, 0}, {10, 0, 0}},
        {"beyond the segment", {0, 1, 0, 0}, {0, 10, 0}, {1, 9, 0}, {10, 0, 0}},
        {"behind the start", {0, 1, 0, 0}, {1, 9, 0}, {0, 10, 0}, {10, 0, 0}},
        {"raised plane", {0, 1, 0, -2}, {0, 4, 0}, {2, 0, 2}, {1, 2, 1}},
        // Only (a, b, c) and d enter the formula, so an unnormalised plane gives the same point.
        {"unnormalised", {0, 3, 0, -6}, {0, 4, 0}, {2, 0, 2}, {1, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        D3DXVECTOR3 hit;
        ASSERT_EQ(&hit, D3DXPlaneIntersectLine(&hit, &c.plane, &c.v1, &c.v2));
        ExpectVectorNear(c.hit, hit);
    }

    const D3DXPLANE ground{0, 1, 0, 0};
    const D3DXVECTOR3 a(0, 1, 0), b(5, 1, 3);
    D3DXVECTOR3 untouched(7, 7, 7);
    EXPECT_EQ(nullptr, D3DXPlaneIntersectLine(&untouched, &ground, &a, &b));
    EXPECT_EQ(D3DXVECTOR3(7, 7, 7), untouched);
}

TEST(D3DXPlane, NormalizeAndDots) {
    const D3DXPLANE p{0, 0, 4, -8};
    D3DXPLANE n;
    D3DXPlaneNormalize(&n, &p);
    EXPECT_EQ((D3DXPLANE{0, 0, 1, -2}), n);
    const D3DXPLANE zero{};
    D3DXPLANE fromZero{1, 1, 1, 1};
    EXPECT_EQ(D3DXPLANE{}, *D3DXPlaneNormalize(&fromZero, &zero));

    const D3DXVECTOR3 point(1, 2, 5);
    EXPECT_FLOAT_EQ(3.0f, D3DXPlaneDotCoord(&n, &point));
    const D3DXVECTOR4 direction{1, 2, 5, 0};
    EXPECT_FLOAT_EQ(20.0f, D3DXPlaneDot(&p, &direction));
}

} // namespace
