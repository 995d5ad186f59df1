#include "parser/CInterfaceBackend.h"

#include "parser/CDefinitionReader.h"
#include "parser/ParserText.h"

namespace {

// In name order, so a word claimed by several definitions ends with the last name.
template <class TDefinition>
void EnterSynonyms(const CInterfaceBackend::DefinitionMap<TDefinition>& definitions,
                   CInterfaceBackend::SynonymMap& synonyms) {
    for (const auto& [name, definition] : definitions) {
        synonyms.insert_or_assign(name, name);
        for (const std::string& synonym : definition.synonyms) {
            synonyms.insert_or_assign(synonym, name);
        }
    }
}

} // namespace

CInterfaceBackend::CInterfaceBackend() : m_ignoredWords{"a", "an", "the", "damn", "fucking", "stupid"} {}

void CInterfaceBackend::LoadCommands(const std::string& fileName, std::string_view text) {
    m_verbs.clear();
    ReadDefinitions(EDefinitionFile::Commands, fileName, text, [this](CVerbDefinition&& definition) {
        std::string name = definition.name;
        m_verbs.insert_or_assign(std::move(name), std::move(definition));
    });
    EnterSynonyms(m_verbs, m_verbSynonyms);
}

void CInterfaceBackend::LoadObjects(const std::string& fileName, std::string_view text) {
    m_objects.clear();
    ReadDefinitions(EDefinitionFile::Objects, fileName, text, [this](CVerbDefinition&& definition) {
        std::string name = definition.name;
        m_objects.insert_or_assign(std::move(name), CObjectDefinition(std::move(definition)));
    });
    EnterSynonyms(m_objects, m_objectSynonyms);
}

bool CInterfaceBackend::IsVerb(std::string_view text) const {
    return m_verbSynonyms.contains(Trim(text));
}

bool CInterfaceBackend::IsObject(std::string_view text) const {
    return m_objectSynonyms.contains(Trim(text));
}

std::string CInterfaceBackend::VerbOf(std::string_view word) const {
    const auto found = m_verbSynonyms.find(word);
    return word.empty() || found == m_verbSynonyms.end() ? std::string() : found->second;
}

std::string CInterfaceBackend::ObjectOf(std::string_view word) const {
    const auto found = m_objectSynonyms.find(word);
    return found == m_objectSynonyms.end() ? std::string(word) : found->second;
}

bool CInterfaceBackend::IsIgnored(std::string_view word) const {
    return m_ignoredWords.contains(word);
}

const CVerbDefinition* CInterfaceBackend::FindVerb(std::string_view name) const {
    const auto found = m_verbs.find(name);
    return found == m_verbs.end() ? nullptr : &found->second;
}
