#include "MathExpect.h"

#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr float kHalfPi = std::numbers::pi_v<float> / 2.0f;

D3DXMATRIX Identity() {
    D3DXMATRIX m;
    return *D3DXMatrixIdentity(&m);
}

TEST(D3DXMatrix, ElementNamesAliasTheRowColumnArray) {
    D3DXMATRIX m;
    m._41 = 7.0f;
    m._23 = -2.0f;
    EXPECT_EQ(7.0f, m.m[3][0]);
    EXPECT_EQ(-2.0f, m(1, 2));
    EXPECT_EQ(sizeof(float) * 16, sizeof(D3DXMATRIX));
}

TEST(D3DXMatrix, MultiplyAppliesTheLeftMatrixFirst) {
    const D3DXMATRIX a(1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    const D3DXMATRIX b(1, 0, 0, 0, 3, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    D3DXMATRIX ab, ba;
    D3DXMatrixMultiply(&ab, &a, &b);
    D3DXMatrixMultiply(&ba, &b, &a);
    EXPECT_EQ(D3DXMATRIX(7, 2, 0, 0, 3, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1), ab);
    EXPECT_EQ(D3DXMATRIX(1, 2, 0, 0, 3, 7, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1), ba);

    // Translate then rotate: the point moves first, then turns about the origin.
    D3DXMATRIX t, r, tr;
    D3DXMatrixTranslation(&t, 1, 0, 0);
    D3DXMatrixRotationZ(&r, kHalfPi);
    D3DXMatrixMultiply(&tr, &t, &r);
    ExpectVectorNear({0, 1, 0}, TransformCoord(tr, {0, 0, 0}));

    // The output may be one of the inputs.
    D3DXMatrixMultiply(&t, &t, &r);
    ExpectMatrixNear(tr, t);
}

struct PointCase {
    std::string name;
    D3DXMATRIX matrix;
    D3DXVECTOR3 in;
    D3DXVECTOR3 out;
};

D3DXMATRIX Translation(float x, float y, float z) {
    D3DXMATRIX m;
    return *D3DXMatrixTranslation(&m, x, y, z);
}
D3DXMATRIX RotX(float a) {
    D3DXMATRIX m;
    return *D3DXMatrixRotationX(&m, a);
}
D3DXMATRIX RotY(float a) {
    D3DXMATRIX m;
    return *D3DXMatrixRotationY(&m, a);
}
D3DXMATRIX RotZ(float a) {
    D3DXMATRIX m;
    return *D3DXMatrixRotationZ(&m, a);
}
D3DXMATRIX YawPitchRoll(float yaw, float pitch, float roll) {
    D3DXMATRIX m;
    return *D3DXMatrixRotationYawPitchRoll(&m, yaw, pitch, roll);
}

TEST(D3DXMatrix, TransformsPointsAsPublished) {
    // Left-handed rotations seen from the positive end of the axis looking at
    // the origin turn clockwise: x about y goes to -z, y about x goes to +z.
    const std::vector<PointCase> cases = {
        {"translation", Translation(1, 2, 3), {1, 1, 1}, {2, 3, 4}},
        {"rotation x", RotX(kHalfPi), {0, 1, 0}, {0, 0, 1}},
        {"rotation x of z", RotX(kHalfPi), {0, 0, 1}, {0, -1, 0}},
        {"rotation y", RotY(kHalfPi), {1, 0, 0}, {0, 0, -1}},
        {"rotation y of z", RotY(kHalfPi), {0, 0, 1}, {1, 0, 0}},
        {"rotation z", RotZ(kHalfPi), {1, 0, 0}, {0, 1, 0}},
        {"rotation z of y", RotZ(kHalfPi), {0, 1, 0}, {-1, 0, 0}},
        {"yaw alone", YawPitchRoll(kHalfPi, 0, 0), {1, 0, 0}, {0, 0, -1}},
        {"pitch alone", YawPitchRoll(0, kHalfPi, 0), {0, 1, 0}, {0, 0, 1}},
        {"roll alone", YawPitchRoll(0, 0, kHalfPi), {1, 0, 0}, {0, 1, 0}},
        // Roll takes x to y, pitch takes y to z, yaw takes z to x.
        {"roll then pitch then yaw", YawPitchRoll(kHalfPi, kHalfPi, kHalfPi), {1, 0, 0}, {1, 0, 0}},
        {"roll then pitch then yaw of y", YawPitchRoll(kHalfPi, kHalfPi, kHalfPi), {0, 1, 0}, {0, 0, 1}},
    };
    for (const PointCase& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectVectorNear(c.out, TransformCoord(c.matrix, c.in));
    }
}

TEST(D3DXMatrix, YawPitchRollIsRollPitchYawProduct) {
    const float yaw = 0.3f, pitch = -1.1f, roll = 2.0f;
    ExpectMatrixNear(RotZ(roll) * RotX(pitch) * RotY(yaw), YawPitchRoll(yaw, pitch, roll));
}

TEST(D3DXMatrix, LookAtLHBuildsTheViewBasis) {
    // Looking from +x towards the origin with y up: forward is -x and, being
    // left-handed, right is +z.
    const D3DXVECTOR3 eye(1, 0, 0), at(0, 0, 0), up(0, 1, 0);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    ExpectMatrixNear(D3DXMATRIX(0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1), view);
    ExpectVectorNear({1, 0, 1}, TransformCoord(view, {0, 0, 1}));

    // An up vector that is not perpendicular to the view direction is straightened.
    const D3DXVECTOR3 eye2(0, 0, -5), at2(0, 0, 0), slanted(0, 1, 1);
    D3DXMatrixLookAtLH(&view, &eye2, &at2, &slanted);
    ExpectMatrixNear(D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 5, 1), view);
}

TEST(D3DXMatrix, PerspectiveFovLHMapsNearToZeroAndFarToOne) {
    D3DXMATRIX proj;
    D3DXMatrixPerspectiveFovLH(&proj, kHalfPi, 2.0f, 1.0f, 11.0f);
    ExpectMatrixNear(D3DXMATRIX(0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1.1f, 1, 0, 0, -1.1f, 0), proj);
    ExpectVectorNear({0, 0, 0}, TransformCoord(proj, {0, 0, 1}));
    ExpectVectorNear({0, 0, 1}, TransformCoord(proj, {0, 0, 11}));
    // At depth 2 the top of a 90 degree field is y = 2; the right edge at aspect 2 is x = 4.
    ExpectVectorNear({1, 1, 0.55f}, TransformCoord(proj, {4, 2, 2}));
}

TEST(D3DXMatrix, InverseUndoesTheMatrixAndReportsTheDeterminant) {
    D3DXMATRIX inv;
    float det = 0.0f;
    const D3DXMATRIX t = Translation(1, 2, 3);
    ASSERT_EQ(&inv, D3DXMatrixInverse(&inv, &det, &t));
    EXPECT_FLOAT_EQ(1.0f, det);
    ExpectMatrixNear(Translation(-1, -2, -3), inv);

    const D3DXMATRIX scale(2, 0, 0, 0, 0, 4, 0, 0, 0, 0, 8, 0, 0, 0, 0, 1);
    ASSERT_NE(nullptr, D3DXMatrixInverse(&inv, &det, &scale));
    EXPECT_FLOAT_EQ(64.0f, det);
    ExpectMatrixNear(D3DXMATRIX(0.5f, 0, 0, 0, 0, 0.25f, 0, 0, 0, 0, 0.125f, 0, 0, 0, 0, 1), inv);

    // diag(1, 2, 3, 4) plus all ones: det = 24 * (1 + 1 + 1/2 + 1/3 + 1/4) = 74.
    const D3DXMATRIX full(2, 1, 1, 1, 1, 3, 1, 1, 1, 1, 4, 1, 1, 1, 1, 5);
    ASSERT_NE(nullptr, D3DXMatrixInverse(&inv, &det, &full));
    EXPECT_NEAR(74.0f, det, 1e-4f);
    ExpectMatrixNear(Identity(), full * inv);
    ExpectMatrixNear(Identity(), inv * full);

    // In place, and without asking for the determinant.
    D3DXMATRIX same = full;
    ASSERT_NE(nullptr, D3DXMatrixInverse(&same, nullptr, &same));
    ExpectMatrixNear(inv, same);
}

TEST(D3DXMatrix, InverseOfASingularMatrixFailsAndLeavesTheOutputAlone) {
    const D3DXMATRIX flat(1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    D3DXMATRIX out = Translation(9, 9, 9);
    float det = 5.0f;
    EXPECT_EQ(nullptr, D3DXMatrixInverse(&out, &det, &flat));
    EXPECT_EQ(0.0f, det);
    EXPECT_EQ(Translation(9, 9, 9), out);
}

TEST(D3DXMatrix, ShadowFlattensOntoThePlaneFromTheLight) {
    // Ground plane y = 0, point light at height 10 above the origin.
    const D3DXVECTOR4 light{0, 10, 0, 1};
    const D3DXPLANE ground{0, 1, 0, 0};
    D3DXMATRIX shadow;
    D3DXMatrixShadow(&shadow, &light, &ground);
    ExpectMatrixNear(D3DXMATRIX(10, 0, 0, 0, 0, 0, 0, -1, 0, 0, 10, 0, 0, 0, 0, 10), shadow);
    // The ray from (0, 10, 0) through (1, 1, 0) meets the ground at x = 10/9.
    ExpectVectorNear({10.0f / 9.0f, 0, 0}, TransformCoord(shadow, {1, 1, 0}));

    // The plane is normalised first.
    const D3DXPLANE scaled{0, 2, 0, 0};
    D3DXMATRIX fromScaled;
    D3DXMatrixShadow(&fromScaled, &light, &scaled);
    ExpectMatrixNear(shadow, fromScaled);

    // A directional light (w = 0) straight down projects vertically onto y = 1.
    const D3DXVECTOR4 down{0, 1, 0, 0};
    const D3DXPLANE raised{0, 1, 0, -1};
    D3DXMatrixShadow(&shadow, &down, &raised);
    ExpectVectorNear({3, 1, 7}, TransformCoord(shadow, {3, 5, 7}));
}

TEST(D3DXMatrix, ReflectMirrorsInThePlane) {
    D3DXMATRIX mirror;
    const D3DXPLANE ground{0, 1, 0, 0};
    D3DXMatrixReflect(&mirror, &ground);
    ExpectMatrixNear(D3DXMATRIX(1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1), mirror);

    // y = 2 given unnormalised: y maps to 4 - y.
    const D3DXPLANE raised{0, 2, 0, -4};
    D3DXMatrixReflect(&mirror, &raised);
    ExpectMatrixNear(D3DXMATRIX(1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0, 4, 0, 1), mirror);
    ExpectVectorNear({5, 3, -1}, TransformCoord(mirror, {5, 1, -1}));

    // The plane x = z: a point swaps its x and z.
    const D3DXPLANE diagonal{1, 0, -1, 0};
    D3DXMatrixReflect(&mirror, &diagonal);
    ExpectVectorNear({3, 2, 1}, TransformCoord(mirror, {1, 2, 3}));
}

} // namespace
