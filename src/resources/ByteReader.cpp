#include "resources/ByteReader.h"

std::uint8_t ByteReader::U8() {
    if (m_at >= m_data.size()) {
        m_failed = true;
        return 0;
    }
    return m_data[m_at++];
}

std::uint16_t ByteReader::U16() {
    const std::uint16_t lo = U8();
    const std::uint16_t hi = U8();
    return static_cast<std::uint16_t>(lo | hi << 8);
}

std::uint32_t ByteReader::U32() {
    const std::uint32_t lo = U16();
    const std::uint32_t hi = U16();
    return lo | hi << 16;
}

void ByteReader::Skip(std::size_t count) {
    Take(count);
}

void ByteReader::Seek(std::size_t at) {
    if (at > m_data.size()) {
        m_failed = true;
        at = m_data.size();
    }
    m_at = at;
}

std::span<const std::uint8_t> ByteReader::Take(std::size_t count) {
    if (count > Remaining()) {
        m_failed = true;
        m_at = m_data.size();
        return {};
    }
    const auto part = m_data.subspan(m_at, count);
    m_at += count;
    return part;
}
