#include "resources/ByteReader.h"
#include "render/image/ImageCodec.h"
#include "render/image/PixelMask.h"

#include <array>

namespace {

constexpr std::uint32_t kMagic = 0x20534444; // "DDS "
constexpr std::uint32_t kHeaderSize = 124;
constexpr std::size_t kDataOffset = 4 + kHeaderSize;

constexpr std::uint32_t kPixelAlpha = 0x1;
constexpr std::uint32_t kPixelFourCC = 0x4;
constexpr std::uint32_t kPixelRgb = 0x40;
constexpr std::uint32_t kPixelLuminance = 0x20000;

constexpr std::uint32_t FourCC(char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b) << 8 |
           static_cast<std::uint32_t>(c) << 16 | static_cast<std::uint32_t>(d) << 24;
}

struct DdsHeader {
    int width;
    int height;
    std::uint32_t pixelFlags;
    std::uint32_t fourCC;
    std::uint32_t bitCount;
    std::uint32_t masks[4]; // red, green, blue, alpha
};

std::optional<DdsHeader> ParseHeader(std::span<const std::uint8_t> file) {
    ByteReader in(file);
    if (in.U32() != kMagic || in.U32() != kHeaderSize) {
        return std::nullopt;
    }
    DdsHeader h{};
    in.U32(); // flags
    const std::uint32_t height = in.U32();
    const std::uint32_t width = in.U32();
    in.Skip(4 + 4 + 4 + 11 * 4); // pitch, depth, mip count, reserved
    if (in.U32() != 32) {        // pixel format record size
        return std::nullopt;
    }
    h.pixelFlags = in.U32();
    h.fourCC = in.U32();
    h.bitCount = in.U32();
    for (std::uint32_t& mask : h.masks) {
        mask = in.U32();
    }
    if (!in.Ok() || width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
        return std::nullopt;
    }
    h.width = static_cast<int>(width);
    h.height = static_cast<int>(height);
    return h;
}

using Rgba = std::array<std::uint8_t, 4>;

Rgba From565(std::uint16_t v) {
    const int r = v >> 11 & 31, g = v >> 5 & 63, b = v & 31;
    return {static_cast<std::uint8_t>(r << 3 | r >> 2), static_cast<std::uint8_t>(g << 2 | g >> 4),
            static_cast<std::uint8_t>(b << 3 | b >> 2), 255};
}

Rgba Mix(const Rgba& a, const Rgba& b, int wa, int wb) {
    Rgba out{};
    for (int c = 0; c < 3; ++c) {
        out[c] = static_cast<std::uint8_t>((a[c] * wa + b[c] * wb) / (wa + wb));
    }
    out[3] = 255;
    return out;
}

// The colour half of every DXT block. DXT1 alone switches to three colours
// plus transparent black when the first colour is not the larger one.
void DecodeColours(ByteReader& in, bool allowTransparent, Rgba (&texels)[16]) {
    const std::uint16_t c0 = in.U16();
    const std::uint16_t c1 = in.U16();
    std::uint32_t bits = in.U32();
    Rgba palette[4] = {From565(c0), From565(c1), {}, {}};
    if (c0 > c1 || !allowTransparent) {
        palette[2] = Mix(palette[0], palette[1], 2, 1);
        palette[3] = Mix(palette[0], palette[1], 1, 2);
    } else {
        palette[2] = Mix(palette[0], palette[1], 1, 1);
        palette[3] = {0, 0, 0, 0};
    }
    for (Rgba& texel : texels) {
        texel = palette[bits & 3];
        bits >>= 2;
    }
}

// DXT3: four explicit bits of alpha per texel.
void DecodeExplicitAlpha(ByteReader& in, Rgba (&texels)[16]) {
    for (int i = 0; i < 16; i += 4) {
        const std::uint16_t row = in.U16();
        for (int j = 0; j < 4; ++j) {
            texels[i + j][3] = static_cast<std::uint8_t>((row >> (4 * j) & 15) * 17);
        }
    }
}

// DXT5: two end points and a three-bit index per texel.
void DecodeInterpolatedAlpha(ByteReader& in, std::uint8_t (&alpha)[16]) {
    const int a0 = in.U8();
    const int a1 = in.U8();
    std::uint64_t bits = 0;
    for (int i = 0; i < 6; ++i) {
        bits |= static_cast<std::uint64_t>(in.U8()) << (8 * i);
    }
    int table[8] = {a0, a1};
    if (a0 > a1) {
        for (int i = 1; i <= 6; ++i) {
            table[i + 1] = ((7 - i) * a0 + i * a1) / 7;
        }
    } else {
        for (int i = 1; i <= 4; ++i) {
            table[i + 1] = ((5 - i) * a0 + i * a1) / 5;
        }
        table[6] = 0;
        table[7] = 255;
    }
    for (std::uint8_t& a : alpha) {
        a = static_cast<std::uint8_t>(table[bits & 7]);
        bits >>= 3;
    }
}

bool DecodeBlocks(ByteReader& in, std::uint32_t fourCC, CImage& image) {
    const std::size_t blockBytes = fourCC == FourCC('D', 'X', 'T', '1') ? 8 : 16;
    const std::size_t blocksX = (static_cast<std::size_t>(image.Width()) + 3) / 4;
    const std::size_t blocksY = (static_cast<std::size_t>(image.Height()) + 3) / 4;
    if (in.Remaining() / blockBytes / blocksX < blocksY) {
        return false;
    }
    for (std::size_t by = 0; by < blocksY; ++by) {
        for (std::size_t bx = 0; bx < blocksX; ++bx) {
            Rgba texels[16];
            if (fourCC == FourCC('D', 'X', 'T', '1')) {
                DecodeColours(in, true, texels);
            } else if (fourCC == FourCC('D', 'X', 'T', '3')) {
                ByteReader alphaPart = in;
                in.Skip(8);
                DecodeColours(in, false, texels);
                DecodeExplicitAlpha(alphaPart, texels);
            } else {
                std::uint8_t alpha[16];
                DecodeInterpolatedAlpha(in, alpha);
                DecodeColours(in, false, texels);
                for (int i = 0; i < 16; ++i) {
                    texels[i][3] = alpha[i];
                }
            }
            for (int i = 0; i < 16; ++i) {
                const int x = static_cast<int>(bx * 4) + i % 4;
                const int y = static_cast<int>(by * 4) + i / 4;
                if (x < image.Width() && y < image.Height()) {
                    image.Set(x, y, texels[i][0], texels[i][1], texels[i][2], texels[i][3]);
                }
            }
        }
    }
    return in.Ok();
}

bool DecodeUncompressed(ByteReader& in, const DdsHeader& h, CImage& image) {
    if (h.bitCount != 8 && h.bitCount != 16 && h.bitCount != 24 && h.bitCount != 32) {
        return false;
    }
    const std::size_t bytesPerPixel = h.bitCount / 8;
    const auto width = static_cast<std::size_t>(image.Width());
    if (in.Remaining() / bytesPerPixel / width < static_cast<std::size_t>(image.Height())) {
        return false;
    }
    const bool luminance = (h.pixelFlags & kPixelLuminance) != 0;
    const PixelMask red(h.masks[0]), green(luminance ? h.masks[0] : h.masks[1]),
        blue(luminance ? h.masks[0] : h.masks[2]);
    const PixelMask alpha((h.pixelFlags & kPixelAlpha) ? h.masks[3] : 0);
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            std::uint32_t v = 0;
            for (std::size_t b = 0; b < bytesPerPixel; ++b) {
                v |= static_cast<std::uint32_t>(in.U8()) << (8 * b);
            }
            image.Set(x, y, red.Extract(v, 0), green.Extract(v, 0), blue.Extract(v, 0),
                      alpha.Extract(v, 255));
        }
    }
    return in.Ok();
}

bool Matches(std::span<const std::uint8_t> file) {
    return file.size() >= 4 && file[0] == 'D' && file[1] == 'D' && file[2] == 'S' && file[3] == ' ';
}

std::optional<ImageHeader> ReadHeader(std::span<const std::uint8_t> file) {
    const auto h = ParseHeader(file);
    if (!h) {
        return std::nullopt;
    }
    return ImageHeader{h->width, h->height};
}

// Only the top level of the first surface is read; the mip chain is built
// again at the size the texture quality asks for.
bool Decode(std::span<const std::uint8_t> file, CImage& out) {
    const auto h = ParseHeader(file);
    if (!h) {
        return false;
    }
    ByteReader in(file, kDataOffset);
    CImage image(h->width, h->height);
    bool ok = false;
    if (h->pixelFlags & kPixelFourCC) {
        const bool dxt = h->fourCC == FourCC('D', 'X', 'T', '1') || h->fourCC == FourCC('D', 'X', 'T', '3') ||
                         h->fourCC == FourCC('D', 'X', 'T', '5');
        ok = dxt && DecodeBlocks(in, h->fourCC, image);
    } else if (h->pixelFlags & (kPixelRgb | kPixelLuminance)) {
        ok = DecodeUncompressed(in, *h, image);
    }
    if (ok) {
        out = std::move(image);
    }
    return ok;
}

} // namespace

const ImageCodec kDdsCodec{ImageFileFormat::Dds, Matches, ReadHeader, Decode};
