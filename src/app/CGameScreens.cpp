#include "app/CGameScreens.h"

#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentText.h"

CGameScreens::CGameScreens(CGuiComponent& root)
    : m_inputField(root), m_inventory(root), m_optionsButton(root),
      m_fpsLabel(root.CreateChild<CGuiComponentText>()), m_contextWindow(root), m_gameMenu(root),
      m_messageBox(root), m_loadingPanel(root.CreateChild<CGuiComponentFrame>()),
      m_loadingText(m_loadingPanel.CreateChild<CGuiComponentText>()) {
    m_fpsLabel.SetVisible(false);
    m_loadingPanel.SetVisible(false);
    m_loadingText.SetText(kLoadingText);
    Relayout(root.Width(), root.Height());
}

void CGameScreens::Relayout(int screenWidth, int screenHeight) {
    m_inputField.Relayout(screenWidth, screenHeight);
    m_inventory.Relayout(screenWidth, screenHeight);
    m_optionsButton.Relayout(screenWidth, screenHeight);
    m_contextWindow.Relayout(screenWidth, screenHeight);
    m_gameMenu.Relayout(screenWidth, screenHeight);
    m_messageBox.Relayout(screenWidth, screenHeight);
    PlaceFpsLabel(screenWidth - kFpsRightMargin);

    const int width = m_loadingText.TextWidth() + 2 * kLoadingPaddingX;
    const int height = m_loadingText.TextHeight() + 2 * kLoadingPaddingY;
    const int left = (screenWidth - width) / 2;
    const int top = (screenHeight - height) / 2;
    m_loadingPanel.SetRect(left, top, left + width, top + height);
    m_loadingText.SetRect(kLoadingPaddingX, kLoadingPaddingY, width - kLoadingPaddingX,
                          height - kLoadingPaddingY);
}

bool CGameScreens::TakesClick(int x, int y) const {
    return m_inputField.Contains(x, y) || m_inventory.ButtonContains(x, y) ||
           m_inventory.WindowContains(x, y) || m_contextWindow.Contains(x, y) ||
           m_optionsButton.Contains(x, y) || m_gameMenu.Contains(x, y) || m_messageBox.Contains(x, y);
}

void CGameScreens::SetFpsText(const std::string& text) {
    m_fpsLabel.SetText(text);
    PlaceFpsLabel(m_fpsLabel.Right());
}

void CGameScreens::PlaceFpsLabel(int right) {
    m_fpsLabel.SetRect(right - m_fpsLabel.TextWidth(), kFpsTop, right, kFpsBottom);
}

void CGameScreens::ShowFpsLabel(bool visible) {
    m_fpsLabel.SetVisible(visible);
}

bool CGameScreens::FpsLabelVisible() const {
    return m_fpsLabel.IsVisible();
}

void CGameScreens::ShowLoadingPanel(bool visible) {
    m_loadingPanel.SetVisible(visible);
}

CGuiComponent& CGameScreens::LoadingPanel() {
    return m_loadingPanel;
}

const CGuiComponent& CGameScreens::LoadingPanel() const {
    return m_loadingPanel;
}
