// Geometry on a loaded model: baking a transform, bounds, planes, the ray
// test and the footprint. Reads use the buffers' CPU copies.
#include "render/model/C3DSpresh.h"

#include "mathutil/D3DXMath.h"
#include "render/model/CModelInstance.h"
#include "resources/CADVException.h"

#include <cmath>
#include <cstring>

namespace {

// Facing-away triangles are skipped by this test on the first vertex's normal.
constexpr float kFacingAwayLimit = 1.5707964f;
constexpr float kParallelLimit = 0.0001f;
constexpr float kRayLength = 10000.0f;

// Möller and Trumbore, for either winding: where the ray crosses the
// triangle, or false. Crossings behind the origin are not hits.
bool RayMeetsTriangle(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction, const D3DXVECTOR3& v0,
                      const D3DXVECTOR3& v1, const D3DXVECTOR3& v2) {
    const D3DXVECTOR3 edge1 = v1 - v0;
    const D3DXVECTOR3 edge2 = v2 - v0;
    D3DXVECTOR3 p;
    D3DXVec3Cross(&p, &direction, &edge2);
    const float det = D3DXVec3Dot(&edge1, &p);
    if (std::fabs(det) < kParallelLimit) {
        return false;
    }
    const D3DXVECTOR3 t = origin - v0;
    const float u = D3DXVec3Dot(&t, &p) / det;
    if (u < 0.0f || u > 1.0f) {
        return false;
    }
    D3DXVECTOR3 q;
    D3DXVec3Cross(&q, &t, &edge1);
    const float v = D3DXVec3Dot(&direction, &q) / det;
    if (v < 0.0f || u + v > 1.0f) {
        return false;
    }
    return D3DXVec3Dot(&edge2, &q) / det >= 0.0f;
}

} // namespace

void C3DSpresh::ReCalc(float x, float y, float z, float roll, float pitch, float yaw, float scaleX,
                       float scaleY, float scaleZ) {
    EnsureLoaded();
    const D3DXMATRIX r = SpreshRotation({roll, pitch, yaw});
    ForEachFrame([&](C3DIMesh2& frame) {
        if (!frame.vertexBuffer) {
            throw CADVException("C3DSpresh::ReCalc - No mesh to recalculate");
        }
        std::uint8_t* bytes = nullptr;
        if (const HRESULT hr = frame.vertexBuffer->Lock(0, 0, &bytes); FAILED(hr)) {
            throw CADVException(hr, "C3DSpresh::ReCalc - Could not lock Vertex Buffer");
        }
        for (std::int32_t i = 0; i < frame.vertexCount; ++i) {
            SpreshVertex v = frame.Vertex(i);
            const D3DXVECTOR3 position(v.x, v.y, v.z);
            const D3DXVECTOR3 normal(v.nx, v.ny, v.nz);
            D3DXVECTOR3 p, n;
            D3DXVec3TransformCoord(&p, &position, &r);
            D3DXVec3TransformCoord(&n, &normal, &r);
            v.x = p.x * scaleX + x;
            v.y = p.y * scaleY + y;
            v.z = p.z * scaleZ + z;
            v.nx = n.x;
            v.ny = n.y;
            v.nz = n.z;
            std::memcpy(bytes + static_cast<std::size_t>(i) * sizeof v, &v, sizeof v);
        }
        frame.boundsValid = false;
        if (const HRESULT hr = frame.vertexBuffer->Unlock(); FAILED(hr)) {
            throw CADVException(hr, "C3DSpresh::ReCalc - Could not unlock Vertex Buffer");
        }
        // The footprint follows, so a resized object also blocks and collides
        // at its new size. Its own points are moved rather than computed
        // anew, which keeps a hand-made outline's shape.
        CPolygon moved;
        for (const CPolygon::Point& point : frame.outline.GetPoints()) {
            const D3DXVECTOR3 ground(point.givenX, 0.0f, point.givenZ);
            D3DXVECTOR3 p;
            D3DXVec3TransformCoord(&p, &ground, &r);
            moved.AddPoint(p.x * scaleX + x, p.z * scaleZ + z, false);
        }
        frame.outline = moved;
    });
}

bool C3DSpresh::GetBoundaries(const CModelInstance& instance, D3DXVECTOR3* min, D3DXVECTOR3* max) {
    C3DIMesh2* frame = SelectFrame(instance.animation, instance.phase);
    if (!frame) {
        return false;
    }
    frame->CalcBoundaries(instance.rotation, instance.WorldPosition(), min, max);
    return true;
}

std::vector<D3DXPLANE> C3DSpresh::CalculatePlanes(const CModelInstance& instance) {
    std::vector<D3DXPLANE> planes;
    const C3DIMesh2* frame = SelectFrame(instance.animation, instance.phase);
    if (!frame || !frame->HasGeometry()) {
        return planes;
    }
    const D3DXMATRIX r = SpreshRotation(instance.rotation);
    const D3DXVECTOR3 offset = instance.WorldPosition();
    for (std::int32_t t = 0; t + 2 < frame->indexCount; t += 3) {
        D3DXVECTOR3 corners[3];
        for (int k = 0; k < 3; ++k) {
            const D3DXVECTOR3 p = frame->Position(frame->indexBuffer->At(static_cast<std::size_t>(t + k)));
            D3DXVec3TransformCoord(&corners[k], &p, &r);
            corners[k] += offset;
        }
        D3DXPLANE plane;
        D3DXPlaneFromPoints(&plane, &corners[0], &corners[1], &corners[2]);
        planes.push_back(plane);
    }
    return planes;
}

bool C3DSpresh::HasIntersection(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction, D3DXVECTOR3* hit,
                                D3DXVECTOR3* normal) {
    EnsureLoaded();
    const C3DIMesh2* frame = FirstIdleFrame();
    if (!frame || !frame->HasGeometry()) {
        return false;
    }
    const D3DXVECTOR3 end = origin + kRayLength * direction;
    bool found = false;
    for (std::int32_t t = 0; t + 2 < frame->indexCount; t += 3) {
        const SpreshVertex first = frame->Vertex(frame->indexBuffer->At(static_cast<std::size_t>(t)));
        const D3DXVECTOR3 firstNormal(first.nx, first.ny, first.nz);
        const float facing = D3DXVec3Dot(&direction, &firstNormal);
        if (facing >= 0.0f && facing < kFacingAwayLimit) {
            continue;
        }
        const std::array<D3DXVECTOR3, 3> corners = {
            D3DXVECTOR3(first.x, first.y, first.z),
            frame->Position(frame->indexBuffer->At(static_cast<std::size_t>(t + 1))),
            frame->Position(frame->indexBuffer->At(static_cast<std::size_t>(t + 2)))};
        if (!RayMeetsTriangle(origin, direction, corners[0], corners[1], corners[2])) {
            continue;
        }
        found = true;
        m_lastHit = corners;
        if (hit) {
            D3DXPLANE plane;
            D3DXPlaneFromPoints(&plane, &corners[0], &corners[1], &corners[2]);
            D3DXPlaneIntersectLine(hit, &plane, &origin, &end);
        }
        if (normal) {
            *normal = firstNormal;
        }
    }
    return found;
}

const CPolygon* C3DSpresh::CollisionOutline(const std::string& animation, float phase) {
    const C3DIMesh2* frame = SelectFrame(animation, phase);
    return frame ? &frame->outline : nullptr;
}
