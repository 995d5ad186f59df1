#include "resources/CFile.h"
#include "resources/Blowfish.h"
#include "resources/CADVException.h"
#include "resources/FileBytes.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Pattern(std::size_t n, int seed = 0) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 31 + seed);
    }
    return bytes;
}

CFile FileWith(const std::vector<std::uint8_t>& content) {
    CFile file;
    file.Write(content.data(), content.size());
    return file;
}

TEST(CFile, ReadSeekTell) {
    const std::vector<std::uint8_t> content = Pattern(20);
    CFile file = FileWith(content);
    EXPECT_EQ(file.Tell(), 20);
    file.Seek(0, 0);
    std::uint8_t buffer[32] = {};
    EXPECT_EQ(file.Read(buffer, 8), 8u);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + 8), Pattern(8));
    file.Seek(4, 1);
    EXPECT_EQ(file.Tell(), 12);
    EXPECT_EQ(file.Read(buffer, 32), 8u); // only what is left
    EXPECT_EQ(buffer[0], content[12]);
    file.Seek(-3, 2);
    EXPECT_EQ(file.Read(buffer, 32), 3u);
    EXPECT_EQ(buffer[0], content[17]);
    // Positions outside the content read nothing instead of failing.
    for (std::int64_t position : {20, 21, 100000, -1, -100}) {
        file.Seek(position, 0);
        EXPECT_EQ(file.Read(buffer, 4), 0u) << position;
        EXPECT_EQ(file.Tell(), position);
    }
}

TEST(CFile, WriteGrowsInWholeSteps) {
    const struct {
        std::size_t first, second, capacity;
    } cases[] = {
        {1, 0, 8192},        // the first byte allocates one step
        {8191, 0, 8192},     // just below a step
        {8192, 1, 16384},    // a full buffer grows on the next write
        {100, 8092, 16384},  // a second write that reaches it grows too
        {100, 20000, 24576}, // one step plus the excess rounded down to steps
        {0, 40000, 40960},
    };
    for (const auto& c : cases) {
        CFile file;
        const std::vector<std::uint8_t> a = Pattern(c.first, 1), b = Pattern(c.second, 2);
        file.Write(a.data(), a.size());
        file.Write(b.data(), b.size());
        EXPECT_EQ(file.Capacity(), c.capacity) << c.first << "+" << c.second;
        ASSERT_EQ(file.Length(), c.first + c.second);
        std::vector<std::uint8_t> expected = a;
        expected.insert(expected.end(), b.begin(), b.end());
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), file.Data()));
    }
}

TEST(CFile, OverwritingKeepsContentAndExtendsPastTheEnd) {
    CFile file = FileWith(Pattern(10));
    file.Seek(2, 0);
    const std::uint8_t patch[3] = {0xAA, 0xBB, 0xCC};
    file.Write(patch, 3);
    EXPECT_EQ(file.Length(), 10u);
    EXPECT_EQ(file.Tell(), 5);
    EXPECT_EQ(file.Data()[3], 0xBB);
    EXPECT_EQ(file.Data()[9], Pattern(10)[9]);
    // A write that starts inside and ends beyond extends the content to its end.
    file.Seek(8, 0);
    file.Write(patch, 3);
    EXPECT_EQ(file.Length(), 11u);
    file.Seek(-1, 0);
    EXPECT_THROW(file.Write(patch, 1), CADVException);
}

TEST(CFile, EncipheredRoundTripForAnyLength) {
    TempDir dir;
    for (std::size_t n : {1u, 7u, 8u, 9u, 15u, 16u, 17u, 1000u, 8192u, 70001u}) {
        const auto path = dir / ("save" + std::to_string(n));
        const std::vector<std::uint8_t> content = Pattern(n, static_cast<int>(n));
        FileWith(content).SaveEncrypted(path);

        // Length, then (n & ~7) + 8 enciphered bytes; the plaintext is not visible.
        const std::vector<std::uint8_t> raw = *ReadWholeFile(path);
        ASSERT_EQ(raw.size(), 4 + PaddedLength(static_cast<std::uint32_t>(n)));
        EXPECT_EQ(ReadLittle32(raw.data()), n);
        EXPECT_FALSE(
            std::equal(content.begin(), content.begin() + std::min<std::size_t>(n, 8), raw.begin() + 4));

        CFile loaded;
        loaded.LoadEncrypted(path);
        ASSERT_EQ(loaded.Length(), n);
        EXPECT_EQ(loaded.Capacity(), PaddedLength(static_cast<std::uint32_t>(n)));
        EXPECT_EQ(loaded.Tell(), 0);
        EXPECT_TRUE(std::equal(content.begin(), content.end(), loaded.Data()));
        // The padding deciphers to the zeros that were enciphered.
        for (std::size_t i = n; i < loaded.Capacity(); ++i) {
            EXPECT_EQ(loaded.Data()[i], 0);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "save1.tmp"));
}

TEST(CFile, SavingNothingWritesNothing) {
    TempDir dir;
    CFile().SaveEncrypted(dir / "empty");
    EXPECT_FALSE(std::filesystem::exists(dir / "empty"));
}

TEST(CFile, EncipheredFileUsesTheFileKeyOfTheKeySet) {
    TempDir dir;
    CKeySet keys = CKeySet::BuiltIn();
    keys.file[0] ^= 0x55;
    FileWith(Pattern(40)).SaveEncrypted(dir / "s", keys);
    CFile withKeys;
    withKeys.LoadEncrypted(dir / "s", keys);
    EXPECT_TRUE(std::equal(withKeys.Data(), withKeys.Data() + 40, Pattern(40).begin()));
    CFile withBuiltIn;
    withBuiltIn.LoadEncrypted(dir / "s");
    EXPECT_FALSE(std::equal(withBuiltIn.Data(), withBuiltIn.Data() + 40, Pattern(40).begin()));
}

TEST(CFile, AFailedSaveLeavesThePreviousFileIntact) {
    TempDir dir;
    const auto path = dir / "slot";
    FileWith(Pattern(30, 1)).SaveEncrypted(path);
    const std::string before = ReadFile(path);

    // The temporary file cannot be created: a folder stands in its place.
    std::filesystem::create_directory(dir / "slot.tmp");
    try {
        FileWith(Pattern(50, 2)).SaveEncrypted(path);
        FAIL();
    } catch (const CADVException& e) {
        EXPECT_EQ(e.GetText(), "Exception:\nCould not write " + path.string() + " (Is a directory).");
    }
    EXPECT_EQ(ReadFile(path), before);

    // Nor does a save into a missing folder leave anything behind.
    EXPECT_THROW(FileWith(Pattern(5)).SaveEncrypted(dir / "missing" / "slot"), CADVException);
}

TEST(CFile, DamagedEncipheredFilesAreRefused) {
    TempDir dir;
    const std::string missing = (dir / "nothing").string();
    const struct {
        std::string content; // written to the file; empty name = no file
        const char* message;
    } cases[] = {
        {"", "CFile::LoadEncrypted - %s is too short to hold a length"},
        {std::string("\x03\x00\x00", 3), "CFile::LoadEncrypted - %s is too short to hold a length"},
        {std::string("\x10\x00\x00\x00", 4) + std::string(16, 'x'),
         "CFile::LoadEncrypted - %s holds 16 enciphered bytes, its length 16 needs 24"},
        {std::string("\xFF\xFF\xFF\xFF", 4) + std::string(8, 'x'),
         "CFile::LoadEncrypted - %s holds 8 enciphered bytes, its length 4294967295 needs 4294967296"},
    };
    for (const auto& c : cases) {
        const auto path = dir / "bad";
        WriteFile(path, c.content);
        CFile file = FileWith(Pattern(3));
        try {
            file.LoadEncrypted(path);
            ADD_FAILURE() << c.message;
        } catch (const CADVException& e) {
            char expected[512];
            std::snprintf(expected, sizeof expected, c.message, path.c_str());
            EXPECT_EQ(e.GetText(), "Exception:\n" + std::string(expected));
        }
    }
    CFile file;
    try {
        file.LoadEncrypted(missing);
        FAIL();
    } catch (const CADVException& e) {
        EXPECT_STREQ(e.GetText(), "Exception:\nCFile::LoadEncrypted - File not found.");
    }
}

} // namespace
