#include "ModelConverter.h"

#include "ImportedScene.h"
#include "SceneBaker.h"
#include "SceneMaterials.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "resources/CADVException.h"
#include "resources/FileBytes.h"

#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

// Indices are 16 bits wide once the engine has read them.
constexpr std::size_t kMaxVertices = 65536;

struct KeptAnimation {
    const aiAnimation* source;
    std::string name;
};

std::string AnimationName(const aiAnimation& animation, unsigned index) {
    return animation.mName.length > 0 ? animation.mName.C_Str() : "animation" + std::to_string(index);
}

std::vector<KeptAnimation> KeptAnimations(const ImportedScene& scene, const ConvertOptions& options) {
    const aiScene& s = scene.Scene();
    const std::string input = scene.Input().string();
    std::vector<KeptAnimation> all;
    for (unsigned a = 0; a < s.mNumAnimations; ++a) {
        all.push_back({s.mAnimations[a], AnimationName(*s.mAnimations[a], a)});
    }
    std::vector<KeptAnimation> kept;
    if (options.animations.empty()) {
        kept = all;
    }
    for (const AnimationChoice& choice : options.animations) {
        const auto found = std::find_if(
            all.begin(), all.end(), [&choice](const KeptAnimation& a) { return a.name == choice.source; });
        if (found == all.end()) {
            std::string names;
            for (const KeptAnimation& a : all) {
                names += (names.empty() ? "'" : ", '") + a.name + "'";
            }
            throw CADVException("morvane-model - %s: has no animation '%s' (it has %s)", input.c_str(),
                                choice.source.c_str(), names.empty() ? "none" : names.c_str());
        }
        kept.push_back({found->source, choice.name});
    }
    std::set<std::string> names;
    for (const KeptAnimation& a : kept) {
        if (a.source->mNumMeshChannels > 0 || a.source->mNumMorphMeshChannels > 0) {
            throw CADVException("morvane-model - %s: animation '%s' moves vertices by morph targets, which "
                                "cannot be converted; animate nodes or bones instead",
                                input.c_str(), a.source->mName.C_Str());
        }
        if (a.name.size() > static_cast<std::size_t>(kMaxSpreshNameLength)) {
            throw CADVException("morvane-model - %s: animation name '%s' is longer than %d bytes",
                                input.c_str(), a.name.c_str(), kMaxSpreshNameLength);
        }
        // The engine would run two animations of one name one after the other.
        if (!names.insert(a.name).second) {
            throw CADVException("morvane-model - %s: two animations would be named '%s'", input.c_str(),
                                a.name.c_str());
        }
    }
    return kept;
}

// Frames at 0, 1/fps, 2/fps, ... up to the animation's end; a looping
// animation's last key equals its first, so that moment is left to frame 0.
ModelAnimationData SampleAnimation(const SceneBaker& baker, const KeptAnimation& kept, float fps) {
    const aiAnimation& animation = *kept.source;
    // Files that give no rate count in Assimp's default of 25 ticks a second.
    const double ticksPerSecond = animation.mTicksPerSecond > 0 ? animation.mTicksPerSecond : 25.0;
    const double seconds = animation.mDuration / ticksPerSecond;
    const long frames = std::max(1L, std::lround(seconds * fps));
    ModelAnimationData data{kept.name, {}};
    for (long i = 0; i < frames; ++i) {
        data.frames.push_back(baker.Pose(animation, static_cast<double>(i) / fps * ticksPerSecond));
    }
    return data;
}

void CheckVertexCount(const ImportedScene& scene, const ModelMeshData& mesh) {
    if (mesh.vertices.size() > kMaxVertices) {
        throw CADVException("morvane-model - %s: %zu vertices, more than the 65 536 a model can hold",
                            scene.Input().string().c_str(), mesh.vertices.size());
    }
}

// Reads the model back as the engine does, which also computes its outline
// with the engine's own code, and gives the collision file it would write.
std::vector<std::uint8_t> CollisionFile(const std::filesystem::path& output,
                                        std::vector<std::uint8_t> model) {
    const std::string name = output.filename().string();
    CMemoryModelHost host;
    host.AddFile(name, std::move(model));
    C3DSpresh spresh(host, name);
    spresh.Load(true);
    // A converted model always has a frame: the scene has at least one mesh.
    return CModelWriter::WriteCollision(spresh.CollisionFileFrame()->outline);
}

} // namespace

void ConvertModel(const std::filesystem::path& input, const std::filesystem::path& output,
                  const ConvertOptions& options) {
    const ImportedScene scene(input);
    const std::vector<KeptAnimation> animations = KeptAnimations(scene, options);
    const SceneBaker baker(scene.Scene(), options, ConvertMaterials(scene));
    // Every pose has the rest pose's vertices, so one count checks them all.
    const ModelMeshData rest = baker.RestPose();
    CheckVertexCount(scene, rest);
    std::vector<std::uint8_t> model;
    if (animations.empty()) {
        model = CModelWriter::WriteMesh(rest);
    } else {
        std::vector<ModelAnimationData> sprite;
        for (const KeptAnimation& animation : animations) {
            sprite.push_back(SampleAnimation(baker, animation, options.fps));
        }
        model = CModelWriter::WriteSprite(sprite);
    }
    const std::vector<std::uint8_t> collision = CollisionFile(output, model);
    WriteWholeFileReplacing(output.string() + ".col", collision);
    WriteWholeFileReplacing(output, model);
}
