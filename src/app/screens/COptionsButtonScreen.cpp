#include "app/screens/COptionsButtonScreen.h"

COptionsButtonScreen::COptionsButtonScreen(CGuiComponent& root) : m_button(root, kText) {
    m_button.Show(false);
}

// The corner is the same distance from the left edge on every screen.
void COptionsButtonScreen::Relayout(int, int screenHeight) {
    const int bottom = screenHeight - kMargin;
    m_button.SetRect(kMargin, bottom - kHeight, kMargin + kWidth, bottom);
}

void COptionsButtonScreen::Show(bool visible) {
    m_button.Show(visible);
}

bool COptionsButtonScreen::Visible() const {
    return m_button.Visible();
}

bool COptionsButtonScreen::Contains(int x, int y) const {
    return Visible() && m_button.HitTest(x, y);
}
