#pragma once

#include <span>
#include <string>
#include <string_view>

class DRegistry;

// One setting as the game knows it. A read keeps an integer within
// [minimum, maximum] (clamped) and, where `choices` is not empty, takes the
// default for a value that is not one of them; the stored value is left alone.
struct CSettingDefinition {
    enum class Kind { Integer, Text };

    const char* key;
    Kind kind;
    int defaultValue;
    const char* defaultText;
    int minimum;
    int maximum;
    std::span<const int> choices;
    // Whether the file gets the default when the key is missing from it.
    bool writtenWhenMissing;
    const char* comment;
};

// Every setting the game reads, stated once in one table: the defaults live
// there and nowhere else. Reads are const and never write; the defaults of the
// keys the file should hold go into it once, when the game starts.
class CSettings {
public:
    explicit CSettings(DRegistry& store);

    static std::span<const CSettingDefinition> Schema();
    // The definition of `key`; a key that is not in the table is a fault of
    // the engine's own code, so it throws.
    static const CSettingDefinition& Definition(std::string_view key);

    // Adds every missing key that is written when missing, with its default, in one save.
    void WriteMissingDefaults();

    int Int(std::string_view key) const;
    bool Flag(std::string_view key) const { return Int(key) != 0; }
    std::string Text(std::string_view key) const;
    // Stores the value and saves the file.
    void SetInt(std::string_view key, int value);

private:
    DRegistry& m_store;
};
