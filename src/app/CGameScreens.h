#pragma once

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

    CGuiComponentText& m_fpsLabel;
    CGuiComponentFrame& m_loadingPanel;
    CGuiComponentText& m_loadingText;
};
