#include "platform/DPaths.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(DPaths, AGameIsNamedAfterItsDataFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/games/castle", "castle"},
        {"/opt/games/castle/", "castle"},
        {"/opt/games/castle/.", "castle"},
        {"/opt/games/castle/data/..", "castle"},
        {"/", "default"},
    };
    for (const auto& [folder, name] : cases) {
        EXPECT_EQ(DPaths::GameName(folder), name) << folder;
    }
}

TEST(DPaths, EachGameKeepsItsSettingsAndSavegamesApartUnderTheXdgFolders) {
    const char* const saved[] = {std::getenv("XDG_CONFIG_HOME"), std::getenv("XDG_DATA_HOME"), std::getenv("HOME")};
    const std::string config = saved[0] ? saved[0] : "";
    const std::string data = saved[1] ? saved[1] : "";
    const std::string home = saved[2] ? saved[2] : "";

    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    ::setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(DPaths::DefaultSettingsFile("castle"), "/cfg/morvane/castle/settings.toml");
    EXPECT_EQ(DPaths::DefaultSavegameFolder("castle"), "/data/morvane/castle/savegame");

    // A relative value does not count; the folders under home do.
    ::setenv("XDG_DATA_HOME", "relative", 1);
    ::setenv("HOME", "/home/player", 1);
    EXPECT_EQ(DPaths::DefaultSavegameFolder("castle"), "/home/player/.local/share/morvane/castle/savegame");

    const auto restore = [](const char* name, const char* value, const std::string& text) {
        value ? ::setenv(name, text.c_str(), 1) : ::unsetenv(name);
    };
    restore("XDG_CONFIG_HOME", saved[0], config);
    restore("XDG_DATA_HOME", saved[1], data);
    restore("HOME", saved[2], home);
}

TEST(DPaths, WithoutDataFolderTheProgramsOwnGameComesBeforeTheInstalledSample) {
    TempDir root;
    const auto bin = root / "usr/bin";
    const auto installed = DPaths::InstalledGameFolder(bin);
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(installed);

    // No archive anywhere: the program's folder, whose missing resource.000 the engine reports.
    EXPECT_EQ(DPaths::DefaultDataFolder(bin), bin);
    WriteFile(installed / "resource.000", "archive");
    EXPECT_EQ(DPaths::DefaultDataFolder(bin), installed);
    EXPECT_EQ(DPaths::GameName(DPaths::DefaultDataFolder(bin)), "game");
    WriteFile(bin / "resource.000", "archive");
    EXPECT_EQ(DPaths::DefaultDataFolder(bin), bin);
}
