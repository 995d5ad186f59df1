#pragma once

#include "render/image/CImage.h"
#include "render/image/ImageCodec.h"
#include "resources/HResult.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct TextureImageInfo {
    int width;
    int height;
    ImageFileFormat format;
};

// Pictures larger than this (either side, or in total) are not loaded: a few
// bytes of a compressed file can announce gigabytes of pixels.
constexpr int kMaxTextureSide = 16384;
constexpr std::int64_t kMaxTexturePixels = std::int64_t{1} << 25;

// Size and format of a whole texture file held in memory (PNG, JPEG, DDS with
// DXT1/3/5 or uncompressed pixels, TGA, BMP). Throws CADVException with
// D3DXERR_INVALIDDATA and "Could not get texture information from filename
// '<name>'" when the data is none of them.
TextureImageInfo GetTextureImageInfo(std::span<const std::uint8_t> file, const std::string& name);

// Decodes the file into a texture of its width and height each divided by
// `quality` (integer division; a side that comes to 0 keeps the file's size,
// as the original image routines treat 0 as "from the file") with a full mip
// chain down to 1 x 1, largest level first. Throws the information failure
// above, or CADVException with D3DXERR_INVALIDDATA and "Could not load texture
// with filename '<name>'" when the pixels cannot be decoded.
std::vector<CImage> LoadTextureImage(std::span<const std::uint8_t> file, const std::string& name,
                                     int quality);
