#include "app/CCommandLine.h"
#include "app/CGame.h"
#include "parser/EInterfaceBackend.h"
#include "platform/DClock.h"
#include "platform/DMessageBox.h"
#include "platform/DWindow.h"
#include "resources/CADVException.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <new>

namespace {

// Polls messages and runs a frame whenever none is waiting; never sleeps.
// Returns the exit code carried by WM_QUIT.
int RunMessageLoop(CGame& game, DWindow& window, DClock& clock, const CRunOptions& options) {
    long frames = 0;
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
        if (options.fixedStep) {
            clock.Advance(static_cast<std::uint32_t>(*options.fixedStep));
            game.SettleSound();
        }
        if (options.frames && ++frames == *options.frames) {
            window.PostQuitMessage(0);
        }
    }
}

int Run(const CRunOptions& options) {
    DClock clock(options.fixedStep ? DClock::Mode::Manual : DClock::Mode::Real);
    // Declared first so it outlives the game, which releases the mouse on destruction.
    std::unique_ptr<DWindow> window;
    auto game = std::make_unique<CGame>(options, clock);
    try {
        window = std::make_unique<DWindow>(options.headless);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "morvane: %s\n", error.what());
        return 1;
    }
    game->Initialize(*window);
    const int exitCode = RunMessageLoop(*game, *window, clock, options);
    if (!options.dumpState.empty()) {
        game->DumpState(options.dumpState);
    }
    if (!options.screenshot.empty()) {
        game->WriteScreenshot(options.screenshot);
    }
    game.reset();
    return exitCode;
}

} // namespace

int main(int argc, char** argv) {
    const CCommandLine commandLine = CCommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
    if (commandLine.action == CCommandLine::Action::Exit) {
        std::fputs(commandLine.message.c_str(), commandLine.exitStatus == 0 ? stdout : stderr);
        return commandLine.exitStatus;
    }
    const bool allowDialog = !commandLine.options.headless;
    try {
        return Run(commandLine.options);
    } catch (const CADVException& error) {
        DMessageBox::ShowFatal("Exception", error.GetText(), allowDialog);
    } catch (const EInterfaceBackend& error) {
        DMessageBox::ShowFatal("InterfaceBackend Exception", error.GetText(), allowDialog);
    } catch (const std::bad_alloc&) {
        DMessageBox::ShowFatal("Exception", "Exception:\nOut of memory.", allowDialog);
    }
    return 1;
}
