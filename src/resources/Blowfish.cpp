#include "resources/Blowfish.h"

#include "resources/BlowfishTables.h"
#include "resources/CADVException.h"

#include <algorithm>

namespace {

constexpr std::size_t kMaxKeyBytes = 72;

std::uint32_t LoadLittle(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void StoreLittle(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

void CheckLength(std::size_t bytes) {
    // Decryption reports the same text: callers only ever see one message for a bad length.
    if (bytes % 8 != 0) {
        throw CADVException("Blowfish::Encrypt - N_Bytes %% 8 != 0");
    }
}

// Runs one block operation over every 8-byte block of the buffer.
template <typename BlockOp> void ForEachBlock(void* data, std::size_t bytes, BlockOp op) {
    CheckLength(bytes);
    auto* p = static_cast<std::uint8_t*>(data);
    for (std::size_t i = 0; i < bytes; i += 8) {
        std::uint32_t left = LoadLittle(p + i);
        std::uint32_t right = LoadLittle(p + i + 4);
        op(left, right);
        StoreLittle(p + i, left);
        StoreLittle(p + i + 4, right);
    }
}

} // namespace

void Blowfish::Reset() {
    m_p = kBlowfishInitialP;
    m_s = kBlowfishInitialS;
}

void Blowfish::SetKey(std::string_view key) {
    Reset();
    if (key.empty()) {
        return;
    }
    const std::size_t length = std::min(key.size(), kMaxKeyBytes);
    std::size_t k = 0;
    for (auto& word : m_p) {
        std::uint32_t data = 0;
        for (int b = 0; b < 4; ++b) {
            data = data << 8 | static_cast<std::uint8_t>(key[k]);
            k = (k + 1) % length;
        }
        word ^= data;
    }
    std::uint32_t left = 0;
    std::uint32_t right = 0;
    for (std::size_t i = 0; i < m_p.size(); i += 2) {
        EncryptBlock(left, right);
        m_p[i] = left;
        m_p[i + 1] = right;
    }
    for (auto& box : m_s) {
        for (std::size_t i = 0; i < box.size(); i += 2) {
            EncryptBlock(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
}

void Blowfish::EncryptBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l = left;
    std::uint32_t r = right;
    for (int i = 0; i < 16; i += 2) {
        l ^= m_p[i];
        r ^= F(l);
        r ^= m_p[i + 1];
        l ^= F(r);
    }
    left = r ^ m_p[17];
    right = l ^ m_p[16];
}

void Blowfish::DecryptBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l = left;
    std::uint32_t r = right;
    for (int i = 17; i > 1; i -= 2) {
        l ^= m_p[i];
        r ^= F(l);
        r ^= m_p[i - 1];
        l ^= F(r);
    }
    left = r ^ m_p[0];
    right = l ^ m_p[1];
}

void Blowfish::Encrypt(void* data, std::size_t bytes) const {
    ForEachBlock(data, bytes, [this](std::uint32_t& l, std::uint32_t& r) { EncryptBlock(l, r); });
}

void Blowfish::Decrypt(void* data, std::size_t bytes) const {
    ForEachBlock(data, bytes, [this](std::uint32_t& l, std::uint32_t& r) { DecryptBlock(l, r); });
}
