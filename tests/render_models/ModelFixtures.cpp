#include "render_models/ModelFixtures.h"

#include "mathutil/D3DXMath.h"

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
    const D3DXVECTOR3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int axis = 0; axis < 3; ++axis) {
        for (float sign : {-1.0f, 1.0f}) {
            const D3DXVECTOR3 n = sign * axes[axis];
            // a x b = n, so the corners below run counter-clockwise about n.
            const D3DXVECTOR3 a = sign * axes[(axis + 1) % 3];
            const D3DXVECTOR3 b = axes[(axis + 2) % 3];
            const auto base = static_cast<std::uint32_t>(mesh.vertices.size());
            const D3DXVECTOR3 c = 0.5f * n;
            for (const auto& [s, t] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}}) {
                const D3DXVECTOR3 p = c + 0.5f * s * a + 0.5f * t * b;
                mesh.vertices.push_back({p.x, p.y, p.z, n.x, n.y, n.z, (s + 1) / 2, (t + 1) / 2});
            }
            mesh.indices.insert(mesh.indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
        }
    }
    mesh.materials.push_back(
        {"cube", "", GreyMaterial(), false, 0, static_cast<std::int32_t>(mesh.indices.size())});
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
