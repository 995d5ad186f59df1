#include "PlayGame.h"

#include "render/CModelWriter.h"
#include "render/ModelPrimitives.h"
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

} // namespace

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
