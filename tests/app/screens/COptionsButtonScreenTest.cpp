#include "app/screens/COptionsButtonScreen.h"
#include "app/screens/ScreenTest.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentText.h"

#include <cstdlib>

namespace {

class COptionsButtonScreenTest : public ScreenTest {
protected:
    COptionsButtonScreen button{root};
};

TEST_F(COptionsButtonScreenTest, BuiltHiddenWithItsText) {
    EXPECT_FALSE(button.Visible());
    EXPECT_EQ(button.Button().Label().Text(), "Options");
}

TEST_F(COptionsButtonScreenTest, SitsInTheBottomLeftCornerOfEachScreen) {
    for (const ScreenSize& screen : {kFirstScreen, kSecondScreen}) {
        SCOPED_TRACE(screen.width);
        button.Relayout(screen.width, screen.height);
        const CGuiComponentFrame& frame = button.Button().Frame();
        EXPECT_EQ(frame.Left(), 8);
        EXPECT_EQ(frame.Top(), screen.height - 40);
        EXPECT_EQ(frame.Right(), 108);
        EXPECT_EQ(frame.Bottom(), screen.height - 8);
        const CGuiComponentText& label = button.Button().Label();
        EXPECT_LE(std::abs(2 * label.Left() + label.TextWidth() - frame.Width()), 1);
        EXPECT_LE(std::abs(2 * label.Top() + label.TextHeight() - frame.Height()), 1);
    }
}

TEST_F(COptionsButtonScreenTest, ContainsItsRectangleOnlyWhileShown) {
    button.Relayout(kFirstScreen.width, kFirstScreen.height);
    EXPECT_FALSE(button.Contains(50, 740));
    button.Show(true);
    struct Case {
        int x;
        int y;
        bool inside;
    };
    for (const Case& c : {Case{50, 740, true}, Case{8, 728, true}, Case{108, 760, true}, Case{7, 740, false},
                          Case{50, 761, false}, Case{109, 740, false}}) {
        EXPECT_EQ(button.Contains(c.x, c.y), c.inside) << c.x << ", " << c.y;
    }
}

} // namespace
