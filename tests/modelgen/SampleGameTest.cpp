// The sample game as the build packs it, played by the real program for a
// while on a fixed step: its first scene loads the generated models, the
// stroller walks his loop through the gate area, and the scripts see the
// events they wait for.
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// `"name": value` as the state dump writes a top-level variable.
bool HasStateEntry(const std::string& json, const std::string& name, const std::string& value) {
    return json.find("\"" + name + "\": " + value) != std::string::npos;
}

TEST(SampleGame, FirstSceneRunsItsEventsWithoutScriptErrors) {
    TempDir dir;
    const std::filesystem::path program = BuiltProgram("morvane");
    // The route reaches the gate area after about 14 s and leaves it after about 16 s.
    const ProgramResult result = RunProgram(program, {"--headless", "--frames", "200", "--fixed-step", "100",
                                                      "--data", (program.parent_path() / "game").string(),
                                                      "--config", (dir / "settings.toml").string(),
                                                      "--dump-state", (dir / "state.json").string()});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "") << "no script reported an error";
    const std::string json = ReadFile(dir / "state.json");
    EXPECT_TRUE(HasStateEntry(json, "scene", "\"courtyard\"")) << json;
    EXPECT_TRUE(HasStateEntry(json, "cameraready", "true")) << "the camera move ended with its event\n"
                                                            << json;
    EXPECT_TRUE(HasStateEntry(json, "herofree", "true")) << "his own script heard he is steered\n" << json;
    EXPECT_TRUE(HasStateEntry(json, "entered", "true")) << "the stroller entered the gate area\n" << json;
    EXPECT_TRUE(HasStateEntry(json, "atgate", "false")) << "and left it again\n" << json;
    EXPECT_TRUE(HasStateEntry(json, "greeted", "\"courtyard\"")) << "the signalled event fired\n" << json;
    EXPECT_EQ(json.find("scripterrors"), std::string::npos) << json;
}

} // namespace
