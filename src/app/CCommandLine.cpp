#include "app/CCommandLine.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace {

// The project's version, the one the package carries too.
constexpr const char* kVersion = "morvane " MORVANE_VERSION;

CCommandLine Fail(const std::string& text) {
    CCommandLine result;
    result.action = CCommandLine::Action::Exit;
    result.exitStatus = 2;
    result.message = "morvane: " + text + "\nTry 'morvane --help'.\n";
    return result;
}

struct PathOption {
    const char* name;
    std::filesystem::path CRunOptions::*member;
};

constexpr PathOption kPathOptions[] = {
    {"--data", &CRunOptions::dataFolder},       {"--config", &CRunOptions::settingsFile},
    {"--saves", &CRunOptions::savesFolder},     {"--keys", &CRunOptions::keyFile},
    {"--dump-state", &CRunOptions::dumpState},  {"--screenshot", &CRunOptions::screenshot},
    {"--capture-audio", &CRunOptions::captureAudio}, {"--input", &CRunOptions::input},
    {"--record", &CRunOptions::record},
};

std::optional<long> PositiveNumber(const std::string& text, long minimum) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < minimum) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string CCommandLine::Usage() {
    return "Usage: morvane [options]\n"
           "Runs the game whose resource archives (resource.000, ...) lie in the data folder.\n"
           "\n"
           "  --data DIR        folder with the resource archives (default: the program's folder\n"
           "                    when it holds resource.000, else the installed sample game)\n"
           "  --config FILE     settings file (default: $XDG_CONFIG_HOME/morvane/GAME/settings.toml,\n"
           "                    GAME being the name of the data folder)\n"
           "  --saves DIR       savegame folder (default: $XDG_DATA_HOME/morvane/GAME/savegame)\n"
           "  --keys FILE       key file for archives written with other keys\n"
           "  --headless        no window and no sound device (offscreen rendering)\n"
           "  --capture-audio FILE  with --headless: write the mixed sound as a WAV file\n"
           "  --frames N        quit cleanly after N frames\n"
           "  --dump-state FILE write the state, inventory and setup stores as JSON when quitting\n"
           "  --screenshot FILE write the last rendered frame as PNG when quitting\n"
           "  --fixed-step MS   advance the game clock MS milliseconds per frame instead of real time\n"
           "  --input FILE      replay the input events of FILE\n"
           "  --record FILE     write the player's input and each frame's clock step to FILE\n"
           "  --version         print the version and quit\n"
           "  --help            print this text and quit\n";
}

CCommandLine CCommandLine::Parse(const std::vector<std::string>& args) {
    CCommandLine result;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "--version") {
            result.action = Action::Exit;
            result.exitStatus = 0;
            result.message = arg == "--help" ? Usage() : std::string(kVersion) + "\n";
            return result;
        }
        if (arg == "--headless") {
            result.options.headless = true;
            continue;
        }
        const auto path = std::find_if(std::begin(kPathOptions), std::end(kPathOptions),
                                       [&arg](const PathOption& option) { return arg == option.name; });
        const bool isNumber = arg == "--frames" || arg == "--fixed-step";
        if (path == std::end(kPathOptions) && !isNumber) {
            return Fail("unknown option '" + arg + "'");
        }
        if (i + 1 >= args.size()) {
            return Fail("option '" + arg + "' needs a value");
        }
        const std::string& value = args[++i];
        if (path != std::end(kPathOptions)) {
            result.options.*(path->member) = value;
        } else {
            // A zero frame count would never run the game; a zero step would freeze its clock.
            const auto number = PositiveNumber(value, 1);
            if (!number) {
                return Fail("option '" + arg + "' needs a whole number of at least 1, not '" + value + "'");
            }
            (arg == "--frames" ? result.options.frames : result.options.fixedStep) = number;
        }
    }
    if (!result.options.captureAudio.empty() && !result.options.headless) {
        return Fail("option '--capture-audio' needs '--headless'");
    }
    return result;
}
