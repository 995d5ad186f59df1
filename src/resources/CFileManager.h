#pragma once

#include "resources/CArchiveEntry.h"
#include "resources/CFile.h"
#include "resources/CKeySet.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Serves whole game files by logical path from the numbered resource archives
// (resource.000, resource.001, ...) of the data folder. Later archives replace
// entries of earlier ones, which is how patches work.
class CFileManager {
public:
    // Scans the archives of `dataFolder`; throws CADVException when there is
    // none or one is damaged.
    CFileManager(std::filesystem::path dataFolder, const CKeySet& keys = CKeySet::BuiltIn());

    // An empty table over `dataFolder`, to be filled with AddArchive: lets
    // callers (fuzzing, tools) scan archives they hold in memory.
    static CFileManager Empty(std::filesystem::path dataFolder, const CKeySet& keys = CKeySet::BuiltIn());

    // Reads the directory of one archive held in memory into the table.
    void AddArchive(std::string_view archiveName, std::span<const std::uint8_t> bytes);

    // The deciphered file: size() is the file's size, the allocation holds the
    // whole padded body (PaddedLength(size) bytes). Throws
    // "LoadFile: Resource '%s' not found." for an unknown path.
    std::vector<std::uint8_t> LoadFile(const std::string& path) const;
    // LoadFile in a CFile, or null on any failure.
    std::unique_ptr<CFile> OpenFile(const std::string& path) const;

    // The entry a logical path resolves to, or null.
    const CArchiveEntry* Find(const std::string& path) const;
    // All entries after overriding, in discovery order.
    const std::vector<CArchiveEntry>& Entries() const { return m_entries; }
    // Reads and deciphers one entry's body; size() as LoadFile.
    std::vector<std::uint8_t> LoadEntry(const CArchiveEntry& entry) const;

    // resource.000, resource.001, ... resource.999, resource.1000, ...
    static std::string ArchiveName(unsigned number);

    // The directory and file name a logical path is looked up with.
    struct SplitPath {
        std::string dir;
        std::string name;
    };
    static SplitPath Split(std::string_view path);

private:
    CFileManager(std::filesystem::path dataFolder, const CKeySet& keys, bool scan);
    // The archive file of that name in the data folder, whatever the letter
    // case of the name on disk: games copied from other systems call their
    // archives RESOURCE.000 or Resource.001.
    std::filesystem::path ArchivePath(const std::string& archive) const;
    void AddDirectory(std::string_view archiveName, std::span<const std::uint8_t> directory);
    void AddEntry(CArchiveEntry entry);

    std::filesystem::path m_dataFolder;
    CKeySet m_keys;
    std::vector<CArchiveEntry> m_entries;
    // Lower-cased dir + '\0' + name -> position in m_entries.
    std::unordered_map<std::string, std::size_t> m_index;
    // The data folder's files by lower-cased name, as listed once at the start.
    std::unordered_map<std::string, std::string> m_filesByLowerName;
};
