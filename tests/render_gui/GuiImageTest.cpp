#include "render/image/CImage.h"
#include "render/gui/CGuiComponentImage.h"
#include "render_gui/GuiFixture.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

using Texels = std::set<std::pair<int, int>>;

class GuiImage : public GuiTest {
protected:
    // Texels of the line colour, after clearing to black.
    Texels Line(int x1, int y1, int x2, int y2) {
        image.Clear(kBlack);
        image.DrawLine(x1, y1, x2, y2, kInk);
        Texels set;
        for (int y = 0; y < CGuiComponentImage::kSide; ++y) {
            for (int x = 0; x < CGuiComponentImage::kSide; ++x) {
                if (image.Texel(x, y) == kInk) {
                    set.insert({x, y});
                }
            }
        }
        return set;
    }

    static constexpr std::uint32_t kBlack = 0xFF000000;
    static constexpr std::uint32_t kInk = 0x80FF8040;
    CGuiComponentImage& image = root.CreateChild<CGuiComponentImage>();
};

TEST_F(GuiImage, TextureIs512SquareAndClearFillsIt) {
    ASSERT_NE(image.Texture(), nullptr);
    EXPECT_EQ(image.Texture()->Width(0), 512);
    EXPECT_EQ(image.Texture()->Height(0), 512);
    image.Clear(0x11223344);
    for (auto [x, y] : {std::pair{0, 0}, {511, 511}, {200, 300}}) {
        EXPECT_EQ(image.Texel(x, y), 0x11223344u);
    }
    // Stored B, G, R, A.
    EXPECT_EQ(image.Texture()->Pixels(0)[0], 0x44);
    EXPECT_EQ(image.Texture()->Pixels(0)[3], 0x11);
}

TEST_F(GuiImage, LinesCoverTheirColumnsWithoutGaps) {
    const struct {
        const char* name;
        int x1, y1, x2, y2;
        Texels texels;
    } cases[] = {
        {"horizontal", 3, 5, 6, 5, {{3, 5}, {4, 5}, {5, 5}, {6, 5}}},
        {"vertical, either way", 4, 9, 4, 6, {{4, 6}, {4, 7}, {4, 8}, {4, 9}}},
        {"diagonal, right to left", 3, 3, 0, 0, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {"steep", 0, 0, 2, 6, {{0, 0}, {0, 1}, {0, 2}, {1, 3}, {1, 4}, {1, 5}, {2, 6}}},
        {"steep upwards", 0, 6, 2, 0, {{0, 6}, {0, 5}, {0, 4}, {1, 3}, {1, 2}, {1, 1}, {2, 0}}},
        {"single point", 7, 7, 7, 7, {{7, 7}}},
        {"clamped into the image", -40, 511, 900, 511, {}},
    };
    for (const auto& c : cases) {
        Texels expected = c.texels;
        if (expected.empty()) {
            for (int x = 0; x < 512; ++x) {
                expected.insert({x, 511});
            }
        }
        EXPECT_EQ(Line(c.x1, c.y1, c.x2, c.y2), expected) << c.name;
    }
}

TEST_F(GuiImage, ShallowLineTakesOneRowPerColumn) {
    const Texels texels = Line(0, 0, 9, 3);
    EXPECT_EQ(texels.size(), 10u);
    EXPECT_TRUE(texels.count({0, 0}));
    EXPECT_TRUE(texels.count({9, 3}));
}

TEST_F(GuiImage, PictureIsStretchedOverTheWholeImage) {
    // Four quadrants of a 2 x 2 picture, each colour given as R, G, B, A.
    CImage picture(2, 2);
    picture.Set(0, 0, 0x10, 0x20, 0x30, 0xFF);
    picture.Set(1, 0, 0x40, 0x50, 0x60, 0x80);
    picture.Set(0, 1, 0x70, 0x80, 0x90, 0xFF);
    picture.Set(1, 1, 0xA0, 0xB0, 0xC0, 0x00);
    image.Clear(kInk);
    image.DrawPicture(picture);
    const struct {
        int x, y;
        std::uint32_t argb;
    } cases[] = {
        {0, 0, 0xFF102030},     {255, 255, 0xFF102030}, {256, 0, 0x80405060},
        {511, 255, 0x80405060}, {0, 511, 0xFF708090},   {511, 511, 0x00A0B0C0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(image.Texel(c.x, c.y), c.argb) << c.x << ", " << c.y;
    }
}

TEST_F(GuiImage, QuadStretchesTheWholeTextureOverTheRectangle) {
    CGuiComponent& holder = root.CreateChild<CGuiComponent>();
    holder.SetRect(50, 60, 500, 500);
    CGuiComponentImage& inner = holder.CreateChild<CGuiComponentImage>();
    inner.SetRect(10, 20, 138, 84);
    Update();
    const std::vector<GuiVertex> v = VerticesOf(inner);
    ASSERT_EQ(v.size(), 6u);
    EXPECT_GE(inner.FirstVertex(), 1920);
    // top-left, top-right, bottom-right
    EXPECT_FLOAT_EQ(v[1].x, 60);
    EXPECT_FLOAT_EQ(v[1].y, 80);
    EXPECT_FLOAT_EQ(v[1].u, 0);
    EXPECT_FLOAT_EQ(v[1].v, 0);
    EXPECT_FLOAT_EQ(v[2].x, 188);
    EXPECT_FLOAT_EQ(v[2].u, 1);
    EXPECT_FLOAT_EQ(v[4].y, 144);
    EXPECT_FLOAT_EQ(v[4].v, 1);
    EXPECT_EQ(v[4].colour, 0x00FFFFFFu);
}

TEST_F(GuiImage, DrawingAfterADeviceLossKeepsWhatWasDrawn) {
    image.Clear(0xFF0000FF);
    image.InvalidateTextures();
    EXPECT_EQ(image.Texel(10, 10), 0xFF0000FFu);
    image.DrawLine(0, 0, 0, 3, 0xFFFFFFFF);
    ASSERT_NE(image.Texture(), nullptr);
    EXPECT_EQ(image.Texel(10, 10), 0xFF0000FFu);
    EXPECT_EQ(image.Texel(0, 2), 0xFFFFFFFFu);
}

} // namespace
