// morvane-synth: writes the sample game's synthesised sounds.

#include "SoundSynth.h"

#include <filesystem>

namespace {

constexpr const char* kUsage =
    R"(Usage: morvane-synth OUT_DIR

Writes the sample game's sounds into OUT_DIR/sound/ (created when missing):
  click.raw     a short click, headerless 16-bit little-endian stereo 44100 Hz PCM
  step.raw      a footstep, the same format
  chime.ogg     a bell-like chime, Ogg Vorbis
  pickup.ogg    two rising notes, Ogg Vorbis
  door.ogg      a creaking door, Ogg Vorbis
  theme.ogg     the courtyard's music, a few seconds that loop without a seam
  workshop.ogg  the workshop's music, the same kind
  cellar.ogg    the cellar's music, the same kind
The sounds are computed, not recorded: every run writes the same samples.

Exit status: 0 on success, 1 when a file cannot be written, 2 on bad usage.
)";

} // namespace

int main(int argc, char** argv) {
    return RunGeneratorTool(argc, argv, kUsage, [](const std::filesystem::path& out) {
        WriteGeneratedFiles("morvane-synth", out / "sound", SynthesiseGameSounds());
    });
}
