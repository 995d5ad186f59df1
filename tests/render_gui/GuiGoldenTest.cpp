#include "render/ArrowCursorImage.h"
#include "render/CMouseCursor.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentImage.h"
#include "render/gui/CGuiComponentList.h"
#include "render/gui/CGuiComponentProgress.h"
#include "render/gui/CGuiComponentText.h"
#include "render/gui/CGuiRenderer.h"
#include "render_gl/GoldenImage.h"
#include "render_gui/GuiGlFixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

// The GUI components and the cursor drawn by the OpenGL device as the frame
// draws them, compared with reference images: bevels, text, lists, bars,
// images and the pointer over them.

namespace {

// Text colours are GDI colours: red in the low byte.
constexpr std::uint32_t kTextYellow = 0x0000FFFF;
constexpr std::uint32_t kTextOrange = 0x0040C0FF;
constexpr std::uint32_t kTextGrey = 0x00E0E0E0;

constexpr std::uint32_t kLight = 0xFFE0E0E0;
constexpr std::uint32_t kDark = 0xFF404040;

class GuiGolden : public GuiGlTest {
protected:
    // Text images were made with the fallback font; a machine with the
    // preferred one draws other glyphs.
    bool HasReferenceFont() { return root->Gui().Text().Font().Family() == "DejaVu Sans"; }

    static CGuiComponentFrame& Frame(CGuiComponent& parent, int left, int top, int right, int bottom,
                                     int border, std::uint32_t fill, bool raised = true) {
        CGuiComponentFrame& frame = parent.CreateChild<CGuiComponentFrame>();
        frame.SetStyle(border, kLight, kDark, fill, raised);
        frame.SetRect(left, top, right, bottom);
        return frame;
    }
    static CGuiComponentText& Text(CGuiComponent& parent, int left, int top, int right, int bottom,
                                   const std::string& text, std::uint32_t colour, int fontHeight) {
        CGuiComponentText& component = parent.CreateChild<CGuiComponentText>(colour, fontHeight);
        component.SetRect(left, top, right, bottom);
        component.SetText(text);
        return component;
    }
};

TEST_F(GuiGolden, FramesBevelRaisedAndSunkenAndBlendTheirDefaultColours) {
    Frame(*root, 0, 0, kWidth, kHeight, 0, 0xFF304050);
    Frame(*root, 8, 8, 72, 56, 4, 0xFF808080, true);
    Frame(*root, 88, 8, 152, 56, 4, 0xFF808080, false);
    // Without a border the bevel colours are not used at all.
    CGuiComponentFrame& flat = root->CreateChild<CGuiComponentFrame>();
    flat.SetStyle(0, 0xFF00FF00, 0xFFFF00FF, 0xFFC04020, true);
    flat.SetRect(8, 64, 72, 112);
    // The default style is see-through: the stripe shows under it.
    Frame(*root, 84, 80, 156, 96, 0, 0xFFFFFF00);
    root->CreateChild<CGuiComponentFrame>().SetRect(96, 64, 144, 112);
    DrawGui();
    EXPECT_TRUE(MatchesGolden(Device(), "gui_frames"));
}

TEST_F(GuiGolden, TextLinesColoursAndCutAtTheComponentEdge) {
    if (!HasReferenceFont()) {
        GTEST_SKIP() << "reference text drawn with DejaVu Sans, not " << root->Gui().Text().Font().Family();
    }
    CGuiComponentFrame& back = Frame(*root, 0, 0, kWidth, kHeight, 0, 0xFF202848);
    Text(back, 6, 4, 154, 30, "Morvane", CGuiComponentText::kDefaultColour,
         CGuiComponentText::kDefaultFontHeight);
    Text(back, 6, 30, 154, 80, "First line\nSecond\nThird", kTextYellow, -12);
    // Cut, not scaled: the frame's fill shows right of the text's rectangle.
    CGuiComponentFrame& box = Frame(back, 6, 84, 98, 112, 0, 0xFF602020);
    Text(box, 4, 4, 80, 24, "Cut at the edge", kTextOrange, -14);
    DrawGui();
    EXPECT_TRUE(MatchesGolden(Device(), "gui_text"));
}

TEST_F(GuiGolden, ListKeepsWholeRowsBarFillsItsShareImageStretches) {
    if (!HasReferenceFont()) {
        GTEST_SKIP() << "reference text drawn with DejaVu Sans, not " << root->Gui().Text().Font().Family();
    }
    Frame(*root, 0, 0, kWidth, kHeight, 0, 0xFF383838);

    // Two and a half rows high: two rows a column, the half row below them
    // stays empty and the items after the second column are hidden. The
    // second column is cut at the list's right edge, a third of a column in.
    CGuiComponentFrame& listPanel = Frame(*root, 0, 0, 0, 0, 2, 0xFF102030, false);
    CGuiComponentList& list = listPanel.CreateChild<CGuiComponentList>();
    list.SetStyle(kTextGrey, kTextOrange, -12, 1);
    for (const char* item : {"Lantern", "Rope", "Key", "Matches", "Compass", "Letter", "Knife"}) {
        list.AddItem(item, false);
    }
    list.SetRect(4, 4, 4 + list.ColumnWidth() * 4 / 3, 4 + list.RowHeight() * 5 / 2);
    listPanel.SetRect(4, 4, 4 + list.Right() + 4, 4 + list.Bottom() + 4);
    list.SetFirstShownItem(1);
    list.Select(2);
    list.LayOut();

    CGuiComponentFrame& barPanel = Frame(*root, 4, 84, 104, 104, 2, 0xFF102030, false);
    CGuiComponentProgress& bar = barPanel.CreateChild<CGuiComponentProgress>();
    bar.SetColours(0xFF20C040, 0xFF202020);
    bar.SetRect(2, 2, 98, 18);
    bar.SetValue(30);

    // Drawn in texels of the 512-square image, stretched over 48 x 100 pixels.
    CGuiComponentImage& image = root->CreateChild<CGuiComponentImage>();
    image.SetRect(108, 4, 156, 104);
    image.Clear(0xFF2060A0);
    for (int band = 0; band < 64; ++band) {
        image.DrawLine(0, band, 511, band, 0xFFFFFFFF);
        image.DrawLine(448 + band, 64, 448 + band, 511, 0xFF20C040);
        image.DrawLine(0, 64 + band, 447 - band, 511, 0xFFE02020);
    }
    DrawGui();
    EXPECT_TRUE(MatchesGolden(Device(), "gui_list_bar_image"));
}

TEST_F(GuiGolden, CursorTipAtItsPositionAndCutAtTheScreenCorner) {
    constexpr int kX = 146;
    constexpr int kY = 102;
    Frame(*root, 0, 0, kWidth, kHeight, 4, 0xFF506070);
    Frame(*root, 100, 60, kWidth, kHeight, 0, 0xFFE0D0A0);
    // The cursor's tip touches this square's bottom-right corner.
    Frame(*root, kX - 4, kY - 4, kX, kY, 0, 0xFFE02020);
    CMouseCursor cursor(Device(), [](const std::string&) { return ArrowCursorPng(); });
    cursor.Mouse_Enable(true, "data\\textures\\arrow.png");
    cursor.SetPosition(kX, kY);
    DrawGui(&cursor);
    EXPECT_TRUE(MatchesGolden(Device(), "gui_cursor"));
}

} // namespace
