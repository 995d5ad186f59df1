// morvane-synth: writes the sample game's synthesised sounds.

#include "SoundSynth.h"

#include <filesystem>

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

} // namespace

int main(int argc, char** argv) {
    return RunGeneratorTool(argc, argv, kUsage, [](const std::filesystem::path& out) {
        WriteGeneratedFiles("morvane-synth", out / "sound", SynthesiseGameSounds());
    });
}
