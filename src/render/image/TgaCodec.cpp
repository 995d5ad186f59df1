#include "resources/ByteReader.h"
#include "render/image/ImageCodec.h"

#include <array>
#include <vector>

namespace {

constexpr std::size_t kHeaderSize = 18;

enum ImageType : std::uint8_t { kMapped = 1, kTrueColour = 2, kGrey = 3, kRle = 8 };

struct TgaHeader {
    int width;
    int height;
    int type; // without the RLE bit
    bool rle;
    int depth; // bits per stored pixel or index
    int alphaBits;
    bool rightToLeft;
    bool topDown;
    int mapFirst;
    int mapLength;
    int mapDepth;
    bool hasMap;
    std::size_t mapOffset;
};

bool ValidColourDepth(int depth) {
    return depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

std::optional<TgaHeader> ParseHeader(std::span<const std::uint8_t> file) {
    ByteReader in(file);
    const std::uint8_t idLength = in.U8();
    const std::uint8_t mapType = in.U8();
    const std::uint8_t imageType = in.U8();
    TgaHeader h{};
    h.mapFirst = in.U16();
    h.mapLength = in.U16();
    h.mapDepth = in.U8();
    in.Skip(4); // origin
    h.width = in.U16();
    h.height = in.U16();
    h.depth = in.U8();
    const std::uint8_t descriptor = in.U8();
    if (!in.Ok() || mapType > 1 || h.width == 0 || h.height == 0) {
        return std::nullopt;
    }
    h.rle = (imageType & kRle) != 0;
    h.type = imageType & ~kRle;
    h.alphaBits = descriptor & 0x0F;
    h.rightToLeft = (descriptor & 0x10) != 0;
    h.topDown = (descriptor & 0x20) != 0;
    h.hasMap = mapType == 1;
    h.mapOffset = kHeaderSize + idLength;
    // With no signature to go by, only headers that make sense count as TGA.
    switch (h.type) {
    case kMapped:
        if (mapType != 1 || (h.depth != 8 && h.depth != 16) || !ValidColourDepth(h.mapDepth) ||
            h.mapLength == 0) {
            return std::nullopt;
        }
        break;
    case kTrueColour:
        if (!ValidColourDepth(h.depth)) {
            return std::nullopt;
        }
        break;
    case kGrey:
        if (h.depth != 8) {
            return std::nullopt;
        }
        break;
    default:
        return std::nullopt;
    }
    return h;
}

using Rgba = std::array<std::uint8_t, 4>;

// A stored colour of `depth` bits, blue first.
Rgba ReadColour(ByteReader& in, int depth, int alphaBits) {
    if (depth == 15 || depth == 16) {
        const std::uint16_t v = in.U16();
        auto widen = [](int c) { return static_cast<std::uint8_t>(c << 3 | c >> 2); };
        const bool opaque = depth == 15 || alphaBits == 0 || (v & 0x8000) != 0;
        return {widen(v >> 10 & 31), widen(v >> 5 & 31), widen(v & 31),
                static_cast<std::uint8_t>(opaque ? 255 : 0)};
    }
    const std::uint8_t b = in.U8(), g = in.U8(), r = in.U8();
    const std::uint8_t a = depth == 32 ? in.U8() : 255;
    return {r, g, b, depth == 32 && alphaBits == 0 ? std::uint8_t{255} : a};
}

class PixelSource {
public:
    PixelSource(ByteReader& in, const TgaHeader& h, const std::vector<Rgba>& map)
        : m_in(in), m_h(h), m_map(map) {}

    // The next pixel in file order, expanding run-length packets; nullopt on corrupt data.
    std::optional<Rgba> Next() {
        if (m_h.rle && m_left == 0) {
            const std::uint8_t packet = m_in.U8();
            m_left = (packet & 0x7F) + 1;
            m_repeat = (packet & 0x80) != 0;
            if (m_repeat) {
                const auto p = ReadOne();
                if (!p) {
                    return std::nullopt;
                }
                m_current = *p;
            }
        }
        if (m_h.rle) {
            --m_left;
            if (m_repeat) {
                return m_current;
            }
        }
        return ReadOne();
    }

private:
    std::optional<Rgba> ReadOne() {
        if (m_h.type == kTrueColour) {
            return ReadColour(m_in, m_h.depth, m_h.alphaBits);
        }
        const int value = m_h.depth == 16 ? m_in.U16() : m_in.U8();
        if (m_h.type == kGrey) {
            const auto v = static_cast<std::uint8_t>(value);
            return Rgba{v, v, v, 255};
        }
        const int index = value - m_h.mapFirst;
        if (index < 0 || index >= static_cast<int>(m_map.size())) {
            return std::nullopt;
        }
        return m_map[static_cast<std::size_t>(index)];
    }

    ByteReader& m_in;
    const TgaHeader& m_h;
    const std::vector<Rgba>& m_map;
    int m_left = 0;
    bool m_repeat = false;
    Rgba m_current{};
};

bool Matches(std::span<const std::uint8_t> file) {
    return ParseHeader(file).has_value();
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
    if (!h) {
        return false;
    }
    ByteReader in(file, h->mapOffset);
    std::vector<Rgba> map;
    if (h->type == kMapped) {
        for (int i = 0; i < h->mapLength && in.Ok(); ++i) {
            map.push_back(ReadColour(in, h->mapDepth, h->alphaBits));
        }
    } else if (h->hasMap) {
        // Other types may carry a colour map too; it is not used.
        const std::size_t entryBytes = (static_cast<std::size_t>(h->mapDepth) + 7) / 8;
        in.Skip(static_cast<std::size_t>(h->mapLength) * entryBytes);
    }
    if (!in.Ok()) {
        return false;
    }
    CImage image(h->width, h->height);
    PixelSource source(in, *h, map);
    for (int row = 0; row < h->height; ++row) {
        const int y = h->topDown ? row : h->height - 1 - row;
        for (int column = 0; column < h->width; ++column) {
            const int x = h->rightToLeft ? h->width - 1 - column : column;
            const auto p = source.Next();
            if (!p || !in.Ok()) {
                return false;
            }
            image.Set(x, y, (*p)[0], (*p)[1], (*p)[2], (*p)[3]);
        }
    }
    out = std::move(image);
    return true;
}

} // namespace

const ImageCodec kTgaCodec{ImageFileFormat::Tga, Matches, ReadHeader, Decode};
