#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// What the build's asset generators share: they compute files rather than
// ship them, take one output folder, and fail with the engine's exception.

// One finished asset: its name inside its game folder and its bytes.
struct GeneratedFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Writes every file into `folder`, created when missing; each file is
// replaced atomically. Throws CADVException naming `tool` and the folder or file.
void WriteGeneratedFiles(const char* tool, const std::filesystem::path& folder,
                         const std::vector<GeneratedFile>& files);

// The whole command line of a generator taking one OUT_DIR: --help prints
// `usage` (exit 0), anything else but one folder prints it to stderr (exit 2),
// and a CADVException from `generate` is printed (exit 1).
int RunGeneratorTool(int argc, char** argv, const char* usage,
                     const std::function<void(const std::filesystem::path& out)>& generate);
