#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The Blowfish cipher in electronic code book mode. Each 8-byte block is two
// 32-bit words stored little-endian, left half first: that byte order is part
// of the archive and savegame formats, so it differs from the usual test vectors.
class Blowfish {
public:
    Blowfish() { Reset(); }

    // Restores the published initial tables (the unkeyed state).
    void Reset();
    // Reset, then the key schedule. An empty key leaves the unkeyed state; keys
    // longer than 72 bytes only use their first 72.
    void SetKey(std::string_view key);
    // Zero-terminated form, as the formats store keys.
    void SetKey(const char* key) { SetKey(std::string_view(key)); }

    // In place, block by block. The byte count must be a multiple of 8.
    void Encrypt(void* data, std::size_t bytes) const;
    void Decrypt(void* data, std::size_t bytes) const;

    void EncryptBlock(std::uint32_t& left, std::uint32_t& right) const;
    void DecryptBlock(std::uint32_t& left, std::uint32_t& right) const;

private:
    template <std::size_t N, bool Decrypting>
    void Rounds(std::uint32_t (&left)[N], std::uint32_t (&right)[N]) const;
    template <bool Decrypting> void Blocks(void* data, std::size_t bytes) const;

    std::uint32_t F(std::uint32_t x) const {
        return ((m_s[0][x >> 24] + m_s[1][(x >> 16) & 0xFF]) ^ m_s[2][(x >> 8) & 0xFF]) + m_s[3][x & 0xFF];
    }

    std::array<std::uint32_t, 18> m_p;
    std::array<std::array<std::uint32_t, 256>, 4> m_s;
};
