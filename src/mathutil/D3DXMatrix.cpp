#include "mathutil/D3DXMath.h"

#include <cmath>

D3DXMATRIX::D3DXMATRIX(float m11, float m12, float m13, float m14, float m21, float m22, float m23, float m24,
                       float m31, float m32, float m33, float m34, float m41, float m42, float m43, float m44)
    : m{{m11, m12, m13, m14}, {m21, m22, m23, m24}, {m31, m32, m33, m34}, {m41, m42, m43, m44}} {}

bool D3DXMATRIX::operator==(const D3DXMATRIX& other) const {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (m[r][c] != other.m[r][c]) {
                return false;
            }
        }
    }
    return true;
}

D3DXMATRIX operator*(const D3DXMATRIX& a, const D3DXMATRIX& b) {
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] =
                a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
        }
    }
    return r;
}

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut) {
    *pOut = D3DXMATRIX();
    pOut->_11 = pOut->_22 = pOut->_33 = pOut->_44 = 1.0f;
    return pOut;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    *pOut = *pM1 * *pM2;
    return pOut;
}

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* pOut, float* pDeterminant, const D3DXMATRIX* pM) {
    const auto& a = pM->m;
    // 2x2 minors of the upper two rows and of the lower two rows; each 4x4
    // cofactor is a sum of products of one from each set.
    const float s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    const float s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    const float s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    const float s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    const float s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    const float s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    const float c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    const float c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    const float c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    const float c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    const float c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    const float c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];

    const float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (pDeterminant != nullptr) {
        *pDeterminant = det;
    }
    if (det == 0.0f) {
        return nullptr;
    }
    const float k = 1.0f / det;
    const D3DXMATRIX inv(
        (a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3) * k, (-a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3) * k,
        (a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3) * k, (-a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3) * k,
        (-a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1) * k, (a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1) * k,
        (-a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1) * k, (a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1) * k,
        (a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0) * k, (-a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0) * k,
        (a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0) * k, (-a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0) * k,
        (-a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0) * k, (a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0) * k,
        (-a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0) * k, (a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0) * k);
    *pOut = inv;
    return pOut;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* pOut, float x, float y, float z) {
    D3DXMatrixIdentity(pOut);
    pOut->_41 = x;
    pOut->_42 = y;
    pOut->_43 = z;
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* pOut, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    *pOut = D3DXMATRIX(1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    *pOut = D3DXMATRIX(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* pOut, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    *pOut = D3DXMATRIX(c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, float yaw, float pitch, float roll) {
    D3DXMATRIX rollM, pitchM, yawM;
    D3DXMatrixRotationZ(&rollM, roll);
    D3DXMatrixRotationX(&pitchM, pitch);
    D3DXMatrixRotationY(&yawM, yaw);
    *pOut = rollM * pitchM * yawM;
    return pOut;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                               const D3DXVECTOR3* pUp) {
    D3DXVECTOR3 zAxis = *pAt - *pEye;
    D3DXVec3Normalize(&zAxis, &zAxis);
    D3DXVECTOR3 xAxis;
    D3DXVec3Cross(&xAxis, pUp, &zAxis);
    D3DXVec3Normalize(&xAxis, &xAxis);
    D3DXVECTOR3 yAxis;
    D3DXVec3Cross(&yAxis, &zAxis, &xAxis);
    *pOut =
        D3DXMATRIX(xAxis.x, yAxis.x, zAxis.x, 0, xAxis.y, yAxis.y, zAxis.y, 0, xAxis.z, yAxis.z, zAxis.z, 0,
                   -D3DXVec3Dot(&xAxis, pEye), -D3DXVec3Dot(&yAxis, pEye), -D3DXVec3Dot(&zAxis, pEye), 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, float fovY, float aspect, float zNear, float zFar) {
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    const float xScale = yScale / aspect;
    const float depth = zFar / (zFar - zNear);
    *pOut = D3DXMATRIX(xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, depth, 1, 0, 0, -zNear * depth, 0);
    return pOut;
}

D3DXMATRIX* D3DXMatrixShadow(D3DXMATRIX* pOut, const D3DXVECTOR4* pLight, const D3DXPLANE* pPlane) {
    D3DXPLANE p;
    D3DXPlaneNormalize(&p, pPlane);
    const float plane[4] = {p.a, p.b, p.c, p.d};
    const float light[4] = {pLight->x, pLight->y, pLight->z, pLight->w};
    const float dot = D3DXPlaneDot(&p, pLight);
    // dot * I - P L: the projection from the light onto the plane, with w kept
    // positive for geometry on the light's side so it is not clipped away.
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = (i == j ? dot : 0.0f) - plane[i] * light[j];
        }
    }
    *pOut = r;
    return pOut;
}

D3DXMATRIX* D3DXMatrixReflect(D3DXMATRIX* pOut, const D3DXPLANE* pPlane) {
    D3DXPLANE p;
    D3DXPlaneNormalize(&p, pPlane);
    const float plane[4] = {p.a, p.b, p.c, p.d};
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 3; ++j) {
            r.m[i][j] = (i == j ? 1.0f : 0.0f) - 2.0f * plane[i] * plane[j];
        }
    }
    r._44 = 1.0f;
    *pOut = r;
    return pOut;
}
