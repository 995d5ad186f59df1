#include "app/commands/CWalkTarget.h"

#include "mathutil/D3DXMath.h"
#include "render/C3DEngine2.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CModelInstance.h"
#include "scene/CPolygonTable.h"
#include "scene/CScene.h"
#include "scene/CSceneObject.h"

namespace {

bool IsSurfaceCandidate(const CSceneObject& object) {
    const CModelInstance* instance = object.Instance();
    return instance != nullptr && instance->model != nullptr && instance->kind == CModelInstance::Scenery &&
           instance->visible && instance->enabled && !object.Mobile() && !object.Walkaround();
}

// The world point where the ray meets the object's model, and the surface normal there.
bool HitObject(const C3DEngine2::PickingRay& ray, const CSceneObject& object, D3DXVECTOR3* hit,
               D3DXVECTOR3* normal) {
    const D3DXVECTOR3 at = object.Instance()->WorldPosition();
    if (!object.Instance()->model->HasIntersection(ray.origin - at, ray.direction, hit, normal)) {
        return false;
    }
    // The test works in the instance's frame; the walk needs the world point.
    *hit = *hit + at;
    return true;
}

float AwayFrom(float normal) {
    if (normal > CWalkTarget::kNormalLimit) {
        return CWalkTarget::kSurfaceOffset;
    }
    return normal < -CWalkTarget::kNormalLimit ? -CWalkTarget::kSurfaceOffset : 0.0f;
}

} // namespace

std::optional<D3DXVECTOR3> CWalkTarget::Floor(C3DEngine2& renderer, const CPolygonTable& polygons,
                                              const CSceneObject& mover, int x, int y) {
    const std::optional<D3DXVECTOR3> point =
        renderer.Mouse_CalculatePickingPositionOnShadowPlane(static_cast<float>(x), static_cast<float>(y));
    if (!point) {
        return std::nullopt;
    }
    const D3DXVECTOR3 from = mover.GetPosition();
    for (const auto& [name, entry] : polygons.GetEntries()) {
        if (entry.enabled && entry.type == EPolygonType::WalkInside && entry.outline.IsInside(from.x, from.z) &&
            !entry.outline.IsInside(point->x, point->z)) {
            return std::nullopt;
        }
    }
    return point;
}

std::optional<D3DXVECTOR3> CWalkTarget::Surface(const C3DEngine2& renderer, const CScene& scene,
                                                const CSceneObject* named, const CSceneObject& mover, int x,
                                                int y) {
    const C3DEngine2::PickingRay ray = renderer.GetPickingRay(static_cast<float>(x), static_cast<float>(y));
    D3DXVECTOR3 hit;
    D3DXVECTOR3 normal;
    std::optional<D3DXVECTOR3> found;
    if (named == nullptr) {
        for (const CSceneObject* object : scene.Objects()) {
            if (IsSurfaceCandidate(*object) && HitObject(ray, *object, &hit, &normal)) {
                found = hit;
            }
        }
    } else if (IsSurfaceCandidate(*named) && HitObject(ray, *named, &hit, &normal)) {
        found = D3DXVECTOR3(hit.x + AwayFrom(normal.x), hit.y, hit.z + AwayFrom(normal.z));
    }
    if (found) {
        found->y = mover.GetPosition().y;
    }
    return found;
}

std::optional<D3DXVECTOR3> CWalkTarget::Choose(const CSceneObject& mover, const std::optional<D3DXVECTOR3>& floor,
                                               const std::optional<D3DXVECTOR3>& surface) {
    if (!floor || !surface) {
        return floor ? floor : surface;
    }
    const D3DXVECTOR3 from = mover.GetPosition();
    const D3DXVECTOR3 toFloor = *floor - from;
    const D3DXVECTOR3 toSurface = *surface - from;
    return D3DXVec3Length(&toFloor) < D3DXVec3Length(&toSurface) ? floor : surface;
}
