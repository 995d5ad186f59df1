#pragma once

#include "render/device/DBuffer.h"
#include "render/device/DTexture.h"
#include "render/device/DeviceTypes.h"
#include "resources/HResult.h"

#include <cstdint>
#include <memory>
#include <vector>

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

    // Targets. The viewport always covers the whole target.
    virtual HRESULT SetRenderTarget(DRenderTarget target) = 0;
    virtual DRenderTarget GetRenderTarget() const = 0;
    virtual int BackBufferWidth() const = 0;
    virtual int BackBufferHeight() const = 0;
    // New size for both targets and the depth-stencil buffer. Resources
    // survive; states, transforms, lights and the material return to their
    // defaults as on a new device, so the caller sets them again.
    virtual HRESULT Reset(int width, int height) = 0;
    // Pixels of a target, rows top to bottom, 4 bytes each (red, green, blue,
    // alpha); x and y count from the top-left corner. A rectangle reaching
    // outside the target fails with D3DERR_INVALIDCALL.
    virtual HRESULT ReadPixels(DRenderTarget target, int x, int y, int width, int height,
                               std::uint8_t* rgba) = 0;
    // One pixel as a 32-bit X8R8G8B8 value whose unused top byte reads 0, so it
    // compares equal with the colour it was drawn in.
    HRESULT ReadPixel(DRenderTarget target, int x, int y, std::uint32_t* colour);
    // The whole back buffer in ReadPixels' layout, with its size: screenshots.
    HRESULT ReadBackBuffer(std::vector<std::uint8_t>& rgba, int* width, int* height);

    // Counts of the frame begun by the last BeginScene.
    const DDeviceStats& Stats() const { return m_stats; }

protected:
    DDeviceStats m_stats;
};
