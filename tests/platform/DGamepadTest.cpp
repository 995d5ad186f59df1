#include "platform/DGamepad.h"
#include "SeenFrame.h"
#include "platform/DVirtualGamepad.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

using Kind = DGamepad::Action::Kind;

struct Message {
    std::uint32_t msg;
    std::uintptr_t wParam;
    bool operator==(const Message&) const = default;
};

std::vector<Message> Messages(const SeenFrame& frame) {
    std::vector<Message> messages;
    for (const DMessage& message : frame.messages) {
        messages.push_back({message.msg, message.wParam});
    }
    return messages;
}

// A headless window with a virtual pad plugged in, its input counting as in a focused window.
class DGamepadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReadFrame(m_window);
        m_window.Mouse().Acquire();
        m_pad.Attach();
        ReadFrame(m_window);
    }

    DWindow m_window{true};
    DVirtualGamepad m_pad{m_window};
};

} // namespace

TEST(DGamepad, ButtonsStandForTheMouseButtonsAndTheGamesKeys) {
    const std::pair<SDL_GameControllerButton, DGamepad::Action> mapped[] = {
        {SDL_CONTROLLER_BUTTON_A, {Kind::MouseButton, SDL_BUTTON_LEFT}},
        {SDL_CONTROLLER_BUTTON_B, {Kind::MouseButton, SDL_BUTTON_RIGHT}},
        {SDL_CONTROLLER_BUTTON_X, {Kind::Key, SDLK_TAB}},
        {SDL_CONTROLLER_BUTTON_START, {Kind::Key, SDLK_ESCAPE}},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, {Kind::Key, SDLK_UP}},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, {Kind::Key, SDLK_DOWN}},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, {Kind::Key, SDLK_LEFT}},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {Kind::Key, SDLK_RIGHT}},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, {Kind::Key, SDLK_LSHIFT}},
    };
    for (const auto& [button, action] : mapped) {
        EXPECT_EQ(DGamepad::ActionFor(button), action) << SDL_GameControllerGetStringForButton(button);
    }
    for (const auto button :
         {SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_GUIDE,
          SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDL_CONTROLLER_BUTTON_LEFTSTICK}) {
        EXPECT_EQ(DGamepad::ActionFor(button).kind, Kind::None)
            << SDL_GameControllerGetStringForButton(button);
    }
}

TEST(DGamepad, AxisValuesAreTiltsFromMinusOneToOne) {
    EXPECT_EQ(DGamepad::Tilt(32767), 1.0f);
    EXPECT_EQ(DGamepad::Tilt(-32768), -1.0f);
    EXPECT_EQ(DGamepad::Tilt(0), 0.0f);
    EXPECT_EQ(DGamepad::AxisValue(-1.0f), -32767);
    EXPECT_EQ(DGamepad::AxisValue(0.5f), 16384);
    EXPECT_EQ(DGamepad::AxisValue(7.0f), 32767);
    EXPECT_EQ(DGamepad::AxisValue(DGamepad::Tilt(-12345)), -12345);
}

// The pad's buttons reach the game exactly as the mouse's and the keyboard's do.
TEST_F(DGamepadTest, ButtonsArriveAsTheMouseButtonsAndKeysDo) {
    struct Case {
        SDL_GameControllerButton button;
        std::vector<Message> down;
        std::vector<Message> up;
        bool left = false;
        bool right = false;
    };
    const Case cases[] = {
        {SDL_CONTROLLER_BUTTON_A, {}, {}, true, false},
        {SDL_CONTROLLER_BUTTON_B, {}, {}, false, true},
        {SDL_CONTROLLER_BUTTON_X, {{WM_KEYDOWN, VK_TAB}, {WM_CHAR, 9}}, {{WM_KEYUP, VK_TAB}}},
        {SDL_CONTROLLER_BUTTON_START, {{WM_KEYDOWN, VK_ESCAPE}, {WM_CHAR, 27}}, {{WM_KEYUP, VK_ESCAPE}}},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, {{WM_KEYDOWN, VK_UP}}, {{WM_KEYUP, VK_UP}}},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {{WM_KEYDOWN, VK_RIGHT}}, {{WM_KEYUP, VK_RIGHT}}},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, {{WM_KEYDOWN, VK_SHIFT}}, {{WM_KEYUP, VK_SHIFT}}},
        {SDL_CONTROLLER_BUTTON_Y, {}, {}},
    };
    for (const Case& c : cases) {
        const char* name = SDL_GameControllerGetStringForButton(c.button);
        m_pad.SetButton(c.button, true);
        const SeenFrame pressed = ReadFrame(m_window);
        EXPECT_EQ(Messages(pressed), c.down) << name;
        EXPECT_EQ(pressed.mouseSignalled, c.left || c.right) << name;
        EXPECT_EQ(pressed.mouse.left, c.left) << name;
        EXPECT_EQ(pressed.mouse.right, c.right) << name;

        m_pad.SetButton(c.button, false);
        const SeenFrame released = ReadFrame(m_window);
        EXPECT_EQ(Messages(released), c.up) << name;
        EXPECT_EQ(released.mouseSignalled, c.left || c.right) << name;
        EXPECT_FALSE(released.mouse.left || released.mouse.right) << name;
    }
}

TEST_F(DGamepadTest, TheLeftStickMovesTheMouseAsTheGameAdvancesIt) {
    m_pad.SetAxis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    m_pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 300);
    EXPECT_FALSE(ReadFrame(m_window, 100).mouseSignalled) << "the right stick and a tilt in the dead zone";

    // Full tilt: 1000 pixels a second, 50 mouse steps in 100 ms.
    m_pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    m_pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    const SeenFrame moved = ReadFrame(m_window, 100);
    ASSERT_TRUE(moved.mouseSignalled);
    EXPECT_EQ(moved.mouse.dx, -50);
    EXPECT_EQ(moved.mouse.dy, 0);

    // Slower settings, read when the game starts.
    m_window.Gamepad().Configure({.enabled = true, .stick = {.speed = 200.0f, .deadZone = 0.5f}}, false);
    m_pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    m_pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 24576);
    const SeenFrame slow = ReadFrame(m_window, 100);
    ASSERT_TRUE(slow.mouseSignalled);
    EXPECT_EQ(slow.mouse.dx, 0);
    EXPECT_EQ(slow.mouse.dy, 2) << "half the way beyond the dead zone: a quarter of 200 pixels a second";
}

// Pulled out, the pad lets go of what it held, so no button or key stays
// down; plugged in again, it plays as before.
TEST_F(DGamepadTest, APadPulledOutLetsGoAndPlaysAgainWhenPluggedIn) {
    m_pad.SetButton(SDL_CONTROLLER_BUTTON_A, true);
    m_pad.SetButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    m_pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    const SeenFrame held = ReadFrame(m_window);
    EXPECT_EQ(Messages(held), (std::vector<Message>{{WM_KEYDOWN, VK_LEFT}}));
    EXPECT_TRUE(held.mouse.left);
    EXPECT_EQ(m_window.Gamepad().PadCount(), 1);

    m_pad.Detach();
    const SeenFrame out = ReadFrame(m_window, 100);
    EXPECT_EQ(Messages(out), (std::vector<Message>{{WM_KEYUP, VK_LEFT}}));
    ASSERT_TRUE(out.mouseSignalled);
    EXPECT_FALSE(out.mouse.left);
    EXPECT_EQ(out.mouse.dx, 0) << "the stick of a pad that is gone moves nothing";
    EXPECT_EQ(m_window.Gamepad().PadCount(), 0);

    m_pad.Attach();
    m_pad.SetButton(SDL_CONTROLLER_BUTTON_B, true);
    const SeenFrame again = ReadFrame(m_window);
    EXPECT_TRUE(again.mouse.right);
    EXPECT_EQ(m_window.Gamepad().PadCount(), 1);
}

TEST_F(DGamepadTest, AButtonHeldOnTwoPadsIsDownUntilBothLetGo) {
    DVirtualGamepad second(m_window);
    second.Attach();
    m_pad.SetButton(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    second.SetButton(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_EQ(Messages(ReadFrame(m_window)), (std::vector<Message>{{WM_KEYDOWN, VK_UP}}));
    m_pad.SetButton(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    EXPECT_EQ(Messages(ReadFrame(m_window)), std::vector<Message>{});
    second.Detach();
    EXPECT_EQ(Messages(ReadFrame(m_window)), (std::vector<Message>{{WM_KEYUP, VK_UP}}));
}

TEST_F(DGamepadTest, PadsSwitchedOffInTheSettingsAreLeftAlone) {
    m_window.Gamepad().Configure({.enabled = false, .stick = {}}, false);
    EXPECT_EQ(m_window.Gamepad().PadCount(), 0);
    DVirtualGamepad another(m_window);
    another.Attach();
    another.SetButton(SDL_CONTROLLER_BUTTON_A, true);
    m_pad.SetButton(SDL_CONTROLLER_BUTTON_X, true);
    const SeenFrame frame = ReadFrame(m_window);
    EXPECT_EQ(Messages(frame), std::vector<Message>{});
    EXPECT_FALSE(frame.mouseSignalled);
    EXPECT_EQ(m_window.Gamepad().PadCount(), 0);
}
