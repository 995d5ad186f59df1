#include "app/CGameScreens.h"

#include "render/device/DDeviceNull.h"
#include "render/gui/CGuiComponent.h"
#include "render/gui/CGuiComponentText.h"

#include <gtest/gtest.h>

namespace {

struct Screen {
    int width;
    int height;
};

class CGameScreensTest : public ::testing::Test {
protected:
    CGameScreensTest() { root.SetRect(0, 0, 1024, 768); }

    DDeviceNull device;
    CGuiComponent root{device};
};

} // namespace

TEST_F(CGameScreensTest, BuiltHiddenWithTheLoadingText) {
    CGameScreens screens(root);
    EXPECT_FALSE(screens.FpsLabelVisible());
    EXPECT_FALSE(screens.LoadingPanel().IsVisible());
    EXPECT_EQ(screens.LoadingText().Text(), "Loading...");
    EXPECT_GT(screens.LoadingText().TextWidth(), 0);
}

TEST_F(CGameScreensTest, FpsLabelKeepsItsRightEdgeAndTakesTheWidthOfEachText) {
    CGameScreens screens(root);
    const CGuiComponentText& label = screens.FpsLabel();
    for (const char* text : {"60 fps - 61 cycles", "1200 fps - 1250 cycles", "7 fps - 7 cycles"}) {
        SCOPED_TRACE(text);
        screens.SetFpsText(text);
        EXPECT_EQ(label.Text(), text);
        EXPECT_EQ(label.Right(), 1024 - CGameScreens::kFpsRightMargin);
        EXPECT_EQ(label.Width(), label.TextWidth());
        EXPECT_EQ(label.Top(), 40);
        EXPECT_EQ(label.Bottom(), 64);
    }
}

TEST_F(CGameScreensTest, RelayoutFollowsTheScreenSize) {
    CGameScreens screens(root);
    screens.SetFpsText("60 fps - 61 cycles");
    const Screen sizes[] = {{1280, 960}, {1600, 1200}, {1024, 768}};
    for (const Screen& size : sizes) {
        SCOPED_TRACE(size.width);
        screens.Relayout(size.width, size.height);
        const CGuiComponentText& label = screens.FpsLabel();
        EXPECT_EQ(label.Right(), size.width - CGameScreens::kFpsRightMargin);
        EXPECT_EQ(label.Width(), label.TextWidth()) << "the text is kept";

        // The loading panel is centred and holds its whole text.
        const CGuiComponent& panel = screens.LoadingPanel();
        EXPECT_LE(std::abs(panel.Left() + panel.Right() - size.width), 1);
        EXPECT_LE(std::abs(panel.Top() + panel.Bottom() - size.height), 1);
        const CGuiComponentText& text = screens.LoadingText();
        EXPECT_GE(text.Width(), text.TextWidth());
        EXPECT_GE(text.Height(), text.TextHeight());
        EXPECT_LE(text.Right(), panel.Width());
        EXPECT_LE(text.Bottom(), panel.Height());
    }
}
