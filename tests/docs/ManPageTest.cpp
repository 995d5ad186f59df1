// The manual page against the program: every option `morvane --help` prints
// has its entry in the page, with the same argument, and the page describes
// no option the program lacks, so neither can fall behind the other.
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

// "--data DIR" for each line of the help text that introduces an option.
std::set<std::string> HelpOptions(const std::string& help) {
    static const std::regex option(R"(^  (--[a-z-]+(?: [A-Z]+)?))");
    std::set<std::string> options;
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        if (std::smatch m; std::regex_search(line, m, option)) {
            options.insert(m[1]);
        }
    }
    return options;
}

// The line under each .TP of the OPTIONS section as it reads on the page:
// ".BI \-\-data " DIR"" becomes "--data DIR".
std::set<std::string> ManPageOptions(const std::string& page) {
    std::set<std::string> options;
    std::istringstream lines(page);
    bool inOptions = false;
    bool afterTag = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(".SH", 0) == 0) {
            inOptions = line == ".SH OPTIONS";
            continue;
        }
        if (inOptions && afterTag) {
            std::string shown = std::regex_replace(line, std::regex(R"(^\.B[IR]? )"), "");
            shown = std::regex_replace(shown, std::regex(R"(\\-)"), "-");
            shown = std::regex_replace(shown, std::regex(R"(")"), "");
            options.insert(std::regex_replace(shown, std::regex(" +"), " "));
        }
        afterTag = inOptions && line == ".TP";
    }
    return options;
}

std::string Listed(const std::set<std::string>& options) {
    std::string text;
    for (const auto& option : options) {
        text += "\n  " + option;
    }
    return text;
}

} // namespace

TEST(ManPage, ListsExactlyTheOptionsOfTheHelpText) {
    const auto help = RunProgram(BuiltProgram("morvane"), {"--help"});
    ASSERT_EQ(help.exitStatus, 0) << help.err;
    const auto printed = HelpOptions(help.out);
    ASSERT_TRUE(printed.count("--data DIR") && printed.count("--help")) << "help text not understood:\n"
                                                                        << help.out;

    const auto documented = ManPageOptions(ReadFile(MORVANE_SOURCE_DIR "/docs/morvane.6"));
    std::set<std::string> missing;
    std::set<std::string> extra;
    std::set_difference(printed.begin(), printed.end(), documented.begin(), documented.end(),
                        std::inserter(missing, missing.end()));
    std::set_difference(documented.begin(), documented.end(), printed.begin(), printed.end(),
                        std::inserter(extra, extra.end()));
    EXPECT_TRUE(missing.empty()) << "docs/morvane.6 lacks:" << Listed(missing);
    EXPECT_TRUE(extra.empty()) << "docs/morvane.6 describes options the program lacks:" << Listed(extra);
}
