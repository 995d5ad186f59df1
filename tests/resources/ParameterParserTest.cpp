#include "resources/CADVException.h"
#include "resources/CParameterParser.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

using Parameters = std::map<std::string, std::string, std::less<>>;

constexpr const char* kBlankExpected =
    "Exception:\nCParameterParser::CParameterParser - A ' ' is expected to go to "
    "the next parameter, an unknown character was found instead.";
constexpr const char* kBadName = "Exception:\nCParameterParser::CParameterParser - Invalid parameter name";
constexpr const char* kSpaceInName = "Exception:\nInvalid parameter name (no space allowed)";

struct ParseCase {
    const char* text;
    Parameters expected;
    const char* error; // null when the text is valid
};

TEST(ParameterParserTest, ParsesEveryRule) {
    const ParseCase cases[] = {
        {"", {}, nullptr},
        {"    ", {}, nullptr},
        {"name='door' model=\"door.spr\"", {{"name", "door"}, {"model", "door.spr"}}, nullptr},
        {"a='1'  b='x y'", {{"a", "1"}, {"b", "x y"}}, nullptr},
        {"a='say \"hi\"' b=\"it's\"", {{"a", "say \"hi\""}, {"b", "it's"}}, nullptr},
        {"a='x''y'", {{"a", "xy"}}, nullptr},
        {"a='x'\"y\"", {{"a", "xy"}}, nullptr},
        {"a='' b= c='3'", {{"a", ""}, {"b", ""}, {"c", "3"}}, nullptr},
        {"a='1' a='2'", {{"a", "2"}}, nullptr},
        {"Name='A' name='b'", {{"Name", "A"}, {"name", "b"}}, nullptr},
        {"a='back\\slash'", {{"a", "back\\slash"}}, nullptr},
        {"a='unterminated", {{"a", "unterminated"}}, nullptr},
        {"flag", {{"flag", ""}}, nullptr},
        {"='v' b='1'", {{"", "v"}, {"b", "1"}}, nullptr},
        {"='v'", {}, nullptr},
        {"under_score9='x'", {{"under_score9", "x"}}, nullptr},
        {"a='tab\tinside'", {{"a", "tab\tinside"}}, nullptr},
        {"a=1", {}, kBlankExpected},
        {"a='1'b='2'", {}, kBlankExpected},
        {"a='1'\tb='2'", {}, kBlankExpected},
        {"my name='x'", {}, kSpaceInName},
        {"na-me='x'", {}, kBadName},
        {"a='1'\nb='2'", {}, kBlankExpected},
        {"\tb='2'", {}, kBadName},
        {"n\xE9='x'", {}, kBadName},
    };
    for (const ParseCase& c : cases) {
        try {
            const CParameterParser parser(c.text);
            EXPECT_EQ(c.error, nullptr) << "parsed: " << c.text;
            EXPECT_EQ(parser.Parameters(), c.expected) << c.text;
        } catch (const CADVException& e) {
            ASSERT_NE(c.error, nullptr) << c.text << " threw " << e.GetText();
            EXPECT_STREQ(e.GetText(), c.error) << c.text;
        }
    }
}

TEST(ParameterParserTest, NumbersAsSscanfReadsThem) {
    struct Case {
        const char* value;
        std::optional<float> expected;
    };
    const Case cases[] = {
        {"1.5", 1.5f},       {"2.5m", 2.5f},      {"  -3", -3.0f},       {"+.5", 0.5f},
        {"5.", 5.0f},        {"1e3", 1000.f},     {"1e", 1.0f},          {"1e+", 1.0f},
        {"-2E-1x", -0.2f},   {"0x10", 0.0f},      {"", std::nullopt},    {"abc", std::nullopt},
        {".", std::nullopt}, {"-", std::nullopt}, {"inf", std::nullopt}, {"e5", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseLeadingFloat(c.value), c.expected) << c.value;
    }
}

TEST(ParameterParserTest, LookupsAndDefaults) {
    const CParameterParser parser("posx='1.5' posy='abc' posz='' name='lamp' visible='True' red='0.25'");
    EXPECT_EQ(parser.GetParameter("name"), "lamp");
    EXPECT_FLOAT_EQ(parser.GetFloat("posx"), 1.5f);
    EXPECT_EQ(parser.GetParameterDefault("posz", "fallback"), "");
    EXPECT_EQ(parser.GetParameterDefault("missing", "fallback"), "fallback");
    EXPECT_FALSE(parser.GetParameterDefault("visible", "false") == "true");
    EXPECT_FLOAT_EQ(parser.GetFloatDefault("posy", 7.0f), 7.0f);
    EXPECT_FLOAT_EQ(parser.GetFloatDefault("posz", 8.0f), 8.0f);
    EXPECT_EQ(parser.GetFloat3Default("posx", "posy", "posw", 1.0f, 2.0f, 3.0f),
              (std::array<float, 3>{1.5f, 2.0f, 3.0f}));
    EXPECT_EQ(parser.GetFloat4Default("red", "green", "blue", "alpha", 1.0f, 1.0f, 1.0f, 0.5f),
              (std::array<float, 4>{0.25f, 1.0f, 1.0f, 0.5f}));

    const std::pair<std::function<void()>, const char*> failures[] = {
        {[&] { parser.GetParameter("Name"); },
         "Exception:\nCParameterParser::GetParameter Key does not exist"},
        {[&] { parser.GetFloat("missing"); }, "Exception:\nCParameterParser::GetFloat Key does not exist"},
        {[&] { parser.GetFloat("posy"); },
         "Exception:\nCParameterParser::GetFloat Key doesn't contain a float"},
        {[&] { parser.GetFloat("posz"); },
         "Exception:\nCParameterParser::GetFloat Key doesn't contain a float"},
    };
    for (const auto& [action, text] : failures) {
        try {
            action();
            ADD_FAILURE() << "no exception, expected " << text;
        } catch (const CADVException& e) {
            EXPECT_STREQ(e.GetText(), text);
        }
    }
}

} // namespace
