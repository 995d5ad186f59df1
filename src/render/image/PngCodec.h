#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

// PNG files written by the engine: screenshots and reference images. Pixels
// are 8-bit red, green, blue and alpha, rows top to bottom, as CImage keeps
// them and as the device reads its targets back.

// The encoded file; nullopt when the size does not match the pixels.
std::optional<std::vector<std::uint8_t>> WritePng(int width, int height, std::span<const std::uint8_t> rgba);
// Written to a file; false when it cannot be encoded or written.
bool WritePng(const std::filesystem::path& path, int width, int height, std::span<const std::uint8_t> rgba);
