#include "resources/FileBytes.h"

#include "resources/CADVException.h"

#include <cstdio>
#include <memory>
#include <system_error>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr Open(const std::filesystem::path& path, const char* mode) {
    // A folder opens "successfully" for reading on Linux; it is no file to us.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return nullptr;
    }
    return FilePtr(std::fopen(path.c_str(), mode));
}

} // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path) {
    FilePtr file = Open(path, "rb");
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (std::ferror(file.get())) {
        return std::nullopt;
    }
    return bytes;
}

std::vector<std::uint8_t> ReadFileRange(const std::filesystem::path& path, std::uint64_t offset,
                                        std::uint64_t count) {
    FilePtr file = Open(path, "rb");
    if (!file) {
        throw CADVException("File %s not found.", path.string().c_str());
    }
    std::vector<std::uint8_t> bytes(count);
    if (fseeko(file.get(), static_cast<off_t>(offset), SEEK_SET) != 0 ||
        std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        throw CADVException("File %s holds no %llu bytes at position %llu.", path.string().c_str(),
                            static_cast<unsigned long long>(count), static_cast<unsigned long long>(offset));
    }
    return bytes;
}

void WriteWholeFileReplacing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    bool written = false;
    if (FilePtr file = Open(temporary, "wb")) {
        written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                  std::fflush(file.get()) == 0;
        written = std::fclose(file.release()) == 0 && written;
    }
    std::error_code ec;
    if (written) {
        std::filesystem::rename(temporary, path, ec);
        if (!ec) {
            return;
        }
    }
    if (!std::filesystem::is_directory(temporary, ec)) {
        std::filesystem::remove(temporary, ec);
    }
    throw CADVException("Could not write %s.", path.string().c_str());
}
