#pragma once

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// A savegame's bytes spelled out field by field, to compare files with.
class SavegameBytes {
public:
    SavegameBytes& U32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            m_bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        }
        return *this;
    }
    SavegameBytes& Float(float value) { return U32(std::bit_cast<std::uint32_t>(value)); }
    SavegameBytes& Raw(std::initializer_list<std::uint8_t> bytes) {
        m_bytes.insert(m_bytes.end(), bytes);
        return *this;
    }
    SavegameBytes& Text(const std::string& text) {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    SavegameBytes& Append(const std::vector<std::uint8_t>& bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // The header tag and a description field holding `text` (at most 255 characters).
    SavegameBytes& Header(std::uint32_t tag, const std::string& text) {
        U32(tag).Text(text);
        m_bytes.insert(m_bytes.end(), 256 - text.size(), 0);
        return *this;
    }

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};
