#include "resources/FileBytes.h"
#include "resources/CADVException.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(WriteWholeFileReplacing, ReplacesTheFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    const auto path = dir / "file";
    WriteWholeFileReplacing(path, Bytes("first"));
    WriteWholeFileReplacing(path, Bytes("second, longer"));
    EXPECT_EQ(ReadFile(path), "second, longer");
    WriteWholeFileReplacing(path, Bytes(""));
    EXPECT_EQ(ReadFile(path), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// Tests run as root, where a read-only folder does not stop a write, so each
// failure comes from something standing where the write needs to go.
TEST(WriteWholeFileReplacing, AFailedWriteKeepsWhatWasThere) {
    const struct {
        const char* name;
        const char* target; // inside the temporary folder
        std::function<void(const TempDir&)> prepare;
        const char* reason;
    } cases[] = {
        {"the temporary file's place is taken by a folder", "save",
         [](const TempDir& dir) {
             WriteFile(dir / "save", "old content");
             std::filesystem::create_directory(dir / "save.tmp");
         },
         "Is a directory"},
        {"the parent is a regular file", "plain/save",
         [](const TempDir& dir) { WriteFile(dir / "plain", "old content"); }, "Not a directory"},
        {"the target is a folder", "save",
         [](const TempDir& dir) {
             std::filesystem::create_directory(dir / "save");
             WriteFile(dir / "save" / "inside", "old content");
         },
         "Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        c.prepare(dir);
        const auto path = dir / c.target;
        try {
            WriteWholeFileReplacing(path, Bytes("new content"));
            ADD_FAILURE() << "no exception";
        } catch (const CADVException& e) {
            EXPECT_EQ(e.GetText(),
                      "Exception:\nCould not write " + path.string() + " (" + std::string(c.reason) + ").");
        }
        // Every file that was there still holds its old content, and no temporary file is left.
        int files = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path())) {
            if (entry.is_regular_file()) {
                EXPECT_EQ(ReadFile(entry.path()), "old content") << entry.path();
                ++files;
            }
        }
        EXPECT_EQ(files, 1);
    }
}

} // namespace
