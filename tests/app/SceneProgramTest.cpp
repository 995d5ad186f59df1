// A fixture game of two scenes run by the real program on a hand-stepped clock;
// its scripts write what they saw into the state store, which the run dumps.
#include "FixtureGame.h"
#include "scene_support/SceneTestHost.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::string Bytes(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

const char* const kMaster = R"(
function OnInit() {
    state.scene = 'first';
    state.gameEvents = '';
    state.frames = 0;
    addevent('later', 'p', 100);
    addevent('waiting', 'q', 0);
}
function OnIdle(ms) {
    state.frames = state.frames + 1;
    if (state.frames == 5) signal('waiting');
}
function OnEvent(e, p) { state.gameEvents = state.gameEvents + e + ':' + p + ';'; }
)";

const char* const kFirst = R"(
game.addpolygon('area', 'walkinside', '', -10, -10, 10, -10, 10, 10, -10, 10);
game.addpolygon('zone', 'event', 'zone', 1, -5, 2, -5, 2, 5, 1, 5);
scene.addobject("name='hero' model='small.spr' mobile='true' script='hero.obs'");
scene.addobject("name='hat' model='small.spr' relativeto='hero' posy='1'");
scene.addobject("name='crate' model='box.spr' posx='3' walkaround='true'");
scene.addobject("name='mover' model='box.spr' posx='-6' posz='6' mobile='true'");
scene.addobject("name='wall' model='box.spr' posx='-3' posz='6' walkaround='true'");
scene.addobject("name='guard' model='box.spr' posx='-6' posz='-8' mobile='true' script='guard.obs'");
scene.addobject("name='post' model='box.spr' posx='-3' posz='-8' walkaround='true'");
scene.addobject("name='door' model='box.spr' posx='-5' posz='-3' yaw='0.1' script='door.obs'");
scene.addobject("name='spare' model='box.spr' posx='8' posz='-8'");
scene.addlight("name='lamp' posy='3' visible='true'");

var idleTime = 0;
function OnInit() {
    state.sceneEvents = '';
    scene.hero.freemove = true;
    scene.mover.moveto("posx='0' posz='6' speed='100' collisions='true' event='moved'");
    scene.guard.walkto("posx='0' posz='-8' speed='100' calculateroute='false' collisions='true'");
    scene.door.animationspeed = 100;
    scene.door.animationloop = 1;
    scene.door.rotateto("yaw='6.2' speed='100' event='turned'");
    state.sorted = scene.sortobjects("criteria='distance' to='hero' maximumdistance='4'");
    state.nearest = scene.sortedobject(0).name;
    spare = scene.spare;
    scene.deleteobject('spare');
}
// Routes are found on the grid, which the scene builds once OnInit is done.
var spare = null;
var started = false;
function OnIdle(ms) {
    if (!started) {
        started = true;
        scene.hero.walkto("posx='6' posz='0' speed='1000' event='arrived' eventparameter='hero'");
        try { spare.visible = false; state.detached = 'no'; } catch (e) { state.detached = 'yes'; }
    }
    idleTime += ms;
    if (idleTime >= 40 && state.midYaw == null) state.midYaw = scene.door.getrotation().yaw;
}
function OnEvent(e, p) {
    state.sceneEvents = state.sceneEvents + e + ':' + p + ';';
    if (e == 'arrived') {
        state.heroX = scene.hero.getposition().x;
        state.hatX = scene.hat.getposition().x;
        state.moverX = scene.mover.getposition().x;
        game.loadscene('nowhere');
        game.loadscene('second');
    }
    if (e == 'turned') state.doorYaw = scene.door.getrotation().yaw;
}
)";

const char* const kSecond = R"(
function OnInit() {
    state.secondPrev = state.prevscene;
    state.secondEvents = '';
    game.setcamera("posx='1' posy='2' posz='-3' speed='100' event='camdone' eventparameter='x'");
}
function OnEvent(e, p) { state.secondEvents = state.secondEvents + e + ':' + p + ';'; }
)";

// Every engine runs the library first, so callbacks a script leaves out fall back to these.
const char* const kLibrary = R"(
function OnInit() {}
function OnIdle(ms) {}
function OnEvent(e, p) {}
function OnAction(a) {}
function OnDestroy() {}
function OnScriptException() {}
)";

FixtureFiles SceneGame() {
    return {
        {"data\\scripts\\master.lib", kLibrary},
        {"data\\scripts\\master.ads", kMaster},
        {"data\\scripts\\first.scs", kFirst},
        {"data\\scripts\\second.scs", kSecond},
        {"data\\scripts\\hero.obs",
         "function OnInit() { state.heroActions = ''; }\n"
         "function OnAction(a) { state.heroActions = state.heroActions + a + ';'; }\n"},
        {"data\\scripts\\guard.obs",
         "function OnInit() { state.guardActions = ''; }\n"
         "function OnAction(a) { state.guardActions = state.guardActions + a + ';'; }\n"},
        {"data\\scripts\\door.obs",
         "function OnInit() { state.doorEvents = ''; }\n"
         "function OnEvent(e, p) { state.doorEvents = state.doorEvents + e + ':' + p + ';'; }\n"},
        {"data\\models\\box.spr", Bytes(BoxSprite(1.0f, 1.0f, 1.0f))},
        {"data\\models\\small.spr", Bytes(BoxSprite(0.2f, 1.0f, 0.2f))},
    };
}

} // namespace

TEST(ScenePrograms, ScriptsDriveObjectsEventsAndSceneSwitches) {
    TempDir dir;
    WriteFixtureGame(dir.Path(), SceneGame());
    const auto result = RunProgram(BuiltProgram("morvane"),
                                   {"--headless", "--frames", "600", "--fixed-step", "16", "--data",
                                    dir.Path().string(), "--config", (dir / "settings.toml").string(),
                                    "--dump-state", (dir / "state.json").string()});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "") << "no script reported an error";
    const std::string json = ReadFile(dir / "state.json");

    // Timed and signalled events of the game script, each fired once.
    EXPECT_EQ(DumpedValue(json, "gameEvents"), "\"waiting:q;later:p;\"");

    // The hero walked around the crate, through the event zone, to its end event.
    EXPECT_EQ(DumpedValue(json, "sceneEvents"), "\"turned:;zone:enter;zone:leave;arrived:hero;\"");
    EXPECT_NEAR(DumpedNumber(json, "heroX"), 6.0, 1e-3);
    EXPECT_NEAR(DumpedNumber(json, "hatX"), 6.0, 1e-3) << "placed relative to the hero";
    EXPECT_EQ(DumpedValue(json, "heroActions"), "\"walk;stop;\"") << "the stop arrives once";

    // A blocked moveto stops short of the wall and raises nothing.
    EXPECT_LT(DumpedNumber(json, "moverX"), -3.9);
    EXPECT_GT(DumpedNumber(json, "moverX"), -4.5);
    // A blocked walkto waits and tries again after three seconds.
    EXPECT_EQ(DumpedValue(json, "guardActions").rfind("\"walk;stop;walk;stop;", 0), 0u)
        << DumpedValue(json, "guardActions");

    // Two cycles, then animationended once; the turn went the short way.
    EXPECT_EQ(DumpedValue(json, "doorEvents"), "\"animationended:idle;\"");
    EXPECT_LT(DumpedNumber(json, "midYaw"), 0.1);
    EXPECT_GT(DumpedNumber(json, "midYaw"), -0.2);
    EXPECT_NEAR(DumpedNumber(json, "doorYaw"), 6.2, 1e-4);

    // Queries and deletion.
    EXPECT_EQ(DumpedValue(json, "sorted"), "2");
    EXPECT_EQ(DumpedValue(json, "nearest"), "\"hat\"");
    EXPECT_EQ(DumpedValue(json, "detached"), "\"yes\"");

    // The later of two loadscene calls wins; the old name becomes prevscene.
    EXPECT_EQ(DumpedValue(json, "scene"), "\"second\"");
    EXPECT_EQ(DumpedValue(json, "prevscene"), "\"first\"");
    EXPECT_EQ(DumpedValue(json, "secondPrev"), "\"first\"");
    EXPECT_EQ(DumpedValue(json, "secondEvents"), "\"camdone:x;\"");
}

TEST(ScenePrograms, AMissingSceneScriptEndsTheRunWithItsName) {
    TempDir dir;
    WriteFixtureGame(dir.Path(), {{"data\\scripts\\start.scs", std::nullopt}});
    const auto result =
        RunProgram(BuiltProgram("morvane"), {"--headless", "--frames", "3", "--data", dir.Path().string(),
                                             "--config", (dir / "settings.toml").string()});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("LoadFile: Resource 'data\\scripts\\start.scs' not found."), std::string::npos)
        << result.err;
}
