#pragma once

#include "app/screens/CScreenButton.h"

#include <string>
#include <vector>

class CGuiComponent;
class CGuiComponentFrame;
class CGuiComponentList;

// The column at the right edge of the screen: the "Inventory" button at its
// bottom and, opened and closed by it, the window listing what the player
// carries, directly above the button.
class CInventoryScreen {
public:
    static constexpr int kPanelWidth = 180;
    static constexpr int kTop = 40;
    static constexpr int kButtonHeight = 32;
    // The window's height is counted in rows of this height.
    static constexpr int kRowHeight = 24;
    static constexpr int kMinimumListHeight = 240;
    static constexpr int kListInset = 4;
    // Small enough that a row of text stays under kRowHeight, so the rows the
    // window is sized for hold every item.
    static constexpr int kItemFontHeight = -18;
    static constexpr const char* kButtonText = "Inventory";

    // Built hidden under `root`, the window closed and empty.
    explicit CInventoryScreen(CGuiComponent& root);
    CInventoryScreen(const CInventoryScreen&) = delete;
    CInventoryScreen& operator=(const CInventoryScreen&) = delete;

    void Relayout(int screenWidth, int screenHeight);
    void ShowPanel(bool visible);
    bool PanelVisible() const;
    void ToggleWindow();
    void ShowWindow(bool visible);
    // The window open and the panel holding it shown.
    bool WindowVisible() const;

    // Replaces the items, in order, and sizes the window for them.
    void SetItems(const std::vector<std::string>& items);
    std::vector<std::string> Items() const;
    int WindowHeight() const;

    // Screen pixels, edges included; the button only while the panel is
    // shown, the window only while it is open.
    bool ButtonContains(int x, int y) const;
    bool WindowContains(int x, int y) const;

    // Selects the item under the screen point and returns its text; anywhere
    // else (or with the window closed) the selection is cleared and the text
    // is empty.
    std::string SelectAt(int x, int y);
    std::string SelectedItem() const;

    const CGuiComponent& Panel() const { return m_panel; }
    const CScreenButton& Button() const { return m_button; }
    const CGuiComponentFrame& Window() const { return m_window; }
    const CGuiComponentList& List() const { return m_list; }

private:
    // Directly above the button, as high as the items need.
    void PlaceWindow();

    CGuiComponent& m_panel;
    CScreenButton m_button;
    CGuiComponentFrame& m_window;
    CGuiComponentList& m_list;
    int m_windowHeight = kMinimumListHeight;
};
