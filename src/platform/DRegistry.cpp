#include "platform/DRegistry.h"
#include "platform/DReport.h"

#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>
#include <system_error>
#include <toml++/toml.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Moves a settings file that cannot be parsed out of the way, so the user can
// still recover what was in it after the next save writes a fresh one.
void KeepBrokenFile(const fs::path& file, const std::string& why) {
    const auto stamp = std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
    fs::path aside = file;
    aside += ".broken-" + std::to_string(stamp);
    std::error_code ec;
    fs::rename(file, aside, ec);
    ReportWarning("the settings file " + file.string() + " is unreadable (" + why + "); " +
                  (ec ? std::string("it is left in place") : "kept as " + aside.string()) + "; using defaults.");
}

// The reason a write failed, empty when it did not.
std::string WriteWholeFile(const fs::path& path, const std::string& text) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        return std::strerror(errno);
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    // The data must be on disk before the rename makes it the settings file.
    const bool flushed = std::fflush(out) == 0 && ::fsync(::fileno(out)) == 0;
    const int error = errno;
    const bool closed = std::fclose(out) == 0;
    return written && flushed && closed ? std::string() : std::strerror(error != 0 ? error : errno);
}

} // namespace

DRegistry::DRegistry(fs::path file) : m_file(std::move(file)) { Load(); }

void DRegistry::Load() {
    m_ints.clear();
    m_strings.clear();
    std::error_code ec;
    if (!fs::exists(m_file, ec)) {
        return;
    }
    toml::table table;
    try {
        table = toml::parse_file(m_file.string());
    } catch (const toml::parse_error& error) {
        std::ostringstream why;
        why << error.description() << " at line " << error.source().begin.line;
        KeepBrokenFile(m_file, why.str());
        return;
    }
    for (const auto& [key, node] : table) {
        const std::string name(key.str());
        if (const auto* integer = node.as_integer()) {
            const std::int64_t value = integer->get();
            // Settings are 32-bit values; anything wider was not written by us and is skipped.
            if (value >= std::numeric_limits<std::int32_t>::min() &&
                value <= std::numeric_limits<std::uint32_t>::max()) {
                m_ints[name] = static_cast<int>(static_cast<std::uint32_t>(value));
            }
        } else if (const auto* text = node.as_string()) {
            m_strings[name] = text->get();
        }
    }
}

void DRegistry::Save() {
    toml::table table;
    for (const auto& [name, value] : m_ints) {
        table.insert_or_assign(name, static_cast<std::int64_t>(value));
    }
    // A name held as both kinds ends up as the text, like a registry value rewritten with another type.
    for (const auto& [name, value] : m_strings) {
        table.insert_or_assign(name, value);
    }
    std::ostringstream text;
    text << table << '\n';

    std::error_code ec;
    if (m_file.has_parent_path()) {
        fs::create_directories(m_file.parent_path(), ec);
    }
    fs::path temp = m_file;
    temp += ".tmp";
    std::string failure = WriteWholeFile(temp, text.str());
    if (failure.empty()) {
        fs::rename(temp, m_file, ec);
        failure = ec ? ec.message() : std::string();
    }
    if (failure.empty()) {
        return;
    }
    fs::remove(temp, ec);
    // Once is enough: every change of a setting saves again.
    if (!m_toldWriteFailure) {
        m_toldWriteFailure = true;
        ReportWarning("the settings file " + m_file.string() + " cannot be written (" + failure +
                      "); settings changed now are lost when the game ends.");
    }
}

std::optional<int> DRegistry::FindInt(const std::string& name) const {
    const auto found = m_ints.find(name);
    return found != m_ints.end() ? std::optional(found->second) : std::nullopt;
}

std::optional<std::string> DRegistry::FindString(const std::string& name) const {
    const auto found = m_strings.find(name);
    return found != m_strings.end() ? std::optional(found->second) : std::nullopt;
}

int DRegistry::ReadInt(const std::string& name, int def, bool addWhenMissing) {
    if (const auto found = m_ints.find(name); found != m_ints.end()) {
        return found->second;
    }
    if (addWhenMissing) {
        m_ints[name] = def;
        Save();
    }
    return def;
}

std::string DRegistry::ReadString(const std::string& name, const std::string& def, bool addWhenMissing) {
    if (const auto found = m_strings.find(name); found != m_strings.end()) {
        return found->second;
    }
    if (addWhenMissing) {
        m_strings[name] = def;
        Save();
    }
    return def;
}

void DRegistry::WriteInt(const std::string& name, int value, bool save) {
    m_ints[name] = value;
    if (save) {
        Save();
    }
}
