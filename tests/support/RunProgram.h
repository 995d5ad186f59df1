#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Runs one of the project's own programs (morvane, morvane-pack) to the end and
// keeps what it printed. Programs are found at the top of the build tree.
struct ProgramResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

std::filesystem::path BuiltProgram(const std::string& name);
ProgramResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::string& stdinText = {});
