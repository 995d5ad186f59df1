// The game played through input files on the real program: clicks, verbs,
// typed sentences, message boxes, walking and the arrow keys, read back from
// what the fixture's scripts wrote into the dumped state.
#include "PlayGame.h"
#include "render/image/CImage.h"
#include "render/image/ImageCodec.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <span>


namespace {

std::string At(float x, float z, float height = 0.0f) {
    const auto [px, py] = PlayGamePixel(x, z, height);
    return "at " + std::to_string(px) + " " + std::to_string(py);
}

// The box and the door are 1 high; their tops are what the cursor meets.
const std::string kAtBox = At(-3, 3, 1);
const std::string kAtDoor = At(3, 3, 1);

struct Played {
    ProgramResult result;
    std::string json;
};

class PlayProgram : public ::testing::Test {
protected:
    void SetUp() override { WriteFixtureGame(m_dir.Path(), PlayGameFiles()); }

    // The fixture with one text of its master script replaced.
    void ChangeMaster(const std::string& from, const std::string& to) {
        FixtureFiles files = PlayGameFiles();
        std::string& master = *files.at("data\\scripts\\master.ads");
        master.replace(master.find(from), from.size(), to);
        WriteFixtureGame(m_dir.Path(), files);
    }

    Played Play(const std::string& input, int frames = 40, std::vector<std::string> extra = {}) {
        WriteFile(m_dir / "input.txt", input);
        std::vector<std::string> args = {"--headless",
                                         "--frames",
                                         std::to_string(frames),
                                         "--fixed-step",
                                         "16",
                                         "--data",
                                         m_dir.Path().string(),
                                         "--config",
                                         (m_dir / "settings.toml").string(),
                                         "--input",
                                         (m_dir / "input.txt").string(),
                                         "--dump-state",
                                         (m_dir / "state.json").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        Played played{RunProgram(BuiltProgram("morvane"), args), {}};
        if (played.result.exitStatus == 0) {
            played.json = ReadFile(m_dir / "state.json");
        }
        return played;
    }

    TempDir m_dir;
};

} // namespace

TEST_F(PlayProgram, SentencesFromTheMouseAndTheKeyboardReachTheScriptsPrepared) {
    struct Case {
        const char* name;
        std::string input;
        const char* log;
        // The pad's stick takes a while across the screen.
        int frames = 40;
    };
    const std::vector<Case> cases = {
        {"a verb on an object without a context list, answered with a longer phrase",
         "3 " + kAtBox + "\n4 click right\n6 at \"take\"\n7 click left\n",
         "scene:pick up red box;game:pick up red box/take/box/;"},
        {"an object's own context list gives the sentence alone",
         "3 " + kAtDoor + "\n4 click right\n6 at \"open door\"\n7 click left\n",
         "scene:open door;game:open door/open/door/;"},
        {"a preposition waits for a second object clicked in the scene",
         "3 " + kAtBox + "\n4 click right\n6 at \"use\"\n7 click left\n9 " + kAtDoor + "\n10 click right\n",
         "scene:use red box with door;game:use red box with door/use/box/door;"},
        {"a preposition completed by an inventory item",
         "2 key Tab\n3 " + kAtBox +
             "\n4 click right\n6 at \"use\"\n7 click left\n9 at \"key\"\n10 click right\n",
         "scene:use red box with key;game:use red box with key/use/box/key;"},
        {"a verb chosen for an inventory item, the window opened with its button",
         "2 at \"Inventory\"\n3 click left\n5 at \"key\"\n6 click right\n8 at \"look at\"\n9 click left\n",
         "scene:look at key;game:look at key/look at/key/;"},
        {"the free commands on empty ground",
         "3 " + At(0, 0) + "\n4 click right\n6 at \"look\"\n7 click left\n", "scene:look;game:look/look//;"},
        {"a typed sentence is lower-cased and loses its punctuation",
         "3 type \"Open The Door, \\\"please\\\".\"\n4 key Return\n",
         "scene:open the door please;game:open the door please/open/door please/;"},
        {"a sentence the parser cannot read goes on with empty parts",
         "3 type \"Dance wildly!\"\n4 key Return\n", "scene:dance wildly!;game:dance wildly!///;"},
        {"typing a verb, then clicking the object", "3 type \"open\"\n4 " + kAtDoor + "\n5 click right\n",
         "scene:open door;game:open door/open/door/;"},
        {"the pad: B on a thing for its verbs, A to choose one",
         "1 pad attach\n2 pad " + kAtBox + "\n30 pad click b\n32 pad at \"take\"\n50 pad click a\n",
         "scene:pick up red box;game:pick up red box/take/box/;", 60},
        {"the pad: X opens the inventory; an item's verbs",
         "1 pad attach\n2 pad click x\n4 pad at \"key\"\n80 pad click b\n82 pad at \"look at\"\n100 pad "
         "click a\n",
         "scene:look at key;game:look at key/look at/key/;", 110},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Played played = Play(c.input, c.frames);
        ASSERT_EQ(played.result.exitStatus, 0) << played.result.err;
        EXPECT_EQ(played.result.err, "");
        EXPECT_EQ(DumpedValue(played.json, "log"), std::string("\"") + c.log + "\"");
    }
}

TEST_F(PlayProgram, QueuedMessageBoxesShowInTurnAndTheCommandLineClearsAfterTheLast) {
    // "look at" on the box queues two messages; a click closes the first, Enter the second.
    const Played played = Play("3 " + kAtBox + "\n4 click right\n6 at \"look at\"\n7 click left\n"
                               "10 click left\n14 key Return\n");
    ASSERT_EQ(played.result.exitStatus, 0) << played.result.err;
    EXPECT_EQ(DumpedValue(played.json, "sceneEvents"), "\"first:1;second:2;\"");
    // Idle, busy with the context window and the sentence, a box, still busy
    // between the boxes (the sentence stays), the second box, idle again.
    EXPECT_EQ(DumpedValue(played.json, "trace"), "\"ITBTBI\"");
    EXPECT_EQ(DumpedValue(played.json, "heroEvents"), "\"messagebox;messagebox;\"");
}

TEST_F(PlayProgram, ALeftClickOnTheGroundWalksTheHeroToThePointUnderTheCursor) {
    const Played played = Play("3 " + At(2, -1) + "\n4 click left\n", 200);
    ASSERT_EQ(played.result.exitStatus, 0) << played.result.err;
    EXPECT_NEAR(DumpedNumber(played.json, "herox"), 2.0, 0.05);
    EXPECT_NEAR(DumpedNumber(played.json, "heroz"), -1.0, 0.05);
}

TEST_F(PlayProgram, ALeftClickOnAnObjectWalksTheHeroToIt) {
    const Played played = Play("3 " + kAtDoor + "\n4 click left\n", 300);
    ASSERT_EQ(played.result.exitStatus, 0) << played.result.err;
    // The door blocks nothing (it is no walkaround object), so the walk ends on its spot.
    EXPECT_NEAR(DumpedNumber(played.json, "herox"), 3.0, 0.05);
    EXPECT_NEAR(DumpedNumber(played.json, "heroz"), 3.0, 0.05);
}

TEST_F(PlayProgram, ArrowKeysMoveAndTurnTheHeroThroughItsScript) {
    struct Case {
        const char* name;
        std::string input;
        double x;
        double yaw;
        const char* events;
    };
    // A speed of 2000 moves it 0.032 a 16 ms frame, toward -x at yaw 0; 4000 twice that.
    const std::vector<Case> cases = {
        {"up for 50 frames", "10 keydown Up\n60 keyup Up\n", -1.6, 0.0, "up_pressed;up_released;"},
        {"with Shift held, twice as fast until Up goes up a frame after Shift",
         "9 keydown Left Shift\n10 keydown Up\n60 keyup Left Shift\n61 keyup Up\n", -51 * 0.064, 0.0,
         "fast_pressed;fastup_pressed;fast_released;up_released;"},
        {"left turns it", "10 keydown Left\n20 keyup Left\n", 0.0, 10 * 1000 * 16 * 3.1415927e-6,
         "left_pressed;left_released;"},
        {"the pad's D-pad and left shoulder as the arrows and Shift",
         "1 pad attach\n9 pad press leftshoulder\n10 pad press dpup\n60 pad release leftshoulder\n"
         "61 pad release dpup\n",
         -51 * 0.064, 0.0, "fast_pressed;fastup_pressed;fast_released;up_released;"},
        {"the D-pad turns it", "1 pad attach\n10 pad press dpleft\n20 pad release dpleft\n", 0.0,
         10 * 1000 * 16 * 3.1415927e-6, "left_pressed;left_released;"},
        {"pulled out while held, the pad lets go; plugged in again, it steers on",
         "1 pad attach\n10 pad press dpup\n30 pad detach\n40 pad attach\n50 pad press dpup\n60 pad detach\n",
         -30 * 0.032, 0.0, "up_pressed;up_released;up_pressed;up_released;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Played played = Play(c.input, 80);
        ASSERT_EQ(played.result.exitStatus, 0) << played.result.err;
        EXPECT_NEAR(DumpedNumber(played.json, "herox"), c.x, 1e-3);
        EXPECT_NEAR(DumpedNumber(played.json, "heroz"), -3.0, 1e-3);
        EXPECT_NEAR(DumpedNumber(played.json, "heroyaw"), c.yaw, 1e-4);
        EXPECT_EQ(DumpedValue(played.json, "heroEvents"), std::string("\"") + c.events + "\"");
        EXPECT_EQ(DumpedValue(played.json, "collisions"), "0");
    }
}

TEST_F(PlayProgram, AMoveAcrossTheWalkAreaIsBlockedAndRaisesCollision) {
    // Five units to the edge at 0.032 a frame: the hero stops there and every further frame collides.
    const Played played = Play("10 keydown Up\n", 250);
    ASSERT_EQ(played.result.exitStatus, 0) << played.result.err;
    EXPECT_NEAR(DumpedNumber(played.json, "herox"), -5.0, 0.04);
    EXPECT_GT(DumpedNumber(played.json, "collisions"), 50);
}

TEST_F(PlayProgram, ARecordedSessionReplaysToTheSameState) {
    const std::string inputs[] = {
        "3 " + kAtBox +
            "\n4 click right\n6 at \"look at\"\n7 click left\n"
            "10 click left\n12 keydown Up\n30 keyup Up\n32 key Return\n"
            "40 " +
            At(1, 1) + "\n41 click left\n",
        "1 pad attach\n2 pad " + kAtBox +
            "\n30 pad click b\n32 pad at \"look at\"\n50 pad click a\n"
            "54 pad click a\n56 pad press dpup\n70 pad release dpup\n72 pad detach\n74 pad attach\n"
            "75 pad axis leftx 0.6\n90 pad axis leftx 0\n91 pad click a\n",
    };
    for (const std::string& input : inputs) {
        const Played original = Play(input, 120, {"--record", (m_dir / "recorded.txt").string()});
        ASSERT_EQ(original.result.exitStatus, 0) << original.result.err;
        const std::string recorded = ReadFile(m_dir / "recorded.txt");
        const Played replayed = Play(recorded, 120);
        ASSERT_EQ(replayed.result.exitStatus, 0) << replayed.result.err;
        EXPECT_EQ(replayed.json, original.json) << recorded;
        EXPECT_NE(DumpedValue(original.json, "log"), "\"\"");
        EXPECT_NE(DumpedValue(original.json, "herox"), "0");
    }
}

TEST_F(PlayProgram, WithoutPickWindowHoldReleasingTheRightButtonChoosesTheHighlightedVerb) {
    WriteFile(m_dir / "settings.toml", "pickwindowhold = 1\n");
    // Held over the box, dragged onto "take" and let go; then a click that
    // opens the window and lets go on its corner, where no verb is.
    const Played played = Play("3 " + kAtBox + "\n4 press right\n6 at \"take\"\n8 release right\n"
                               "12 " + kAtDoor + "\n13 click right\n");
    ASSERT_EQ(played.result.exitStatus, 0) << played.result.err;
    EXPECT_EQ(DumpedValue(played.json, "log"), "\"scene:pick up red box;game:pick up red box/take/box/;\"");
    EXPECT_EQ(DumpedValue(played.json, "trace"), "\"ITITI\"") << "the second window closed with its release";
}

TEST_F(PlayProgram, AVerbAnswerThatIsNoTextIsToldAndTheGameGoesOn) {
    ChangeMaster("return verb == 'take' ? 'pick up' : verb;", "return verb == 'take' ? 5 : verb;");
    const Played played = Play("3 " + kAtBox + "\n4 click right\n6 at \"take\"\n7 click left\n"
                               "9 " + kAtBox + "\n10 click right\n12 at \"look at\"\n13 click left\n");
    ASSERT_EQ(played.result.exitStatus, 0) << played.result.err;
    EXPECT_NE(played.result.err.find("CGame::OnAskVerb - OnAskVerb returned a non-string."), std::string::npos)
        << played.result.err;
    // The failed choice left nothing behind, so the next verb works as always.
    EXPECT_EQ(DumpedValue(played.json, "log"), "\"scene:look at red box;\"");

    ChangeMaster("return verb == 'use' ? 'with' : '';", "return verb == 'use' ? 'with' : null;");
    const Played noPreposition = Play("3 " + kAtBox + "\n4 click right\n6 at \"look at\"\n7 click left\n");
    ASSERT_EQ(noPreposition.result.exitStatus, 0) << noPreposition.result.err;
    EXPECT_NE(noPreposition.result.err.find("CGame::OnAskPreposition - OnAskPreposition returned a non-string."),
              std::string::npos)
        << noPreposition.result.err;
}

TEST_F(PlayProgram, TheCursorIsDrawnWhereTheMouseBroughtIt) {
    // The arrow's tip sits at the cursor; the same pixel shows the floor when the cursor is elsewhere.
    const auto pixelNearTip = [this](const std::string& input) {
        const Played played = Play(input, 10, {"--screenshot", (m_dir / "shot.png").string()});
        EXPECT_EQ(played.result.exitStatus, 0) << played.result.err;
        const std::string png = ReadFile(m_dir / "shot.png");
        const std::span bytes(reinterpret_cast<const std::uint8_t*>(png.data()), png.size());
        CImage image;
        EXPECT_TRUE(kPngCodec.Decode(bytes, image));
        const std::uint8_t* rgba = image.At(302, 506);
        return std::array<std::uint8_t, 3>{rgba[0], rgba[1], rgba[2]};
    };
    const auto withCursor = pixelNearTip("2 at 300 500\n");
    const auto withoutCursor = pixelNearTip("2 at 700 500\n");
    EXPECT_NE(withCursor, withoutCursor);
}
