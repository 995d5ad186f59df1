#include "render/ImageCodec.h"

#include <png.h>

#include <cstring>

namespace {

// libpng's simplified reader does its own error recovery (no longjmp through
// our frames) and converts every colour type and depth to 8-bit RGBA.
struct PngReader {
    png_image image{};

    explicit PngReader(std::span<const std::uint8_t> file) {
        image.version = PNG_IMAGE_VERSION;
        png_image_begin_read_from_memory(&image, file.data(), file.size());
    }
    ~PngReader() { png_image_free(&image); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool Ok() const { return PNG_IMAGE_FAILED(image) == 0; }
};

bool Matches(std::span<const std::uint8_t> file) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return file.size() >= sizeof kSignature && std::memcmp(file.data(), kSignature, sizeof kSignature) == 0;
}

std::optional<ImageHeader> ReadHeader(std::span<const std::uint8_t> file) {
    PngReader reader(file);
    if (!reader.Ok()) {
        return std::nullopt;
    }
    return ImageHeader{static_cast<int>(reader.image.width), static_cast<int>(reader.image.height)};
}

bool Decode(std::span<const std::uint8_t> file, CImage& out) {
    PngReader reader(file);
    if (!reader.Ok()) {
        return false;
    }
    reader.image.format = PNG_FORMAT_RGBA;
    CImage image(static_cast<int>(reader.image.width), static_cast<int>(reader.image.height));
    if (!png_image_finish_read(&reader.image, nullptr, image.Data(), 0, nullptr)) {
        return false;
    }
    out = std::move(image);
    return true;
}

} // namespace

const ImageCodec kPngCodec{ImageFileFormat::Png, Matches, ReadHeader, Decode};
