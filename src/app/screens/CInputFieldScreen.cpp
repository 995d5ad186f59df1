#include "app/screens/CInputFieldScreen.h"

#include "app/screens/ScreenStyle.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentText.h"

CInputFieldScreen::CInputFieldScreen(CGuiComponent& root)
    : m_frame(root.CreateChild<CGuiComponentFrame>()), m_inner(m_frame.CreateChild<CGuiComponentFrame>()),
      m_command(m_inner.CreateChild<CGuiComponentText>(ScreenStyle::kText, ScreenStyle::kFontHeight)),
      m_info(m_frame.CreateChild<CGuiComponentText>(ScreenStyle::kText, ScreenStyle::kSmallFontHeight)) {
    ScreenStyle::StyleWindow(m_frame);
    ScreenStyle::StyleWell(m_inner);
    m_frame.SetVisible(false);
    // Only the field moves with the screen; everything inside keeps its place.
    m_inner.SetRect(kInnerLeft, kInnerTop, kInnerRight, kHeight - kInnerBottomMargin);
    m_command.SetRect(kCommandPadding, kCommandPadding, m_inner.Width() - kCommandPadding,
                      m_inner.Height() - kCommandPadding);
    PlaceInfoText();
}

// The field keeps to the top whatever the screen's height.
void CInputFieldScreen::Relayout(int screenWidth, int) {
    const int left = screenWidth / 2 - kWidth / 2;
    m_frame.SetRect(left, 0, left + kWidth, kHeight);
}

void CInputFieldScreen::Show(bool visible) {
    m_frame.SetVisible(visible);
}

bool CInputFieldScreen::Visible() const {
    return m_frame.IsVisible();
}

void CInputFieldScreen::SetCommandText(const std::string& text) {
    if (text != m_command.Text()) {
        m_command.SetText(text);
    }
}

const std::string& CInputFieldScreen::CommandText() const {
    return m_command.Text();
}

void CInputFieldScreen::SetInfoText(const std::string& text) {
    if (text != m_info.Text()) {
        m_info.SetText(text);
        PlaceInfoText();
    }
}

const std::string& CInputFieldScreen::InfoText() const {
    return m_info.Text();
}

void CInputFieldScreen::PlaceInfoText() {
    m_info.SetRect(kWidth - m_info.TextWidth() - kInfoLeftGap, kInfoTop, kWidth - kInfoRightMargin,
                   kHeight - kInfoBottomMargin);
}

bool CInputFieldScreen::Contains(int x, int y) const {
    return Visible() && m_frame.HitTest(x, y);
}
