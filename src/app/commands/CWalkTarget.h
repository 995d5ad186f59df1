#pragma once

#include "mathutil/D3DXTypes.h"

#include <optional>

class C3DEngine2;
class CPolygonTable;
class CScene;
class CSceneObject;

// Where a left click on the ground sends the free-move object: the floor point
// under the cursor, or a point on the scenery the cursor's ray meets.
class CWalkTarget {
public:
    // Half a unit off a picked surface, so the walk ends in front of it.
    static constexpr float kSurfaceOffset = 0.5f;
    static constexpr float kNormalLimit = 0.001f;

    // The floor point under (x, y) when it lies inside every enabled walk
    // area that holds the mover.
    static std::optional<D3DXVECTOR3> Floor(C3DEngine2& renderer, const CPolygonTable& polygons,
                                            const CSceneObject& mover, int x, int y);
    // The point of the fixed scenery (visible, enabled, neither mobile nor
    // walkaround) the cursor's ray meets, at the mover's height. Without a
    // `named` object under the cursor every candidate is tried and the last
    // hit in scene order counts; with one, only it, moved off its surface.
    static std::optional<D3DXVECTOR3> Surface(const C3DEngine2& renderer, const CScene& scene,
                                              const CSceneObject* named, const CSceneObject& mover, int x, int y);
    // The nearer of the two to the mover (the surface on a tie), or the one there is.
    static std::optional<D3DXVECTOR3> Choose(const CSceneObject& mover, const std::optional<D3DXVECTOR3>& floor,
                                             const std::optional<D3DXVECTOR3>& surface);
};
