#include "resources/Blowfish.h"
#include "resources/CADVException.h"

#include <gtest/gtest.h>

// The low-level interface works on host-order words, which is exactly the
// block view of this engine's format; it is deprecated but still shipped.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/blowfish.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Bytes(std::uint64_t bigEndian) {
    std::string key(8, '\0');
    for (int i = 0; i < 8; ++i) {
        key[i] = static_cast<char>(bigEndian >> (56 - 8 * i));
    }
    return key;
}

// The published vectors are written big-endian; the format stores each half
// little-endian, so the same block appears with each 4-byte half reversed.
std::vector<std::uint8_t> LittleEndianHalves(std::uint64_t block) {
    std::vector<std::uint8_t> bytes(8);
    const std::uint32_t halves[2] = {static_cast<std::uint32_t>(block >> 32),
                                     static_cast<std::uint32_t>(block)};
    for (int h = 0; h < 2; ++h) {
        for (int b = 0; b < 4; ++b) {
            bytes[4 * h + b] = static_cast<std::uint8_t>(halves[h] >> (8 * b));
        }
    }
    return bytes;
}

struct Vector {
    std::uint64_t key, plain, cipher;
};

// From the standard set of Blowfish test vectors.
const Vector kVectors[] = {
    {0x0000000000000000, 0x0000000000000000, 0x4EF997456198DD78},
    {0xFFFFFFFFFFFFFFFF, 0xFFFFFFFFFFFFFFFF, 0x51866FD5B85ECB8A},
    {0x3000000000000000, 0x1000000000000001, 0x7D856F9A613063F2},
    {0x1111111111111111, 0x1111111111111111, 0x2466DD878B963C9D},
    {0x0123456789ABCDEF, 0x1111111111111111, 0x61F9C3802281B096},
    {0xFEDCBA9876543210, 0x0123456789ABCDEF, 0x0ACEAB0FC6A0A28D},
};

TEST(Blowfish, PublishedVectorsInTheFormatsByteOrder) {
    for (const Vector& v : kVectors) {
        Blowfish cipher;
        cipher.SetKey(Bytes(v.key));
        std::vector<std::uint8_t> block = LittleEndianHalves(v.plain);
        cipher.Encrypt(block.data(), block.size());
        EXPECT_EQ(block, LittleEndianHalves(v.cipher)) << std::hex << v.key;
        cipher.Decrypt(block.data(), block.size());
        EXPECT_EQ(block, LittleEndianHalves(v.plain)) << std::hex << v.key;
    }
}

TEST(Blowfish, MatchesOpenSslOnRandomKeysAndData) {
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        // Lengths past 56 and past 72 check the cyclic use and the 72-byte limit.
        std::string key(1 + random() % 90, '\0');
        for (char& c : key) {
            c = static_cast<char>(1 + random() % 255);
        }
        std::vector<std::uint8_t> data(8 * (1 + random() % 16));
        for (auto& b : data) {
            b = static_cast<std::uint8_t>(random());
        }

        Blowfish cipher;
        cipher.SetKey(key);
        BF_KEY oracle;
        BF_set_key(&oracle, static_cast<int>(std::min<std::size_t>(key.size(), 72)),
                   reinterpret_cast<const unsigned char*>(key.data()));

        std::vector<std::uint8_t> ours = data;
        cipher.Encrypt(ours.data(), ours.size());
        for (std::size_t i = 0; i < data.size(); i += 8) {
            BF_LONG words[2];
            std::uint32_t expected[2];
            for (int h = 0; h < 2; ++h) {
                words[h] = static_cast<BF_LONG>(data[i + 4 * h]) |
                           static_cast<BF_LONG>(data[i + 4 * h + 1]) << 8 |
                           static_cast<BF_LONG>(data[i + 4 * h + 2]) << 16 |
                           static_cast<BF_LONG>(data[i + 4 * h + 3]) << 24;
            }
            BF_encrypt(words, &oracle);
            for (int h = 0; h < 2; ++h) {
                expected[h] = static_cast<std::uint32_t>(ours[i + 4 * h]) | ours[i + 4 * h + 1] << 8 |
                              ours[i + 4 * h + 2] << 16 |
                              static_cast<std::uint32_t>(ours[i + 4 * h + 3]) << 24;
            }
            ASSERT_EQ(expected[0], static_cast<std::uint32_t>(words[0])) << "round " << round;
            ASSERT_EQ(expected[1], static_cast<std::uint32_t>(words[1])) << "round " << round;
        }
        cipher.Decrypt(ours.data(), ours.size());
        ASSERT_EQ(ours, data);
    }
}

TEST(Blowfish, KeysLongerThan72BytesUseOnlyTheirFirst72) {
    std::string key(100, 'k');
    for (std::size_t i = 0; i < key.size(); ++i) {
        key[i] = static_cast<char>('A' + i % 26);
    }
    Blowfish full;
    full.SetKey(key);
    Blowfish cut;
    cut.SetKey(key.substr(0, 72));
    std::uint32_t a[2] = {1, 2}, b[2] = {1, 2};
    full.EncryptBlock(a[0], a[1]);
    cut.EncryptBlock(b[0], b[1]);
    EXPECT_EQ(a[0], b[0]);
    EXPECT_EQ(a[1], b[1]);
}

TEST(Blowfish, EmptyKeyLeavesTheUnkeyedTables) {
    Blowfish keyed;
    keyed.SetKey("some key");
    keyed.SetKey("");
    Blowfish fresh;
    std::uint32_t a[2] = {0x01234567, 0x89ABCDEF}, b[2] = {0x01234567, 0x89ABCDEF};
    keyed.EncryptBlock(a[0], a[1]);
    fresh.EncryptBlock(b[0], b[1]);
    EXPECT_EQ(a[0], b[0]);
    EXPECT_EQ(a[1], b[1]);

    // The unkeyed state is OpenSSL's schedule minus the key XOR: a key of all
    // zero bytes XORs nothing into P, but still re-runs the schedule, so it differs.
    Blowfish zeros;
    zeros.SetKey(std::string(8, '\0'));
    std::uint32_t c[2] = {0x01234567, 0x89ABCDEF};
    zeros.EncryptBlock(c[0], c[1]);
    EXPECT_FALSE(c[0] == a[0] && c[1] == a[1]);
}

TEST(Blowfish, LengthsThatAreNotWholeBlocksAreRefusedByBothDirections) {
    Blowfish cipher;
    std::vector<std::uint8_t> data(12, 7);
    for (std::size_t bytes : {1u, 7u, 12u}) {
        for (bool encrypt : {true, false}) {
            try {
                encrypt ? cipher.Encrypt(data.data(), bytes) : cipher.Decrypt(data.data(), bytes);
                FAIL() << bytes;
            } catch (const CADVException& e) {
                EXPECT_STREQ(e.GetText(), "Exception:\nBlowfish::Encrypt - N_Bytes % 8 != 0");
            }
        }
    }
    EXPECT_EQ(data, std::vector<std::uint8_t>(12, 7)); // nothing touched before the refusal
    cipher.Encrypt(data.data(), 0);                    // zero blocks is a whole number
}

} // namespace
