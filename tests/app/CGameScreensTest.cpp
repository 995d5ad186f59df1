#include "app/CGameScreens.h"

#include "app/screens/ScreenTest.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentText.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using CGameScreensTest = ScreenTest;

} // namespace

TEST_F(CGameScreensTest, BuiltHiddenWithTheLoadingText) {
    CGameScreens screens(root);
    EXPECT_FALSE(screens.FpsLabelVisible());
    EXPECT_FALSE(screens.LoadingPanel().IsVisible());
    EXPECT_FALSE(screens.InputField().Visible());
    EXPECT_FALSE(screens.MessageBox().Visible());
    EXPECT_FALSE(screens.Inventory().PanelVisible());
    EXPECT_FALSE(screens.ContextWindow().Visible());
    EXPECT_FALSE(screens.OptionsButton().Visible());
    EXPECT_FALSE(screens.GameMenu().Visible());
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
    const ScreenSize sizes[] = {{1280, 960}, {1600, 1200}, {1024, 768}};
    for (const ScreenSize& size : sizes) {
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

TEST_F(CGameScreensTest, RelayoutReachesEveryScreen) {
    CGameScreens screens(root);
    screens.Inventory().SetItems({"lamp", "rope"});
    screens.MessageBox().Show("The door is locked.", kFirstScreen.width, kFirstScreen.height);
    screens.ContextWindow().Open("door", {"open", "close"});
    screens.ContextWindow().PlaceAt(1000, 700, kFirstScreen.width, kFirstScreen.height);
    const int contextRight = screens.ContextWindow().Frame().Right();

    screens.Relayout(kSecondScreen.width, kSecondScreen.height);
    EXPECT_EQ(screens.InputField().Frame().Left(), 1280 / 2 - 512);
    EXPECT_EQ(screens.Inventory().Panel().Left(), 1280 - 180);
    EXPECT_EQ(screens.Inventory().Window().AbsoluteTop(), 960 - 32 - 240);
    EXPECT_EQ(screens.OptionsButton().Button().Frame().Top(), 960 - 40);
    const CGuiComponentFrame& box = screens.MessageBox().Frame();
    EXPECT_LE(std::abs(box.Left() + box.Right() - 1280), 1);
    EXPECT_LE(std::abs(box.Top() + box.Bottom() - 960), 1);
    EXPECT_EQ(screens.ContextWindow().Frame().Right(), contextRight) << "still on the larger screen";
    EXPECT_EQ(screens.GameMenu().Frame().Left(), 160);
    EXPECT_EQ(screens.GameMenu().Frame().Top(), 180);
}

TEST_F(CGameScreensTest, GameMenuIsDrawnOverTheScreensAndUnderTheMessageBox) {
    CGameScreens screens(root);
    const auto place = [this](const CGuiComponent& component) {
        const auto& children = root.Children();
        return std::find_if(children.begin(), children.end(),
                            [&component](const auto& child) { return child.get() == &component; }) -
               children.begin();
    };
    const std::ptrdiff_t menu = place(screens.GameMenu().Frame());
    const CGuiComponent* below[] = {&screens.InputField().Frame(), &screens.Inventory().Panel(),
                                    &screens.ContextWindow().Frame(),
                                    &screens.OptionsButton().Button().Frame()};
    for (const CGuiComponent* screen : below) {
        EXPECT_LT(place(*screen), menu);
    }
    EXPECT_GT(place(screens.MessageBox().Frame()), menu);
    EXPECT_GT(place(screens.LoadingPanel()), menu);
}

TEST_F(CGameScreensTest, ShownGameMenuTakesTheClicksOverItsWholeFrame) {
    CGameScreens screens(root);
    const CGuiComponentFrame& frame = screens.GameMenu().Frame();
    const int left = frame.AbsoluteLeft();
    const int top = frame.AbsoluteTop();
    const int right = left + frame.Width();
    const int bottom = top + frame.Height();
    EXPECT_FALSE(screens.TakesClick(left + 10, top + 10)) << "hidden";
    screens.GameMenu().Show(true);
    struct Case {
        int x;
        int y;
        bool taken;
    };
    for (const Case& c :
         {Case{left, top, true}, Case{right, bottom, true}, Case{(left + right) / 2, bottom - 2, true},
          Case{left - 1, top + 10, false}, Case{right - 10, bottom + 1, false}}) {
        EXPECT_EQ(screens.TakesClick(c.x, c.y), c.taken) << c.x << ", " << c.y;
    }
}

TEST_F(CGameScreensTest, ShownElementsTakeClicksAndTheSceneTheRest) {
    CGameScreens screens(root);
    screens.Inventory().SetItems({"lamp", "rope"});
    screens.ContextWindow().Open("door", {"open", "close"});
    screens.ContextWindow().PlaceAt(100, 200, kFirstScreen.width, kFirstScreen.height);
    screens.ContextWindow().Hide();

    struct Element {
        const char* what;
        int x;
        int y;
        void (*show)(CGameScreens&, bool);
    };
    const Element elements[] = {
        {"input field", 300, 20, [](CGameScreens& s, bool on) { s.InputField().Show(on); }},
        {"inventory button", 1024 - 90, 768 - 16,
         [](CGameScreens& s, bool on) { s.Inventory().ShowPanel(on); }},
        {"inventory window", 1024 - 90, 768 - 100,
         [](CGameScreens& s, bool on) {
             s.Inventory().ShowPanel(on);
             s.Inventory().ShowWindow(on);
         }},
        {"context window", 110, 210,
         [](CGameScreens& s, bool on) {
             if (on) {
                 s.ContextWindow().Open("door", {"open", "close"});
             } else {
                 s.ContextWindow().Hide();
             }
         }},
        {"options button", 50, 768 - 24, [](CGameScreens& s, bool on) { s.OptionsButton().Show(on); }},
        {"message box", 512, 384,
         [](CGameScreens& s, bool on) {
             if (on) {
                 s.MessageBox().Show("Hello.", 1024, 768);
             } else {
                 s.MessageBox().Hide();
             }
         }},
    };
    for (const Element& element : elements) {
        SCOPED_TRACE(element.what);
        EXPECT_FALSE(screens.TakesClick(element.x, element.y)) << "hidden";
        element.show(screens, true);
        EXPECT_TRUE(screens.TakesClick(element.x, element.y));
        element.show(screens, false);
    }

    // With everything shown, the scene still gets the room between them,
    // including the inventory column above its window.
    for (const Element& element : elements) {
        element.show(screens, true);
    }
    for (const Element& element : elements) {
        EXPECT_TRUE(screens.TakesClick(element.x, element.y)) << element.what;
    }
    EXPECT_FALSE(screens.TakesClick(300, 600));
    EXPECT_FALSE(screens.TakesClick(1024 - 90, 100));
}
