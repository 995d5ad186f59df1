#include "resources/ByteReader.h"
#include "render/image/ImageCodec.h"
#include "render/image/PixelMask.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
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

// Palette indices of an image of up to 8 bits per pixel, rows top to bottom.
using Indices = std::vector<std::uint8_t>;

std::size_t Stride(const BmpHeader& h) {
    return (static_cast<std::size_t>(h.width) * static_cast<std::size_t>(h.bitCount) + 31) / 32 * 4;
}

bool HasRows(const ByteReader& in, const BmpHeader& h) {
    return in.Ok() && in.Remaining() / Stride(h) >= static_cast<std::size_t>(h.height);
}

int FileRowToY(const BmpHeader& h, std::int64_t row) {
    return h.topDown ? static_cast<int>(row) : h.height - 1 - static_cast<int>(row);
}

bool ReadPackedIndices(ByteReader& in, const BmpHeader& h, Indices& indices) {
    if (!HasRows(in, h)) {
        return false;
    }
    const auto width = static_cast<std::size_t>(h.width);
    for (int row = 0; row < h.height; ++row) {
        ByteReader line(in.Take(Stride(h)));
        std::uint8_t* target = &indices[static_cast<std::size_t>(FileRowToY(h, row)) * width];
        std::uint32_t bitBuffer = 0;
        int bitsLeft = 0;
        for (std::size_t x = 0; x < width; ++x) {
            if (bitsLeft == 0) {
                bitBuffer = line.U8();
                bitsLeft = 8;
            }
            bitsLeft -= h.bitCount;
            target[x] = static_cast<std::uint8_t>(bitBuffer >> bitsLeft & ((1u << h.bitCount) - 1));
        }
    }
    return true;
}

// RLE8 and RLE4: runs of one index (two alternating ones for RLE4), literal
// stretches padded to whole 16-bit words, and escapes for end of line, end of
// picture and a jump. Pixels the packets never reach keep index 0; packets
// running past the picture are cut off.
bool ReadRunLengthIndices(ByteReader& in, const BmpHeader& h, Indices& indices) {
    if (h.topDown) {
        return false;
    }
    std::int64_t x = 0, row = 0;
    auto put = [&](std::uint32_t index) {
        if (x < h.width && row < h.height) {
            indices[static_cast<std::size_t>(FileRowToY(h, row)) * static_cast<std::size_t>(h.width) +
                    static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(index);
        }
        ++x;
    };
    const bool nibbles = h.bitCount == 4;
    while (in.Remaining() >= 2) {
        const std::uint8_t count = in.U8();
        const std::uint8_t value = in.U8();
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                put(nibbles ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
            }
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            x += in.U8();
            row += in.U8();
        } else {
            const std::size_t bytes = nibbles ? (value + 1u) / 2 : value;
            ByteReader literal(in.Take(bytes + bytes % 2));
            std::uint8_t packed = 0;
            for (int i = 0; i < value; ++i) {
                if (!nibbles) {
                    put(literal.U8());
                } else if (i % 2 == 0) {
                    packed = literal.U8();
                    put(packed >> 4);
                } else {
                    put(packed & 15);
                }
            }
        }
    }
    return in.Ok();
}

// 16, 24 and 32 bits per pixel, with bit fields or the fixed layouts.
bool ReadColours(ByteReader& in, const BmpHeader& h, CImage& image) {
    if (h.compression == kBitFields && h.bitCount == 24) {
        return false;
    }
    // Without bit fields, 16 bits are 5-5-5 and 32 bits are B, G, R and an unused byte.
    std::uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
    if (h.compression == kRgb) {
        masks[3] = 0;
        if (h.bitCount == 16) {
            masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
        } else {
            masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
        }
    }
    const PixelMask red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    if (!HasRows(in, h)) {
        return false;
    }
    for (int row = 0; row < h.height; ++row) {
        ByteReader line(in.Take(Stride(h)));
        const int y = FileRowToY(h, row);
        for (int x = 0; x < h.width; ++x) {
            std::uint32_t v = 0;
            for (int b = 0; b < h.bitCount / 8; ++b) {
                v |= static_cast<std::uint32_t>(line.U8()) << (8 * b);
            }
            image.Set(x, y, red.Extract(v, 0), green.Extract(v, 0), blue.Extract(v, 0),
                      alpha.Extract(v, 255));
        }
    }
    return true;
}

bool Decode(std::span<const std::uint8_t> file, CImage& out) {
    const auto h = ParseHeader(file);
    if (!h) {
        return false;
    }
    const int bits = h->bitCount;
    const std::uint32_t c = h->compression;
    ByteReader in(file, h->dataOffset);
    CImage image(h->width, h->height);
    if (bits <= 8) {
        Indices indices(static_cast<std::size_t>(h->width) * static_cast<std::size_t>(h->height), 0);
        const bool runLength = (c == kRle8 && bits == 8) || (c == kRle4 && bits == 4);
        if (!(c == kRgb ? ReadPackedIndices(in, *h, indices)
                        : runLength && ReadRunLengthIndices(in, *h, indices))) {
            return false;
        }
        for (std::size_t i = 0; i < indices.size(); ++i) {
            const std::size_t entry = static_cast<std::size_t>(indices[i]) * 4;
            if (entry >= h->palette.size()) {
                return false;
            }
            std::copy_n(&h->palette[entry], 4, image.Data() + i * 4);
        }
    } else if ((bits != 16 && bits != 24 && bits != 32) || (c != kRgb && c != kBitFields) ||
               !ReadColours(in, *h, image)) {
        return false;
    }
    out = std::move(image);
    return true;
}

} // namespace

const ImageCodec kBmpCodec{ImageFileFormat::Bmp, Matches, ReadHeader, Decode};
