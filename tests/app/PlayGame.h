#pragma once

#include "FixtureGame.h"

#include "app/CGame.h"
#include "platform/DClock.h"
#include "platform/DWindow.h"
#include "support/TempDir.h"

#include <memory>
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

// The play game started headless on a hand-stepped clock, one frame run.
class RunningPlayGame {
public:
    RunningPlayGame();
    // A new game in the same window, as if the program had started again.
    void Restart();
    CGame& Game() { return *m_game; }

private:
    TempDir m_dir;
    DClock m_clock{DClock::Mode::Manual, 5000};
    DWindow m_window{true};
    std::unique_ptr<CGame> m_game;
};
