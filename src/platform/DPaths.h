#pragma once

#include <filesystem>

// Where the program finds its data and keeps the user's files. The program
// folder may be read-only, so everything written goes to the per-user folders
// of the XDG base directory rules.
namespace DPaths {

// Folder of the running executable (the default data folder).
std::filesystem::path ExecutableFolder();

// $XDG_CONFIG_HOME/morvane/settings.toml (~/.config when unset).
std::filesystem::path DefaultSettingsFile();
// $XDG_DATA_HOME/morvane/savegame (~/.local/share when unset).
std::filesystem::path DefaultSavegameFolder();
// $XDG_CACHE_HOME/morvane (~/.cache when unset).
std::filesystem::path DefaultCacheFolder();

} // namespace DPaths
