#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Little-endian reads from a file held in memory. A read past the end yields
// zero and marks the reader failed, so a decoder can read a whole header and
// check once.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data, std::size_t at = 0) : m_data(data), m_at(at) {}

    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    void Skip(std::size_t count);
    void Seek(std::size_t at);

    bool Ok() const { return !m_failed; }
    std::size_t Position() const { return m_at; }
    std::size_t Remaining() const { return m_at < m_data.size() ? m_data.size() - m_at : 0; }
    // The next `count` bytes, or an empty span (and failure) when there are fewer.
    std::span<const std::uint8_t> Take(std::size_t count);

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_at;
    bool m_failed = false;
};
