#pragma once

#include "FixtureGame.h"

#include <string>
#include <utility>

// A small room to play in with mouse and keyboard: a red box and a door to
// click, a hero under the player's control, a key in the inventory. The camera
// looks almost straight down from 10 units up, so screen x follows world x and
// screen y follows world -z. Its scripts log every action and event into the
// state store for the tests to read from the dumped state.
FixtureFiles PlayGameFiles();

// A game to save and load: it starts in "entry", which switches to "hall"; a
// typed "change" alters every kind of saved state there, and the hall's
// scripts write what they see into the stores.
FixtureFiles SaveGameFiles();

// The back-buffer pixel (1024 x 768) that shows the ground point (x, z) at
// `height` above the floor.
std::pair<int, int> PlayGamePixel(float x, float z, float height = 0.0f);
