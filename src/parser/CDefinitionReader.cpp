#include "parser/CDefinitionReader.h"

#include "parser/EInterfaceBackend.h"
#include "parser/ParserText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <span>

namespace {

enum class EKeyword { Synonyms, Preposition, MinNrObjects, MaxNrObjects, Action };

struct CKeywordName {
    std::string_view name;
    EKeyword keyword;
};

constexpr std::array g_commandKeywords{
    CKeywordName{"synonyms", EKeyword::Synonyms},
    CKeywordName{"preposition", EKeyword::Preposition},
    CKeywordName{"minnrobjects", EKeyword::MinNrObjects},
    CKeywordName{"maxnrobjects", EKeyword::MaxNrObjects},
    CKeywordName{"action", EKeyword::Action},
};
constexpr std::array g_objectKeywords{CKeywordName{"synonyms", EKeyword::Synonyms}};

struct CFileSyntax {
    std::span<const CKeywordName> keywords;
    const char* braceInBlockError;
};

CFileSyntax SyntaxOf(EDefinitionFile kind) {
    if (kind == EDefinitionFile::Commands) {
        return {g_commandKeywords, "'{' is only valid after a verb"};
    }
    return {g_objectKeywords, "'{' is only valid after an object name"};
}

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

// The decimal integer at the start of the text as atoi reads it, held to the
// 32-bit range instead of overflowing; 0 when no number starts the text.
std::int32_t LeadingInteger(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsWhiteSpace(text[pos])) {
        ++pos;
    }
    const bool negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        ++pos;
    }
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = std::min(value * 10 + (text[pos] - '0'), limit);
    }
    if (negative) {
        return static_cast<std::int32_t>(-value);
    }
    return static_cast<std::int32_t>(std::min(value, limit - 1));
}

class CScanner {
public:
    CScanner(EDefinitionFile kind, const std::string& fileName,
             const std::function<void(CVerbDefinition&&)>& store)
        : m_syntax(SyntaxOf(kind)), m_fileName(fileName), m_store(store) {}

    void Scan(std::string_view text) {
        for (std::size_t pos = 0; pos < text.size(); ++pos) {
            const char c = text[pos];
            if (m_inComment) {
                if (c == '\n') {
                    m_inComment = false;
                    ++m_line;
                }
                continue;
            }
            switch (c) {
            case '#':
                m_inComment = true;
                break;
            case '\\':
                // The escaped character is an ordinary one, so it can also start a name or keyword.
                if (pos + 1 < text.size()) {
                    ++pos;
                    Ordinary(text[pos]);
                    // An escaped line feed is still a line of the file the author counts.
                    if (text[pos] == '\n') {
                        ++m_line;
                    }
                }
                break;
            case '\n':
                EndStatement();
                ++m_line;
                break;
            case '\r':
            case ';':
                EndStatement();
                break;
            case '=':
                Equals();
                break;
            case ',':
                if (m_state == EState::Value && m_keyword == EKeyword::Synonyms) {
                    m_current.synonyms.emplace_back(Trim(m_token));
                    m_token.clear();
                } else {
                    Ordinary(c);
                }
                break;
            case '{':
                OpenBlock();
                break;
            case '}':
                CloseBlock();
                break;
            default:
                Ordinary(c);
                break;
            }
        }
        // A block cut off by the end of the file would otherwise vanish without a word.
        if (m_inBlock) {
            Fail("'}' missing at end of file");
        }
    }

private:
    enum class EState { None, Name, Keyword, Value };

    [[noreturn]] void Fail(const std::string& message) const {
        throw EIBEDefinitionSyntax(m_fileName, m_line, message);
    }

    void Ordinary(char c) {
        if (m_state == EState::None) {
            if (m_inBlock) {
                m_state = EState::Keyword;
            } else {
                m_current = CVerbDefinition{};
                m_state = EState::Name;
            }
        }
        m_token += c;
    }

    void Equals() {
        if (!m_inBlock || m_state != EState::Keyword) {
            Fail("'=' only allowed after keywords");
        }
        const std::string keyword = LowerCase(Trim(m_token));
        const auto found = std::find_if(m_syntax.keywords.begin(), m_syntax.keywords.end(),
                                        [&](const CKeywordName& entry) { return entry.name == keyword; });
        if (found == m_syntax.keywords.end()) {
            // Named, so the author finds it in the line.
            Fail(keyword.empty() ? std::string("unknown keyword: none before '='")
                                 : "unknown keyword '" + std::string(Trim(m_token)) + "'");
        }
        m_keyword = found->keyword;
        m_token.clear();
        m_state = EState::Value;
    }

    void OpenBlock() {
        if (m_inBlock) {
            Fail(m_syntax.braceInBlockError);
        }
        if (m_state == EState::Name) {
            m_current.name = Trim(m_token);
        }
        m_token.clear();
        m_inBlock = true;
        m_state = EState::None;
    }

    void CloseBlock() {
        if (!m_inBlock) {
            Fail("'{' encountered while still in definition block");
        }
        if (m_state == EState::Value || (m_state == EState::Keyword && !Trim(m_token).empty())) {
            Fail("Unexpected '}'");
        }
        m_store(CVerbDefinition(m_current));
        m_token.clear();
        m_inBlock = false;
        m_state = EState::None;
    }

    void EndStatement() {
        switch (m_state) {
        case EState::Name:
            m_current.name = Trim(m_token);
            break;
        case EState::Keyword:
            Fail("keyword without value");
        case EState::Value:
            ApplyValue();
            break;
        case EState::None:
            break;
        }
        m_token.clear();
        m_state = EState::None;
    }

    void ApplyValue() {
        switch (m_keyword) {
        case EKeyword::Synonyms:
            m_current.synonyms.emplace_back(Trim(m_token));
            break;
        case EKeyword::Preposition:
            m_current.preposition = Trim(m_token);
            break;
        case EKeyword::MinNrObjects:
            m_current.minnrobjects = LeadingInteger(m_token);
            break;
        case EKeyword::MaxNrObjects:
            m_current.maxnrobjects = LeadingInteger(m_token);
            break;
        case EKeyword::Action:
            break;
        }
    }

    const CFileSyntax m_syntax;
    const std::string& m_fileName;
    const std::function<void(CVerbDefinition&&)>& m_store;

    std::int32_t m_line = 1;
    bool m_inComment = false;
    bool m_inBlock = false;
    EState m_state = EState::None;
    EKeyword m_keyword = EKeyword::Synonyms;
    std::string m_token;
    CVerbDefinition m_current;
};

} // namespace

void ReadDefinitions(EDefinitionFile kind, const std::string& fileName, std::string_view text,
                     const std::function<void(CVerbDefinition&&)>& store) {
    CScanner(kind, fileName, store).Scan(text);
}
