#include "ImageFiles.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <stdexcept>

CImage MakeImage(int width, int height, std::initializer_list<std::uint32_t> rgba) {
    if (rgba.size() != static_cast<std::size_t>(width * height)) {
        throw std::logic_error("pixel count does not match the size");
    }
    CImage image(width, height);
    auto it = rgba.begin();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, ++it) {
            image.Set(x, y, static_cast<std::uint8_t>(*it >> 24), static_cast<std::uint8_t>(*it >> 16),
                      static_cast<std::uint8_t>(*it >> 8), static_cast<std::uint8_t>(*it));
        }
    }
    return image;
}

CImage SolidImage(int width, int height, std::uint32_t rgba) {
    CImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.Set(x, y, static_cast<std::uint8_t>(rgba >> 24), static_cast<std::uint8_t>(rgba >> 16),
                      static_cast<std::uint8_t>(rgba >> 8), static_cast<std::uint8_t>(rgba));
        }
    }
    return image;
}

namespace {

Bytes WritePng(const void* pixels, int width, int height, std::uint32_t format) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(width);
    png.height = static_cast<png_uint_32>(height);
    png.format = format;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, pixels, 0, nullptr)) {
        throw std::runtime_error(png.message);
    }
    Bytes out(size);
    if (!png_image_write_to_memory(&png, out.data(), &size, 0, pixels, 0, nullptr)) {
        throw std::runtime_error(png.message);
    }
    out.resize(size);
    return out;
}

} // namespace

Bytes PngFile(const CImage& image) {
    return WritePng(image.Pixels().data(), image.Width(), image.Height(), PNG_FORMAT_RGBA);
}

Bytes GreyPngFile(const CImage& image) {
    Bytes grey;
    for (std::size_t i = 0; i < image.Pixels().size(); i += 4) {
        grey.push_back(image.Pixels()[i]);
    }
    return WritePng(grey.data(), image.Width(), image.Height(), PNG_FORMAT_GRAY);
}

Bytes JpegFile(const CImage& image, bool grey) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.Width());
    cinfo.image_height = static_cast<JDIMENSION>(image.Height());
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_RGBA;
    jpeg_set_defaults(&cinfo);
    if (grey) {
        jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    }
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(image.At(0, static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

ByteWriter& ByteWriter::U8(std::uint32_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    return *this;
}

ByteWriter& ByteWriter::U16(std::uint32_t v) {
    return U8(v).U8(v >> 8);
}

ByteWriter& ByteWriter::U32(std::uint32_t v) {
    return U16(v).U16(v >> 16);
}

ByteWriter& ByteWriter::Text(const char* s) {
    bytes.insert(bytes.end(), s, s + std::strlen(s));
    return *this;
}

ByteWriter& ByteWriter::Fill(std::size_t count, std::uint8_t v) {
    bytes.insert(bytes.end(), count, v);
    return *this;
}

ByteWriter DdsHeader(int width, int height, std::uint32_t pixelFlags, const char* fourCC,
                     std::uint32_t bitCount, std::initializer_list<std::uint32_t> masks) {
    ByteWriter w;
    w.Text("DDS ")
        .U32(124)
        .U32(0x1007)
        .U32(static_cast<std::uint32_t>(height))
        .U32(static_cast<std::uint32_t>(width));
    w.U32(0).U32(0).U32(1).Fill(11 * 4, 0);
    w.U32(32).U32(pixelFlags);
    if (fourCC != nullptr) {
        w.Text(fourCC);
    } else {
        w.U32(0);
    }
    w.U32(bitCount);
    for (std::uint32_t m : masks) {
        w.U32(m);
    }
    w.Fill((4 - masks.size()) * 4, 0);
    w.U32(0x1000).U32(0).U32(0).U32(0).U32(0);
    return w;
}
