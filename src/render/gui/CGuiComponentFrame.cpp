#include "render/gui/CGuiComponentFrame.h"

#include "render/gui/GuiQuads.h"
#include "resources/CADVException.h"

CGuiComponentFrame::CGuiComponentFrame(CGuiComponent& parent) : CGuiComponent(parent) {}

void CGuiComponentFrame::SetRect(int left, int top, int right, int bottom) {
    CGuiComponent::SetRect(left, top, right, bottom);
    MarkChanged();
}

void CGuiComponentFrame::SetStyle(int border, std::uint32_t light, std::uint32_t dark, std::uint32_t fill,
                                  bool raised) {
    m_border = border;
    m_light = light;
    m_dark = dark;
    m_fill = fill;
    m_raised = raised;
    MarkChanged();
}

void CGuiComponentFrame::SetRaised(bool raised) {
    if (raised != m_raised) {
        m_raised = raised;
        MarkChanged();
    }
}

void CGuiComponentFrame::UpdateVB() {
    // A negative border draws no bevel, so it takes the vertices of none.
    const int expected = m_border > 0 ? kBorderedRectVertices : kQuadVertices;
    std::uint8_t* dest = AllocVertices(expected, false);
    const float left = static_cast<float>(AbsoluteLeft());
    const float top = static_cast<float>(AbsoluteTop());
    const int written =
        GUI2_CreateRect(dest, left, top, left + static_cast<float>(Width()),
                        top + static_cast<float>(Height()), m_border, m_light, m_dark, m_fill, m_raised);
    if (written != expected) {
        throw CADVException("CGuiComponentFrame::UpdateVB() - Unexpected vertex count returned from "
                            "GUI2_CreateRect().");
    }
    SetVertexCount(written);
    CGuiComponent::UpdateVB();
}
