#include "render/model/C3DSpresh.h"
#include "render/CEngineLight.h"
#include "render/model/CModelCache.h"
#include "render/gui/CGuiComponentText.h"
#include "render_frame/FrameFixture.h"

#include <algorithm>

namespace {

TEST_F(FrameTest, WindowedModeTakesTheClientSize) {
    C3DEngine2& engine = Engine();
    engine.SetClientSize(800, 600);
    engine.CreateDevice(1280, 960, false);
    EXPECT_EQ(device.BackBufferWidth(), 800);
    EXPECT_EQ(engine.ScreenHeight(), 600);
    EXPECT_FLOAT_EQ(engine.Aspect(), 800.0f / 600.0f);
    engine.CreateDevice(1280, 960, true);
    EXPECT_EQ(engine.ScreenWidth(), 1280);
    EXPECT_EQ(device.BackBufferHeight(), 960);
    D3DXMATRIX expected;
    D3DXMatrixPerspectiveFovLH(&expected, std::numbers::pi_v<float> / 4.0f, 1280.0f / 960.0f, 1.0f, 1000.0f);
    EXPECT_EQ(device.GetTransform(DTransformState::Projection), expected);
}

TEST_F(FrameTest, ResetSetsTheStatesAgainAndReappliesLightsAndFog) {
    C3DEngine2& engine = Engine();
    engine.AddPointLight({1, 1, 1, 1}, {0, 5, 0}, 0.1f, 20);
    engine.AddDirectionalLight({1, 1, 1, 1}, {0, -1, 0});
    engine.SetFog(0xFF808080, 5, 40);
    device.ClearCalls();
    engine.CreateDevice(1024, 768, true);
    const struct {
        DRenderState state;
        std::uint32_t value;
    } expected[] = {
        {DRenderState::DitherEnable, 0},
        {DRenderState::ShadeMode, D3DSHADE_GOURAUD},
        {DRenderState::SpecularEnable, 0},
        {DRenderState::CullMode, D3DCULL_CCW},
        {DRenderState::ZEnable, 1},
        {DRenderState::ZWriteEnable, 1},
        {DRenderState::StencilEnable, 0},
        {DRenderState::AlphaBlendEnable, 0},
        {DRenderState::Lighting, 1},
        {DRenderState::SrcBlend, D3DBLEND_SRCALPHA},
        {DRenderState::DestBlend, D3DBLEND_INVSRCALPHA},
        {DRenderState::StencilMask, 0xFFFFFFFF},
        {DRenderState::StencilWriteMask, 0xFFFFFFFF},
        {DRenderState::StencilZFail, D3DSTENCILOP_KEEP},
        {DRenderState::StencilFail, D3DSTENCILOP_KEEP},
        {DRenderState::FogColor, 0xFF808080},
        {DRenderState::FogVertexMode, D3DFOG_LINEAR},
    };
    for (const auto& [state, value] : expected) {
        EXPECT_EQ(device.State(state), value) << static_cast<int>(state);
    }
    EXPECT_EQ(device.CountCalls("SetLight"), 2);
    EXPECT_EQ(device.Calls().front(), "Reset 1024 768");
    // Models and textures survive a reset: nothing is made again.
    EXPECT_EQ(device.CountCalls("CreateTexture"), 0);
}

TEST_F(FrameTest, FailedResetRecreatesTheDeviceAndRestoresTexturesModelsAndGui) {
    Add("box.ims", {0, 0, 5});
    C3DEngine2& engine = Engine();
    CGuiComponentText& label = engine.CreateChild<CGuiComponentText>();
    label.SetRect(10, 10, 200, 40);
    label.SetText("Loading...");
    C3DSpresh* circle = engine.CreateUnnamedModel();
    circle->CreateFilledCircle(1.0f, "idle", 8, 0, D3DMATERIAL9());
    const int wood = engine.GetTextureId("wood.tga");
    const int skin = engine.GetTextureId("skin.tga");

    device.ClearCalls();
    device.FailNext("Reset");
    engine.CreateDevice(1024, 768, true);

    EXPECT_EQ(device.CountCalls("Reset"), 2);
    EXPECT_TRUE(engine.DeviceCreated());
    EXPECT_EQ(engine.GetTextureId("wood.tga"), wood);
    EXPECT_EQ(engine.GetTextureId("skin.tga"), skin);
    EXPECT_EQ(engine.Textures().LastId(), 2);
    EXPECT_NE(engine.Textures().Texture(wood), nullptr);
    EXPECT_EQ(device.CountCalls("CreateTexture"), 2);
    // The box file is read again and the circle built again from its parameters.
    EXPECT_EQ(device.CountCalls("CreateVertexBuffer"), 2);
    EXPECT_EQ(device.CountCalls("CreateIndexBuffer"), 2);
    EXPECT_TRUE(label.TextureInvalid()) << "the text goes with the old device";
    Frame();
    EXPECT_EQ(device.draws.size(), 2u);
    // The frame's GUI pass rasterises the text again: the frame's one new texture.
    EXPECT_FALSE(label.TextureInvalid());
    EXPECT_NE(label.Texture(), nullptr);
    EXPECT_EQ(device.CountCalls("CreateTexture"), 1);
}

TEST_F(FrameTest, DeviceThatCannotBeBroughtBackIsFatal) {
    C3DEngine2& engine = Engine();
    device.failResets = 2;
    try {
        engine.CreateDevice(1024, 768, true);
        FAIL() << "no exception";
    } catch (const CADVException& e) {
        EXPECT_STREQ(e.GetText(),
                     "Exception:\nCould not initialize graphics adapter.\nYou really need a Hardware "
                     "Accelerated 3D Graphics Adapter to play this game.");
    }
    EXPECT_FALSE(engine.DeviceCreated());
    // The next mode change tries to create it again.
    engine.CreateDevice(1024, 768, true);
    EXPECT_TRUE(engine.DeviceCreated());
}

} // namespace

TEST_F(FrameTest, ModelKeptAcrossAnUnloadShowsItsOwnTextureInTheNextScene) {
    C3DEngine2& engine = Engine();
    C3DSpresh* kept = engine.GetModel("solid.ims");
    kept->SetKeepInCache("true");
    const auto textureOf = [](C3DSpresh& model) {
        return model.GetAnimations().at("idle")[0]->materials.at("body").textureId;
    };
    ASSERT_EQ(textureOf(*kept), engine.GetTextureId("wood.tga"));

    engine.UnloadScene();
    // The next scene loads another texture first; ids start again at 1.
    const int skin = engine.GetTextureId("skin.tga");
    ASSERT_EQ(engine.GetModel("solid.ims"), kept);
    EXPECT_NE(textureOf(*kept), skin);
    EXPECT_EQ(textureOf(*kept), engine.GetTextureId("wood.tga"));
    EXPECT_NE(engine.Textures().Texture(textureOf(*kept)), nullptr);
}
