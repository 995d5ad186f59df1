#pragma once

#include <string>

class CGuiComponent;
class CGuiComponentFrame;
class CGuiComponentText;

// A message from the scripts, centred on the screen in letters small enough
// for it to fit.
class CMessageBoxScreen {
public:
    static constexpr int kLargestFont = -19;
    static constexpr int kSmallestFont = -7;
    // Each try makes the letters this much smaller.
    static constexpr int kFontStep = 2;
    // The text should leave this much of the screen's width and height free.
    static constexpr int kScreenMargin = 100;
    // Between the frame's edge and the text.
    static constexpr int kTextInset = 8;

    // Built hidden under `root`.
    explicit CMessageBoxScreen(CGuiComponent& root);
    CMessageBoxScreen(const CMessageBoxScreen&) = delete;
    CMessageBoxScreen& operator=(const CMessageBoxScreen&) = delete;

    // Fits the text to the screen, centres the box and shows it.
    void Show(const std::string& text, int screenWidth, int screenHeight);
    void Hide();
    bool Visible() const;
    // Fits and centres the current text again for a new screen size.
    void Relayout(int screenWidth, int screenHeight);

    int FontHeight() const;
    // Screen pixels, edges included; false while hidden.
    bool Contains(int x, int y) const;

    const CGuiComponentFrame& Frame() const { return m_frame; }
    const CGuiComponentText& TextComponent() const { return m_text; }

private:
    // The largest letters, from kLargestFont down to kSmallestFont, in which
    // the text fits the screen; the smallest when none does.
    void Fit(int screenWidth, int screenHeight);
    void SetFontHeight(int fontHeight);
    bool Fits(int screenWidth, int screenHeight) const;

    CGuiComponentFrame& m_frame;
    CGuiComponentText& m_text;
};
