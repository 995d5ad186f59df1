#include "mathutil/D3DXMath.h"

#include <cmath>

namespace {

D3DXVECTOR3 Normal(const D3DXPLANE& p) {
    return {p.a, p.b, p.c};
}

} // namespace

float D3DXPlaneDot(const D3DXPLANE* pP, const D3DXVECTOR4* pV) {
    return pP->a * pV->x + pP->b * pV->y + pP->c * pV->z + pP->d * pV->w;
}

float D3DXPlaneDotCoord(const D3DXPLANE* pP, const D3DXVECTOR3* pV) {
    return pP->a * pV->x + pP->b * pV->y + pP->c * pV->z + pP->d;
}

D3DXPLANE* D3DXPlaneNormalize(D3DXPLANE* pOut, const D3DXPLANE* pP) {
    const D3DXVECTOR3 n = Normal(*pP);
    const float length = D3DXVec3Length(&n);
    if (length == 0.0f) {
        *pOut = D3DXPLANE{};
    } else {
        *pOut = D3DXPLANE{pP->a / length, pP->b / length, pP->c / length, pP->d / length};
    }
    return pOut;
}

D3DXPLANE* D3DXPlaneFromPoints(D3DXPLANE* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2,
                               const D3DXVECTOR3* pV3) {
    const D3DXVECTOR3 edge1 = *pV2 - *pV1;
    const D3DXVECTOR3 edge2 = *pV3 - *pV1;
    D3DXVECTOR3 normal;
    D3DXVec3Cross(&normal, &edge1, &edge2);
    D3DXVec3Normalize(&normal, &normal);
    *pOut = D3DXPLANE{normal.x, normal.y, normal.z, -D3DXVec3Dot(&normal, pV1)};
    return pOut;
}

D3DXVECTOR3* D3DXPlaneIntersectLine(D3DXVECTOR3* pOut, const D3DXPLANE* pP, const D3DXVECTOR3* pV1,
                                    const D3DXVECTOR3* pV2) {
    const D3DXVECTOR3 normal = Normal(*pP);
    const D3DXVECTOR3 direction = *pV2 - *pV1;
    const float along = D3DXVec3Dot(&normal, &direction);
    if (along == 0.0f) {
        return nullptr;
    }
    const float t = (pP->d + D3DXVec3Dot(&normal, pV1)) / along;
    *pOut = *pV1 - direction * t;
    return pOut;
}
