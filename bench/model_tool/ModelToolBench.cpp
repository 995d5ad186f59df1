// Converting a character-sized animated model: a sheet of 160 x 160 vertices
// (50 562 triangles) skinned to two bones, with a 2-second animation sampled
// at 10 fps into 20 frames; then loading the sprite the conversion wrote.
#include "ModelConverter.h"
#include "model_tool/GltfBuilder.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "resources/FileBytes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace fs = std::filesystem;

namespace {

constexpr int kSide = 160;

// The sheet stands in x-y, 8 x 8; its upper half follows the bone "tip" at
// y = 4, which turns an eighth about +z and back in two seconds.
fs::path WriteSheet(const fs::path& folder) {
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<float> uvs;
    std::vector<std::uint8_t> joints;
    std::vector<float> weights;
    for (int row = 0; row < kSide; ++row) {
        for (int column = 0; column < kSide; ++column) {
            const float s = static_cast<float>(column) / (kSide - 1);
            const float t = static_cast<float>(row) / (kSide - 1);
            positions.insert(positions.end(), {8 * s, 8 * t, 0});
            normals.insert(normals.end(), {0, 0, 1});
            uvs.insert(uvs.end(), {s, 1 - t});
            // Both bones share the rows round the joint, so the sheet bends smoothly.
            const float tip = std::clamp((t - 0.4f) / 0.2f, 0.0f, 1.0f);
            joints.insert(joints.end(), {0, 1, 0, 0});
            weights.insert(weights.end(), {1 - tip, tip, 0, 0});
        }
    }
    std::vector<std::uint16_t> indices;
    for (int row = 0; row + 1 < kSide; ++row) {
        for (int column = 0; column + 1 < kSide; ++column) {
            const auto i = static_cast<std::uint16_t>(row * kSide + column);
            const auto up = static_cast<std::uint16_t>(i + kSide);
            indices.insert(indices.end(),
                           {i, static_cast<std::uint16_t>(i + 1), static_cast<std::uint16_t>(up + 1), i,
                            static_cast<std::uint16_t>(up + 1), up});
        }
    }
    GltfBuilder gltf;
    gltf.AddPositions(positions);
    gltf.AddFloats(normals, "VEC3");
    gltf.AddFloats(uvs, "VEC2");
    gltf.AddJoints(joints);
    gltf.AddFloats(weights, "VEC4");
    gltf.AddIndices(indices);
    gltf.AddFloats(std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0,  0, 1,
                                      1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -4, 0, 1},
                   "MAT4");
    gltf.AddFloats(std::vector<float>{0, 1, 2}, "SCALAR");
    const float s = std::sin(std::acos(-1.0f) / 8);
    const float c = std::cos(std::acos(-1.0f) / 8);
    gltf.AddFloats(std::vector<float>{0, 0, 0, 1, 0, 0, s, c, 0, 0, 0, 1}, "VEC4");
    return gltf.WriteGltf(
        folder, "sheet",
        R"("scene":0,"scenes":[{"nodes":[0,1]}],)"
        R"("nodes":[{"name":"sheet","mesh":0,"skin":0},{"name":"root","children":[2]},)"
        R"({"name":"tip","translation":[0,4,0]}],)"
        R"("meshes":[{"primitives":[{"attributes":{"POSITION":0,"NORMAL":1,"TEXCOORD_0":2,"JOINTS_0":3,)"
        R"("WEIGHTS_0":4},"indices":5,"material":0}]}],)"
        R"("materials":[{"name":"cloth","pbrMetallicRoughness":{"baseColorTexture":{"index":0}}}],)"
        R"("textures":[{"source":0}],"images":[{"uri":"cloth.png"}],)"
        R"("skins":[{"joints":[1,2],"inverseBindMatrices":6}],)"
        R"("animations":[{"name":"wave","channels":[{"sampler":0,"target":{"node":2,"path":"rotation"}}],)"
        R"("samplers":[{"input":7,"output":8,"interpolation":"LINEAR"}]}])");
}

// A folder of its own under the system's temporary folder, removed at the end.
class BenchFolder {
public:
    BenchFolder() {
        std::string pattern = (fs::temp_directory_path() / "morvane-model-bench-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~BenchFolder() {
        std::error_code error;
        fs::remove_all(m_path, error);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

ConvertOptions Options() {
    ConvertOptions options;
    options.flipHandedness = true;
    options.animations = {{"wave", "idle"}};
    return options;
}

void BM_ConvertSkinnedSheet(benchmark::State& state) {
    BenchFolder folder;
    const fs::path input = WriteSheet(folder.Path());
    for (auto _ : state) {
        ConvertModel(input, folder.Path() / "sheet.spr", Options());
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(folder.Path() / "sheet.spr"));
}

void BM_LoadConvertedSheet(benchmark::State& state) {
    BenchFolder folder;
    ConvertModel(WriteSheet(folder.Path()), folder.Path() / "sheet.spr", Options());
    CMemoryModelHost host;
    host.AddFile("sheet.spr", *ReadWholeFile(folder.Path() / "sheet.spr"));
    host.AddFile("sheet.spr.col", *ReadWholeFile(folder.Path() / "sheet.spr.col"));
    for (auto _ : state) {
        C3DSpresh model(host, "sheet.spr");
        model.Load(true);
        benchmark::DoNotOptimize(model.TriangleCount());
    }
}

} // namespace

BENCHMARK(BM_ConvertSkinnedSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadConvertedSheet)->Unit(benchmark::kMillisecond);
