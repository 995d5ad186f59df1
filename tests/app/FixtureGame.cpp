#include "FixtureGame.h"

#include "render/ArrowCursorImage.h"
#include "resources/CArchiveWriter.h"
#include "resources/CFileManager.h"

#include <cstdint>
#include <cstdlib>
#include <regex>
#include <span>

void WriteFixtureGame(const std::filesystem::path& folder, FixtureFiles files) {
    files.try_emplace("data\\scripts\\master.lib", "");
    files.try_emplace("data\\scripts\\master.ads", "function OnInit() { state.scene = 'start'; }\n");
    const std::vector<std::uint8_t> arrow = ArrowCursorPng();
    files.try_emplace("data\\textures\\arrow.png", std::string(arrow.begin(), arrow.end()));
    files.try_emplace("data\\scripts\\start.scs", "function OnInit() {}\n");
    files.try_emplace("data/commands.txt", "look {\n    maxnrobjects=0\n}\n");
    files.try_emplace("data/objects.txt", "lamp {\n}\n");

    CArchiveWriter writer("resource.000");
    for (const auto& [path, content] : files) {
        if (!content) {
            continue;
        }
        const auto split = CFileManager::Split(path);
        writer.Add(split.dir, split.name,
                   std::span(reinterpret_cast<const std::uint8_t*>(content->data()), content->size()));
    }
    writer.Write(folder / "resource.000");
}

std::string DumpedValue(const std::string& json, const std::string& name) {
    std::smatch match;
    const std::regex pattern("\"" + name + "\": (\"[^\"]*\"|[^,}]*)");
    return std::regex_search(json, match, pattern) ? match[1].str() : "<missing>";
}

double DumpedNumber(const std::string& json, const std::string& name) {
    return std::strtod(DumpedValue(json, name).c_str(), nullptr);
}
