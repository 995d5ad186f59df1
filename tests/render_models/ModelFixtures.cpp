#include "render_models/ModelFixtures.h"

#include "mathutil/D3DXMath.h"
#include "render/model/ModelPrimitives.h"

D3DMATERIAL9 GreyMaterial() {
    D3DMATERIAL9 m;
    m.Diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
    m.Ambient = {0.25f, 0.25f, 0.25f, 1.0f};
    m.Specular = {0.1f, 0.2f, 0.3f, 0.4f};
    m.Emissive = {0.0f, 0.0f, 0.0f, 1.0f};
    m.Power = 8.0f;
    return m;
}

ModelMeshData UnitCube() {
    ModelMeshData mesh;
    AddModelBox(mesh, {-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}, {"cube", "", GreyMaterial()});
    return mesh;
}

ModelMeshData PointMesh(const std::vector<D3DXVECTOR3>& points) {
    ModelMeshData mesh;
    for (const D3DXVECTOR3& p : points) {
        mesh.vertices.push_back({p.x, p.y, p.z, 0, 1, 0, 0, 0});
    }
    return mesh;
}

void PatchI32(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes.at(at + i) = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
    }
}

std::string ExceptionText(const std::function<void()>& action) {
    try {
        action();
    } catch (const CADVException& e) {
        return e.GetText();
    }
    return "";
}
