#include "app/savegame/CSavegameWriter.h"
#include "app/savegame/CSavegameReader.h"
#include "app/savegame/SavegameBytes.h"
#include "app/savegame/SavegameScene.h"
#include "render/C3DEngine2.h"
#include "resources/CADVException.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WriteSavegame, EverySectionInItsPlace) {
    SavegameScene game("", {"door", "ab"});
    game.State().SetVariant(u"a", Variant::I4(5));
    game.Setup().SetVariant(u"s", Variant::Bool(true));
    game.Host().Renderer().SetCamera({1.0f, 2.0f, 3.0f}, {4.0f, 5.5f, -6.0f}, {0.0f, 1.0f, 0.0f});
    game.Polygons().Find("door")->enabled = false;

    SavegameBytes expected;
    expected.Header(6, "Harbour at dusk");
    // "a" = 5: count, name length, "a" and its 0 unit, VT_I4, the value.
    expected.U32(1).Raw({1, 0, 0, 0, 1, 0, 0, 0, 'a', 0, 0, 0, 3, 0, 5, 0, 0, 0});
    expected.U32(2).Raw({0, 0, 0, 0});
    // "s" = true: VT_BOOL, VARIANT_TRUE.
    expected.U32(5).Raw({1, 0, 0, 0, 1, 0, 0, 0, 's', 0, 0, 0, 11, 0, 0xFF, 0xFF});
    // No objects.
    expected.U32(3).U32(0);
    expected.U32(4).Float(1.0f).Float(2.0f).Float(3.0f).Float(4.0f).Float(5.5f).Float(-6.0f);
    expected.Float(0.0f).Float(1.0f).Float(0.0f);
    // In name order: "ab" enabled, "door" disabled; then the list's 0.
    expected.U32(7).U32(2).Text("ab").Raw({1}).U32(4).Text("door").Raw({0}).U32(0);
    expected.U32(0);

    EXPECT_EQ(game.Save("Harbour at dusk"), expected.Bytes());
}

TEST(WriteSavegame, AnEmptyPolygonTableIsTheListEndRightBeforeTheEndTag) {
    SavegameScene game("");
    const std::vector<std::uint8_t> content = game.Save();
    ASSERT_GE(content.size(), 12u);
    const SavegameBytes tail = SavegameBytes().U32(7).U32(0).U32(0);
    EXPECT_EQ(std::vector<std::uint8_t>(content.end() - 12, content.end()), tail.Bytes());
}

TEST(WriteSavegame, TheDescriptionFieldKeeps255CharactersAndEndsInZero) {
    const std::string longest(255, 'x');
    const std::string tooLong = std::string(255, 'y') + std::string(45, 'z');
    const struct {
        std::string description;
        std::string kept;
    } cases[] = {
        {"", ""},
        {"Lighthouse, \xE9vening", "Lighthouse, \xE9vening"},
        {longest, longest},
        {tooLong, std::string(255, 'y')},
    };
    SavegameScene game("");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description.size());
        const std::vector<std::uint8_t> content = game.Save(c.description);
        const std::vector<std::uint8_t> header(content.begin(), content.begin() + 260);
        EXPECT_EQ(header, SavegameBytes().Header(6, c.kept).Bytes());
        EXPECT_EQ(header[4 + 255], 0);
        EXPECT_EQ(CSavegameReader(content, "07.sav").ReadHeader(), c.kept);
    }
}

TEST(WriteSavegame, AnUnnamedPolygonCannotBeSaved) {
    SavegameScene game("", {"door", ""});
    try {
        game.Save();
        FAIL() << "saved";
    } catch (const CADVException& e) {
        EXPECT_STREQ(
            e.GetText(),
            "Exception:\nCGame::Save() - Polygon with no name was defined, and this can't be saved.");
    }
}

} // namespace
