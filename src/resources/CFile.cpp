#include "resources/CFile.h"

#include "resources/Blowfish.h"
#include "resources/CADVException.h"
#include "resources/FileBytes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

namespace {

constexpr std::size_t kGrowStep = 8192;

} // namespace

CFile::CFile(std::unique_ptr<std::uint8_t[]> data, std::size_t length)
    : m_data(std::move(data)), m_length(length), m_capacity(length) {}

std::size_t CFile::Read(void* destination, std::size_t n) {
    if (m_position < 0 || static_cast<std::size_t>(m_position) >= m_length) {
        return 0;
    }
    const std::size_t count = std::min(n, m_length - static_cast<std::size_t>(m_position));
    std::memcpy(destination, m_data.get() + m_position, count);
    m_position += static_cast<std::int64_t>(count);
    return count;
}

void CFile::Seek(std::int64_t offset, int origin) {
    switch (origin) {
    case 0:
        m_position = offset;
        break;
    case 1:
        m_position += offset;
        break;
    case 2:
        m_position = static_cast<std::int64_t>(m_length) + offset;
        break;
    default:
        throw CADVException("CFile::Seek - Unknown origin %d", origin);
    }
}

void CFile::Write(const void* source, std::size_t n) {
    if (m_position < 0) {
        throw CADVException("CFile::Write - Position %lld lies before the start of the file",
                            static_cast<long long>(m_position));
    }
    const std::size_t position = static_cast<std::size_t>(m_position);
    const std::size_t end = position + n;
    if (end >= m_capacity) {
        std::size_t capacity = m_capacity + kGrowStep;
        if (capacity < end) {
            capacity += (end - m_capacity) / kGrowStep * kGrowStep;
        }
        auto grown = std::make_unique<std::uint8_t[]>(capacity);
        if (m_length > 0) {
            std::memcpy(grown.get(), m_data.get(), m_length);
        }
        m_data = std::move(grown);
        m_capacity = capacity;
    }
    if (n > 0) {
        std::memcpy(m_data.get() + position, source, n);
    }
    // Content ends at the furthest byte written, also when a write starts
    // inside the content and runs past its end.
    m_length = std::max(m_length, end);
    m_position = static_cast<std::int64_t>(end);
}

void CFile::LoadEncrypted(const std::filesystem::path& path, const CKeySet& keys) {
    const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
    if (!bytes) {
        throw CADVException("CFile::LoadEncrypted - File not found.");
    }
    LoadEncrypted(*bytes, path.string(), keys);
}

void CFile::LoadEncrypted(std::span<const std::uint8_t> bytes, std::string_view name, const CKeySet& keys) {
    const std::string file(name);
    if (bytes.size() < 4) {
        throw CADVException("CFile::LoadEncrypted - %s is too short to hold a length", file.c_str());
    }
    const std::uint32_t length = ReadLittle32(bytes.data());
    const std::uint64_t padded = PaddedLength(length);
    if (bytes.size() - 4 < padded) {
        throw CADVException("CFile::LoadEncrypted - %s holds %zu enciphered bytes, its length %u needs %llu",
                            file.c_str(), bytes.size() - 4, length, static_cast<unsigned long long>(padded));
    }
    auto data = std::make_unique<std::uint8_t[]>(padded);
    std::memcpy(data.get(), bytes.data() + 4, padded);
    Blowfish cipher;
    cipher.SetKey(KeyText(keys.file));
    cipher.Decrypt(data.get(), padded);
    m_data = std::move(data);
    m_length = length;
    m_capacity = padded;
    m_position = 0;
}

void CFile::SaveEncrypted(const std::filesystem::path& path, const CKeySet& keys) const {
    if (m_data == nullptr || m_length == 0) {
        return;
    }
    if (m_length > 0xFFFFFFFFu) {
        throw CADVException("CFile::SaveEncrypted - %s: content too long", path.string().c_str());
    }
    const std::uint32_t length = static_cast<std::uint32_t>(m_length);
    std::vector<std::uint8_t> bytes(4 + PaddedLength(length), 0);
    WriteLittle32(bytes.data(), length);
    std::memcpy(bytes.data() + 4, m_data.get(), m_length);
    Blowfish cipher;
    cipher.SetKey(KeyText(keys.file));
    cipher.Encrypt(bytes.data() + 4, bytes.size() - 4);
    WriteWholeFileReplacing(path, bytes);
}
