#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(Program, CommandLineAnswers) {
    const auto morvane = BuiltProgram("morvane");
    const auto version = RunProgram(morvane, {"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out.rfind("morvane ", 0), 0u) << version.out;

    const auto help = RunProgram(morvane, {"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("--fixed-step MS"), std::string::npos);

    const auto bad = RunProgram(morvane, {"--frames", "many"});
    EXPECT_EQ(bad.exitStatus, 2);
    EXPECT_NE(bad.err.find("'--frames'"), std::string::npos) << bad.err;
}
