#pragma once

#include <filesystem>
#include <string>

// Where the program finds its data and keeps the user's files. The program
// folder may be read-only, so everything written goes to the per-user folders
// of the XDG base directory rules.
namespace DPaths {

// Folder of the running executable.
std::filesystem::path ExecutableFolder();

// The sample game installed with the program in `programFolder`, found by the
// path from the install's bin folder to its share folder, so an install under
// any prefix works, an unpacked package included.
std::filesystem::path InstalledGameFolder(const std::filesystem::path& programFolder);

// The data folder when none is given: the program's own folder when it holds
// resource.000 (a game shipped beside the engine), else the installed sample
// game when that has one, else the program's folder, whose missing archive the
// engine then reports.
std::filesystem::path DefaultDataFolder(const std::filesystem::path& programFolder);

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
