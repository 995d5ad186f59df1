#include "resources/CADVException.h"
#include "resources/CKeySet.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Hex(char digit, std::size_t count = 110) {
    return std::string(count, digit);
}

TEST(KeySet, BuiltInKeysAre55NonZeroBytesAndDiffer) {
    const CKeySet& keys = CKeySet::BuiltIn();
    for (const CKey* key : {&keys.directory, &keys.file}) {
        EXPECT_EQ(KeyText(*key).size(), kKeyLength);
        EXPECT_EQ((*key)[kKeyLength], 0);
    }
    EXPECT_NE(keys.directory, keys.file);
}

TEST(KeySet, FormatAndParseRoundTripInEitherLineOrder) {
    const CKeySet& keys = CKeySet::BuiltIn();
    const std::string text = keys.Format();
    const CKeySet parsed = CKeySet::Parse(text, "keys.txt");
    EXPECT_EQ(parsed.directory, keys.directory);
    EXPECT_EQ(parsed.file, keys.file);

    // Swapped lines, upper-case digits, Windows line ends and blank lines.
    const std::string swapped = "\r\nfile=" + Hex('A') + "\r\n\r\ndirectory=" + Hex('1') + "\r\n";
    const CKeySet other = CKeySet::Parse(swapped, "keys.txt");
    EXPECT_EQ(other.file[0], 0xAA);
    EXPECT_EQ(other.directory[54], 0x11);
    EXPECT_EQ(other.directory[55], 0);
}

TEST(KeySet, BadKeyFilesNameTheFileLineAndFault) {
    const std::string good = "directory=" + Hex('1') + "\n";
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {good, "CKeySet::Parse - k.txt: the file key is missing"},
        {"file=" + Hex('2'), "CKeySet::Parse - k.txt: the directory key is missing"},
        {"", "CKeySet::Parse - k.txt: the directory key is missing"},
        {good + "file=" + Hex('2', 108),
         "CKeySet::Parse - k.txt line 2: a key needs 110 hexadecimal digits, found "
         "108 characters"},
        {good + "file=" + Hex('2', 112),
         "CKeySet::Parse - k.txt line 2: a key needs 110 hexadecimal digits, found "
         "112 characters"},
        {good + "file=" + Hex('2', 20) + "g2" + Hex('2', 88), "CKeySet::Parse - k.txt line 2: 'g2' is not a "
                                                              "hexadecimal byte"},
        {good + "file=" + Hex('2', 20) + "00" + Hex('2', 88), "CKeySet::Parse - k.txt line 2: key byte 11 is "
                                                              "zero; key bytes must not be zero"},
        {good + good, "CKeySet::Parse - k.txt line 2: the directory key is given twice"},
        {good + "files=" + Hex('2'), "CKeySet::Parse - k.txt line 2: expected \"directory=\" or \"file=\""},
        {" directory=" + Hex('1'), "CKeySet::Parse - k.txt line 1: expected \"directory=\" or \"file=\""},
        {good + "file " + Hex('2'), "CKeySet::Parse - k.txt line 2: expected \"directory=\" or \"file=\""},
    };
    for (const auto& c : cases) {
        try {
            CKeySet::Parse(c.text, "k.txt");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const CADVException& e) {
            EXPECT_EQ(e.GetText(), "Exception:\n" + std::string(c.message));
        }
    }
}

TEST(KeySet, LoadReadsAFileAndNamesAMissingOne) {
    TempDir dir;
    WriteFile(dir / "keys", "directory=" + Hex('3') + "\nfile=" + Hex('4') + "\n");
    EXPECT_EQ(CKeySet::Load(dir / "keys").file[0], 0x44);
    try {
        CKeySet::Load(dir / "absent");
        FAIL();
    } catch (const CADVException& e) {
        EXPECT_EQ(e.GetText(),
                  "Exception:\nCKeySet::Load - Could not open key file " + (dir / "absent").string());
    }
}

} // namespace
