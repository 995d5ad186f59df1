#pragma once

#include "app/screens/CScreenButton.h"

class CGuiComponent;

// The "Options" button that opens the game menu, in the bottom-left corner,
// clear of the input field at the top and the inventory at the right.
class COptionsButtonScreen {
public:
    static constexpr int kMargin = 8;
    static constexpr int kWidth = 100;
    static constexpr int kHeight = 32;
    static constexpr const char* kText = "Options";

    // Built hidden under `root`.
    explicit COptionsButtonScreen(CGuiComponent& root);

    void Relayout(int screenWidth, int screenHeight);
    void Show(bool visible);
    bool Visible() const;
    // Screen pixels, edges included; false while hidden.
    bool Contains(int x, int y) const;

    const CScreenButton& Button() const { return m_button; }

private:
    CScreenButton m_button;
};
