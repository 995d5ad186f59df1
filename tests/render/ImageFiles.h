#pragma once

#include "render/image/CImage.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

// Writers for test pictures: PNG and JPEG through their reference libraries,
// the simple formats byte by byte as their file layouts define them.

using Bytes = std::vector<std::uint8_t>;

// An image from rows of 0xRRGGBBAA values, top row first.
CImage MakeImage(int width, int height, std::initializer_list<std::uint32_t> rgba);
CImage SolidImage(int width, int height, std::uint32_t rgba);

Bytes PngFile(const CImage& image);
Bytes GreyPngFile(const CImage& image); // stores the red channel as grey
Bytes JpegFile(const CImage& image, bool grey);

// Little-endian byte assembly for hand-made files.
class ByteWriter {
public:
    ByteWriter& U8(std::uint32_t v);
    ByteWriter& U16(std::uint32_t v);
    ByteWriter& U32(std::uint32_t v);
    ByteWriter& Text(const char* s);
    ByteWriter& Fill(std::size_t count, std::uint8_t v);
    Bytes bytes;
};

// A DDS header for a w x h top level with the given pixel format fields.
ByteWriter DdsHeader(int width, int height, std::uint32_t pixelFlags, const char* fourCC,
                     std::uint32_t bitCount, std::initializer_list<std::uint32_t> masks);
