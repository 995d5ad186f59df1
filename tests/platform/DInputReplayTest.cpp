#include "platform/DInputReplay.h"
#include "SeenFrame.h"

#include <SDL.h>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

constexpr std::intptr_t kRepeatBit = std::intptr_t{1} << 30;

// Plays an input file into a headless window frame by frame, as the game loop
// does, with a cursor that follows the mouse (and the pad's stick) as the
// game's does. Nothing here acquires the mouse: the replay must.
class Player {
public:
    explicit Player(const std::string& text)
        : m_replay(DInputScript::Parse(text, "play.txt"), m_window,
                   {[this] {
                        return std::pair{cursorX, cursorY};
                    },
                    [this](const std::string& asked) {
                        askedText = asked;
                        return textCentre;
                    }}) {
        ReadFrame(m_window);
    }

    // A frame that the clock moved `stepMs` towards.
    SeenFrame Frame(long frame, std::uint32_t stepMs = 16) {
        m_replay.Feed(frame, stepMs);
        SeenFrame seen = ReadFrame(m_window, stepMs);
        if (seen.mouseSignalled) {
            constexpr float kStep = DMouse::kCursorPixelsPerStep;
            cursorX = std::clamp(cursorX + kStep * static_cast<float>(seen.mouse.dx), 0.0f, 1023.0f);
            cursorY = std::clamp(cursorY + kStep * static_cast<float>(seen.mouse.dy), 0.0f, 767.0f);
        }
        return seen;
    }
    DWindow& Window() { return m_window; }
    const DInputReplay& Replay() const { return m_replay; }

    float cursorX = 0;
    float cursorY = 0;
    std::optional<std::pair<int, int>> textCentre;
    std::string askedText;

private:
    DWindow m_window{true};
    DInputReplay m_replay;
};

struct Message {
    std::uint32_t msg;
    std::uintptr_t wParam;
    bool repeat = false;
};

void ExpectMessages(const SeenFrame& seen, const std::vector<Message>& expected, const char* frame) {
    ASSERT_EQ(seen.messages.size(), expected.size()) << frame << ":\n" << Describe(seen);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(seen.messages[i].msg, expected[i].msg) << frame << " message " << i;
        EXPECT_EQ(seen.messages[i].wParam, expected[i].wParam) << frame << " message " << i;
        EXPECT_EQ((seen.messages[i].lParam & kRepeatBit) != 0, expected[i].repeat)
            << frame << " message " << i;
    }
}

} // namespace

TEST(DInputReplay, ClicksAndKeysAreReleasedFirstThingInTheNextFrame) {
    Player player("1 click left\n1 key A\n"
                  "2 keydown A\n2 press right\n"
                  "3 release right\n");
    const SeenFrame first = player.Frame(1);
    ExpectMessages(first, {{WM_KEYDOWN, 'A'}}, "frame 1");
    ASSERT_TRUE(first.mouseSignalled);
    EXPECT_TRUE(first.mouse.left);

    const SeenFrame second = player.Frame(2);
    ExpectMessages(second, {{WM_KEYUP, 'A', true}, {WM_KEYDOWN, 'A'}}, "frame 2");
    ASSERT_TRUE(second.mouseSignalled);
    EXPECT_FALSE(second.mouse.left);
    EXPECT_TRUE(second.mouse.right);

    const SeenFrame third = player.Frame(3);
    ExpectMessages(third, {}, "frame 3");
    ASSERT_TRUE(third.mouseSignalled);
    EXPECT_FALSE(third.mouse.right);
    EXPECT_FALSE(player.Frame(4).mouseSignalled);
}

TEST(DInputReplay, HeldKeysRepeatAndHeldModifiersCount) {
    Player player("1 keydown Left Alt\n1 key Return\n"
                  "2 keydown Left Alt\n2 keyup Left Alt\n2 key Return\n");
    ExpectMessages(player.Frame(1), {{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, VK_RETURN}}, "frame 1");
    ExpectMessages(player.Frame(2),
                   {{WM_SYSKEYUP, VK_RETURN, true},
                    {WM_SYSKEYDOWN, VK_MENU, true},
                    {WM_SYSKEYUP, VK_MENU, true},
                    {WM_KEYDOWN, VK_RETURN},
                    {WM_CHAR, 13}},
                   "frame 2");
}

TEST(DInputReplay, TypedTextArrivesWholeAndTheCloseButtonCloses) {
    // Thirty letters put the two-byte character across the platform's piece size.
    const std::string letters = "abcdefghijklmnopqrstuvwxyzABCD";
    Player player("1 type \"" + letters + "\xC3\xA9\xE2\x82\xAC!\"\n2 quit\n");
    std::vector<Message> typed;
    for (const char c : letters) {
        typed.push_back({WM_CHAR, static_cast<std::uintptr_t>(c)});
    }
    typed.insert(typed.end(), {{WM_CHAR, 0xE9}, {WM_CHAR, 0x20AC}, {WM_CHAR, '!'}});
    ExpectMessages(player.Frame(1), typed, "frame 1");
    ExpectMessages(player.Frame(2), {{WM_DESTROY, 0}}, "frame 2");
}

TEST(DInputReplay, AtBringsTheCursorToThePixelAsNearAsTheMouseAllows) {
    struct Case {
        const char* script;
        float x;
        float y;
    };
    const std::vector<Case> cases = {
        {"1 at 100 50", 100, 50},
        {"1 at 101 51", 102, 52},
        {"1 at 300 200\n2 at 301 100", 302, 100},
        {"1 move 40 40\n1 at 30 20", 30, 20},
        // Motion beyond the edge only counts once the frame runs, clamped as a whole.
        {"1 move -100 -100\n1 at 10 10", 10, 10},
        {"1 at 1023 767\n2 at 1023 767", 1023, 767},
        {"1 at 5000 5000", 1023, 767},
    };
    for (const auto& c : cases) {
        Player player(c.script);
        player.Frame(1);
        player.Frame(2);
        EXPECT_EQ(player.cursorX, c.x) << c.script;
        EXPECT_EQ(player.cursorY, c.y) << c.script;
    }
}

TEST(DInputReplay, AtTextGoesToTheCentreTheGameNamesOrStopsTheRun) {
    Player player("1 at \"Open\"\n3 at \"Say \\\"no\\\"\"\n");
    player.textCentre = std::pair{400, 300};
    player.Frame(1);
    EXPECT_EQ(player.askedText, "Open");
    EXPECT_EQ(player.cursorX, 400);
    EXPECT_EQ(player.cursorY, 300);

    player.Frame(2);
    player.textCentre.reset();
    try {
        player.Frame(3);
        ADD_FAILURE() << "a missing text must stop the replay";
    } catch (const DInputReplayError& error) {
        EXPECT_STREQ(error.what(), "play.txt: frame 3: no text \"Say \\\"no\\\"\" on the screen");
    }
}

TEST(DInputReplay, StepsBelongToTheirFrames) {
    Player player("2 move 1 1\n2 step 40\n3 move 1 1\n4 step 5\n");
    EXPECT_EQ(player.Replay().Step(1), std::nullopt);
    EXPECT_EQ(player.Replay().Step(2), 40u);
    player.Frame(1);
    player.Frame(2);
    EXPECT_EQ(player.Replay().Step(3), std::nullopt);
    EXPECT_EQ(player.Replay().Step(4), 5u);
}

// The pad's stick takes the cursor to the place as fast as full tilt allows,
// lands within a pixel (a mouse step is two) and comes back to rest.
TEST(DInputReplay, PadAtSteersTheCursorThereAndLetsTheStickRest) {
    struct Case {
        const char* script;
        std::uint32_t stepMs;
        float x;
        float y;
        int frames; // full tilt covers 1000 pixels a second
    };
    const Case cases[] = {
        {"1 pad attach\n2 pad at 700 500", 50, 700, 500, 2 + 18},
        {"1 pad attach\n2 pad at 31 9", 16, 31, 9, 2 + 2},
        {"1 pad attach\n2 pad at \"take\"", 33, 401, 300, 2 + 16},
        {"1 pad attach\n2 pad at 1023 0", 200, 1023, 0, 2 + 6},
    };
    for (const Case& c : cases) {
        Player player(c.script);
        player.textCentre = std::pair{401, 300};
        int frame = 1;
        for (; frame <= 100; ++frame) {
            player.Frame(frame, c.stepMs);
            if (std::abs(player.cursorX - c.x) <= 1.0f && std::abs(player.cursorY - c.y) <= 1.0f) {
                break;
            }
        }
        EXPECT_LE(frame, c.frames) << c.script;
        EXPECT_NEAR(player.cursorX, c.x, 1.0f) << c.script;
        EXPECT_NEAR(player.cursorY, c.y, 1.0f) << c.script;
        for (int rest = 1; rest <= 3; ++rest) {
            EXPECT_FALSE(player.Frame(frame + rest, c.stepMs).mouseSignalled)
                << c.script << ": the stick rests";
        }
    }
}

TEST(DInputReplay, PadButtonsAreClickedAndAPressOnTheWayStopsTheRun) {
    Player player("1 pad attach\n1 pad click a\n2 pad press b\n2 pad at 900 700\n4 pad click x\n");
    const SeenFrame first = player.Frame(1);
    EXPECT_TRUE(first.mouse.left);
    const SeenFrame second = player.Frame(2);
    EXPECT_FALSE(second.mouse.left);
    EXPECT_TRUE(second.mouse.right);
    player.Frame(3);
    try {
        player.Frame(4);
        ADD_FAILURE() << "a press while the cursor is on its way must stop the replay";
    } catch (const DInputReplayError& error) {
        EXPECT_STREQ(error.what(), "play.txt: frame 4: the cursor is still on its way to 900 700");
    }
}

// The file's own tilt takes over from steering; pulling the pad out lets go.
TEST(DInputReplay, PadAxisTakesTheStickAndDetachLetsGo) {
    Player player("1 pad attach\n1 pad at 900 700\n2 pad axis leftx 1\n2 pad axis lefty 0\n"
                  "2 pad press dpdown\n4 pad detach\n");
    player.Frame(1, 100);
    const SeenFrame steered = player.Frame(2, 100);
    const SeenFrame across = player.Frame(3, 100);
    ASSERT_TRUE(across.mouseSignalled);
    EXPECT_EQ(across.mouse.dx, 50);
    EXPECT_EQ(across.mouse.dy, 0);
    ASSERT_EQ(steered.messages.size(), 1u);
    EXPECT_EQ(steered.messages[0].msg, WM_KEYDOWN);
    const SeenFrame out = player.Frame(4, 100);
    ASSERT_EQ(out.messages.size(), 1u);
    EXPECT_EQ(out.messages[0].msg, WM_KEYUP);
    EXPECT_EQ(out.messages[0].wParam, VK_DOWN);
    EXPECT_FALSE(out.mouseSignalled);
}
