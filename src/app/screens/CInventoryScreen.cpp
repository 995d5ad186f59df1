#include "app/screens/CInventoryScreen.h"

#include "app/screens/ScreenStyle.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentList.h"

namespace {

// The items go down a single column; more than the window holds are hidden.
constexpr int kLastColumn = 0;

} // namespace

CInventoryScreen::CInventoryScreen(CGuiComponent& root)
    : m_panel(root.CreateChild<CGuiComponent>()), m_button(m_panel, kButtonText),
      m_window(m_panel.CreateChild<CGuiComponentFrame>()), m_list(m_window.CreateChild<CGuiComponentList>()) {
    ScreenStyle::StyleWindow(m_window);
    m_list.SetStyle(ScreenStyle::kText, ScreenStyle::kHighlightText, kItemFontHeight, kLastColumn);
    m_panel.SetVisible(false);
    m_window.SetVisible(false);
}

void CInventoryScreen::Relayout(int screenWidth, int screenHeight) {
    m_panel.SetRect(screenWidth - kPanelWidth, kTop, screenWidth, screenHeight);
    m_button.SetRect(0, m_panel.Height() - kButtonHeight, kPanelWidth, m_panel.Height());
    PlaceWindow();
}

void CInventoryScreen::ShowPanel(bool visible) {
    m_panel.SetVisible(visible);
}

bool CInventoryScreen::PanelVisible() const {
    return m_panel.IsVisible();
}

void CInventoryScreen::ToggleWindow() {
    ShowWindow(!m_window.IsVisible());
}

void CInventoryScreen::ShowWindow(bool visible) {
    m_window.SetVisible(visible);
}

bool CInventoryScreen::WindowVisible() const {
    return m_panel.IsVisible() && m_window.IsVisible();
}

void CInventoryScreen::SetItems(const std::vector<std::string>& items) {
    m_list.Clear();
    for (const std::string& item : items) {
        m_list.AddItem(item, false);
    }
    // The smallest window serves until the items' rows need more than its list
    // area; from then on the window has a row for each item.
    const int rows = kRowHeight * static_cast<int>(items.size());
    m_windowHeight = rows > kMinimumListHeight - 2 * kListInset ? rows : kMinimumListHeight;
    PlaceWindow();
}

std::vector<std::string> CInventoryScreen::Items() const {
    return m_list.ItemTexts();
}

int CInventoryScreen::WindowHeight() const {
    return m_windowHeight;
}

void CInventoryScreen::PlaceWindow() {
    const int bottom = m_panel.Height() - kButtonHeight;
    m_window.SetRect(0, bottom - m_windowHeight, kPanelWidth, bottom);
    m_list.SetRect(kListInset, kListInset, kPanelWidth - kListInset, m_windowHeight - kListInset);
    m_list.LayOut();
}

bool CInventoryScreen::ButtonContains(int x, int y) const {
    return PanelVisible() && m_button.HitTest(x, y);
}

bool CInventoryScreen::WindowContains(int x, int y) const {
    return WindowVisible() && m_window.HitTest(x, y);
}

std::string CInventoryScreen::SelectAt(int x, int y) {
    m_list.Select(WindowVisible() ? m_list.ItemAt(x, y) : -1);
    return m_list.SelectedText();
}

std::string CInventoryScreen::SelectedItem() const {
    return m_list.SelectedText();
}
