#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "render_models/ModelFixtures.h"

#include <cstring>

namespace {

// Every vertex and index of a loaded frame equals what was written (indices
// to their low 16 bits).
void ExpectFrameEquals(const C3DIMesh2& frame, const ModelMeshData& mesh) {
    ASSERT_EQ(frame.vertexCount, static_cast<std::int32_t>(mesh.vertices.size()));
    ASSERT_EQ(frame.indexCount, static_cast<std::int32_t>(mesh.indices.size()));
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
        const SpreshVertex v = frame.Vertex(static_cast<std::int32_t>(i));
        EXPECT_EQ(std::memcmp(&v, &mesh.vertices[i], sizeof v), 0) << "vertex " << i;
    }
    for (std::size_t i = 0; i < mesh.indices.size(); ++i) {
        EXPECT_EQ(frame.indexBuffer->At(i), mesh.indices[i] & 0xFFFF) << "index " << i;
    }
}

TEST(ModelLoad, MeshFileRoundTripsAsTheOnlyFrameOfIdle) {
    CMemoryModelHost host;
    ModelMeshData cube = UnitCube();
    cube.materials.push_back({"glass", "data\\glass.png", GreyMaterial(), true, 6, 12});
    host.AddFile("cube.ims", CModelWriter::WriteMesh(cube));
    C3DSpresh model(host, "cube.ims");
    model.Load(true);

    ASSERT_TRUE(model.IsLoaded());
    ASSERT_EQ(model.GetAnimations().size(), 1u);
    const auto& idle = model.GetAnimations().at("idle");
    ASSERT_EQ(idle.size(), 1u);
    ExpectFrameEquals(*idle[0], cube);
    EXPECT_EQ(model.CurrentAnimation(), "idle");
    EXPECT_TRUE(model.HasOpaqueMaterials());
    EXPECT_TRUE(model.HasTransparentMaterials());
    EXPECT_EQ(model.TriangleCount(), 12);

    const auto& materials = idle[0]->materials;
    ASSERT_EQ(materials.size(), 2u);
    const CSpreshMaterial& glass = materials.at("glass");
    EXPECT_EQ(glass.number, 1);
    EXPECT_EQ(glass.textureId, host.TextureIds().at("data\\glass.png"));
    EXPECT_TRUE(glass.transparent);
    EXPECT_EQ(glass.firstIndex, 6);
    EXPECT_EQ(glass.indexCount, 12);
    EXPECT_EQ(glass.material, GreyMaterial());
    EXPECT_EQ(glass.textureFactor[0], 1.0f);
    // No texture file: no texture, and nothing was asked of the texture table.
    EXPECT_EQ(materials.at("cube").textureId, 0);
    EXPECT_EQ(host.TextureIds().size(), 1u);
}

TEST(ModelLoad, MeshBytesFollowTheFileLayoutFieldByField) {
    ModelMeshData mesh = PointMesh({{1, 2, 3}});
    mesh.indices = {0x10000};
    mesh.materials.push_back({"ab", "t", GreyMaterial(), true, 0, 1});
    const std::vector<std::uint8_t> bytes = CModelWriter::WriteMesh(mesh);
    // magic, 2 x 4 ignored, 1 ignored, count, name (2+4), texture (1+4), 68, 1, 4, 4, V, I, 32, 4
    ASSERT_EQ(bytes.size(), 4u + 8 + 1 + 4 + 6 + 5 + 68 + 1 + 8 + 8 + 32 + 4);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "IMS2");
    EXPECT_EQ(bytes[13], 1);   // material count, little-endian
    EXPECT_EQ(bytes[17], 2);   // name length
    EXPECT_EQ(bytes[21], 'a'); // name without its zero
    EXPECT_EQ(bytes[23], 1);   // texture name length
    EXPECT_EQ(bytes[27], 't');
    EXPECT_EQ(bytes[28 + 68], 1);          // transparent flag after the material
    EXPECT_EQ(bytes[bytes.size() - 2], 1); // index 0x10000 as 32 bits
}

TEST(ModelLoad, SpriteAnimationNamesCarryTheirZeroAndRepeatedNamesAppend) {
    // Built by hand from the layout: a reader that skips the name's zero byte
    // would read the frame count one byte early and fail.
    std::vector<std::uint8_t> file = {'S', 'P', 'R', 'T', 0, 0, 0, 0, 3, 0, 0, 0};
    const auto addAnimation = [&](const std::string& name, const std::vector<ModelMeshData>& frames) {
        file.insert(file.end(), {static_cast<std::uint8_t>(name.size()), 0, 0, 0});
        file.insert(file.end(), name.begin(), name.end());
        file.push_back(0);
        file.insert(file.end(), {static_cast<std::uint8_t>(frames.size()), 0, 0, 0});
        for (const ModelMeshData& frame : frames) {
            const auto block = CModelWriter::WriteMesh(frame);
            file.insert(file.end(), block.begin(), block.end());
        }
    };
    const ModelMeshData a = PointMesh({{1, 0, 0}});
    const ModelMeshData b = PointMesh({{2, 0, 0}, {3, 0, 0}});
    const ModelMeshData c = PointMesh({{4, 0, 0}, {5, 0, 0}, {6, 0, 0}});
    addAnimation("walk", {a, b});
    addAnimation("open", {c});
    addAnimation("walk", {c});

    CMemoryModelHost host;
    host.AddFile("door.spr", file);
    C3DSpresh model(host, "door.spr");
    model.Load(true);

    const auto& animations = model.GetAnimations();
    ASSERT_EQ(animations.size(), 2u);
    const auto& walk = animations.at("walk");
    ASSERT_EQ(walk.size(), 3u);
    ExpectFrameEquals(*walk[0], a);
    ExpectFrameEquals(*walk[1], b);
    ExpectFrameEquals(*walk[2], c);
    // No "idle": the name that sorts first.
    EXPECT_EQ(model.CurrentAnimation(), "open");
    // The writer produces the same bytes.
    EXPECT_EQ(CModelWriter::WriteSprite({{"walk", {a, b}}, {"open", {c}}, {"walk", {c}}}), file);
}

TEST(ModelLoad, SpriteRoundTripKeepsEveryFrame) {
    std::vector<ModelAnimationData> animations;
    for (const char* name : {"idle", "talk", "a"}) {
        ModelAnimationData animation{name, {}};
        for (int f = 0; f < 3; ++f) {
            ModelMeshData frame = UnitCube();
            for (auto& v : frame.vertices) {
                v.y += static_cast<float>(f);
            }
            animation.frames.push_back(frame);
        }
        animations.push_back(animation);
    }
    CMemoryModelHost host;
    host.AddFile("man.spr", CModelWriter::WriteSprite(animations));
    C3DSpresh model(host, "man.spr");
    model.Load(true);
    EXPECT_EQ(model.CurrentAnimation(), "idle");
    for (const ModelAnimationData& animation : animations) {
        const auto& frames = model.GetAnimations().at(animation.name);
        ASSERT_EQ(frames.size(), animation.frames.size());
        for (std::size_t f = 0; f < frames.size(); ++f) {
            ExpectFrameEquals(*frames[f], animation.frames[f]);
        }
    }
}

TEST(ModelLoad, IndicesWrapToTheirLow16BitsAndRepeatedMaterialNamesKeepTheLastRecord) {
    std::vector<D3DXVECTOR3> points(3);
    ModelMeshData mesh = PointMesh(points);
    mesh.indices = {0x10000, 0x20001, 0xFFFF0002};
    D3DMATERIAL9 second = GreyMaterial();
    second.Power = 99.0f;
    mesh.materials.push_back({"m", "one.png", GreyMaterial(), false, 0, 3});
    mesh.materials.push_back({"m", "two.png", second, true, 0, 3});
    CMemoryModelHost host;
    host.AddFile("w.ims", CModelWriter::WriteMesh(mesh));
    C3DSpresh model(host, "w.ims");
    model.Load(true);

    const C3DIMesh2& frame = *model.GetAnimations().at("idle")[0];
    EXPECT_EQ(frame.indexBuffer->At(0), 0);
    EXPECT_EQ(frame.indexBuffer->At(1), 1);
    EXPECT_EQ(frame.indexBuffer->At(2), 2);
    ASSERT_EQ(frame.materials.size(), 1u);
    const CSpreshMaterial& m = frame.materials.at("m");
    EXPECT_EQ(m.material.Power, 99.0f);
    EXPECT_EQ(m.number, 1);
    EXPECT_EQ(m.textureId, host.TextureIds().at("two.png"));
    EXPECT_EQ(frame.materialCounter, 2);
    // Both flags stay set: each material read sets one.
    EXPECT_TRUE(model.HasOpaqueMaterials());
    EXPECT_TRUE(model.HasTransparentMaterials());
}

TEST(ModelLoad, TextureAndEmissiveColourReachEveryMaterialOfEveryFrame) {
    ModelMeshData cube = UnitCube();
    cube.materials.push_back({"lid", "lid.png", GreyMaterial(), true, 0, 6});
    CMemoryModelHost host;
    host.AddFile("box.spr", CModelWriter::WriteSprite({{"idle", {cube}}, {"open", {cube, cube}}}));
    C3DSpresh model(host, "box.spr");
    model.Load(true);
    model.SetTexture(42);
    model.SetEmissive(0.1f, 0.2f, 0.3f, 0.4f);
    int materials = 0;
    for (const auto& [name, frames] : model.GetAnimations()) {
        for (const auto& frame : frames) {
            for (const auto& [materialName, m] : frame->materials) {
                EXPECT_EQ(m.textureId, 42);
                EXPECT_EQ(m.material.Emissive, (D3DCOLORVALUE{0.1f, 0.2f, 0.3f, 0.4f}));
                EXPECT_EQ(m.material.Diffuse, GreyMaterial().Diffuse);
                ++materials;
            }
        }
    }
    EXPECT_EQ(materials, 6);
}

TEST(ModelLoad, LoadWithoutTheFlagReadsNothing) {
    CMemoryModelHost host;
    C3DSpresh model(host, "missing.ims");
    model.Load(false);
    EXPECT_FALSE(model.IsLoaded());
    EXPECT_TRUE(host.NullDevice().Calls().empty());
}

} // namespace
