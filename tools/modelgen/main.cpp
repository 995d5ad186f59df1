// morvane-modelgen: writes the sample game's models and textures.

#include "GameModels.h"
#include "GameTextures.h"

#include <filesystem>

namespace {

constexpr const char* kUsage =
    R"(Usage: morvane-modelgen OUT_DIR

Writes the sample game's models into OUT_DIR/models/ and their textures into
OUT_DIR/textures/ (both created when missing), which the game loads as
"data\models\..." and "data\textures\...":
  floor.ims   flat ground at y = 0, facing up, textured with checker.tga
  wall.ims    wall segment, textured with wall.tga
  crate.ims   crate, textured with crate.tga
  block.ims   untextured box
  glass.ims   transparent box
  mirror.ims  upright rectangle facing -z, the size of a wall's face
  lamp.ims    post with a glowing head (emissive material)
  hero.spr    figure with the animations "idle" and "walk"
  guard.spr   the same figure in other colours
  gate.ims, backdrop.ims, door.ims, bench.ims, shelf.ims, crowbar.ims, oilcan.ims,
  lantern.ims, hatch.ims, stairs.ims, barrel.ims, key.ims
              the props of the workshop, the cellar and the puzzle
  checker.tga, crate.tga, wall.tga, boards.tga, flagstones.tga
              uncompressed 32-bit TGA
The files are computed, not drawn by hand: every run writes the same bytes.

Exit status: 0 on success, 1 when a file cannot be written, 2 on bad usage.
)";

} // namespace

int main(int argc, char** argv) {
    return RunGeneratorTool(argc, argv, kUsage, [](const std::filesystem::path& out) {
        WriteGeneratedFiles("morvane-modelgen", out / "models", GenerateGameModels());
        WriteGeneratedFiles("morvane-modelgen", out / "textures", GenerateGameTextures());
    });
}
