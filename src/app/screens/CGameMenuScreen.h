#pragma once

#include "app/screens/CConfirmPanelScreen.h"
#include "app/screens/COptionsPanelScreen.h"
#include "app/screens/CScreenButton.h"
#include "app/screens/CSlotPanelScreen.h"
#include "app/screens/GameMenuTargets.h"

#include <array>
#include <string>
#include <vector>

class CGuiComponent;
class CGuiComponentFrame;
class CGuiComponentText;
class CImage;

// The game menu, centred on the screen: a column of what the player can do
// with the game at its left ("Load", "Save", "Restart", "Quit"), "close" in
// its top-right corner, and at its right one panel at a time: the options,
// the slots to load from or save into, or a question before quitting or
// restarting.
class CGameMenuScreen {
public:
    enum class Panel { Options, Load, Save, Quit, Restart };
    using Target = GameMenuTarget;
    using Hit = GameMenuHit;

    static constexpr const char* kCaption = "Options";
    static constexpr const char* kColumnTitle = "Game";
    static constexpr const char* kCloseText = "close";
    // Between the frame's edge and its content, and between the column and
    // the panels.
    static constexpr int kPadding = 16;
    // The caption's row, with "close" at its right end.
    static constexpr int kCaptionHeight = 28;
    // Between the caption's row and the column and panels under it.
    static constexpr int kCaptionGap = 12;
    static constexpr int kContentTop = kPadding + kCaptionHeight + kCaptionGap;
    static constexpr int kColumnWidth = 180;
    static constexpr int kButtonHeight = 36;
    static constexpr int kButtonGap = 12;
    // Under the column's title, whose row is as high as the caption's.
    static constexpr int kFirstButtonTop = kContentTop + kCaptionHeight + kButtonGap;
    static constexpr int kPanelLeft = kPadding + kColumnWidth + kPadding;
    static constexpr int kWidth = kPanelLeft + CMenuPanelScreen::kWidth + kPadding;
    static constexpr int kHeight = kContentTop + CMenuPanelScreen::kHeight + kPadding;

    // Built hidden under `root`, centred on it, every button shown.
    explicit CGameMenuScreen(CGuiComponent& root);
    CGameMenuScreen(const CGameMenuScreen&) = delete;
    CGameMenuScreen& operator=(const CGameMenuScreen&) = delete;

    // Centred on the new screen.
    void Relayout(int screenWidth, int screenHeight);
    // Showing it opens the options panel.
    void Show(bool visible);
    bool Visible() const;
    // Screen pixels, edges included; false while hidden.
    bool Contains(int x, int y) const;

    // Hidden buttons take no clicks; the others keep their places.
    void ShowLoadButton(bool visible);
    void ShowSaveButton(bool visible);

    // Shows this panel and hides the others.
    void OpenPanel(Panel panel);
    Panel OpenedPanel() const;

    // What a click (screen pixels) lands on: only what is shown, the slots
    // only in the open load or save panel; None for nothing that acts.
    Hit HitAt(int x, int y) const;

    // The slot lists: one label a slot ("07 - description", "07 - empty"),
    // in slot order. Both fill the open load or save panel's list; with
    // another panel open they change nothing.
    void SetSlots(const std::vector<std::string>& labels);
    void SetSlotLabel(int slot, const std::string& label);
    // The picture and time of the slot under the cursor in the open load or
    // save panel; null and empty show none.
    void ShowSlotDetails(const CImage* picture, const std::string& savedAt);

    COptionsPanelScreen& Options() { return m_options; }
    const COptionsPanelScreen& Options() const { return m_options; }

    const CGuiComponentFrame& Frame() const { return m_frame; }
    const CGuiComponentText& Caption() const { return m_caption; }
    const CGuiComponentText& ColumnTitle() const { return m_columnTitle; }
    const CScreenButton& CloseButton() const { return m_close; }
    const CScreenButton& LoadButton() const { return m_load; }
    const CScreenButton& SaveButton() const { return m_save; }
    const CScreenButton& RestartButton() const { return m_restart; }
    const CScreenButton& QuitButton() const { return m_quit; }
    const CSlotPanelScreen& LoadPanel() const { return m_loadPanel; }
    const CSlotPanelScreen& SavePanel() const { return m_savePanel; }
    const CConfirmPanelScreen& QuitPanel() const { return m_quitPanel; }
    const CConfirmPanelScreen& RestartPanel() const { return m_restartPanel; }

private:
    // The open panel's when it lists slots, else null.
    CSlotPanelScreen* OpenSlotPanel();

    CGuiComponentFrame& m_frame;
    CGuiComponentText& m_caption;
    CGuiComponentText& m_columnTitle;
    CScreenButton m_close;
    CScreenButton m_load;
    CScreenButton m_save;
    CScreenButton m_restart;
    CScreenButton m_quit;
    COptionsPanelScreen m_options;
    CSlotPanelScreen m_loadPanel;
    CSlotPanelScreen m_savePanel;
    CConfirmPanelScreen m_quitPanel;
    CConfirmPanelScreen m_restartPanel;
    // In the order of Panel.
    std::array<CMenuPanelScreen*, 5> m_panels{&m_options, &m_loadPanel, &m_savePanel, &m_quitPanel,
                                              &m_restartPanel};
    Panel m_opened = Panel::Options;
};
