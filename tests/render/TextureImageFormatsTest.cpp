#include "ImageFiles.h"

#include "render/image/TextureImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Red, green and blue over white at half alpha, transparent black and an odd colour.
const CImage kPicture =
    MakeImage(3, 2, {0xFF0000FF, 0x00FF00FF, 0x0000FFFF, 0xFFFFFF80, 0x00000000, 0x123456FF});

CImage Opaque(const CImage& image) {
    CImage out = image;
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x) {
            out.At(x, y)[3] = 255;
        }
    }
    return out;
}

void ExpectSameImage(const CImage& expected, const CImage& actual) {
    ASSERT_EQ(expected.Width(), actual.Width());
    ASSERT_EQ(expected.Height(), actual.Height());
    for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            for (int c = 0; c < 4; ++c) {
                ASSERT_EQ(expected.At(x, y)[c], actual.At(x, y)[c])
                    << "pixel (" << x << ", " << y << ") channel "
                    << "RGBA"[c];
            }
        }
    }
}

// ---- BMP -------------------------------------------------------------------

struct BmpLayout {
    int bits;
    bool topDown = false;
    std::uint32_t infoSize = 40;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> palette{}; // 0xRRGGBB
};

std::uint32_t PaletteIndex(const BmpLayout& layout, const std::uint8_t* p) {
    const std::uint32_t rgb = static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
    return static_cast<std::uint32_t>(std::find(layout.palette.begin(), layout.palette.end(), rgb) -
                                      layout.palette.begin());
}

// File and info headers, masks and palette: everything before the pixels.
ByteWriter BmpStart(int width, int height, const BmpLayout& layout) {
    const std::uint32_t masksSize = layout.infoSize == 40 && layout.compression == 3 ? 12 : 0;
    const auto paletteSize = static_cast<std::uint32_t>(layout.palette.size() * 4);
    const std::uint32_t offset = 14 + layout.infoSize + masksSize + paletteSize;
    ByteWriter w;
    w.Text("BM").U32(0).U32(0).U32(offset);
    w.U32(layout.infoSize).U32(width).U32(layout.topDown ? -height : height);
    w.U16(1).U16(layout.bits).U32(layout.compression).U32(0).U32(2835).U32(2835);
    w.U32(static_cast<std::uint32_t>(layout.palette.size())).U32(0);
    if (layout.compression == 3 || layout.infoSize > 40) {
        w.U32(0x00FF0000).U32(0x0000FF00).U32(0x000000FF);
        if (layout.infoSize >= 56) {
            w.U32(0xFF000000);
        }
    }
    w.Fill(14 + layout.infoSize + masksSize - w.bytes.size(), 0);
    for (std::uint32_t rgb : layout.palette) {
        w.U32(rgb);
    }
    return w;
}

Bytes BmpFile(const CImage& image, const BmpLayout& layout) {
    const std::size_t stride = (static_cast<std::size_t>(image.Width()) * layout.bits + 31) / 32 * 4;
    ByteWriter w = BmpStart(image.Width(), image.Height(), layout);
    for (int row = 0; row < image.Height(); ++row) {
        const int y = layout.topDown ? row : image.Height() - 1 - row;
        const std::size_t start = w.bytes.size();
        std::uint32_t acc = 0;
        int used = 0;
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint8_t* p = image.At(x, y);
            if (layout.bits <= 8) {
                acc = acc << layout.bits | PaletteIndex(layout, p);
                used += layout.bits;
                if (used == 8) {
                    w.U8(acc);
                    acc = 0;
                    used = 0;
                }
            } else if (layout.bits == 16) {
                w.U16((p[0] >> 3) << 10 | (p[1] >> 3) << 5 | p[2] >> 3);
            } else {
                w.U8(p[2]).U8(p[1]).U8(p[0]);
                if (layout.bits == 32) {
                    w.U8(p[3]);
                }
            }
        }
        if (used > 0) {
            w.U8(acc << (8 - used));
        }
        w.Fill(stride - (w.bytes.size() - start), 0);
    }
    return w.bytes;
}

// ---- TGA -------------------------------------------------------------------

struct TgaLayout {
    int type; // 1 mapped, 2 true colour, 3 grey; +8 for run-length
    int depth;
    int alphaBits = 0;
    bool topDown = false;
    bool rightToLeft = false;
    std::vector<std::uint32_t> map{}; // 0xRRGGBB, stored as 24-bit entries
};

void TgaPixel(ByteWriter& w, const TgaLayout& layout, const std::uint8_t* p) {
    const int base = layout.type & 7;
    if (base == 1) {
        const std::uint32_t rgb = static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
        w.U8(static_cast<std::uint32_t>(std::find(layout.map.begin(), layout.map.end(), rgb) -
                                        layout.map.begin()));
    } else if (base == 3) {
        w.U8(p[0]);
    } else if (layout.depth == 16) {
        w.U16((p[3] >= 128 ? 0x8000u : 0u) | (p[0] >> 3) << 10 | (p[1] >> 3) << 5 | p[2] >> 3);
    } else {
        w.U8(p[2]).U8(p[1]).U8(p[0]);
        if (layout.depth == 32) {
            w.U8(p[3]);
        }
    }
}

Bytes TgaFile(const CImage& image, const TgaLayout& layout) {
    ByteWriter w;
    const bool mapped = !layout.map.empty();
    w.U8(3).U8(mapped ? 1 : 0).U8(layout.type);
    w.U16(0).U16(static_cast<std::uint32_t>(layout.map.size())).U8(mapped ? 24 : 0);
    w.U16(0).U16(0).U16(image.Width()).U16(image.Height()).U8(layout.depth);
    w.U8(layout.alphaBits | (layout.topDown ? 0x20 : 0) | (layout.rightToLeft ? 0x10 : 0));
    w.Text("id!");
    for (std::uint32_t rgb : layout.map) {
        w.U8(rgb).U8(rgb >> 8).U8(rgb >> 16);
    }
    std::vector<const std::uint8_t*> order;
    for (int row = 0; row < image.Height(); ++row) {
        for (int column = 0; column < image.Width(); ++column) {
            order.push_back(image.At(layout.rightToLeft ? image.Width() - 1 - column : column,
                                     layout.topDown ? row : image.Height() - 1 - row));
        }
    }
    if (layout.type < 8) {
        for (const std::uint8_t* p : order) {
            TgaPixel(w, layout, p);
        }
        return w.bytes;
    }
    // Runs of equal pixels as repeat packets (they may run on into the next
    // row), everything else as one-pixel raw packets.
    for (std::size_t i = 0; i < order.size();) {
        std::size_t run = 1;
        while (i + run < order.size() && run < 128 && std::equal(order[i], order[i] + 4, order[i + run])) {
            ++run;
        }
        w.U8(run > 1 ? 0x80 | (run - 1) : 0);
        TgaPixel(w, layout, order[i]);
        i += run;
    }
    return w.bytes;
}

// ---- the table -------------------------------------------------------------

struct FormatCase {
    std::string name;
    Bytes file;
    ImageFileFormat format;
    CImage expected;
};

CImage Stripes() {
    // Two rows that run across a row end in a run-length file.
    return MakeImage(4, 3,
                     {0x102030FF, 0x102030FF, 0x102030FF, 0x102030FF, 0x102030FF, 0xA0B0C0FF, 0xA0B0C0FF,
                      0xA0B0C0FF, 0x000000FF, 0xFFFFFFFF, 0x000000FF, 0xFFFFFFFF});
}

CImage PureColours() {
    // Representable in 5 bits per channel.
    return MakeImage(3, 2, {0xFF0000FF, 0x00FF00FF, 0x0000FFFF, 0xFFFFFFFF, 0x000000FF, 0xFF00FFFF});
}

std::vector<FormatCase> Cases() {
    const CImage grey = MakeImage(2, 2, {0x000000FF, 0x404040FF, 0x808080FF, 0xFFFFFFFF});
    const CImage twoColours =
        MakeImage(9, 2,
                  {0x000000FF, 0xFFFFFFFF, 0x000000FF, 0x000000FF, 0xFFFFFFFF, 0xFFFFFFFF, 0x000000FF,
                   0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0x000000FF, 0xFFFFFFFF, 0xFFFFFFFF, 0x000000FF,
                   0x000000FF, 0xFFFFFFFF, 0x000000FF, 0x000000FF});
    const std::vector<std::uint32_t> picturePalette = {0xFF0000, 0x00FF00, 0x0000FF,
                                                       0xFFFFFF, 0x000000, 0x123456};

    ByteWriter ddsArgb = DdsHeader(3, 2, 0x41, nullptr, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000});
    ByteWriter ddsRgb = DdsHeader(3, 2, 0x40, nullptr, 24, {0xFF0000, 0xFF00, 0xFF});
    ByteWriter ddsLuminance = DdsHeader(2, 2, 0x20000, nullptr, 8, {0xFF});
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            const std::uint8_t* p = kPicture.At(x, y);
            ddsArgb.U8(p[2]).U8(p[1]).U8(p[0]).U8(p[3]);
            ddsRgb.U8(p[2]).U8(p[1]).U8(p[0]);
        }
    }
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            ddsLuminance.U8(grey.At(x, y)[0]);
        }
    }

    auto runLength = [&](int width, int height, int bits, Bytes data) {
        ByteWriter w = BmpStart(
            width, height, {.bits = bits, .compression = bits == 8 ? 1u : 2u, .palette = picturePalette});
        w.bytes.insert(w.bytes.end(), data.begin(), data.end());
        return w.bytes;
    };
    const std::uint32_t red = 0xFF0000FF, blue = 0x0000FFFF, odd = 0x123456FF, white = 0xFFFFFFFF;

    return {
        {"png with alpha", PngFile(kPicture), ImageFileFormat::Png, kPicture},
        // Bottom row as a literal stretch (padded), end of line, top row as runs, end of picture.
        {"bmp run-length 8 bits", runLength(3, 2, 8, {0, 3, 3, 4, 5, 0, 0, 0, 1, 0, 1, 1, 1, 2, 0, 1}),
         ImageFileFormat::Bmp, Opaque(kPicture)},
        // A run, a jump one right and one up, one pixel; the rest stays index 0.
        {"bmp run-length 8 bits with a jump", runLength(4, 2, 8, {2, 5, 0, 2, 1, 1, 1, 3, 0, 1}),
         ImageFileFormat::Bmp, MakeImage(4, 2, {red, red, red, white, odd, odd, red, red})},
        // Five literal nibbles in a padded word pair, then a run alternating two nibbles.
        {"bmp run-length 4 bits", runLength(5, 2, 4, {0, 5, 0x01, 0x23, 0x40, 0, 0, 0, 5, 0x52, 0, 1}),
         ImageFileFormat::Bmp,
         MakeImage(5, 2, {odd, blue, odd, blue, odd, red, 0x00FF00FF, blue, white, 0x000000FF})},
        {"grey png", GreyPngFile(grey), ImageFileFormat::Png, grey},
        {"bmp 24 bits bottom-up, padded rows", BmpFile(kPicture, {24}), ImageFileFormat::Bmp,
         Opaque(kPicture)},
        {"bmp 24 bits top-down", BmpFile(kPicture, {.bits = 24, .topDown = true}), ImageFileFormat::Bmp,
         Opaque(kPicture)},
        {"bmp 32 bits without alpha mask", BmpFile(kPicture, {32}), ImageFileFormat::Bmp, Opaque(kPicture)},
        {"bmp 32 bits with alpha mask", BmpFile(kPicture, {.bits = 32, .infoSize = 108, .compression = 3}),
         ImageFileFormat::Bmp, kPicture},
        {"bmp 32 bits bit fields after a short header",
         BmpFile(kPicture, {.bits = 32, .infoSize = 40, .compression = 3}), ImageFileFormat::Bmp,
         Opaque(kPicture)},
        {"bmp 16 bits 5-5-5", BmpFile(PureColours(), {16}), ImageFileFormat::Bmp, PureColours()},
        {"bmp 8-bit palette", BmpFile(kPicture, {.bits = 8, .palette = picturePalette}), ImageFileFormat::Bmp,
         Opaque(kPicture)},
        {"bmp 4-bit palette", BmpFile(kPicture, {.bits = 4, .palette = picturePalette}), ImageFileFormat::Bmp,
         Opaque(kPicture)},
        {"bmp 1-bit palette", BmpFile(twoColours, {.bits = 1, .palette = {0x000000, 0xFFFFFF}}),
         ImageFileFormat::Bmp, twoColours},
        {"tga 24 bits bottom-up", TgaFile(kPicture, {2, 24}), ImageFileFormat::Tga, Opaque(kPicture)},
        {"tga 32 bits top-down", TgaFile(kPicture, {.type = 2, .depth = 32, .alphaBits = 8, .topDown = true}),
         ImageFileFormat::Tga, kPicture},
        {"tga 32 bits right-to-left",
         TgaFile(kPicture, {.type = 2, .depth = 32, .alphaBits = 8, .rightToLeft = true}),
         ImageFileFormat::Tga, kPicture},
        {"tga 32 bits declaring no alpha", TgaFile(kPicture, {2, 32}), ImageFileFormat::Tga,
         Opaque(kPicture)},
        {"tga 16 bits with attribute bit", TgaFile(PureColours(), {.type = 2, .depth = 16, .alphaBits = 1}),
         ImageFileFormat::Tga, PureColours()},
        {"tga run-length 32 bits", TgaFile(Stripes(), {.type = 10, .depth = 32, .alphaBits = 8}),
         ImageFileFormat::Tga, Stripes()},
        {"tga colour-mapped", TgaFile(kPicture, {.type = 1, .depth = 8, .map = picturePalette}),
         ImageFileFormat::Tga, Opaque(kPicture)},
        {"tga run-length colour-mapped", TgaFile(kPicture, {.type = 9, .depth = 8, .map = picturePalette}),
         ImageFileFormat::Tga, Opaque(kPicture)},
        {"tga grey", TgaFile(grey, {3, 8}), ImageFileFormat::Tga, grey},
        {"dds a8r8g8b8", ddsArgb.bytes, ImageFileFormat::Dds, kPicture},
        {"dds r8g8b8", ddsRgb.bytes, ImageFileFormat::Dds, Opaque(kPicture)},
        {"dds luminance", ddsLuminance.bytes, ImageFileFormat::Dds, grey},
    };
}

TEST(TextureImageFormats, LosslessFormatsDecodeExactly) {
    for (const FormatCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        const TextureImageInfo info = GetTextureImageInfo(c.file, c.name);
        EXPECT_EQ(c.format, info.format);
        EXPECT_EQ(c.expected.Width(), info.width);
        EXPECT_EQ(c.expected.Height(), info.height);
        const std::vector<CImage> levels = LoadTextureImage(c.file, c.name, 1);
        ASSERT_FALSE(levels.empty());
        ExpectSameImage(c.expected, levels[0]);
    }
}

// ---- DXT -------------------------------------------------------------------

Bytes DxtFile(int width, int height, const char* fourCC, const Bytes& blocks) {
    ByteWriter w = DdsHeader(width, height, 0x4, fourCC, 0, {});
    w.bytes.insert(w.bytes.end(), blocks.begin(), blocks.end());
    return w.bytes;
}

// A 4 x 4 picture whose rows all hold the same four pixels.
CImage Tile(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return MakeImage(4, 4, {a, b, c, d, a, b, c, d, a, b, c, d, a, b, c, d});
}

// Each row of a 4 x 4 block uses colour indices 0, 1, 2, 3 from left to right.
constexpr std::uint32_t kIndicesPerColumn = 0xE4E4E4E4;
constexpr std::uint32_t kRed565 = 0xF800, kBlue565 = 0x001F, kWhite565 = 0xFFFF, kBlack565 = 0;

struct DxtCase {
    std::string name;
    Bytes file;
    CImage expected;
};

std::vector<DxtCase> DxtCases() {
    // DXT5 alpha indices 0..7 in texel order, twice.
    ByteWriter alphaIndices;
    std::uint64_t bits = 0;
    for (int i = 0; i < 16; ++i) {
        bits |= static_cast<std::uint64_t>(i % 8) << (3 * i);
    }
    for (int i = 0; i < 6; ++i) {
        alphaIndices.U8(static_cast<std::uint32_t>(bits >> (8 * i)));
    }
    const Bytes& idx = alphaIndices.bytes;
    auto dxt5 = [&](int a0, int a1) {
        ByteWriter w;
        w.U8(a0).U8(a1);
        w.bytes.insert(w.bytes.end(), idx.begin(), idx.end());
        w.U16(kWhite565).U16(kBlack565).U32(0);
        return w.bytes;
    };
    auto white = [](std::uint32_t alpha) { return 0xFFFFFF00 | alpha; };

    return {
        // Red > blue: four colours, two thirds and one third between them.
        {"dxt1 four colours",
         DxtFile(4, 4, "DXT1", ByteWriter().U16(kRed565).U16(kBlue565).U32(kIndicesPerColumn).bytes),
         Tile(0xFF0000FF, 0x0000FFFF, 0xAA0055FF, 0x5500AAFF)},
        // Blue < red: three colours and transparent black.
        {"dxt1 three colours and transparent",
         DxtFile(4, 4, "DXT1", ByteWriter().U16(kBlue565).U16(kRed565).U32(kIndicesPerColumn).bytes),
         Tile(0x0000FFFF, 0xFF0000FF, 0x7F007FFF, 0x00000000)},
        // Index 3 is a colour, not transparency, in DXT3 even with colour 0 < colour 1.
        {"dxt3 explicit alpha",
         DxtFile(4, 4, "DXT3",
                 ByteWriter()
                     .U16(0xFA50)
                     .U16(0xFA50)
                     .U16(0xFA50)
                     .U16(0xFA50)
                     .U16(kBlack565)
                     .U16(kWhite565)
                     .U32(0xFFFFFFFF)
                     .bytes),
         Tile(0xAAAAAA00, 0xAAAAAA55, 0xAAAAAAAA, 0xAAAAAAFF)},
        {"dxt5 eight alphas", DxtFile(4, 4, "DXT5", dxt5(255, 0)),
         MakeImage(4, 4,
                   {white(255), white(0), white(218), white(182), white(145), white(109), white(72),
                    white(36), white(255), white(0), white(218), white(182), white(145), white(109),
                    white(72), white(36)})},
        {"dxt5 six alphas with 0 and 255", DxtFile(4, 4, "DXT5", dxt5(0, 255)),
         MakeImage(4, 4,
                   {white(0), white(255), white(51), white(102), white(153), white(204), white(0), white(255),
                    white(0), white(255), white(51), white(102), white(153), white(204), white(0),
                    white(255)})},
        // 5 x 3 needs two blocks across and one down; the rest of the blocks is cut off.
        {"dxt1 partial blocks",
         DxtFile(
             5, 3, "DXT1",
             ByteWriter().U16(kRed565).U16(kBlue565).U32(0).U16(kRed565).U16(kBlue565).U32(0x55555555).bytes),
         MakeImage(5, 3,
                   {0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0x0000FFFF, 0xFF0000FF, 0xFF0000FF,
                    0xFF0000FF, 0xFF0000FF, 0x0000FFFF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF,
                    0x0000FFFF})},
    };
}

TEST(TextureImageFormats, DxtBlocksDecodeToTheirPalettes) {
    for (const DxtCase& c : DxtCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ImageFileFormat::Dds, GetTextureImageInfo(c.file, c.name).format);
        ExpectSameImage(c.expected, LoadTextureImage(c.file, c.name, 1)[0]);
    }
}

TEST(TextureImageFormats, JpegDecodesCloseToTheOriginal) {
    const CImage colour = SolidImage(16, 8, 0xC86432FF);
    for (bool grey : {false, true}) {
        SCOPED_TRACE(grey ? "grey" : "colour");
        const Bytes file = JpegFile(colour, grey);
        const TextureImageInfo info = GetTextureImageInfo(file, "a.jpg");
        EXPECT_EQ(ImageFileFormat::Jpeg, info.format);
        EXPECT_EQ(16, info.width);
        EXPECT_EQ(8, info.height);
        const CImage decoded = LoadTextureImage(file, "a.jpg", 1)[0];
        // Grey keeps the luminance of (200, 100, 50): about 124.
        const int expected[3] = {grey ? 124 : 200, grey ? 124 : 100, grey ? 124 : 50};
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 16; ++x) {
                for (int c = 0; c < 3; ++c) {
                    EXPECT_NEAR(expected[c], decoded.At(x, y)[c], 3) << x << ", " << y;
                }
                EXPECT_EQ(255, decoded.At(x, y)[3]);
            }
        }
    }
}

} // namespace
