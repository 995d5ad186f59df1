#include "app/screens/CMenuPanelScreen.h"

#include "app/screens/ScreenLayout.h"
#include "app/screens/ScreenStyle.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentText.h"

CMenuPanelScreen::CMenuPanelScreen(CGuiComponent& parent, const std::string& title)
    : m_frame(parent.CreateChild<CGuiComponentFrame>()),
      m_title(m_frame.CreateChild<CGuiComponentText>(ScreenStyle::kCaptionText, ScreenStyle::kFontHeight)) {
    ScreenStyle::StyleWell(m_frame);
    m_title.SetText(title);
    ScreenLayout::PlaceText(m_title, kPadding, kPadding, kTitleHeight);
    MoveTo(0, 0);
    m_frame.SetVisible(false);
}

void CMenuPanelScreen::MoveTo(int left, int top) {
    m_frame.SetRect(left, top, left + kWidth, top + kHeight);
}

void CMenuPanelScreen::Show(bool visible) {
    m_frame.SetVisible(visible);
}

bool CMenuPanelScreen::Visible() const {
    return m_frame.IsVisible();
}
