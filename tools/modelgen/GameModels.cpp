#include "GameModels.h"

#include "ModelParts.h"
#include "render/ModelPrimitives.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>
#include <utility>

namespace {

constexpr D3DCOLORVALUE kWhite{1.0f, 1.0f, 1.0f, 1.0f};

std::vector<std::uint8_t> SingleBox(const D3DXVECTOR3& min, const D3DXVECTOR3& max,
                                    ModelMaterialData material) {
    ModelMeshData mesh;
    AddModelBox(mesh, min, max, std::move(material));
    return CModelWriter::WriteMesh(mesh);
}

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

// The pose of the figure in one frame: limb angles in radians about the hip
// and shoulder axes, and how far each foot is lifted off the ground.
struct HeroPose {
    float leftLeg = 0.0f;
    float rightLeg = 0.0f;
    float leftArm = 0.0f;
    float rightArm = 0.0f;
    float leftLift = 0.0f;
    float rightLift = 0.0f;
};

ModelMeshData HeroFrame(const HeroPose& pose) {
    const D3DCOLORVALUE skin{0.9f, 0.7f, 0.55f, 1.0f};
    const D3DCOLORVALUE shirt{0.2f, 0.35f, 0.7f, 1.0f};
    const D3DCOLORVALUE trousers{0.3f, 0.25f, 0.2f, 1.0f};
    constexpr float kHip = 0.9f;
    constexpr float kShoulder = 1.45f;
    ModelMeshData mesh;
    AddModelBox(mesh, {-0.12f, kHip, -0.25f}, {0.12f, kShoulder + 0.05f, 0.25f},
                ColourMaterial("torso", "", shirt));
    AddModelBox(mesh, {-0.13f, 1.55f, -0.13f}, {0.13f, 1.85f, 0.13f}, ColourMaterial("head", "", skin));
    // The nose shows which way the figure faces.
    AddModelBox(mesh, {-0.17f, 1.66f, -0.03f}, {-0.13f, 1.72f, 0.03f}, ColourMaterial("nose", "", skin));
    for (const auto& [name, side, angle, lift] :
         {std::tuple{"leftleg", -1.0f, pose.leftLeg, pose.leftLift},
          std::tuple{"rightleg", 1.0f, pose.rightLeg, pose.rightLift}}) {
        const float z = 0.12f * side;
        AddSwungBox(mesh, {-0.09f, lift, z - 0.09f}, {0.09f, kHip + lift, z + 0.09f},
                    ColourMaterial(name, "", trousers), {0.0f, kHip, z}, angle);
    }
    for (const auto& [name, side, angle] :
         {std::tuple{"leftarm", -1.0f, pose.leftArm}, std::tuple{"rightarm", 1.0f, pose.rightArm}}) {
        const float z = 0.32f * side;
        AddSwungBox(mesh, {-0.06f, 0.85f, z - 0.06f}, {0.06f, kShoulder, z + 0.06f},
                    ColourMaterial(name, "", shirt), {0.0f, kShoulder, z}, angle);
    }
    return mesh;
}

std::vector<std::uint8_t> Hero() {
    ModelAnimationData idle{"idle", {}};
    for (int i = 0; i < kIdleFrames; ++i) {
        // A slight breath: the arms open a little in the second frame.
        const float arm = 0.04f * static_cast<float>(i);
        idle.frames.push_back(HeroFrame({0.0f, 0.0f, arm, -arm, 0.0f, 0.0f}));
    }
    ModelAnimationData walk{"walk", {}};
    for (int i = 0; i < kWalkFrames; ++i) {
        const float phase = 2.0f * std::numbers::pi_v<float> * static_cast<float>(i) / kWalkFrames;
        const float swing = 0.5f * std::sin(phase);
        // The foot swinging through is lifted, so the two halves of the
        // stride (same angles, opposite directions) differ.
        const float lift = 0.06f * std::cos(phase);
        walk.frames.push_back(HeroFrame(
            {swing, -swing, -0.8f * swing, 0.8f * swing, std::max(lift, 0.0f), std::max(-lift, 0.0f)}));
    }
    return CModelWriter::WriteSprite({idle, walk});
}

} // namespace

std::vector<GeneratedFile> GenerateGameModels() {
    return {
        // Vertices every metre, so that the lamp and the spotlight light pools on it.
        {"floor.ims", Surface({-10.0f, 0.0f, -10.0f}, {20.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 20.0f}, 20,
                              {0.0f, 1.0f, 0.0f}, ColourMaterial("floor", "checker.tga", kWhite))},
        // As large as a wall segment's face, to stand in for one; dark, as the
        // mirror's own colour is added onto what it reflects.
        {"mirror.ims",
         Surface({-4.0f, 0.0f, 0.0f}, {8.0f, 0.0f, 0.0f}, {0.0f, 2.5f, 0.0f}, 8, {0.0f, 0.0f, -1.0f},
                 ColourMaterial("mirror", "", {0.08f, 0.08f, 0.1f, 1.0f}))},
        {"wall.ims",
         SingleBox({-4.0f, 0.0f, -0.15f}, {4.0f, 2.5f, 0.15f}, ColourMaterial("wall", "wall.tga", kWhite))},
        {"crate.ims",
         SingleBox({-0.5f, 0.0f, -0.5f}, {0.5f, 1.0f, 0.5f}, ColourMaterial("crate", "crate.tga", kWhite))},
        {"block.ims", SingleBox({-0.3f, 0.0f, -0.3f}, {0.3f, 0.6f, 0.3f},
                                ColourMaterial("block", "", {0.7f, 0.15f, 0.1f, 1.0f}))},
        {"glass.ims", SingleBox({-0.4f, 0.0f, -0.4f}, {0.4f, 0.8f, 0.4f},
                                ColourMaterial("glass", "", {0.5f, 0.7f, 1.0f, 0.4f}))},
        {"lamp.ims", Lamp()},
        {"hero.spr", Hero()},
    };
}
