// Loading a character-sized sprite: 20 frames of a 10 000-triangle mesh (a
// tube of 101 x 51 vertices). Target: under 20 ms with its collision file.
#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "render/model/CModelWriter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace {

constexpr int kColumns = 101;
constexpr int kRows = 51;
constexpr int kFrames = 20;

ModelMeshData TubeFrame(int frame) {
    ModelMeshData mesh;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const float a = static_cast<float>(column) * 2 * std::numbers::pi_v<float> / (kColumns - 1);
            const float r = 0.5f + 0.05f * std::sin(static_cast<float>(row + frame));
            mesh.vertices.push_back({r * std::cos(a), static_cast<float>(row) / 25.0f, r * std::sin(a),
                                     std::cos(a), 0, std::sin(a), static_cast<float>(column) / (kColumns - 1),
                                     static_cast<float>(row) / (kRows - 1)});
        }
    }
    for (std::uint32_t row = 0; row + 1 < kRows; ++row) {
        for (std::uint32_t column = 0; column + 1 < kColumns; ++column) {
            const std::uint32_t i = row * kColumns + column;
            mesh.indices.insert(mesh.indices.end(),
                                {i, i + kColumns, i + 1, i + 1, i + kColumns, i + kColumns + 1});
        }
    }
    mesh.materials.push_back(
        {"skin", "skin.png", {}, false, 0, static_cast<std::int32_t>(mesh.indices.size())});
    return mesh;
}

std::vector<std::uint8_t> Sprite() {
    ModelAnimationData walk{"walk", {}};
    for (int f = 0; f < kFrames; ++f) {
        walk.frames.push_back(TubeFrame(f));
    }
    return CModelWriter::WriteSprite({walk});
}

void LoadSprite(benchmark::State& state, bool withCollisionFile) {
    CMemoryModelHost host;
    host.AddFile("man.spr", Sprite());
    if (withCollisionFile) {
        C3DSpresh first(host, "man.spr");
        first.Load(true);
        host.AddFile("man.spr.col", CModelWriter::WriteCollision(*first.CollisionOutline("walk", 0)));
    }
    for (auto _ : state) {
        C3DSpresh model(host, "man.spr");
        model.Load(true);
        benchmark::DoNotOptimize(model.TriangleCount());
    }
}

void BM_LoadSpriteWithCollisionFile(benchmark::State& state) {
    LoadSprite(state, true);
}
void BM_LoadSpriteComputingOutlines(benchmark::State& state) {
    LoadSprite(state, false);
}

} // namespace

BENCHMARK(BM_LoadSpriteWithCollisionFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSpriteComputingOutlines)->Unit(benchmark::kMillisecond);
