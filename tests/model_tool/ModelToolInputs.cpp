#include "model_tool/ModelToolInputs.h"

#include "model_tool/GltfBuilder.h"
#include "render/model/ModelPrimitives.h"
#include "support/TempDir.h"

#include <cmath>
#include <cstdio>

namespace fs = std::filesystem;

namespace {

ModelMaterialData Named(const std::string& name) {
    ModelMaterialData material;
    material.name = name;
    return material;
}

std::string Number(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", v);
    return text;
}

// OBJ counts texture rows from the bottom, the engine from the top.
std::string ObjText(const ModelMeshData& mesh, const std::string& mtl) {
    std::string out = mtl.empty() ? "" : "mtllib " + mtl + "\n";
    for (const SpreshVertex& v : mesh.vertices) {
        out += "v " + Number(v.x) + " " + Number(v.y) + " " + Number(v.z) + "\n";
        out += "vt " + Number(v.u) + " " + Number(1 - v.v) + "\n";
        out += "vn " + Number(v.nx) + " " + Number(v.ny) + " " + Number(v.nz) + "\n";
    }
    for (const ModelMaterialData& material : mesh.materials) {
        out += mtl.empty() ? "" : "usemtl " + material.name + "\n";
        for (std::int32_t i = material.firstIndex; i < material.firstIndex + material.indexCount; i += 3) {
            out += "f";
            for (int c = 0; c < 3; ++c) {
                const std::string n = std::to_string(mesh.indices[static_cast<std::size_t>(i + c)] + 1);
                out += " " + n + "/" + n + "/" + n;
            }
            out += "\n";
        }
    }
    return out;
}

std::vector<float> Floats(const ModelMeshData& mesh, int first, int count) {
    std::vector<float> out;
    for (const SpreshVertex& v : mesh.vertices) {
        const float all[8] = {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.u, v.v};
        out.insert(out.end(), all + first, all + first + count);
    }
    return out;
}

std::vector<std::uint16_t> Indices(const ModelMeshData& mesh) {
    return {mesh.indices.begin(), mesh.indices.end()};
}

// The cube's accessors: 0 positions, 1 normals, 2 texture coordinates,
// 3 indices, 4 key times, 5 translations.
GltfBuilder CubeBuffer() {
    const ModelMeshData mesh = CubeMesh();
    GltfBuilder gltf;
    gltf.AddPositions(Floats(mesh, 0, 3));
    gltf.AddFloats(Floats(mesh, 3, 3), "VEC3");
    gltf.AddFloats(Floats(mesh, 6, 2), "VEC2");
    gltf.AddIndices(Indices(mesh));
    gltf.AddFloats(std::vector<float>{0.0f, 1.0f}, "SCALAR");
    gltf.AddFloats(std::vector<float>{0, 0, 0, 2, 0, 0}, "VEC3");
    return gltf;
}

std::string CubeMembers(const std::string& textureUri) {
    return R"("scene":0,"scenes":[{"nodes":[0]}],"nodes":[{"name":"cube","mesh":0}],)"
           R"("meshes":[{"primitives":[{"attributes":{"POSITION":0,"NORMAL":1,"TEXCOORD_0":2},"indices":3,"material":0}]}],)"
           R"("materials":[{"name":"crate","pbrMetallicRoughness":{"baseColorFactor":[1,0.5,0.25,1],)"
           R"("baseColorTexture":{"index":0}},"emissiveFactor":[0.1,0.2,0.3]}],)"
           R"("textures":[{"source":0}],"images":[{"uri":")" +
           textureUri +
           R"("}],)"
           R"("animations":[{"name":"slide","channels":[{"sampler":0,"target":{"node":0,"path":"translation"}}],)"
           R"("samplers":[{"input":4,"output":5,"interpolation":"LINEAR"}]}])";
}

} // namespace

ModelMeshData CubeMesh() {
    ModelMeshData mesh;
    AddModelBox(mesh, kCubeMin, kCubeMax, Named("crate"));
    return mesh;
}

fs::path WriteCubeGltf(const fs::path& folder, const std::string& textureUri) {
    return CubeBuffer().WriteGltf(folder, "cube", CubeMembers(textureUri));
}

void WriteCubeGlb(const fs::path& path) {
    CubeBuffer().WriteGlb(path, CubeMembers("crate.png"));
}

fs::path WriteSkinnedStrip(const fs::path& folder) {
    GltfBuilder gltf;
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<std::uint8_t> joints;
    std::vector<float> weights;
    for (int row = 0; row < 3; ++row) {
        for (float x : {-0.5f, 0.5f}) {
            positions.insert(positions.end(), {x, static_cast<float>(row), 0.0f});
            normals.insert(normals.end(), {0.0f, 0.0f, 1.0f});
            joints.insert(joints.end(), {static_cast<std::uint8_t>(row == 2 ? 1 : 0), 0, 0, 0});
            weights.insert(weights.end(), {1.0f, 0.0f, 0.0f, 0.0f});
        }
    }
    const std::vector<std::uint16_t> indices{0, 1, 3, 0, 3, 2, 2, 3, 5, 2, 5, 4};
    gltf.AddPositions(positions);
    gltf.AddFloats(normals, "VEC3");
    gltf.AddJoints(joints);
    gltf.AddFloats(weights, "VEC4");
    gltf.AddIndices(indices);
    // Inverse bind matrices, column by column: "root" at the origin, "tip" at y = 1.
    gltf.AddFloats(std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0,  0, 1,
                                      1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -1, 0, 1},
                   "MAT4");
    gltf.AddFloats(std::vector<float>{0.0f, 1.0f}, "SCALAR");
    const float half = std::sqrt(0.5f);
    gltf.AddFloats(std::vector<float>{0, 0, 0, 1, 0, 0, half, half}, "VEC4");
    const std::string members =
        R"("scene":0,"scenes":[{"nodes":[0,1]}],)"
        R"("nodes":[{"name":"strip","mesh":0,"skin":0},{"name":"root","children":[2]},)"
        R"({"name":"tip","translation":[0,1,0]}],)"
        R"("meshes":[{"primitives":[{"attributes":{"POSITION":0,"NORMAL":1,"JOINTS_0":2,"WEIGHTS_0":3},"indices":4}]}],)"
        R"("skins":[{"joints":[1,2],"inverseBindMatrices":5}],)"
        R"("animations":[{"name":"bend","channels":[{"sampler":0,"target":{"node":2,"path":"rotation"}}],)"
        R"("samplers":[{"input":6,"output":7,"interpolation":"LINEAR"}]}])";
    return gltf.WriteGltf(folder, "strip", members);
}

ModelMeshData BoxObjMesh() {
    ModelMeshData mesh;
    AddModelBox(mesh, {0, 0, 0}, {1, 1, 1}, Named("glass"));
    AddModelBox(mesh, {2, 0, 0}, {3, 1, 1}, Named("lamp"));
    return mesh;
}

fs::path WriteBoxObj(const fs::path& folder, const std::string& materialName) {
    ModelMeshData mesh = BoxObjMesh();
    mesh.materials[1].name = materialName;
    WriteFile(folder / "box.mtl", "newmtl glass\nKd 1 0 0\nd 0.5\n\nnewmtl " + materialName +
                                      "\nKd 0.8 0.8 0.8\nKe 0.2 0.3 0.4\nmap_Kd textures/wood.png\n");
    WriteFile(folder / "box.obj", ObjText(mesh, "box.mtl"));
    return folder / "box.obj";
}

ModelMeshData ZUpMesh() {
    ModelMeshData mesh;
    AddModelBox(mesh, {0, 0, 0}, {1, 2, 3}, Named("tower"));
    return mesh;
}

fs::path WriteZUpObj(const fs::path& folder) {
    WriteFile(folder / "tower.obj", ObjText(ZUpMesh(), ""));
    return folder / "tower.obj";
}

fs::path WriteQuadObj(const fs::path& folder) {
    WriteFile(folder / "quad.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
    return folder / "quad.obj";
}

fs::path WriteManyVerticesObj(const fs::path& folder) {
    std::string text;
    constexpr int kTriangles = 65538 / 3;
    for (int t = 0; t < kTriangles; ++t) {
        const std::string x = std::to_string(t);
        text += "v " + x + " 0 0\nv " + x + " 1 0\nv " + x + " 0 1\n";
    }
    for (int t = 0; t < kTriangles; ++t) {
        text += "f " + std::to_string(3 * t + 1) + " " + std::to_string(3 * t + 2) + " " +
                std::to_string(3 * t + 3) + "\n";
    }
    WriteFile(folder / "many.obj", text);
    return folder / "many.obj";
}
