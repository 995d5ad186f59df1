#pragma once

#include <string>

class CGuiComponent;
class CGuiComponentFrame;
class CGuiComponentText;

// A small raised frame with a centred label: something to click on a screen.
class CScreenButton {
public:
    CScreenButton(CGuiComponent& parent, const std::string& label);
    CScreenButton(const CScreenButton&) = delete;
    CScreenButton& operator=(const CScreenButton&) = delete;

    // Relative to the parent; the label is centred again.
    void SetRect(int left, int top, int right, int bottom);
    void Show(bool visible);
    bool Visible() const;
    // Screen pixels, edges included; whether the button is shown at all is
    // its owner's question, since a hidden parent hides it too.
    bool HitTest(int x, int y) const;

    const CGuiComponentFrame& Frame() const { return m_frame; }
    const CGuiComponentText& Label() const { return m_label; }

private:
    CGuiComponentFrame& m_frame;
    CGuiComponentText& m_label;
};
