// morvane-modelgen run as the game build runs it, its files read back by the
// engine's own model and texture loaders.
#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "render/model/CModelInstance.h"
#include "render/image/TextureImage.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace {

namespace fs = std::filesystem;

struct ExpectedModel {
    const char* name;
    // Animation name -> frame count.
    std::map<std::string, std::size_t> animations;
};

const ExpectedModel kModels[] = {
    {"floor.ims", {{"idle", 1}}},
    {"wall.ims", {{"idle", 1}}},
    {"crate.ims", {{"idle", 1}}},
    {"block.ims", {{"idle", 1}}},
    {"glass.ims", {{"idle", 1}}},
    {"lamp.ims", {{"idle", 1}}},
    {"mirror.ims", {{"idle", 1}}},
    {"hero.spr", {{"idle", 2}, {"walk", 8}}},
    {"guard.spr", {{"idle", 2}, {"walk", 8}}},
    {"gate.ims", {{"idle", 1}}},
    {"backdrop.ims", {{"idle", 1}}},
    {"door.ims", {{"idle", 1}}},
    {"bench.ims", {{"idle", 1}}},
    {"shelf.ims", {{"idle", 1}}},
    {"crowbar.ims", {{"idle", 1}}},
    {"oilcan.ims", {{"idle", 1}}},
    {"lantern.ims", {{"idle", 1}}},
    {"hatch.ims", {{"idle", 1}}},
    {"stairs.ims", {{"idle", 1}}},
    {"barrel.ims", {{"idle", 1}}},
    {"key.ims", {{"idle", 1}}},
};

const char* const kTextures[] = {"checker.tga", "crate.tga", "wall.tga", "boards.tga", "flagstones.tga"};
// Named by no model: the scenes put them on floor.ims as skins.
const char* const kSkins[] = {"boards.tga", "flagstones.tga"};

std::vector<std::uint8_t> Bytes(const fs::path& path) {
    const std::string text = ReadFile(path);
    return {text.begin(), text.end()};
}

std::vector<SpreshVertex> Vertices(const C3DIMesh2& frame) {
    std::vector<SpreshVertex> vertices;
    for (std::int32_t i = 0; i < frame.vertexCount; ++i) {
        vertices.push_back(frame.Vertex(i));
    }
    return vertices;
}

bool SameVertices(const C3DIMesh2& a, const C3DIMesh2& b) {
    const auto va = Vertices(a);
    const auto vb = Vertices(b);
    return va.size() == vb.size() && std::memcmp(va.data(), vb.data(), va.size() * sizeof(SpreshVertex)) == 0;
}

class ModelgenTool : public ::testing::Test {
protected:
    void SetUp() override { GenerateInto(m_dir.Path()); }

    static void GenerateInto(const fs::path& dir) {
        const ProgramResult result = RunProgram(BuiltProgram("morvane-modelgen"), {dir.string()});
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        ASSERT_TRUE(result.err.empty()) << result.err;
    }

    // The model loaded through the engine's reader, textures counted by the host.
    C3DSpresh& LoadModel(const std::string& name) {
        m_host.AddFile(name, Bytes(m_dir / "models" / name));
        m_models.push_back(std::make_unique<C3DSpresh>(m_host, name));
        m_models.back()->Load(true);
        return *m_models.back();
    }

    const CSpreshMaterial& OnlyMaterial(const std::string& model) {
        const auto& materials = LoadModel(model).GetAnimations().at("idle")[0]->materials;
        EXPECT_EQ(materials.size(), 1u) << model;
        return materials.begin()->second;
    }

    int TextureId(const std::string& texture) const {
        const auto found = m_host.TextureIds().find(texture);
        return found == m_host.TextureIds().end() ? -1 : found->second;
    }

    TempDir m_dir;
    CMemoryModelHost m_host;
    std::vector<std::unique_ptr<C3DSpresh>> m_models;
};

TEST_F(ModelgenTool, EveryModelLoadsWithItsAnimationsAndSoundMeshes) {
    for (const ExpectedModel& expected : kModels) {
        SCOPED_TRACE(expected.name);
        const C3DSpresh* model = &LoadModel(expected.name);
        ASSERT_TRUE(model->IsLoaded());
        EXPECT_EQ(model->CurrentAnimation(), "idle");
        std::map<std::string, std::size_t> frames;
        for (const auto& [name, sequence] : model->GetAnimations()) {
            frames[name] = sequence.size();
            for (const auto& frame : sequence) {
                ASSERT_TRUE(frame->HasGeometry());
                ASSERT_EQ(frame->indexCount % 3, 0);
                for (std::int32_t i = 0; i < frame->indexCount; ++i) {
                    ASSERT_LT(frame->indexBuffer->At(static_cast<std::size_t>(i)), frame->vertexCount);
                }
                // The materials share out the triangles without gaps or overlaps.
                std::vector<const CSpreshMaterial*> materials;
                for (const auto& [materialName, material] : frame->materials) {
                    materials.push_back(&material);
                }
                std::sort(materials.begin(), materials.end(),
                          [](const auto* a, const auto* b) { return a->firstIndex < b->firstIndex; });
                std::int32_t next = 0;
                for (const CSpreshMaterial* material : materials) {
                    EXPECT_EQ(material->firstIndex, next);
                    EXPECT_GT(material->indexCount, 0);
                    next = material->firstIndex + material->indexCount;
                }
                EXPECT_EQ(next, frame->indexCount);
                // Everything stands on the ground (the floor is y = 0).
                for (const SpreshVertex& v : Vertices(*frame)) {
                    ASSERT_GE(v.y, -1e-5f);
                }
            }
        }
        EXPECT_EQ(frames, expected.animations);
    }
}

TEST_F(ModelgenTool, EveryFrameOfTheFigureIsADifferentPose) {
    const C3DSpresh* hero = &LoadModel("hero.spr");
    for (const char* animation : {"idle", "walk"}) {
        const auto& frames = hero->GetAnimations().at(animation);
        for (std::size_t i = 0; i < frames.size(); ++i) {
            for (std::size_t j = i + 1; j < frames.size(); ++j) {
                EXPECT_FALSE(SameVertices(*frames[i], *frames[j]))
                    << animation << " frames " << i << ", " << j;
            }
        }
    }
    // A walking figure lifts its feet off the ground but keeps one close to it.
    for (const auto& frame : hero->GetAnimations().at("walk")) {
        float lowest = 1e9f;
        for (const SpreshVertex& v : Vertices(*frame)) {
            lowest = std::min(lowest, v.y);
        }
        EXPECT_LT(lowest, 0.2f);
    }
    EXPECT_FALSE(hero->HasTransparentMaterials());
}

// Shadow and mirror surfaces take their plane from the first triangle; a
// floor whose first triangle were a side or the underside would throw every
// shadow somewhere off screen.
TEST_F(ModelgenTool, SurfacesFaceTheWayTheSceneUsesThem) {
    const struct {
        const char* model;
        D3DXVECTOR3 normal;
    } cases[] = {{"floor.ims", {0, 1, 0}}, {"mirror.ims", {0, 0, -1}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        C3DSpresh& model = LoadModel(c.model);
        CModelInstance instance(&model, {0, 0, 0}, {0, 0, 0}, true, true, CModelInstance::ShadowSurface);
        const std::vector<D3DXPLANE> planes = model.CalculatePlanes(instance);
        ASSERT_FALSE(planes.empty());
        EXPECT_NEAR(planes[0].a, c.normal.x, 1e-5f);
        EXPECT_NEAR(planes[0].b, c.normal.y, 1e-5f);
        EXPECT_NEAR(planes[0].c, c.normal.z, 1e-5f);
        EXPECT_NEAR(planes[0].d, 0.0f, 1e-5f);
    }
}

TEST_F(ModelgenTool, MaterialsAreTexturedTransparentOrGlowingAsMade) {
    struct Case {
        const char* model;
        const char* texture; // "" for none
        bool transparent;
    };
    const Case cases[] = {
        {"floor.ims", "checker.tga", false},
        {"wall.ims", "wall.tga", false},
        {"crate.ims", "crate.tga", false},
        {"block.ims", "", false},
        {"glass.ims", "", true},
        {"mirror.ims", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        const CSpreshMaterial& material = OnlyMaterial(c.model);
        EXPECT_EQ(material.transparent, c.transparent);
        EXPECT_EQ(material.textureId, *c.texture ? TextureId(c.texture) : 0);
        EXPECT_EQ(material.material.Diffuse.a < 1.0f, c.transparent);
    }
    const C3DSpresh* lamp = &LoadModel("lamp.ims");
    const auto& lampMaterials = lamp->GetAnimations().at("idle")[0]->materials;
    ASSERT_EQ(lampMaterials.size(), 2u);
    const D3DCOLORVALUE glow = lampMaterials.at("glow").material.Emissive;
    EXPECT_GT(glow.r + glow.g + glow.b, 1.0f);
    EXPECT_EQ(lampMaterials.at("post").material.Emissive, D3DCOLORVALUE{});
}

TEST_F(ModelgenTool, TexturesAreTgaFilesTheEngineDecodes) {
    for (const char* name : kTextures) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> file = Bytes(m_dir / "textures" / name);
        const TextureImageInfo info = GetTextureImageInfo(file, name);
        EXPECT_EQ(info.format, ImageFileFormat::Tga);
        EXPECT_EQ(info.width, 128);
        EXPECT_EQ(info.height, 128);
        const std::vector<CImage> levels = LoadTextureImage(file, name, 1);
        ASSERT_FALSE(levels.empty());
        const CImage& image = levels[0];
        ASSERT_EQ(image.Width(), 128);
        // Opaque, and a pattern rather than one flat colour.
        std::set<int> brightness;
        for (int y = 0; y < image.Height(); ++y) {
            for (int x = 0; x < image.Width(); ++x) {
                const std::uint8_t* p = image.At(x, y);
                ASSERT_EQ(p[3], 255);
                brightness.insert((p[0] + p[1] + p[2]) / 48);
            }
        }
        EXPECT_GE(brightness.size(), 3u);
    }
    // The floor's checker: neighbouring squares clearly light and dark, the
    // top row read as the top (the file stores its rows top to bottom).
    const CImage checker = LoadTextureImage(Bytes(m_dir / "textures" / "checker.tga"), "checker.tga", 1)[0];
    const auto luminance = [&checker](int x, int y) {
        const std::uint8_t* p = checker.At(x, y);
        return p[0] + p[1] + p[2];
    };
    EXPECT_GT(luminance(8, 8) - luminance(24, 8), 200);
    EXPECT_GT(luminance(24, 24) - luminance(8, 24), 200);
}

TEST_F(ModelgenTool, EveryTextureAModelNamesIsWritten) {
    for (const ExpectedModel& model : kModels) {
        LoadModel(model.name);
    }
    std::set<std::string> named;
    for (const auto& [texture, id] : m_host.TextureIds()) {
        named.insert(texture);
    }
    std::set<std::string> expected(std::begin(kTextures), std::end(kTextures));
    for (const char* skin : kSkins) {
        expected.erase(skin);
    }
    EXPECT_EQ(named, expected);
}

TEST_F(ModelgenTool, EveryRunWritesTheSameBytes) {
    TempDir again;
    GenerateInto(again.Path());
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(m_dir.Path())) {
        if (entry.is_regular_file()) {
            ++files;
            const fs::path rel = fs::relative(entry.path(), m_dir.Path());
            EXPECT_EQ(ReadFile(entry.path()), ReadFile(again.Path() / rel)) << rel;
        }
    }
    EXPECT_EQ(files, std::size(kModels) + std::size(kTextures) + 1) << "and the cursor";
}

TEST_F(ModelgenTool, CursorIsAPointerWithItsTipAtTheTopLeft) {
    const std::vector<std::uint8_t> file = Bytes(m_dir / "textures" / "arrow.png");
    const TextureImageInfo info = GetTextureImageInfo(file, "arrow.png");
    EXPECT_EQ(info.format, ImageFileFormat::Png);
    const std::vector<CImage> levels = LoadTextureImage(file, "arrow.png", 1);
    ASSERT_FALSE(levels.empty());
    const CImage& image = levels.front();
    ASSERT_EQ(image.Width(), 32);
    ASSERT_EQ(image.Height(), 32);
    const auto alpha = [&image](int x, int y) {
        return image.Pixels()[static_cast<std::size_t>((y * 32 + x) * 4 + 3)];
    };
    EXPECT_EQ(alpha(0, 0), 255) << "the tip";
    EXPECT_EQ(alpha(31, 0), 0) << "beside the pointer it is see-through";
    EXPECT_EQ(alpha(31, 31), 0);
}

TEST(ModelgenToolUsage, BadUsageAndUnwritableFoldersFail) {
    const fs::path tool = BuiltProgram("morvane-modelgen");
    EXPECT_EQ(RunProgram(tool, {}).exitStatus, 2);
    EXPECT_EQ(RunProgram(tool, {"a", "b"}).exitStatus, 2);
    const ProgramResult help = RunProgram(tool, {"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("hero.spr"), std::string::npos);

    TempDir dir;
    WriteFile(dir / "models", "a file where the folder should be");
    const ProgramResult blocked = RunProgram(tool, {dir.Path().string()});
    EXPECT_EQ(blocked.exitStatus, 1);
    EXPECT_NE(blocked.err.find("morvane-modelgen - cannot create"), std::string::npos) << blocked.err;
}

} // namespace
