#include "PropModels.h"

#include "ModelParts.h"
#include "render/model/ModelPrimitives.h"

#include <string>
#include <utility>

namespace {

constexpr D3DCOLORVALUE kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr D3DCOLORVALUE kIron{0.32f, 0.32f, 0.35f, 1.0f};
constexpr D3DCOLORVALUE kBrass{0.85f, 0.65f, 0.2f, 1.0f};

// Material names must differ within a mesh: a later material of the same
// name replaces the earlier one when the model is read, and its triangles
// are not drawn.
std::string Numbered(const char* name, int number) {
    return name + std::to_string(number);
}

// The planks of the crates serve every wooden prop.
ModelMaterialData Wood(std::string name) {
    return ColourMaterial(std::move(name), "crate.tga", kWhite);
}

std::vector<std::uint8_t> Gate() {
    ModelMeshData mesh;
    AddModelBox(mesh, {0.0f, 0.15f, -0.05f}, {4.0f, 0.27f, 0.05f}, ColourMaterial("lowrail", "", kIron));
    AddModelBox(mesh, {0.0f, 2.3f, -0.05f}, {4.0f, 2.42f, 0.05f}, ColourMaterial("toprail", "", kIron));
    for (int bar = 0; bar <= 10; ++bar) {
        const float x = 0.05f + 0.39f * static_cast<float>(bar);
        AddModelBox(mesh, {x - 0.05f, 0.0f, -0.05f}, {x + 0.05f, 2.5f, 0.05f}, ColourMaterial(Numbered("bar", bar), "", kIron));
    }
    AddModelBox(mesh, {3.7f, 1.1f, -0.1f}, {3.9f, 1.35f, 0.1f}, ColourMaterial("lock", "", kBrass));
    return CModelWriter::WriteMesh(mesh);
}

// What is seen through the gate: a hazy sky, upright and facing -z, glowing
// by itself so that no light has to reach it.
std::vector<std::uint8_t> Backdrop() {
    ModelMeshData mesh;
    const D3DCOLORVALUE haze{0.65f, 0.72f, 0.8f, 1.0f};
    AddModelGrid(mesh, {-30.0f, 0.0f, 0.0f}, {60.0f, 0.0f, 0.0f}, {0.0f, 20.0f, 0.0f}, 1, {0.0f, 0.0f, -1.0f},
                 ColourMaterial("sky", "", haze, haze));
    return CModelWriter::WriteMesh(mesh);
}

std::vector<std::uint8_t> Bench() {
    ModelMeshData mesh;
    AddModelBox(mesh, {-1.1f, 0.8f, -0.4f}, {1.1f, 0.9f, 0.4f}, Wood("top"));
    int leg = 0;
    for (const float x : {-1.0f, 0.9f}) {
        for (const float z : {-0.35f, 0.25f}) {
            AddModelBox(mesh, {x, 0.0f, z}, {x + 0.1f, 0.8f, z + 0.1f}, Wood(Numbered("leg", leg++)));
        }
    }
    return CModelWriter::WriteMesh(mesh);
}

std::vector<std::uint8_t> Shelf() {
    ModelMeshData mesh;
    AddModelBox(mesh, {-1.0f, 0.0f, -0.2f}, {-0.94f, 1.8f, 0.2f}, Wood("leftside"));
    AddModelBox(mesh, {0.94f, 0.0f, -0.2f}, {1.0f, 1.8f, 0.2f}, Wood("rightside"));
    int board = 0;
    for (const float y : {0.3f, 1.0f, 1.7f}) {
        AddModelBox(mesh, {-0.94f, y, -0.2f}, {0.94f, y + 0.05f, 0.2f}, Wood(Numbered("board", board++)));
    }
    return CModelWriter::WriteMesh(mesh);
}

std::vector<std::uint8_t> OilCan() {
    ModelMeshData mesh;
    const D3DCOLORVALUE green{0.15f, 0.45f, 0.2f, 1.0f};
    AddModelBox(mesh, {-0.12f, 0.0f, -0.12f}, {0.12f, 0.3f, 0.12f}, ColourMaterial("can", "", green));
    AddSwungBox(mesh, {-0.3f, 0.25f, -0.02f}, {-0.1f, 0.29f, 0.02f}, ColourMaterial("spout", "", kIron),
                {-0.1f, 0.27f, 0.0f}, -0.5f);
    return CModelWriter::WriteMesh(mesh);
}

std::vector<std::uint8_t> Lantern() {
    ModelMeshData mesh;
    AddModelBox(mesh, {-0.12f, 0.0f, -0.12f}, {0.12f, 0.05f, 0.12f}, ColourMaterial("base", "", kIron));
    AddModelBox(mesh, {-0.09f, 0.05f, -0.09f}, {0.09f, 0.3f, 0.09f},
                ColourMaterial("flame", "", {0.9f, 0.85f, 0.6f, 1.0f}));
    AddModelBox(mesh, {-0.12f, 0.3f, -0.12f}, {0.12f, 0.36f, 0.12f}, ColourMaterial("cap", "", kIron));
    AddModelBox(mesh, {-0.02f, 0.36f, -0.08f}, {0.02f, 0.46f, 0.08f}, ColourMaterial("handle", "", kIron));
    return CModelWriter::WriteMesh(mesh);
}

std::vector<std::uint8_t> Stairs() {
    ModelMeshData mesh;
    for (int step = 0; step < 5; ++step) {
        const float x = 0.4f * static_cast<float>(step);
        AddModelBox(mesh, {x, 0.0f, -0.7f}, {x + 0.4f, 0.3f * static_cast<float>(step + 1), 0.7f},
                    Wood(Numbered("step", step)));
    }
    return CModelWriter::WriteMesh(mesh);
}

std::vector<std::uint8_t> Barrel() {
    ModelMeshData mesh;
    AddModelBox(mesh, {-0.4f, 0.0f, -0.4f}, {0.4f, 1.1f, 0.4f}, Wood("staves"));
    AddModelBox(mesh, {-0.42f, 0.15f, -0.42f}, {0.42f, 0.21f, 0.42f}, ColourMaterial("lowhoop", "", kIron));
    AddModelBox(mesh, {-0.42f, 0.9f, -0.42f}, {0.42f, 0.96f, 0.42f}, ColourMaterial("tophoop", "", kIron));
    return CModelWriter::WriteMesh(mesh);
}

std::vector<std::uint8_t> Key() {
    ModelMeshData mesh;
    AddModelBox(mesh, {-0.25f, 0.0f, -0.1f}, {-0.05f, 0.03f, 0.1f}, ColourMaterial("bow", "", kBrass));
    AddModelBox(mesh, {-0.05f, 0.0f, -0.02f}, {0.25f, 0.03f, 0.02f}, ColourMaterial("shank", "", kBrass));
    AddModelBox(mesh, {0.17f, 0.0f, 0.02f}, {0.25f, 0.03f, 0.08f}, ColourMaterial("bit", "", kBrass));
    return CModelWriter::WriteMesh(mesh);
}

} // namespace

std::vector<GeneratedFile> GeneratePropModels() {
    return {
        {"gate.ims", Gate()},
        {"backdrop.ims", Backdrop()},
        {"door.ims", SingleBoxModel({-0.7f, 0.0f, -0.05f}, {0.7f, 2.2f, 0.05f}, Wood("door"))},
        {"bench.ims", Bench()},
        {"shelf.ims", Shelf()},
        // Thicker than a real one, so that the cursor finds it on the bench.
        {"crowbar.ims", SingleBoxModel({-0.45f, 0.0f, -0.05f}, {0.45f, 0.09f, 0.05f}, ColourMaterial("bar", "", kIron))},
        {"oilcan.ims", OilCan()},
        {"lantern.ims", Lantern()},
        {"hatch.ims", SingleBoxModel({-0.7f, 0.0f, -0.7f}, {0.7f, 0.06f, 0.7f}, Wood("hatch"))},
        {"stairs.ims", Stairs()},
        {"barrel.ims", Barrel()},
        {"key.ims", Key()},
    };
}
