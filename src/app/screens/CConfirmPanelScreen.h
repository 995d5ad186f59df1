#pragma once

#include "app/screens/CMenuPanelScreen.h"
#include "app/screens/CScreenButton.h"

#include <string>

class CGuiComponentText;

// A question that a step with no way back asks first: its title, "Are you
// sure?", and the answers "Yes!" and "No!".
class CConfirmPanelScreen : public CMenuPanelScreen {
public:
    static constexpr const char* kQuestion = "Are you sure?";
    static constexpr const char* kYesText = "Yes!";
    static constexpr const char* kNoText = "No!";
    static constexpr int kQuestionTop = 56;
    static constexpr int kButtonTop = 100;
    static constexpr int kButtonWidth = 120;
    static constexpr int kButtonHeight = 36;
    static constexpr int kButtonGap = 16;

    // Built hidden under `parent`.
    CConfirmPanelScreen(CGuiComponent& parent, const std::string& title);

    // Yes, No or None.
    GameMenuHit HitAt(int x, int y) const override;

    const CGuiComponentText& Question() const { return m_question; }
    const CScreenButton& YesButton() const { return m_yes; }
    const CScreenButton& NoButton() const { return m_no; }

private:
    CGuiComponentText& m_question;
    CScreenButton m_yes;
    CScreenButton m_no;
};
