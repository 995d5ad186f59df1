#pragma once

#include "render/device/DDevice.h"
#include "render/device/gl/DFixedFunctionGL.h"

#include <array>
#include <map>
#include <memory>
#include <set>

class DTargetsGL;
struct DResourceLinkGL;
struct SDL_Window;

// The drawing device on OpenGL 3.3 core. It draws into off-screen targets of
// the back buffer's size and Present scales the back buffer into the window
// of the context that was current at creation. States are cached with their
// Direct3D values: a call that changes nothing never reaches the driver, and
// shader uniforms are sent only for groups that changed. All calls must come
// from the thread that owns the context.
class DDeviceGL : public DDevice {
public:
    // Needs a current OpenGL 3.3 (or later) core context. Null with
    // D3DERR_NOTAVAILABLE in *hr when there is none or it cannot carry the
    // device; the reason is written to stderr.
    static std::unique_ptr<DDeviceGL> Create(int width, int height, HRESULT* hr);
    ~DDeviceGL() override;

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
    int BackBufferWidth() const override;
    int BackBufferHeight() const override;
    HRESULT Reset(int width, int height) override;
    HRESULT ReadPixels(DRenderTarget target, int x, int y, int width, int height,
                       std::uint8_t* rgba) override;

private:
    static constexpr std::size_t kRenderStateCount = static_cast<std::size_t>(DRenderState::StencilPass) + 1;
    static constexpr std::size_t kSamplerStateCount =
        static_cast<std::size_t>(DSamplerState::MaxAnisotropy) + 1;

    // What the vertex arrays were last pointed at.
    struct Layout {
        GLuint buffer = 0;
        std::uint32_t offset = 0;
        std::uint32_t stride = 0;
        std::uint32_t fvf = 0;
        bool operator==(const Layout&) const = default;
    };

    DDeviceGL();
    bool Initialise(int width, int height);
    // Direct3D's state after creation or a reset, sent to GL in full.
    void ResetStates();

    // DDeviceGLStates.cpp: Direct3D states to GL.
    void ApplyRenderState(DRenderState state);
    void ApplySamplerStates();
    std::uint32_t RenderState(DRenderState state) const {
        return m_renderStates[static_cast<std::size_t>(state)];
    }
    // Counts a state call: changed ones reach the driver, the others are dropped.
    bool Changed(bool changed);

    // Everything a draw needs bound; false (the draw fails) when the call
    // cannot be drawn. Vertices [first, first + count) of the stream must exist.
    bool PrepareDraw(std::uint32_t firstVertex, std::uint64_t vertexCount);
    // Cached bindings whose GL names may have been deleted and handed out again.
    void ForgetStaleBindings();
    void BindTexture();
    void BindLayout(GLuint buffer);
    void GatherLights();

    // Also holds the texture, stream and indices that are set.
    std::shared_ptr<DResourceLinkGL> m_link;
    std::uint64_t m_deletionsSeen = 0;
    std::unique_ptr<DFixedFunctionGL> m_pipeline;
    std::unique_ptr<DTargetsGL> m_targets;
    SDL_Window* m_window = nullptr;
    GLuint m_vertexArray = 0;
    GLuint m_sampler = 0;
    float m_maxAnisotropy = 1.0f;
    GLint m_maxTextureSize = 0;

    DFixedFunctionState m_shaderState;
    std::array<std::uint32_t, kRenderStateCount> m_renderStates{};
    std::array<std::uint32_t, kSamplerStateCount> m_samplerStates{};
    std::map<std::uint32_t, D3DLIGHT9> m_lights;
    std::set<std::uint32_t> m_enabledLights;
    bool m_lightsChanged = true;

    std::uint32_t m_fvf = 0;
    std::uint32_t m_streamOffset = 0;
    std::uint32_t m_streamStride = 0;

    GLuint m_boundTexture = 0;
    GLuint m_boundIndices = 0;
    Layout m_layout;

    DRenderTarget m_target = DRenderTarget::BackBuffer;
    bool m_inScene = false;
};
