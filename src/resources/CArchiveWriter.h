#pragma once

#include "resources/CArchiveEntry.h"
#include "resources/CKeySet.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// Builds one resource archive: the enciphered bodies, then the directory
// (a key chain starting at the directory key), then the directory position.
// Every body and entry gets fresh random keys.
class CArchiveWriter {
public:
    // `archiveName` is the file name the entries name as their archive
    // (resource.000, ...), so the archive must be stored under that name.
    explicit CArchiveWriter(std::string archiveName, const CKeySet& keys = CKeySet::BuiltIn());

    // Adds a file; names that do not fit their fields throw CADVException. The
    // returned entry may still be changed before Finish (tests make damaged
    // archives that way).
    CArchiveEntry& Add(const std::string& dir, const std::string& name,
                       std::span<const std::uint8_t> content);

    // The whole archive.
    std::vector<std::uint8_t> Finish() const;
    // Finish, written to `path` through a temporary file.
    void Write(const std::filesystem::path& path) const;

private:
    std::string m_archiveName;
    CKeySet m_keys;
    std::vector<std::uint8_t> m_bodies;
    std::vector<CArchiveEntry> m_entries;
};

// A fresh key of 55 random non-zero bytes, as key text.
std::string RandomKey();
