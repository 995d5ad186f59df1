#pragma once

#include "mathutil/D3DXMath.h"

#include <gtest/gtest.h>

inline constexpr float kMathTolerance = 1e-5f;

inline void ExpectVectorNear(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual) {
    EXPECT_NEAR(expected.x, actual.x, kMathTolerance);
    EXPECT_NEAR(expected.y, actual.y, kMathTolerance);
    EXPECT_NEAR(expected.z, actual.z, kMathTolerance);
}

inline void ExpectMatrixNear(const D3DXMATRIX& expected, const D3DXMATRIX& actual) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(expected(r, c), actual(r, c), kMathTolerance) << "element _" << r + 1 << c + 1;
        }
    }
}

inline D3DXVECTOR3 TransformCoord(const D3DXMATRIX& m, const D3DXVECTOR3& v) {
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &v, &m);
    return out;
}
