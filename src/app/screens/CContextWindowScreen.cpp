#include "app/screens/CContextWindowScreen.h"

#include "app/screens/ScreenStyle.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentList.h"
#include "render/gui/CGuiComponentText.h"

#include <algorithm>

namespace {

// The window is sized for every entry, one under the other.
constexpr int kLastColumn = 0;

// Where a window of `size` starts on one axis: after the cursor when it ends
// before the screen's edge, else before the cursor.
int BesideCursor(int cursor, int size, int limit) {
    return cursor + size < limit ? cursor : cursor - size;
}

// Shifted back onto the screen on one axis; the far edge is checked last, so
// a window larger than the screen ends at the screen's edge.
int OnScreen(int start, int size, int limit) {
    if (start < 0) {
        start = 0;
    }
    if (start + size > limit) {
        start = limit - size;
    }
    return start;
}

} // namespace

CContextWindowScreen::CContextWindowScreen(CGuiComponent& root)
    : m_frame(root.CreateChild<CGuiComponentFrame>()),
      m_caption(m_frame.CreateChild<CGuiComponentText>(ScreenStyle::kCaptionText, ScreenStyle::kFontHeight)),
      m_list(m_frame.CreateChild<CGuiComponentList>()) {
    ScreenStyle::StyleWindow(m_frame);
    m_list.SetStyle(ScreenStyle::kText, ScreenStyle::kHighlightText, ScreenStyle::kFontHeight, kLastColumn);
    m_frame.SetVisible(false);
}

void CContextWindowScreen::Open(const std::string& caption, const std::vector<std::string>& entries) {
    if (caption != m_caption.Text()) {
        m_caption.SetText(caption);
    }
    m_list.Clear();
    for (const std::string& entry : entries) {
        m_list.AddItem(entry, false);
    }
    const int contentWidth = std::max(m_caption.TextWidth(), m_list.ColumnWidth());
    const int captionBottom = kPadding + m_caption.TextHeight();
    const int listTop = captionBottom + kCaptionGap;
    const int listBottom = listTop + m_list.RowHeight() * m_list.ItemCount();
    const int left = m_frame.Left();
    const int top = m_frame.Top();
    m_frame.SetRect(left, top, left + contentWidth + 2 * kPadding, top + listBottom + kPadding);
    m_caption.SetRect(kPadding, kPadding, kPadding + contentWidth, captionBottom);
    m_list.SetRect(kPadding, listTop, kPadding + contentWidth, listBottom);
    m_list.LayOut();
    m_frame.SetVisible(true);
}

CContextWindowScreen::Rect CContextWindowScreen::Placement(int x, int y, int w, int h, int screenWidth,
                                                           int screenHeight) {
    const int left = OnScreen(BesideCursor(x, w, screenWidth), w, screenWidth);
    const int top = OnScreen(BesideCursor(y, h, screenHeight), h, screenHeight);
    return {left, top, left + w, top + h};
}

void CContextWindowScreen::PlaceAt(int x, int y, int screenWidth, int screenHeight) {
    const Rect place = Placement(x, y, Width(), Height(), screenWidth, screenHeight);
    m_frame.SetRect(place.left, place.top, place.right, place.bottom);
}

void CContextWindowScreen::Relayout(int screenWidth, int screenHeight) {
    const int left = OnScreen(m_frame.Left(), Width(), screenWidth);
    const int top = OnScreen(m_frame.Top(), Height(), screenHeight);
    m_frame.SetRect(left, top, left + Width(), top + Height());
}

void CContextWindowScreen::Hide() {
    m_frame.SetVisible(false);
}

bool CContextWindowScreen::Visible() const {
    return m_frame.IsVisible();
}

bool CContextWindowScreen::Contains(int x, int y) const {
    return Visible() && m_frame.HitTest(x, y);
}

void CContextWindowScreen::HighlightAt(int x, int y) {
    const int index = Visible() ? m_list.ItemAt(x, y) : -1;
    // Recolouring rasterises the entry again.
    if (index != m_list.SelectedIndex()) {
        m_list.Select(index);
    }
}

std::string CContextWindowScreen::HighlightedEntry() const {
    return m_list.SelectedText();
}

std::string CContextWindowScreen::EntryAt(int x, int y) const {
    const int index = Visible() ? m_list.ItemAt(x, y) : -1;
    return index >= 0 ? m_list.Item(index).Text() : std::string();
}

const std::string& CContextWindowScreen::Caption() const {
    return m_caption.Text();
}

std::vector<std::string> CContextWindowScreen::Entries() const {
    return m_list.ItemTexts();
}

int CContextWindowScreen::Width() const {
    return m_frame.Width();
}

int CContextWindowScreen::Height() const {
    return m_frame.Height();
}
