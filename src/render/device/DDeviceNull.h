#pragma once

#include "render/device/DDevice.h"

#include <map>
#include <string>
#include <vector>

// A device that draws nothing and writes down every call, one line each
// ("CreateVertexBuffer 320", "LockVertexBuffer", "DrawIndexedPrimitive 0 0 4 0 2"),
// so tests see what the renderer asked for, in which order, without a GL
// context. Any call can be made to fail once to reach the renderer's failure
// paths. Read-backs give every pixel one chosen colour, so picking code can be
// tested without drawing; every state call counts as a state change.
class DDeviceNull : public DDevice {
public:
    DDeviceNull();
    ~DDeviceNull() override;

    const std::vector<std::string>& Calls() const { return m_calls; }
    void ClearCalls() { m_calls.clear(); }
    // The next call of that name (the first word of its line) fails with hr;
    // the call is still written down.
    void FailNext(const std::string& call, HRESULT hr = D3DERR_INVALIDCALL);
    // Lines written so far whose first word is `call`.
    int CountCalls(const std::string& call) const;

    std::unique_ptr<DTexture> CreateTexture(int width, int height, int levels, DTextureFormat format,
                                            HRESULT* hr) override;
    std::unique_ptr<DVertexBuffer> CreateVertexBuffer(std::size_t bytes, std::uint32_t fvf,
                                                      HRESULT* hr) override;
    std::unique_ptr<DIndexBuffer> CreateIndexBuffer(std::size_t bytes, HRESULT* hr) override;

    HRESULT SetTransform(DTransformState state, const D3DXMATRIX& matrix) override;
    D3DXMATRIX GetTransform(DTransformState state) const override;
    HRESULT SetRenderState(DRenderState state, std::uint32_t value) override;
    HRESULT SetSamplerState(std::uint32_t stage, DSamplerState state, std::uint32_t value) override;
    HRESULT SetMaterial(const D3DMATERIAL9& material) override;
    HRESULT SetLight(std::uint32_t index, const D3DLIGHT9& light) override;
    HRESULT LightEnable(std::uint32_t index, bool enable) override;

    HRESULT SetTexture(std::uint32_t stage, const DTexture* texture) override;
    HRESULT SetFVF(std::uint32_t fvf) override;
    HRESULT SetStreamSource(std::uint32_t stream, const DVertexBuffer* buffer, std::uint32_t offset,
                            std::uint32_t stride) override;
    HRESULT SetIndices(const DIndexBuffer* buffer) override;
    HRESULT DrawPrimitive(std::uint32_t startVertex, std::uint32_t triangleCount) override;
    HRESULT DrawIndexedPrimitive(std::int32_t baseVertex, std::uint32_t minIndex, std::uint32_t vertexCount,
                                 std::uint32_t startIndex, std::uint32_t triangleCount) override;

    HRESULT Clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t stencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(std::uint32_t flags) override;

    HRESULT SetRenderTarget(DRenderTarget target) override;
    DRenderTarget GetRenderTarget() const override { return m_target; }
    int BackBufferWidth() const override { return m_width; }
    int BackBufferHeight() const override { return m_height; }
    HRESULT Reset(int width, int height) override;
    HRESULT ReadPixels(DRenderTarget target, int x, int y, int width, int height,
                       std::uint8_t* rgba) override;
    // The colour (A8R8G8B8) that every pixel read back has; 0 at start.
    void SetReadBackColour(std::uint32_t colour) { m_readBackColour = colour; }

    // Written down by the resources this device created.
    HRESULT Record(const std::string& line);

private:
    HRESULT RecordState(const std::string& line);

    std::vector<std::string> m_calls;
    std::map<std::string, HRESULT> m_failures;
    std::map<DTransformState, D3DXMATRIX> m_transforms;
    DRenderTarget m_target = DRenderTarget::BackBuffer;
    // The window's client size until the first Reset.
    int m_width = 1024;
    int m_height = 768;
    std::uint32_t m_readBackColour = 0;
};
