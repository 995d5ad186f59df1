#pragma once

#include "parser/Definitions.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CInterfaceBackend;

// One typed command: a verb and up to two objects found in a sentence with the
// backend's vocabulary. The game keeps one and reuses it for every sentence.
// Failures are EInterfaceBackend exceptions; the command keeps what was added
// before the failure.
class CCommand {
public:
    // The backend must outlive the command.
    explicit CCommand(const CInterfaceBackend& backend);

    // Replaces the content with the verb and objects of a lower-case sentence.
    // EIBENoVerbFound when no word-prefix is a verb, EIBEUnknownVerb when the
    // verb word has no definition, EIBECommandWrongNumberOfObjects when the
    // verb takes fewer objects than the sentence names (only possible for a
    // negative maximum).
    void Parse(std::string_view sentence);

    // Starts the command over with the verb of `word` (EIBEUnknownVerb).
    void SetVerb(std::string_view word);
    // Adds an object, mapped to its object name when the text is a known word
    // (EIBECommandNoVerb, EIBECommandWrongNumberOfObjects).
    void AddObject(std::string_view text);

    // Empty when the command has no such part.
    std::string GetVerb() const;
    std::string Object1() const;
    std::string Object2() const;
    // The verb's preposition (EIBECommandNoVerb on an empty command).
    std::string GetPreposition() const;
    void Clear();
    // The definition of the last verb set (EIBEUnknownVerb when it has none).
    CVerbDefinition GetDefinition() const;

private:
    enum ERole : std::int32_t { Verb = 1, FirstObject = 3, FurtherObject = 4 };

    struct CEntry {
        std::string text;
        ERole role;
    };

    void AddObjects(std::string_view rest, std::int32_t maximum);
    std::string TextOf(ERole role) const;

    const CInterfaceBackend& m_backend;
    std::vector<CEntry> m_entries;
    std::string m_verb;
};
