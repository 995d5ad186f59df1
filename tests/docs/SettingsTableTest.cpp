// The README's settings table against the settings the game reads.
#include "app/settings/CSettings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <regex>
#include <vector>

namespace {

// The range as the README writes it: "1, 2, 4", "50 to 10000", or nothing.
std::string RangeText(const CSettingDefinition& setting) {
    std::string text;
    for (const int choice : setting.choices) {
        text += (text.empty() ? "" : ", ") + std::to_string(choice);
    }
    if (setting.kind == CSettingDefinition::Kind::Integer && setting.minimum != INT_MIN) {
        text = std::to_string(setting.minimum) + " to " + std::to_string(setting.maximum);
    }
    return text;
}

std::string DefaultText(const CSettingDefinition& setting) {
    return setting.kind == CSettingDefinition::Kind::Text ? "\"" + std::string(setting.defaultText) + "\""
                                                          : std::to_string(setting.defaultValue);
}

} // namespace

TEST(SettingsTable, TheReadmeTableListsEverySettingWithItsDefaultRangeAndUse) {
    const std::string readme = ReadFile(MORVANE_SOURCE_DIR "/README.md");
    const std::regex row(R"(^  \| `(\w+)` \|([^|]*)\|([^|]*)\|([^|]*)\|$)", std::regex::multiline);
    std::map<std::string, std::vector<std::string>> cells;
    for (auto it = std::sregex_iterator(readme.begin(), readme.end(), row, std::regex_constants::match_default);
         it != std::sregex_iterator(); ++it) {
        cells[(*it)[1]] = {(*it)[2], (*it)[3], (*it)[4]};
    }
    ASSERT_FALSE(cells.empty()) << "README.md has no settings table";
    const auto trimmed = [](std::string text) {
        text.erase(0, text.find_first_not_of(' '));
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    };
    for (const CSettingDefinition& setting : CSettings::Schema()) {
        const auto found = cells.find(setting.key);
        if (found == cells.end()) {
            ADD_FAILURE() << "README.md does not list " << setting.key;
            continue;
        }
        EXPECT_EQ(trimmed(found->second[0]), DefaultText(setting)) << setting.key;
        EXPECT_EQ(trimmed(found->second[1]), RangeText(setting)) << setting.key;
        EXPECT_EQ(trimmed(found->second[2]), setting.comment) << setting.key;
        cells.erase(found);
    }
    for (const auto& [key, unused] : cells) {
        ADD_FAILURE() << "README.md lists " << key << ", which the game does not read";
    }
}
