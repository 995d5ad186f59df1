#include "render/model/C3DIMesh2.h"

#include "mathutil/D3DXMath.h"
#include "render/device/DDevice.h"
#include "resources/CADVException.h"

#include <algorithm>
#include <cstring>

SpreshVertex C3DIMesh2::Vertex(std::int32_t i) const {
    SpreshVertex v;
    std::memcpy(&v, vertexBuffer->Bytes().data() + static_cast<std::size_t>(i) * sizeof(SpreshVertex),
                sizeof v);
    return v;
}

D3DXVECTOR3 C3DIMesh2::Position(std::int32_t i) const {
    const SpreshVertex v = Vertex(i);
    return {v.x, v.y, v.z};
}

D3DXMATRIX SpreshRotation(const D3DXVECTOR3& rollPitchYaw) {
    D3DXMATRIX r;
    D3DXMatrixRotationYawPitchRoll(&r, rollPitchYaw.z, rollPitchYaw.y, rollPitchYaw.x);
    return r;
}

void C3DIMesh2::CalcBoundaries(const D3DXVECTOR3& rotation, const D3DXVECTOR3& position, D3DXVECTOR3* min,
                               D3DXVECTOR3* max) {
    if (!boundsValid || !(boundsRotation == rotation)) {
        const D3DXMATRIX r = SpreshRotation(rotation);
        boxMin = {1e38f, 1e38f, 1e38f};
        boxMax = {-1e38f, -1e38f, -1e38f};
        const std::int32_t count = vertexBuffer ? vertexCount : 0;
        for (std::int32_t i = 0; i < count; ++i) {
            const D3DXVECTOR3 p = Position(i);
            D3DXVECTOR3 q;
            D3DXVec3TransformCoord(&q, &p, &r);
            boxMin = {std::min(boxMin.x, q.x), std::min(boxMin.y, q.y), std::min(boxMin.z, q.z)};
            boxMax = {std::max(boxMax.x, q.x), std::max(boxMax.y, q.y), std::max(boxMax.z, q.z)};
        }
        boundsRotation = rotation;
        boundsValid = true;
    }
    *min = boxMin + position;
    *max = boxMax + position;
}

void C3DIMesh2::CreateBuffers(DDevice& device, std::span<const std::uint8_t> vertexBytes,
                              std::span<const std::uint16_t> indices, const char* caller) {
    HRESULT hr = S_OK;
    auto vb = device.CreateVertexBuffer(vertexBytes.size(), kFvfPosNorTex1, &hr);
    if (FAILED(hr)) {
        throw CADVException(hr, "%s - Could not create Vertex Buffer", caller);
    }
    auto ib = device.CreateIndexBuffer(indices.size() * kIndex16Size, &hr);
    if (FAILED(hr)) {
        throw CADVException(hr, "%s - Could not create Index Buffer", caller);
    }
    std::uint8_t* vertexTarget = nullptr;
    std::uint8_t* indexTarget = nullptr;
    if (hr = vb->Lock(0, 0, &vertexTarget); FAILED(hr)) {
        throw CADVException(hr, "%s - Could not lock Vertex Buffer", caller);
    }
    if (hr = ib->Lock(0, 0, &indexTarget); FAILED(hr)) {
        throw CADVException(hr, "%s - Could not lock Index Buffer", caller);
    }
    if (!vertexBytes.empty()) {
        std::memcpy(vertexTarget, vertexBytes.data(), vertexBytes.size());
    }
    for (std::uint16_t index : indices) {
        *indexTarget++ = static_cast<std::uint8_t>(index);
        *indexTarget++ = static_cast<std::uint8_t>(index >> 8);
    }
    if (hr = ib->Unlock(); FAILED(hr)) {
        throw CADVException(hr, "%s - Could not unlock Index Buffer", caller);
    }
    if (hr = vb->Unlock(); FAILED(hr)) {
        throw CADVException(hr, "%s - Could not unlock Vertex Buffer", caller);
    }
    vertexBuffer = std::move(vb);
    indexBuffer = std::move(ib);
    vertexCount = static_cast<std::int32_t>(vertexBytes.size() / kPosNorTex1Stride);
    indexCount = static_cast<std::int32_t>(indices.size());
    boundsValid = false;
}
