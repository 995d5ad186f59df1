#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "render/model/CModelCache.h"
#include "render_models/ModelFixtures.h"

namespace {

TEST(ModelCache, PreloadReadsAtOnceAndKeepsNoModelThatFailed) {
    CMemoryModelHost host;
    host.AddFile("cube.ims", CModelWriter::WriteMesh(UnitCube()));
    CModelCache cache(host, true);

    C3DSpresh* cube = cache.GetModel("cube.ims");
    EXPECT_TRUE(cube->IsLoaded());
    EXPECT_EQ(cache.GetModel("cube.ims"), cube);

    EXPECT_EQ(ExceptionText([&] { cache.GetModel("gone.ims"); }), "Exception:\nFile gone.ims not found.");
    EXPECT_FALSE(cache.Contains("gone.ims"));
}

TEST(ModelCache, WithoutPreloadAFailedFirstUseIsTriedAgainLater) {
    CMemoryModelHost host;
    CModelCache cache(host, false);
    C3DSpresh* model = cache.GetModel("late.ims");
    EXPECT_FALSE(model->IsLoaded());
    EXPECT_TRUE(cache.Contains("late.ims"));

    EXPECT_EQ(ExceptionText([&] { model->SelectFrame("idle", 0.0f); }),
              "Exception:\nFile late.ims not found.");
    EXPECT_FALSE(model->IsLoaded());

    host.AddFile("late.ims", CModelWriter::WriteMesh(UnitCube()));
    EXPECT_NE(model->SelectFrame("idle", 0.0f), nullptr);
    EXPECT_TRUE(model->IsLoaded());
    EXPECT_EQ(model->GetAnimations().at("idle").size(), 1u);
}

TEST(ModelCache, AFailedLoadLeavesNoHalfModelForTheRetryToAppendTo) {
    CMemoryModelHost host;
    const ModelMeshData cube = UnitCube();
    std::vector<std::uint8_t> broken = CModelWriter::WriteSprite({{"idle", {cube, cube}}});
    broken.resize(broken.size() - 1);
    host.AddFile("s.spr", broken);
    C3DSpresh model(host, "s.spr");
    EXPECT_NE(ExceptionText([&] { model.Load(true); }), "");
    EXPECT_TRUE(model.GetAnimations().empty());

    host.AddFile("s.spr", CModelWriter::WriteSprite({{"idle", {cube, cube}}}));
    model.Load(true);
    EXPECT_EQ(model.GetAnimations().at("idle").size(), 2u);
}

TEST(ModelCache, UnnamedModelsGetKeysNoFileNameProduces) {
    CMemoryModelHost host;
    CModelCache cache(host, true);
    const std::string prefix("\x31\x56\x26\xE9\x28\xA7", 6);
    EXPECT_EQ(cache.NextUnnamedKey(), prefix + "1&&jk");
    C3DSpresh* first = cache.CreateUnnamedModel();
    C3DSpresh* second = cache.CreateUnnamedModel();
    EXPECT_NE(first, second);
    EXPECT_TRUE(first->FileName().empty());
    EXPECT_TRUE(cache.Contains(prefix + "1&&jk"));
    EXPECT_TRUE(cache.Contains(prefix + "2&&jk"));
    EXPECT_EQ(cache.NextUnnamedKey(), prefix + "3&&jk");
}

TEST(ModelCache, PurgeKeepsOnlyModelsMarkedToStay) {
    CMemoryModelHost host;
    host.AddFile("a.ims", CModelWriter::WriteMesh(UnitCube()));
    host.AddFile("b.ims", CModelWriter::WriteMesh(UnitCube()));
    CModelCache cache(host, true);
    C3DSpresh* a = cache.GetModel("a.ims");
    C3DSpresh* b = cache.GetModel("b.ims");
    cache.CreateUnnamedModel();

    // Only the exact texts change the mark.
    const struct {
        const char* value;
        bool expected;
    } steps[] = {{"true", true},   {"yes", true}, {"TRUE", true},
                 {"false", false}, {"", false},   {"true", true}};
    for (const auto& step : steps) {
        a->SetKeepInCache(step.value);
        EXPECT_EQ(a->KeepInCache(), step.expected) << step.value;
    }
    b->SetKeepInCache("false");

    cache.Purge();
    EXPECT_EQ(cache.Size(), 1u);
    EXPECT_EQ(cache.GetModel("a.ims"), a);
}

TEST(ModelCache, RestoreReadsFilesAgainAndRebuildsShapes) {
    CMemoryModelHost host;
    host.AddFile("cube.ims", CModelWriter::WriteMesh(UnitCube()));
    CModelCache cache(host, true);
    C3DSpresh* cube = cache.GetModel("cube.ims");
    cube->ReCalc(0, 0, 0, 0, 0, 0, 2, 2, 2);
    C3DSpresh* shape = cache.CreateUnnamedModel();
    shape->CreateFilledCircle(1.0f, "idle", 8, 3, GreyMaterial());
    shape->SetTexture(5);
    DDeviceNull& device = host.NullDevice();
    device.ClearCalls();

    cache.Restore();
    EXPECT_EQ(device.CountCalls("CreateVertexBuffer"), 2);
    EXPECT_EQ(device.CountCalls("CreateIndexBuffer"), 2);
    // The file's own coordinates are back.
    EXPECT_EQ(cube->GetAnimations().at("idle")[0]->Position(0).x, -0.5f);
    const C3DIMesh2& circle = *shape->GetAnimations().at("idle")[0];
    EXPECT_EQ(circle.vertexCount, 9);
    // Rebuilt from the shape's own parameters.
    EXPECT_EQ(circle.materials.at("mat").textureId, 3);
}

TEST(ModelCache, ModelsNeverUsedOrWithoutShapesNeedNoFile) {
    CMemoryModelHost host;
    CModelCache cache(host, false);
    C3DSpresh* unused = cache.GetModel("gone.ims");
    C3DSpresh* empty = cache.CreateUnnamedModel();
    EXPECT_EQ(empty->SelectFrame("idle", 0.0f), nullptr);
    EXPECT_EQ(empty->TriangleCount(), 0);
    EXPECT_FALSE(empty->HasIntersection({0, 0, 0}, {0, 0, 1}, nullptr, nullptr));
    cache.Restore();
    EXPECT_FALSE(unused->IsLoaded());
    EXPECT_TRUE(host.NullDevice().Calls().empty());
}

} // namespace
