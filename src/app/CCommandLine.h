#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What the command line asks of one run. Every option is optional; paths left
// empty fall back to their defaults when the game starts.
struct CRunOptions {
    std::filesystem::path dataFolder;
    std::filesystem::path settingsFile;
    std::filesystem::path savesFolder;
    std::filesystem::path keyFile;      // empty: the built-in keys
    std::filesystem::path captureAudio; // with headless: the mixed sound as a WAV file
    std::filesystem::path dumpState;    // the three stores as JSON at a clean quit
    std::filesystem::path screenshot;   // the last rendered frame as PNG at a clean quit
    std::filesystem::path input;        // an input file to replay
    std::filesystem::path record;       // where to write the session as an input file
    bool headless = false;
    std::optional<long> frames;    // quit cleanly after this many frames
    std::optional<long> fixedStep; // milliseconds the clock advances per frame
};

// The outcome of parsing: run with the options, or stop at once with an exit
// status and a text for stdout (help, version) or stderr (errors).
struct CCommandLine {
    enum class Action { Run, Exit };
    Action action = Action::Run;
    int exitStatus = 0;
    std::string message;
    CRunOptions options;

    static CCommandLine Parse(const std::vector<std::string>& args);
    static std::string Usage();
};
