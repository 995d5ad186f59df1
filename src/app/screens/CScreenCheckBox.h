#pragma once

#include <string>

class CGuiComponent;
class CGuiComponentFrame;
class CGuiComponentText;

// A switch on a screen: a small sunken box, filled while the switch is on,
// and its text beside it. A click anywhere on its rectangle is a click on it.
class CScreenCheckBox {
public:
    static constexpr int kBoxSize = 16;
    // Between the box's edge and the fill that marks it on.
    static constexpr int kMarkInset = 4;
    // Between the box and the text.
    static constexpr int kTextGap = 8;

    // Built off.
    CScreenCheckBox(CGuiComponent& parent, const std::string& text);
    CScreenCheckBox(const CScreenCheckBox&) = delete;
    CScreenCheckBox& operator=(const CScreenCheckBox&) = delete;

    // Relative to the parent; the box and the text are centred on its height.
    void SetRect(int left, int top, int right, int bottom);
    void SetChecked(bool checked);
    bool Checked() const;
    // Screen pixels, edges included; whether it is shown is its owner's question.
    bool HitTest(int x, int y) const;

    const CGuiComponent& Area() const { return m_area; }
    const CGuiComponentFrame& Box() const { return m_box; }
    const CGuiComponentFrame& Mark() const { return m_mark; }
    const CGuiComponentText& Label() const { return m_label; }

private:
    CGuiComponent& m_area;
    CGuiComponentFrame& m_box;
    CGuiComponentFrame& m_mark;
    CGuiComponentText& m_label;
};
