// morvane-modelgen: writes the sample game's models and textures.

#include "GameModels.h"
#include "GameTextures.h"

#include "resources/CADVException.h"
#include "resources/FileBytes.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

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
  checker.tga, crate.tga, wall.tga   uncompressed 32-bit TGA
The files are computed, not drawn by hand: every run writes the same bytes.

Exit status: 0 on success, 1 when a file cannot be written, 2 on bad usage.
)";

int Usage() {
    std::cerr << kUsage;
    return 2;
}

void WriteFiles(const std::filesystem::path& folder, const std::vector<GeneratedFile>& files) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw CADVException("morvane-modelgen - cannot create %s: %s", folder.string().c_str(),
                            error.message().c_str());
    }
    for (const GeneratedFile& file : files) {
        WriteWholeFileReplacing(folder / file.name, file.bytes);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-' || argv[1][0] == '\0') {
        return Usage();
    }
    try {
        const std::filesystem::path out(argv[1]);
        WriteFiles(out / "models", GenerateGameModels());
        WriteFiles(out / "textures", GenerateGameTextures());
    } catch (const CADVException& e) {
        std::cerr << e.GetText() << "\n";
        return 1;
    }
    return 0;
}
