#include "resources/CArchiveWriter.h"

#include "resources/Blowfish.h"
#include "resources/CADVException.h"
#include "resources/CFile.h"
#include "resources/FileBytes.h"

#include <cstring>
#include <random>

std::string RandomKey() {
    static thread_local std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<int> byte(1, 255);
    std::string key(kKeyLength, '\0');
    for (char& c : key) {
        c = static_cast<char>(byte(engine));
    }
    return key;
}

CArchiveWriter::CArchiveWriter(std::string archiveName, const CKeySet& keys)
    : m_archiveName(std::move(archiveName)), m_keys(keys) {}

CArchiveEntry& CArchiveWriter::Add(const std::string& dir, const std::string& name,
                                   std::span<const std::uint8_t> content) {
    if (content.size() > 0xFFFFFFFFu ||
        m_bodies.size() + PaddedLength(static_cast<std::uint32_t>(content.size())) > 0xFFFFFFFFu) {
        throw CADVException("CArchiveWriter::Add - %s\\%s: an archive cannot hold more than 4 GiB",
                            dir.c_str(), name.c_str());
    }
    CArchiveEntry entry;
    entry.nextkey = RandomKey();
    entry.dir = dir;
    entry.name = name;
    entry.filekey = RandomKey();
    entry.size = static_cast<std::uint32_t>(content.size());
    entry.offset = static_cast<std::uint32_t>(m_bodies.size());
    entry.archive = m_archiveName;
    entry.Serialize(); // refuses names that do not fit before anything is stored

    const std::size_t at = m_bodies.size();
    m_bodies.resize(at + PaddedLength(entry.size), 0);
    if (!content.empty()) {
        std::memcpy(m_bodies.data() + at, content.data(), content.size());
    }
    Blowfish cipher;
    cipher.SetKey(entry.filekey);
    cipher.Encrypt(m_bodies.data() + at, m_bodies.size() - at);
    m_entries.push_back(std::move(entry));
    return m_entries.back();
}

std::vector<std::uint8_t> CArchiveWriter::Finish() const {
    std::vector<std::uint8_t> archive = m_bodies;
    archive.reserve(archive.size() + m_entries.size() * CArchiveEntry::kSize + 4);
    Blowfish cipher;
    cipher.SetKey(KeyText(m_keys.directory));
    for (const CArchiveEntry& entry : m_entries) {
        std::array<std::uint8_t, CArchiveEntry::kSize> bytes = entry.Serialize();
        cipher.Encrypt(bytes.data(), bytes.size());
        archive.insert(archive.end(), bytes.begin(), bytes.end());
        cipher.SetKey(entry.nextkey);
    }
    std::uint8_t position[4];
    WriteLittle32(position, static_cast<std::uint32_t>(m_bodies.size()));
    archive.insert(archive.end(), position, position + 4);
    return archive;
}

void CArchiveWriter::Write(const std::filesystem::path& path) const {
    WriteWholeFileReplacing(path, Finish());
}
