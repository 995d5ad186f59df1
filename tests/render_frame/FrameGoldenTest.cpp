#include "render/CEngineLight.h"
#include "render_frame/FrameFixture.h"
#include "render_gl/GlTestScene.h"
#include "render_gl/GoldenImage.h"

// Whole frames of the engine on the OpenGL device, compared with reference
// images: lit objects with their shadows on a floor, overlapping shadows,
// a light's range, a mirror, lighdows, and object ids read back by picking.

namespace {

class FrameGoldenTest : public GlDeviceTest {
protected:
    void SetUp() override {
        GlDeviceTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        files = WriteFrameGame(folder.Path());
        engine = std::make_unique<C3DEngine2>(Device(), *files, std::filesystem::path(),
                                              C3DEngine2::Settings{1, true, true, true, true});
        engine->CreateDevice(kWidth, kHeight, true);
        engine->SetCamera({0, 5, -6.5f}, {0, 0.5f, 0.5f}, {0, 1, 0});
        engine->SetAmbient(0xFF303030);
        // The floor is scenery to see and a shadow surface to receive shadows.
        Add("floor.ims", {0, 0, 0}, CModelInstance::Scenery)->castsShadows = false;
        Add("floor.ims", {0, 0, 0}, CModelInstance::ShadowSurface)->castsShadows = false;
    }
    void TearDown() override {
        engine.reset();
        GlDeviceTest::TearDown();
    }

    CModelInstance* Add(const std::string& model, const D3DXVECTOR3& position,
                        int kind = CModelInstance::Ordinary) {
        return engine->AddInstance(
            engine->CreateInstance(engine->GetModel(model), position, {0, 0, 0}, true, true, kind));
    }
    CEngineLight* Light(const D3DXVECTOR3& position, float range,
                        const D3DCOLORVALUE& colour = {1, 1, 1, 1}) {
        CEngineLight* light = engine->AddPointLight(colour, position, 0.15f, range);
        engine->ApplyLight(*light);
        return light;
    }
    ::testing::AssertionResult FrameMatches(const std::string& name) {
        engine->RenderFrame(1000, true);
        return MatchesGolden(Device(), name);
    }
    // The pixel a world point is drawn at.
    std::pair<int, int> Pixel(const D3DXVECTOR3& world) {
        const D3DXMATRIX viewProjection =
            Device().GetTransform(DTransformState::View) * Device().GetTransform(DTransformState::Projection);
        D3DXVECTOR3 clip;
        D3DXVec3TransformCoord(&clip, &world, &viewProjection);
        return {static_cast<int>((clip.x + 1) / 2 * kWidth), static_cast<int>((1 - clip.y) / 2 * kHeight)};
    }

    TempDir folder;
    std::unique_ptr<CFileManager> files;
    std::unique_ptr<C3DEngine2> engine;
};

TEST_F(FrameGoldenTest, LitBoxCastsAShadowOnTheFloor) {
    Light({3, 8, -1}, 40);
    Add("solid.ims", {0, 0, 0});
    EXPECT_TRUE(FrameMatches("frame_shadow"));
}

TEST_F(FrameGoldenTest, OverlappingShadowsDarkenOnce) {
    // Both shadows fall to the right and cross behind the box.
    Light({-3, 3, -1.5f}, 40, {0.6f, 0.6f, 0.6f, 1});
    Light({-3, 3, 1.5f}, 40, {0.6f, 0.6f, 0.6f, 1});
    Add("solid.ims", {-0.5f, 0, 0})->rotation = {0, 0, 0.4f};
    EXPECT_TRUE(FrameMatches("frame_shadows_overlap"));
}

TEST_F(FrameGoldenTest, PointLightRangeCutsTheShadowOfAFarBox) {
    Light({0, 3.5f, 0}, 6.5f, {0.5f, 0.5f, 0.5f, 1});
    Add("solid.ims", {-1.5f, 0, 0}); // 3.8 from the light: a shadow
    Add("solid.ims", {4.2f, 0, 4});  // 6.8 from it: none
    EXPECT_TRUE(FrameMatches("frame_shadow_range"));
}

TEST_F(FrameGoldenTest, MirrorShowsTheRoomBehindTheCamera) {
    Light({0, 6, -3}, 40);
    engine->SetEffects(false, true, false);
    Add("mirror.ims", {0, 0, 4}, CModelInstance::MirrorSurface)->castsShadows = false;
    Add("solid.ims", {-1, 0, 1});
    Add("box.ims", {1.5f, 0, -2});
    EXPECT_TRUE(FrameMatches("frame_mirror"));
}

TEST_F(FrameGoldenTest, LighdowsTintTheFloorUnderGlass) {
    Light({0, 6, -3}, 40, {0.8f, 0.8f, 0.8f, 1})->castsShadows = false;
    // A blue lamp that lights little itself: the tint is its lighdow.
    CEngineLight* lamp = engine->AddPointLight({0.2f, 0.5f, 1, 1}, {1, 6, 1}, 1.0f, 40);
    engine->ApplyLight(*lamp);
    lamp->castsLighdows = true;
    lamp->castsShadows = false;
    CModelInstance* glass = Add("box.ims", {0, 0, 0});
    glass->castsLighdows = true;
    glass->castsShadows = false;
    EXPECT_TRUE(FrameMatches("frame_lighdows"));
}

TEST_F(FrameGoldenTest, PickingReadsBackTheIdsOfScenerOrdinaryAndMirrors) {
    engine->DeleteAllInstances();
    CModelInstance* scenery = Add("solid.ims", {-2.5f, 0, 0}, CModelInstance::Scenery);
    CModelInstance* ordinary = Add("solid.ims", {0, 0, 0});
    CModelInstance* mirror = Add("mirror.ims", {2.5f, 0, 2}, CModelInstance::MirrorSurface);
    CModelInstance* surface = Add("floor.ims", {0, 0, 0}, CModelInstance::ShadowSurface);
    scenery->objectId = 0x00ABCDEF;
    ordinary->objectId = 0x00000102;
    mirror->objectId = 0x00FF0001;
    surface->objectId = 0x00777777;
    engine->RenderFrame(1000, true);

    const struct {
        D3DXVECTOR3 at;
        std::uint32_t id;
    } probes[] = {
        {{-2.5f, 0.5f, -0.5f}, 0x00ABCDEF},
        {{0, 0.5f, -0.5f}, 0x00000102},
        {{2.5f, 2, 2}, 0x00FF0001},
        {{-1.2f, 0, -3}, 0}, // floor only: shadow surfaces are not picked
    };
    for (const auto& probe : probes) {
        const auto [x, y] = Pixel(probe.at);
        EXPECT_EQ(engine->PickColour(x, y), probe.id) << x << "," << y;
    }
    EXPECT_EQ(engine->PickColour(kWidth / 2, 0), 0u); // empty sky
}

} // namespace
