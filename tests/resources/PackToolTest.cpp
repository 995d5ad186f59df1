#include "resources/CArchiveWriter.h"
#include "resources/CKeySet.h"

#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

ProgramResult Pack(const std::vector<std::string>& args) {
    return RunProgram(BuiltProgram("morvane-pack"), args);
}

std::string Binary(std::size_t n) {
    std::string text(n, '\0');
    for (std::size_t i = 0; i < n; ++i) {
        text[i] = static_cast<char>(i * 7 + 3);
    }
    return text;
}

TEST(PackTool, BuildListExtractCatRoundTrip) {
    TempDir dir;
    const fs::path src = dir / "src";
    const std::map<std::string, std::string> files = {
        {"commands.txt", "look\n"},
        {"empty.bin", ""},
        {"scripts/master.ads", "function OnInit() {}\n"},
        {"scenes/a/b/deep.scs", Binary(9)},
        {"sound/big.raw", Binary(300000)},
        {"models/one.ims", Binary(1)},
        {"models/eight.ims", Binary(8)},
    };
    for (const auto& [path, content] : files) {
        fs::create_directories((src / path).parent_path());
        WriteFile(src / path, content);
    }
    const fs::path data = dir / "data";
    fs::create_directory(data);
    const ProgramResult build = Pack({"build", src.string(), (data / "resource.000").string()});
    ASSERT_EQ(build.exitStatus, 0) << build.err;

    const ProgramResult list = Pack({"list", data.string()});
    ASSERT_EQ(list.exitStatus, 0) << list.err;
    EXPECT_NE(list.out.find("scripts\tmaster.ads\t21\tresource.000\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("scenes\\a\\b\tdeep.scs\t9\tresource.000\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("\tcommands.txt\t5\tresource.000\n"), std::string::npos) << list.out;

    const ProgramResult extract = Pack({"extract", data.string(), (dir / "out").string()});
    ASSERT_EQ(extract.exitStatus, 0) << extract.err;
    for (const auto& [path, content] : files) {
        EXPECT_EQ(ReadFile(dir / "out" / path), content) << path;
    }

    const ProgramResult cat = Pack({"cat", data.string(), "data\\Scenes\\a\\b\\DEEP.scs"});
    EXPECT_EQ(cat.exitStatus, 0);
    EXPECT_EQ(cat.out, Binary(9));
    const ProgramResult missing = Pack({"cat", data.string(), "data\\scenes/a\\b\\deep.scs"});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_EQ(missing.err, "Exception:\nLoadFile: Resource 'data\\scenes/a\\b\\deep.scs' not found.\n");
}

TEST(PackTool, ASecondArchivePatchesTheFirst) {
    TempDir dir;
    WriteFile(dir / "v1" / "commands.txt", "old");
    WriteFile(dir / "v1" / "objects.txt", "objects");
    WriteFile(dir / "v2" / "COMMANDS.TXT", "new");
    fs::create_directory(dir / "data");
    ASSERT_EQ(Pack({"build", (dir / "v1").string(), (dir / "data" / "resource.000").string(), "--force"}).exitStatus,
              0);
    ASSERT_EQ(Pack({"build", (dir / "v2").string(), (dir / "data" / "resource.001").string()}).exitStatus, 0);
    EXPECT_EQ(Pack({"cat", (dir / "data").string(), "data/commands.txt"}).out, "new");
    EXPECT_EQ(Pack({"list", (dir / "data").string()}).out,
              "\tCOMMANDS.TXT\t3\tresource.001\n\tobjects.txt\t7\tresource.000\n");
}

TEST(PackTool, KeyFileReplacesTheBuiltInKeys) {
    TempDir dir;
    CKeySet keys = CKeySet::BuiltIn();
    std::swap(keys.directory, keys.file);
    WriteFile(dir / "keys.txt", keys.Format());
    WriteFile(dir / "src" / "a.txt", "secret");
    fs::create_directory(dir / "data");
    const std::string data = (dir / "data").string();
    ASSERT_EQ(
        Pack({"build", (dir / "src").string(), data + "/resource.000", "--keys", (dir / "keys.txt").string(),
              "--force"})
            .exitStatus,
        0);
    EXPECT_EQ(Pack({"--keys", (dir / "keys.txt").string(), "cat", data, "a.txt"}).out, "secret");

    WriteFile(dir / "bad.txt", "directory=00\n");
    const ProgramResult bad = Pack({"list", data, "--keys", (dir / "bad.txt").string()});
    EXPECT_EQ(bad.exitStatus, 1);
    EXPECT_EQ(bad.err, "Exception:\nCKeySet::Parse - " + (dir / "bad.txt").string() +
                           " line 1: a key needs 110 hexadecimal digits, found 2 characters\n");
}

// A base archive from a folder that holds no game is a mistake the engine
// would only find later ("Resource ... not found"); a patch needs no game script.
TEST(PackTool, ABaseArchiveNeedsTheGameScript) {
    TempDir dir;
    WriteFile(dir / "game" / "data" / "scripts" / "master.ads", "function OnInit() {}\n");
    WriteFile(dir / "patch" / "commands.txt", "look\n");
    const std::string parent = (dir / "game").string();
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"build", parent, (dir / "resource.000").string()},
         1,
         "Exception:\nmorvane-pack build - " + parent +
             " has no scripts/master.ads, so no game starts from a resource.000 built from it (is it the "
             "game's data folder?); --force packs it anyway\n"},
        {{"build", parent, (dir / "resource.000").string(), "--force"}, 0, ""},
        {{"build", (dir / "game" / "data").string(), (dir / "resource.000").string()}, 0, ""},
        {{"build", (dir / "patch").string(), (dir / "resource.001").string()}, 0, ""},
        {{"build", (dir / "game" / "data").string(), (dir / "game.dat").string()},
         0,
         "morvane-pack build - warning: " + (dir / "game.dat").string() +
             " is not named resource.NNN; the engine reads only archives named resource.000, resource.001, ...\n"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(dir / "resource.000");
        const ProgramResult result = Pack(c.args);
        EXPECT_EQ(result.exitStatus, c.status) << c.args[1] << " " << c.args[2];
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(std::filesystem::exists(c.args[2]), c.status == 0) << c.args[2];
    }
}

TEST(PackTool, RefusalsAndUsage) {
    TempDir dir;
    WriteFile(dir / "long" / (std::string(64, 'n') + ".txt"), "x");
    WriteFile(dir / "clash" / "A.txt", "x");
    WriteFile(dir / "clash" / "a.TXT", "y");
    const std::string out = (dir / "resource.000").string();
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"build", (dir / "long").string(), out},
         1,
         "Exception:\nCArchiveEntry::Serialize - name '" + std::string(64, 'n') +
             ".txt' does not fit its 64-byte field\n"},
        {{"build", (dir / "clash").string(), out},
         1,
         "Exception:\nmorvane-pack build - A.txt and a.TXT differ only in letter case; the engine cannot "
         "tell them "
         "apart\n"},
        {{"build", (dir / "none").string(), out},
         1,
         "Exception:\nmorvane-pack build - " + (dir / "none").string() + " is not a folder\n"},
        {{"list", dir.Path().string()},
         1,
         "Exception:\nCould not find any resources. Where is resource.000? Check the startup path. (searched in " +
             dir.Path().string() + ")\n"},
    };
    for (const auto& c : cases) {
        const ProgramResult result = Pack(c.args);
        EXPECT_EQ(result.exitStatus, c.status) << c.args[0];
        EXPECT_EQ(result.err, c.err);
    }
    EXPECT_FALSE(fs::exists(out)) << "a refused build writes no archive";

    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"frobnicate"},
                                                 {"build", "onlyone"},
                                                 {"list", "a", "b"},
                                                 {"list", "--keys"}}) {
        const ProgramResult usage = Pack(args);
        EXPECT_EQ(usage.exitStatus, 2);
        EXPECT_NE(usage.err.find("Usage: morvane-pack"), std::string::npos);
    }
    const ProgramResult help = Pack({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("dir \"scripts\" and name \"master.ads\""), std::string::npos);
}

TEST(PackTool, ExtractKeepsArchiveNamesInsideTheOutputFolder) {
    for (const auto& [dirField, name] : {std::pair{"..", "escape.txt"}, std::pair{"a\\..\\..", "x.txt"},
                                         std::pair{"", ".."}, std::pair{"/tmp", "x.txt"}}) {
        TempDir dir;
        CArchiveWriter writer("resource.000");
        writer.Add(dirField, name, std::vector<std::uint8_t>{'x'});
        writer.Write(dir / "resource.000");
        const ProgramResult result = Pack({"extract", dir.Path().string(), (dir / "out" / "in").string()});
        EXPECT_EQ(result.exitStatus, 1) << dirField;
        EXPECT_EQ(result.err, "Exception:\nmorvane-pack extract - entry " + std::string(dirField) + "\\" +
                                  name + " does not name a file inside the output folder\n");
        EXPECT_FALSE(fs::exists(dir / "out" / "escape.txt"));
    }
}

TEST(PackTool, TheSampleGameIsPacked) {
    const fs::path game = BuiltProgram("game");
    const ProgramResult cat = Pack({"cat", game.string(), "data\\scripts\\master.ads"});
    EXPECT_EQ(cat.exitStatus, 0) << cat.err;
    EXPECT_NE(cat.out.find("function OnInit()"), std::string::npos);
}

} // namespace
