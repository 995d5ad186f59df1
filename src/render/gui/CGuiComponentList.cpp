#include "render/gui/CGuiComponentList.h"

#include "render/gui/CGuiComponentText.h"

#include <algorithm>

namespace {

// Room between columns.
constexpr int kColumnGap = 8;

} // namespace

CGuiComponentList::CGuiComponentList(CGuiComponent& parent) : CGuiComponent(parent) {}

void CGuiComponentList::SetRect(int left, int top, int right, int bottom) {
    CGuiComponent::SetRect(left, top, right, bottom);
    MarkChanged();
}

void CGuiComponentList::SetStyle(std::uint32_t itemColour, std::uint32_t selectedColour, int itemFontHeight,
                                 int lastColumn) {
    m_itemColour = itemColour;
    m_selectedColour = selectedColour;
    m_itemFontHeight = itemFontHeight;
    m_lastColumn = lastColumn;
}

CGuiComponentText& CGuiComponentList::Item(int index) const {
    return static_cast<CGuiComponentText&>(*Children().at(static_cast<std::size_t>(index)));
}

std::vector<std::string> CGuiComponentList::ItemTexts() const {
    std::vector<std::string> texts;
    texts.reserve(Children().size());
    for (int index = 0; index < ItemCount(); ++index) {
        texts.push_back(Item(index).Text());
    }
    return texts;
}

void CGuiComponentList::Fit(const CGuiComponentText& item) {
    m_rowHeight = std::max(m_rowHeight, item.TextHeight());
    m_columnWidth = std::max(m_columnWidth, item.TextWidth() + kColumnGap);
}

void CGuiComponentList::AddItem(const std::string& text, bool layOut) {
    CGuiComponentText& item = CreateChild<CGuiComponentText>(m_itemColour, m_itemFontHeight);
    item.SetText(text);
    Fit(item);
    if (layOut) {
        LayOut();
    }
}

void CGuiComponentList::SetItemText(int index, const std::string& text, bool layOut) {
    if (index < 0 || index >= ItemCount()) {
        return;
    }
    CGuiComponentText& item = Item(index);
    item.SetText(text);
    Fit(item);
    if (layOut) {
        LayOut();
    }
}

void CGuiComponentList::SetSelectedText(const std::string& text, bool layOut) {
    SetItemText(m_selected, text, layOut);
}

void CGuiComponentList::LayOut() {
    // Without a row height (no items) nothing can be placed.
    const int rowsPerColumn = m_rowHeight > 0 ? Height() / m_rowHeight : 0;
    int column = 0;
    int row = 0;
    for (int index = 0; index < ItemCount(); ++index) {
        CGuiComponentText& item = Item(index);
        if (index < m_firstShown || rowsPerColumn <= 0 || column > m_lastColumn) {
            item.SetVisible(false);
            continue;
        }
        item.SetRect(column * m_columnWidth, row * m_rowHeight,
                     std::min((column + 1) * m_columnWidth, Width()),
                     std::min((row + 1) * m_rowHeight, Height()));
        item.SetVisible(true);
        if (++row == rowsPerColumn) {
            row = 0;
            ++column;
        }
    }
}

int CGuiComponentList::ItemAt(int x, int y) const {
    for (int index = 0; index < ItemCount(); ++index) {
        if (Item(index).IsVisible() && Item(index).HitTest(x, y)) {
            return index;
        }
    }
    return -1;
}

void CGuiComponentList::SelectAt(int x, int y) {
    Select(ItemAt(x, y));
}

void CGuiComponentList::Select(int index) {
    Deselect();
    if (index < 0 || index >= ItemCount()) {
        return;
    }
    m_selected = index;
    Item(index).SetColour(m_selectedColour);
}

void CGuiComponentList::Deselect() {
    if (m_selected >= 0) {
        Item(m_selected).SetColour(m_itemColour);
    }
    m_selected = -1;
}

std::string CGuiComponentList::SelectedText() const {
    return m_selected >= 0 ? Item(m_selected).Text() : std::string();
}

void CGuiComponentList::Clear() {
    DeleteChildren();
    m_selected = -1;
    m_rowHeight = 0;
    m_columnWidth = 0;
}
