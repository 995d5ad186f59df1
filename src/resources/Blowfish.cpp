#include "resources/Blowfish.h"

#include "resources/BlowfishTables.h"
#include "resources/CADVException.h"

#include <algorithm>
#include <type_traits>

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

template <std::size_t N, bool Decrypting>
void Blowfish::Rounds(std::uint32_t (&left)[N], std::uint32_t (&right)[N]) const {
    // Decryption is encryption with the subkeys in reverse order.
    const auto subkey = [this](std::size_t k) { return m_p[Decrypting ? 17 - k : k]; };
    // Fully unrolled, the blocks' halves stay in registers.
#pragma GCC unroll 8
    for (std::size_t k = 0; k < 16; k += 2) {
        // Each line runs over N independent blocks: one block's rounds are a
        // chain of dependent table look-ups, several side by side keep the
        // processor busy while each waits.
#pragma GCC unroll 4
        for (std::size_t n = 0; n < N; ++n) {
            left[n] ^= subkey(k);
            right[n] ^= F(left[n]);
        }
#pragma GCC unroll 4
        for (std::size_t n = 0; n < N; ++n) {
            right[n] ^= subkey(k + 1);
            left[n] ^= F(right[n]);
        }
    }
    for (std::size_t n = 0; n < N; ++n) {
        const std::uint32_t l = left[n];
        left[n] = right[n] ^ subkey(17);
        right[n] = l ^ subkey(16);
    }
}

template <bool Decrypting> void Blowfish::Blocks(void* data, std::size_t bytes) const {
    CheckLength(bytes);
    constexpr std::size_t kGroup = 4;
    auto* p = static_cast<std::uint8_t*>(data);
    std::size_t i = 0;
    const auto run = [&]<std::size_t N>(std::integral_constant<std::size_t, N>) {
        std::uint32_t left[N], right[N];
        for (std::size_t n = 0; n < N; ++n) {
            left[n] = LoadLittle(p + i + 8 * n);
            right[n] = LoadLittle(p + i + 8 * n + 4);
        }
        Rounds<N, Decrypting>(left, right);
        for (std::size_t n = 0; n < N; ++n) {
            StoreLittle(p + i + 8 * n, left[n]);
            StoreLittle(p + i + 8 * n + 4, right[n]);
        }
        i += 8 * N;
    };
    while (bytes - i >= 8 * kGroup) {
        run(std::integral_constant<std::size_t, kGroup>{});
    }
    while (i < bytes) {
        run(std::integral_constant<std::size_t, 1>{});
    }
}

void Blowfish::EncryptBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l[1] = {left}, r[1] = {right};
    Rounds<1, false>(l, r);
    left = l[0];
    right = r[0];
}

void Blowfish::DecryptBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l[1] = {left}, r[1] = {right};
    Rounds<1, true>(l, r);
    left = l[0];
    right = r[0];
}

void Blowfish::Encrypt(void* data, std::size_t bytes) const {
    Blocks<false>(data, bytes);
}

void Blowfish::Decrypt(void* data, std::size_t bytes) const {
    Blocks<true>(data, bytes);
}
