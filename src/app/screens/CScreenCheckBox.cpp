#include "app/screens/CScreenCheckBox.h"

#include "app/screens/ScreenLayout.h"
#include "app/screens/ScreenStyle.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentText.h"

CScreenCheckBox::CScreenCheckBox(CGuiComponent& parent, const std::string& text)
    : m_area(parent.CreateChild<CGuiComponent>()), m_box(m_area.CreateChild<CGuiComponentFrame>()),
      m_mark(m_box.CreateChild<CGuiComponentFrame>()),
      m_label(m_area.CreateChild<CGuiComponentText>(ScreenStyle::kText, ScreenStyle::kFontHeight)) {
    ScreenStyle::StyleWell(m_box);
    ScreenStyle::StyleMark(m_mark);
    m_mark.SetRect(kMarkInset, kMarkInset, kBoxSize - kMarkInset, kBoxSize - kMarkInset);
    m_label.SetText(text);
    SetChecked(false);
}

void CScreenCheckBox::SetRect(int left, int top, int right, int bottom) {
    m_area.SetRect(left, top, right, bottom);
    const int boxTop = (m_area.Height() - kBoxSize) / 2;
    m_box.SetRect(0, boxTop, kBoxSize, boxTop + kBoxSize);
    ScreenLayout::PlaceText(m_label, kBoxSize + kTextGap, 0, m_area.Height());
}

void CScreenCheckBox::SetChecked(bool checked) {
    m_mark.SetVisible(checked);
}

bool CScreenCheckBox::Checked() const {
    return m_mark.IsVisible();
}

bool CScreenCheckBox::HitTest(int x, int y) const {
    return m_area.HitTest(x, y);
}
