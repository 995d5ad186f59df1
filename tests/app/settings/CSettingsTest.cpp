#include "app/settings/CSettings.h"

#include "platform/DRegistry.h"
#include "resources/CADVException.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(CSettings, ReadsKeepValuesInTheirRangeAndNeverWrite) {
    TempDir dir;
    const auto file = dir / "settings.toml";
    WriteFile(file, "texturequality = 3\ngamepadspeed = 20\ngamepaddeadzone = 95\nmusicvolume = -4\n"
                    "latencybuffer = 9999\nshadows = 7\nresx = 1280\nstartscene = \"cellar\"\n"
                    "fullscreen = \"yes\"\n");
    DRegistry store(file);
    const CSettings settings(store);
    const struct {
        const char* key;
        int value;
    } cases[] = {
        {"texturequality", 2},   // not one of 1, 2, 4: the default
        {"gamepadspeed", 50},    // below its range
        {"gamepaddeadzone", 90}, // above its range
        {"musicvolume", 0},
        {"latencybuffer", 2048},
        {"shadows", 7},          // any integer; a flag is anything but 0
        {"resx", 1280},
        {"resy", 768},           // missing: the default
        {"fullscreen", 1},       // stored as text, so no integer: the default
    };
    for (const auto& c : cases) {
        EXPECT_EQ(settings.Int(c.key), c.value) << c.key;
    }
    EXPECT_TRUE(settings.Flag("shadows"));
    EXPECT_EQ(settings.Text("startscene"), "cellar");

    const std::string before = ReadFile(file);
    DRegistry fresh(dir / "none.toml");
    const CSettings empty(fresh);
    EXPECT_EQ(empty.Int("vsync"), 1);
    EXPECT_EQ(empty.Text("startscene"), "");
    EXPECT_FALSE(std::filesystem::exists(dir / "none.toml")) << "a read wrote the file";
    EXPECT_EQ(ReadFile(file), before);
}

TEST(CSettings, MissingDefaultsAreWrittenOnceAndStoredValuesStay) {
    TempDir dir;
    const auto file = dir / "settings.toml";
    WriteFile(file, "resx = 1600\ntexturequality = 3\n");
    {
        DRegistry store(file);
        CSettings(store).WriteMissingDefaults();
    }
    DRegistry written(file);
    for (const CSettingDefinition& setting : CSettings::Schema()) {
        if (setting.kind != CSettingDefinition::Kind::Integer) {
            EXPECT_FALSE(written.FindString(setting.key)) << setting.key;
            continue;
        }
        const std::optional<int> value = written.FindInt(setting.key);
        if (!setting.writtenWhenMissing) {
            EXPECT_FALSE(value) << setting.key << " is read but never written";
        } else if (std::string(setting.key) == "resx") {
            EXPECT_EQ(value, 1600);
        } else if (std::string(setting.key) == "texturequality") {
            EXPECT_EQ(value, 3) << "a value a read would not use is still the player's";
        } else {
            EXPECT_EQ(value, setting.defaultValue) << setting.key;
        }
    }

    // Nothing is missing now: the next start leaves the file alone (a save
    // would replace it by a new file through a rename).
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    CSettings(written).WriteMissingDefaults();
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST(CSettings, AKeyOutsideTheTableIsRefused) {
    TempDir dir;
    DRegistry store(dir / "settings.toml");
    const CSettings settings(store);
    EXPECT_THROW(settings.Int("fulscreen"), CADVException);
    EXPECT_THROW(CSettings::Definition("volume"), CADVException);
}

