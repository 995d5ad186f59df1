#include "render/device/gl/DDeviceGL.h"

#include "platform/DReport.h"
#include "render/device/gl/DResourcesGL.h"
#include "render/device/gl/DTargetsGL.h"

#include <SDL.h>

#include <algorithm>
#include <bit>

namespace {

D3DXMATRIX Identity() {
    D3DXMATRIX m;
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

// The light Direct3D switches on for an index that was never set.
D3DLIGHT9 DefaultLight() {
    D3DLIGHT9 light;
    light.Type = D3DLIGHTTYPE::D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = {0.0f, 0.0f, 1.0f};
    return light;
}

HRESULT Unavailable(const char* reason) {
    ReportWarning(std::string("OpenGL device: ") + reason);
    return D3DERR_NOTAVAILABLE;
}

} // namespace

std::unique_ptr<DDeviceGL> DDeviceGL::Create(int width, int height, HRESULT* hr) {
    if (SDL_GL_GetCurrentContext() == nullptr) {
        *hr = Unavailable("no current OpenGL context");
        return nullptr;
    }
    if (!epoxy_is_desktop_gl() || epoxy_gl_version() < 33) {
        *hr = Unavailable("OpenGL 3.3 or later is needed");
        return nullptr;
    }
    std::unique_ptr<DDeviceGL> device(new DDeviceGL());
    std::string error;
    device->m_pipeline = DFixedFunctionGL::Create(&error);
    if (!device->m_pipeline) {
        *hr = Unavailable(error.c_str());
        return nullptr;
    }
    device->m_targets = DTargetsGL::Create(width, height);
    if (!device->m_targets) {
        *hr = Unavailable("the off-screen targets cannot be made");
        return nullptr;
    }
    device->m_window = SDL_GL_GetCurrentWindow();
    glGenVertexArrays(1, &device->m_vertexArray);
    glBindVertexArray(device->m_vertexArray);
    glGenSamplers(1, &device->m_sampler);
    glActiveTexture(GL_TEXTURE0);
    glBindSampler(0, device->m_sampler);
    if (epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic") ||
        epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic")) {
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &device->m_maxAnisotropy);
    }
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &device->m_maxTextureSize);
    // Direct3D's depth test passes equal depths; the mirror step redraws
    // surfaces at the depth they already have.
    glDepthFunc(GL_LEQUAL);
    glCullFace(GL_BACK);
    device->ResetStates();
    *hr = S_OK;
    return device;
}

DDeviceGL::DDeviceGL() : m_link(std::make_shared<DResourceLinkGL>()) {}

DDeviceGL::~DDeviceGL() {
    m_link->deviceAlive = false;
    glBindVertexArray(0);
    glDeleteVertexArrays(1, &m_vertexArray);
    glDeleteSamplers(1, &m_sampler);
}

void DDeviceGL::ResetStates() {
    m_shaderState = DFixedFunctionState{};
    m_shaderState.world = m_shaderState.view = m_shaderState.projection = Identity();
    m_shaderState.targetWidth = m_targets->Width();
    m_shaderState.targetHeight = m_targets->Height();
    m_pipeline->Invalidate(DFixedFunctionGL::kAllGroups);

    m_renderStates.fill(0);
    const auto set = [this](DRenderState state, std::uint32_t value) {
        m_renderStates[static_cast<std::size_t>(state)] = value;
    };
    set(DRenderState::ZEnable, 1);
    set(DRenderState::ZWriteEnable, 1);
    set(DRenderState::ShadeMode, D3DSHADE_GOURAUD);
    set(DRenderState::CullMode, D3DCULL_CCW);
    set(DRenderState::Lighting, 1);
    set(DRenderState::EmissiveMaterialSource, D3DMCS_MATERIAL);
    set(DRenderState::SrcBlend, D3DBLEND_ONE);
    set(DRenderState::DestBlend, D3DBLEND_ZERO);
    set(DRenderState::FogVertexMode, D3DFOG_NONE);
    set(DRenderState::FogEnd, std::bit_cast<std::uint32_t>(1.0f));
    set(DRenderState::StencilFunc, D3DCMP_ALWAYS);
    set(DRenderState::StencilMask, 0xFFFFFFFF);
    set(DRenderState::StencilWriteMask, 0xFFFFFFFF);
    set(DRenderState::StencilFail, D3DSTENCILOP_KEEP);
    set(DRenderState::StencilZFail, D3DSTENCILOP_KEEP);
    set(DRenderState::StencilPass, D3DSTENCILOP_KEEP);
    for (std::size_t i = 0; i < kRenderStateCount; ++i) {
        ApplyRenderState(static_cast<DRenderState>(i));
    }

    m_samplerStates = {D3DTEXF_POINT, D3DTEXF_POINT, D3DTEXF_NONE, 1};
    ApplySamplerStates();

    m_lights.clear();
    m_enabledLights.clear();
    m_lightsChanged = true;
    m_link->texture = nullptr;
    m_link->stream = nullptr;
    m_link->indices = nullptr;
    m_fvf = 0;
    m_streamOffset = m_streamStride = 0;
    m_target = DRenderTarget::BackBuffer;
    m_targets->Bind(m_target);
}

bool DDeviceGL::Changed(bool changed) {
    if (changed) {
        ++m_stats.stateChanges;
    } else {
        ++m_stats.redundantStates;
    }
    return changed;
}

// Resources

std::unique_ptr<DTexture> DDeviceGL::CreateTexture(int width, int height, int levels, DTextureFormat format,
                                                   HRESULT* hr) {
    if (width <= 0 || height <= 0 || width > m_maxTextureSize || height > m_maxTextureSize || levels <= 0 ||
        levels > FullMipChainLength(width, height)) {
        *hr = D3DERR_INVALIDCALL;
        return nullptr;
    }
    *hr = S_OK;
    return std::make_unique<DTextureGL>(width, height, levels, format, m_link);
}

std::unique_ptr<DVertexBuffer> DDeviceGL::CreateVertexBuffer(std::size_t bytes, std::uint32_t fvf,
                                                             HRESULT* hr) {
    if (bytes == 0) {
        *hr = D3DERR_INVALIDCALL;
        return nullptr;
    }
    *hr = S_OK;
    return std::make_unique<DVertexBufferGL>(bytes, fvf, m_link);
}

std::unique_ptr<DIndexBuffer> DDeviceGL::CreateIndexBuffer(std::size_t bytes, HRESULT* hr) {
    if (bytes == 0) {
        *hr = D3DERR_INVALIDCALL;
        return nullptr;
    }
    *hr = S_OK;
    return std::make_unique<DIndexBufferGL>(bytes, m_link);
}

// States

HRESULT DDeviceGL::SetTransform(DTransformState state, const D3DXMATRIX& matrix) {
    D3DXMATRIX* target = state == DTransformState::World  ? &m_shaderState.world
                         : state == DTransformState::View ? &m_shaderState.view
                                                          : &m_shaderState.projection;
    if (Changed(!(*target == matrix))) {
        *target = matrix;
        m_pipeline->Invalidate(DFixedFunctionGL::kTransforms);
    }
    return S_OK;
}

D3DXMATRIX DDeviceGL::GetTransform(DTransformState state) const {
    return state == DTransformState::World  ? m_shaderState.world
           : state == DTransformState::View ? m_shaderState.view
                                            : m_shaderState.projection;
}

HRESULT DDeviceGL::SetRenderState(DRenderState state, std::uint32_t value) {
    const auto index = static_cast<std::size_t>(state);
    if (index >= kRenderStateCount) {
        return D3DERR_INVALIDCALL;
    }
    if (Changed(m_renderStates[index] != value)) {
        m_renderStates[index] = value;
        ApplyRenderState(state);
    }
    return S_OK;
}

HRESULT DDeviceGL::SetSamplerState(std::uint32_t stage, DSamplerState state, std::uint32_t value) {
    const auto index = static_cast<std::size_t>(state);
    if (stage >= kTextureStages || index >= kSamplerStateCount) {
        return D3DERR_INVALIDCALL;
    }
    if (Changed(m_samplerStates[index] != value)) {
        m_samplerStates[index] = value;
        ApplySamplerStates();
    }
    return S_OK;
}

HRESULT DDeviceGL::SetMaterial(const D3DMATERIAL9& material) {
    if (Changed(!(m_shaderState.material == material))) {
        m_shaderState.material = material;
        m_pipeline->Invalidate(DFixedFunctionGL::kLighting);
    }
    return S_OK;
}

HRESULT DDeviceGL::SetLight(std::uint32_t index, const D3DLIGHT9& light) {
    const auto found = m_lights.find(index);
    if (Changed(found == m_lights.end() || !(found->second == light))) {
        m_lights[index] = light;
        m_lightsChanged = m_lightsChanged || m_enabledLights.contains(index);
    }
    return S_OK;
}

HRESULT DDeviceGL::LightEnable(std::uint32_t index, bool enable) {
    if (enable) {
        m_lights.try_emplace(index, DefaultLight());
    }
    if (Changed(m_enabledLights.contains(index) != enable)) {
        if (enable) {
            m_enabledLights.insert(index);
        } else {
            m_enabledLights.erase(index);
        }
        m_lightsChanged = true;
    }
    return S_OK;
}

void DDeviceGL::GatherLights() {
    // Beyond the guaranteed number of lights, the lowest indices win.
    m_shaderState.lights.clear();
    for (const std::uint32_t index : m_enabledLights) {
        if (m_shaderState.lights.size() == kMaxActiveLights) {
            break;
        }
        m_shaderState.lights.push_back(m_lights.at(index));
    }
    m_lightsChanged = false;
    m_pipeline->Invalidate(DFixedFunctionGL::kLighting);
}

// Drawing

HRESULT DDeviceGL::SetTexture(std::uint32_t stage, const DTexture* texture) {
    const auto* gl = dynamic_cast<const DTextureGL*>(texture);
    if (stage >= kTextureStages || (texture != nullptr && gl == nullptr)) {
        return D3DERR_INVALIDCALL;
    }
    if (Changed(m_link->texture != gl)) {
        m_link->texture = gl;
    }
    return S_OK;
}

HRESULT DDeviceGL::SetFVF(std::uint32_t fvf) {
    if (Changed(m_fvf != fvf)) {
        m_fvf = fvf;
    }
    return S_OK;
}

HRESULT DDeviceGL::SetStreamSource(std::uint32_t stream, const DVertexBuffer* buffer, std::uint32_t offset,
                                   std::uint32_t stride) {
    const auto* gl = dynamic_cast<const DVertexBufferGL*>(buffer);
    if (stream != 0 || (buffer != nullptr && gl == nullptr)) {
        return D3DERR_INVALIDCALL;
    }
    if (Changed(m_link->stream != gl || m_streamOffset != offset || m_streamStride != stride)) {
        m_link->stream = gl;
        m_streamOffset = offset;
        m_streamStride = stride;
    }
    return S_OK;
}

HRESULT DDeviceGL::SetIndices(const DIndexBuffer* buffer) {
    const auto* gl = dynamic_cast<const DIndexBufferGL*>(buffer);
    if (buffer != nullptr && gl == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (Changed(m_link->indices != gl)) {
        m_link->indices = gl;
    }
    return S_OK;
}

void DDeviceGL::ForgetStaleBindings() {
    if (m_deletionsSeen == m_link->deletions) {
        return;
    }
    m_deletionsSeen = m_link->deletions;
    m_layout = {};
    m_boundIndices = 0;
    // Rebinding is forced: GL has already unbound a deleted texture.
    m_boundTexture = ~GLuint{0};
}

bool DDeviceGL::PrepareDraw(std::uint32_t firstVertex, std::uint64_t vertexCount) {
    const DVertexBufferGL* stream = m_link->stream;
    if (!m_inScene || stream == nullptr || m_streamStride == 0 ||
        (m_fvf & (D3DFVF_XYZ | D3DFVF_XYZRHW)) == 0 || m_streamOffset > stream->Size()) {
        return false;
    }
    const std::uint64_t available = (stream->Size() - m_streamOffset) / m_streamStride;
    if (static_cast<std::uint64_t>(firstVertex) + vertexCount > available) {
        return false;
    }
    ForgetStaleBindings();
    BindTexture();
    BindLayout(stream->Prepare());
    if (m_lightsChanged) {
        GatherLights();
    }
    const bool screen = (m_fvf & D3DFVF_XYZRHW) != 0;
    m_stats.stateChanges += m_pipeline->Use(
        screen ? DFixedFunctionGL::Program::Screen : DFixedFunctionGL::Program::World, m_shaderState);
    return true;
}

void DDeviceGL::BindTexture() {
    const DTextureGL* texture = m_link->texture;
    if (texture != nullptr && texture->NeedsUpload()) {
        texture->Upload();
        m_boundTexture = texture->Name();
    }
    const GLuint name = texture != nullptr ? texture->Name() : 0;
    if (m_boundTexture != name) {
        glBindTexture(GL_TEXTURE_2D, name);
        m_boundTexture = name;
        ++m_stats.stateChanges;
    }
    if (m_shaderState.textured != (name != 0)) {
        m_shaderState.textured = name != 0;
        m_pipeline->Invalidate(DFixedFunctionGL::kTexture);
    }
}

void DDeviceGL::BindLayout(GLuint buffer) {
    const Layout wanted{buffer, m_streamOffset, m_streamStride, m_fvf};
    if (m_layout == wanted) {
        return;
    }
    m_layout = wanted;
    ++m_stats.stateChanges;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    const auto stride = static_cast<GLsizei>(m_streamStride);
    std::uintptr_t at = m_streamOffset;
    const auto pointer = [&at](std::uintptr_t size) {
        const void* p = reinterpret_cast<const void*>(at);
        at += size;
        return p;
    };
    const bool screen = (m_fvf & D3DFVF_XYZRHW) != 0;
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, screen ? 4 : 3, GL_FLOAT, GL_FALSE, stride, pointer(screen ? 16 : 12));
    // Missing parts read as Direct3D supplies them: no normal, an opaque white
    // diffuse colour, texture coordinates 0.
    if (m_fvf & D3DFVF_NORMAL) {
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, pointer(12));
    } else {
        glDisableVertexAttribArray(1);
        glVertexAttrib3f(1, 0.0f, 0.0f, 0.0f);
    }
    if (m_fvf & D3DFVF_DIFFUSE) {
        // A D3DCOLOR is B, G, R, A in memory.
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride, pointer(4));
    } else {
        glDisableVertexAttribArray(2);
        glVertexAttrib4f(2, 1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (m_fvf & D3DFVF_TEX1) {
        glEnableVertexAttribArray(3);
        glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride, pointer(8));
    } else {
        glDisableVertexAttribArray(3);
        glVertexAttrib2f(3, 0.0f, 0.0f);
    }
}

HRESULT DDeviceGL::DrawPrimitive(std::uint32_t startVertex, std::uint32_t triangleCount) {
    if (!PrepareDraw(startVertex, std::uint64_t{triangleCount} * 3)) {
        return D3DERR_INVALIDCALL;
    }
    glDrawArrays(GL_TRIANGLES, static_cast<GLint>(startVertex), static_cast<GLsizei>(triangleCount * 3));
    ++m_stats.drawCalls;
    m_stats.triangles += triangleCount;
    return S_OK;
}

HRESULT DDeviceGL::DrawIndexedPrimitive(std::int32_t baseVertex, std::uint32_t, std::uint32_t,
                                        std::uint32_t startIndex, std::uint32_t triangleCount) {
    const DIndexBufferGL* indexBuffer = m_link->indices;
    const std::uint64_t indexCount = std::uint64_t{triangleCount} * 3;
    if (indexBuffer == nullptr || startIndex + indexCount > indexBuffer->Count() || triangleCount == 0) {
        return D3DERR_INVALIDCALL;
    }
    // The driver is never handed an index outside the stream: the drawn range
    // is checked against the CPU copy.
    std::uint32_t lowest = 0xFFFF;
    std::uint32_t highest = 0;
    for (std::uint64_t i = startIndex; i < startIndex + indexCount; ++i) {
        const std::uint32_t index = indexBuffer->At(static_cast<std::size_t>(i));
        lowest = std::min(lowest, index);
        highest = std::max(highest, index);
    }
    const std::int64_t first = std::int64_t{baseVertex} + lowest;
    if (first < 0 || !PrepareDraw(static_cast<std::uint32_t>(first), highest - lowest + 1)) {
        return D3DERR_INVALIDCALL;
    }
    const GLuint indices = indexBuffer->Prepare();
    if (m_boundIndices != indices) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices);
        m_boundIndices = indices;
        ++m_stats.stateChanges;
    }
    glDrawElementsBaseVertex(GL_TRIANGLES, static_cast<GLsizei>(indexCount), GL_UNSIGNED_SHORT,
                             reinterpret_cast<const void*>(std::uintptr_t{startIndex} * kIndex16Size),
                             baseVertex);
    ++m_stats.drawCalls;
    m_stats.triangles += triangleCount;
    return S_OK;
}

// Frame

HRESULT DDeviceGL::Clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t stencil) {
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        glClearColor(static_cast<float>((colour >> 16) & 0xFF) / 255.0f,
                     static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
                     static_cast<float>(colour & 0xFF) / 255.0f, static_cast<float>(colour >> 24) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        glClearDepth(std::clamp(z, 0.0f, 1.0f));
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_STENCIL) {
        glClearStencil(static_cast<GLint>(stencil & 0xFF));
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    if (mask == 0) {
        return D3DERR_INVALIDCALL;
    }
    // Direct3D clears whatever the write masks say; GL's clear obeys them.
    glDepthMask(GL_TRUE);
    glStencilMask(0xFF);
    glClear(mask);
    ApplyRenderState(DRenderState::ZWriteEnable);
    ApplyRenderState(DRenderState::StencilWriteMask);
    return S_OK;
}

HRESULT DDeviceGL::BeginScene() {
    if (m_inScene) {
        return D3DERR_INVALIDCALL;
    }
    m_inScene = true;
    m_stats = {};
    return S_OK;
}

HRESULT DDeviceGL::EndScene() {
    if (!m_inScene) {
        return D3DERR_INVALIDCALL;
    }
    m_inScene = false;
    return S_OK;
}

HRESULT DDeviceGL::Present(std::uint32_t) {
    // The window's pacing decides whether the swap waits for the display.
    if (m_window != nullptr) {
        int width = 0;
        int height = 0;
        SDL_GL_GetDrawableSize(m_window, &width, &height);
        if (width > 0 && height > 0) {
            m_targets->ShowBackBuffer(width, height, m_target);
        }
        SDL_GL_SwapWindow(m_window);
    }
    return S_OK;
}

// Targets

HRESULT DDeviceGL::SetRenderTarget(DRenderTarget target) {
    if (Changed(m_target != target)) {
        m_target = target;
        m_targets->Bind(target);
    }
    return S_OK;
}

int DDeviceGL::BackBufferWidth() const {
    return m_targets->Width();
}

int DDeviceGL::BackBufferHeight() const {
    return m_targets->Height();
}

HRESULT DDeviceGL::Reset(int width, int height) {
    if (m_inScene || !m_targets->Resize(width, height)) {
        return D3DERR_INVALIDCALL;
    }
    ResetStates();
    return S_OK;
}

HRESULT DDeviceGL::ReadPixels(DRenderTarget target, int x, int y, int width, int height, std::uint8_t* rgba) {
    if (x < 0 || y < 0 || width <= 0 || height <= 0 || x > m_targets->Width() - width ||
        y > m_targets->Height() - height) {
        return D3DERR_INVALIDCALL;
    }
    m_targets->Read(target, m_target, x, y, width, height, rgba);
    return S_OK;
}
