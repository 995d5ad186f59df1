#pragma once

#include "mathutil/D3DXTypes.h"
#include "navigation/CPolygon.h"
#include "render/model/SpreshTypes.h"
#include "render/device/DBuffer.h"

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>

class DDevice;

// What a generated frame was built from, so that it can be built again after
// the device was recreated.
struct SpreshShape {
    enum Kind { FromFile = 0, FilledCircle = 1, Band = 2 };
    float bottomRadius = 0.0f; // the circle's radius
    float bottomHeight = 0.0f;
    float topRadius = 0.0f;
    float topHeight = 0.0f;
    int segments = 0;
    int textureId = 0;
    D3DMATERIAL9 material;
};

// One frame of one animation of a model: a triangle list with its materials
// and its outline on the ground.
class C3DIMesh2 {
public:
    std::unique_ptr<DVertexBuffer> vertexBuffer;
    std::unique_ptr<DIndexBuffer> indexBuffer;
    std::int32_t vertexCount = 0;
    std::int32_t indexCount = 0;
    std::map<std::string, CSpreshMaterial> materials;
    int materialCounter = 0;
    int kind = SpreshShape::FromFile;
    SpreshShape shape;
    CPolygon outline;

    // Box of the vertices rotated by boundsRotation (roll, pitch, yaw), in
    // model space; recomputed when asked for another rotation.
    bool boundsValid = false;
    D3DXVECTOR3 boundsRotation;
    D3DXVECTOR3 boxMin;
    D3DXVECTOR3 boxMax;

    // Makes both buffers (managed pool) and fills them; failures are raised with
    // their result code as "<caller> - Could not create Vertex Buffer" and the like.
    void CreateBuffers(DDevice& device, std::span<const std::uint8_t> vertexBytes,
                       std::span<const std::uint16_t> indices, const char* caller);

    bool HasGeometry() const { return vertexBuffer && indexBuffer && vertexCount > 0 && indexCount > 0; }
    // Reads the buffer's copy; i must be below vertexCount.
    SpreshVertex Vertex(std::int32_t i) const;
    D3DXVECTOR3 Position(std::int32_t i) const;

    // The box of the vertices under the given rotation, moved to `position`.
    void CalcBoundaries(const D3DXVECTOR3& rotation, const D3DXVECTOR3& position, D3DXVECTOR3* min,
                        D3DXVECTOR3* max);
};

// The rotation of a (roll, pitch, yaw) triple as the renderer applies it.
D3DXMATRIX SpreshRotation(const D3DXVECTOR3& rollPitchYaw);
