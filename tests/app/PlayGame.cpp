#include "PlayGame.h"

#include "render/model/CModelWriter.h"
#include "render/model/ModelPrimitives.h"
#include "scene_support/SceneTestHost.h"

#include <cmath>
#include <numbers>

namespace {

const char* const kMaster = R"(
var shown = '';
function OnInit() {
    state.scene = 'room';
    state.log = '';
    state.trace = '';
    game.setgamecommands('look at,use,take', 'look,wait');
    inventory.key = true;
    inventory.coin = false;
}
function OnAskVerb(verb) { return verb == 'take' ? 'pick up' : verb; }
function OnAskPreposition(verb) { return verb == 'use' ? 'with' : ''; }
function OnAction(sentence, verb, object1, object2) {
    state.log = state.log + 'game:' + sentence + '/' + verb + '/' + object1 + '/' + object2 + ';';
    return true;
}
// B: a message box is open; T: the player is busy (text typed, a window open); I: idle.
function OnIdle(ms) {
    var now = game.messageboxopen ? 'B' : (game.notdoinganything ? 'I' : 'T');
    if (now != shown) {
        state.trace = state.trace + now;
        shown = now;
    }
}
)";

const char* const kRoom = R"(
function OnInit() {
    state.sceneEvents = '';
    state.collisions = 0;
    state.heroEvents = '';
    game.addpolygon('yard', 'walkinside', '', -5, -5, 5, -5, 5, 5, -5, 5);
    scene.addobject("name='floor' model='floor.ims' type='shadow'");
    scene.addobject("name='box' model='box.spr' posx='-3' posz='3' pickable='true' pickname='red box'");
    scene.addobject("name='door' model='box.spr' posx='3' posz='3' pickable='true' context='knock on door,open door'");
    scene.addobject("name='hero' model='small.spr' posz='-3' mobile='true' script='hero.obs'");
    scene.hero.freemove = true;
    game.setcamera("posx='0' posy='10' posz='-0.01' atx='0' aty='0' atz='0'");
}
function OnIdle(ms) {
    var at = scene.hero.getposition();
    state.herox = at.x;
    state.heroz = at.z;
    state.heroyaw = scene.hero.getrotation().yaw;
}
function OnEvent(e, p) { state.sceneEvents = state.sceneEvents + e + ':' + p + ';'; }
function OnAction(sentence, verb, object1, object2) {
    state.log = state.log + 'scene:' + sentence + ';';
    if (verb == 'look at' && object1 == 'box') {
        game.messagebox('It is red.', "event='first' eventparameter='1'");
        game.messagebox('Very red.', "event='second' eventparameter='2'");
        return true;
    }
    return false;
}
)";

// The arrows set the speeds; Shift doubles them.
const char* const kHero = R"(
var fast = 1;
function OnEvent(e, p) {
    if (e != 'freemove') return;
    if (p == 'collision') { state.collisions = state.collisions + 1; return; }
    if (p == 'true' || p == 'false') return;
    state.heroEvents = state.heroEvents + p + ';';
    if (p == 'up_pressed') object.freemovespeed = 2000;
    if (p == 'fastup_pressed') object.freemovespeed = 4000;
    if (p == 'up_released' || p == 'fastup_released') object.freemovespeed = 0;
    if (p == 'left_pressed') object.freerotatespeed = 1000;
    if (p == 'left_released') object.freerotatespeed = 0;
}
)";

const char* const kCommands = R"(
look {
    maxnrobjects=0
}
look at {
    minnrobjects=1
    maxnrobjects=1
}
take {
    synonyms=pick up
    minnrobjects=1
    maxnrobjects=1
}
use {
    preposition=with
    minnrobjects=1
    maxnrobjects=2
}
open {
    minnrobjects=1
    maxnrobjects=1
}
)";

const char* const kObjects = R"(
box {
    synonyms=red box
}
door {
}
key {
}
)";

std::string Bytes(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

std::string Floor() {
    ModelMeshData mesh;
    D3DMATERIAL9 grey;
    grey.Diffuse = grey.Ambient = {0.5f, 0.5f, 0.5f, 1.0f};
    AddModelGrid(mesh, {-10, 0, -10}, {20, 0, 0}, {0, 0, 20}, 4, {0, 1, 0}, {"floor", "", grey});
    return Bytes(CModelWriter::WriteMesh(mesh));
}

const char* const kSaveMaster = R"(
function OnInit() {
    state.scene = 'entry';
    state.turns = 0;
}
function ConstructSavegameDescription() { return 'Hall after ' + state.turns + ' turns'; }
function OnAction(sentence, verb, object1, object2) { return true; }
function OnIdle(ms) { state.frames = (state.frames ? state.frames : 0) + 1; }
)";

const char* const kEntry = "function OnInit() { game.loadscene('hall'); }\n";

// "change" alters the stores, objects, animation, visibility, a light, the
// camera, the polygon flags and the free-move object; OnIdle reports them.
const char* const kHall = R"(
function OnInit() {
    inventory.sawPrevious = state.prevscene;
    state.hallStarts = (state.hallStarts ? state.hallStarts : 0) + 1;
    game.addpolygon('yard', 'walkinside', '', -5, -5, 5, -5, 5, 5, -5, 5);
    game.addpolygon('gate', 'event', 'gate', -1, -4, 1, -4, 1, -2, -1, -2);
    scene.addobject("name='floor' model='floor.ims' type='shadow'");
    scene.addobject("name='box' model='box.spr' posx='-3' posz='3'");
    scene.addobject("name='door' model='box.spr' posx='3' posz='3'");
    scene.addobject("name='hero' model='small.spr' posz='-3' mobile='true'");
    scene.addlight("name='lamp' type='point' posy='3' visible='true' range='10'");
    scene.hero.freemove = true;
    game.setcamera("posx='0' posy='10' posz='-0.01' atx='0' aty='0' atz='0'");
}
function OnAction(sentence, verb, object1, object2) {
    if (sentence == 'lock') {
        setup.mayload = false;
        setup.maysave = false;
        return true;
    }
    if (sentence == 'extra') {
        game.addpolygon('extra', '', '', 0, 0, 1, 0, 1, 1);
        return true;
    }
    if (sentence != 'change') return false;
    state.turns = 7;
    state.ratio = 2.5;
    state.who = 'Ada';
    state.flag = true;
    state.empty = '';
    inventory.lamp = true;
    setup.info = 'Level 2';
    scene.box.setposition("posx='1.5' posz='2'");
    scene.box.visible = false;
    scene.door.animation = 'walk';
    scene.lamp.setposition("posx='4' posy='2' posz='-1'");
    game.disablepolygons('gate');
    scene.door.freemove = true;
    return true;
}
function OnIdle(ms) {
    var box = scene.box.getposition();
    state.seen = box.x + ',' + box.z + ',' + scene.box.visible + ',' + scene.door.animation + ',' +
                 scene.lamp.getposition().x + ',' + scene.hero.isinsidepolygon('gate') + ',' +
                 scene.door.freemove + ',' + scene.hero.freemove;
}
)";

} // namespace

FixtureFiles SaveGameFiles() {
    FixtureFiles files = PlayGameFiles();
    files["data\\scripts\\master.ads"] = kSaveMaster;
    files["data\\scripts\\entry.scs"] = kEntry;
    files["data\\scripts\\hall.scs"] = kHall;
    return files;
}

FixtureFiles PlayGameFiles() {
    return {
        {"data\\scripts\\master.ads", kMaster},
        {"data\\scripts\\room.scs", kRoom},
        {"data\\scripts\\hero.obs", kHero},
        {"data/commands.txt", kCommands},
        {"data/objects.txt", kObjects},
        {"data\\models\\floor.ims", Floor()},
        {"data\\models\\box.spr", Bytes(BoxSprite(1.0f, 1.0f, 1.0f))},
        {"data\\models\\small.spr", Bytes(BoxSprite(0.2f, 1.0f, 0.2f))},
    };
}

std::pair<int, int> PlayGamePixel(float x, float z, float height) {
    // The projection of a 45-degree vertical field of view at 4:3.
    const float cot = 1.0f / std::tan(std::numbers::pi_v<float> / 8.0f);
    const float depth = 10.0f - height;
    const float ndcX = x * cot / (4.0f / 3.0f) / depth;
    const float ndcY = z * cot / depth;
    return {static_cast<int>(std::lround(512.0f * (1.0f + ndcX))),
            static_cast<int>(std::lround(384.0f * (1.0f - ndcY)))};
}

RunningPlayGame::RunningPlayGame() {
    WriteFixtureGame(m_dir.Path(), PlayGameFiles());
    Restart();
}

void RunningPlayGame::Restart() {
    m_game.reset();
    CRunOptions options;
    options.headless = true;
    options.settingsFile = m_dir / "settings.toml";
    options.dataFolder = m_dir.Path();
    m_game = std::make_unique<CGame>(options, m_clock);
    m_game->Initialize(m_window);
    m_game->DoFrame();
}
