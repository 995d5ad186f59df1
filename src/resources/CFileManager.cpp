#include "resources/CFileManager.h"

#include "resources/Blowfish.h"
#include "resources/CADVException.h"
#include "resources/FileBytes.h"

#include <cstring>
#include <system_error>

namespace {

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::string IndexKey(std::string_view dir, std::string_view name) {
    return LowerAscii(dir) + '\0' + LowerAscii(name);
}

// The directory position stored in an archive's last four bytes, checked
// against the archive's size. Position == size - 4 is an empty directory.
std::uint64_t DirectoryPosition(std::string_view archive, std::uint64_t archiveSize,
                                const std::uint8_t* last4) {
    const std::string name(archive);
    const std::uint64_t position = ReadLittle32(last4);
    if (position > archiveSize - 4) {
        throw CADVException(
            "CFileManager::CFileManager - %s: directory position %llu lies past the end (%llu bytes)",
            name.c_str(), static_cast<unsigned long long>(position),
            static_cast<unsigned long long>(archiveSize));
    }
    if ((archiveSize - 4 - position) % CArchiveEntry::kSize != 0) {
        throw CADVException(
            "CFileManager::CFileManager - %s: directory of %llu bytes is not a whole number of "
            "%zu-byte entries",
            name.c_str(), static_cast<unsigned long long>(archiveSize - 4 - position), CArchiveEntry::kSize);
    }
    return position;
}

void CheckArchiveSize(std::string_view archive, std::uint64_t archiveSize) {
    if (archiveSize < 4) {
        const std::string name(archive);
        throw CADVException(
            "CFileManager::CFileManager - %s: %llu bytes are too short to hold a directory position",
            name.c_str(), static_cast<unsigned long long>(archiveSize));
    }
}

// An archive named in an entry must be a plain file name inside the data
// folder: nothing that climbs out of it or reaches into a sub-folder.
bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos;
}

} // namespace

CFileManager::CFileManager(std::filesystem::path dataFolder, const CKeySet& keys)
    : CFileManager(std::move(dataFolder), keys, true) {}

CFileManager CFileManager::Empty(std::filesystem::path dataFolder, const CKeySet& keys) {
    return CFileManager(std::move(dataFolder), keys, false);
}

CFileManager::CFileManager(std::filesystem::path dataFolder, const CKeySet& keys, bool scan)
    : m_dataFolder(std::move(dataFolder)), m_keys(keys) {
    std::error_code listed;
    for (auto it = std::filesystem::directory_iterator(m_dataFolder, listed);
         !listed && it != std::filesystem::directory_iterator(); it.increment(listed)) {
        const std::string name = it->path().filename().string();
        // An exact lower-case name wins over one that only matches in another case.
        const auto [entry, added] = m_filesByLowerName.try_emplace(LowerAscii(name), name);
        if (!added && name == entry->first) {
            entry->second = name;
        }
    }
    if (!scan) {
        return;
    }
    unsigned number = 0;
    for (;; ++number) {
        const std::string archive = ArchiveName(number);
        const std::filesystem::path path = ArchivePath(archive);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) {
            break;
        }
        const std::uint64_t size = std::filesystem::file_size(path, ec);
        if (ec) {
            throw CADVException("CFileManager::CFileManager - %s: could not read its size", archive.c_str());
        }
        CheckArchiveSize(archive, size);
        const std::vector<std::uint8_t> last4 = ReadFileRange(path, size - 4, 4);
        const std::uint64_t position = DirectoryPosition(archive, size, last4.data());
        AddDirectory(archive, ReadFileRange(path, position, size - 4 - position));
    }
    if (number == 0) {
        // The sentence as it always was, then where it was looked for.
        throw CADVException("Could not find any resources. Where is resource.000? Check the startup path. "
                            "(searched in %s)",
                            m_dataFolder.string().c_str());
    }
}

void CFileManager::AddArchive(std::string_view archiveName, std::span<const std::uint8_t> bytes) {
    CheckArchiveSize(archiveName, bytes.size());
    const std::uint64_t position =
        DirectoryPosition(archiveName, bytes.size(), bytes.data() + bytes.size() - 4);
    AddDirectory(archiveName, bytes.subspan(position, bytes.size() - 4 - position));
}

void CFileManager::AddDirectory(std::string_view archiveName, std::span<const std::uint8_t> directory) {
    // Each entry is enciphered with the key its predecessor names; the first
    // with the built-in directory key.
    Blowfish cipher;
    cipher.SetKey(KeyText(m_keys.directory));
    std::array<std::uint8_t, CArchiveEntry::kSize> bytes;
    for (std::size_t at = 0, number = 0; at < directory.size(); at += CArchiveEntry::kSize, ++number) {
        std::memcpy(bytes.data(), directory.data() + at, bytes.size());
        cipher.Decrypt(bytes.data(), bytes.size());
        const std::string source = std::string(archiveName) + " entry " + std::to_string(number);
        CArchiveEntry entry = CArchiveEntry::Parse(bytes, source);
        cipher.SetKey(entry.nextkey);
        AddEntry(std::move(entry));
    }
}

void CFileManager::AddEntry(CArchiveEntry entry) {
    const auto [it, added] = m_index.try_emplace(IndexKey(entry.dir, entry.name), m_entries.size());
    if (added) {
        m_entries.push_back(std::move(entry));
    } else {
        m_entries[it->second] = std::move(entry);
    }
}

std::filesystem::path CFileManager::ArchivePath(const std::string& archive) const {
    const auto found = m_filesByLowerName.find(LowerAscii(archive));
    return m_dataFolder / (found != m_filesByLowerName.end() ? found->second : archive);
}

std::string CFileManager::ArchiveName(unsigned number) {
    char name[32];
    std::snprintf(name, sizeof name, "resource.%03u", number);
    return name;
}

CFileManager::SplitPath CFileManager::Split(std::string_view path) {
    const std::size_t start = path.starts_with("data\\") || path.starts_with("data/") ? 5 : 0;
    const std::size_t separator = path.size() > 1 ? path.find_last_of("\\/") : std::string_view::npos;
    if (separator == std::string_view::npos || separator == 0) {
        return {"", std::string(path)};
    }
    const std::string dir =
        separator > start ? std::string(path.substr(start, separator - start)) : std::string();
    return {dir, std::string(path.substr(separator + 1))};
}

const CArchiveEntry* CFileManager::Find(const std::string& path) const {
    const SplitPath split = Split(path);
    const auto it = m_index.find(IndexKey(split.dir, split.name));
    return it == m_index.end() ? nullptr : &m_entries[it->second];
}

std::vector<std::uint8_t> CFileManager::LoadFile(const std::string& path) const {
    const CArchiveEntry* entry = Find(path);
    if (entry == nullptr) {
        throw CADVException("LoadFile: Resource '%s' not found.", path.c_str());
    }
    return LoadEntry(*entry);
}

std::vector<std::uint8_t> CFileManager::LoadEntry(const CArchiveEntry& entry) const {
    const std::string logical = entry.dir.empty() ? entry.name : entry.dir + "\\" + entry.name;
    if (!IsPlainFileName(entry.archive)) {
        throw CADVException("CFileManager::LoadFile - %s: archive '%s' is not a file in the data folder",
                            logical.c_str(), entry.archive.c_str());
    }
    const std::filesystem::path path = ArchivePath(entry.archive);
    std::error_code ec;
    const std::uint64_t archiveSize =
        std::filesystem::is_regular_file(path, ec) ? std::filesystem::file_size(path, ec) : 0;
    if (!std::filesystem::is_regular_file(path, ec) || ec) {
        throw CADVException("CFileManager::LoadFile - %s: archive %s not found", logical.c_str(),
                            entry.archive.c_str());
    }
    const std::uint64_t padded = PaddedLength(entry.size);
    if (entry.offset > archiveSize || padded > archiveSize - entry.offset) {
        throw CADVException("CFileManager::LoadFile - %s: body of %llu bytes at %u runs past the end of %s "
                            "(%llu bytes)",
                            logical.c_str(), static_cast<unsigned long long>(padded), entry.offset,
                            entry.archive.c_str(), static_cast<unsigned long long>(archiveSize));
    }
    std::vector<std::uint8_t> body = ReadFileRange(path, entry.offset, padded);
    Blowfish cipher;
    cipher.SetKey(entry.filekey);
    cipher.Decrypt(body.data(), body.size());
    body.resize(entry.size);
    return body;
}

std::unique_ptr<CFile> CFileManager::OpenFile(const std::string& path) const {
    try {
        const std::vector<std::uint8_t> body = LoadFile(path);
        auto data = std::make_unique<std::uint8_t[]>(body.size());
        std::memcpy(data.get(), body.data(), body.size());
        return std::make_unique<CFile>(std::move(data), body.size());
    } catch (const std::exception&) {
        return nullptr;
    }
}
