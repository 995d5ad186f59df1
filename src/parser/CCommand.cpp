#include "parser/CCommand.h"

#include "parser/CInterfaceBackend.h"
#include "parser/EInterfaceBackend.h"
#include "parser/ParserText.h"

#include <algorithm>
#include <functional>
#include <span>

namespace {

// The length of the longest prefix that ends at a word boundary and whose text,
// trimmed, is accepted; 0 when none is.
std::size_t LongestPrefix(std::string_view text, const std::function<bool(std::string_view)>& accept) {
    for (std::size_t length = text.size(); length > 0; --length) {
        if ((length == text.size() || IsWhiteSpace(text[length])) && accept(Trim(text.substr(0, length)))) {
            return length;
        }
    }
    return 0;
}

std::string Join(std::span<const std::string_view> words) {
    std::string joined;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) {
            joined += ' ';
        }
        joined += words[i];
    }
    return joined;
}

} // namespace

CCommand::CCommand(const CInterfaceBackend& backend) : m_backend(backend) {}

void CCommand::Parse(std::string_view sentence) {
    m_entries.clear();
    const std::size_t verbLength =
        LongestPrefix(sentence, [this](std::string_view text) { return m_backend.IsVerb(text); });
    if (verbLength == 0) {
        throw EIBENoVerbFound();
    }
    SetVerb(Trim(sentence.substr(0, verbLength)));
    AddObjects(Trim(sentence.substr(verbLength)), GetDefinition().maxnrobjects);
}

void CCommand::AddObjects(std::string_view rest, std::int32_t maximum) {
    const auto keptWords = [this](std::string_view text) {
        std::vector<std::string_view> words = SplitWords(text);
        std::erase_if(words, [this](std::string_view word) { return m_backend.IsIgnored(word); });
        return words;
    };
    if (maximum == 0) {
        return;
    }
    if (maximum == 1) {
        AddObject(Join(keptWords(rest)));
        return;
    }
    // The first object is the longest defined name at the start, so that
    // several-word names win over their first word.
    const std::size_t objectLength =
        LongestPrefix(rest, [this](std::string_view text) { return m_backend.IsObject(text); });
    if (objectLength > 0) {
        AddObject(Trim(rest.substr(0, objectLength)));
    }
    const std::vector<std::string_view> words = keptWords(rest.substr(objectLength));
    auto next = words.begin();
    if (objectLength == 0 && next != words.end()) {
        AddObject(*next++);
    }
    if (next != words.end() && *next == GetDefinition().preposition) {
        ++next;
    }
    if (next != words.end()) {
        AddObject(Join(std::span(next, words.end())));
    }
}

void CCommand::SetVerb(std::string_view word) {
    m_entries.clear();
    const std::string verb = m_backend.VerbOf(word);
    if (m_backend.FindVerb(verb) == nullptr) {
        throw EIBEUnknownVerb();
    }
    m_verb = verb;
    m_entries.push_back({verb, Verb});
}

void CCommand::AddObject(std::string_view text) {
    if (m_entries.empty()) {
        throw EIBECommandNoVerb();
    }
    const CVerbDefinition definition = GetDefinition();
    const auto count = static_cast<std::int32_t>(m_entries.size());
    if (count > definition.maxnrobjects) {
        throw EIBECommandWrongNumberOfObjects(definition.minnrobjects, definition.maxnrobjects, count);
    }
    m_entries.push_back({m_backend.ObjectOf(text), count == 1 ? FirstObject : FurtherObject});
}

std::string CCommand::TextOf(ERole role) const {
    const auto found = std::ranges::find(m_entries, role, &CEntry::role);
    return found == m_entries.end() ? std::string() : found->text;
}

std::string CCommand::GetVerb() const {
    return TextOf(Verb);
}

std::string CCommand::Object1() const {
    return TextOf(FirstObject);
}

std::string CCommand::Object2() const {
    return TextOf(FurtherObject);
}

std::string CCommand::GetPreposition() const {
    if (m_entries.empty()) {
        throw EIBECommandNoVerb();
    }
    return GetDefinition().preposition;
}

void CCommand::Clear() {
    m_entries.clear();
}

CVerbDefinition CCommand::GetDefinition() const {
    const CVerbDefinition* definition = m_backend.FindVerb(m_verb);
    if (definition == nullptr) {
        throw EIBEUnknownVerb();
    }
    return *definition;
}
