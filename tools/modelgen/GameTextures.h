#pragma once

#include "GeneratorTool.h"

#include <vector>

// The sample game's textures, drawn by code so the project ships no binary
// images; uncompressed TGA, every run the same bytes, each kTextureSize
// square (a power of two, which every device accepts).
//
//   checker.tga  8 x 8 light and dark stone squares (the floor)
//   crate.tga    horizontal planks in a frame (crates)
//   wall.tga     bricks in offset rows with mortar joints (walls)
//   boards.tga   floorboards (the workshop's floor, as a skin of floor.ims)
//   flagstones.tga  stone slabs (the cellar's floor, the same way)
//   arrow.png    the mouse pointer the engine draws
std::vector<GeneratedFile> GenerateGameTextures();

constexpr int kTextureSize = 128;
