#include "resources/CKeySet.h"

#include "resources/CADVException.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

namespace {

// Chosen once at random for this project and never changed: every archive the
// project's tools have written depends on them.
constexpr CKey kDirectoryKey = {
    0xB4, 0xF9, 0xC3, 0xA6, 0x59, 0x7D, 0x08, 0x10, 0x98, 0x91, 0xCA, 0x89, 0xEC, 0x68,
    0xBD, 0xC7, 0x97, 0x05, 0x90, 0xED, 0xF1, 0x02, 0x36, 0x1D, 0x09, 0xA8, 0xE3, 0x37,
    0x9D, 0x22, 0xCE, 0xDF, 0xB2, 0xCA, 0x27, 0xAC, 0x0B, 0xB8, 0xC5, 0xDC, 0x3D, 0x70,
    0x8F, 0x56, 0xD7, 0x9F, 0x65, 0x45, 0x94, 0xCF, 0x31, 0xE9, 0xD0, 0x72, 0x88, 0x00,
};
constexpr CKey kFileKey = {
    0x85, 0x89, 0x2E, 0xDD, 0xC7, 0x77, 0x44, 0xF4, 0x44, 0x64, 0x34, 0x9F, 0xED, 0x36,
    0xAA, 0xBD, 0x67, 0x8F, 0x5B, 0x47, 0x11, 0xEA, 0x39, 0xEA, 0xCD, 0x92, 0xF8, 0xA5,
    0xED, 0xBC, 0xEE, 0x6E, 0xC3, 0x94, 0x3E, 0x13, 0x89, 0x42, 0xA1, 0xF5, 0xB0, 0x08,
    0xE1, 0x4B, 0xAB, 0x9B, 0xDE, 0x56, 0xB3, 0x54, 0x83, 0xD8, 0x14, 0xBB, 0x30, 0x00,
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

CKey ParseKey(std::string_view hex, std::string_view source, int line) {
    const std::string where = std::string(source) + " line " + std::to_string(line);
    if (hex.size() != kKeyLength * 2) {
        throw CADVException("CKeySet::Parse - %s: a key needs %zu hexadecimal digits, found %zu characters",
                            where.c_str(), kKeyLength * 2, hex.size());
    }
    CKey key{};
    for (std::size_t i = 0; i < kKeyLength; ++i) {
        const int high = HexValue(hex[2 * i]);
        const int low = HexValue(hex[2 * i + 1]);
        if (high < 0 || low < 0) {
            throw CADVException("CKeySet::Parse - %s: '%.2s' is not a hexadecimal byte", where.c_str(),
                                hex.data() + 2 * i);
        }
        key[i] = static_cast<std::uint8_t>(high * 16 + low);
        if (key[i] == 0) {
            throw CADVException("CKeySet::Parse - %s: key byte %zu is zero; key bytes must not be zero",
                                where.c_str(), i + 1);
        }
    }
    return key;
}

} // namespace

const CKeySet& CKeySet::BuiltIn() {
    static const CKeySet keys{kDirectoryKey, kFileKey};
    return keys;
}

CKeySet CKeySet::Parse(std::string_view text, std::string_view sourceName) {
    std::optional<CKey> directory;
    std::optional<CKey> file;
    const std::string source(sourceName);
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        const std::size_t eq = line.find('=');
        const std::string_view name = line.substr(0, eq);
        std::optional<CKey>* slot = name == "directory" ? &directory : name == "file" ? &file : nullptr;
        if (eq == std::string_view::npos || slot == nullptr) {
            throw CADVException("CKeySet::Parse - %s line %d: expected \"directory=\" or \"file=\"",
                                source.c_str(), lineNumber);
        }
        if (slot->has_value()) {
            throw CADVException("CKeySet::Parse - %s line %d: the %.*s key is given twice", source.c_str(),
                                lineNumber, static_cast<int>(name.size()), name.data());
        }
        *slot = ParseKey(line.substr(eq + 1), source, lineNumber);
    }
    if (!directory || !file) {
        throw CADVException("CKeySet::Parse - %s: the %s key is missing", source.c_str(),
                            directory ? "file" : "directory");
    }
    return CKeySet{*directory, *file};
}

CKeySet CKeySet::Load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw CADVException("CKeySet::Load - Could not open key file %s", path.string().c_str());
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Parse(text, path.string());
}

std::string CKeySet::Format() const {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const auto& [name, key] : {std::pair{"directory=", &directory}, std::pair{"file=", &file}}) {
        text += name;
        for (std::size_t i = 0; i < kKeyLength; ++i) {
            text += kDigits[(*key)[i] >> 4];
            text += kDigits[(*key)[i] & 15];
        }
        text += '\n';
    }
    return text;
}
