#include "ModelParts.h"

#include "render/model/ModelPrimitives.h"

#include <cmath>
#include <utility>

ModelMaterialData ColourMaterial(std::string name, std::string texture, D3DCOLORVALUE diffuse,
                                 D3DCOLORVALUE emissive) {
    ModelMaterialData data;
    data.name = std::move(name);
    data.texture = std::move(texture);
    data.material.Diffuse = diffuse;
    data.material.Ambient = diffuse;
    data.material.Emissive = emissive;
    data.transparent = diffuse.a < 1.0f;
    return data;
}

std::vector<std::uint8_t> SingleBoxModel(const D3DXVECTOR3& min, const D3DXVECTOR3& max, ModelMaterialData material) {
    ModelMeshData mesh;
    AddModelBox(mesh, min, max, std::move(material));
    return CModelWriter::WriteMesh(mesh);
}

void AddSwungBox(ModelMeshData& mesh, const D3DXVECTOR3& min, const D3DXVECTOR3& max,
                 ModelMaterialData material, const D3DXVECTOR3& pivot, float angle) {
    const std::size_t first = mesh.vertices.size();
    AddModelBox(mesh, min, max, std::move(material));
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    for (std::size_t i = first; i < mesh.vertices.size(); ++i) {
        SpreshVertex& v = mesh.vertices[i];
        const float x = v.x - pivot.x;
        const float y = v.y - pivot.y;
        v.x = pivot.x + c * x - s * y;
        v.y = pivot.y + s * x + c * y;
        const float nx = v.nx;
        v.nx = c * nx - s * v.ny;
        v.ny = s * nx + c * v.ny;
    }
}
