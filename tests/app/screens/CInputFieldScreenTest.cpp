#include "app/screens/CInputFieldScreen.h"
#include "app/screens/ScreenTest.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentText.h"

namespace {

class CInputFieldScreenTest : public ScreenTest {
protected:
    CInputFieldScreen field{root};
};

TEST_F(CInputFieldScreenTest, BuiltHiddenAndEmpty) {
    EXPECT_FALSE(field.Visible());
    EXPECT_EQ(field.CommandText(), "");
    EXPECT_EQ(field.InfoText(), "");
}

TEST_F(CInputFieldScreenTest, CentredAtTheTopWithTheCommandLineAndTheInfoTextInside) {
    field.SetInfoText("Score: 10 of 250");
    const int infoWidth = field.InfoTextComponent().TextWidth();
    ASSERT_GT(infoWidth, 0);
    struct Case {
        ScreenSize screen;
        int fieldLeft;
    };
    for (const Case& c : {Case{kFirstScreen, 0}, Case{kSecondScreen, 128}}) {
        SCOPED_TRACE(c.screen.width);
        field.Relayout(c.screen.width, c.screen.height);

        const CGuiComponentFrame& frame = field.Frame();
        EXPECT_EQ(frame.AbsoluteLeft(), c.fieldLeft);
        EXPECT_EQ(frame.AbsoluteTop(), 0);
        EXPECT_EQ(frame.Width(), 1024);
        EXPECT_EQ(frame.Height(), 40);

        const CGuiComponentFrame& inner = field.InnerFrame();
        EXPECT_EQ(inner.AbsoluteLeft(), c.fieldLeft + 4);
        EXPECT_EQ(inner.AbsoluteTop(), 4);
        EXPECT_EQ(inner.Right(), 666);
        EXPECT_EQ(inner.Bottom(), 36);
        EXPECT_EQ(field.CommandTextComponent().Parent(), &inner);

        const CGuiComponentText& info = field.InfoTextComponent();
        EXPECT_EQ(info.AbsoluteLeft(), c.fieldLeft + 1024 - infoWidth - 12);
        EXPECT_EQ(info.AbsoluteTop(), 8);
        EXPECT_EQ(info.Right(), 1020);
        EXPECT_EQ(info.Bottom(), 36);
    }
}

TEST_F(CInputFieldScreenTest, InfoTextKeepsItsRightEdgeForEachText) {
    for (const char* text : {"Day 1", "Score: 120 of 250, day 3", ""}) {
        SCOPED_TRACE(text);
        field.SetInfoText(text);
        const CGuiComponentText& info = field.InfoTextComponent();
        EXPECT_EQ(field.InfoText(), text);
        EXPECT_EQ(info.Width(), info.TextWidth() + 8);
        EXPECT_EQ(info.Right(), 1020);
    }
}

TEST_F(CInputFieldScreenTest, TextsAreRasterisedOnlyWhenTheyChange) {
    using Setter = void (CInputFieldScreen::*)(const std::string&);
    for (Setter set : {&CInputFieldScreen::SetCommandText, &CInputFieldScreen::SetInfoText}) {
        const int before = Rasterised();
        (field.*set)("look at the door");
        EXPECT_EQ(Rasterised(), before + 1);
        (field.*set)("look at the door");
        (field.*set)("look at the door");
        EXPECT_EQ(Rasterised(), before + 1);
        (field.*set)("open the door");
        EXPECT_EQ(Rasterised(), before + 2);
    }
    EXPECT_EQ(field.CommandText(), "open the door");
    EXPECT_EQ(field.InfoText(), "open the door");
}

TEST_F(CInputFieldScreenTest, ContainsItsWholeRectangleOnlyWhileShown) {
    field.Relayout(kSecondScreen.width, kSecondScreen.height);
    EXPECT_FALSE(field.Contains(640, 20));
    field.Show(true);
    struct Case {
        int x;
        int y;
        bool inside;
    };
    const Case cases[] = {{640, 20, true},  {128, 0, true},    {1152, 40, true},
                          {127, 20, false}, {1153, 20, false}, {640, 41, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(field.Contains(c.x, c.y), c.inside) << c.x << ", " << c.y;
    }
}

} // namespace
