#include "FigureModels.h"

#include "ModelParts.h"
#include "render/model/ModelPrimitives.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

namespace {

// The pose of the figure in one frame: limb angles in radians about the hip
// and shoulder axes, and how far each foot is lifted off the ground.
struct FigurePose {
    float leftLeg = 0.0f;
    float rightLeg = 0.0f;
    float leftArm = 0.0f;
    float rightArm = 0.0f;
    float leftLift = 0.0f;
    float rightLift = 0.0f;
};

ModelMeshData FigureFrame(const FigureColours& colours, const FigurePose& pose) {
    const D3DCOLORVALUE& skin = colours.skin;
    const D3DCOLORVALUE& shirt = colours.shirt;
    const D3DCOLORVALUE& trousers = colours.trousers;
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

} // namespace

std::vector<std::uint8_t> FigureSprite(const FigureColours& colours) {
    ModelAnimationData idle{"idle", {}};
    for (int i = 0; i < kIdleFrames; ++i) {
        // A slight breath: the arms open a little in the second frame.
        const float arm = 0.04f * static_cast<float>(i);
        idle.frames.push_back(FigureFrame(colours, {0.0f, 0.0f, arm, -arm, 0.0f, 0.0f}));
    }
    ModelAnimationData walk{"walk", {}};
    for (int i = 0; i < kWalkFrames; ++i) {
        const float phase = 2.0f * std::numbers::pi_v<float> * static_cast<float>(i) / kWalkFrames;
        const float swing = 0.5f * std::sin(phase);
        // The foot swinging through is lifted, so the two halves of the
        // stride (same angles, opposite directions) differ.
        const float lift = 0.06f * std::cos(phase);
        walk.frames.push_back(FigureFrame(colours, 
            {swing, -swing, -0.8f * swing, 0.8f * swing, std::max(lift, 0.0f), std::max(-lift, 0.0f)}));
    }
    return CModelWriter::WriteSprite({idle, walk});
}

