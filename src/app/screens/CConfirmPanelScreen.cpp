#include "app/screens/CConfirmPanelScreen.h"

#include "app/screens/ScreenLayout.h"
#include "app/screens/ScreenStyle.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentText.h"

CConfirmPanelScreen::CConfirmPanelScreen(CGuiComponent& parent, const std::string& title)
    : CMenuPanelScreen(parent, title),
      m_question(m_frame.CreateChild<CGuiComponentText>(ScreenStyle::kText, ScreenStyle::kFontHeight)),
      m_yes(m_frame, kYesText), m_no(m_frame, kNoText) {
    m_question.SetText(kQuestion);
    ScreenLayout::PlaceText(m_question, kPadding, kQuestionTop, kTitleHeight);
    const int bottom = kButtonTop + kButtonHeight;
    m_yes.SetRect(kPadding, kButtonTop, kPadding + kButtonWidth, bottom);
    const int noLeft = kPadding + kButtonWidth + kButtonGap;
    m_no.SetRect(noLeft, kButtonTop, noLeft + kButtonWidth, bottom);
}

GameMenuHit CConfirmPanelScreen::HitAt(int x, int y) const {
    if (m_yes.HitTest(x, y)) {
        return {GameMenuTarget::Yes};
    }
    if (m_no.HitTest(x, y)) {
        return {GameMenuTarget::No};
    }
    return {};
}
