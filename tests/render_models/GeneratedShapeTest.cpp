#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "render_models/ModelFixtures.h"

#include <cmath>
#include <numbers>

namespace {

std::vector<std::uint16_t> IndicesOf(const C3DIMesh2& frame) {
    std::vector<std::uint16_t> indices;
    for (std::size_t i = 0; i < frame.indexBuffer->Count(); ++i) {
        indices.push_back(frame.indexBuffer->At(i));
    }
    return indices;
}

TEST(GeneratedShape, FilledCircleIsAFanAroundTheCentre) {
    CMemoryModelHost host;
    C3DSpresh model(host, "");
    model.CreateFilledCircle(2.0f, "idle", 4, 7, GreyMaterial());
    EXPECT_TRUE(model.IsLoaded());
    const C3DIMesh2& frame = *model.GetAnimations().at("idle")[0];
    EXPECT_EQ(frame.kind, SpreshShape::FilledCircle);
    ASSERT_EQ(frame.vertexCount, 5);
    EXPECT_EQ(IndicesOf(frame), (std::vector<std::uint16_t>{0, 2, 1, 0, 3, 2, 0, 4, 3, 0, 1, 4}));

    const SpreshVertex centre = frame.Vertex(0);
    EXPECT_EQ(centre.x, 0.0f);
    EXPECT_EQ(centre.u, 0.5f);
    EXPECT_EQ(centre.ny, 1.0f);
    for (int i = 0; i < 4; ++i) {
        const float a = static_cast<float>(i) * 2 * std::numbers::pi_v<float> / 4;
        const SpreshVertex v = frame.Vertex(i + 1);
        EXPECT_FLOAT_EQ(v.x, 2 * std::cos(a));
        EXPECT_EQ(v.y, 0.0f);
        EXPECT_FLOAT_EQ(v.z, 2 * std::sin(a));
        EXPECT_EQ(v.ny, 1.0f);
        EXPECT_FLOAT_EQ(v.u, (std::cos(a) + 1) / 2);
        EXPECT_FLOAT_EQ(v.v, (std::sin(a) + 1) / 2);
    }
    ASSERT_EQ(frame.materials.size(), 1u);
    const CSpreshMaterial& mat = frame.materials.at("mat");
    EXPECT_EQ(mat.firstIndex, 0);
    EXPECT_EQ(mat.indexCount, 12);
    EXPECT_EQ(mat.textureId, 7);
    EXPECT_EQ(mat.material, GreyMaterial());
}

TEST(GeneratedShape, SeeThroughColoursDrawInTheTransparentPass) {
    CMemoryModelHost host;
    C3DSpresh solid(host, "");
    solid.CreateFilledCircle(1.0f, "idle", 8, 0, GreyMaterial());
    EXPECT_TRUE(solid.HasOpaqueMaterials());
    EXPECT_FALSE(solid.HasTransparentMaterials());

    D3DMATERIAL9 glass = GreyMaterial();
    glass.Diffuse.a = 0.5f;
    C3DSpresh cone(host, "");
    cone.CreateBand(1.0f, 0.0f, 0.0f, 2.0f, "idle", 8, 0, glass);
    EXPECT_TRUE(cone.GetAnimations().at("idle")[0]->materials.at("mat").transparent);
    EXPECT_TRUE(cone.HasTransparentMaterials());
    EXPECT_FALSE(cone.HasOpaqueMaterials());
}

TEST(GeneratedShape, BandPairsBottomAndTopVertices) {
    CMemoryModelHost host;
    C3DSpresh model(host, "");
    model.CreateBand(1.0f, 0.5f, 3.0f, 2.0f, "ring", 3, 0, GreyMaterial());
    model.CreateBand(1.0f, 0.0f, 1.0f, 1.0f, "ring", 8, 0, GreyMaterial());
    const auto& frames = model.GetAnimations().at("ring");
    ASSERT_EQ(frames.size(), 2u);
    const C3DIMesh2& frame = *frames[0];
    EXPECT_EQ(frame.kind, SpreshShape::Band);
    ASSERT_EQ(frame.vertexCount, 6);
    EXPECT_EQ(IndicesOf(frame),
              (std::vector<std::uint16_t>{0, 1, 2, 2, 1, 3, 2, 3, 4, 4, 3, 5, 4, 5, 0, 0, 5, 1}));
    const SpreshVertex bottom = frame.Vertex(0);
    const SpreshVertex top = frame.Vertex(1);
    EXPECT_EQ(bottom.x, 1.0f);
    EXPECT_EQ(bottom.y, 0.5f);
    EXPECT_EQ(bottom.nx, 2.0f);
    EXPECT_EQ(bottom.ny, 0.5f);
    EXPECT_EQ(top.x, 3.0f);
    EXPECT_EQ(top.y, 2.0f);
    EXPECT_EQ(top.nx, 4.0f);
    EXPECT_EQ(top.u, bottom.u);
    EXPECT_EQ(frame.materials.at("mat").indexCount, 18);
    EXPECT_EQ(frames[1]->vertexCount, 16);
}

TEST(GeneratedShape, SegmentCountsThatIndicesCannotAddressAreRefused) {
    CMemoryModelHost host;
    C3DSpresh model(host, "");
    for (int segments : {0, -3, 65536}) {
        EXPECT_EQ(ExceptionText([&] { model.CreateFilledCircle(1, "idle", segments, 0, GreyMaterial()); }),
                  "Exception:\nC3DSpresh::CreateFilledCircle - Invalid segment count " +
                      std::to_string(segments));
    }
    EXPECT_NE(ExceptionText([&] { model.CreateBand(1, 0, 1, 1, "idle", 32768, 0, GreyMaterial()); }), "");
    model.CreateFilledCircle(1, "idle", 65535, 0, GreyMaterial());
    model.CreateBand(1, 0, 1, 1, "idle", 32767, 0, GreyMaterial());
    EXPECT_EQ(model.GetAnimations().at("idle").size(), 2u);
}

TEST(GeneratedShape, BufferFailuresNameTheCircle) {
    for (const char* call : {"CreateVertexBuffer", "CreateIndexBuffer", "LockVertexBuffer", "LockIndexBuffer",
                             "UnlockIndexBuffer", "UnlockVertexBuffer"}) {
        CMemoryModelHost host;
        C3DSpresh model(host, "");
        host.NullDevice().FailNext(call);
        const std::string text =
            ExceptionText([&] { model.CreateBand(1, 0, 2, 1, "idle", 5, 0, GreyMaterial()); });
        EXPECT_NE(text.find("\nC3DSpresh::CreateFilledCircle - Could not "), std::string::npos) << call;
        EXPECT_TRUE(model.GetAnimations().empty()) << call;
    }
}

} // namespace
