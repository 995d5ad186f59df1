// Which receiver gets which event with which windows open: the whole routing
// of keys, characters and mouse buttons, on a running game.
#include "app/CGame.h"
#include "app/CGameScreens.h"
#include "app/commands/CCommandFlow.h"
#include "app/commands/CMessageBoxFlow.h"
#include "app/input/CInputRouter.h"
#include "app/input/CKeyboardInput.h"
#include "app/menu/CGameMenu.h"
#include "app/screens/CContextWindowScreen.h"

#include "PlayGame.h"
#include "platform/DMessage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Kind = CInputEvent::Kind;

enum class Open { Nothing, Menu, MenuPanel, MessageBox, MessageBoxOverMenu, ContextWindow };

const char* Name(Open open) {
    switch (open) {
    case Open::Nothing: return "nothing";
    case Open::Menu: return "the menu";
    case Open::MenuPanel: return "a menu panel";
    case Open::MessageBox: return "a message box";
    case Open::MessageBoxOverMenu: return "a message box over the menu";
    case Open::ContextWindow: return "the context window";
    }
    return "";
}

class InputRouterTest : public ::testing::Test {
protected:
    void MakeOpen(Open open) {
        CGame& game = m_play.Game();
        CGameMenu& menu = game.Menu();
        if (open == Open::Menu || open == Open::MenuPanel || open == Open::MessageBoxOverMenu) {
            menu.Open();
        }
        if (open == Open::MenuPanel) {
            menu.Shortcut('l');
        }
        if (open == Open::MessageBox || open == Open::MessageBoxOverMenu) {
            game.MessageBoxes().Push({"Game saved.", {}, {}});
            game.MessageBoxes().ShowNext();
        }
        if (open == Open::ContextWindow) {
            game.Commands().ShowContextWindow("", nullptr);
            game.Commands().PlaceContextWindow(kContextX, kContextY);
        }
    }
    CInputStack::Outcome Dispatch(const CInputEvent& event) { return m_play.Game().Input().Dispatch(event); }

    // Where the context window opens; a press a little inside it hits it.
    static constexpr int kContextX = 300;
    static constexpr int kContextY = 300;

    RunningPlayGame m_play;
};

} // namespace

TEST_F(InputRouterTest, EachEventGoesToTheTopmostReceiverThatTakesIt) {
    const int inside = kContextX + 10;
    struct Case {
        Open open;
        CInputEvent event;
        const char* receiver;
    };
    const Case cases[] = {
        {Open::Nothing, {Kind::KeyDown, VK_UP}, "scene"},
        {Open::Nothing, {Kind::KeyDown, VK_ESCAPE}, "scene"},
        {Open::Nothing, {Kind::KeyDown, VK_F3}, "command line"},
        {Open::Nothing, {Kind::Character, 'a'}, "command line"},
        {Open::Nothing, {Kind::Character, CKeyboardInput::kEnter}, "command line"},
        {Open::Nothing, {Kind::Character, CKeyboardInput::kTab}, "inventory"},
        {Open::Nothing, {Kind::LeftPress, 0, 500, 300}, "scene"},
        {Open::Nothing, {Kind::RightPress, 0, 500, 300}, "scene"},
        {Open::Nothing, {Kind::KeyDown, 'Q'}, nullptr},
        {Open::Menu, {Kind::KeyDown, VK_UP}, "menu"},
        {Open::Menu, {Kind::KeyUp, VK_UP}, "scene"},
        {Open::Menu, {Kind::KeyDown, VK_ESCAPE}, "menu"},
        {Open::Menu, {Kind::Character, 'a'}, "menu"},
        {Open::Menu, {Kind::Character, CKeyboardInput::kTab}, "menu"},
        {Open::Menu, {Kind::LeftPress, 0, 500, 300}, "menu"},
        {Open::Menu, {Kind::RightPress, 0, 500, 300}, "menu"},
        {Open::MenuPanel, {Kind::KeyDown, VK_ESCAPE}, "menu panel"},
        {Open::MenuPanel, {Kind::Character, 'n'}, "menu"},
        {Open::MessageBox, {Kind::Character, CKeyboardInput::kEnter}, "message box"},
        {Open::MessageBox, {Kind::Character, 'a'}, "message box"},
        {Open::MessageBox, {Kind::Character, CKeyboardInput::kTab}, "inventory"},
        {Open::MessageBox, {Kind::KeyDown, VK_F3}, "message box"},
        {Open::MessageBox, {Kind::KeyDown, VK_UP}, "scene"},
        {Open::MessageBox, {Kind::KeyDown, VK_ESCAPE}, "scene"},
        {Open::MessageBox, {Kind::LeftPress, 0, 500, 300}, "message box"},
        {Open::MessageBoxOverMenu, {Kind::Character, CKeyboardInput::kEnter}, "message box"},
        {Open::MessageBoxOverMenu, {Kind::KeyDown, VK_ESCAPE}, "menu"},
        {Open::ContextWindow, {Kind::LeftPress, 0, inside, kContextY + 10}, "context window"},
        {Open::ContextWindow, {Kind::RightRelease, 0, inside, kContextY + 10}, "context window"},
        {Open::ContextWindow, {Kind::KeyDown, VK_ESCAPE}, "scene"},
        {Open::ContextWindow, {Kind::Character, 'a'}, "command line"},
    };
    for (const Case& c : cases) {
        m_play.Restart();
        MakeOpen(c.open);
        const CInputStack::Outcome outcome = Dispatch(c.event);
        const std::string expected = c.receiver != nullptr ? c.receiver : "none";
        const std::string got = outcome.receiver != nullptr ? outcome.receiver : "none";
        EXPECT_EQ(got, expected) << "with " << Name(c.open) << " open, event kind "
                                 << static_cast<int>(c.event.kind) << " code " << c.event.code;
    }
}

// A press that closes a window is the whole click: its release reaches nothing.
TEST_F(InputRouterTest, APressThatClosesAWindowTakesItsReleaseAlong) {
    MakeOpen(Open::MessageBox);
    EXPECT_EQ(Dispatch({Kind::LeftPress, 0, 500, 300}).taken, EInputTaken::TakenWithRelease);
    EXPECT_FALSE(m_play.Game().Screens().MessageBox().Visible());
    MakeOpen(Open::ContextWindow);
    const CInputStack::Outcome outside = Dispatch({Kind::LeftPress, 0, 5, 5});
    EXPECT_FALSE(m_play.Game().Screens().ContextWindow().Visible()) << "a press outside closes it too";
    EXPECT_STREQ(outside.receiver, "scene") << "and goes on into the scene";
    EXPECT_EQ(outside.taken, EInputTaken::Taken);
}

// Escape over the context window opens the menu with the verbs gone, and a
// new game (a load, a restart) starts with nothing of the old world's windows.
TEST_F(InputRouterTest, TheContextWindowGoesWithEscapeAndWithTheOldWorld) {
    CGame& game = m_play.Game();
    MakeOpen(Open::ContextWindow);
    EXPECT_STREQ(Dispatch({Kind::KeyDown, VK_ESCAPE}).receiver, "scene");
    EXPECT_TRUE(game.Menu().Shown());
    EXPECT_FALSE(game.Screens().ContextWindow().Visible());

    game.Menu().Close();
    MakeOpen(Open::ContextWindow);
    game.RestartGame();
    EXPECT_FALSE(game.Screens().ContextWindow().Visible());
}
