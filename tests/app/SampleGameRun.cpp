#include "app/SampleGameRun.h"

#include <filesystem>

SampleGameResult SampleGameRun::Play(const std::filesystem::path& inputFile, int frames,
                                     const std::string& startScene) {
    const std::filesystem::path settings = m_dir / "settings.toml";
    const std::filesystem::path dump = m_dir / "state.json";
    WriteFile(settings, startScene.empty() ? "" : "startscene = \"" + startScene + "\"\n");
    std::filesystem::remove(dump);
    SampleGameResult result;
    result.program = RunProgram(BuiltProgram("morvane"),
                                {"--headless", "--frames", std::to_string(frames), "--fixed-step",
                                 std::to_string(m_stepMs), "--data", BuiltProgram("game").string(), "--config",
                                 settings.string(), "--saves", Saves().string(), "--input", inputFile.string(),
                                 "--dump-state", dump.string()});
    if (std::filesystem::exists(dump)) {
        result.json = ReadFile(dump);
    }
    return result;
}

SampleGameResult SampleGameRun::PlayText(const std::string& input, int frames, const std::string& startScene) {
    const std::filesystem::path file = m_dir / "input.txt";
    WriteFile(file, input);
    return Play(file, frames, startScene);
}
