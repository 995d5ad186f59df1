#include "platform/DInputRecorder.h"
#include "SeenFrame.h"
#include "platform/DInputReplay.h"

#include <SDL.h>
#include <cstring>
#include <gtest/gtest.h>

namespace {

SDL_Event Motion(int dx, int dy) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    return event;
}

SDL_Event Button(Uint8 button, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button;
    return event;
}

SDL_Event Key(SDL_Keycode key, bool down, Uint16 mod, Uint8 repeat = 0) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    event.key.repeat = repeat;
    return event;
}

SDL_Event Text(const char* utf8) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
    return event;
}

SDL_Event Quit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    return event;
}

} // namespace

// A session of synthetic platform events is written down; its replay makes
// the window give the game the very same messages and mouse readings.
TEST(DInputRecorder, WritesTheSessionSoThatItsReplayLooksTheSame) {
    const std::vector<std::vector<SDL_Event>> frames = {
        {Motion(3, -2), Button(SDL_BUTTON_LEFT, true), Button(SDL_BUTTON_MIDDLE, true),
         Key(SDLK_LSHIFT, true, KMOD_LSHIFT), Key(SDLK_LSHIFT, true, KMOD_LSHIFT, 1),
         Key(SDLK_UNKNOWN, true, 0), Text("h\xC3\xA9")},
        {Key(SDLK_a, true, KMOD_LSHIFT), Key(SDLK_LSHIFT, false, KMOD_NONE), Button(SDL_BUTTON_LEFT, false),
         Motion(-1, 0)},
        {Key(SDLK_LALT, true, KMOD_LALT), Key(SDLK_RETURN, true, KMOD_LALT), Quit()},
    };
    const std::uint32_t steps[] = {16, 0};

    std::vector<std::string> seen;
    std::string recording;
    {
        DWindow window(true);
        ReadFrame(window);
        window.Mouse().Acquire();
        DInputRecorder recorder(window);
        for (size_t i = 0; i < frames.size(); ++i) {
            if (i > 0) {
                recorder.NextFrame(steps[i - 1]);
            }
            for (const SDL_Event& event : frames[i]) {
                window.Translate(event);
            }
            seen.push_back(Describe(ReadFrame(window)));
        }
        // Mouse input that the mouse ignores is no part of the session.
        window.Mouse().Unacquire();
        window.Translate(Motion(5, 5));
        recording = recorder.Script().Format();
    }
    EXPECT_EQ(recording, "1 move 3 -2\n"
                         "1 press left\n"
                         "1 keydown Left Shift\n"
                         "1 keydown Left Shift\n"
                         "1 type \"h\xC3\xA9\"\n"
                         "2 step 16\n"
                         "2 keydown A\n"
                         "2 keyup Left Shift\n"
                         "2 release left\n"
                         "2 move -1 0\n"
                         "3 step 0\n"
                         "3 keydown Left Alt\n"
                         "3 keydown Return\n"
                         "3 quit\n");

    DWindow window(true);
    ReadFrame(window);
    DInputReplay replay(DInputScript::Parse(recording, "session.txt"), window,
                        {[] {
                             return std::pair{0.0f, 0.0f};
                         },
                         [](const std::string&) { return std::optional<std::pair<int, int>>(); }});
    for (size_t i = 0; i < frames.size(); ++i) {
        replay.Feed(static_cast<long>(i + 1));
        EXPECT_EQ(Describe(ReadFrame(window)), seen[i]) << "frame " << i + 1;
    }
}
