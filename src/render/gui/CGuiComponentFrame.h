#pragma once

#include "render/gui/CGuiComponent.h"

#include <cstdint>

// A flat-coloured rectangle with an optional bevelled border.
class CGuiComponentFrame : public CGuiComponent {
public:
    explicit CGuiComponentFrame(CGuiComponent& parent);

    void SetRect(int left, int top, int right, int bottom) override;
    void UpdateVB() override;

    void SetStyle(int border, std::uint32_t light, std::uint32_t dark, std::uint32_t fill, bool raised);
    void SetRaised(bool raised);

    int Border() const { return m_border; }
    bool Raised() const { return m_raised; }
    std::uint32_t LightColour() const { return m_light; }
    std::uint32_t DarkColour() const { return m_dark; }
    std::uint32_t FillColour() const { return m_fill; }

private:
    bool m_raised = false;
    int m_border = 4;
    std::uint32_t m_light = 0xA0988D90;
    std::uint32_t m_dark = 0xA0584D50;
    std::uint32_t m_fill = 0xA0786D70;
};
