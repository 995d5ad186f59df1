#pragma once

#include "render/image/CImage.h"

#include <cstdint>
#include <optional>
#include <span>

// The image file formats a texture file may have.
enum class ImageFileFormat { Png, Jpeg, Dds, Tga, Bmp };

struct ImageHeader {
    int width;
    int height;
};

// One file format's reader. `Matches` looks only at the signature; TGA has
// none and accepts any plausible header, so it is asked last.
struct ImageCodec {
    ImageFileFormat format;
    bool (*Matches)(std::span<const std::uint8_t> file);
    // Size from the header; nullopt when the header is unreadable.
    std::optional<ImageHeader> (*ReadHeader)(std::span<const std::uint8_t> file);
    // The whole picture; false on corrupt or unsupported data. Only called for
    // files whose header was read and whose size is acceptable.
    bool (*Decode)(std::span<const std::uint8_t> file, CImage& out);
};

extern const ImageCodec kPngCodec;
extern const ImageCodec kJpegCodec;
extern const ImageCodec kDdsCodec;
extern const ImageCodec kBmpCodec;
extern const ImageCodec kTgaCodec;
