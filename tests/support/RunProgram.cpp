#include "support/RunProgram.h"

#include "support/TempDir.h"

#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

std::filesystem::path BuiltProgram(const std::string& name) { return std::filesystem::path(MORVANE_BIN_DIR) / name; }

ProgramResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::string& stdinText) {
    // Output goes through files rather than pipes so a chatty program can never block on a full pipe.
    TempDir scratch;
    const auto inPath = scratch / "stdin";
    const auto outPath = scratch / "stdout";
    const auto errPath = scratch / "stderr";
    WriteFile(inPath, stdinText);

    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        if (!std::freopen(inPath.c_str(), "rb", stdin) || !std::freopen(outPath.c_str(), "wb", stdout) ||
            !std::freopen(errPath.c_str(), "wb", stderr)) {
            ::_exit(127);
        }
        std::vector<char*> argv;
        std::string programText = program.string();
        argv.push_back(programText.data());
        std::vector<std::string> copies(args);
        for (auto& arg : copies) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        ::execv(programText.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ProgramResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}
