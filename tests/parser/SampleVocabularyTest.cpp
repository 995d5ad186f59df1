#include "support/TempDir.h"

#include "parser/CCommand.h"
#include "parser/CInterfaceBackend.h"

#include <gtest/gtest.h>

namespace {

// The sample game's own files load cleanly and understand the sentences it is played with.
TEST(SampleVocabulary, LoadsAndParses) {
    CInterfaceBackend backend;
    backend.LoadCommands("data/commands.txt", ReadFile(MORVANE_GAME_DIR "/data/commands.txt"));
    backend.LoadObjects("data/objects.txt", ReadFile(MORVANE_GAME_DIR "/data/objects.txt"));
    CCommand command(backend);

    command.Parse("pick up the old lamp");
    EXPECT_EQ(command.GetVerb(), "take");
    EXPECT_EQ(command.Object1(), "lamp");

    command.Parse("give the key to the guard");
    EXPECT_EQ(command.GetVerb(), "give");
    EXPECT_EQ(command.Object1(), "key");
    EXPECT_EQ(command.Object2(), "guard");

    command.Parse("look at door");
    EXPECT_EQ(command.GetVerb(), "look at");
    EXPECT_EQ(command.Object1(), "door");
}

} // namespace
