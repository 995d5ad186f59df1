#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

// Little-endian integers inside byte buffers: the formats are byte-exact and
// never depend on the host's layout.
inline std::uint32_t ReadLittle32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

inline void WriteLittle32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

// The whole file, or nothing when it cannot be opened.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path);

// `count` bytes from `offset`; throws CADVException when the file cannot be
// opened or holds fewer bytes there.
std::vector<std::uint8_t> ReadFileRange(const std::filesystem::path& path, std::uint64_t offset,
                                        std::uint64_t count);

// Writes the bytes to a temporary file beside `path` (`path` + ".tmp"), syncs
// it to the disk and renames it over `path`, so readers never see half a file
// and neither a failure nor a crash loses the old one. Throws CADVException
// naming the file and the reason when any step fails.
void WriteWholeFileReplacing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
