#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// A cipher key as the formats keep it: 55 non-zero bytes and a terminating
// zero. A key is used as a zero-terminated string, so a zero byte inside would
// silently shorten it; the parser refuses one.
using CKey = std::array<std::uint8_t, 56>;

constexpr std::size_t kKeyLength = 55;

// The two keys every archive and enciphered file depends on: one for archive
// directories, one for single enciphered files (savegames).
struct CKeySet {
    CKey directory{};
    CKey file{};

    // The keys this engine and its tools are built with.
    static const CKeySet& BuiltIn();

    // A key file: a "directory=" line and a "file=" line, each followed by 110
    // hexadecimal digits; blank lines are ignored, a trailing carriage return is
    // allowed. Throws CADVException naming the file, the line and the fault.
    static CKeySet Parse(std::string_view text, std::string_view sourceName);
    static CKeySet Load(const std::filesystem::path& path);
    // The key file text that Parse reads back.
    std::string Format() const;
};

// The key as the cipher takes it (up to the terminating zero).
inline std::string_view KeyText(const CKey& key) {
    return {reinterpret_cast<const char*>(key.data())};
}
