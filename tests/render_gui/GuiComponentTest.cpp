#include "render/device/DTexture.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentImage.h"
#include "render/gui/CGuiComponentProgress.h"
#include "render/gui/CGuiComponentText.h"
#include "render_gui/GuiFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

class GuiComponents : public GuiTest {};

TEST_F(GuiComponents, PositionsAddUpTheParentsAndHitTestsIncludeAllEdges) {
    CGuiComponent& outer = root.CreateChild<CGuiComponent>();
    outer.SetRect(100, 50, 300, 250);
    CGuiComponent& inner = outer.CreateChild<CGuiComponent>();
    inner.SetRect(10, 20, 40, 60);
    EXPECT_EQ(inner.AbsoluteLeft(), 110);
    EXPECT_EQ(inner.AbsoluteTop(), 70);
    EXPECT_EQ(inner.Width(), 30);
    EXPECT_EQ(inner.Height(), 40);
    const struct {
        int x, y;
        bool hit;
    } cases[] = {{110, 70, true},  {140, 110, true}, {140, 70, true},  {110, 110, true}, {125, 90, true},
                 {109, 90, false}, {141, 90, false}, {125, 69, false}, {125, 111, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(inner.HitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
    }
}

TEST_F(GuiComponents, ChangesMarkEveryAncestorButVisibilityMarksNothing) {
    CGuiComponent& outer = root.CreateChild<CGuiComponent>();
    CGuiComponentFrame& frame = outer.CreateChild<CGuiComponentFrame>();
    Update();
    ASSERT_FALSE(root.NeedsRebuild());

    frame.SetVisible(false);
    EXPECT_FALSE(root.NeedsRebuild());
    frame.SetRaised(false); // unchanged
    EXPECT_FALSE(root.NeedsRebuild());
    frame.SetRaised(true);
    EXPECT_TRUE(frame.NeedsRebuild());
    EXPECT_TRUE(outer.NeedsRebuild());
    EXPECT_TRUE(root.NeedsRebuild());
    Update();

    // Setting a plain component's rectangle marks nothing; a frame's does.
    outer.SetRect(1, 2, 3, 4);
    EXPECT_FALSE(root.NeedsRebuild());
    frame.SetRect(1, 2, 3, 4);
    EXPECT_TRUE(root.NeedsRebuild());
}

TEST_F(GuiComponents, FrameWritesItsBevelledRectangleAtItsAbsolutePosition) {
    CGuiComponent& outer = root.CreateChild<CGuiComponent>();
    outer.SetRect(100, 50, 400, 400);
    CGuiComponentFrame& frame = outer.CreateChild<CGuiComponentFrame>();
    frame.SetRect(10, 20, 60, 80);
    Update();
    EXPECT_EQ(frame.VertexCount(), 30);
    const std::vector<GuiVertex> bordered = VerticesOf(frame);
    // Sunken by default: the top bevel's outer corners are dark.
    EXPECT_FLOAT_EQ(bordered[1].x, 110);
    EXPECT_FLOAT_EQ(bordered[1].y, 70);
    EXPECT_EQ(bordered[1].colour, 0xA0584D50u);
    // Its inner top-right corner is in the fill colour.
    EXPECT_FLOAT_EQ(bordered[4].x, 156);
    EXPECT_FLOAT_EQ(bordered[4].y, 74);
    EXPECT_EQ(bordered[4].colour, 0xA0786D70u);

    frame.SetStyle(0, 1, 2, 0xFF00FF00, false);
    Update();
    EXPECT_EQ(frame.VertexCount(), 6);
    const std::vector<GuiVertex> flat = VerticesOf(frame);
    EXPECT_FLOAT_EQ(flat[4].x, 160);
    EXPECT_FLOAT_EQ(flat[4].y, 130);
    EXPECT_EQ(flat[4].colour, 0xFF00FF00u);
    EXPECT_EQ(gui.UsedUntextured(), 6);
}

TEST_F(GuiComponents, TextShowsAtMostTheComponentsSizeUnscaled) {
    CGuiComponentText& text = root.CreateChild<CGuiComponentText>();
    text.SetText("A line of text that is long");
    ASSERT_GT(text.TextWidth(), 60);
    const float texW = static_cast<float>(text.TextureWidth());
    const float texH = static_cast<float>(text.TextureHeight());
    const struct {
        int width, height;
        int shownWidth, shownHeight;
    } cases[] = {
        {60, 10, 60, 10},
        {1000, 200, text.TextWidth(), text.TextHeight()},
    };
    for (const auto& c : cases) {
        text.SetRect(20, 30, 20 + c.width, 30 + c.height);
        Update();
        ASSERT_EQ(text.VertexCount(), 6);
        EXPECT_GE(text.FirstVertex(), 1920);
        const std::vector<GuiVertex> v = VerticesOf(text);
        const float a = static_cast<float>(c.shownWidth);
        const float b = static_cast<float>(c.shownHeight);
        // v[1] top-left, v[2] top-right, v[0] bottom-left, v[4] bottom-right.
        EXPECT_FLOAT_EQ(v[1].x, 20);
        EXPECT_FLOAT_EQ(v[1].y, 30);
        EXPECT_FLOAT_EQ(v[1].v, 1.0f);
        EXPECT_FLOAT_EQ(v[2].x, 20 + a - 1);
        EXPECT_FLOAT_EQ(v[2].u, a / texW);
        EXPECT_FLOAT_EQ(v[0].y, 30 + b);
        EXPECT_FLOAT_EQ(v[0].v, 1.0f - b / texH);
        EXPECT_FLOAT_EQ(v[4].x, 20 + a - 1);
        EXPECT_FLOAT_EQ(v[4].y, 30 + b);
        for (const GuiVertex& vertex : v) {
            EXPECT_EQ(vertex.colour, 0x00FFFFFFu);
        }
    }
    Update();
    EXPECT_EQ(CallsNamed("SetTexture"), std::vector<std::string>{"SetTexture 0 1"});
}

TEST_F(GuiComponents, TextStyleChangesRasteriseAgain) {
    CGuiComponentText& text = root.CreateChild<CGuiComponentText>();
    EXPECT_EQ(text.Colour(), 0xFFFFFFu);
    EXPECT_EQ(text.FontHeight(), -19);
    text.SetText("Style");
    const int smallHeight = text.TextHeight();
    Update();
    text.SetFontHeight(-40);
    EXPECT_GT(text.TextHeight(), smallHeight);
    EXPECT_TRUE(root.NeedsRebuild());
    text.SetColour(0x0000FF);
    // Red in the low byte of a GDI colour.
    bool red = false;
    for (int i = 0; i < text.TextureWidth() * text.TextureHeight() && !red; ++i) {
        red = TexelAt(*text.Texture(), i % text.TextureWidth(), i / text.TextureWidth()) == 0xFFFF0000;
    }
    EXPECT_TRUE(red);
}

TEST_F(GuiComponents, UnsetTextDrawsAnEmptyQuadWithoutDividingByZero) {
    CGuiComponentText& text = root.CreateChild<CGuiComponentText>();
    text.SetRect(0, 0, 100, 100);
    Update();
    for (const GuiVertex& v : VerticesOf(text)) {
        EXPECT_FALSE(std::isnan(v.u));
        EXPECT_FALSE(std::isnan(v.v));
    }
}

TEST_F(GuiComponents, ProgressValueIsClampedAndSplitsTheBar) {
    CGuiComponentProgress& bar = root.CreateChild<CGuiComponentProgress>();
    EXPECT_EQ(bar.Value(), 50);
    bar.SetRect(10, 10, 210, 30);
    const struct {
        int set, value;
        bool filledShown, emptyShown;
        int split;
    } cases[] = {{-5, 0, false, true, 0},     {0, 0, false, true, 0},    {1, 1, true, true, 2},
                 {50, 50, true, true, 100},   {99, 99, true, true, 198}, {100, 100, true, false, 200},
                 {250, 100, true, false, 200}};
    for (const auto& c : cases) {
        bar.SetValue(c.set);
        EXPECT_EQ(bar.Value(), c.value) << c.set;
        EXPECT_EQ(bar.Filled().IsVisible(), c.filledShown) << c.set;
        EXPECT_EQ(bar.Empty().IsVisible(), c.emptyShown) << c.set;
        EXPECT_EQ(bar.Filled().Right(), c.split);
        EXPECT_EQ(bar.Empty().Left(), c.split);
        EXPECT_EQ(bar.Empty().Right(), 200);
        EXPECT_EQ(bar.Filled().Bottom(), 20);
    }
    // A new size keeps the value.
    bar.SetValue(25);
    bar.SetRect(0, 0, 400, 10);
    EXPECT_EQ(bar.Filled().Right(), 100);

    bar.SetValueAt(300, 5);
    EXPECT_EQ(bar.Value(), 75);
    bar.SetValueAt(300, 50); // beside the bar
    EXPECT_EQ(bar.Value(), 75);
    bar.SetValueAt(400, 10); // right edge
    EXPECT_EQ(bar.Value(), 100);
}

TEST_F(GuiComponents, ProgressFramesAreBorderlessInTheirColours) {
    CGuiComponentProgress& bar = root.CreateChild<CGuiComponentProgress>();
    bar.SetRect(0, 0, 100, 10);
    EXPECT_EQ(bar.Filled().Border(), 0);
    EXPECT_EQ(bar.Filled().FillColour(), 0xFFFFFFFFu);
    EXPECT_EQ(bar.Empty().FillColour(), 0xFF000000u);
    bar.SetColours(0xFF112233, 0xFF445566);
    EXPECT_EQ(bar.Filled().LightColour(), 0xFF112233u);
    EXPECT_EQ(bar.Filled().DarkColour(), 0xFF112233u);
    EXPECT_EQ(bar.Empty().FillColour(), 0xFF445566u);
    Update();
    EXPECT_EQ(bar.VertexCount(), 0);
    EXPECT_EQ(gui.UsedUntextured(), 12);
}

TEST_F(GuiComponents, ProgressWithoutWidthIgnoresPoints) {
    CGuiComponentProgress& bar = root.CreateChild<CGuiComponentProgress>();
    bar.SetRect(10, 10, 10, 20);
    bar.SetValueAt(10, 15);
    EXPECT_EQ(bar.Value(), 50);
}

TEST_F(GuiComponents, TexturesComeBackAfterADeviceLossWithTheSameContentAndPlaces) {
    CGuiComponentFrame& frame = root.CreateChild<CGuiComponentFrame>();
    frame.SetRect(0, 0, 300, 200);
    CGuiComponentText& text = frame.CreateChild<CGuiComponentText>();
    text.SetRect(10, 10, 290, 40);
    text.SetText("Still here");
    CGuiComponentImage& image = frame.CreateChild<CGuiComponentImage>();
    image.SetRect(10, 50, 110, 150);
    image.Clear(0xFF102030);
    image.DrawLine(0, 0, 511, 511, 0xFFFFFFFF);
    Update();
    const std::vector<std::uint8_t> textPixels = text.Texture()->Pixels(0);
    const std::vector<std::uint8_t> imagePixels = image.Texture()->Pixels(0);
    const std::vector<std::uint8_t> vertices(gui.VertexBuffer()->Bytes().begin(),
                                             gui.VertexBuffer()->Bytes().end());
    const int textFirst = text.FirstVertex();
    const int imageFirst = image.FirstVertex();

    gui.ReleaseVB();
    root.InvalidateTextures();
    EXPECT_EQ(text.Texture(), nullptr);
    EXPECT_EQ(image.Texture(), nullptr);
    EXPECT_TRUE(text.TextureInvalid());
    EXPECT_TRUE(root.NeedsRebuild());

    Update();
    ASSERT_NE(text.Texture(), nullptr);
    ASSERT_NE(image.Texture(), nullptr);
    EXPECT_FALSE(text.TextureInvalid());
    EXPECT_FALSE(image.TextureInvalid());
    EXPECT_EQ(text.Texture()->Pixels(0), textPixels);
    EXPECT_EQ(image.Texture()->Pixels(0), imagePixels);
    EXPECT_EQ(text.FirstVertex(), textFirst);
    EXPECT_EQ(image.FirstVertex(), imageFirst);
    EXPECT_TRUE(std::equal(vertices.begin(), vertices.end(), gui.VertexBuffer()->Bytes().begin()));
    EXPECT_EQ(device.CountCalls("CreateTexture"), 2);
    EXPECT_EQ(CallsNamed("SetTexture"),
              (std::vector<std::string>{"SetTexture 0 0", "SetTexture 0 1", "SetTexture 0 1"}));
}

TEST_F(GuiComponents, DeletedComponentsLeaveTheTreeAndTheBuffer) {
    CGuiComponentFrame& kept = root.CreateChild<CGuiComponentFrame>();
    CGuiComponentFrame& gone = root.CreateChild<CGuiComponentFrame>();
    gone.CreateChild<CGuiComponentText>().SetText("child");
    Update();
    EXPECT_EQ(gui.UsedUntextured(), 60);
    root.DeleteChild(&gone);
    EXPECT_EQ(root.Children().size(), 1u);
    Update();
    EXPECT_EQ(gui.UsedUntextured(), 30);
    EXPECT_EQ(gui.UsedTextured(), 0);
    EXPECT_EQ(device.CountCalls("DrawPrimitive"), 1);
    (void)kept;
}

} // namespace
