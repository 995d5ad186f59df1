#include "GameModels.h"

#include "FigureModels.h"
#include "ModelParts.h"
#include "PropModels.h"
#include "render/model/ModelPrimitives.h"

#include <utility>

namespace {

constexpr D3DCOLORVALUE kWhite{1.0f, 1.0f, 1.0f, 1.0f};

// A flat, tessellated rectangle: a floor or a mirror, whose plane is that of
// its first triangle, facing `normal`.
std::vector<std::uint8_t> Surface(const D3DXVECTOR3& origin, const D3DXVECTOR3& across, const D3DXVECTOR3& up,
                                  int cells, const D3DXVECTOR3& normal, ModelMaterialData material) {
    ModelMeshData mesh;
    AddModelGrid(mesh, origin, across, up, cells, normal, std::move(material));
    return CModelWriter::WriteMesh(mesh);
}

std::vector<std::uint8_t> Lamp() {
    ModelMeshData mesh;
    AddModelBox(mesh, {-0.06f, 0.0f, -0.06f}, {0.06f, 1.6f, 0.06f},
                ColourMaterial("post", "", {0.25f, 0.25f, 0.28f, 1.0f}));
    AddModelBox(mesh, {-0.15f, 1.6f, -0.15f}, {0.15f, 1.9f, 0.15f},
                ColourMaterial("glow", "", {1.0f, 0.9f, 0.5f, 1.0f}, {1.0f, 0.8f, 0.3f, 1.0f}));
    return CModelWriter::WriteMesh(mesh);
}

} // namespace

std::vector<GeneratedFile> GenerateGameModels() {
    std::vector<GeneratedFile> files{
        // Vertices every metre, so that the lamp and the spotlight light pools on it.
        {"floor.ims", Surface({-10.0f, 0.0f, -10.0f}, {20.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 20.0f}, 20,
                              {0.0f, 1.0f, 0.0f}, ColourMaterial("floor", "checker.tga", kWhite))},
        // As large as a wall segment's face, to stand in for one; dark, as the
        // mirror's own colour is added onto what it reflects.
        {"mirror.ims",
         Surface({-4.0f, 0.0f, 0.0f}, {8.0f, 0.0f, 0.0f}, {0.0f, 2.5f, 0.0f}, 8, {0.0f, 0.0f, -1.0f},
                 ColourMaterial("mirror", "", {0.08f, 0.08f, 0.1f, 1.0f}))},
        {"wall.ims",
         SingleBoxModel({-4.0f, 0.0f, -0.15f}, {4.0f, 2.5f, 0.15f}, ColourMaterial("wall", "wall.tga", kWhite))},
        {"crate.ims",
         SingleBoxModel({-0.5f, 0.0f, -0.5f}, {0.5f, 1.0f, 0.5f}, ColourMaterial("crate", "crate.tga", kWhite))},
        {"block.ims", SingleBoxModel({-0.3f, 0.0f, -0.3f}, {0.3f, 0.6f, 0.3f},
                                ColourMaterial("block", "", {0.7f, 0.15f, 0.1f, 1.0f}))},
        {"glass.ims", SingleBoxModel({-0.4f, 0.0f, -0.4f}, {0.4f, 0.8f, 0.4f},
                                ColourMaterial("glass", "", {0.5f, 0.7f, 1.0f, 0.4f}))},
        {"lamp.ims", Lamp()},
        {"hero.spr", FigureSprite(kHeroColours)},
        {"guard.spr", FigureSprite(kGuardColours)},
    };
    for (GeneratedFile& prop : GeneratePropModels()) {
        files.push_back(std::move(prop));
    }
    return files;
}
