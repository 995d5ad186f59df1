#pragma once

#include "render/device/DBuffer.h"
#include "render/device/DTexture.h"
#include "render/device/DeviceTypes.h"
#include "resources/HResult.h"

#include <cstdint>
#include <memory>

// The drawing device: the subset of Direct3D 9 the renderer uses, with the
// same calls and results so that the renderer's failure texts and their result
// codes keep their meaning. Resources are created in the managed pool only;
// they survive a reset (their CPU copies are rebuilt from, never lost).
// Creation returns null with the failure in *hr, as the original calls do.
class DDevice {
public:
    virtual ~DDevice() = default;

    // Resources
    virtual std::unique_ptr<DTexture> CreateTexture(int width, int height, int levels, DTextureFormat format,
                                                    HRESULT* hr) = 0;
    virtual std::unique_ptr<DVertexBuffer> CreateVertexBuffer(std::size_t bytes, std::uint32_t fvf,
                                                              HRESULT* hr) = 0;
    // 16-bit indices.
    virtual std::unique_ptr<DIndexBuffer> CreateIndexBuffer(std::size_t bytes, HRESULT* hr) = 0;

    // States
    virtual HRESULT SetTransform(DTransformState state, const D3DXMATRIX& matrix) = 0;
    virtual D3DXMATRIX GetTransform(DTransformState state) const = 0;
    virtual HRESULT SetRenderState(DRenderState state, std::uint32_t value) = 0;
    virtual HRESULT SetSamplerState(std::uint32_t stage, DSamplerState state, std::uint32_t value) = 0;
    virtual HRESULT SetMaterial(const D3DMATERIAL9& material) = 0;
    virtual HRESULT SetLight(std::uint32_t index, const D3DLIGHT9& light) = 0;
    virtual HRESULT LightEnable(std::uint32_t index, bool enable) = 0;

    // Drawing
    virtual HRESULT SetTexture(std::uint32_t stage, const DTexture* texture) = 0;
    virtual HRESULT SetFVF(std::uint32_t fvf) = 0;
    virtual HRESULT SetStreamSource(std::uint32_t stream, const DVertexBuffer* buffer, std::uint32_t offset,
                                    std::uint32_t stride) = 0;
    virtual HRESULT SetIndices(const DIndexBuffer* buffer) = 0;
    // Triangle lists only.
    virtual HRESULT DrawPrimitive(std::uint32_t startVertex, std::uint32_t triangleCount) = 0;
    virtual HRESULT DrawIndexedPrimitive(std::int32_t baseVertex, std::uint32_t minIndex,
                                         std::uint32_t vertexCount, std::uint32_t startIndex,
                                         std::uint32_t triangleCount) = 0;

    // Frame
    virtual HRESULT Clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t stencil) = 0;
    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    // flags 0 or D3DPRESENT_DONOTWAIT.
    virtual HRESULT Present(std::uint32_t flags) = 0;
};
