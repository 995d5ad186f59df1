#include "platform/DPaths.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

fs::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) {
        return entry->pw_dir;
    }
    return fs::current_path();
}

// The XDG rules: the variable when it holds an absolute path, else the fallback under home.
fs::path XdgFolder(const char* variable, const char* fallbackUnderHome) {
    if (const char* value = std::getenv(variable); value && *value == '/') {
        return value;
    }
    return HomeFolder() / fallbackUnderHome;
}

} // namespace

namespace DPaths {

fs::path ExecutableFolder() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : self.parent_path();
}

fs::path InstalledGameFolder(const fs::path& programFolder) {
    return (programFolder / MORVANE_INSTALLED_GAME_FROM_BIN).lexically_normal();
}

fs::path DefaultDataFolder(const fs::path& programFolder) {
    std::error_code ec;
    if (!fs::exists(programFolder / "resource.000", ec)) {
        if (fs::path installed = InstalledGameFolder(programFolder);
            fs::exists(installed / "resource.000", ec)) {
            return installed;
        }
    }
    return programFolder;
}

std::string GameName(const fs::path& dataFolder) {
    // "game/" and "./game" name the same game; a folder without a name of its own (/) is "default".
    const fs::path absolute = fs::absolute(dataFolder).lexically_normal();
    const fs::path name = absolute.has_filename() ? absolute.filename() : absolute.parent_path().filename();
    return name.empty() ? "default" : name.string();
}

fs::path DefaultSettingsFile(const std::string& game) {
    return XdgFolder("XDG_CONFIG_HOME", ".config") / "morvane" / game / "settings.toml";
}

fs::path DefaultSavegameFolder(const std::string& game) {
    return XdgFolder("XDG_DATA_HOME", ".local/share") / "morvane" / game / "savegame";
}

fs::path DefaultCacheFolder() { return XdgFolder("XDG_CACHE_HOME", ".cache") / "morvane"; }

} // namespace DPaths
