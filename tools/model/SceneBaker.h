#pragma once

#include "ConvertOptions.h"
#include "render/model/CModelWriter.h"

#include <assimp/matrix4x4.h>

#include <map>
#include <string>
#include <vector>

struct aiAnimation;
struct aiMesh;
struct aiNode;
struct aiNodeAnim;
struct aiScene;

// Bakes a scene into one frame mesh of the engine: every mesh of every node in
// model space (skinned meshes placed by their bones), posed at rest or at a
// moment of an animation, then scaled, turned and mirrored as the options say.
// Triangles are grouped by material, one material range each, in the order of
// the scene's materials; every pose has the same vertices in the same order.
class SceneBaker {
public:
    // `materials` holds the engine's material for each of the scene's.
    SceneBaker(const aiScene& scene, const ConvertOptions& options, std::vector<ModelMaterialData> materials);

    ModelMeshData RestPose() const;
    // The pose `ticks` (the animation's own time unit) into the animation;
    // keys are interpolated linearly, rotations spherically.
    ModelMeshData Pose(const aiAnimation& animation, double ticks) const;

private:
    using Channels = std::map<std::string, const aiNodeAnim*>;

    // Every node's transform in model space, the animated ones sampled at `ticks`.
    std::vector<aiMatrix4x4> Globals(const Channels& channels, double ticks) const;
    ModelMeshData Build(const std::vector<aiMatrix4x4>& globals) const;
    void AddVertices(const aiMesh& mesh, const aiMatrix4x4& placement,
                     const std::vector<aiMatrix4x4>& globals, ModelMeshData& out) const;
    SpreshVertex EngineVertex(const aiVector3D& position, const aiVector3D& normal, const aiMesh& mesh,
                              unsigned index) const;

    const aiScene& m_scene;
    ConvertOptions m_options;
    std::vector<ModelMaterialData> m_materials;
    // Every node, parents before their children, and where each one's parent is.
    std::vector<const aiNode*> m_nodes;
    std::vector<int> m_parents;
    std::map<std::string, std::size_t> m_nodeByName;
};
