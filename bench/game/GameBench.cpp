// The sample game as the player sees it: the whole frame (scripts, scene,
// camera, sound, rendering through OpenGL) at 1024 x 768 on whatever driver
// SDL's offscreen video gives (Mesa llvmpipe on a machine without a GPU).
#include "app/CGame.h"
#include "platform/DClock.h"
#include "platform/DWindow.h"
#include "render/C3DEngine2.h"
#include "render/device/DDevice.h"
#include "resources/CADVException.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

constexpr std::uint32_t kFrameMs = 16;
// Long enough for the scene to load and its opening camera move to end.
constexpr int kSettleFrames = 300;

struct Session {
    std::filesystem::path settings = std::filesystem::temp_directory_path() / "morvane-game-bench.toml";
    DClock clock{DClock::Mode::Manual};
    std::unique_ptr<DWindow> window;
    std::unique_ptr<CGame> game;

    ~Session() {
        game.reset();
        window.reset();
        std::filesystem::remove(settings);
    }
};

void BM_SampleSceneFrame(benchmark::State& state) {
    Session session;
    std::filesystem::remove(session.settings);
    CRunOptions options;
    options.headless = true;
    options.dataFolder = MORVANE_SAMPLE_GAME_DIR;
    options.settingsFile = session.settings;
    try {
        session.window = std::make_unique<DWindow>(true);
        session.game = std::make_unique<CGame>(options, session.clock);
        session.game->Initialize(*session.window);
        for (int i = 0; i < kSettleFrames; ++i) {
            session.game->DoFrame();
            session.clock.Advance(kFrameMs);
        }
    } catch (const CADVException& error) {
        state.SkipWithError(error.GetText());
        return;
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    CGame& game = *session.game;
    for (auto _ : state) {
        game.DoFrame();
        session.clock.Advance(kFrameMs);
    }
    const DDeviceStats& stats = game.Renderer().Device().Stats();
    state.counters["width"] = game.ScreenWidth();
    state.counters["height"] = game.ScreenHeight();
    state.counters["draws"] = stats.drawCalls;
    state.counters["state_changes"] = stats.stateChanges;
    state.counters["frames_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SampleSceneFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

} // namespace
