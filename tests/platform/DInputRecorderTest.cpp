#include "platform/DInputRecorder.h"
#include "SdlEvents.h"
#include "SeenFrame.h"
#include "platform/DInputReplay.h"
#include "platform/DVirtualGamepad.h"

#include <SDL.h>
#include <gtest/gtest.h>

// A session of synthetic platform events is written down; its replay makes
// the window give the game the very same messages and mouse readings.
TEST(DInputRecorder, WritesTheSessionSoThatItsReplayLooksTheSame) {
    const std::vector<std::vector<SDL_Event>> frames = {
        {MotionEvent(3, -2), ButtonEvent(SDL_BUTTON_LEFT, true), ButtonEvent(SDL_BUTTON_MIDDLE, true),
         KeyEvent(SDLK_LSHIFT, true, KMOD_LSHIFT), KeyEvent(SDLK_LSHIFT, true, KMOD_LSHIFT, 1),
         KeyEvent(SDLK_UNKNOWN, true, 0), TextEvent("h\xC3\xA9")},
        {KeyEvent(SDLK_a, true, KMOD_LSHIFT), KeyEvent(SDLK_LSHIFT, false, KMOD_NONE), ButtonEvent(SDL_BUTTON_LEFT, false),
         MotionEvent(-1, 0)},
        {KeyEvent(SDLK_LALT, true, KMOD_LALT), KeyEvent(SDLK_RETURN, true, KMOD_LALT), QuitEvent()},
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
        window.Translate(MotionEvent(5, 5));
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
        replay.Feed(static_cast<long>(i + 1), i > 0 ? steps[i - 1] : 0);
        EXPECT_EQ(Describe(ReadFrame(window)), seen[i]) << "frame " << i + 1;
    }
}

// Of two pads the first one the game takes is written down, with the
// releases its pulling out brings.
TEST(DInputRecorder, WritesThePadTheGameTookFirst) {
    DWindow window(true);
    ReadFrame(window);
    window.Mouse().Acquire();
    DInputRecorder recorder(window);
    DVirtualGamepad first(window);
    DVirtualGamepad second(window);
    first.Attach();
    second.Attach();
    first.SetButton(SDL_CONTROLLER_BUTTON_A, true);
    second.SetButton(SDL_CONTROLLER_BUTTON_B, true);
    first.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 16384);
    recorder.NextFrame(20);
    first.Detach();
    second.SetButton(SDL_CONTROLLER_BUTTON_X, true);
    EXPECT_EQ(recorder.Script().Format(), "1 pad attach\n"
                                          "1 pad press a\n"
                                          "1 pad axis lefty 0.5\n"
                                          "2 step 20\n"
                                          "2 pad axis lefty 0\n"
                                          "2 pad release a\n"
                                          "2 pad detach\n");
}
