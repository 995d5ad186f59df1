#pragma once

#include "render/gui/CGuiComponent.h"

#include <cstdint>
#include <string>
#include <vector>

class CGuiComponentText;

// Text items laid out in rows and columns (column by column), one of them
// selectable. The items are the list's children; it draws nothing itself.
class CGuiComponentList : public CGuiComponent {
public:
    explicit CGuiComponentList(CGuiComponent& parent);

    void SetRect(int left, int top, int right, int bottom) override;

    void SetStyle(std::uint32_t itemColour, std::uint32_t selectedColour, int itemFontHeight, int lastColumn);
    void AddItem(const std::string& text, bool layOut);
    // Rows and columns grow to fit the new text; an index that names no item
    // changes nothing.
    void SetItemText(int index, const std::string& text, bool layOut);
    // Nothing happens without a selection.
    void SetSelectedText(const std::string& text, bool layOut);
    void LayOut();

    // The first shown item under the point (absolute), or -1.
    int ItemAt(int x, int y) const;
    void SelectAt(int x, int y);
    // A negative or too large index selects nothing.
    void Select(int index);
    void Deselect();
    std::string SelectedText() const;
    // -1 without a selection.
    int SelectedIndex() const { return m_selected; }
    void Clear();

    void SetFirstShownItem(int first) { m_firstShown = first; }
    int FirstShownItem() const { return m_firstShown; }
    int ItemCount() const { return static_cast<int>(Children().size()); }
    CGuiComponentText& Item(int index) const;
    // The items' texts, in order.
    std::vector<std::string> ItemTexts() const;
    int RowHeight() const { return m_rowHeight; }
    int ColumnWidth() const { return m_columnWidth; }

private:
    // Room for an item of this text's size.
    void Fit(const CGuiComponentText& item);

    std::uint32_t m_itemColour = 0xFFFFFF;
    std::uint32_t m_selectedColour = 0xA0A0A0;
    int m_itemFontHeight = -19;
    int m_lastColumn = 1;
    int m_firstShown = 0;
    int m_rowHeight = 0;
    int m_columnWidth = 0;
    int m_selected = -1;
};
