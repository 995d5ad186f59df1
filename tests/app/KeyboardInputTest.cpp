#include "app/CGame.h"
#include "app/commands/CCommandFlow.h"
#include "app/input/CKeyboardInput.h"
#include "app/world/CGameWorld.h"

#include "PlayGame.h"
#include "platform/DClock.h"
#include "script/CScriptEngine.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(KeyboardInput, EveryArrowAndShiftSendsItsFreeMoveEvent) {
    struct Case {
        std::uint32_t key;
        bool down;
        bool fast;
        const char* event;
    };
    const Case cases[] = {
        {VK_SHIFT, true, false, "fast_pressed"},      {VK_SHIFT, false, true, "fast_released"},
        {VK_SHIFT, true, true, "fast_pressed"},       {VK_UP, true, false, "up_pressed"},
        {VK_UP, true, true, "fastup_pressed"},        {VK_UP, false, false, "up_released"},
        {VK_UP, false, true, "fastup_released"},      {VK_DOWN, true, false, "down_pressed"},
        {VK_DOWN, false, true, "fastdown_released"},  {VK_LEFT, true, true, "fastleft_pressed"},
        {VK_LEFT, false, false, "left_released"},     {VK_RIGHT, true, false, "right_pressed"},
        {VK_RIGHT, false, true, "fastright_released"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(CKeyboardInput::FreeMoveEvent(c.key, c.down, c.fast), c.event) << c.key << c.down << c.fast;
    }
    for (const std::uint32_t other : {VK_F3, VK_ESCAPE, VK_RETURN, std::uint32_t{'A'}}) {
        EXPECT_EQ(CKeyboardInput::FreeMoveEvent(other, true, false), nullptr) << other;
    }
}

TEST(KeyboardInput, TheCommandLineTakesLettersDigitsPunctuationAndSpacesOfSevenBitAscii) {
    for (const std::uint32_t typable : {'a', 'Z', '0', '9', '!', '~', '"', '\\', ' '}) {
        EXPECT_TRUE(CKeyboardInput::IsTypable(typable)) << typable;
    }
    for (const std::uint32_t refused : {0u, 8u, 9u, 13u, 27u, 0x7Fu, 0xE9u, 0x20ACu}) {
        EXPECT_FALSE(CKeyboardInput::IsTypable(refused)) << refused;
    }
}

namespace {

class TypingTest : public ::testing::Test {
protected:
    void Type(const std::string& text) {
        for (const char c : text) {
            Char(static_cast<unsigned char>(c));
        }
    }
    void Char(std::uint32_t c) { EXPECT_TRUE(m_play.Game().HandleMessage(WM_CHAR, c, 0)); }
    const std::string& Line() { return m_play.Game().Commands().CommandText(); }
    void Run(const std::string& script) { m_play.Game().World().ScriptEngine().Run(script); }

    RunningPlayGame m_play;
};

} // namespace

TEST_F(TypingTest, TheLineHoldsAtMost128CharactersAndBackspaceStillWorks) {
    Type(std::string(130, 'x'));
    EXPECT_EQ(Line(), std::string(128, 'x'));
    Char(CKeyboardInput::kBackspace);
    Type("yz");
    EXPECT_EQ(Line(), std::string(127, 'x') + "y");
    Type(std::string(200, '\b'));
    EXPECT_EQ(Line(), "");
    Char(CKeyboardInput::kBackspace);
    EXPECT_EQ(Line(), "") << "backspace on an empty line";
    Char(0xE9);
    Char('\t');
    EXPECT_EQ(Line(), "") << "neither a non-ASCII letter nor Tab is typed";
}

TEST_F(TypingTest, TypingNeedsInputAndTheFieldAndNoMessageBox) {
    Run("setup.input = false;");
    Type("a");
    Run("setup.input = true; setup.inputfield = false;");
    Type("b");
    Run("setup.inputfield = true; game.messagebox('Hello');");
    m_play.Game().DoFrame();
    Type("c");
    EXPECT_EQ(Line(), "");
    Char(CKeyboardInput::kEnter);
    Type("d");
    EXPECT_EQ(Line(), "d") << "Enter closed the box";
}

TEST_F(TypingTest, EnterExecutesTheTrimmedLineAndF3BringsItBack) {
    Type("  look at box  ");
    Char(CKeyboardInput::kEnter);
    EXPECT_EQ(Line(), "");
    EXPECT_EQ(m_play.Game().Commands().LastCommand(), "look at box");
    EXPECT_TRUE(m_play.Game().HandleMessage(WM_KEYDOWN, VK_F3, 0));
    EXPECT_EQ(Line(), "look at box");
}

TEST_F(TypingTest, AScriptErrorInAKeyHandlerIsToldAndTheGameGoesOn) {
    // A switch that holds no boolean makes the typing rule throw.
    Run("setup.input = 5;");
    testing::internal::CaptureStderr();
    Type("a");
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("CState::GetBool - Key input has no boolean value"), std::string::npos) << told;
    Run("setup.input = true;");
    Type("b");
    EXPECT_EQ(Line(), "b");
}
