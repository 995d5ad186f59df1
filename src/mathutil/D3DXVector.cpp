#include "mathutil/D3DXMath.h"

#include <cmath>

D3DXVECTOR3& D3DXVECTOR3::operator+=(const D3DXVECTOR3& v) {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
}

D3DXVECTOR3& D3DXVECTOR3::operator-=(const D3DXVECTOR3& v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
}

D3DXVECTOR3& D3DXVECTOR3::operator*=(float s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
}

D3DXVECTOR3& D3DXVECTOR3::operator/=(float s) {
    x /= s;
    y /= s;
    z /= s;
    return *this;
}

D3DXVECTOR3 operator+(D3DXVECTOR3 a, const D3DXVECTOR3& b) {
    return a += b;
}
D3DXVECTOR3 operator-(D3DXVECTOR3 a, const D3DXVECTOR3& b) {
    return a -= b;
}
D3DXVECTOR3 operator*(D3DXVECTOR3 v, float s) {
    return v *= s;
}
D3DXVECTOR3 operator*(float s, D3DXVECTOR3 v) {
    return v *= s;
}
D3DXVECTOR3 operator/(D3DXVECTOR3 v, float s) {
    return v /= s;
}

float D3DXVec3Dot(const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    return pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z;
}

D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    const D3DXVECTOR3 r(pV1->y * pV2->z - pV1->z * pV2->y, pV1->z * pV2->x - pV1->x * pV2->z,
                        pV1->x * pV2->y - pV1->y * pV2->x);
    *pOut = r;
    return pOut;
}

float D3DXVec3Length(const D3DXVECTOR3* pV) {
    return std::sqrt(D3DXVec3Dot(pV, pV));
}

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
    const float length = D3DXVec3Length(pV);
    *pOut = length == 0.0f ? D3DXVECTOR3() : *pV / length;
    return pOut;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    const D3DXMATRIX& m = *pM;
    const float w = pV->x * m._14 + pV->y * m._24 + pV->z * m._34 + m._44;
    const D3DXVECTOR3 r(pV->x * m._11 + pV->y * m._21 + pV->z * m._31 + m._41,
                        pV->x * m._12 + pV->y * m._22 + pV->z * m._32 + m._42,
                        pV->x * m._13 + pV->y * m._23 + pV->z * m._33 + m._43);
    *pOut = r / w;
    return pOut;
}

D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    const D3DXMATRIX& m = *pM;
    const D3DXVECTOR3 r(pV->x * m._11 + pV->y * m._21 + pV->z * m._31,
                        pV->x * m._12 + pV->y * m._22 + pV->z * m._32,
                        pV->x * m._13 + pV->y * m._23 + pV->z * m._33);
    *pOut = r;
    return pOut;
}
