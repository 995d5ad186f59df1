#include "ImageFiles.h"

#include "render/image/TextureImage.h"
#include "resources/CADVException.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using ::testing::EndsWith;
using ::testing::StartsWith;

namespace {

std::vector<std::pair<int, int>> Sizes(const std::vector<CImage>& levels) {
    std::vector<std::pair<int, int>> sizes;
    for (const CImage& level : levels) {
        sizes.emplace_back(level.Width(), level.Height());
    }
    return sizes;
}

TEST(TextureImage, QualityDividesTheSizeAndTheMipChainRunsToOnePixel) {
    struct Case {
        std::string name;
        int width, height, quality;
        std::vector<std::pair<int, int>> levels;
    };
    const std::vector<Case> cases = {
        {"256 at quality 4", 256, 256, 4, {{64, 64}, {32, 32}, {16, 16}, {8, 8}, {4, 4}, {2, 2}, {1, 1}}},
        {"256 at quality 1",
         256,
         256,
         1,
         {{256, 256}, {128, 128}, {64, 64}, {32, 32}, {16, 16}, {8, 8}, {4, 4}, {2, 2}, {1, 1}}},
        {"oblong", 8, 2, 1, {{8, 2}, {4, 1}, {2, 1}, {1, 1}}},
        {"odd sides divide down", 3, 5, 2, {{1, 2}, {1, 1}}},
        // A side that divides to 0 takes the file's own size.
        {"too small to divide", 2, 2, 4, {{2, 2}, {1, 1}}},
        {"one side too small", 2, 8, 4, {{2, 2}, {1, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file = PngFile(SolidImage(c.width, c.height, 0x336699FF));
        const std::vector<CImage> levels = LoadTextureImage(file, "t.png", c.quality);
        EXPECT_EQ(c.levels, Sizes(levels));
        for (const CImage& level : levels) {
            EXPECT_EQ(0x33, level.At(level.Width() - 1, level.Height() - 1)[0]);
            EXPECT_EQ(0xFF, level.At(0, 0)[3]);
        }
    }
}

TEST(TextureImage, ShrinkingAveragesTheCoveredPixels) {
    // Four 2 x 2 blocks, each of one colour except a checkered one.
    const CImage picture = MakeImage(4, 4,
                                     {0xFF0000FF, 0xFF0000FF, 0x00000000, 0xFFFFFFFF, //
                                      0xFF0000FF, 0xFF0000FF, 0xFFFFFFFF, 0x00000000, //
                                      0x0000FFFF, 0x0000FFFF, 0x20406080, 0x20406080, //
                                      0x0000FFFF, 0x0000FFFF, 0x20406080, 0x20406080});
    const std::vector<CImage> levels = LoadTextureImage(PngFile(picture), "t.png", 2);
    ASSERT_EQ(2u, levels.size());
    const CImage expected = MakeImage(2, 2, {0xFF0000FF, 0x80808080, 0x0000FFFF, 0x20406080});
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            for (int c = 0; c < 4; ++c) {
                EXPECT_EQ(expected.At(x, y)[c], levels[0].At(x, y)[c]) << x << ", " << y << " channel " << c;
            }
        }
    }
    // The last level is the average of everything: red (255 + 128 + 0 + 32) / 4 = 103.75.
    EXPECT_EQ(104, levels[1].At(0, 0)[0]);

    // A 3-pixel row shrunk to 1 pixel takes a third of each.
    const CImage row = MakeImage(3, 1, {0x000000FF, 0x600000FF, 0xC00000FF});
    EXPECT_EQ(0x60, row.Resized(1, 1).At(0, 0)[0]);
}

std::string InfoFailure(const std::string& name) {
    return "Could not get texture information from filename '" + name + "'";
}
std::string LoadFailure(const std::string& name) {
    return "Could not load texture with filename '" + name + "'";
}

TEST(TextureImage, UnreadableFilesFailWithTheirTexts) {
    const Bytes png = PngFile(SolidImage(16, 16, 0x112233FF));
    Bytes truncatedPng(png.begin(), png.begin() + static_cast<long>(png.size()) - 30);
    Bytes brokenHeader = png;
    brokenHeader[16] = 0xFF; // width in IHDR now over 2^31, and the chunk checksum is wrong
    const Bytes dxtShort = [] {
        ByteWriter w = DdsHeader(8, 8, 0x4, "DXT5", 0, {});
        w.Fill(16 * 3, 0); // four blocks needed
        return w.bytes;
    }();
    const Bytes dxtUnknown = [] {
        ByteWriter w = DdsHeader(4, 4, 0x4, "ATI2", 0, {});
        w.Fill(16, 0);
        return w.bytes;
    }();
    const Bytes bmpWithJpeg = [] {
        ByteWriter w;
        w.Text("BM").U32(0).U32(0).U32(54).U32(40).U32(2).U32(2).U16(1).U16(24).U32(4);
        w.Fill(54 + 16 - w.bytes.size(), 0);
        return w.bytes;
    }();
    const Bytes tgaShort = [] {
        ByteWriter w;
        w.U8(0).U8(0).U8(2).Fill(9, 0).U16(4).U16(4).U8(24).U8(0).Fill(3 * 15, 0x7F); // 16 pixels wanted
        return w.bytes;
    }();
    const Bytes hugePng = [] {
        // A valid header announcing 30000 x 30000 pixels: refused before any allocation.
        ByteWriter w;
        w.U8(0x89).Text("PNG\r\n").U8(0x1A).U8('\n');
        w.bytes.insert(w.bytes.end(), {0, 0,    0,    13, 'I', 'H', 'D', 'R', 0,    0,    0x75, 0x30, 0,
                                       0, 0x75, 0x30, 8,  6,   0,   0,   0,   0x66, 0x27, 0xF8, 0xBA});
        // An empty IDAT chunk, where the header ends.
        w.bytes.insert(w.bytes.end(), {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E});
        return w.bytes;
    }();

    struct Case {
        std::string name;
        Bytes file;
        bool infoFails;
    };
    const std::vector<Case> cases = {
        {"empty", {}, true},
        {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, true},
        {"png header damaged", brokenHeader, true},
        {"jpeg signature only", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10}, true},
        {"dds header cut", {'D', 'D', 'S', ' ', 124, 0, 0}, true},
        {"png cut short", truncatedPng, false},
        {"dxt data cut short", dxtShort, false},
        {"dds compression not supported", dxtUnknown, false},
        {"bmp holding a jpeg", bmpWithJpeg, false},
        {"tga pixels cut short", tgaShort, false},
        {"png too large", hugePng, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = "data\\textures\\" + c.name + ".img";
        try {
            LoadTextureImage(c.file, name, 1);
            FAIL() << "loaded";
        } catch (const CADVException& e) {
            EXPECT_THAT(e.GetText(), StartsWith("Exception:\nHRESULT: 88760B59\n"));
            EXPECT_THAT(e.GetText(), EndsWith("\n" + (c.infoFails ? InfoFailure(name) : LoadFailure(name))));
        }
        if (c.infoFails) {
            EXPECT_THROW(GetTextureImageInfo(c.file, name), CADVException);
        } else {
            EXPECT_NO_THROW(GetTextureImageInfo(c.file, name));
        }
    }
}

} // namespace
