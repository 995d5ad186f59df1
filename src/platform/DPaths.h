#pragma once

#include <filesystem>
#include <string>

// Where the program finds its data and keeps the user's files. The program
// folder may be read-only, so everything written goes to the per-user folders
// of the XDG base directory rules.
namespace DPaths {

// Folder of the running executable (the default data folder).
std::filesystem::path ExecutableFolder();

// One engine runs many games, so each keeps its files under its own name: the
// name of its data folder.
std::string GameName(const std::filesystem::path& dataFolder);

// $XDG_CONFIG_HOME/morvane/GAME/settings.toml (~/.config when unset).
std::filesystem::path DefaultSettingsFile(const std::string& game);
// $XDG_DATA_HOME/morvane/GAME/savegame (~/.local/share when unset).
std::filesystem::path DefaultSavegameFolder(const std::string& game);
// $XDG_CACHE_HOME/morvane (~/.cache when unset).
std::filesystem::path DefaultCacheFolder();

} // namespace DPaths
