#include "resources/CADVException.h"
#include "resources/CLogger.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(CADVException, TextLayouts) {
    EXPECT_STREQ(CADVException("%s", "").GetText(), "Exception:\n");
    EXPECT_STREQ(CADVException("CFoo::Bar - %s %d", "count", 3).GetText(), "Exception:\nCFoo::Bar - count 3");
    EXPECT_STREQ(CADVException(E_FAIL, "CFoo::Bar - %s", "it failed").GetText(),
                 "Exception:\nHRESULT: 80004005\nError code: E_FAIL\nDescription: Unspecified error.\n"
                 "CFoo::Bar - it failed");
    // A code no table knows still gives the four-line header.
    EXPECT_STREQ(CADVException(static_cast<HRESULT>(0x8ABC0001), "x").GetText(),
                 "Exception:\nHRESULT: 8ABC0001\nError code: Unknown\nDescription: n/a\nx");
}

TEST(CADVException, ReasonIsTheTextAfterTheExceptionLine) {
    EXPECT_STREQ(CADVException("%s", "").Reason(), "");
    EXPECT_STREQ(CADVException("CFoo::Bar - %s", "it failed").Reason(), "CFoo::Bar - it failed");
    EXPECT_STREQ(CADVException(E_FAIL, "x").Reason(),
                 "HRESULT: 80004005\nError code: E_FAIL\nDescription: Unspecified error.\nx");
}

TEST(CADVException, CopiesKeepTheirOwnText) {
    const CADVException original("CFoo::Bar - %s", "first");
    CADVException copy = original;
    EXPECT_STREQ(copy.GetText(), original.GetText());
    EXPECT_NE(copy.GetText(), original.GetText());
    EXPECT_STREQ(copy.what(), copy.GetText());
}

TEST(CLogger, EmptyNameTouchesNothingANameStartsTheFileEmpty) {
    TempDir dir;
    const auto log = dir / "run.log";
    WriteFile(log, "old content");
    {
        const CLogger logger(log.c_str(), 0, 0);
        EXPECT_STREQ(logger.GetFilename(), log.c_str());
    }
    EXPECT_TRUE(std::filesystem::exists(log));
    EXPECT_EQ(ReadFile(log), "");

    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    {
        const CLogger silent("", 0, 0);
        EXPECT_STREQ(silent.GetFilename(), "");
    }
    std::filesystem::current_path(before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

} // namespace
