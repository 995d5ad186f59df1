#include "app/screens/CMessageBoxScreen.h"
#include "app/screens/ScreenTest.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentText.h"

#include <cstdlib>
#include <string>

namespace {

class CMessageBoxScreenTest : public ScreenTest {
protected:
    // Whether `text` in letters of `fontHeight` leaves the margin of the
    // screen free, measured apart from the box.
    bool FitsAt(const std::string& text, int fontHeight, ScreenSize screen) {
        CGuiComponentText& probe = root.CreateChild<CGuiComponentText>(0xFFFFFFu, fontHeight);
        probe.SetText(text);
        const bool fits =
            probe.TextWidth() <= screen.width - 100 && probe.TextHeight() <= screen.height - 100;
        root.DeleteChild(&probe);
        return fits;
    }

    // Lines of `line`, repeated until the text at the largest letters is
    // about `share` times the screen's free width.
    std::string WiderThanTheScreen(ScreenSize screen, double share) {
        CGuiComponentText& probe = root.CreateChild<CGuiComponentText>(0xFFFFFFu, -19);
        probe.SetText("a long line ");
        const int copies = static_cast<int>(share * (screen.width - 100) / probe.TextWidth()) + 1;
        root.DeleteChild(&probe);
        std::string text;
        for (int i = 0; i < copies; ++i) {
            text += "a long line ";
        }
        return text;
    }

    static std::string Lines(int count) {
        std::string text = "Line";
        for (int i = 1; i < count; ++i) {
            text += "\nLine";
        }
        return text;
    }

    CMessageBoxScreen box{root};
};

TEST_F(CMessageBoxScreenTest, BuiltHidden) {
    EXPECT_FALSE(box.Visible());
    EXPECT_FALSE(box.Contains(512, 384));
}

TEST_F(CMessageBoxScreenTest, ShortLineKeepsTheLargestLettersAndIsCentred) {
    const ScreenSize screen = kFirstScreen;
    box.Show("The door is locked.", screen.width, screen.height);
    EXPECT_TRUE(box.Visible());
    EXPECT_EQ(box.FontHeight(), -19);

    const CGuiComponentText& text = box.TextComponent();
    const int w = text.TextWidth();
    const int h = text.TextHeight();
    const CGuiComponentFrame& frame = box.Frame();
    EXPECT_EQ(frame.Left(), (1024 - w - 16) / 2);
    EXPECT_EQ(frame.Top(), (768 - h - 16) / 2);
    EXPECT_EQ(frame.Right(), (1024 + w + 16) / 2);
    EXPECT_EQ(frame.Bottom(), (768 + h + 16) / 2);
    EXPECT_EQ(text.Left(), 8);
    EXPECT_EQ(text.Top(), 8);
    EXPECT_EQ(text.Right(), frame.Width() - 8);
    EXPECT_EQ(text.Bottom(), frame.Height() - 8);
    EXPECT_GE(text.Width(), w) << "the whole text shows";
    EXPECT_GE(text.Height(), h);
    EXPECT_TRUE(box.Contains(512, 384));
}

TEST_F(CMessageBoxScreenTest, TooLargeTextShrinksInStepsToTheLargestLettersThatFit) {
    const ScreenSize screen = kFirstScreen;
    const std::string cases[] = {WiderThanTheScreen(screen, 1.3), Lines(35)};
    for (const std::string& message : cases) {
        SCOPED_TRACE(message.substr(0, 20));
        ASSERT_FALSE(FitsAt(message, -19, screen));
        box.Show(message, screen.width, screen.height);
        const int font = box.FontHeight();
        EXPECT_GT(font, -19);
        EXPECT_LT(font, -7);
        EXPECT_EQ((font + 19) % 2, 0) << "steps of 2";
        EXPECT_TRUE(FitsAt(message, font, screen));
        EXPECT_FALSE(FitsAt(message, font - 2, screen)) << "not smaller than needed";
    }
}

TEST_F(CMessageBoxScreenTest, TextLargerThanTheScreenStopsAtTheSmallestLetters) {
    const ScreenSize screen = kFirstScreen;
    const std::string cases[] = {WiderThanTheScreen(screen, 4.0), Lines(120)};
    for (const std::string& message : cases) {
        SCOPED_TRACE(message.substr(0, 20));
        ASSERT_FALSE(FitsAt(message, -7, screen));
        box.Show(message, screen.width, screen.height);
        EXPECT_EQ(box.FontHeight(), -7);
        // Still centred, hanging over the screen's edges alike.
        const CGuiComponentFrame& frame = box.Frame();
        EXPECT_LE(std::abs(frame.Left() + frame.Right() - screen.width), 1);
        EXPECT_LE(std::abs(frame.Top() + frame.Bottom() - screen.height), 1);
    }
}

TEST_F(CMessageBoxScreenTest, NextMessageStartsAgainFromTheLargestLetters) {
    box.Show(WiderThanTheScreen(kFirstScreen, 4.0), kFirstScreen.width, kFirstScreen.height);
    box.Hide();
    EXPECT_FALSE(box.Visible());
    EXPECT_FALSE(box.Contains(512, 384));
    box.Show("Hello.", kFirstScreen.width, kFirstScreen.height);
    EXPECT_EQ(box.FontHeight(), -19);
    EXPECT_EQ(box.TextComponent().Text(), "Hello.");
}

TEST_F(CMessageBoxScreenTest, RelayoutFitsAndCentresTheTextForTheNewScreen) {
    // Too wide for the first screen's free width, narrow enough for the second's.
    const std::string message = WiderThanTheScreen(kFirstScreen, 1.1);
    ASSERT_TRUE(FitsAt(message, -19, kSecondScreen));
    box.Show(message, kFirstScreen.width, kFirstScreen.height);
    EXPECT_GT(box.FontHeight(), -19);

    box.Relayout(kSecondScreen.width, kSecondScreen.height);
    EXPECT_TRUE(box.Visible());
    EXPECT_EQ(box.FontHeight(), -19);
    const int w = box.TextComponent().TextWidth();
    const int h = box.TextComponent().TextHeight();
    EXPECT_EQ(box.Frame().Left(), (1280 - w - 16) / 2);
    EXPECT_EQ(box.Frame().Top(), (960 - h - 16) / 2);
    EXPECT_EQ(box.Frame().Right(), (1280 + w + 16) / 2);
    EXPECT_EQ(box.Frame().Bottom(), (960 + h + 16) / 2);
}

} // namespace
