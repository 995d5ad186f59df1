#include "render/CModelInstance.h"

#include "mathutil/D3DXMath.h"

CModelInstance::CModelInstance(C3DSpresh* aModel, const D3DXVECTOR3& aPosition, const D3DXVECTOR3& aRotation,
                               bool aVisible, bool aEnabled, int aKind)
    : model(aModel), position(aPosition), rotation(aRotation), enabled(aEnabled), visible(aVisible),
      kind(aKind) {}

D3DXVECTOR3 CModelInstance::WorldPosition() const {
    return parent ? position + parent->WorldPosition() : position;
}

D3DXVECTOR3 CModelInstance::WorldRotation() const {
    return parent ? rotation + parent->WorldRotation() : rotation;
}

D3DXMATRIX CModelInstance::WorldMatrix(const D3DXMATRIX* extra) const {
    const D3DXVECTOR3 r = WorldRotation();
    const D3DXVECTOR3 p = WorldPosition();
    D3DXMATRIX rx, ry, rz, t;
    D3DXMatrixRotationX(&rx, r.y);
    D3DXMatrixRotationY(&ry, r.z);
    D3DXMatrixRotationZ(&rz, r.x);
    D3DXMatrixTranslation(&t, p.x, p.y, p.z);
    D3DXMATRIX m = rx * ry * rz * t;
    return extra ? m * *extra : m;
}
