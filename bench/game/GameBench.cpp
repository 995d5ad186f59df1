// The sample game as the player sees it: the whole frame (scripts, scene,
// camera, sound, rendering through OpenGL) at 1024 x 768 on whatever driver
// SDL's offscreen video gives (Mesa llvmpipe on a machine without a GPU), and
// the player's commands: a right click's picking and context window, and a
// typed sentence from Enter to the scripts' OnAction.
#include "app/CGame.h"
#include "app/CGameScreens.h"
#include "app/commands/CCommandFlow.h"
#include "app/commands/CMessageBoxFlow.h"
#include "app/screens/CContextWindowScreen.h"
#include "platform/DClock.h"
#include "platform/DWindow.h"
#include "render/C3DEngine2.h"
#include "render/device/DDevice.h"
#include "resources/CADVException.h"
#include "support/AllocationCounter.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

constexpr std::uint32_t kFrameMs = 16;
// Long enough for the scene to load and its opening camera move to end.
constexpr int kSettleFrames = 300;
// Where the crate stands on the screen once the camera has arrived.
constexpr int kCrateX = 663;
constexpr int kCrateY = 390;

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

    // The sample game started and its first scene settled; false (with the
    // reason given to the benchmark) when it cannot start here.
    bool Start(benchmark::State& state) {
        std::filesystem::remove(settings);
        CRunOptions options;
        options.headless = true;
        options.dataFolder = MORVANE_SAMPLE_GAME_DIR;
        options.settingsFile = settings;
        try {
            window = std::make_unique<DWindow>(true);
            game = std::make_unique<CGame>(options, clock);
            game->Initialize(*window);
            for (int i = 0; i < kSettleFrames; ++i) {
                Frame();
            }
        } catch (const CADVException& error) {
            state.SkipWithError(error.GetText());
            return false;
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
            return false;
        }
        return true;
    }

    void Frame() {
        game->DoFrame();
        clock.Advance(kFrameMs);
    }

    // Mouse movement as the window reports it; the cursor moves twice as far.
    void Move(int dx, int dy) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.xrel = dx;
        event.motion.yrel = dy;
        window->Translate(event);
    }
};

void CountFrames(benchmark::State& state, CGame& game, std::uint64_t allocationsBefore) {
    const DDeviceStats& stats = game.Renderer().Device().Stats();
    state.counters["width"] = game.ScreenWidth();
    state.counters["height"] = game.ScreenHeight();
    state.counters["draws"] = stats.drawCalls;
    state.counters["state_changes"] = stats.stateChanges;
    state.counters["frames_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["allocations_per_frame"] = static_cast<double>(AllocationCount() - allocationsBefore) /
                                              static_cast<double>(state.iterations());
}

void BM_SampleSceneFrame(benchmark::State& state) {
    Session session;
    if (!session.Start(state)) {
        return;
    }
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        session.Frame();
    }
    CountFrames(state, *session.game, before);
}
BENCHMARK(BM_SampleSceneFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// The same frame while the player moves the mouse to and fro over an open
// context window: the cursor, the hover highlight and the screens run every frame.
void BM_SampleSceneFrameWithTheMouseOverTheContextWindow(benchmark::State& state) {
    Session session;
    if (!session.Start(state)) {
        return;
    }
    CCommandFlow& commands = session.game->Commands();
    commands.ShowContextWindow("", nullptr);
    commands.PlaceContextWindow(kCrateX, kCrateY);
    session.Move(kCrateX / 2 + 10, kCrateY / 2 + 10);
    session.Frame();
    int step = 1;
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        session.Move(step, 0);
        step = -step;
        session.Frame();
    }
    CountFrames(state, *session.game, before);
}
BENCHMARK(BM_SampleSceneFrameWithTheMouseOverTheContextWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

// A right click on the crate: the picking pass, the object's lookup, and the
// context window filled with its verbs and placed at the cursor.
void BM_RightClickOpensTheContextWindow(benchmark::State& state) {
    Session session;
    if (!session.Start(state)) {
        return;
    }
    CCommandFlow& commands = session.game->Commands();
    CContextWindowScreen& window = session.game->Screens().ContextWindow();
    for (auto _ : state) {
        commands.RightPressed(kCrateX, kCrateY);
        window.Hide();
    }
    state.counters["picked"] = commands.PickedObject() != nullptr;
}
BENCHMARK(BM_RightClickOpensTheContextWindow)->Unit(benchmark::kMicrosecond);

// A typed sentence from Enter through the parser to the scene's OnAction,
// which answers it with a message box.
void BM_TypedCommandToOnAction(benchmark::State& state) {
    Session session;
    if (!session.Start(state)) {
        return;
    }
    CGame& game = *session.game;
    CCommandFlow& commands = game.Commands();
    for (auto _ : state) {
        commands.SetCommandText("Look at the crate.");
        game.HandleMessage(WM_CHAR, '\r', 0);
        game.MessageBoxes().Clear();
    }
}
BENCHMARK(BM_TypedCommandToOnAction)->Unit(benchmark::kMicrosecond);

} // namespace
