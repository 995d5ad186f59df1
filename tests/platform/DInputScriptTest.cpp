#include "platform/DInputScript.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

using Kind = DInputEvent::Kind;
using Button = DInputEvent::Button;

struct GoodLine {
    const char* line;
    DInputEvent event;
};

struct BadLine {
    const char* text;
    const char* message;
};

} // namespace

TEST(DInputScript, ReadsEveryEvent) {
    const std::vector<GoodLine> cases = {
        {"1 move 3 -4", {.frame = 1, .kind = Kind::Move, .x = 3, .y = -4}},
        {"2 at 512 384", {.frame = 2, .kind = Kind::At, .x = 512, .y = 384}},
        {"2 at \"Open \\\"the\\\" door\\\\\"",
         {.frame = 2, .kind = Kind::AtText, .text = "Open \"the\" door\\"}},
        {"3 press left", {.frame = 3, .kind = Kind::Press, .button = Button::Left}},
        {"3 release right", {.frame = 3, .kind = Kind::Release, .button = Button::Right}},
        {"4 click right", {.frame = 4, .kind = Kind::Click, .button = Button::Right}},
        {"5 keydown Left Shift", {.frame = 5, .kind = Kind::KeyDown, .key = SDLK_LSHIFT}},
        {"5 keyup a", {.frame = 5, .kind = Kind::KeyUp, .key = SDLK_a}},
        {"6 key F3", {.frame = 6, .kind = Kind::Key, .key = SDLK_F3}},
        {"6 key Return", {.frame = 6, .kind = Kind::Key, .key = SDLK_RETURN}},
        {"7 type \"caf\xC3\xA9 \\\"1\\\"\"", {.frame = 7, .kind = Kind::Type, .text = "caf\xC3\xA9 \"1\""}},
        {"7 type \"\"", {.frame = 7, .kind = Kind::Type}},
        {"8 step 0", {.frame = 8, .kind = Kind::Step, .stepMs = 0}},
        {"9 step 33", {.frame = 9, .kind = Kind::Step, .stepMs = 33}},
        {"\t10   quit  \r", {.frame = 10, .kind = Kind::Quit}},
    };
    for (const auto& c : cases) {
        const DInputScript script = DInputScript::Parse(c.line, "play.txt");
        ASSERT_EQ(script.Events().size(), 1u) << c.line;
        EXPECT_EQ(script.Events()[0], c.event) << c.line;
    }
}

// The pad's events come after its "pad attach"; button and axis names are SDL's.
TEST(DInputScript, ReadsThePadsEvents) {
    const std::vector<GoodLine> cases = {
        {"2 pad detach", {.frame = 2, .kind = Kind::PadDetach}},
        {"2 pad press a", {.frame = 2, .kind = Kind::PadPress, .padControl = SDL_CONTROLLER_BUTTON_A}},
        {"2 pad release Start",
         {.frame = 2, .kind = Kind::PadRelease, .padControl = SDL_CONTROLLER_BUTTON_START}},
        {"3 pad click dpleft",
         {.frame = 3, .kind = Kind::PadClick, .padControl = SDL_CONTROLLER_BUTTON_DPAD_LEFT}},
        {"3 pad axis leftx 1",
         {.frame = 3, .kind = Kind::PadAxis, .padControl = SDL_CONTROLLER_AXIS_LEFTX, .axisValue = 32767}},
        {"3 pad axis lefty -0.5",
         {.frame = 3, .kind = Kind::PadAxis, .padControl = SDL_CONTROLLER_AXIS_LEFTY, .axisValue = -16384}},
        {"4 pad at 300 200", {.frame = 4, .kind = Kind::PadAt, .x = 300, .y = 200}},
        {"4 pad at \"take\"", {.frame = 4, .kind = Kind::PadAtText, .text = "take"}},
    };
    for (const auto& c : cases) {
        const DInputScript script = DInputScript::Parse(std::string("1 pad attach\n") + c.line, "play.txt");
        ASSERT_EQ(script.Events().size(), 2u) << c.line;
        EXPECT_EQ(script.Events()[0], (DInputEvent{.frame = 1, .kind = Kind::PadAttach}));
        EXPECT_EQ(script.Events()[1], c.event) << c.line;
    }
}

TEST(DInputScript, SkipsBlankLinesAndCommentsAndKeepsFileOrder) {
    const DInputScript script = DInputScript::Parse("# a session\r\n\n   \n1 key Escape\n  # indented\n"
                                                    "1 move 1 1\n1 key Escape\n4 quit",
                                                    "play.txt");
    ASSERT_EQ(script.Events().size(), 4u);
    EXPECT_EQ(script.Events()[0].kind, Kind::Key);
    EXPECT_EQ(script.Events()[1].kind, Kind::Move);
    EXPECT_EQ(script.Events()[2].kind, Kind::Key);
    EXPECT_EQ(script.Events()[3], (DInputEvent{.frame = 4, .kind = Kind::Quit}));
    EXPECT_EQ(script.FileName(), "play.txt");
}

TEST(DInputScript, MistakesNameTheFileTheLineAndWhatIsWrong) {
    const std::vector<BadLine> cases = {
        {"1 quit\n\n1 jump", "play.txt:3: unknown event 'jump'"},
        {"5 quit\n4 quit", "play.txt:2: frame numbers must not decrease"},
        {"x move 1 1", "play.txt:1: 'x' is not a frame number"},
        {"0 quit", "play.txt:1: frames are numbered from 1"},
        {"-2 quit", "play.txt:1: frames are numbered from 1"},
        {"99999999999999999999999 quit", "play.txt:1: '99999999999999999999999' is not a frame number"},
        {"3", "play.txt:1: missing event after the frame number"},
        {"1 move 1", "play.txt:1: 'move' needs two whole numbers, DX and DY"},
        {"1 move 1 y", "play.txt:1: 'move' needs two whole numbers, DX and DY"},
        {"1 move 1 2 3", "play.txt:1: unexpected '3' after the event"},
        {"1 at -1 5", "play.txt:1: 'at' needs a pixel position X Y or a quoted text"},
        {"1 at", "play.txt:1: 'at' needs a pixel position X Y or a quoted text"},
        {"1 at \"Open", "play.txt:1: unterminated text"},
        {"1 at \"Open\\", "play.txt:1: unterminated text"},
        {"1 at \"Op\\en\"", "play.txt:1: unknown escape '\\e' in a text"},
        {"1 at \"Open\" now", "play.txt:1: unexpected 'now' after the event"},
        {"1 press", "play.txt:1: 'press' needs left or right"},
        {"1 click middle", "play.txt:1: unknown mouse button 'middle'"},
        {"1 keydown Foo", "play.txt:1: unknown key name 'Foo'"},
        {"1 key   ", "play.txt:1: 'key' needs a key name"},
        {"1 type hello", "play.txt:1: 'type' needs a quoted text"},
        {"1 step", "play.txt:1: 'step' needs a whole number of milliseconds"},
        {"1 step -5", "play.txt:1: 'step' needs a whole number of milliseconds"},
        {"1 step 16\n1 quit\n1 step 16", "play.txt:3: frame 1 has a step already"},
        {"1 quit now", "play.txt:1: unexpected 'now' after the event"},
        {"1 pad", "play.txt:1: 'pad' needs attach, detach, press, release, click, axis or at"},
        {"1 pad jump", "play.txt:1: unknown event 'pad jump'"},
        {"1 pad press a", "play.txt:1: 'pad press' needs the pad attached first ('pad attach')"},
        {"1 pad attach\n2 pad detach\n3 pad at 1 1",
         "play.txt:3: 'pad at' needs the pad attached first ('pad attach')"},
        {"1 pad attach\n2 pad attach", "play.txt:2: the pad is attached already"},
        {"1 pad detach", "play.txt:1: 'pad detach' with no pad attached"},
        {"1 pad attach\n1 pad click",
         "play.txt:2: 'pad click' needs a pad button: a, b, x, start, dpup, leftshoulder, ..."},
        {"1 pad attach\n1 pad press z", "play.txt:2: unknown pad button 'z'"},
        {"1 pad attach\n1 pad axis leftz 1", "play.txt:2: unknown pad axis 'leftz'"},
        {"1 pad attach\n1 pad axis leftx 1.5",
         "play.txt:2: 'pad axis' needs an axis (leftx, lefty, ...) and a value from -1 to 1"},
        {"1 pad attach\n1 pad axis leftx",
         "play.txt:2: 'pad axis' needs an axis (leftx, lefty, ...) and a value from -1 to 1"},
        {"1 pad attach\n1 pad axis leftx nan",
         "play.txt:2: 'pad axis' needs an axis (leftx, lefty, ...) and a value from -1 to 1"},
        {"1 pad attach\n1 pad at 5", "play.txt:2: 'pad at' needs a pixel position X Y or a quoted text"},
        {"1 pad attach pad", "play.txt:1: unexpected 'pad' after the event"},
    };
    for (const auto& c : cases) {
        try {
            DInputScript::Parse(c.text, "play.txt");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const DInputScriptError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.text;
        }
    }
}

TEST(DInputScript, WrittenLinesReadBackToTheSameEvents) {
    const char* const text = "1 move -3 4\n"
                             "1 at 10 20\n"
                             "2 at \"say \\\"hi\\\" \\\\ bye\"\n"
                             "2 press left\n"
                             "2 release right\n"
                             "3 click left\n"
                             "3 keydown Left Shift\n"
                             "3 keyup Z\n"
                             "3 key Keypad Enter\n"
                             "4 type \"\xE2\x82\xAC \\\"\"\n"
                             "4 step 7\n"
                             "5 pad attach\n"
                             "5 pad press leftshoulder\n"
                             "5 pad release b\n"
                             "6 pad click dpdown\n"
                             "6 pad axis lefty -0.25\n"
                             "6 pad axis righttrigger 0.73104\n"
                             "7 pad at 3 4\n"
                             "7 pad at \"Save\"\n"
                             "8 pad detach\n"
                             "9 quit\n";
    const DInputScript script = DInputScript::Parse(text, "a.txt");
    EXPECT_EQ(script.Format(), text);
    EXPECT_EQ(DInputScript::Parse(script.Format(), "b.txt").Events(), script.Events());

    // Key names are read as SDL reads them and written as SDL names them.
    EXPECT_EQ(DInputScript::Parse("1 keydown left shift\n1 key q\n", "c.txt").Format(),
              "1 keydown Left Shift\n1 key Q\n");
}

// A recording writes each axis value SDL gives with the fewest decimals that
// read back to it; the lowest, -32768, reads back as -32767, the same full tilt.
TEST(DInputScript, EveryAxisValueReadsBackAsWritten) {
    for (int value = -32768; value <= 32767; ++value) {
        DInputScript script;
        script.Append({.frame = 1, .kind = Kind::PadAttach});
        script.Append({.frame = 1,
                       .kind = Kind::PadAxis,
                       .padControl = SDL_CONTROLLER_AXIS_LEFTX,
                       .axisValue = static_cast<std::int16_t>(value)});
        const auto events = DInputScript::Parse(script.Format(), "axis.txt").Events();
        ASSERT_EQ(events.back().axisValue, std::max(value, -32767)) << script.Format();
    }
    DInputScript half;
    half.Append({.frame = 1, .kind = Kind::PadAttach});
    half.Append(
        {.frame = 1, .kind = Kind::PadAxis, .padControl = SDL_CONTROLLER_AXIS_LEFTY, .axisValue = 16384});
    EXPECT_EQ(half.Format(), "1 pad attach\n1 pad axis lefty 0.5\n");
}
