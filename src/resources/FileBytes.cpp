#include "resources/FileBytes.h"

#include "resources/CADVException.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

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

// A short write need not set errno; it is still a failure to report.
std::error_code LastError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

// Writes the bytes and forces them to the disk, so that the rename that
// follows can never publish a file whose content a crash would still lose.
std::error_code WriteDurably(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    // Unlike reading, opening a folder for writing fails by itself (EISDIR).
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return LastError();
    }
    errno = 0;
    std::error_code ec;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0 || ::fsync(::fileno(file.get())) != 0) {
        ec = LastError();
    }
    if (std::fclose(file.release()) != 0 && !ec) {
        ec = LastError();
    }
    return ec;
}

// The rename itself is an entry of the folder; without this a crash right
// after it could bring back the old file. Some file systems refuse to sync a
// folder, which costs only that guarantee.
void SyncFolder(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
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
    std::error_code ec = WriteDurably(temporary, bytes);
    if (!ec) {
        std::filesystem::rename(temporary, path, ec);
        if (!ec) {
            SyncFolder(path);
            return;
        }
    }
    std::error_code ignored;
    if (!std::filesystem::is_directory(temporary, ignored)) {
        std::filesystem::remove(temporary, ignored);
    }
    throw CADVException("Could not write %s (%s).", path.string().c_str(), ec.message().c_str());
}
