#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads the definition texts scripts hand to the engine, such as
// name='door' model='door.spr' posx='1.5' visible='true': names of letters,
// digits and '_', each followed by '=' and a value in single or double quotes,
// pairs separated by spaces. The text is parsed once, on construction; a
// malformed text throws CADVException. Names are case-sensitive; a repeated
// name keeps its last value. Booleans are the exact text "true".
class CParameterParser {
public:
    explicit CParameterParser(std::string_view text);
    virtual ~CParameterParser() = default;

    // Both throw CADVException when the name is missing; GetFloat also when the
    // value does not start with a decimal number.
    std::string GetParameter(std::string_view name) const;
    float GetFloat(std::string_view name) const;

    // Any failure gives the fallback, silently.
    std::string GetParameterDefault(std::string_view name, std::string_view fallback) const;
    float GetFloatDefault(std::string_view name, float fallback) const;
    std::array<float, 3> GetFloat3Default(std::string_view name1, std::string_view name2,
                                          std::string_view name3, float fallback1, float fallback2,
                                          float fallback3) const;
    std::array<float, 4> GetFloat4Default(std::string_view name1, std::string_view name2,
                                          std::string_view name3, std::string_view name4, float fallback1,
                                          float fallback2, float fallback3, float fallback4) const;

    const std::map<std::string, std::string, std::less<>>& Parameters() const { return m_parameters; }

private:
    const std::string* Find(std::string_view name) const;

    std::map<std::string, std::string, std::less<>> m_parameters;
};

// The number at the start of `text` as sscanf's "%f" reads it: blanks skipped,
// the longest decimal prefix (sign, digits, fraction, exponent) converted, the
// rest ignored. Empty when no number starts the text.
std::optional<float> ParseLeadingFloat(std::string_view text);

// A comma-separated list as definitions give them (context lists, command
// lists): cut at every comma, pieces kept as they are, empty ones included;
// the empty text is the empty list.
std::vector<std::string> SplitCommaList(std::string_view text);
