#include "resources/CArchiveEntry.h"

#include "resources/CADVException.h"
#include "resources/FileBytes.h"

#include <algorithm>
#include <cstring>

namespace {

// Field areas in the order they lie in an entry; size and offset sit between
// filekey and archive.
constexpr std::size_t kNextKeyAt = 0;
constexpr std::size_t kDirAt = 56;
constexpr std::size_t kNameAt = 120;
constexpr std::size_t kFileKeyAt = 184;
constexpr std::size_t kSizeAt = 240;
constexpr std::size_t kOffsetAt = 244;
constexpr std::size_t kArchiveAt = 248;

std::string ReadText(std::span<const std::uint8_t> area, const char* field, const std::string& source) {
    const auto end = std::find(area.begin(), area.end(), std::uint8_t{0});
    if (end == area.end()) {
        throw CADVException("CFileManager::CFileManager - %s: field %s has no terminating zero",
                            source.c_str(), field);
    }
    return std::string(area.begin(), end);
}

void WriteText(std::uint8_t* entry, std::size_t at, std::size_t areaSize, const std::string& text,
               const char* field) {
    if (text.size() >= areaSize || text.find('\0') != std::string::npos) {
        throw CADVException("CArchiveEntry::Serialize - %s '%s' does not fit its %zu-byte field", field,
                            text.c_str(), areaSize);
    }
    std::memcpy(entry + at, text.data(), text.size());
}

} // namespace

CArchiveEntry CArchiveEntry::Parse(std::span<const std::uint8_t, kSize> bytes, std::string_view sourceName) {
    const std::string source(sourceName);
    CArchiveEntry entry;
    entry.nextkey = ReadText(bytes.subspan(kNextKeyAt, kNextKeySize), "nextkey", source);
    entry.dir = ReadText(bytes.subspan(kDirAt, kDirSize), "dir", source);
    entry.name = ReadText(bytes.subspan(kNameAt, kNameSize), "name", source);
    entry.filekey = ReadText(bytes.subspan(kFileKeyAt, kFileKeySize), "filekey", source);
    entry.size = ReadLittle32(bytes.data() + kSizeAt);
    entry.offset = ReadLittle32(bytes.data() + kOffsetAt);
    entry.archive = ReadText(bytes.subspan(kArchiveAt, kArchiveSize), "archive", source);
    return entry;
}

std::array<std::uint8_t, CArchiveEntry::kSize> CArchiveEntry::Serialize() const {
    std::array<std::uint8_t, kSize> bytes{};
    WriteText(bytes.data(), kNextKeyAt, kNextKeySize, nextkey, "nextkey");
    WriteText(bytes.data(), kDirAt, kDirSize, dir, "dir");
    WriteText(bytes.data(), kNameAt, kNameSize, name, "name");
    WriteText(bytes.data(), kFileKeyAt, kFileKeySize, filekey, "filekey");
    WriteLittle32(bytes.data() + kSizeAt, size);
    WriteLittle32(bytes.data() + kOffsetAt, offset);
    WriteText(bytes.data(), kArchiveAt, kArchiveSize, archive, "archive");
    return bytes;
}
