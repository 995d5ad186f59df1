#include "app/input/CFreeMove.h"

#include "mathutil/D3DXMath.h"
#include "mathutil/SaturatingCast.h"
#include "render/model/CModelInstance.h"
#include "scene/CPolygonTable.h"
#include "scene/CScene.h"
#include "scene/CSceneObject.h"

void CFreeMove::Step(CScene& scene, CSceneObject& mover, const CPolygonTable& polygons, std::uint32_t dt) {
    const CModelInstance* instance = mover.Instance();
    if (instance == nullptr) {
        return;
    }
    const float elapsed = static_cast<float>(dt);
    D3DXVECTOR3 rotation = instance->rotation;
    // Only a real turn touches the rotation: setting it would end a timed turn of a walk.
    if (const float turn = mover.FreeRotateSpeed() * elapsed * kPi * kSpeedScale; turn != 0.0f) {
        rotation.z += turn;
        mover.SetRotation(rotation);
        rotation = instance->rotation;
    }
    if (SaturatingCast<int>(mover.FreeMoveSpeed()) == 0) {
        return;
    }

    const float distance = mover.FreeMoveSpeed() * elapsed * kSpeedScale;
    D3DXMATRIX turnTo;
    D3DXMatrixRotationYawPitchRoll(&turnTo, rotation.z - kPi, rotation.y, rotation.x);
    const D3DXVECTOR3 ahead(distance, 0.0f, 0.0f);
    D3DXVECTOR3 displacement;
    D3DXVec3TransformCoord(&displacement, &ahead, &turnTo);
    const D3DXVECTOR3 old = mover.GetPosition();
    D3DXVECTOR3 position = old + displacement;

    if (!mover.KeepToPolygons(position) || !mover.AvoidObjects(position, nullptr)) {
        mover.OnEvent("freemove", "collision");
        return;
    }
    mover.Place(position);
    polygons.FireCrossings(old.x, old.z, position.x, position.z,
                           [&scene](const std::string& event, const char* what) { scene.OnEvent(event, what); });
}
