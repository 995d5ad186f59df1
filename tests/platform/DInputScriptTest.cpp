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
                             "5 quit\n";
    const DInputScript script = DInputScript::Parse(text, "a.txt");
    EXPECT_EQ(script.Format(), text);
    EXPECT_EQ(DInputScript::Parse(script.Format(), "b.txt").Events(), script.Events());

    // Key names are read as SDL reads them and written as SDL names them.
    EXPECT_EQ(DInputScript::Parse("1 keydown left shift\n1 key q\n", "c.txt").Format(),
              "1 keydown Left Shift\n1 key Q\n");
}
