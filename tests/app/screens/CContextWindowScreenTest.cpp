#include "app/screens/CContextWindowScreen.h"
#include "app/screens/ScreenStyle.h"
#include "app/screens/ScreenTest.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentList.h"
#include "render/gui/CGuiComponentText.h"

#include <ostream>
#include <string>
#include <vector>

using Rect = CContextWindowScreen::Rect;

std::ostream& operator<<(std::ostream& out, const Rect& rect) {
    return out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
}

namespace {

const std::vector<std::string> kVerbs = {"look at", "take", "use", "talk to"};

class CContextWindowScreenTest : public ScreenTest {
protected:
    struct Point {
        int x;
        int y;
    };
    // A point inside the entry, in screen pixels.
    Point OnEntry(int index) const {
        const CGuiComponentText& entry = window.List().Item(index);
        return {entry.AbsoluteLeft() + 2, entry.AbsoluteTop() + entry.Height() / 2};
    }

    CContextWindowScreen window{root};
};

TEST_F(CContextWindowScreenTest, BuiltHiddenAndEmpty) {
    EXPECT_FALSE(window.Visible());
    EXPECT_EQ(window.Caption(), "");
    EXPECT_TRUE(window.Entries().empty());
}

TEST_F(CContextWindowScreenTest, OpenFillsAndFitsTheWindowAroundCaptionAndEntries) {
    window.Open("wooden door", kVerbs);
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.Caption(), "wooden door");
    EXPECT_EQ(window.Entries(), kVerbs);

    // The caption on top, the entries under it in order, all inside the frame.
    const CGuiComponentText& caption = window.CaptionText();
    EXPECT_GE(caption.Width(), caption.TextWidth());
    int below = caption.Bottom();
    for (int i = 0; i < static_cast<int>(kVerbs.size()); ++i) {
        SCOPED_TRACE(i);
        const CGuiComponentText& entry = window.List().Item(i);
        EXPECT_TRUE(entry.IsVisible());
        EXPECT_GE(entry.AbsoluteTop() - window.Frame().AbsoluteTop(), below);
        below = entry.AbsoluteTop() + entry.Height() - window.Frame().AbsoluteTop();
        EXPECT_GE(entry.Width(), entry.TextWidth());
        EXPECT_LE(entry.AbsoluteLeft() + entry.Width(), window.Frame().AbsoluteLeft() + window.Width());
    }
    EXPECT_LE(below, window.Height());
    EXPECT_EQ(window.Width(), window.Frame().Width());
    EXPECT_EQ(window.Height(), window.Frame().Height());

    // Fewer entries, a smaller window; a longer caption, a wider one.
    const int height = window.Height();
    window.Open("a very long caption for a small thing", {"look at"});
    EXPECT_EQ(window.Entries(), std::vector<std::string>{"look at"});
    EXPECT_LT(window.Height(), height);
    EXPECT_GE(window.Width(), window.CaptionText().TextWidth() + 2 * CContextWindowScreen::kPadding);
}

TEST_F(CContextWindowScreenTest, PlacementBesideTheCursorAndBackOntoTheScreen) {
    struct Case {
        const char* what;
        int x, y, w, h;
        Rect expected;
    };
    const Case cases[] = {
        {"top-left corner: right of and below", 10, 10, 200, 150, {10, 10, 210, 160}},
        {"top-right corner: left of and below", 1000, 10, 200, 150, {800, 10, 1000, 160}},
        {"bottom-left corner: right of and above", 10, 700, 200, 150, {10, 550, 210, 700}},
        {"bottom-right corner: left of and above", 1000, 700, 200, 150, {800, 550, 1000, 700}},
        {"one pixel short of the right edge", 823, 617, 200, 150, {823, 617, 1023, 767}},
        {"reaching the right edge goes left", 824, 618, 200, 150, {624, 468, 824, 618}},
        {"no room either side: shifted right to 0", 500, 10, 600, 150, {0, 10, 600, 160}},
        {"no room above or below: shifted down to 0", 10, 400, 200, 500, {10, 0, 210, 500}},
        {"wider than the screen: ends at the right edge", 50, 10, 1100, 150, {-76, 10, 1024, 160}},
        {"higher than the screen: ends at the bottom", 10, 10, 200, 800, {10, -32, 210, 768}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CContextWindowScreen::Placement(c.x, c.y, c.w, c.h, 1024, 768), c.expected) << c.what;
    }
}

TEST_F(CContextWindowScreenTest, PlaceAtMovesTheOpenedWindowToTheCursor) {
    window.Open("lever", kVerbs);
    const int w = window.Width();
    const int h = window.Height();
    window.PlaceAt(1000, 700, 1024, 768);
    EXPECT_EQ(window.Frame().AbsoluteLeft(), 1000 - w);
    EXPECT_EQ(window.Frame().AbsoluteTop(), 700 - h);
    EXPECT_EQ(window.Width(), w);
    EXPECT_EQ(window.Height(), h);
    window.PlaceAt(20, 30, 1024, 768);
    EXPECT_EQ(window.Frame().AbsoluteLeft(), 20);
    EXPECT_EQ(window.Frame().AbsoluteTop(), 30);
    EXPECT_TRUE(window.Contains(20, 30));
    EXPECT_TRUE(window.Contains(20 + w, 30 + h));
    EXPECT_FALSE(window.Contains(19, 30));
}

TEST_F(CContextWindowScreenTest, HighlightFollowsThePointAndEntryAtLeavesItAlone) {
    window.Open("lever", kVerbs);
    window.PlaceAt(300, 200, 1024, 768);
    for (int i : {1, 3, 0}) {
        const Point point = OnEntry(i);
        window.HighlightAt(point.x, point.y);
        EXPECT_EQ(window.HighlightedEntry(), kVerbs[i]);
        for (int j = 0; j < static_cast<int>(kVerbs.size()); ++j) {
            EXPECT_EQ(window.List().Item(j).Colour(),
                      j == i ? ScreenStyle::kHighlightText : ScreenStyle::kText)
                << j;
        }
    }
    const Point take = OnEntry(1);
    EXPECT_EQ(window.EntryAt(take.x, take.y), "take");
    EXPECT_EQ(window.HighlightedEntry(), "look at");

    // On the caption and beside the window no entry is under the point.
    const Point onCaption = {window.CaptionText().AbsoluteLeft() + 2, window.CaptionText().AbsoluteTop() + 2};
    for (const Point& off : {onCaption, Point{100, 100}}) {
        EXPECT_EQ(window.EntryAt(off.x, off.y), "");
        window.HighlightAt(off.x, off.y);
        EXPECT_EQ(window.HighlightedEntry(), "");
    }
}

TEST_F(CContextWindowScreenTest, HighlightRasterisesOnlyWhenItMovesToAnotherEntry) {
    window.Open("lever", kVerbs);
    const Point use = OnEntry(2);
    window.HighlightAt(use.x, use.y);
    const int before = Rasterised();
    window.HighlightAt(use.x + 1, use.y);
    window.HighlightAt(use.x + 2, use.y + 1);
    window.HighlightAt(100, 700);
    window.HighlightAt(100, 701);
    EXPECT_EQ(Rasterised(), before + 1) << "only the entry that lost the highlight";
}

TEST_F(CContextWindowScreenTest, HiddenWindowTakesNoPointsAndReopensWithoutHighlight) {
    window.Open("lever", kVerbs);
    const Point use = OnEntry(2);
    window.HighlightAt(use.x, use.y);
    window.Hide();
    EXPECT_FALSE(window.Visible());
    EXPECT_FALSE(window.Contains(use.x, use.y));
    EXPECT_EQ(window.EntryAt(use.x, use.y), "");
    window.HighlightAt(use.x, use.y);
    EXPECT_EQ(window.HighlightedEntry(), "");

    window.Open("Action", {"walk", "wait"});
    EXPECT_EQ(window.HighlightedEntry(), "");
}

TEST_F(CContextWindowScreenTest, RelayoutKeepsThePlaceOrShiftsOntoASmallerScreen) {
    window.Open("lever", kVerbs);
    window.PlaceAt(300, 200, kFirstScreen.width, kFirstScreen.height);
    window.Relayout(kSecondScreen.width, kSecondScreen.height);
    EXPECT_EQ(window.Frame().Left(), 300);
    EXPECT_EQ(window.Frame().Top(), 200);

    window.PlaceAt(1270, 950, kSecondScreen.width, kSecondScreen.height);
    window.Relayout(kFirstScreen.width, kFirstScreen.height);
    EXPECT_EQ(window.Frame().Right(), kFirstScreen.width);
    EXPECT_EQ(window.Frame().Bottom(), kFirstScreen.height);
    EXPECT_GT(window.Width(), 0);
}

} // namespace
