#include "navigation/CPolygon.h"
#include "render/model/C3DSpresh.h"
#include "render/CArchiveModelHost.h"
#include "render/model/CModelCache.h"
#include "render/CTextureTable.h"
#include "render/device/DDeviceNull.h"
#include "render_models/ModelFixtures.h"
#include "resources/CArchiveWriter.h"
#include "resources/CFileManager.h"
#include "support/TempDir.h"

namespace {

// A game folder with one archive: a textured cube, its collision file, a
// model without one, and the texture.
std::filesystem::path WriteGame(const std::filesystem::path& folder) {
    ModelMeshData cube = UnitCube();
    cube.materials[0].texture = "crate.tga";
    CPolygon outline;
    outline.AddPoint(-1, -1, false);
    outline.AddPoint(1, -1, false);
    outline.AddPoint(0, 1, false);
    const std::vector<std::uint8_t> tga = {0, 0, 2, 0, 0, 0,  0,    0, 0, 0, 0,
                                           0, 1, 0, 1, 0, 32, 0x28, 1, 2, 3, 4};
    CArchiveWriter writer("resource.000");
    writer.Add("models", "crate.ims", CModelWriter::WriteMesh(cube));
    writer.Add("models", "crate.ims.col", CModelWriter::WriteCollision(outline));
    writer.Add("models", "plain.ims", CModelWriter::WriteMesh(UnitCube()));
    writer.Add("textures", "crate.tga", tga);
    writer.Write(folder / "resource.000");
    return folder;
}

class ArchiveModels : public ::testing::Test {
protected:
    TempDir game;
    TempDir cache;
    DDeviceNull device;
    CFileManager files{WriteGame(game.Path())};
    CTextureTable textures{device, [this](const std::string& path) { return files.LoadFile(path); }, 1};
    CArchiveModelHost host{device, files, textures, cache.Path()};
};

TEST_F(ArchiveModels, ModelsTexturesAndOutlinesComeFromTheArchive) {
    CModelCache models(host, true);
    C3DSpresh* crate = models.GetModel("data\\models\\crate.ims");
    const C3DIMesh2& frame = *crate->GetAnimations().at("idle")[0];
    const int id = frame.materials.at("cube").textureId;
    EXPECT_EQ(id, textures.GetTextureId("crate.tga"));
    ASSERT_NE(textures.Texture(id), nullptr);
    EXPECT_EQ(crate->CollisionOutline("idle", 0)->GetPoints().size(), 3u);
    EXPECT_TRUE(std::filesystem::is_empty(cache.Path()));

    EXPECT_EQ(ExceptionText([&] { models.GetModel("data\\models\\none.ims"); }),
              "Exception:\nFile data\\models\\none.ims not found.");
}

TEST_F(ArchiveModels, AComputedOutlineLandsInTheCacheFolderAndIsReadBack) {
    {
        CModelCache models(host, true);
        EXPECT_EQ(models.GetModel("data\\models\\plain.ims")->CollisionOutline("idle", 0)->GetPoints().size(),
                  4u);
    }
    const auto written =
        CachedFilePath(cache.Path(), CachedCollisionName("data\\models\\plain.ims", CModelWriter::WriteMesh(UnitCube())));
    ASSERT_TRUE(std::filesystem::exists(written));
    // A different outline put there is what the next start uses.
    CPolygon line;
    line.AddPoint(0, 0, false);
    line.AddPoint(5, 0, false);
    line.AddPoint(5, 5, false);
    const auto bytes = CModelWriter::WriteCollision(line);
    WriteFile(written, std::string(bytes.begin(), bytes.end()));
    CModelCache models(host, true);
    EXPECT_EQ(models.GetModel("data\\models\\plain.ims")->CollisionOutline("idle", 0)->GetMaxX(), 5.0f);
}

} // namespace
