#include "render/gui/CGuiComponentProgress.h"

#include "render/gui/CGuiComponentFrame.h"

namespace {

void Colour(CGuiComponentFrame& frame, std::uint32_t colour) {
    frame.SetStyle(0, colour, colour, colour, frame.Raised());
}

} // namespace

CGuiComponentProgress::CGuiComponentProgress(CGuiComponent& parent)
    : CGuiComponent(parent), m_filled(&CreateChild<CGuiComponentFrame>()),
      m_empty(&CreateChild<CGuiComponentFrame>()) {
    SetColours(0xFFFFFFFF, 0xFF000000);
    SetValue(50);
}

void CGuiComponentProgress::SetRect(int left, int top, int right, int bottom) {
    CGuiComponent::SetRect(left, top, right, bottom);
    SetValue(m_value);
}

void CGuiComponentProgress::SetValue(int value) {
    m_value = value < 1 ? 0 : value > 99 ? 100 : value;
    const int split = Width() * m_value / 100;
    m_filled->SetRect(0, 0, split, Height());
    m_filled->SetVisible(m_value >= 1);
    m_empty->SetRect(split, 0, Width(), Height());
    m_empty->SetVisible(m_value <= 99);
}

void CGuiComponentProgress::SetColours(std::uint32_t filled, std::uint32_t empty) {
    Colour(*m_filled, filled);
    Colour(*m_empty, empty);
}

void CGuiComponentProgress::SetValueAt(int x, int y) {
    // A bar without width has no value to point at.
    if (Width() > 0 && HitTest(x, y)) {
        SetValue((x - AbsoluteLeft()) * 100 / Width());
    }
}
