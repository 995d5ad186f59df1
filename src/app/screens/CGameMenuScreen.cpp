#include "app/screens/CGameMenuScreen.h"

#include "app/screens/ScreenLayout.h"
#include "app/screens/ScreenStyle.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentText.h"

#include <utility>

CGameMenuScreen::CGameMenuScreen(CGuiComponent& root)
    : m_frame(root.CreateChild<CGuiComponentFrame>()),
      m_caption(m_frame.CreateChild<CGuiComponentText>(ScreenStyle::kCaptionText, ScreenStyle::kFontHeight)),
      m_columnTitle(
          m_frame.CreateChild<CGuiComponentText>(ScreenStyle::kCaptionText, ScreenStyle::kFontHeight)),
      m_close(m_frame, kCloseText), m_load(m_frame, "Load"), m_save(m_frame, "Save"),
      m_restart(m_frame, "Restart"), m_quit(m_frame, "Quit"), m_options(m_frame),
      m_loadPanel(m_frame, "Load =>", "Load..."), m_savePanel(m_frame, "Save <=", "Save..."),
      m_quitPanel(m_frame, "Quit ???"), m_restartPanel(m_frame, "Restart game?") {
    ScreenStyle::StyleWindow(m_frame);
    m_caption.SetText(kCaption);
    ScreenLayout::PlaceText(m_caption, kPadding, kPadding, kCaptionHeight);
    ScreenLayout::PlaceCloseButton(m_close, kWidth, kPadding);

    m_columnTitle.SetText(kColumnTitle);
    ScreenLayout::PlaceText(m_columnTitle, kPadding, kContentTop, kCaptionHeight);
    int top = kFirstButtonTop;
    for (CScreenButton* button : {&m_load, &m_save, &m_restart, &m_quit}) {
        button->SetRect(kPadding, top, kPadding + kColumnWidth, top + kButtonHeight);
        top += kButtonHeight + kButtonGap;
    }
    for (CMenuPanelScreen* panel : m_panels) {
        panel->MoveTo(kPanelLeft, kContentTop);
    }
    OpenPanel(Panel::Options);
    m_frame.SetVisible(false);
    Relayout(root.Width(), root.Height());
}

void CGameMenuScreen::Relayout(int screenWidth, int screenHeight) {
    const int left = (screenWidth - kWidth) / 2;
    const int top = (screenHeight - kHeight) / 2;
    m_frame.SetRect(left, top, left + kWidth, top + kHeight);
}

void CGameMenuScreen::Show(bool visible) {
    if (visible) {
        OpenPanel(Panel::Options);
    }
    m_frame.SetVisible(visible);
}

bool CGameMenuScreen::Visible() const {
    return m_frame.IsVisible();
}

bool CGameMenuScreen::Contains(int x, int y) const {
    return Visible() && m_frame.HitTest(x, y);
}

void CGameMenuScreen::ShowLoadButton(bool visible) {
    m_load.Show(visible);
}

void CGameMenuScreen::ShowSaveButton(bool visible) {
    m_save.Show(visible);
}

void CGameMenuScreen::OpenPanel(Panel panel) {
    m_opened = panel;
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i]->Show(i == static_cast<std::size_t>(panel));
    }
    // Until the cursor rests on a slot there is none to show.
    if (CSlotPanelScreen* slots = OpenSlotPanel()) {
        slots->ShowDetails(nullptr, "");
    }
}

CGameMenuScreen::Panel CGameMenuScreen::OpenedPanel() const {
    return m_opened;
}

CGameMenuScreen::Hit CGameMenuScreen::HitAt(int x, int y) const {
    if (!Contains(x, y)) {
        return {};
    }
    const std::pair<const CScreenButton&, Target> buttons[] = {{m_close, Target::Close},
                                                               {m_load, Target::Load},
                                                               {m_save, Target::Save},
                                                               {m_restart, Target::Restart},
                                                               {m_quit, Target::Quit}};
    for (const auto& [button, target] : buttons) {
        if (button.Visible() && button.HitTest(x, y)) {
            return {target};
        }
    }
    return m_panels[static_cast<std::size_t>(m_opened)]->HitAt(x, y);
}

CSlotPanelScreen* CGameMenuScreen::OpenSlotPanel() {
    switch (m_opened) {
    case Panel::Load:
        return &m_loadPanel;
    case Panel::Save:
        return &m_savePanel;
    default:
        return nullptr;
    }
}

void CGameMenuScreen::SetSlots(const std::vector<std::string>& labels) {
    if (CSlotPanelScreen* slots = OpenSlotPanel()) {
        slots->SetSlots(labels);
    }
}

void CGameMenuScreen::SetSlotLabel(int slot, const std::string& label) {
    if (CSlotPanelScreen* slots = OpenSlotPanel()) {
        slots->SetSlotLabel(slot, label);
    }
}

void CGameMenuScreen::ShowSlotDetails(const CImage* picture, const std::string& savedAt) {
    if (CSlotPanelScreen* slots = OpenSlotPanel()) {
        slots->ShowDetails(picture, savedAt);
    }
}
