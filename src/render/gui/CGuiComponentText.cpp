#include "render/gui/CGuiComponentText.h"

#include "render/gui/CGuiRenderer.h"

#include <algorithm>

CGuiComponentText::CGuiComponentText(CGuiComponent& parent, std::uint32_t colour, int fontHeight)
    : CGuiComponent(parent), m_colour(colour), m_fontHeight(fontHeight) {}

void CGuiComponentText::SetRect(int left, int top, int right, int bottom) {
    CGuiComponent::SetRect(left, top, right, bottom);
    MarkChanged();
}

void CGuiComponentText::Rasterise() {
    const TextTextureSizes sizes = Gui().Texture_Create(m_text, m_colour, m_fontHeight, m_texture);
    m_textWidth = sizes.textWidth;
    m_textHeight = sizes.textHeight;
    m_textureWidth = sizes.textureWidth;
    m_textureHeight = sizes.textureHeight;
    m_textureInvalid = false;
}

void CGuiComponentText::SetText(const std::string& text) {
    m_text = text;
    Rasterise();
    MarkChanged();
}

void CGuiComponentText::SetColour(std::uint32_t colour) {
    m_colour = colour;
    SetText(m_text);
}

void CGuiComponentText::SetFontHeight(int fontHeight) {
    m_fontHeight = fontHeight;
    SetText(m_text);
}

void CGuiComponentText::UpdateVB() {
    if (m_textureInvalid) {
        Rasterise();
    }
    const int shownWidth = std::clamp(Width(), 0, m_textWidth);
    const int shownHeight = std::clamp(Height(), 0, m_textHeight);
    const float x = static_cast<float>(AbsoluteLeft());
    const float y = static_cast<float>(AbsoluteTop());
    const float a = static_cast<float>(shownWidth);
    const float b = static_cast<float>(shownHeight);
    // Rows are stored bottom-up, so the top of the quad samples v = 1. A text
    // never set has no texture and shows nothing.
    const float u = m_textureWidth > 0 ? a / static_cast<float>(m_textureWidth) : 0.0f;
    const float v = m_textureHeight > 0 ? 1.0f - b / static_cast<float>(m_textureHeight) : 1.0f;
    WriteTexturedQuad({{{x, y}, {x + a - 1.0f, y}, {x, y + b}, {x + a - 1.0f, y + b}}},
                      {{{0.0f, 1.0f}, {u, 1.0f}, {0.0f, v}, {u, v}}});
    CGuiComponent::UpdateVB();
}
