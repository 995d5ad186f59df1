#include "app/screens/CScreenButton.h"

#include "app/screens/ScreenStyle.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentText.h"

#include <algorithm>

CScreenButton::CScreenButton(CGuiComponent& parent, const std::string& label)
    : m_frame(parent.CreateChild<CGuiComponentFrame>()),
      m_label(m_frame.CreateChild<CGuiComponentText>(ScreenStyle::kText, ScreenStyle::kFontHeight)) {
    ScreenStyle::StyleButton(m_frame);
    m_label.SetText(label);
}

void CScreenButton::SetRect(int left, int top, int right, int bottom) {
    m_frame.SetRect(left, top, right, bottom);
    // A label wider or taller than the button starts at its corner and is cut.
    const int x = std::max(0, (m_frame.Width() - m_label.TextWidth()) / 2);
    const int y = std::max(0, (m_frame.Height() - m_label.TextHeight()) / 2);
    m_label.SetRect(x, y, std::min(x + m_label.TextWidth(), m_frame.Width()),
                    std::min(y + m_label.TextHeight(), m_frame.Height()));
}

void CScreenButton::Show(bool visible) {
    m_frame.SetVisible(visible);
}

bool CScreenButton::Visible() const {
    return m_frame.IsVisible();
}

bool CScreenButton::HitTest(int x, int y) const {
    return m_frame.HitTest(x, y);
}
