#include "render/CTextureTable.h"
#include "render/image/TgaWriter.h"
#include "render/device/DDeviceNull.h"
#include "render_models/ModelFixtures.h"

#include <map>

namespace {

// A TGA file, every pixel the given B, G, R, A.
std::vector<std::uint8_t> SolidTga(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r,
                                   std::uint8_t a) {
    CImage image(width, height);
    image.Fill(r, g, b, a);
    return WriteTga(image);
}

class TextureTable : public ::testing::Test {
protected:
    CTextureTable::FileLoader Loader() {
        return [this](const std::string& path) {
            ++reads[path];
            const auto found = files.find(path);
            if (found == files.end()) {
                throw CADVException("LoadFile: Resource '%s' not found.", path.c_str());
            }
            return found->second;
        };
    }

    DDeviceNull device;
    std::map<std::string, std::vector<std::uint8_t>> files;
    std::map<std::string, int> reads;
    CTextureTable table{device, Loader(), 1};
};

TEST_F(TextureTable, NamesGetIdsOnceAndEmptyNamesNone) {
    files["data\\textures\\a.tga"] = SolidTga(4, 4, 1, 2, 3, 4);
    files["data\\textures\\sub\\b.tga"] = SolidTga(2, 2, 0, 0, 0, 255);
    EXPECT_EQ(table.GetTextureId(""), 0);
    EXPECT_EQ(table.GetTextureId("a.tga"), 1);
    EXPECT_EQ(table.GetTextureId("sub\\b.tga"), 2);
    EXPECT_EQ(table.GetTextureId("a.tga"), 1);
    EXPECT_EQ(reads["data\\textures\\a.tga"], 1);
    EXPECT_EQ(table.LastId(), 2);

    const DTexture* a = table.Texture(1);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->LevelCount(), 3);
    // Stored B, G, R, A.
    EXPECT_EQ(a->Pixels(0)[0], 1);
    EXPECT_EQ(a->Pixels(0)[2], 3);
    EXPECT_EQ(a->Pixels(0)[3], 4);
}

TEST_F(TextureTable, QualityDividesTheSize) {
    files["data\\textures\\big.tga"] = SolidTga(256, 256, 9, 9, 9, 255);
    const struct {
        int setting;
        int side;
    } cases[] = {{1, 256}, {2, 128}, {4, 64}, {3, 128}, {0, 128}};
    for (const auto& c : cases) {
        table.ReleaseAll();
        table.SetQuality(c.setting);
        const DTexture* texture = table.Texture(table.GetTextureId("big.tga"));
        EXPECT_EQ(texture->Width(0), c.side) << c.setting;
        EXPECT_EQ(texture->LevelCount(), FullMipChainLength(c.side, c.side)) << c.setting;
    }
}

TEST_F(TextureTable, AFailedLoadEntersNothingAndIsTriedAgain) {
    files["data\\textures\\bad.tga"] = {1, 2, 3};
    const std::string text = ExceptionText([&] { table.GetTextureId("bad.tga"); });
    EXPECT_NE(text.find("Could not get texture information from filename 'bad.tga'"), std::string::npos)
        << text;
    EXPECT_EQ(ExceptionText([&] { table.GetTextureId("none.png"); }),
              "Exception:\nLoadFile: Resource 'data\\textures\\none.png' not found.");
    EXPECT_EQ(table.LastId(), 0);

    files["data\\textures\\bad.tga"] = SolidTga(1, 1, 0, 0, 0, 0);
    EXPECT_EQ(table.GetTextureId("bad.tga"), 1);
}

TEST_F(TextureTable, BindingReleaseAndRestoreKeepIds) {
    files["data\\textures\\a.tga"] = SolidTga(8, 8, 0, 0, 0, 255);
    files["data\\textures\\b.tga"] = SolidTga(8, 8, 0, 0, 0, 255);
    table.GetTextureId("a.tga");
    const int b = table.GetTextureId("b.tga");
    device.ClearCalls();
    table.SetTexture(b);
    table.SetTexture(0);
    EXPECT_EQ(device.Calls(), (std::vector<std::string>{"SetTexture 0 1", "SetTexture 0 0"}));
    EXPECT_EQ(ExceptionText([&] { table.SetTexture(9); }),
              "Exception:\nC3DEngine2::SetTexture - Texture 9 does not exist.");

    table.SetQuality(4);
    table.Restore();
    EXPECT_EQ(table.GetTextureId("b.tga"), b);
    EXPECT_EQ(table.Texture(b)->Width(0), 2);
    EXPECT_EQ(reads["data\\textures\\b.tga"], 2);

    table.ReleaseAll();
    EXPECT_EQ(table.Texture(b), nullptr);
    EXPECT_EQ(table.GetTextureId("b.tga"), 1);
}

TEST_F(TextureTable, ATextureThatDoesNotLoadAgainKeepsItsOwnAndTheOthersAreRestored) {
    files["data\\textures\\a.tga"] = SolidTga(8, 8, 0, 0, 0, 255);
    files["data\\textures\\b.tga"] = SolidTga(8, 8, 0, 0, 0, 255);
    const int a = table.GetTextureId("a.tga");
    const int b = table.GetTextureId("b.tga");
    files.erase("data\\textures\\a.tga");
    table.SetQuality(4);
    EXPECT_EQ(ExceptionText([&] { table.Restore(); }),
              "Exception:\nLoadFile: Resource 'data\\textures\\a.tga' not found.");
    ASSERT_NE(table.Texture(a), nullptr) << "the id keeps a texture";
    EXPECT_EQ(table.Texture(a)->Width(0), 8);
    EXPECT_EQ(table.Texture(b)->Width(0), 2) << "restored after the failure";
    table.SetTexture(a);
}

} // namespace
