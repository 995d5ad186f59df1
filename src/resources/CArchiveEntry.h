#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// One directory entry of a resource archive. On disk it is 1024 enciphered
// bytes; text fields are zero-terminated inside their fixed areas.
struct CArchiveEntry {
    static constexpr std::size_t kSize = 1024;
    static constexpr std::size_t kNextKeySize = 56;
    static constexpr std::size_t kDirSize = 64;
    static constexpr std::size_t kNameSize = 64;
    static constexpr std::size_t kFileKeySize = 56;
    static constexpr std::size_t kArchiveSize = 776;

    std::string nextkey; // key of the next entry of the same directory
    std::string dir;     // directory part of the logical path, "" for none
    std::string name;    // file name
    std::string filekey; // key of this file's body
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
    std::string archive; // file name of the archive that holds the body

    // Reads deciphered entry bytes; a text field without its terminating zero
    // throws CADVException naming `source` (the archive and entry number).
    static CArchiveEntry Parse(std::span<const std::uint8_t, kSize> bytes, std::string_view source);
    // The deciphered bytes; a text too long for its field throws CADVException.
    std::array<std::uint8_t, kSize> Serialize() const;
};
