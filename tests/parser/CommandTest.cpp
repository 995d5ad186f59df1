#include "parser/CCommand.h"
#include "parser/CInterfaceBackend.h"
#include "parser/EInterfaceBackend.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

constexpr const char* g_commands =
    "give { synonyms=hand over, offer; preposition=to; minnrobjects=2; maxnrobjects=2; }\n"
    "look { synonyms=l; maxnrobjects=1; }\n"
    "look at { synonyms=examine, x; maxnrobjects=1; }\n"
    "take { synonyms=pick up, grab; minnrobjects=1; maxnrobjects=1; }\n"
    "wait { maxnrobjects=0; }\n"
    "use { preposition=with; maxnrobjects=2; }\n"
    "combine { preposition=and; maxnrobjects=3; }\n"
    "curse { maxnrobjects=-1; }\n";

constexpr const char* g_objects = "apple { synonyms=red apple; }\n"
                                  "guard { synonyms=old guard; }\n"
                                  "lamp { synonyms=oil lamp, lantern; }\n"
                                  "door { }\n";

class CommandFixture {
protected:
    CommandFixture() {
        m_backend.LoadCommands("data/commands.txt", g_commands);
        m_backend.LoadObjects("data/objects.txt", g_objects);
    }

    CInterfaceBackend m_backend;
    CCommand m_command{m_backend};
};

struct CSentenceCase {
    const char* label;
    const char* sentence;
    const char* verb;
    const char* object1;
    const char* object2;
};

// Test names carry the label; the case itself prints as its label too.
void PrintTo(const CSentenceCase& test, std::ostream* out) {
    *out << test.label;
}

class Sentences : public CommandFixture, public testing::TestWithParam<CSentenceCase> {};

TEST_P(Sentences, Parse) {
    const CSentenceCase& test = GetParam();
    m_command.Parse(test.sentence);
    EXPECT_EQ(m_command.GetVerb(), test.verb);
    EXPECT_EQ(m_command.Object1(), test.object1);
    EXPECT_EQ(m_command.Object2(), test.object2);
}

const CSentenceCase g_sentences[] = {
    // The two sentences of the give example: a defined prefix wins only at the very start.
    {"defined_prefix_first", "give red apple to the old guard", "give", "apple", "guard"},
    {"ignored_word_hides_prefix", "give the red apple to the old guard", "give", "red", "apple to old guard"},
    {"multi_word_verb_synonym", "hand over lantern to guard", "give", "lamp", "guard"},
    {"no_preposition", "offer apple guard", "give", "apple", "guard"},
    {"other_preposition_kept", "use lamp on door", "use", "lamp", "on door"},
    {"preposition_after_unknown_word", "use rusty key with door", "use", "rusty", "key with door"},
    {"object_after_ignored_word_still_mapped", "use the lantern", "use", "lamp", ""},
    {"second_object_only_preposition", "use lamp with", "use", "lamp", ""},
    {"verb_only_max_two", "use", "use", "", ""},
    {"longest_verb_wins", "look at door", "look at", "door", ""},
    {"shorter_verb", "look door", "look", "door", ""},
    {"verb_synonym_to_multi_word_verb", "examine the oil lamp", "look at", "lamp", ""},
    {"leading_blanks", "  look at door", "look at", "door", ""},
    {"verb_words_need_single_blank", "look  at door", "look", "at door", ""},
    {"max_one_drops_ignored_words", "take the damn lamp", "take", "lamp", ""},
    {"max_one_joins_unknown_words", "pick up a stupid shiny   fucking sword", "take", "shiny sword", ""},
    {"max_one_tabs_split_words", "take\tthe\tlamp", "take", "lamp", ""},
    {"max_one_keeps_rest_whole", "take lamp to door", "take", "lamp to door", ""},
    {"max_zero_ignores_rest", "wait for the guard", "wait", "", ""},
    {"max_three_third_word_joined", "combine lamp and apple and door", "combine", "lamp", "apple and door"},
    {"negative_max_without_objects", "curse", "curse", "", ""},
    {"verb_only_max_one", "take", "take", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, Sentences, testing::ValuesIn(g_sentences),
                         [](const testing::TestParamInfo<CSentenceCase>& info) { return info.param.label; });

class Command : public CommandFixture, public testing::Test {};

TEST_F(Command, NoVerbFound) {
    for (const char* sentence : {"", "   ", "dance", "LOOK AT DOOR", "the look", "lookat door"}) {
        try {
            m_command.Parse(sentence);
            ADD_FAILURE() << "a verb in '" << sentence << "'";
        } catch (const EIBENoVerbFound& error) {
            EXPECT_EQ(error.GetText(), "No verb found");
        }
    }
}

TEST_F(Command, FailedParseLeavesNoStaleSentence) {
    m_command.Parse("take lamp");
    EXPECT_THROW(m_command.Parse("dance"), EIBENoVerbFound);
    EXPECT_EQ(m_command.GetVerb(), "");
    EXPECT_EQ(m_command.Object1(), "");
}

// With max 1 the object is there even when the sentence names none.
TEST_F(Command, VerbOnlyWithMaxOneHasOneEmptyObject) {
    m_command.Parse("grab");
    try {
        m_command.AddObject("lamp");
        FAIL() << "a second object fit";
    } catch (const EIBECommandWrongNumberOfObjects& error) {
        EXPECT_EQ(error.Count(), 2);
    }
}

TEST_F(Command, NegativeMaximumRejectsTheFirstObject) {
    try {
        m_command.Parse("curse the guard");
        FAIL() << "an object fit";
    } catch (const EInterfaceBackend& error) {
        EXPECT_EQ(error.GetText(), "Wrong number of objects: expected min 0, max -1; got 1");
        const auto& wrong = dynamic_cast<const EIBECommandWrongNumberOfObjects&>(error);
        EXPECT_EQ(wrong.Minimum(), 0);
        EXPECT_EQ(wrong.Maximum(), -1);
        EXPECT_EQ(wrong.Count(), 1);
    }
    // What was added before the failure stays.
    EXPECT_EQ(m_command.GetVerb(), "curse");
}

TEST_F(Command, AddObjectPastTheMaximum) {
    m_command.SetVerb("hand over");
    m_command.AddObject("red apple");
    m_command.AddObject("someone");
    try {
        m_command.AddObject("door");
        FAIL() << "a third object fit";
    } catch (const EIBECommandWrongNumberOfObjects& error) {
        EXPECT_STREQ(error.what(), "Wrong number of objects: expected min 2, max 2; got 3");
    }
    EXPECT_EQ(m_command.Object1(), "apple");
    EXPECT_EQ(m_command.Object2(), "someone");
}

TEST_F(Command, FurtherObjectsAfterTheSecond) {
    m_command.SetVerb("combine");
    for (const char* object : {"lamp", "oil lamp", "door"}) {
        m_command.AddObject(object);
    }
    EXPECT_EQ(m_command.Object1(), "lamp");
    EXPECT_EQ(m_command.Object2(), "lamp");
}

TEST_F(Command, NeedsAVerbFirst) {
    EXPECT_THROW(m_command.AddObject("lamp"), EIBECommandNoVerb);
    EXPECT_THROW(m_command.GetPreposition(), EIBECommandNoVerb);
    try {
        m_command.GetPreposition();
    } catch (const EInterfaceBackend& error) {
        EXPECT_EQ(error.GetText(), "The command doesn't contain a verb");
    }
    EXPECT_EQ(m_command.GetVerb(), "");
}

TEST_F(Command, PrepositionAndDefinitionOfTheVerb) {
    m_command.Parse("offer apple to guard");
    EXPECT_EQ(m_command.GetPreposition(), "to");
    const CVerbDefinition definition = m_command.GetDefinition();
    EXPECT_EQ(definition.name, "give");
    EXPECT_EQ(definition.minnrobjects, 2);
    EXPECT_EQ(definition.maxnrobjects, 2);
    m_command.Parse("look at lamp");
    EXPECT_EQ(m_command.GetPreposition(), "");
}

// Clear empties the sentence; the definition of its verb stays reachable.
TEST_F(Command, ClearKeepsTheVerbDefinition) {
    m_command.Parse("take lamp");
    m_command.Clear();
    EXPECT_EQ(m_command.GetVerb(), "");
    EXPECT_EQ(m_command.Object1(), "");
    EXPECT_THROW(m_command.GetPreposition(), EIBECommandNoVerb);
    EXPECT_EQ(m_command.GetDefinition().name, "take");
}

TEST_F(Command, UnknownVerb) {
    try {
        m_command.SetVerb("dance");
        FAIL() << "a verb set";
    } catch (const EInterfaceBackend& error) {
        EXPECT_EQ(error.GetText(), "Unknown verb");
    }
    EXPECT_THROW(CCommand(m_backend).GetDefinition(), EIBEUnknownVerb);
}

TEST_F(Command, SetVerbStartsOver) {
    m_command.Parse("give apple to guard");
    m_command.SetVerb("x");
    EXPECT_EQ(m_command.GetVerb(), "look at");
    EXPECT_EQ(m_command.Object1(), "");
    EXPECT_EQ(m_command.Object2(), "");
}

} // namespace
