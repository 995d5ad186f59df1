#include "VocabularyDump.h"

#include "parser/CInterfaceBackend.h"
#include "parser/EInterfaceBackend.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <utility>

namespace {

enum class EFile { Commands, Objects };

struct CSyntaxError {
    const char* message;
    int line;
};

struct CReaderCase {
    const char* label;
    EFile file;
    const char* text;
    // The table after the load: what a clean file defines, or what was stored
    // before the error.
    const char* definitions;
    std::optional<CSyntaxError> error;
};

// Test names carry the label; the case itself prints as its label too.
void PrintTo(const CReaderCase& test, std::ostream* out) {
    *out << test.label;
}

// Loads the case's text; the text and line of the syntax error it raised, if any.
std::optional<std::pair<std::string, int>> Load(CInterfaceBackend& backend, const CReaderCase& test) {
    try {
        if (test.file == EFile::Commands) {
            backend.LoadCommands("data/commands.txt", test.text);
        } else {
            backend.LoadObjects("data/objects.txt", test.text);
        }
    } catch (const EIBEDefinitionSyntax& error) {
        return std::pair(error.GetText(), error.Line());
    }
    return std::nullopt;
}

class DefinitionReader : public testing::TestWithParam<CReaderCase> {};

TEST_P(DefinitionReader, ReadsTheTable) {
    const CReaderCase& test = GetParam();
    CInterfaceBackend backend;
    const auto error = Load(backend, test);
    EXPECT_EQ(test.file == EFile::Commands ? DumpVerbs(backend) : DumpObjects(backend), test.definitions);
    ASSERT_EQ(error.has_value(), test.error.has_value()) << (error ? error->first : "");
    if (error) {
        const std::string fileName = test.file == EFile::Commands ? "data/commands.txt" : "data/objects.txt";
        EXPECT_EQ(error->first,
                  fileName + "(" + std::to_string(test.error->line) + "): " + test.error->message);
        EXPECT_EQ(error->second, test.error->line);
    }
}

constexpr EFile C = EFile::Commands;
constexpr EFile O = EFile::Objects;

const CReaderCase g_readerCases[] = {
    // Shapes of a block.
    {"every_keyword", C,
     "give {\n  synonyms=hand over, offer\n  preposition=to\n  minnrobjects=1\n  maxnrobjects=2\n  "
     "action=x\n}\n",
     "give|hand over,offer|to|1..2\n", std::nullopt},
    {"semicolons_on_one_line", C, "give { synonyms=hand; preposition=to; minnrobjects=1; maxnrobjects=2; }",
     "give|hand|to|1..2\n", std::nullopt},
    {"name_on_its_own_line", C, "look at\n{\nsynonyms=examine\n}\n", "look at|examine||0..0\n", std::nullopt},
    {"several_blocks_in_name_order", C, "wait { }\nlook { maxnrobjects=1; }\n", "look|||0..1\nwait|||0..0\n",
     std::nullopt},
    {"later_block_replaces_earlier", C, "x { synonyms=a; }\nx { synonyms=b; }\n", "x|b||0..0\n",
     std::nullopt},
    {"repeated_synonyms_keyword_adds", C, "x { synonyms=a; synonyms=b,c; }", "x|a,b,c||0..0\n", std::nullopt},
    {"crlf_line_ends", C, "x {\r\nsynonyms=a\r\n}\r\n", "x|a||0..0\n", std::nullopt},
    {"blanks_trimmed", C, "\t look \t{ preposition \t=  to  ; }", "look||to|0..0\n", std::nullopt},
    {"objects_file", O, "apple {\n  synonyms=red apple, fruit\n}\nguard { }\n",
     "apple|red apple,fruit\nguard|\n", std::nullopt},
    {"empty_file", C, "", "", std::nullopt},
    {"unclosed_name_outside_block", C, "x { }\ntrailing", "x|||0..0\n", std::nullopt},
    // Comments.
    {"comment_lines", C, "# verbs\n#\nlook { maxnrobjects=1; # a remark\n}\n", "look|||0..1\n", std::nullopt},
    {"comment_does_not_end_value", C, "take {\nsynonyms=grab # remark\n, get\n}\n", "take|grab,get||0..0\n",
     std::nullopt},
    {"comment_then_brace_is_value_then_brace", C, "take {\nmaxnrobjects=2 # remark\n}\n", "",
     CSyntaxError{"Unexpected '}'", 3}},
    {"comment_line_feeds_count", C, "# one\n# two\nx {\n  bogus=1\n}\n", "",
     CSyntaxError{"unknown keyword 'bogus'", 4}},
    {"comment_hides_specials", C, "x { # { } = ; \\\n}\n", "x|||0..0\n", std::nullopt},
    // Backslash escapes.
    {"escaped_semicolon_and_brace", C, "put\\;down { synonyms=a\\}b; }", "put;down|a}b||0..0\n",
     std::nullopt},
    {"escaped_comma_and_hash", C, "x { synonyms=a\\,b,\\#c; }", "x|a,b,#c||0..0\n", std::nullopt},
    {"escaped_equals_in_name", C, "a\\=b { }", "a=b|||0..0\n", std::nullopt},
    {"backslash_at_end_of_file", C, "x { }\\", "x|||0..0\n", std::nullopt},
    {"escaped_line_feed_is_a_line", C, "x { synonyms=a\\\nb;\n}\n}", "x|a\nb||0..0\n",
     CSyntaxError{"'{' encountered while still in definition block", 4}},
    // Commas.
    {"two_commas_store_empty_synonym", C, "x { synonyms=a,,b; }", "x|a,,b||0..0\n", std::nullopt},
    {"empty_synonyms_value", C, "x { synonyms=a; synonyms=; }", "x|a,||0..0\n", std::nullopt},
    {"comma_outside_synonyms_is_ordinary", C, "a,b { preposition=to,from; }", "a,b||to,from|0..0\n",
     std::nullopt},
    // Keywords and values.
    {"keyword_case_ignored_names_kept", C, "Look { SYNONYMS=Examine; MaxNrObjects=1; }",
     "Look|Examine||0..1\n", std::nullopt},
    {"non_numeric_counts_are_zero", C, "x { minnrobjects=many; maxnrobjects=two; }", "x|||0..0\n",
     std::nullopt},
    {"count_reads_leading_number", C, "x { minnrobjects= +3 things; maxnrobjects=7up; }", "x|||3..7\n",
     std::nullopt},
    {"negative_count", C, "x { maxnrobjects=-1; }", "x|||0..-1\n", std::nullopt},
    {"huge_count_held_in_range", C, "x { minnrobjects=-99999999999; maxnrobjects=99999999999; }",
     "x|||-2147483648..2147483647\n", std::nullopt},
    {"action_accepted_and_ignored", C, "x { action=anything at all; }", "x|||0..0\n", std::nullopt},
    {"blank_line_outside_block_is_empty_name", C, "   \n{ }", "|||0..0\n", std::nullopt},
    {"white_space_before_brace", C, "x { synonyms=a;   \t}", "x|a||0..0\n", std::nullopt},
    // Errors, each with its line.
    {"equals_outside_block", C, "x { }\nx = 1\n", "x|||0..0\n",
     CSyntaxError{"'=' only allowed after keywords", 2}},
    {"equals_without_keyword", C, "x {=1; }", "", CSyntaxError{"'=' only allowed after keywords", 1}},
    {"second_equals_in_value", C, "x {\nsynonyms=a=b; }", "",
     CSyntaxError{"'=' only allowed after keywords", 2}},
    {"unknown_keyword", C, "a { }\nb {\n  Bogus=1; }", "a|||0..0\n", CSyntaxError{"unknown keyword 'Bogus'", 3}},
    {"empty_keyword", C, "x {  =1; }", "", CSyntaxError{"unknown keyword: none before '='", 1}},
    {"command_keyword_in_objects_file", O, "x { preposition=to; }", "",
     CSyntaxError{"unknown keyword 'preposition'", 1}},
    {"brace_in_block_commands", C, "x {\n y { }\n}", "", CSyntaxError{"'{' is only valid after a verb", 2}},
    {"brace_in_block_objects", O, "x {\n y { }\n}", "",
     CSyntaxError{"'{' is only valid after an object name", 2}},
    {"closing_brace_outside_block", C, "x { }\n\n}", "x|||0..0\n",
     CSyntaxError{"'{' encountered while still in definition block", 3}},
    {"closing_brace_outside_block_objects", O, "}", "",
     CSyntaxError{"'{' encountered while still in definition block", 1}},
    {"value_then_brace", C, "x { synonyms=a }", "", CSyntaxError{"Unexpected '}'", 1}},
    {"keyword_then_brace", C, "x {\n synonyms }", "", CSyntaxError{"Unexpected '}'", 2}},
    {"keyword_without_value", C, "x {\n synonyms\n}", "", CSyntaxError{"keyword without value", 2}},
    {"keyword_without_value_at_semicolon", C, "x { maxnrobjects; }", "",
     CSyntaxError{"keyword without value", 1}},
    {"block_open_at_end_of_file", C, "a { }\nx {\n synonyms=a\n", "a|||0..0\n",
     CSyntaxError{"'}' missing at end of file", 4}},
};

INSTANTIATE_TEST_SUITE_P(Cases, DefinitionReader, testing::ValuesIn(g_readerCases),
                         [](const testing::TestParamInfo<CReaderCase>& info) { return info.param.label; });

TEST(DefinitionSyntax, CarriesFileLineAndMessage) {
    CInterfaceBackend backend;
    try {
        backend.LoadCommands("data/commands.txt", "\n\n\n\n\n\n\n\n\n\n\nx { bogus=1; }");
        FAIL() << "no syntax error";
    } catch (const EInterfaceBackend& error) {
        EXPECT_EQ(error.GetText(), "data/commands.txt(12): unknown keyword 'bogus'");
        EXPECT_STREQ(error.what(), "data/commands.txt(12): unknown keyword 'bogus'");
        EXPECT_EQ(error.File(), "data/commands.txt");
        EXPECT_EQ(error.Line(), 12);
        EXPECT_EQ(error.Message(), "unknown keyword 'bogus'");
    }
}

TEST(DefinitionSyntax, NamesTheFileAsGiven) {
    CInterfaceBackend backend;
    try {
        backend.LoadObjects("my objects", "}");
        FAIL() << "no syntax error";
    } catch (const EInterfaceBackend& error) {
        EXPECT_EQ(error.GetText(), "my objects(1): '{' encountered while still in definition block");
    }
}

// Reading a file with NUL and high bytes goes through like any other character.
TEST(DefinitionSyntax, EightBitAndNulBytesAreOrdinary) {
    CInterfaceBackend backend;
    const char text[] = "caf\xe9\0x { synonyms=\xff; }";
    const char dump[] = "caf\xe9\0x|\xff||0..0\n";
    backend.LoadCommands("data/commands.txt", std::string_view(text, sizeof text - 1));
    EXPECT_EQ(DumpVerbs(backend), std::string(dump, sizeof dump - 1));
}

} // namespace
