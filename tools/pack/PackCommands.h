#pragma once

#include "resources/CKeySet.h"

#include <filesystem>
#include <iosfwd>
#include <string>

// The subcommands of morvane-pack. Each throws CADVException on failure.

// Packs every file under `source` into one archive. A base archive
// (resource.000) must hold "scripts\master.ads", or no game starts from it: it
// is refused unless `force`. An archive name the engine does not scan for is
// packed with a warning on `warnings`.
void BuildArchive(const std::filesystem::path& source, const std::filesystem::path& archive,
                  const CKeySet& keys, bool force, std::ostream& warnings);
// Lists the entries of the data folder after overriding: dir, name, size, archive (tab-separated).
void ListArchives(const std::filesystem::path& data, const CKeySet& keys, std::ostream& out);
// Writes every entry below `destination`, folders as the entry's dir names them.
void ExtractArchives(const std::filesystem::path& data, const std::filesystem::path& destination,
                     const CKeySet& keys);
// Writes one file, looked up as the engine looks it up.
void CatFile(const std::filesystem::path& data, const std::string& logicalPath, const CKeySet& keys,
             std::ostream& out);
