#pragma once

#include "app/screens/CContextWindowScreen.h"
#include "app/screens/CGameMenuScreen.h"
#include "app/screens/CInputFieldScreen.h"
#include "app/screens/CInventoryScreen.h"
#include "app/screens/CMessageBoxScreen.h"
#include "app/screens/COptionsButtonScreen.h"

#include <string>

class CGuiComponent;
class CGuiComponentFrame;
class CGuiComponentText;

// The game's own screens on the renderer's GUI tree: built once at start,
// afterwards only shown, hidden, filled and laid out again when the screen
// size changes. The components belong to the tree; this keeps their places.
class CGameScreens {
public:
    // The frame-rate label sits right-aligned on this band, under the input field.
    static constexpr int kFpsTop = 40;
    static constexpr int kFpsBottom = 64;
    static constexpr int kFpsRightMargin = 4;
    static constexpr const char* kLoadingText = "Loading...";
    // Space between the loading panel's edge and its text.
    static constexpr int kLoadingPaddingX = 24;
    static constexpr int kLoadingPaddingY = 12;

    // Builds every screen under `root`, hidden, laid out for the root's size.
    explicit CGameScreens(CGuiComponent& root);

    // After the screen size changed.
    void Relayout(int screenWidth, int screenHeight);

    // Whether a shown screen element lies under the point (screen pixels), so
    // a click there is not one into the scene.
    bool TakesClick(int x, int y) const;

    CInputFieldScreen& InputField() { return m_inputField; }
    const CInputFieldScreen& InputField() const { return m_inputField; }
    CMessageBoxScreen& MessageBox() { return m_messageBox; }
    const CMessageBoxScreen& MessageBox() const { return m_messageBox; }
    CInventoryScreen& Inventory() { return m_inventory; }
    const CInventoryScreen& Inventory() const { return m_inventory; }
    CContextWindowScreen& ContextWindow() { return m_contextWindow; }
    const CContextWindowScreen& ContextWindow() const { return m_contextWindow; }
    COptionsButtonScreen& OptionsButton() { return m_optionsButton; }
    const COptionsButtonScreen& OptionsButton() const { return m_optionsButton; }
    CGameMenuScreen& GameMenu() { return m_gameMenu; }
    const CGameMenuScreen& GameMenu() const { return m_gameMenu; }

    // The label keeps its right edge and takes the width of the new text.
    void SetFpsText(const std::string& text);
    void ShowFpsLabel(bool visible);
    bool FpsLabelVisible() const;
    const CGuiComponentText& FpsLabel() const { return m_fpsLabel; }

    void ShowLoadingPanel(bool visible);
    // What the renderer draws alone while a scene loads.
    CGuiComponent& LoadingPanel();
    const CGuiComponent& LoadingPanel() const;
    const CGuiComponentText& LoadingText() const { return m_loadingText; }

private:
    void PlaceFpsLabel(int right);

    // In drawing order: the windows that open over the others come later; the
    // message box over the game menu, so "Game saved." shows on it; the
    // loading panel last.
    CInputFieldScreen m_inputField;
    CInventoryScreen m_inventory;
    COptionsButtonScreen m_optionsButton;
    CGuiComponentText& m_fpsLabel;
    CContextWindowScreen m_contextWindow;
    CGameMenuScreen m_gameMenu;
    CMessageBoxScreen m_messageBox;
    CGuiComponentFrame& m_loadingPanel;
    CGuiComponentText& m_loadingText;
};
