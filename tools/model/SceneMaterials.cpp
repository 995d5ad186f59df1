#include "SceneMaterials.h"

#include "ImportedScene.h"
#include "render/model/SpreshTypes.h"
#include "resources/CADVException.h"

#include <assimp/material.h>
#include <assimp/scene.h>

#include <algorithm>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

D3DCOLORVALUE Colour(const aiColor4D& c, float alpha) {
    return {c.r, c.g, c.b, alpha};
}

// glTF names its colour "base", OBJ and most other formats "diffuse".
aiColor4D DiffuseColour(const aiMaterial& material) {
    aiColor4D colour(1, 1, 1, 1);
    if (material.Get(AI_MATKEY_BASE_COLOR, colour) != AI_SUCCESS) {
        material.Get(AI_MATKEY_COLOR_DIFFUSE, colour);
    }
    return colour;
}

// Importers give the alpha as the colour's fourth value, as an opacity, or as
// both at once; the smaller one is never counted twice.
float Alpha(const aiMaterial& material, const aiColor4D& diffuse) {
    float opacity = 1.0f;
    material.Get(AI_MATKEY_OPACITY, opacity);
    return std::clamp(std::min(diffuse.a, opacity), 0.0f, 1.0f);
}

std::string TextureName(const ImportedScene& scene, const aiMaterial& material) {
    aiString path;
    if (material.GetTexture(aiTextureType_BASE_COLOR, 0, &path) != AI_SUCCESS &&
        material.GetTexture(aiTextureType_DIFFUSE, 0, &path) != AI_SUCCESS) {
        return {};
    }
    const std::string input = scene.Input().string();
    const std::string named = path.C_Str();
    if (named.empty() || named.front() == '*') {
        throw CADVException("morvane-model - %s: material '%s' has a texture inside the model file; keep the "
                            "texture as a file in the model's folder",
                            input.c_str(), material.GetName().C_Str());
    }
    std::string file = named;
    std::replace(file.begin(), file.end(), '\\', '/');
    const fs::path relative = fs::path(file).lexically_normal();
    if (relative.is_absolute() || relative.empty() || *relative.begin() == "..") {
        throw CADVException("morvane-model - %s: texture '%s' lies outside the model's folder", input.c_str(),
                            named.c_str());
    }
    // The engine names textures by their path below its texture folder, folders
    // joined with backslashes as in the game's archives.
    std::string name;
    for (const fs::path& part : relative) {
        name += (name.empty() ? "" : "\\") + part.string();
    }
    return name;
}

void CheckName(const ImportedScene& scene, const char* what, const std::string& name) {
    if (name.size() > static_cast<std::size_t>(kMaxSpreshNameLength)) {
        throw CADVException("morvane-model - %s: %s name '%s' is longer than %d bytes",
                            scene.Input().string().c_str(), what, name.c_str(), kMaxSpreshNameLength);
    }
}

} // namespace

std::vector<ModelMaterialData> ConvertMaterials(const ImportedScene& scene) {
    const aiScene& s = scene.Scene();
    std::vector<ModelMaterialData> materials;
    std::set<std::string> taken;
    for (unsigned i = 0; i < s.mNumMaterials; ++i) {
        const aiMaterial& source = *s.mMaterials[i];
        ModelMaterialData data;
        const std::string base = source.GetName().length > 0 ? source.GetName().C_Str() : "material";
        data.name = base;
        for (int n = 2; !taken.insert(data.name).second; ++n) {
            data.name = base + "#" + std::to_string(n);
        }
        CheckName(scene, "material", data.name);
        data.texture = TextureName(scene, source);
        CheckName(scene, "texture", data.texture);
        const aiColor4D diffuse = DiffuseColour(source);
        const float alpha = Alpha(source, diffuse);
        aiColor4D emissive(0, 0, 0, 0);
        source.Get(AI_MATKEY_COLOR_EMISSIVE, emissive);
        data.material.Diffuse = Colour(diffuse, alpha);
        // Scene light lights a model as it lights its diffuse colour.
        data.material.Ambient = data.material.Diffuse;
        data.material.Emissive = Colour(emissive, 0.0f);
        data.transparent = alpha < 1.0f;
        materials.push_back(std::move(data));
    }
    return materials;
}
