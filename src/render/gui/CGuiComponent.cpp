#include "render/gui/CGuiComponent.h"

#include "render/device/DTexture.h"
#include "render/gui/CGuiRenderer.h"
#include "render/gui/GuiQuads.h"
#include "resources/CADVException.h"

#include <algorithm>

CGuiComponent::CGuiComponent(DDevice& device)
    : m_ownedGui(std::make_unique<CGuiRenderer>(device)), m_gui(*m_ownedGui) {}

CGuiComponent::CGuiComponent(CGuiComponent& parent) : m_gui(parent.m_gui), m_parent(&parent) {}

CGuiComponent::~CGuiComponent() = default;

void CGuiComponent::DeleteChild(const CGuiComponent* child) {
    const auto found = std::find_if(m_children.begin(), m_children.end(),
                                    [child](const auto& own) { return own.get() == child; });
    if (found != m_children.end()) {
        m_children.erase(found);
        MarkChanged();
    }
}

void CGuiComponent::DeleteChildren() {
    m_children.clear();
    MarkChanged();
}

void CGuiComponent::SetRect(int left, int top, int right, int bottom) {
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
}

void CGuiComponent::UpdateVB() {
    for (const auto& child : m_children) {
        child->UpdateVB();
    }
}

int CGuiComponent::AbsoluteLeft() const {
    return m_left + (m_parent ? m_parent->AbsoluteLeft() : 0);
}

int CGuiComponent::AbsoluteTop() const {
    return m_top + (m_parent ? m_parent->AbsoluteTop() : 0);
}

bool CGuiComponent::HitTest(int x, int y) const {
    const int left = AbsoluteLeft();
    const int top = AbsoluteTop();
    return left <= x && x <= left + Width() && top <= y && y <= top + Height();
}

void CGuiComponent::MarkChanged() {
    for (CGuiComponent* c = this; c; c = c->m_parent) {
        c->m_changed = true;
    }
}

void CGuiComponent::ReleaseTexture() {
    m_texture.reset();
}

void CGuiComponent::InvalidateTextures() {
    ReleaseTexture();
    m_textureInvalid = true;
    // The buffer must be rebuilt for the textures to come back.
    MarkChanged();
    for (const auto& child : m_children) {
        child->InvalidateTextures();
    }
}

std::uint8_t* CGuiComponent::AllocVertices(int count, bool textured) {
    std::uint8_t* dest = nullptr;
    m_firstVertex = m_gui.GUI2_AllocVB(count, textured, &dest);
    m_vertexCount = 0;
    return dest;
}

void CGuiComponent::WriteTexturedQuad(const GuiCorners& corners, const GuiCorners& uvs) {
    constexpr std::uint32_t kUntinted = 0x00FFFFFF;
    std::uint8_t* dest = AllocVertices(kQuadVertices, true);
    const int written = GUI2_CreateVBRect(dest, corners, {kUntinted, kUntinted, kUntinted, kUntinted}, uvs);
    if (written != kQuadVertices) {
        throw CADVException(
            "CGuiComponentText::UpdateVB() - Unexpected number of vertices returned by GUI2_CreateVBRect().");
    }
    SetVertexCount(written);
}
