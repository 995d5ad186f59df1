#include "SceneBaker.h"

#include <assimp/anim.h>
#include <assimp/scene.h>

#include <cmath>
#include <utility>

namespace {

template <class Key, class Value, class Blend>
Value Sample(const Key* keys, unsigned count, double ticks, const Value& rest, Blend blend) {
    if (count == 0) {
        return rest;
    }
    if (ticks <= keys[0].mTime) {
        return keys[0].mValue;
    }
    for (unsigned i = 0; i + 1 < count; ++i) {
        if (ticks < keys[i + 1].mTime) {
            const double span = keys[i + 1].mTime - keys[i].mTime;
            const float f = span > 0 ? static_cast<float>((ticks - keys[i].mTime) / span) : 0.0f;
            return blend(keys[i].mValue, keys[i + 1].mValue, f);
        }
    }
    return keys[count - 1].mValue;
}

aiMatrix4x4 SampleChannel(const aiNodeAnim& channel, const aiMatrix4x4& rest, double ticks) {
    aiVector3D restScaling;
    aiQuaternion restRotation;
    aiVector3D restPosition;
    rest.Decompose(restScaling, restRotation, restPosition);
    const auto lerp = [](const aiVector3D& a, const aiVector3D& b, float f) { return a + (b - a) * f; };
    const auto slerp = [](const aiQuaternion& a, const aiQuaternion& b, float f) {
        aiQuaternion out;
        aiQuaternion::Interpolate(out, a, b, f);
        return out.Normalize();
    };
    return aiMatrix4x4(Sample(channel.mScalingKeys, channel.mNumScalingKeys, ticks, restScaling, lerp),
                       Sample(channel.mRotationKeys, channel.mNumRotationKeys, ticks, restRotation, slerp),
                       Sample(channel.mPositionKeys, channel.mNumPositionKeys, ticks, restPosition, lerp));
}

// Normals follow a transform by its inverse transpose, which keeps them upright
// on surfaces that a non-uniform scale has tilted.
aiMatrix3x3 NormalMatrix(const aiMatrix4x4& m) {
    return aiMatrix3x3(m).Inverse().Transpose();
}

} // namespace

SceneBaker::SceneBaker(const aiScene& scene, const ConvertOptions& options,
                       std::vector<ModelMaterialData> materials)
    : m_scene(scene), m_options(options), m_materials(std::move(materials)) {
    std::vector<std::pair<const aiNode*, int>> pending{{scene.mRootNode, -1}};
    while (!pending.empty()) {
        const auto [node, parent] = pending.back();
        pending.pop_back();
        const int index = static_cast<int>(m_nodes.size());
        m_nodes.push_back(node);
        m_parents.push_back(parent);
        m_nodeByName.emplace(node->mName.C_Str(), m_nodes.size() - 1);
        for (unsigned c = node->mNumChildren; c-- > 0;) {
            pending.emplace_back(node->mChildren[c], index);
        }
    }
}

ModelMeshData SceneBaker::RestPose() const {
    return Build(Globals({}, 0.0));
}

ModelMeshData SceneBaker::Pose(const aiAnimation& animation, double ticks) const {
    Channels channels;
    for (unsigned c = 0; c < animation.mNumChannels; ++c) {
        channels.emplace(animation.mChannels[c]->mNodeName.C_Str(), animation.mChannels[c]);
    }
    return Build(Globals(channels, ticks));
}

std::vector<aiMatrix4x4> SceneBaker::Globals(const Channels& channels, double ticks) const {
    std::vector<aiMatrix4x4> globals(m_nodes.size());
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        const aiNode& node = *m_nodes[i];
        const auto channel = channels.find(node.mName.C_Str());
        const aiMatrix4x4 local = channel == channels.end()
                                      ? node.mTransformation
                                      : SampleChannel(*channel->second, node.mTransformation, ticks);
        globals[i] = m_parents[i] < 0 ? local : globals[static_cast<std::size_t>(m_parents[i])] * local;
    }
    return globals;
}

ModelMeshData SceneBaker::Build(const std::vector<aiMatrix4x4>& globals) const {
    ModelMeshData out;
    // Where each placed mesh's vertices begin, in node order.
    std::vector<std::pair<const aiMesh*, std::uint32_t>> placed;
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        for (unsigned m = 0; m < m_nodes[i]->mNumMeshes; ++m) {
            const aiMesh& mesh = *m_scene.mMeshes[m_nodes[i]->mMeshes[m]];
            placed.emplace_back(&mesh, static_cast<std::uint32_t>(out.vertices.size()));
            AddVertices(mesh, globals[i], globals, out);
        }
    }
    // Mirroring turns the winding round; swapping two corners turns it back.
    const unsigned second = m_options.flipHandedness ? 2 : 1;
    for (unsigned material = 0; material < m_materials.size(); ++material) {
        ModelMaterialData range = m_materials[material];
        range.firstIndex = static_cast<std::int32_t>(out.indices.size());
        for (const auto& [mesh, base] : placed) {
            if (mesh->mMaterialIndex != material) {
                continue;
            }
            for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
                const unsigned* corner = mesh->mFaces[f].mIndices;
                out.indices.insert(out.indices.end(),
                                   {base + corner[0], base + corner[second], base + corner[3 - second]});
            }
        }
        range.indexCount = static_cast<std::int32_t>(out.indices.size()) - range.firstIndex;
        if (range.indexCount > 0) {
            out.materials.push_back(std::move(range));
        }
    }
    return out;
}

void SceneBaker::AddVertices(const aiMesh& mesh, const aiMatrix4x4& placement,
                             const std::vector<aiMatrix4x4>& globals, ModelMeshData& out) const {
    std::vector<aiVector3D> positions(mesh.mNumVertices);
    std::vector<aiVector3D> normals(mesh.mNumVertices);
    std::vector<float> weights(mesh.mNumVertices, 0.0f);
    // A skinned vertex is where its bones carry it: the weighted sum of each
    // bone's pose times the bone's inverse bind matrix, whatever its node's own place.
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        const aiBone& bone = *mesh.mBones[b];
        const auto node = m_nodeByName.find(bone.mName.C_Str());
        if (node == m_nodeByName.end()) {
            continue;
        }
        const aiMatrix4x4 skin = globals[node->second] * bone.mOffsetMatrix;
        const aiMatrix3x3 normalSkin = NormalMatrix(skin);
        for (unsigned w = 0; w < bone.mNumWeights; ++w) {
            const aiVertexWeight& weight = bone.mWeights[w];
            positions[weight.mVertexId] += (skin * mesh.mVertices[weight.mVertexId]) * weight.mWeight;
            if (mesh.mNormals) {
                normals[weight.mVertexId] += (normalSkin * mesh.mNormals[weight.mVertexId]) * weight.mWeight;
            }
            weights[weight.mVertexId] += weight.mWeight;
        }
    }
    const aiMatrix3x3 normalPlacement = NormalMatrix(placement);
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
        if (weights[v] > 0.0f) {
            positions[v] /= weights[v];
        } else {
            positions[v] = placement * mesh.mVertices[v];
            normals[v] = mesh.mNormals ? normalPlacement * mesh.mNormals[v] : aiVector3D();
        }
        out.vertices.push_back(EngineVertex(positions[v], normals[v].NormalizeSafe(), mesh, v));
    }
}

SpreshVertex SceneBaker::EngineVertex(const aiVector3D& position, const aiVector3D& normal,
                                      const aiMesh& mesh, unsigned index) const {
    // Negations subtract from 0, so that 0 stays 0 and is never printed as -0.
    const auto turn = [this](const aiVector3D& v) {
        // z up, y away from the viewer becomes y up, z towards the viewer.
        aiVector3D r = m_options.up == UpAxis::Z ? aiVector3D(v.x, v.z, 0.0f - v.y) : v;
        if (m_options.flipHandedness) {
            r.z = 0.0f - r.z;
        }
        return r;
    };
    const aiVector3D p = turn(position) * m_options.scale;
    const aiVector3D n = turn(normal);
    const aiVector3D uv = mesh.mTextureCoords[0] ? mesh.mTextureCoords[0][index] : aiVector3D();
    return {p.x, p.y, p.z, n.x, n.y, n.z, uv.x, uv.y};
}
