#include "platform/DWindow.h"
#include "SdlEvents.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

struct Expected {
    std::uint32_t msg;
    std::uintptr_t wParam;
};

struct TranslationCase {
    const char* name;
    SDL_Event event;
    std::vector<Expected> messages;
};

std::vector<Expected> Drain(DWindow& window) {
    std::vector<Expected> result;
    DMessage message;
    while (window.PeekMessage(message)) {
        result.push_back({message.msg, message.wParam});
    }
    return result;
}

} // namespace

TEST(DWindow, HeadlessWindowHasACoreContextWithDepthAndStencil) {
    DWindow window(true);
    using GetIntegerv = void (*)(unsigned, int*);
    auto getIntegerv = reinterpret_cast<GetIntegerv>(SDL_GL_GetProcAddress("glGetIntegerv"));
    ASSERT_NE(getIntegerv, nullptr);
    int major = 0, minor = 0;
    getIntegerv(0x821B /* GL_MAJOR_VERSION */, &major);
    getIntegerv(0x821C /* GL_MINOR_VERSION */, &minor);
    EXPECT_GE(major * 10 + minor, 33);
    int depth = 0, stencil = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencil);
    EXPECT_GE(depth, 24);
    EXPECT_GE(stencil, 8);
    EXPECT_FALSE(window.IsFullscreen());
}

TEST(DWindow, PlatformEventsBecomeEngineMessages) {
    DWindow window(true);
    Drain(window);
    const std::vector<TranslationCase> cases = {
        {"arrow down", KeyEvent(SDLK_UP, true), {{WM_KEYDOWN, VK_UP}}},
        {"shift up", KeyEvent(SDLK_RSHIFT, false), {{WM_KEYUP, VK_SHIFT}}},
        {"letter", KeyEvent(SDLK_q, true), {{WM_KEYDOWN, 'Q'}}},
        {"digit", KeyEvent(SDLK_7, true), {{WM_KEYDOWN, '7'}}},
        {"function key", KeyEvent(SDLK_F3, true), {{WM_KEYDOWN, VK_F3}}},
        {"enter also types", KeyEvent(SDLK_RETURN, true), {{WM_KEYDOWN, VK_RETURN}, {WM_CHAR, 13}}},
        {"keypad enter", KeyEvent(SDLK_KP_ENTER, true), {{WM_KEYDOWN, VK_RETURN}, {WM_CHAR, 13}}},
        {"backspace also types", KeyEvent(SDLK_BACKSPACE, true), {{WM_KEYDOWN, VK_BACK}, {WM_CHAR, 8}}},
        {"tab also types", KeyEvent(SDLK_TAB, true), {{WM_KEYDOWN, VK_TAB}, {WM_CHAR, 9}}},
        {"escape also types", KeyEvent(SDLK_ESCAPE, true), {{WM_KEYDOWN, VK_ESCAPE}, {WM_CHAR, 27}}},
        {"enter released types nothing", KeyEvent(SDLK_RETURN, false), {{WM_KEYUP, VK_RETURN}}},
        {"alt+enter is a system key", KeyEvent(SDLK_RETURN, true, KMOD_LALT), {{WM_SYSKEYDOWN, VK_RETURN}}},
        {"alt alone", KeyEvent(SDLK_LALT, true, KMOD_LALT), {{WM_SYSKEYDOWN, VK_MENU}}},
        {"unmapped key", KeyEvent(SDLK_PRINTSCREEN, true), {}},
        {"typed text", TextEvent("a\xC3\xA9\xE2\x82\xAC"), {{WM_CHAR, 'a'}, {WM_CHAR, 0xE9}, {WM_CHAR, 0x20AC}}},
        {"broken sequence drops only its lead byte", TextEvent("\xC3x"), {{WM_CHAR, 'x'}}},
        {"focus gained", FocusEvent(SDL_WINDOWEVENT_FOCUS_GAINED), {{WM_SETFOCUS, 0}}},
        {"focus lost", FocusEvent(SDL_WINDOWEVENT_FOCUS_LOST), {{WM_KILLFOCUS, 0}}},
        {"window closed", QuitEvent(), {{WM_DESTROY, 0}}},
    };
    for (const auto& c : cases) {
        window.Translate(c.event);
        const auto got = Drain(window);
        ASSERT_EQ(got.size(), c.messages.size()) << c.name;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].msg, c.messages[i].msg) << c.name << " message " << i;
            EXPECT_EQ(got[i].wParam, c.messages[i].wParam) << c.name << " message " << i;
        }
    }
}

TEST(DWindow, QuitMessageCarriesItsExitCodeAfterQueuedMessages) {
    DWindow window(true);
    Drain(window);
    window.Translate(KeyEvent(SDLK_LEFT, true));
    window.PostQuitMessage(3);
    const auto got = Drain(window);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1].msg, WM_QUIT);
    EXPECT_EQ(got[1].wParam, 3u);
}

TEST(DWindow, MouseAccumulatesWhileAcquired) {
    DWindow window(true);
    DMouse& mouse = window.Mouse();
    DMouse::State state;
    mouse.OnMotion(50, 50);
    mouse.OnButton(SDL_BUTTON_LEFT, true);
    EXPECT_FALSE(mouse.Read(state)) << "input before the mouse is acquired is ignored";

    mouse.Acquire();
    EXPECT_FALSE(mouse.Read(state)) << "nothing signalled yet";
    mouse.OnMotion(3, 4);
    mouse.OnMotion(2, -1);
    mouse.OnButton(SDL_BUTTON_RIGHT, true);
    mouse.OnButton(SDL_BUTTON_MIDDLE, true);
    ASSERT_TRUE(mouse.Read(state));
    EXPECT_EQ(state.dx, 5);
    EXPECT_EQ(state.dy, 3);
    EXPECT_FALSE(state.left);
    EXPECT_TRUE(state.right);
    EXPECT_FALSE(mouse.Read(state)) << "a read consumes the signal";

    mouse.OnButton(SDL_BUTTON_RIGHT, false);
    ASSERT_TRUE(mouse.Read(state));
    EXPECT_EQ(state.dx, 0) << "deltas restart after each read";
    EXPECT_FALSE(state.right);
    mouse.Unacquire();
}

TEST(DWindow, AClickBetweenTwoReadsReadsAsDownThenUp) {
    DWindow window(true);
    DMouse& mouse = window.Mouse();
    mouse.Acquire();
    DMouse::State state;
    mouse.OnButton(SDL_BUTTON_LEFT, true);
    mouse.OnButton(SDL_BUTTON_LEFT, false);
    mouse.OnButton(SDL_BUTTON_RIGHT, true);
    ASSERT_TRUE(mouse.Read(state));
    EXPECT_TRUE(state.left);
    EXPECT_TRUE(state.right);
    ASSERT_TRUE(mouse.Read(state)) << "the held-back release signals the next read";
    EXPECT_FALSE(state.left);
    EXPECT_TRUE(state.right);
    EXPECT_FALSE(mouse.Read(state));

    // Released and pressed again, the second click of a quick double click: up, then down.
    mouse.OnButton(SDL_BUTTON_RIGHT, false);
    mouse.OnButton(SDL_BUTTON_RIGHT, true);
    ASSERT_TRUE(mouse.Read(state));
    EXPECT_FALSE(state.right);
    ASSERT_TRUE(mouse.Read(state));
    EXPECT_TRUE(state.right);
    EXPECT_FALSE(mouse.Read(state));
    mouse.Unacquire();
}

TEST(DWindow, FullScreenWithoutSuchAModeAndBackToTheWindow) {
    DWindow window(true);
    // No display offers this size, so it is a desktop-sized full-screen window.
    window.SetDisplayMode(1032, 774, true);
    EXPECT_TRUE(window.IsFullscreen());
    window.SetDisplayMode(DWindow::kClientWidth, DWindow::kClientHeight, false);
    EXPECT_FALSE(window.IsFullscreen());
}
