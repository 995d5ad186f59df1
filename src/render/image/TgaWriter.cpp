#include "render/image/TgaWriter.h"

#include "resources/ByteWriter.h"
#include "resources/CADVException.h"

#include <limits>

std::vector<std::uint8_t> WriteTga(const CImage& image) {
    constexpr int kMaxSide = std::numeric_limits<std::uint16_t>::max();
    if (image.Width() <= 0 || image.Height() <= 0 || image.Width() > kMaxSide || image.Height() > kMaxSide) {
        throw CADVException("WriteTga - a TGA file cannot hold a %d x %d picture", image.Width(),
                            image.Height());
    }
    constexpr std::uint8_t kTrueColour = 2;
    constexpr std::uint8_t kAlphaBits = 8;
    constexpr std::uint8_t kTopDown = 0x20;
    std::vector<std::uint8_t> out;
    PutU8(out, 0); // no image id
    PutU8(out, 0); // no colour map
    PutU8(out, kTrueColour);
    PutU16(out, 0); // colour map: first entry, length, depth
    PutU16(out, 0);
    PutU8(out, 0);
    PutU16(out, 0); // origin x, y
    PutU16(out, 0);
    PutU16(out, static_cast<std::uint16_t>(image.Width()));
    PutU16(out, static_cast<std::uint16_t>(image.Height()));
    PutU8(out, 32);
    PutU8(out, kAlphaBits | kTopDown);
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint8_t* rgba = image.At(x, y);
            out.insert(out.end(), {rgba[2], rgba[1], rgba[0], rgba[3]});
        }
    }
    return out;
}
