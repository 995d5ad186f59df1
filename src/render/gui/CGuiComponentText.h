#pragma once

#include "render/gui/CGuiComponent.h"

#include <cstdint>
#include <string>

// One text texture (one or more lines) in the component's top-left corner,
// cut at the component's edges, never scaled.
class CGuiComponentText : public CGuiComponent {
public:
    static constexpr std::uint32_t kDefaultColour = 0xFFFFFF;
    static constexpr int kDefaultFontHeight = -19;

    explicit CGuiComponentText(CGuiComponent& parent, std::uint32_t colour = kDefaultColour,
                               int fontHeight = kDefaultFontHeight);

    void SetRect(int left, int top, int right, int bottom) override;
    void UpdateVB() override;

    // Each rasterises the text anew.
    void SetText(const std::string& text);
    void SetColour(std::uint32_t colour);
    void SetFontHeight(int fontHeight);

    const std::string& Text() const { return m_text; }
    std::uint32_t Colour() const { return m_colour; }
    int FontHeight() const { return m_fontHeight; }
    int TextWidth() const { return m_textWidth; }
    int TextHeight() const { return m_textHeight; }
    int TextureWidth() const { return m_textureWidth; }
    int TextureHeight() const { return m_textureHeight; }

private:
    void Rasterise();

    std::string m_text;
    std::uint32_t m_colour;
    int m_fontHeight;
    int m_textWidth = 0;
    int m_textHeight = 0;
    int m_textureWidth = 0;
    int m_textureHeight = 0;
};
