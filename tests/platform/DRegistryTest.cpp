#include "platform/DRegistry.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(DRegistry, MissingValuesAreAddedOnlyWhenAskedAndSurviveARestart) {
    TempDir dir;
    const auto file = dir / "config" / "settings.toml";
    {
        DRegistry registry(file);
        EXPECT_EQ(registry.ReadInt("resx", 1024, true), 1024);
        EXPECT_EQ(registry.ReadInt("preload", 1, false), 1);
        EXPECT_EQ(registry.ReadString("startscene", "", false), "");
        EXPECT_EQ(registry.ReadString("player", "Ann", true), "Ann");
        registry.WriteInt("musicvolume", 20, true);
        registry.WriteInt("unsaved", 5, false);
    }
    ASSERT_TRUE(fs::exists(file)) << "the folder of the settings file is created";
    DRegistry again(file);
    EXPECT_EQ(again.ReadInt("resx", 0, false), 1024);
    EXPECT_EQ(again.ReadInt("musicvolume", 0, false), 20);
    EXPECT_EQ(again.ReadString("player", "", false), "Ann");
    EXPECT_EQ(again.ReadInt("preload", 7, false), 7) << "read without adding: not stored";
    EXPECT_EQ(again.ReadString("startscene", "none", false), "none");
    EXPECT_EQ(again.ReadInt("unsaved", 0, false), 0) << "a write without saving stays in memory";
}

TEST(DRegistry, IntegersAndTextsAreKeptApart) {
    TempDir dir;
    const auto file = dir / "settings.toml";
    WriteFile(file, "resx = \"1600\"\nresy = 1200\nname = 'x'\nratio = 1.5\nflag = true\n");
    DRegistry registry(file);
    EXPECT_EQ(registry.ReadInt("resx", 1024, false), 1024) << "a number stored as text is not an integer";
    EXPECT_EQ(registry.ReadString("resx", "", false), "1600");
    EXPECT_EQ(registry.ReadInt("resy", 768, false), 1200);
    EXPECT_EQ(registry.ReadString("resy", "none", false), "none");
    EXPECT_EQ(registry.ReadInt("ratio", 3, false), 3) << "other kinds are ignored";
    EXPECT_EQ(registry.ReadInt("flag", 4, false), 4);

    // Saving keeps the kinds: the text stays quoted, the integer stays bare.
    registry.WriteInt("fullscreen", 0, true);
    const std::string saved = ReadFile(file);
    EXPECT_NE(saved.find("resx = '1600'"), std::string::npos) << saved;
    EXPECT_NE(saved.find("resy = 1200"), std::string::npos) << saved;
    EXPECT_NE(saved.find("fullscreen = 0"), std::string::npos) << saved;
}

TEST(DRegistry, SaveReplacesTheFileAtomically) {
    TempDir dir;
    const auto file = dir / "settings.toml";
    DRegistry registry(file);
    registry.WriteInt("shadows", 0, true);
    registry.WriteInt("mirrors", 0, true);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"settings.toml"}) << "no temporary file is left behind";
    DRegistry again(file);
    EXPECT_EQ(again.ReadInt("mirrors", 1, false), 0);
}

TEST(DRegistry, AnUnwritableFileIsToldOnceAndTheValuesStayInMemory) {
    TempDir dir;
    WriteFile(dir / "blocker", "a file where a folder should be");
    const auto file = dir / "blocker" / "settings.toml";
    DRegistry registry(file);
    testing::internal::CaptureStderr();
    EXPECT_EQ(registry.ReadInt("resx", 1024, true), 1024);
    registry.WriteInt("resy", 768, true);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(registry.ReadInt("resx", 0, false), 1024);
    EXPECT_NE(told.find("the settings file " + file.string() + " cannot be written (Not a directory)"),
              std::string::npos)
        << told;
    EXPECT_EQ(told.find("cannot be written"), told.rfind("cannot be written")) << "said once: " << told;
}

TEST(DRegistry, MalformedFileReadsAsEmptyAndIsKeptAside) {
    TempDir dir;
    const auto file = dir / "settings.toml";
    const std::string broken = "resx = 1600\nthis is [not toml\n";
    WriteFile(file, broken);
    DRegistry registry(file);
    EXPECT_EQ(registry.ReadInt("resx", 1024, true), 1024) << "every read returns its default";

    int keptAside = 0;
    for (const auto& entry : fs::directory_iterator(dir.Path())) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("settings.toml.broken-", 0) == 0) {
            ++keptAside;
            EXPECT_EQ(ReadFile(entry.path()), broken);
        }
    }
    EXPECT_EQ(keptAside, 1);
    DRegistry again(file);
    EXPECT_EQ(again.ReadInt("resx", 0, false), 1024) << "the fresh file holds what was added since";
}
