#include "render/gui/CGuiComponentList.h"
#include "render/gui/CGuiComponentText.h"
#include "render_gui/GuiFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class GuiList : public GuiTest {
protected:
    GuiList() {
        list.SetRect(100, 200, 700, 500);
        for (int i = 0; i < 8; ++i) {
            list.AddItem("Item " + std::to_string(i), false);
        }
        row = list.RowHeight();
        column = list.ColumnWidth();
        // Three rows a column.
        list.SetRect(100, 200, 700, 200 + 3 * row + row / 2);
        list.LayOut();
    }

    CGuiComponentList& list = root.CreateChild<CGuiComponentList>();
    int row = 0;
    int column = 0;
};

TEST_F(GuiList, RowsAndColumnsFollowTheLargestItem) {
    int tallest = 0;
    int widest = 0;
    for (int i = 0; i < list.ItemCount(); ++i) {
        tallest = std::max(tallest, list.Item(i).TextHeight());
        widest = std::max(widest, list.Item(i).TextWidth());
    }
    EXPECT_EQ(row, tallest);
    EXPECT_EQ(column, widest + 8);
    EXPECT_EQ(list.Item(0).FontHeight(), -19);
    EXPECT_EQ(list.Item(0).Colour(), 0xFFFFFFu);
}

TEST_F(GuiList, ItemsFillColumnByColumnUpToTheLastColumn) {
    // Columns 0 and 1 of three rows: six items shown, the rest hidden.
    for (int i = 0; i < list.ItemCount(); ++i) {
        const CGuiComponentText& item = list.Item(i);
        SCOPED_TRACE(i);
        if (i >= 6) {
            EXPECT_FALSE(item.IsVisible());
            continue;
        }
        EXPECT_TRUE(item.IsVisible());
        EXPECT_EQ(item.Left(), (i / 3) * column);
        EXPECT_EQ(item.Top(), (i % 3) * row);
        EXPECT_EQ(item.Right(), (i / 3 + 1) * column);
        EXPECT_EQ(item.Bottom(), (i % 3 + 1) * row);
    }
}

TEST_F(GuiList, FirstShownItemHidesTheLeadingItems) {
    list.SetFirstShownItem(2);
    list.LayOut();
    EXPECT_FALSE(list.Item(0).IsVisible());
    EXPECT_FALSE(list.Item(1).IsVisible());
    for (int i = 2; i < 8; ++i) {
        EXPECT_TRUE(list.Item(i).IsVisible()) << i;
    }
    EXPECT_EQ(list.Item(2).Top(), 0);
    EXPECT_EQ(list.Item(5).Left(), column);
}

TEST_F(GuiList, LastColumnAndRowAreCutAtTheListsEdges) {
    list.SetStyle(0xFFFFFF, 0xA0A0A0, -19, 5);
    const int width = column + column / 2;
    list.SetRect(0, 0, width, 3 * row + row / 2);
    list.LayOut();
    EXPECT_EQ(list.Item(3).Right(), width);
    // Only whole rows count.
    EXPECT_EQ(list.Item(2).Bottom(), 3 * row);
}

TEST_F(GuiList, SelectionRecoloursTheItem) {
    list.Select(4);
    EXPECT_EQ(list.SelectedIndex(), 4);
    EXPECT_EQ(list.SelectedText(), "Item 4");
    EXPECT_EQ(list.Item(4).Colour(), 0xA0A0A0u);

    list.Select(1);
    EXPECT_EQ(list.Item(4).Colour(), 0xFFFFFFu);
    EXPECT_EQ(list.Item(1).Colour(), 0xA0A0A0u);

    for (int bad : {-1, 8, 100}) {
        list.Select(bad);
        EXPECT_EQ(list.SelectedIndex(), -1);
        EXPECT_EQ(list.SelectedText(), "");
    }
    EXPECT_EQ(list.Item(1).Colour(), 0xFFFFFFu);
}

TEST_F(GuiList, SelectAtFindsTheShownItemUnderThePoint) {
    // Second column, second row, in absolute coordinates.
    list.SelectAt(100 + column + 2, 200 + row + 2);
    EXPECT_EQ(list.SelectedIndex(), 4);
    // Hidden items are never picked, wherever they were placed before.
    list.SetFirstShownItem(7);
    list.LayOut();
    list.SelectAt(100 + 2, 200 + 2);
    EXPECT_EQ(list.SelectedIndex(), 7);
    list.SelectAt(100 + column + 2, 200 + row + 2);
    EXPECT_EQ(list.SelectedIndex(), -1);
}

TEST_F(GuiList, ItemAtNamesTheShownItemUnderThePointAndKeepsTheSelection) {
    list.Select(1);
    EXPECT_EQ(list.ItemAt(100 + column + 2, 200 + row + 2), 4);
    EXPECT_EQ(list.ItemAt(100 + 2, 200 + 2), 0);
    EXPECT_EQ(list.ItemAt(99, 200 + 2), -1);
    EXPECT_EQ(list.SelectedIndex(), 1);
}

TEST_F(GuiList, ItemTextsInTheirOrder) {
    const std::vector<std::string> texts = list.ItemTexts();
    ASSERT_EQ(texts.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(texts[i], "Item " + std::to_string(i));
    }
}

TEST_F(GuiList, SelectedTextCanBeReplacedAndWidensTheColumns) {
    list.SetSelectedText("ignored without a selection", true);
    EXPECT_EQ(list.Item(0).Text(), "Item 0");
    list.Select(0);
    list.SetSelectedText("A much longer item text", true);
    EXPECT_EQ(list.SelectedText(), "A much longer item text");
    EXPECT_EQ(list.ColumnWidth(), list.Item(0).TextWidth() + 8);
    EXPECT_EQ(list.Item(3).Left(), list.ColumnWidth());
}

TEST_F(GuiList, AnyItemsTextCanBeReplacedWithoutTouchingTheSelection) {
    list.Select(1);
    list.SetItemText(5, "A much longer item text", true);
    list.SetItemText(8, "no such item", true);
    list.SetItemText(-1, "no such item", true);
    EXPECT_EQ(list.ItemTexts(), (std::vector<std::string>{"Item 0", "Item 1", "Item 2", "Item 3", "Item 4",
                                                          "A much longer item text", "Item 6", "Item 7"}));
    EXPECT_EQ(list.SelectedIndex(), 1);
    EXPECT_EQ(list.ColumnWidth(), list.Item(5).TextWidth() + 8);
    EXPECT_EQ(list.Item(5).Width(), list.ColumnWidth()) << "laid out again for the wider column";
}

TEST_F(GuiList, ClearForgetsItemsSelectionAndSizes) {
    list.Select(2);
    list.Clear();
    EXPECT_EQ(list.ItemCount(), 0);
    EXPECT_EQ(list.SelectedIndex(), -1);
    EXPECT_EQ(list.RowHeight(), 0);
    EXPECT_EQ(list.ColumnWidth(), 0);
    list.LayOut();
    Update();
    EXPECT_EQ(gui.UsedTextured(), 0);
}

TEST_F(GuiList, ListDrawsOnlyItsItems) {
    Update();
    EXPECT_EQ(list.VertexCount(), 0);
    // Hidden items are written too, so scrolling needs no rebuild.
    EXPECT_EQ(gui.UsedTextured(), 8 * 6);
    EXPECT_EQ(device.CountCalls("DrawPrimitive"), 6);
}

TEST_F(GuiList, TooLowForOneRowShowsNothing) {
    list.SetRect(0, 0, 500, row - 1);
    list.LayOut();
    for (int i = 0; i < list.ItemCount(); ++i) {
        EXPECT_FALSE(list.Item(i).IsVisible()) << i;
    }
}

} // namespace
