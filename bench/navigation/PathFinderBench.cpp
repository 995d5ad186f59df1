#include "navigation/PathFinder.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

// A scene-sized set-up: a 20 x 15 walk area (grid of 102 x 77 corners) with 30
// furniture-sized obstacles scattered over it, placed by a fixed generator so
// every run measures the same layout.
void SetUpScene(PathFinder& finder) {
    constexpr float kWidth = 20.0f, kDepth = 15.0f;
    finder.InitGrid(0, kWidth, 0, kDepth, kWidth * 0.01f);
    finder.SetClearance(0.4f);
    finder.SetSmallObstacleRule(1.0f, 0.5f);
    finder.ClearNavigation();
    std::uint32_t seed = 12345;
    auto next = [&seed](float lo, float hi) {
        seed = seed * 1664525u + 1013904223u;
        return lo + (hi - lo) * static_cast<float>(seed >> 8) / static_cast<float>(1u << 24);
    };
    for (int i = 0; i < 30; ++i) {
        const float x = next(1.5f, kWidth - 2.5f), z = next(1.5f, kDepth - 2.5f);
        const float w = next(0.4f, 1.6f), d = next(0.4f, 1.6f);
        const std::vector<PathPoint> box{{x, z}, {x + w, z}, {x + w, z + d}, {x, z + d}};
        finder.AddObstacle(box);
    }
    const std::vector<PathPoint> walk{{0, 0}, {kWidth, 0}, {kWidth, kDepth}, {0, kDepth}};
    finder.SetWalkArea(walk);
}

void BM_Precompute(benchmark::State& state) {
    PathFinder finder;
    SetUpScene(finder);
    for (auto _ : state) {
        finder.Precompute();
    }
}
BENCHMARK(BM_Precompute)->Unit(benchmark::kMillisecond);

void BM_FindPathAcross(benchmark::State& state) {
    PathFinder finder;
    SetUpScene(finder);
    finder.Precompute();
    std::vector<PathPoint> path;
    bool found = false;
    for (auto _ : state) {
        found = finder.FindPath({0.5f, 0.5f}, {19.5f, 14.5f}, path);
        benchmark::DoNotOptimize(path.data());
    }
    state.counters["found"] = found ? 1 : 0;
    state.counters["points"] = static_cast<double>(path.size());
}
BENCHMARK(BM_FindPathAcross)->Unit(benchmark::kMicrosecond);

// The goal is walled in, so the search explores every reachable cell before
// giving up: the slowest query there is.
void BM_FindPathUnreachable(benchmark::State& state) {
    PathFinder finder;
    SetUpScene(finder);
    const std::vector<PathPoint> ring{{17, 11}, {19.6f, 11}, {19.6f, 14.6f}, {17, 14.6f}};
    finder.AddObstacle(ring);
    finder.Precompute();
    std::vector<PathPoint> path;
    for (auto _ : state) {
        benchmark::DoNotOptimize(finder.FindPath({0.5f, 0.5f}, {18.3f, 12.8f}, path));
    }
}
BENCHMARK(BM_FindPathUnreachable)->Unit(benchmark::kMicrosecond);

} // namespace
