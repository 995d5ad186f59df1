#include "render/gui/CGuiRenderer.h"

#include "render/device/DDevice.h"
#include "render/gui/CGuiComponent.h"
#include "render/gui/GuiVertex.h"
#include "resources/CADVException.h"

CGuiRenderer::CGuiRenderer(DDevice& device) : m_device(device) {}

CGuiRenderer::~CGuiRenderer() = default;

int CGuiRenderer::GUI2_AllocVB(int count, bool textured, std::uint8_t** dest) {
    if (!m_locked) {
        throw CADVException(
            "C3DEngine2::GUI2_AllocVB() - Function called while vertex buffer wasn't locked.");
    }
    int& used = textured ? m_usedTextured : m_usedUntextured;
    const int capacity = textured ? kTexturedVertices : kUntexturedVertices;
    if (count < 0 || count > capacity - used) {
        throw CADVException("C3DEngine2::GUI2_AllocVB() - Limited textured vertex buffer exceeded.");
    }
    const int first = (textured ? kUntexturedVertices : 0) + used;
    used += count;
    *dest = m_locked + static_cast<std::size_t>(first) * sizeof(GuiVertex);
    return first;
}

void CGuiRenderer::Rebuild(CGuiComponent& root) {
    root.m_changed = false;
    m_usedUntextured = 0;
    m_usedTextured = 0;
    if (const HRESULT hr = m_buffer->Lock(0, 0, &m_locked); FAILED(hr)) {
        root.MarkChanged();
        throw CADVException(hr, "C3DEngine2::GUI2_Update() - Could not lock vertex buffer for GUI.");
    }
    try {
        for (const auto& child : root.Children()) {
            child->m_changed = false;
            child->UpdateVB();
        }
    } catch (...) {
        // Half a buffer is never drawn: it stays empty and the next frame tries again.
        m_buffer->Unlock();
        m_locked = nullptr;
        m_usedUntextured = 0;
        m_usedTextured = 0;
        root.MarkChanged();
        throw;
    }
    m_locked = nullptr;
    m_buffer->Unlock();
}

void CGuiRenderer::GUI2_Update(CGuiComponent& root, const CGuiComponent* only) {
    if (!m_buffer) {
        HRESULT hr = S_OK;
        m_buffer = m_device.CreateVertexBuffer(static_cast<std::size_t>(kBufferVertices) * sizeof(GuiVertex),
                                               kFvfScreenTex1, &hr);
        // A new buffer holds nothing yet, whatever the tree's flags say.
        root.MarkChanged();
        if (FAILED(hr) || !m_buffer) {
            m_buffer.reset();
            throw CADVException("C3DEngine2::GUI2_Update() - Could not allocate vertex buffer for GUI.");
        }
    }
    if (root.NeedsRebuild()) {
        Rebuild(root);
    }
    if (m_usedUntextured == 0 && m_usedTextured == 0) {
        return;
    }
    m_device.SetRenderState(DRenderState::AlphaBlendEnable, 1);
    m_device.SetRenderState(DRenderState::SrcBlend, D3DBLEND_SRCALPHA);
    m_device.SetRenderState(DRenderState::DestBlend, D3DBLEND_INVSRCALPHA);
    m_device.SetStreamSource(0, m_buffer.get(), 0, kScreenTex1Stride);
    m_device.SetFVF(kFvfScreenTex1);
    if (only) {
        Draw(*only);
    } else {
        for (const auto& child : root.Children()) {
            Draw(*child);
        }
    }
    m_device.SetRenderState(DRenderState::AlphaBlendEnable, 0);
}

void CGuiRenderer::Draw(const CGuiComponent& component) {
    if (!component.IsVisible()) {
        return;
    }
    if (component.VertexCount() > 0) {
        m_device.SetTexture(0, component.Texture());
        m_device.DrawPrimitive(static_cast<std::uint32_t>(component.FirstVertex()),
                               static_cast<std::uint32_t>(component.VertexCount() / 3));
    }
    for (const auto& child : component.Children()) {
        Draw(*child);
    }
}

TextTextureSizes CGuiRenderer::Texture_Create(std::string_view text, std::uint32_t colour, int fontHeight,
                                              std::unique_ptr<DTexture>& texture) {
    return m_text.Texture_Create(m_device, text, colour, fontHeight, texture);
}

void CGuiRenderer::ReleaseVB() {
    m_buffer.reset();
    m_usedUntextured = 0;
    m_usedTextured = 0;
}
