#include "app/screens/CInventoryScreen.h"
#include "app/screens/ScreenTest.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentList.h"
#include "render/gui/CGuiComponentText.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Items(int count) {
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i) {
        items.push_back("item " + std::to_string(i));
    }
    return items;
}

class CInventoryScreenTest : public ScreenTest {
protected:
    CInventoryScreenTest() { inventory.Relayout(kFirstScreen.width, kFirstScreen.height); }

    // A point inside the shown item, in screen pixels.
    struct Point {
        int x;
        int y;
    };
    Point OnItem(int index) const {
        const CGuiComponentText& item = inventory.List().Item(index);
        return {item.AbsoluteLeft() + 2, item.AbsoluteTop() + item.Height() / 2};
    }

    CInventoryScreen inventory{root};
};

TEST_F(CInventoryScreenTest, BuiltHiddenWithTheButtonTextAndNoItems) {
    EXPECT_FALSE(inventory.PanelVisible());
    EXPECT_FALSE(inventory.WindowVisible());
    EXPECT_EQ(inventory.Button().Label().Text(), "Inventory");
    EXPECT_TRUE(inventory.Items().empty());
    EXPECT_EQ(inventory.WindowHeight(), 240);
}

TEST_F(CInventoryScreenTest, WindowHeightFollowsTheNumberOfItems) {
    struct Case {
        int items;
        int height;
    };
    for (const Case& c : {Case{0, 240}, Case{9, 240}, Case{10, 240}, Case{11, 264}, Case{20, 480}}) {
        SCOPED_TRACE(c.items);
        inventory.SetItems(Items(c.items));
        EXPECT_EQ(inventory.WindowHeight(), c.height);
        EXPECT_EQ(inventory.Window().Height(), c.height);
        EXPECT_EQ(inventory.Items(), Items(c.items));
        // One column with every item shown, in order, inside the window.
        const CGuiComponentList& list = inventory.List();
        for (int i = 0; i < c.items; ++i) {
            const CGuiComponentText& item = list.Item(i);
            EXPECT_TRUE(item.IsVisible()) << i;
            EXPECT_EQ(item.Left(), 0) << i;
            EXPECT_EQ(item.Top(), i * list.RowHeight()) << i;
            EXPECT_LE(item.Bottom(), list.Height()) << i;
        }
    }
}

TEST_F(CInventoryScreenTest, ColumnAtTheRightEdgeWithTheWindowDirectlyAboveTheButton) {
    inventory.SetItems(Items(11));
    for (const ScreenSize& screen : {kFirstScreen, kSecondScreen}) {
        SCOPED_TRACE(screen.width);
        inventory.Relayout(screen.width, screen.height);

        const CGuiComponent& panel = inventory.Panel();
        EXPECT_EQ(panel.AbsoluteLeft(), screen.width - 180);
        EXPECT_EQ(panel.AbsoluteTop(), 40);
        EXPECT_EQ(panel.Width(), 180);
        EXPECT_EQ(panel.Bottom(), screen.height);

        const CGuiComponentFrame& button = inventory.Button().Frame();
        EXPECT_EQ(button.AbsoluteLeft(), screen.width - 180);
        EXPECT_EQ(button.AbsoluteTop(), screen.height - 32);
        EXPECT_EQ(button.Width(), 180);
        EXPECT_EQ(button.Height(), 32);

        const CGuiComponentFrame& window = inventory.Window();
        EXPECT_EQ(window.AbsoluteLeft(), screen.width - 180);
        EXPECT_EQ(window.Width(), 180);
        EXPECT_EQ(window.AbsoluteTop(), screen.height - 32 - 264);
        EXPECT_EQ(window.AbsoluteTop() + window.Height(), screen.height - 32);

        const CGuiComponentList& list = inventory.List();
        EXPECT_EQ(list.Left(), 4);
        EXPECT_EQ(list.Top(), 4);
        EXPECT_EQ(list.Right(), 176);
        EXPECT_EQ(list.Bottom(), 260);
    }
}

TEST_F(CInventoryScreenTest, ButtonLabelIsCentred) {
    const CGuiComponentText& label = inventory.Button().Label();
    EXPECT_LE(std::abs(2 * label.Left() + label.TextWidth() - 180), 1);
    EXPECT_LE(std::abs(2 * label.Top() + label.TextHeight() - 32), 1);
}

TEST_F(CInventoryScreenTest, WindowOpensOnlyWithThePanel) {
    inventory.ToggleWindow();
    EXPECT_FALSE(inventory.WindowVisible()) << "the panel is hidden";
    inventory.ShowPanel(true);
    EXPECT_TRUE(inventory.WindowVisible());
    inventory.ToggleWindow();
    EXPECT_FALSE(inventory.WindowVisible());
    inventory.ShowWindow(true);
    EXPECT_TRUE(inventory.WindowVisible());
    inventory.ShowPanel(false);
    EXPECT_FALSE(inventory.WindowVisible());
}

TEST_F(CInventoryScreenTest, ButtonAndWindowTakePointsOnlyWhileShown) {
    inventory.SetItems(Items(3));
    const int x = 1024 - 90;
    const int onButton = 768 - 16;
    const int onWindow = 768 - 32 - 120;
    const int aboveWindow = 768 - 32 - 240 - 10;
    struct Case {
        bool panel;
        bool window;
        bool button;
        bool inWindow;
    };
    for (const Case& c : {Case{false, false, false, false}, Case{false, true, false, false},
                          Case{true, false, true, false}, Case{true, true, true, true}}) {
        SCOPED_TRACE(testing::Message() << c.panel << c.window);
        inventory.ShowPanel(c.panel);
        inventory.ShowWindow(c.window);
        EXPECT_EQ(inventory.ButtonContains(x, onButton), c.button);
        EXPECT_EQ(inventory.WindowContains(x, onWindow), c.inWindow);
        EXPECT_FALSE(inventory.ButtonContains(x, onWindow));
        EXPECT_FALSE(inventory.WindowContains(x, onButton - 8));
        EXPECT_FALSE(inventory.WindowContains(x, aboveWindow));
        EXPECT_FALSE(inventory.ButtonContains(1024 - 181, onButton));
    }
}

TEST_F(CInventoryScreenTest, SelectAtPicksTheItemUnderThePoint) {
    inventory.SetItems({"lamp", "rope", "key"});
    inventory.ShowPanel(true);
    inventory.ShowWindow(true);
    for (int i : {2, 0, 1}) {
        const Point point = OnItem(i);
        EXPECT_EQ(inventory.SelectAt(point.x, point.y), inventory.Items()[i]);
        EXPECT_EQ(inventory.SelectedItem(), inventory.Items()[i]);
    }
    // Below the last item the window is empty: nothing is selected there.
    const Point below = OnItem(2);
    EXPECT_EQ(inventory.SelectAt(below.x, below.y + 3 * inventory.List().RowHeight()), "");
    EXPECT_EQ(inventory.SelectedItem(), "");

    const Point rope = OnItem(1);
    inventory.SelectAt(rope.x, rope.y);
    inventory.ShowWindow(false);
    EXPECT_EQ(inventory.SelectAt(rope.x, rope.y), "") << "a closed window has no items to pick";
    EXPECT_EQ(inventory.SelectedItem(), "");
}

TEST_F(CInventoryScreenTest, NewItemsClearTheSelection) {
    inventory.SetItems({"lamp", "rope"});
    inventory.ShowPanel(true);
    inventory.ShowWindow(true);
    const Point rope = OnItem(1);
    inventory.SelectAt(rope.x, rope.y);
    inventory.SetItems({"lamp", "rope", "key"});
    EXPECT_EQ(inventory.SelectedItem(), "");
}

} // namespace
