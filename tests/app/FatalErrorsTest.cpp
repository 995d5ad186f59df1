#include "app/FatalErrors.h"

#include "navigation/EPathFinder.h"
#include "parser/EInterfaceBackend.h"
#include "resources/CADVException.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>

TEST(FatalErrors, EveryErrorThatReachesTheTopIsToldAndEndsWithStatusOne) {
    struct Case {
        const char* name;
        std::function<int()> run;
        const char* told;
    };
    const Case cases[] = {
        {"the engine's own", [] () -> int { throw CADVException("CGame::DoFrame - broken"); },
         "Exception:\nCGame::DoFrame - broken"},
        {"out of memory", [] () -> int { throw std::bad_alloc(); }, "Exception:\nOut of memory."},
        {"a file system error",
         [] () -> int {
             throw std::filesystem::filesystem_error("cannot open", std::filesystem::path("/x/y"),
                                                     std::make_error_code(std::errc::permission_denied));
         },
         "Exception:\nfilesystem error: cannot open"},
        {"a path finder error", [] () -> int { throw EPFRangeError(); }, "Exception:\nRange error"},
        {"anything else", [] () -> int { throw 42; }, "Exception:\nAn unknown error ended the game."},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        const int status = RunReportingFatalErrors(c.run, false);
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, 1) << c.name;
        EXPECT_NE(told.find(c.told), std::string::npos) << c.name << ": " << told;
    }
    EXPECT_EQ(RunReportingFatalErrors([] { return 7; }, false), 7) << "a run that ends by itself keeps its status";
}
