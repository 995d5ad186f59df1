#include "render/image/PngCodec.h"

#include "render/image/ImageCodec.h"

#include <png.h>

#include <cstring>
#include <fstream>

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

std::optional<std::vector<std::uint8_t>> WritePng(int width, int height, std::span<const std::uint8_t> rgba) {
    if (width <= 0 || height <= 0 ||
        rgba.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
        return std::nullopt;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    // The first pass only measures the file.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    std::vector<std::uint8_t> file(size);
    const bool ok = png_image_write_to_memory(&image, file.data(), &size, 0, rgba.data(), 0, nullptr) != 0;
    png_image_free(&image);
    if (!ok) {
        return std::nullopt;
    }
    file.resize(size);
    return file;
}

bool WritePng(const std::filesystem::path& path, int width, int height, std::span<const std::uint8_t> rgba) {
    const auto file = WritePng(width, height, rgba);
    if (!file) {
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file->data()), static_cast<std::streamsize>(file->size()));
    return static_cast<bool>(out.flush());
}
