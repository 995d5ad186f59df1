#include "scene/CScene.h"
#include "scene/CSceneObject.h"
#include "scene_support/SceneTestHost.h"
#include "script/TextConversion.h"
#include "support/AllocationCounter.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int kProps = 430;
constexpr int kWalkers = 50;
constexpr int kScripted = 20;

// 430 props on a 30-wide grid (every fifth one an obstacle), 50 walkers in a
// row, each looping on a route that ends just short of the props, and 20
// objects whose scripts keep a timed event going. The scene script has an
// OnIdle of its own. Timed script events allocate (the event list and its
// texts); the objects' own frame step does not.
const char* const kSceneScript = R"(
for (var i = 0; i < 430; ++i) {
    scene.addobject("name='prop" + i + "' model='m.spr' posx='" + (i % 30) * 3 + "' posz='" +
                    Math.floor(i / 30) * 3 + "'" + (i % 5 == 0 ? " walkaround='true'" : ""));
}
for (var i = 0; i < 50; ++i) {
    scene.addobject("name='walker" + i + "' model='m.spr' walkaround='true' mobile='true' posx='" + i * 4 +
                    "' posz='-20'");
}
for (var i = 0; i < 20; ++i) {
    scene.addobject("name='scripted" + i + "' model='m.spr' script='ticker.js' posx='" + i * 3 + "' posz='-40'");
}
var frames = 0;
function OnInit() {}
function OnIdle(ms) { frames += 1; }
function OnEvent(e, p) {}
)";

const char* const kObjectScript = R"(
function OnInit() { addevent('tick', '', 100); }
function OnEvent(e, p) { if (e == 'tick') addevent('tick', '', 100); }
function OnAction(a, e, p) {}
)";

void SceneFrame(benchmark::State& state) {
    SceneTestHost host({{"data\\scripts\\bench.scs", SceneTestHost::Text(kSceneScript)},
                        {"data\\scripts\\ticker.js", SceneTestHost::Text(kObjectScript)},
                        {"data\\models\\m.spr", BoxSprite(1.0f, 2.0f, 1.0f)}});
    CScene& scene = host.LoadScene("bench");
    if (scene.Objects().size() != kProps + kWalkers + kScripted) {
        state.SkipWithError(host.ScriptErrors().empty() ? "scene incomplete"
                                                        : host.ScriptErrors()[0].c_str());
        return;
    }
    for (int i = 0; i < kWalkers; ++i) {
        CSceneObject& walker = *scene.FindByName(AnsiToWide("walker" + std::to_string(i)));
        const float x = static_cast<float>(i) * 4.0f;
        walker.SetPredefinedRoute({{x, 0.0f, -20.0f}, {x + 3.0f, 0.0f, -20.0f}, {x + 3.0f, 0.0f, -1.5f}});
        // Staggered starts, so that the walkers do not move in step.
        walker.FollowPredefinedRoute(500, i % 3, true);
    }
    // Past the start: routes under way, every script event scheduled once.
    for (int i = 0; i < 200; ++i) {
        host.Clock().Advance(16);
        scene.OnIdle();
    }
    const std::uint64_t before = AllocationCount();
    std::uint64_t frames = 0;
    for (auto _ : state) {
        host.Clock().Advance(16);
        scene.OnIdle();
        ++frames;
    }
    state.counters["objects"] = static_cast<double>(scene.Objects().size());
    state.counters["allocs_per_frame"] =
        static_cast<double>(AllocationCount() - before) / static_cast<double>(frames);
    int blocked = 0;
    for (const CSceneObject* object : scene.Objects()) {
        blocked += object->IsBlocked() ? 1 : 0;
    }
    state.counters["blocked_at_end"] = blocked;
    state.counters["script_errors"] = static_cast<double>(host.ScriptErrors().size());
}
BENCHMARK(SceneFrame)->Unit(benchmark::kMillisecond);

} // namespace
