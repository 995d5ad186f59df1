#include "app/CCommandLine.h"
#include "app/CFrameDriver.h"
#include "app/CGame.h"
#include "app/FatalErrors.h"
#include "app/GuiTextLocator.h"
#include "app/input/CMouseInput.h"
#include "platform/DClock.h"
#include "platform/DInputScript.h"
#include "platform/DReport.h"
#include "platform/DWindow.h"
#include "render/C3DEngine2.h"
#include "resources/CADVException.h"
#include "resources/FileBytes.h"
#include "script/TextConversion.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

namespace {

// Polls messages and runs a frame whenever none is waiting; after a frame it
// waits only where the frames keep step with the display by waiting. Each
// frame's clock step and input come just before its messages are read.
// Returns the exit code carried by WM_QUIT.
int RunMessageLoop(CGame& game, DWindow& window, CFrameDriver& driver, const CRunOptions& options) {
    long frame = 1;
    driver.StepClock(frame);
    driver.FeedInput(frame);
    DMessage message;
    for (;;) {
        if (window.PeekMessage(message)) {
            if (message.msg == WM_QUIT) {
                return static_cast<int>(message.wParam);
            }
            game.HandleMessage(message.msg, message.wParam, message.lParam);
            continue;
        }
        game.DoFrame();
        window.Pacer().Wait();
        driver.StepClock(++frame);
        if (options.frames && frame > *options.frames) {
            window.PostQuitMessage(0);
        } else {
            driver.FeedInput(frame);
        }
    }
}

void WriteRecording(const CFrameDriver& driver, const CRunOptions& options) {
    if (const DInputRecorder* recorder = driver.Recorder()) {
        const std::string text = recorder->Script().Format();
        WriteWholeFileReplacing(options.record,
                                {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
}

// What an input file's `at` lines ask of the running game.
DInputReplay::Game ReplayQueries(CGame& game) {
    return {
        [&game] { return std::pair{game.Mouse().CursorX(), game.Mouse().CursorY()}; },
        // Input files are UTF-8; the GUI keeps the game's 8-bit texts.
        [&game](const std::string& text) { return FindGuiText(game.Renderer(), WideToAnsi(Utf8ToWide(text))); },
    };
}

int Run(const CRunOptions& options, std::optional<DInputScript> script) {
    DClock clock(CFrameDriver::ClockMode(options));
    // Declared first so it outlives the game, which releases the mouse on destruction.
    std::unique_ptr<DWindow> window;
    auto game = std::make_unique<CGame>(options, clock);
    try {
        window = std::make_unique<DWindow>(options.headless);
    } catch (const std::exception& error) {
        ReportError(error.what());
        return 1;
    }
    game->Initialize(*window);
    CFrameDriver driver(options, clock, *window, ReplayQueries(*game), [&game] { game->SettleSound(); },
                        std::move(script));
    int exitCode = 0;
    try {
        exitCode = RunMessageLoop(*game, *window, driver, options);
    } catch (const DInputReplayError& error) {
        ReportError(error.what());
        return 1;
    } catch (...) {
        // The session that ended in an error is the one worth replaying; a
        // failed write must not hide that error.
        try {
            WriteRecording(driver, options);
        } catch (const CADVException& error) {
            ReportError(error.GetText());
        }
        throw;
    }
    WriteRecording(driver, options);
    if (!options.dumpState.empty()) {
        game->DumpState(options.dumpState);
    }
    if (!options.screenshot.empty()) {
        game->WriteScreenshot(options.screenshot);
    }
    game.reset();
    return exitCode;
}

// The --input file, read and checked before the game starts; nothing (and the
// mistake on stderr) when it cannot be replayed.
std::optional<DInputScript> ReadInputFile(const std::filesystem::path& file) {
    const auto bytes = ReadWholeFile(file);
    if (!bytes) {
        ReportError(file.string() + ": cannot be read");
        return std::nullopt;
    }
    try {
        return DInputScript::Parse({reinterpret_cast<const char*>(bytes->data()), bytes->size()},
                                   file.string());
    } catch (const DInputScriptError& error) {
        ReportError(error.what());
        return std::nullopt;
    }
}

} // namespace

int main(int argc, char** argv) {
    const CCommandLine commandLine = CCommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
    if (commandLine.action == CCommandLine::Action::Exit) {
        std::fputs(commandLine.message.c_str(), commandLine.exitStatus == 0 ? stdout : stderr);
        return commandLine.exitStatus;
    }
    std::optional<DInputScript> script;
    if (!commandLine.options.input.empty() && !(script = ReadInputFile(commandLine.options.input))) {
        return 2;
    }
    return RunReportingFatalErrors([&] { return Run(commandLine.options, std::move(script)); },
                                   !commandLine.options.headless);
}
