#pragma once

#include "render/image/CImage.h"

#include <cstdint>
#include <vector>

// An uncompressed 32-bit true-colour TGA file of the picture, rows stored top
// to bottom, with 8 alpha bits.
std::vector<std::uint8_t> WriteTga(const CImage& image);
