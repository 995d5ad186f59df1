#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentImage.h"
#include "render/gui/CGuiComponentText.h"
#include "render/gui/CGuiRenderer.h"
#include "render_gui/GuiGlFixture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The GUI drawn by the real device: what the null device cannot show, that
// texture rows, coordinates and transparency come out the right way up.
class GuiOnGl : public GuiGlTest {
protected:
    std::uint32_t Pixel(int x, int y) {
        std::uint32_t colour = 0;
        EXPECT_EQ(Device().ReadPixel(DRenderTarget::BackBuffer, x, y, &colour), S_OK);
        return colour;
    }
};

TEST_F(GuiOnGl, TextIsUprightOpaqueAndCutOutOfItsBackground) {
    CGuiComponentFrame& frame = root->CreateChild<CGuiComponentFrame>();
    frame.SetStyle(0, 0, 0, 0xFF0000FF, false);
    frame.SetRect(0, 0, kWidth, kHeight);
    CGuiComponentText& text = frame.CreateChild<CGuiComponentText>();
    text.SetRect(10, 10, 150, 110);
    // An underscore has its ink at the bottom of the line only.
    text.SetText("__");
    DrawGui();

    std::set<std::uint32_t> colours;
    int topInk = kHeight;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t colour = Pixel(x, y);
            colours.insert(colour);
            if (colour == 0xFFFFFF) {
                EXPECT_GE(x, 10);
                EXPECT_LT(x, 10 + text.TextWidth());
                EXPECT_LT(y, 10 + text.TextHeight());
                topInk = std::min(topInk, y);
            }
        }
    }
    EXPECT_EQ(colours, (std::set<std::uint32_t>{0x0000FF, 0xFFFFFF}));
    EXPECT_GT(topInk, 10 + text.TextHeight() / 2);
}

TEST_F(GuiOnGl, ImageRowZeroIsTheTopAndFramesFillTheirRectangles) {
    CGuiComponentFrame& frame = root->CreateChild<CGuiComponentFrame>();
    frame.SetStyle(4, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, true);
    frame.SetRect(0, 0, 160, 120);
    CGuiComponentImage& image = root->CreateChild<CGuiComponentImage>();
    image.SetRect(16, 16, 144, 104);
    image.Clear(0xFF00FF00);
    for (int y = 0; y < 16; ++y) {
        image.DrawLine(0, y, 511, y, 0xFFFFFFFF);
    }
    DrawGui();
    // Raised: the outer edge of the left bevel is the light colour, the middle the fill.
    const std::uint32_t edge = Pixel(0, 60);
    EXPECT_GE(edge >> 16 & 0xFF, 0xF0u);
    EXPECT_LE(edge & 0xFF, 0x10u);
    EXPECT_EQ(Pixel(8, 60), 0x0000FFu);
    // The image's first rows are drawn at its top, stretched over its rectangle.
    EXPECT_EQ(Pixel(80, 16), 0xFFFFFFu);
    EXPECT_EQ(Pixel(80, 103), 0x00FF00u);
    EXPECT_EQ(Pixel(15, 60), 0x0000FFu);
}

} // namespace
