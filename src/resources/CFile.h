#pragma once

#include "resources/CKeySet.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>

// Size of the enciphered form of n bytes: padded up to the next multiple of 8,
// a whole extra block when n already is one. Computed in 64 bits: the largest
// stored length pads past 32 bits.
constexpr std::uint64_t PaddedLength(std::uint32_t n) {
    return (std::uint64_t{n} & ~std::uint64_t{7}) + 8;
}

// An in-memory file with read, write and seek, and the loader and saver of
// single enciphered files (4-byte little-endian length, then the enciphered,
// zero-padded content).
class CFile {
public:
    CFile() = default;
    // Takes over a buffer of `length` bytes of content (capacity = length).
    CFile(std::unique_ptr<std::uint8_t[]> data, std::size_t length);

    std::size_t Read(void* destination, std::size_t n);
    // origin 0: from the start, 1: from the position, 2: from the end. No bounds
    // check: a position past the end makes reads return 0.
    void Seek(std::int64_t offset, int origin);
    std::int64_t Tell() const { return m_position; }
    void Write(const void* source, std::size_t n);

    // Replaces the content with the deciphered file. A missing file throws
    // "CFile::LoadEncrypted - File not found."; a damaged one names itself.
    void LoadEncrypted(const std::filesystem::path& path, const CKeySet& keys = CKeySet::BuiltIn());
    // Same, from the bytes of such a file; `name` only goes into error texts.
    void LoadEncrypted(std::span<const std::uint8_t> bytes, std::string_view name,
                       const CKeySet& keys = CKeySet::BuiltIn());
    // Writes the enciphered file; nothing when there is no content. It goes to
    // `path` + ".tmp" first and replaces `path` only once complete, so a failed
    // save leaves the previous file as it was.
    void SaveEncrypted(const std::filesystem::path& path, const CKeySet& keys = CKeySet::BuiltIn()) const;

    const std::uint8_t* Data() const { return m_data.get(); }
    std::size_t Length() const { return m_length; }
    std::size_t Capacity() const { return m_capacity; }

private:
    std::unique_ptr<std::uint8_t[]> m_data;
    std::size_t m_length = 0;
    std::size_t m_capacity = 0;
    std::int64_t m_position = 0;
};
