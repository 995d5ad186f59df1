#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

// The per-user settings store. It keeps an in-memory copy of every value,
// answers reads from it and writes the whole copy back to one TOML file
// whenever a value is added or changed with saving requested. Integers and
// texts are two separate kinds: a value stored as text is not an integer.
//
// Failures never stop the game: an unreadable or malformed file reads as an
// empty store (every read returns its default) and is moved aside so the next
// save cannot destroy it without a trace; a file that cannot be written is
// left as it was, and said once on stderr.
class DRegistry {
public:
    explicit DRegistry(std::filesystem::path file);
    virtual ~DRegistry() = default;

    void Load();
    void Save();

    // The stored value of that kind, if there is one; reading never writes.
    std::optional<int> FindInt(const std::string& name) const;
    std::optional<std::string> FindString(const std::string& name) const;

    int ReadInt(const std::string& name, int def, bool addWhenMissing);
    std::string ReadString(const std::string& name, const std::string& def, bool addWhenMissing);
    void WriteInt(const std::string& name, int value, bool save);

    const std::filesystem::path& File() const { return m_file; }

private:
    std::filesystem::path m_file;
    std::map<std::string, int> m_ints;
    std::map<std::string, std::string> m_strings;
    bool m_toldWriteFailure = false;
};
