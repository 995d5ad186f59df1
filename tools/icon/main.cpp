// morvane-icon: writes the engine's desktop icon.

#include "EngineIcon.h"
#include "GeneratorTool.h"

#include <filesystem>

namespace {

constexpr const char* kUsage =
    R"(Usage: morvane-icon OUT_DIR

Writes the engine's desktop icon into OUT_DIR (created when missing):
  morvane.png   256 x 256, 8-bit RGBA with transparent corners
The icon is computed, not drawn by hand: every run writes the same bytes.

Exit status: 0 on success, 1 when the file cannot be written, 2 on bad usage.
)";

} // namespace

int main(int argc, char** argv) {
    return RunGeneratorTool(argc, argv, kUsage, [](const std::filesystem::path& out) {
        WriteGeneratedFiles("morvane-icon", out, {{"morvane.png", EngineIconPng()}});
    });
}
