#pragma once

#include "parser/Definitions.h"

#include <map>
#include <set>
#include <string>
#include <string_view>

// The vocabulary of typed commands: the verbs of the commands file, the object
// names of the objects file, and the synonym tables that lead any word of either
// back to its definition. Lookups are exact and case-sensitive; the game
// lower-cases what the player types. The loaders take the file's text, so the
// caller decides where it comes from (the archives, at game start).
class CInterfaceBackend {
public:
    template <class TDefinition> using DefinitionMap = std::map<std::string, TDefinition, std::less<>>;
    using SynonymMap = std::map<std::string, std::string, std::less<>>;

    CInterfaceBackend();
    virtual ~CInterfaceBackend() = default;

    // Both replace their definition table and then add every name and synonym to
    // the synonym table, which keeps the words of earlier loads. A syntax error
    // (EIBEDefinitionSyntax, naming `fileName`) leaves the definitions read
    // before it and the synonym table untouched.
    void LoadCommands(const std::string& fileName, std::string_view text);
    void LoadObjects(const std::string& fileName, std::string_view text);

    // Whether the text, without surrounding blanks, is a verb or object word.
    bool IsVerb(std::string_view text) const;
    bool IsObject(std::string_view text) const;
    // The verb name of a word; empty for an empty or unknown word.
    std::string VerbOf(std::string_view word) const;
    // The object name of a word; an unknown word names itself.
    std::string ObjectOf(std::string_view word) const;
    // Filler words a sentence may carry between its parts.
    bool IsIgnored(std::string_view word) const;

    // The definition of a verb name, or nullptr.
    const CVerbDefinition* FindVerb(std::string_view name) const;

    const DefinitionMap<CVerbDefinition>& Verbs() const { return m_verbs; }
    const DefinitionMap<CObjectDefinition>& Objects() const { return m_objects; }

private:
    DefinitionMap<CVerbDefinition> m_verbs;
    SynonymMap m_verbSynonyms;
    DefinitionMap<CObjectDefinition> m_objects;
    SynonymMap m_objectSynonyms;
    const std::set<std::string, std::less<>> m_ignoredWords;
};
