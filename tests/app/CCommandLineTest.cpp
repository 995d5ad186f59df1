#include "app/CCommandLine.h"

#include <gtest/gtest.h>

TEST(CCommandLine, AcceptsEveryOption) {
    const auto parsed =
        CCommandLine::Parse({"--data", "/games/x", "--config", "c.toml", "--headless", "--frames", "12",
                             "--fixed-step", "16", "--keys", "k.txt", "--capture-audio", "a.wav",
                             "--dump-state", "s.json", "--screenshot", "shot.png", "--input", "play.txt",
                             "--saves", "/tmp/saves"});
    ASSERT_EQ(parsed.action, CCommandLine::Action::Run);
    EXPECT_EQ(parsed.options.dataFolder, "/games/x");
    EXPECT_EQ(parsed.options.settingsFile, "c.toml");
    EXPECT_TRUE(parsed.options.headless);
    EXPECT_EQ(parsed.options.frames, 12);
    EXPECT_EQ(parsed.options.fixedStep, 16);
    EXPECT_EQ(parsed.options.keyFile, "k.txt");
    EXPECT_EQ(parsed.options.captureAudio, "a.wav");
    EXPECT_EQ(parsed.options.dumpState, "s.json");
    EXPECT_EQ(parsed.options.screenshot, "shot.png");
    EXPECT_EQ(parsed.options.input, "play.txt");
    EXPECT_EQ(parsed.options.savesFolder, "/tmp/saves");
    EXPECT_TRUE(parsed.options.record.empty());
    EXPECT_EQ(CCommandLine::Parse({"--record", "r.txt"}).options.record, "r.txt");

    const auto none = CCommandLine::Parse({});
    EXPECT_EQ(none.action, CCommandLine::Action::Run);
    EXPECT_FALSE(none.options.headless);
    EXPECT_FALSE(none.options.frames);
    EXPECT_FALSE(none.options.fixedStep);
    EXPECT_TRUE(none.options.dataFolder.empty());
    EXPECT_TRUE(none.options.input.empty());
}

TEST(CCommandLine, HelpAndVersionExitCleanly) {
    for (const char* arg : {"--help", "--version"}) {
        const auto parsed = CCommandLine::Parse({"--headless", arg, "--bogus"});
        EXPECT_EQ(parsed.action, CCommandLine::Action::Exit) << arg;
        EXPECT_EQ(parsed.exitStatus, 0) << arg;
        EXPECT_NE(parsed.message.find("morvane"), std::string::npos) << arg;
    }
    for (const char* option : {"--input FILE", "--record FILE", "--saves DIR"}) {
        EXPECT_NE(CCommandLine::Usage().find(option), std::string::npos) << option;
    }
}

TEST(CCommandLine, MistakesExitWithStatusTwoAndSayWhy) {
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const std::vector<Case> cases = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"data"}, "unknown option 'data'"},
        {{"--data"}, "option '--data' needs a value"},
        {{"--frames"}, "option '--frames' needs a value"},
        {{"--frames", "0"}, "not '0'"},
        {{"--frames", "-3"}, "not '-3'"},
        {{"--frames", "3x"}, "not '3x'"},
        {{"--fixed-step", ""}, "not ''"},
        {{"--capture-audio", "a.wav"}, "'--capture-audio' needs '--headless'"},
        {{"--keys"}, "option '--keys' needs a value"},
        {{"--fixed-step", "99999999999999999999"}, "not '99999999999999999999'"},
        {{"--input"}, "option '--input' needs a value"},
        {{"--record"}, "option '--record' needs a value"},
    };
    for (const auto& c : cases) {
        const auto parsed = CCommandLine::Parse(c.args);
        EXPECT_EQ(parsed.action, CCommandLine::Action::Exit) << c.says;
        EXPECT_EQ(parsed.exitStatus, 2) << c.says;
        EXPECT_NE(parsed.message.find(c.says), std::string::npos) << parsed.message;
    }
}
