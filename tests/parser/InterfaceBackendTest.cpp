#include "parser/CCommand.h"
#include "parser/CInterfaceBackend.h"
#include "parser/EInterfaceBackend.h"

#include <gtest/gtest.h>

namespace {

class SynonymTables : public testing::Test {
protected:
    void SetUp() override {
        m_backend.LoadCommands("data/commands.txt", "look { synonyms=peek, l; }\n"
                                                    "take { synonyms=grab, l; }\n"
                                                    "look at { synonyms=examine; }\n");
        m_backend.LoadObjects("data/objects.txt", "lamp { synonyms=oil lamp, light; }\n"
                                                  "door { synonyms=light; }\n");
    }

    CInterfaceBackend m_backend;
};

TEST_F(SynonymTables, MapWordsToTheirDefinitions) {
    EXPECT_EQ(m_backend.VerbOf("look"), "look");
    EXPECT_EQ(m_backend.VerbOf("peek"), "look");
    EXPECT_EQ(m_backend.VerbOf("examine"), "look at");
    EXPECT_EQ(m_backend.ObjectOf("oil lamp"), "lamp");
    EXPECT_EQ(m_backend.ObjectOf("door"), "door");
}

TEST_F(SynonymTables, UnknownWords) {
    EXPECT_EQ(m_backend.VerbOf("dance"), "");
    EXPECT_EQ(m_backend.VerbOf(""), "");
    EXPECT_EQ(m_backend.ObjectOf("rusty key"), "rusty key");
    EXPECT_FALSE(m_backend.IsVerb("dance"));
    EXPECT_FALSE(m_backend.IsObject("key"));
}

// Definitions are entered in name order, so the last name in that order keeps a shared word.
TEST_F(SynonymTables, SharedWordGoesToTheLastNameInOrder) {
    EXPECT_EQ(m_backend.VerbOf("l"), "take");
    EXPECT_EQ(m_backend.ObjectOf("light"), "lamp");
}

TEST_F(SynonymTables, LookupsAreExactButIsVerbTrims) {
    EXPECT_TRUE(m_backend.IsVerb(" \tlook at\r\n"));
    EXPECT_TRUE(m_backend.IsObject("  oil lamp "));
    EXPECT_FALSE(m_backend.IsVerb("Look"));
    EXPECT_FALSE(m_backend.IsVerb("look  at"));
    EXPECT_EQ(m_backend.VerbOf(" look"), "");
}

TEST_F(SynonymTables, ReloadKeepsEarlierWords) {
    m_backend.LoadCommands("data/commands.txt", "wait { }");
    EXPECT_TRUE(m_backend.IsVerb("peek"));
    EXPECT_TRUE(m_backend.IsVerb("wait"));
    EXPECT_EQ(m_backend.FindVerb("look"), nullptr);
    // The word still leads to "look", which no longer has a definition.
    CCommand command(m_backend);
    EXPECT_THROW(command.SetVerb("peek"), EIBEUnknownVerb);
    EXPECT_THROW(command.Parse("peek at door"), EIBEUnknownVerb);
}

TEST(SynonymTable, SyntaxErrorLeavesItUnfilled) {
    CInterfaceBackend backend;
    EXPECT_THROW(backend.LoadCommands("data/commands.txt", "look { synonyms=peek; }\n}"),
                 EIBEDefinitionSyntax);
    EXPECT_NE(backend.FindVerb("look"), nullptr);
    EXPECT_FALSE(backend.IsVerb("look"));
    EXPECT_FALSE(backend.IsVerb("peek"));
}

TEST(SynonymTable, EmptySynonymIsAWord) {
    CInterfaceBackend backend;
    backend.LoadObjects("data/objects.txt", "lamp { synonyms=a,,b; }");
    EXPECT_TRUE(backend.IsObject("  "));
    EXPECT_EQ(backend.ObjectOf(""), "lamp");
}

TEST(IgnoredWords, AreTheSixFillers) {
    const CInterfaceBackend backend;
    for (const char* word : {"a", "an", "the", "damn", "fucking", "stupid"}) {
        EXPECT_TRUE(backend.IsIgnored(word)) << word;
    }
    for (const char* word : {"The", "", "to", "stupidly"}) {
        EXPECT_FALSE(backend.IsIgnored(word)) << word;
    }
}

} // namespace
