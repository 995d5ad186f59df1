#include "render_gl/GoldenImage.h"
#include "mathutil/D3DXMath.h"
#include "render_gl/GlTestScene.h"

#include <bit>

// Scenes drawn with the device alone, each compared with its reference
// image. Together they cover the fixed-function effects the renderer uses:
// the three light types, fog, texturing and its absence, transparency,
// emissive colour, the stencil masking of mirrors, pre-transformed GUI quads
// and culling.

namespace {

class GoldenImageTest : public GlDeviceTest {
protected:
    D3DLIGHT9 Directional(float x, float y, float z, D3DCOLORVALUE colour = {1, 1, 1, 1}) {
        D3DLIGHT9 light;
        light.Type = D3DLIGHTTYPE::D3DLIGHT_DIRECTIONAL;
        light.Diffuse = colour;
        light.Direction = {x, y, z};
        return light;
    }
    void UseLight(std::uint32_t index, const D3DLIGHT9& light) {
        Device().SetLight(index, light);
        Device().LightEnable(index, true);
    }
    void Fog(std::uint32_t colour, float start, float end) {
        Device().SetRenderState(DRenderState::FogEnable, 1);
        Device().SetRenderState(DRenderState::FogColor, colour);
        Device().SetRenderState(DRenderState::FogVertexMode, D3DFOG_LINEAR);
        Device().SetRenderState(DRenderState::FogStart, std::bit_cast<std::uint32_t>(start));
        Device().SetRenderState(DRenderState::FogEnd, std::bit_cast<std::uint32_t>(end));
    }
    void Finish(const std::string& name) {
        ASSERT_EQ(Device().EndScene(), S_OK);
        EXPECT_TRUE(MatchesGolden(Device(), name));
    }
};

TEST_F(GoldenImageTest, DirectionalLightShadesASphereAndATurnedCube) {
    auto sphere = Sphere(1.1f, 16, 24);
    auto cube = Cube(1.6f);
    LookAt(0, 2.5f, -6);
    Begin();
    Device().SetRenderState(DRenderState::Ambient, 0xFF202020);
    UseLight(0, Directional(1, -1, 1, {1.0f, 0.9f, 0.7f, 1.0f}));
    Device().SetMaterial(Material(0.8f, 0.8f, 0.8f));
    Draw(sphere, Translation(-1.4f, 0, 0));
    D3DXMATRIX turn;
    D3DXMatrixRotationY(&turn, 0.6f);
    Device().SetMaterial(Material(0.3f, 0.6f, 1.0f));
    Draw(cube, turn * Translation(1.4f, 0, 0));
    Finish("light_directional");
}

TEST_F(GoldenImageTest, PointLightFadesWithDistanceAndStopsAtItsRange) {
    auto floor = Floor(8, 24);
    auto sphere = Sphere(0.7f, 16, 24);
    LookAt(0, 4, -6);
    Begin();
    Device().SetRenderState(DRenderState::Ambient, 0xFF101010);
    D3DLIGHT9 point;
    point.Type = D3DLIGHTTYPE::D3DLIGHT_POINT;
    point.Diffuse = {1.0f, 0.7f, 0.4f, 1.0f};
    point.Position = {0.5f, 1.0f, -0.5f};
    point.Attenuation1 = 0.6f;
    point.Range = 3.0f;
    UseLight(0, point);
    Device().SetMaterial(Material(1, 1, 1));
    Draw(floor, Translation(0, -0.7f, 0));
    Draw(sphere, Translation(-1, 0, 0.5f));
    Finish("light_point");
}

TEST_F(GoldenImageTest, SpotLightLightsItsConeWithASoftEdge) {
    auto floor = Floor(6, 32);
    LookAt(0, 5, -4);
    Begin();
    D3DLIGHT9 spot;
    spot.Type = D3DLIGHTTYPE::D3DLIGHT_SPOT;
    spot.Diffuse = {0.4f, 1.0f, 0.6f, 1.0f};
    spot.Position = {0, 3, 0};
    spot.Direction = {0.3f, -1, 0};
    spot.Attenuation0 = 1.0f;
    spot.Range = 10.0f;
    spot.Theta = 0.4f;
    spot.Phi = 0.9f;
    spot.Falloff = 1.0f;
    UseLight(0, spot);
    Device().SetMaterial(Material(1, 1, 1));
    Draw(floor, Translation(0, 0, 0));
    Finish("light_spot");
}

TEST_F(GoldenImageTest, LinearFogFadesDistantCubesIntoTheFogColour) {
    auto cube = Cube(1.2f);
    LookAt(0, 1.5f, -6);
    Begin(0xFF8090A0);
    Device().SetRenderState(DRenderState::Ambient, 0xFF404040);
    UseLight(0, Directional(0.5f, -1, 1));
    Fog(0xFF8090A0, 5.0f, 18.0f);
    Device().SetMaterial(Material(0.9f, 0.3f, 0.2f));
    for (int i = 0; i < 5; ++i) {
        Draw(cube, Translation(i % 2 == 0 ? -1.2f : 1.2f, 0, static_cast<float>(i) * 3.0f - 1.0f));
    }
    Finish("fog");
}

TEST_F(GoldenImageTest, MaterialsTexturedPlainEmissiveAndTransparent) {
    auto cube = Cube(1.4f);
    auto sphere = Sphere(0.8f, 16, 24);
    auto checker = Checker(16, 4, 0xFFFFFFFF, 0xFFD02020);
    LookAt(0, 0, -8);
    Begin(0xFF303030);
    Device().SetRenderState(DRenderState::Ambient, 0xFF303030);
    UseLight(0, Directional(1, -1, 2));
    D3DXMATRIX turn;
    D3DXMatrixRotationYawPitchRoll(&turn, 0.5f, 0.4f, 0.0f);
    // Textured: texture colour times the lit material colour.
    Device().SetTexture(0, checker.get());
    Device().SetMaterial(Material(1, 1, 1));
    Draw(cube, turn * Translation(-1.6f, 1.1f, 0));
    // Untextured: the lit material colour alone.
    Device().SetTexture(0, nullptr);
    Device().SetMaterial(Material(0.2f, 0.5f, 1.0f));
    Draw(cube, turn * Translation(1.6f, 1.1f, 0));
    // Emissive only: one flat colour whatever the light.
    D3DMATERIAL9 glow;
    glow.Emissive = {1.0f, 0.5f, 0.0f, 1.0f};
    glow.Diffuse.a = 1.0f;
    Device().SetMaterial(glow);
    Draw(sphere, Translation(-1.6f, -1.1f, 0));
    // Transparent: the material's diffuse alpha blends a sphere over a cube.
    Device().SetMaterial(Material(1.0f, 0.9f, 0.2f));
    Draw(cube, turn * Translation(1.9f, -1.1f, 1.5f));
    Device().SetRenderState(DRenderState::AlphaBlendEnable, 1);
    Device().SetRenderState(DRenderState::SrcBlend, D3DBLEND_SRCALPHA);
    Device().SetRenderState(DRenderState::DestBlend, D3DBLEND_INVSRCALPHA);
    Device().SetMaterial(Material(0.2f, 0.4f, 1.0f, 0.5f));
    Draw(sphere, Translation(1.4f, -1.1f, 0));
    Finish("materials");
}

TEST_F(GoldenImageTest, StencilMaskLimitsADrawToTheMarkedShape) {
    auto floor = Floor(6, 16);
    auto sphere = Sphere(1.0f, 16, 24);
    auto halo = Sphere(1.8f, 16, 24);
    // A diamond in the middle of the target, marked as a mirror is.
    auto diamond = ScreenVertices({{80, 10, 0, 1, 0xFFFFFFFF, 0, 0},
                                   {140, 60, 0, 1, 0xFFFFFFFF, 0, 0},
                                   {20, 60, 0, 1, 0xFFFFFFFF, 0, 0},
                                   {20, 60, 0, 1, 0xFFFFFFFF, 0, 0},
                                   {140, 60, 0, 1, 0xFFFFFFFF, 0, 0},
                                   {80, 110, 0, 1, 0xFFFFFFFF, 0, 0}});
    LookAt(0, 3, -5);
    Begin(0xFF204060);
    Device().SetRenderState(DRenderState::StencilEnable, 1);
    Device().SetRenderState(DRenderState::StencilFunc, D3DCMP_ALWAYS);
    Device().SetRenderState(DRenderState::StencilRef, 0x7F);
    Device().SetRenderState(DRenderState::StencilPass, D3DSTENCILOP_REPLACE);
    Device().SetRenderState(DRenderState::ZWriteEnable, 0);
    Device().SetRenderState(DRenderState::AlphaBlendEnable, 1);
    Device().SetRenderState(DRenderState::SrcBlend, D3DBLEND_ZERO);
    Device().SetRenderState(DRenderState::DestBlend, D3DBLEND_ONE);
    DrawScreen(*diamond, 2);
    ASSERT_EQ(Device().Clear(D3DCLEAR_ZBUFFER, 0, 1.0f, 0), S_OK);
    Device().SetRenderState(DRenderState::ZWriteEnable, 1);
    Device().SetRenderState(DRenderState::StencilFunc, D3DCMP_EQUAL);
    Device().SetRenderState(DRenderState::StencilPass, D3DSTENCILOP_KEEP);
    Device().SetRenderState(DRenderState::AlphaBlendEnable, 0);
    Device().SetRenderState(DRenderState::Ambient, 0xFF303030);
    UseLight(0, Directional(1, -1, 1));
    Device().SetMaterial(Material(0.9f, 0.8f, 0.3f));
    Draw(floor, Translation(0, -1, 0));
    Device().SetMaterial(Material(0.8f, 0.2f, 0.2f));
    Draw(sphere, Translation(0, 0, 0));
    // Outside the mask only: a larger sphere around the first shows as a ring
    // cut off by the diamond's edges.
    Device().SetRenderState(DRenderState::StencilFunc, D3DCMP_NOTEQUAL);
    Device().SetMaterial(Material(0.2f, 0.3f, 0.9f));
    Draw(halo, Translation(0, 0, 0));
    Finish("stencil");
}

TEST_F(GoldenImageTest, ScreenQuadsWithDiffuseColoursTexturesAndBlending) {
    auto checker = Checker(8, 2, 0xFFFFFFFF, 0x40000000);
    auto gradient = ScreenVertices(ScreenQuad(8, 8, 100, 80, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF));
    auto tinted =
        ScreenVertices(ScreenQuad(60, 40, 152, 112, 0xFFFFFF00, 0xFFFFFF00, 0xFF00FFFF, 0xFF00FFFF));
    auto glass = ScreenVertices(ScreenQuad(20, 60, 80, 104, 0x80FFFFFF, 0x80FFFFFF, 0x80FFFFFF, 0x80FFFFFF));
    Begin(0xFF202020);
    Device().SetRenderState(DRenderState::Lighting, 0);
    Device().SetRenderState(DRenderState::ZEnable, 0);
    Device().SetRenderState(DRenderState::AlphaBlendEnable, 1);
    Device().SetRenderState(DRenderState::SrcBlend, D3DBLEND_SRCALPHA);
    Device().SetRenderState(DRenderState::DestBlend, D3DBLEND_INVSRCALPHA);
    DrawScreen(*gradient, 2);
    // Colour = texture x diffuse, alpha = texture alpha.
    Device().SetTexture(0, checker.get());
    DrawScreen(*tinted, 2);
    // Without a texture the diffuse alpha blends.
    Device().SetTexture(0, nullptr);
    DrawScreen(*glass, 2);
    Finish("screen_quads");
}

TEST_F(GoldenImageTest, CullingDropsTheNamedScreenWinding) {
    // Per column: a clockwise green triangle above a counter-clockwise red one.
    const auto column = [](float left) {
        return std::vector<TestScreenVertex>{
            {left + 4, 8, 0, 1, 0xFF20C020, 0, 0},   {left + 48, 8, 0, 1, 0xFF20C020, 0, 0},
            {left + 4, 52, 0, 1, 0xFF20C020, 0, 0},  {left + 4, 64, 0, 1, 0xFFC02020, 0, 0},
            {left + 4, 108, 0, 1, 0xFFC02020, 0, 0}, {left + 48, 64, 0, 1, 0xFFC02020, 0, 0}};
    };
    Begin(0xFF000000);
    Device().SetRenderState(DRenderState::ZEnable, 0);
    const std::uint32_t modes[] = {D3DCULL_CCW, D3DCULL_CW, D3DCULL_NONE};
    std::vector<std::unique_ptr<DVertexBuffer>> buffers;
    for (int i = 0; i < 3; ++i) {
        buffers.push_back(ScreenVertices(column(static_cast<float>(i) * 53.0f)));
        Device().SetRenderState(DRenderState::CullMode, modes[i]);
        DrawScreen(*buffers.back(), 2);
    }
    Finish("culling");
}

} // namespace
