// Saving and loading through the game menu on the real program, driven by
// input files as a player would drive it.
#include "PlayGame.h"
#include "platform/DRegistry.h"
#include "resources/CFile.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Opens the menu, saves into slot 03 and quits with "Quit", "Yes!".
const char* const kChangeSaveAndQuit = "3 type \"change\"\n4 key Return\n"
                                       "6 at \"Options\"\n7 click left\n"
                                       "9 at \"Save\"\n10 click left\n"
                                       "12 at \"03 - empty\"\n13 click left\n"
                                       "16 at \"Game saved.\"\n17 key Return\n"
                                       "18 at \"Quit\"\n19 click left\n"
                                       "21 at \"Yes!\"\n22 click left\n";

// The menu by its key, the load panel by its shortcut.
const char* const kLoadSlot3 = "3 key Escape\n4 type \"l\"\n"
                               "9 at \"03 - Hall after 7 turns\"\n10 click left\n";

class SavegameProgram : public ::testing::Test {
protected:
    void SetUp() override { WriteFixtureGame(m_dir.Path(), SaveGameFiles()); }

    ProgramResult Play(const std::string& input, int frames) {
        WriteFile(m_dir / "input.txt", input);
        std::filesystem::remove(m_dir / "state.json");
        return RunProgram(BuiltProgram("morvane"),
                          {"--headless", "--frames", std::to_string(frames), "--fixed-step", "16", "--data",
                           m_dir.Path().string(), "--config", (m_dir / "settings.toml").string(), "--saves",
                           Saves().string(), "--input", (m_dir / "input.txt").string(), "--dump-state",
                           (m_dir / "state.json").string()});
    }
    std::string Dumped() const { return ReadFile(m_dir / "state.json"); }
    std::filesystem::path Saves() const { return m_dir / "saves"; }

    void SaveSlot3() {
        const ProgramResult saved = Play(kChangeSaveAndQuit, 1000);
        ASSERT_EQ(saved.exitStatus, 0) << saved.err;
        ASSERT_TRUE(std::filesystem::exists(Saves() / "03.sav"));
    }

    TempDir m_dir;
};

} // namespace

TEST_F(SavegameProgram, ASavedGameLoadsBackAfterTheProgramStartsAgain) {
    SaveSlot3();
    EXPECT_LT(DumpedNumber(Dumped(), "frames"), 100) << "Quit, then Yes!, ended the run early";
    EXPECT_TRUE(std::filesystem::exists(Saves() / "03.png"));

    const ProgramResult loaded = Play(kLoadSlot3, 40);
    ASSERT_EQ(loaded.exitStatus, 0) << loaded.err;
    EXPECT_EQ(loaded.err, "");
    const std::string json = Dumped();
    SCOPED_TRACE(json);
    // Every kind of stored value, in all three stores.
    EXPECT_EQ(DumpedValue(json, "turns"), "7");
    EXPECT_EQ(DumpedValue(json, "ratio"), "2.5");
    EXPECT_EQ(DumpedValue(json, "who"), "\"Ada\"");
    EXPECT_EQ(DumpedValue(json, "flag"), "true");
    EXPECT_EQ(DumpedValue(json, "empty"), "\"\"");
    EXPECT_EQ(DumpedValue(json, "lamp"), "true");
    EXPECT_EQ(DumpedValue(json, "info"), "\"Level 2\"");
    // Object position and visibility, animation, the light, the polygon flag
    // and the free-move flags, as the hall's scripts see them after the load.
    EXPECT_EQ(DumpedValue(json, "seen"), "\"1.5,2,false,walk,4,false,true,true\"");
    // The scene's start-up saw "savegame"; the state store was then put back as saved.
    EXPECT_EQ(DumpedValue(json, "sawPrevious"), "\"savegame\"");
    EXPECT_EQ(DumpedValue(json, "prevscene"), "\"entry\"");
    EXPECT_EQ(DumpedValue(json, "hallStarts"), "1");
}

TEST_F(SavegameProgram, ADamagedSlotIsListedAndCannotBeLoaded) {
    std::filesystem::create_directories(Saves());
    WriteFile(Saves() / "05.sav", "not a savegame at all");
    const ProgramResult result = Play("3 at \"Options\"\n4 click left\n6 at \"Load\"\n7 click left\n"
                                      "9 at \"05 - damaged\"\n10 click left\n",
                                      20);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.err.find("05.sav"), std::string::npos) << result.err;
    EXPECT_EQ(DumpedValue(Dumped(), "turns"), "0") << "nothing was loaded";
}

TEST_F(SavegameProgram, AFailedSaveKeepsThePreviousFileOfItsSlot) {
    SaveSlot3();
    const std::string before = ReadFile(Saves() / "03.sav");
    // The save's temporary file cannot be made: a folder stands in its place.
    std::filesystem::create_directories(Saves() / "03.sav.tmp" / "blocked");
    const ProgramResult result = Play("3 at \"Options\"\n4 click left\n6 at \"Save\"\n7 click left\n"
                                      "9 at \"03 - Hall after 7 turns\"\n10 click left\n",
                                      20);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.err.find("could not be saved in slot 03"), std::string::npos) << result.err;
    EXPECT_EQ(ReadFile(Saves() / "03.sav"), before);
}

TEST_F(SavegameProgram, APolygonTheSceneNoLongerDefinesIsToldAfterTheLoad) {
    // "extra" exists only in the running game, never in the hall's script.
    const ProgramResult saved =
        Play("2 type \"change\"\n3 key Return\n4 type \"extra\"\n5 key Return\n"
             "6 key Escape\n7 type \"S\"\n"
             "12 at \"03 - empty\"\n13 click left\n",
             20);
    ASSERT_EQ(saved.exitStatus, 0) << saved.err;
    const ProgramResult loaded =
        Play(std::string(kLoadSlot3) + "13 at \"Savegame is corrupt. Loading might have failed.\"\n", 20);
    ASSERT_EQ(loaded.exitStatus, 0) << loaded.err;
    EXPECT_EQ(DumpedValue(Dumped(), "turns"), "7") << "the rest of the savegame was loaded";
}

TEST_F(SavegameProgram, ASavegameDamagedBehindItsHeaderGivesAFreshStart) {
    SaveSlot3();
    // Deciphered, cut short inside the scene record, enciphered again as slot 04.
    CFile file;
    file.LoadEncrypted(Saves() / "03.sav");
    CFile cut;
    cut.Write(file.Data(), file.Length() * 2 / 3);
    cut.SaveEncrypted(Saves() / "04.sav");
    const ProgramResult result = Play("3 at \"Options\"\n4 click left\n6 at \"Load\"\n7 click left\n"
                                      "9 at \"04 - Hall after 7 turns\"\n10 click left\n"
                                      "13 at \"The savegame could not be loaded.\"\n",
                                      20);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.err.find("04.sav"), std::string::npos) << result.err;
    const std::string json = Dumped();
    EXPECT_EQ(DumpedValue(json, "turns"), "0") << "a world as at start-up";
    EXPECT_EQ(DumpedValue(json, "scene"), "\"hall\"");
}

TEST_F(SavegameProgram, TheOptionsPanelWritesTheSettingsAndTheyLastIntoTheNextRun) {
    // On 1024 x 768 the effects slider runs from x 464 to 764 at y 205: its middle is 50.
    const ProgramResult result = Play("3 at \"Options\"\n4 click left\n"
                                      "6 at 614 205\n7 click left\n"
                                      "9 at \"Low\"\n10 click left\n"
                                      "12 at \"Shadows\"\n13 click left\n"
                                      "15 at \"Mirrors\"\n16 click left\n18 click left\n"
                                      "20 key Escape\n",
                                      30);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    {
        DRegistry settings(m_dir / "settings.toml");
        EXPECT_EQ(settings.ReadInt("effectvolume", -1, false), 32);
        EXPECT_EQ(settings.ReadInt("musicvolume", -1, false), 48) << "the slider it was set to";
        EXPECT_EQ(settings.ReadInt("texturequality", -1, false), 4);
        EXPECT_EQ(settings.ReadInt("shadows", -1, false), 0);
        EXPECT_EQ(settings.ReadInt("mirrors", -1, false), 1) << "switched twice";
    }
    const ProgramResult again = Play("3 key Escape\n4 key G\n", 10);
    ASSERT_EQ(again.exitStatus, 0) << again.err;
    DRegistry settings(m_dir / "settings.toml");
    EXPECT_EQ(settings.ReadInt("effectvolume", -1, false), 32);
    EXPECT_EQ(settings.ReadInt("texturequality", -1, false), 4);
    EXPECT_EQ(settings.ReadInt("shadows", -1, false), 0);
}

TEST_F(SavegameProgram, MenuShortcutsRestartAndQuit) {
    const ProgramResult restarted =
        Play("3 type \"change\"\n4 key Return\n6 key Escape\n7 type \"r\"\n8 type \"y\"\n", 20);
    ASSERT_EQ(restarted.exitStatus, 0) << restarted.err;
    EXPECT_EQ(DumpedValue(Dumped(), "turns"), "0") << "Restart, then Yes!, started the world afresh";

    const ProgramResult quit = Play("3 key Escape\n4 type \"Q\"\n5 type \"n\"\n6 type \"q\"\n7 key Return\n", 1000);
    ASSERT_EQ(quit.exitStatus, 0) << quit.err;
    EXPECT_LT(DumpedNumber(Dumped(), "frames"), 100);
}

TEST_F(SavegameProgram, LoadAndSaveAreOfferedOnlyWhenTheSetupStoreAllowsThem) {
    // "lock" clears setup's mayload and maysave; the menu then shows neither button.
    for (const char* button : {"Load", "Save"}) {
        SCOPED_TRACE(button);
        const ProgramResult result = Play(std::string("3 type \"lock\"\n4 key Return\n6 key Escape\n8 at \"") +
                                              button + "\"\n",
                                          20);
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_NE(result.err.find("frame 8: no text \"" + std::string(button) + "\""), std::string::npos)
            << result.err;
    }
    // Nor do their shortcuts open them: "l" and "s" leave the options panel open.
    const ProgramResult keys =
        Play("3 type \"lock\"\n4 key Return\n6 key Escape\n7 type \"ls\"\n9 at \"Game options\"\n", 20);
    EXPECT_EQ(keys.exitStatus, 0) << keys.err;
}
