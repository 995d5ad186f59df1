#include "resources/CParameterParser.h"

#include "resources/CADVException.h"

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace {

bool IsNameChar(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x80 && std::isalnum(byte)) || c == '_';
}

bool IsDigit(std::string_view text, std::size_t pos) {
    return pos < text.size() && text[pos] >= '0' && text[pos] <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (IsDigit(text, pos)) {
        ++pos;
    }
    return pos;
}

// strtof in the C locale, whatever locale the program runs in.
float ConvertDecimal(const std::string& number) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtof_l(number.c_str(), nullptr, cLocale);
}

} // namespace

std::optional<float> ParseLeadingFloat(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) {
        ++pos;
    }
    const std::size_t start = pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        ++pos;
    }
    const std::size_t integerEnd = SkipDigits(text, pos);
    bool digits = integerEnd > pos;
    pos = integerEnd;
    if (pos < text.size() && text[pos] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, pos + 1);
        digits = digits || fractionEnd > pos + 1;
        pos = fractionEnd;
    }
    if (!digits) {
        return std::nullopt;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t exponent = pos + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        if (IsDigit(text, exponent)) {
            pos = SkipDigits(text, exponent);
        }
    }
    return ConvertDecimal(std::string(text.substr(start, pos - start)));
}

CParameterParser::CParameterParser(std::string_view text) {
    std::string name;
    std::string value;
    bool inValue = false;
    bool inQuotes = false;
    char quote = 0;
    for (const char c : text) {
        if (c == '\0') {
            break; // the text ends at its terminator, as a C string would
        }
        if (!inValue) {
            if (c == '=') {
                inValue = true;
            } else if (c == ' ' && name.empty()) {
                continue;
            } else if (c == ' ') {
                throw CADVException("Invalid parameter name (no space allowed)");
            } else if (IsNameChar(c)) {
                name += c;
            } else {
                throw CADVException("CParameterParser::CParameterParser - Invalid parameter name");
            }
        } else if (inQuotes) {
            if (c == quote) {
                inQuotes = false;
            } else {
                value += c;
            }
        } else if (c == '"' || c == '\'') {
            inQuotes = true;
            quote = c;
        } else if (c == ' ') {
            m_parameters[name] = value;
            name.clear();
            value.clear();
            inValue = false;
        } else {
            throw CADVException("CParameterParser::CParameterParser - A ' ' is expected to go to the next "
                                "parameter, an unknown character was found instead.");
        }
    }
    if (!name.empty()) {
        m_parameters[name] = value;
    }
}

const std::string* CParameterParser::Find(std::string_view name) const {
    const auto found = m_parameters.find(name);
    return found != m_parameters.end() ? &found->second : nullptr;
}

std::string CParameterParser::GetParameter(std::string_view name) const {
    const std::string* value = Find(name);
    if (value == nullptr) {
        throw CADVException("CParameterParser::GetParameter Key does not exist");
    }
    return *value;
}

float CParameterParser::GetFloat(std::string_view name) const {
    const std::string* value = Find(name);
    if (value == nullptr) {
        throw CADVException("CParameterParser::GetFloat Key does not exist");
    }
    const std::optional<float> number = ParseLeadingFloat(*value);
    if (!number) {
        throw CADVException("CParameterParser::GetFloat Key doesn't contain a float");
    }
    return *number;
}

std::string CParameterParser::GetParameterDefault(std::string_view name, std::string_view fallback) const {
    const std::string* value = Find(name);
    return value != nullptr ? *value : std::string(fallback);
}

float CParameterParser::GetFloatDefault(std::string_view name, float fallback) const {
    const std::string* value = Find(name);
    return value != nullptr ? ParseLeadingFloat(*value).value_or(fallback) : fallback;
}

std::array<float, 3> CParameterParser::GetFloat3Default(std::string_view name1, std::string_view name2,
                                                        std::string_view name3, float fallback1,
                                                        float fallback2, float fallback3) const {
    return {GetFloatDefault(name1, fallback1), GetFloatDefault(name2, fallback2),
            GetFloatDefault(name3, fallback3)};
}

std::array<float, 4> CParameterParser::GetFloat4Default(std::string_view name1, std::string_view name2,
                                                        std::string_view name3, std::string_view name4,
                                                        float fallback1, float fallback2, float fallback3,
                                                        float fallback4) const {
    return {GetFloatDefault(name1, fallback1), GetFloatDefault(name2, fallback2),
            GetFloatDefault(name3, fallback3), GetFloatDefault(name4, fallback4)};
}

std::vector<std::string> SplitCommaList(std::string_view text) {
    std::vector<std::string> pieces;
    if (text.empty()) {
        return pieces;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        pieces.emplace_back(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) {
            return pieces;
        }
        start = comma + 1;
    }
}
