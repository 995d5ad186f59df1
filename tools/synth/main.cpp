// morvane-synth: writes the sample game's synthesised sounds.

#include "SoundSynth.h"

#include "resources/CADVException.h"
#include "resources/FileBytes.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

namespace {

constexpr const char* kUsage =
    R"(Usage: morvane-synth OUT_DIR

Writes the sample game's sounds into OUT_DIR/sound/ (created when missing):
  click.raw   a short click, headerless 16-bit little-endian stereo 44100 Hz PCM
  chime.ogg   a bell-like chime, Ogg Vorbis
  theme.ogg   a few seconds of music that loops without a seam, Ogg Vorbis
The sounds are computed, not recorded: every run writes the same samples.

Exit status: 0 on success, 1 when a file cannot be written, 2 on bad usage.
)";

int Usage() {
    std::cerr << kUsage;
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-' || argv[1][0] == '\0') {
        return Usage();
    }
    try {
        const std::filesystem::path soundDir = std::filesystem::path(argv[1]) / "sound";
        std::error_code error;
        std::filesystem::create_directories(soundDir, error);
        if (error) {
            throw CADVException("morvane-synth - cannot create %s: %s", soundDir.string().c_str(),
                                error.message().c_str());
        }
        for (const SynthesisedFile& file : SynthesiseGameSounds()) {
            WriteWholeFileReplacing(soundDir / file.name, file.bytes);
        }
    } catch (const CADVException& e) {
        std::cerr << e.GetText() << "\n";
        return 1;
    }
    return 0;
}
