#include "render/model/ModelPrimitives.h"

#include "mathutil/D3DXMath.h"

#include <utility>

void AddModelBox(ModelMeshData& mesh, const D3DXVECTOR3& min, const D3DXVECTOR3& max,
                 ModelMaterialData material) {
    const D3DXVECTOR3 centre = 0.5f * (min + max);
    const D3DXVECTOR3 half = 0.5f * (max - min);
    const auto scaled = [&half](const D3DXVECTOR3& v) {
        return D3DXVECTOR3(v.x * half.x, v.y * half.y, v.z * half.z);
    };
    const D3DXVECTOR3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    material.firstIndex = static_cast<std::int32_t>(mesh.indices.size());
    for (int axis = 0; axis < 3; ++axis) {
        for (float sign : {-1.0f, 1.0f}) {
            const D3DXVECTOR3 n = sign * axes[axis];
            // a x b = n, so the corners below run counter-clockwise about n.
            const D3DXVECTOR3 a = sign * axes[(axis + 1) % 3];
            const D3DXVECTOR3 b = axes[(axis + 2) % 3];
            const auto base = static_cast<std::uint32_t>(mesh.vertices.size());
            for (const auto& [s, t] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}}) {
                const D3DXVECTOR3 p = centre + scaled(n + s * a + t * b);
                mesh.vertices.push_back({p.x, p.y, p.z, n.x, n.y, n.z, (s + 1) / 2, (t + 1) / 2});
            }
            mesh.indices.insert(mesh.indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
        }
    }
    material.indexCount = static_cast<std::int32_t>(mesh.indices.size()) - material.firstIndex;
    mesh.materials.push_back(std::move(material));
}

void AddModelGrid(ModelMeshData& mesh, const D3DXVECTOR3& origin, const D3DXVECTOR3& across,
                  const D3DXVECTOR3& up, int cells, const D3DXVECTOR3& normal, ModelMaterialData material) {
    const auto base = static_cast<std::uint32_t>(mesh.vertices.size());
    for (int i = 0; i <= cells; ++i) {
        for (int j = 0; j <= cells; ++j) {
            const float s = static_cast<float>(i) / static_cast<float>(cells);
            const float t = static_cast<float>(j) / static_cast<float>(cells);
            const D3DXVECTOR3 p = origin + s * across + t * up;
            mesh.vertices.push_back({p.x, p.y, p.z, normal.x, normal.y, normal.z, s, 1 - t});
        }
    }
    const auto at = [base, cells](int i, int j) {
        return base + static_cast<std::uint32_t>(i * (cells + 1) + j);
    };
    material.firstIndex = static_cast<std::int32_t>(mesh.indices.size());
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            mesh.indices.insert(mesh.indices.end(), {at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i, j),
                                                     at(i + 1, j + 1), at(i + 1, j)});
        }
    }
    material.indexCount = static_cast<std::int32_t>(mesh.indices.size()) - material.firstIndex;
    mesh.materials.push_back(std::move(material));
}
