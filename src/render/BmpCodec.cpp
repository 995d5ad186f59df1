#include "render/ByteReader.h"
#include "render/ImageCodec.h"
#include "render/PixelMask.h"

#include <vector>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;

struct BmpHeader {
    int width;
    int height;
    bool topDown;
    int bitCount;
    std::uint32_t compression;
    std::uint32_t dataOffset;
    std::uint32_t masks[4];            // red, green, blue, alpha
    std::vector<std::uint8_t> palette; // RGBA entries
};

std::optional<BmpHeader> ParseHeader(std::span<const std::uint8_t> file) {
    ByteReader in(file);
    if (in.U8() != 'B' || in.U8() != 'M') {
        return std::nullopt;
    }
    in.Skip(8); // file size, reserved
    BmpHeader h{};
    h.dataOffset = in.U32();
    const std::uint32_t infoSize = in.U32();
    std::int64_t width = 0, height = 0;
    std::uint32_t paletteEntries = 0;
    std::size_t paletteEntrySize = 4;
    if (infoSize == 12) { // the old OS/2 header
        width = in.U16();
        height = in.U16();
        in.U16(); // planes
        h.bitCount = in.U16();
        paletteEntrySize = 3;
    } else if (infoSize >= 40) {
        width = in.I32();
        height = in.I32();
        in.U16(); // planes
        h.bitCount = in.U16();
        h.compression = in.U32();
        in.Skip(12); // image size, resolution
        paletteEntries = in.U32();
        in.U32(); // important colours
        // Masks follow a 40-byte header only for bit fields; later headers hold them.
        const bool hasMasks = infoSize >= 52 || h.compression == kBitFields;
        if (hasMasks) {
            for (int i = 0; i < (infoSize >= 56 ? 4 : 3); ++i) {
                h.masks[i] = in.U32();
            }
        }
        in.Seek(kFileHeaderSize + (infoSize >= 52 ? infoSize : 40) + (infoSize == 40 && hasMasks ? 12 : 0));
    } else {
        return std::nullopt;
    }
    if (!in.Ok() || width <= 0 || height == 0 || height < -0x7FFFFFFF) {
        return std::nullopt;
    }
    h.topDown = height < 0;
    h.width = static_cast<int>(width);
    h.height = static_cast<int>(height < 0 ? -height : height);
    if (h.bitCount <= 8) {
        if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8) {
            return std::nullopt;
        }
        const std::uint32_t most = 1u << h.bitCount;
        const std::uint32_t count = paletteEntries == 0 || paletteEntries > most ? most : paletteEntries;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t b = in.U8(), g = in.U8(), r = in.U8();
            in.Skip(paletteEntrySize - 3);
            h.palette.insert(h.palette.end(), {r, g, b, 255});
        }
        if (!in.Ok()) {
            return std::nullopt;
        }
    }
    return h;
}

bool Matches(std::span<const std::uint8_t> file) {
    return file.size() >= 2 && file[0] == 'B' && file[1] == 'M';
}

std::optional<ImageHeader> ReadHeader(std::span<const std::uint8_t> file) {
    const auto h = ParseHeader(file);
    if (!h) {
        return std::nullopt;
    }
    return ImageHeader{h->width, h->height};
}

bool Decode(std::span<const std::uint8_t> file, CImage& out) {
    const auto h = ParseHeader(file);
    if (!h || (h->compression != kRgb && h->compression != kBitFields)) {
        return false;
    }
    const int bits = h->bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return false;
    }
    if (h->compression == kBitFields && bits != 16 && bits != 32) {
        return false;
    }
    // Without bit fields, 16 bits are 5-5-5 and 32 bits are B, G, R and an unused byte.
    std::uint32_t masks[4] = {h->masks[0], h->masks[1], h->masks[2], h->masks[3]};
    if (h->compression == kRgb) {
        masks[3] = 0;
        if (bits == 16) {
            masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
        } else {
            masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
        }
    }
    const PixelMask red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);

    const std::size_t stride =
        (static_cast<std::size_t>(h->width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
    ByteReader in(file, h->dataOffset);
    if (!in.Ok() || in.Remaining() / stride < static_cast<std::size_t>(h->height)) {
        return false;
    }
    CImage image(h->width, h->height);
    for (int row = 0; row < h->height; ++row) {
        const int y = h->topDown ? row : h->height - 1 - row;
        ByteReader line(in.Take(stride));
        std::uint32_t bitBuffer = 0;
        int bitsLeft = 0;
        for (int x = 0; x < h->width; ++x) {
            if (bits <= 8) {
                if (bitsLeft == 0) {
                    bitBuffer = line.U8();
                    bitsLeft = 8;
                }
                bitsLeft -= bits;
                const std::size_t index = (bitBuffer >> bitsLeft & ((1u << bits) - 1)) * 4;
                if (index >= h->palette.size()) {
                    return false;
                }
                const std::uint8_t* entry = &h->palette[index];
                image.Set(x, y, entry[0], entry[1], entry[2], entry[3]);
            } else {
                std::uint32_t v = 0;
                for (int b = 0; b < bits / 8; ++b) {
                    v |= static_cast<std::uint32_t>(line.U8()) << (8 * b);
                }
                image.Set(x, y, red.Extract(v, 0), green.Extract(v, 0), blue.Extract(v, 0),
                          alpha.Extract(v, 255));
            }
        }
    }
    out = std::move(image);
    return true;
}

} // namespace

const ImageCodec kBmpCodec{ImageFileFormat::Bmp, Matches, ReadHeader, Decode};
