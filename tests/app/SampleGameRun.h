#pragma once

#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <string>

// One headless run of the sample game as the build packs it, on a fixed
// step, with its own settings and savegame folder.
struct SampleGameResult {
    ProgramResult program;
    // The stores as dumped when the run ended.
    std::string json;
};

class SampleGameRun {
public:
    // Milliseconds of game time per frame.
    explicit SampleGameRun(int stepMs = 50) : m_stepMs(stepMs) {}

    // Plays `inputFile` for at most `frames` frames; `startScene` (when not
    // empty) is where the run starts instead of the game's first scene.
    SampleGameResult Play(const std::filesystem::path& inputFile, int frames, const std::string& startScene = "");
    // The same with the input given as text.
    SampleGameResult PlayText(const std::string& input, int frames, const std::string& startScene = "");

    std::filesystem::path Saves() const { return m_dir / "saves"; }

private:
    int m_stepMs;
    TempDir m_dir;
};
