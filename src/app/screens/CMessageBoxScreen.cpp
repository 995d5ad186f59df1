#include "app/screens/CMessageBoxScreen.h"

#include "app/screens/ScreenStyle.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentText.h"

CMessageBoxScreen::CMessageBoxScreen(CGuiComponent& root)
    : m_frame(root.CreateChild<CGuiComponentFrame>()),
      m_text(m_frame.CreateChild<CGuiComponentText>(ScreenStyle::kText, kLargestFont)) {
    ScreenStyle::StyleWindow(m_frame);
    m_frame.SetVisible(false);
}

void CMessageBoxScreen::Show(const std::string& text, int screenWidth, int screenHeight) {
    if (text != m_text.Text()) {
        m_text.SetText(text);
    }
    Fit(screenWidth, screenHeight);
    m_frame.SetVisible(true);
}

void CMessageBoxScreen::Hide() {
    m_frame.SetVisible(false);
}

bool CMessageBoxScreen::Visible() const {
    return m_frame.IsVisible();
}

void CMessageBoxScreen::Relayout(int screenWidth, int screenHeight) {
    Fit(screenWidth, screenHeight);
}

int CMessageBoxScreen::FontHeight() const {
    return m_text.FontHeight();
}

bool CMessageBoxScreen::Contains(int x, int y) const {
    return Visible() && m_frame.HitTest(x, y);
}

void CMessageBoxScreen::SetFontHeight(int fontHeight) {
    // Each change rasterises the text again.
    if (fontHeight != m_text.FontHeight()) {
        m_text.SetFontHeight(fontHeight);
    }
}

bool CMessageBoxScreen::Fits(int screenWidth, int screenHeight) const {
    return m_text.TextWidth() <= screenWidth - kScreenMargin &&
           m_text.TextHeight() <= screenHeight - kScreenMargin;
}

void CMessageBoxScreen::Fit(int screenWidth, int screenHeight) {
    SetFontHeight(kLargestFont);
    while (!Fits(screenWidth, screenHeight) && m_text.FontHeight() < kSmallestFont) {
        SetFontHeight(m_text.FontHeight() + kFontStep);
    }
    const int width = m_text.TextWidth();
    const int height = m_text.TextHeight();
    const int frame = 2 * kTextInset;
    m_frame.SetRect((screenWidth - width - frame) / 2, (screenHeight - height - frame) / 2,
                    (screenWidth + width + frame) / 2, (screenHeight + height + frame) / 2);
    m_text.SetRect(kTextInset, kTextInset, m_frame.Width() - kTextInset, m_frame.Height() - kTextInset);
}
