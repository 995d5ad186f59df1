#include "render/CTextRasterizer.h"
#include "render/device/DDeviceNull.h"
#include "render/device/DTexture.h"
#include "render_gui/GuiFixture.h"
#include "resources/CADVException.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(TextTextureSide, SmallestPowerOfTwoFrom32To2048ThenOversize) {
    const struct {
        int extent;
        int side;
    } cases[] = {{0, 32},    {1, 32},    {14, 32},     {32, 32},     {33, 64},     {100, 128},
                 {256, 256}, {257, 512}, {1024, 1024}, {2048, 2048}, {2049, 4096}, {100000, 4096}};
    for (const auto& c : cases) {
        EXPECT_EQ(TextTextureSide(c.extent), c.side) << c.extent;
    }
}

TEST(SplitTextLines, LineFeedsSeparateLinesAndTheTailIsTheLastLine) {
    using Lines = std::vector<std::string_view>;
    const struct {
        const char* text;
        Lines lines;
    } cases[] = {
        {"", {""}},
        {"one", {"one"}},
        {"one\n", {"one", ""}},
        {"one\ntwo", {"one", "two"}},
        {"\n\nthree", {"", "", "three"}},
        {"a\r\nb", {"a\r", "b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitTextLines(c.text), c.lines) << c.text;
    }
}

class TextRasterizer : public ::testing::Test {
protected:
    // Every texel of the texture, as ARGB.
    static std::vector<std::uint32_t> Texels(const DTexture& texture) {
        std::vector<std::uint32_t> texels;
        for (int row = 0; row < texture.Height(0); ++row) {
            for (int x = 0; x < texture.Width(0); ++x) {
                texels.push_back(TexelAt(texture, x, row));
            }
        }
        return texels;
    }

    DDeviceNull device;
    CTextRasterizer text;
    std::unique_ptr<DTexture> texture;
};

TEST_F(TextRasterizer, FontIsVerdanaOrDejaVuSans) {
    const std::string family = text.Font().Family();
    EXPECT_TRUE(family == "Verdana" || family == "DejaVu Sans") << family;
}

TEST_F(TextRasterizer, NegativeHeightIsTheCharacterHeightPositiveTheCell) {
    for (int pixels : {12, 19, 40}) {
        const int cellOfCharacters = text.Font().MeasureLine("Hg", -pixels).height;
        // The cell adds the face's leading to the character height.
        EXPECT_GT(cellOfCharacters, pixels);
        EXPECT_LT(cellOfCharacters, pixels * 3 / 2);
        EXPECT_NEAR(text.Font().MeasureLine("Hg", pixels).height, pixels, 1);
    }
    EXPECT_LT(text.Font().MeasureLine("Hello", -10).width, text.Font().MeasureLine("Hello", -30).width);
}

TEST_F(TextRasterizer, LinesAreMeasuredOneByOneAndEmptyLinesRepeatTheHeightAbove) {
    const CFontFace::Extent hello = text.Font().MeasureLine("Hello", -19);
    const CFontFace::Extent wide = text.Font().MeasureLine("A wider line", -19);
    ASSERT_GT(wide.width, hello.width);
    const std::vector<CFontFace::Extent> extents = text.MeasureLines("Hello\n\nA wider line", -19);
    ASSERT_EQ(extents.size(), 3u);
    EXPECT_EQ(extents[0].width, hello.width);
    EXPECT_EQ(extents[1].width, 0);
    EXPECT_EQ(extents[1].height, hello.height);
    EXPECT_EQ(extents[2].width, wide.width);

    const std::vector<CFontFace::Extent> leading = text.MeasureLines("\nHello", -19);
    EXPECT_EQ(leading[0].height, 0);
    EXPECT_EQ(leading[1].height, hello.height);
}

TEST_F(TextRasterizer, TextSizesAreTheWidestLineAndTheSumOfHeights) {
    const std::string lines = "Hello\n\nA wider line";
    const TextTextureSizes sizes = text.Texture_Create(device, lines, 0xFFFFFF, -19, texture);
    const CFontFace::Extent hello = text.Font().MeasureLine("Hello", -19);
    EXPECT_EQ(sizes.textWidth, text.Font().MeasureLine("A wider line", -19).width);
    EXPECT_EQ(sizes.textHeight, 3 * hello.height);
    EXPECT_EQ(sizes.textureWidth, TextTextureSide(sizes.textWidth));
    EXPECT_EQ(sizes.textureHeight, TextTextureSide(sizes.textHeight));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->Width(0), sizes.textureWidth);
    EXPECT_EQ(texture->Height(0), sizes.textureHeight);
    EXPECT_EQ(texture->LevelCount(), 1);
    EXPECT_EQ(texture->Format(), DTextureFormat::A8R8G8B8);
}

TEST_F(TextRasterizer, EmptyTextGivesTheSmallestFullyTransparentTexture) {
    const TextTextureSizes sizes = text.Texture_Create(device, "", 0xFFFFFF, -19, texture);
    EXPECT_EQ(sizes.textWidth, 0);
    EXPECT_EQ(sizes.textHeight, 0);
    EXPECT_EQ(sizes.textureWidth, 32);
    EXPECT_EQ(sizes.textureHeight, 32);
    for (std::uint32_t texel : Texels(*texture)) {
        ASSERT_EQ(texel, 0u);
    }
}

TEST_F(TextRasterizer, TextPixelsAreOpaqueInTheGdiColourAndTheRestFullyTransparent) {
    // 0x0080FF as a GDI colour: red 0xFF, green 0x80, blue 0x00.
    text.Texture_Create(device, "Monochrome\nWQ@#%&", 0xAB0080FF, -19, texture);
    std::set<std::uint32_t> seen;
    for (std::uint32_t texel : Texels(*texture)) {
        seen.insert(texel);
    }
    EXPECT_EQ(seen, (std::set<std::uint32_t>{0x00000000, 0xFFFF8000}));
}

TEST_F(TextRasterizer, TextSitsInTheTopLeftCornerWithRowsStoredBottomUp) {
    const TextTextureSizes sizes = text.Texture_Create(device, "Top\nLeft", 0xFFFFFF, -19, texture);
    const int lineHeight = sizes.textHeight / 2;
    std::set<int> rowsFromTop;
    for (int row = 0; row < sizes.textureHeight; ++row) {
        for (int x = 0; x < sizes.textureWidth; ++x) {
            if (TexelAt(*texture, x, row) != 0) {
                EXPECT_LT(x, sizes.textWidth);
                rowsFromTop.insert(sizes.textureHeight - 1 - row);
            }
        }
    }
    ASSERT_FALSE(rowsFromTop.empty());
    EXPECT_LT(*rowsFromTop.rbegin(), sizes.textHeight);
    // Both lines have ink, each within its own band.
    EXPECT_LT(*rowsFromTop.begin(), lineHeight);
    EXPECT_GE(*rowsFromTop.rbegin(), lineHeight);
}

TEST_F(TextRasterizer, TextureOfTheSameSizeIsUsedAgainOthersAreReplaced) {
    text.Texture_Create(device, "Same", 0xFFFFFF, -19, texture);
    const DTexture* first = texture.get();
    device.ClearCalls();

    text.Texture_Create(device, "Size", 0xFFFFFF, -19, texture);
    EXPECT_EQ(texture.get(), first);
    EXPECT_EQ(device.CountCalls("CreateTexture"), 0);

    text.Texture_Create(device, "Two\nlines", 0xFFFFFF, -19, texture);
    EXPECT_NE(texture.get(), first);
    EXPECT_EQ(device.CountCalls("CreateTexture"), 1);
    EXPECT_EQ(texture->Height(0), 64);
}

TEST_F(TextRasterizer, TextureOfAnotherFormatIsNotUsedAgain) {
    HRESULT hr = S_OK;
    texture = device.CreateTexture(32, 32, 1, DTextureFormat::X8R8G8B8, &hr);
    const DTexture* other = texture.get();
    text.Texture_Create(device, "Hi", 0xFFFFFF, -19, texture);
    EXPECT_NE(texture.get(), other);
    EXPECT_EQ(texture->Format(), DTextureFormat::A8R8G8B8);
}

TEST_F(TextRasterizer, FailedCreationKeepsThePreviousTexture) {
    text.Texture_Create(device, "Old", 0xFFFFFF, -19, texture);
    const DTexture* old = texture.get();
    const std::vector<std::uint8_t> pixels = old->Pixels(0);
    device.FailNext("CreateTexture", D3DERR_OUTOFVIDEOMEMORY);
    try {
        text.Texture_Create(device, "New\nand taller", 0xFFFFFF, -19, texture);
        FAIL() << "no exception";
    } catch (const CADVException& e) {
        EXPECT_NE(std::string(e.GetText()).find("C3DEngine2::Texture_Create() - Could not create texture."),
                  std::string::npos);
    }
    EXPECT_EQ(texture.get(), old);
    EXPECT_EQ(texture->Pixels(0), pixels);
}

TEST_F(TextRasterizer, OversizedTextIsClippedToTheLargestTexture) {
    const std::string longLine(800, 'W');
    const TextTextureSizes sizes = text.Texture_Create(device, longLine, 0xFFFFFF, -19, texture);
    EXPECT_GT(sizes.textWidth, 4096);
    EXPECT_EQ(sizes.textureWidth, 4096);
    EXPECT_EQ(texture->Width(0), 4096);
}

TEST_F(TextRasterizer, AccentedLettersOfTheCodePageHaveGlyphs) {
    // "é" and "€" in Windows-1252 are not blank and not zero-width.
    for (const char* letter : {"\xE9", "\x80"}) {
        const TextTextureSizes sizes = text.Texture_Create(device, letter, 0xFFFFFF, -19, texture);
        EXPECT_GT(sizes.textWidth, 0);
        std::size_t ink = 0;
        for (std::uint32_t texel : Texels(*texture)) {
            ink += texel != 0;
        }
        EXPECT_GT(ink, 0u) << int(static_cast<unsigned char>(letter[0]));
    }
}

} // namespace
