#pragma once

#include "GeneratorTool.h"

#include <vector>

// The sample game's models, built from boxes so the project ships no binary
// model files. Every run produces the same bytes. Texture names refer to the
// files of GenerateGameTextures.
//
//   floor.ims  20 x 20 ground slab, top at y = 0, checker texture
//   wall.ims   8 long (x), 2.5 high, 0.3 thick, brick texture
//   crate.ims  1 x 1 x 1 plank crate standing on y = 0
//   block.ims  0.6 cube without texture
//   glass.ims  0.8 cube of transparent blue glass
//   lamp.ims   post with a glowing (emissive) head
//   hero.spr   a figure of boxes facing -x, with "idle" (2 frames) and
//              "walk" (kWalkFrames frames, legs and arms swinging)
std::vector<GeneratedFile> GenerateGameModels();

constexpr int kIdleFrames = 2;
constexpr int kWalkFrames = 8;
