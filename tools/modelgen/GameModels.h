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
//   hero.spr   the player's figure (FigureModels.h)
//   guard.spr  the gatekeeper, the same figure in other colours
// and the props of GeneratePropModels.
std::vector<GeneratedFile> GenerateGameModels();
