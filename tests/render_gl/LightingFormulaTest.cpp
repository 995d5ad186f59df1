#include "render_gl/GlTestScene.h"

#include <algorithm>
#include <bit>
#include <cmath>

// The lit colour of a vertex against Direct3D 9's published lighting
// equations, one light at a time: a tiny quad facing the camera at the origin
// (normal -z), so the pixel under it shows the colour of its vertices.

namespace {

struct LightingCase {
    const char* name;
    D3DLIGHT9 light;
    D3DMATERIAL9 material;
    std::uint32_t ambient;
    // Attenuation x spot factor x (N . L) for the diffuse term, attenuation x
    // spot factor for the light's ambient term, worked out by hand.
    float diffuseFactor;
    float ambientFactor;
};

D3DLIGHT9 Light(D3DLIGHTTYPE type, D3DXVECTOR3 position, D3DXVECTOR3 direction) {
    D3DLIGHT9 light;
    light.Type = type;
    light.Diffuse = {0.8f, 0.6f, 0.4f, 1.0f};
    light.Ambient = {0.1f, 0.2f, 0.3f, 1.0f};
    light.Position = position;
    light.Direction = direction;
    light.Range = 10.0f;
    light.Attenuation0 = 1.0f;
    light.Theta = 0.6f;
    light.Phi = 1.2f;
    light.Falloff = 2.0f;
    return light;
}

D3DMATERIAL9 Grey() {
    D3DMATERIAL9 m;
    m.Diffuse = {0.9f, 0.9f, 0.9f, 1.0f};
    m.Ambient = {0.5f, 0.5f, 0.5f, 1.0f};
    return m;
}

std::vector<LightingCase> Cases() {
    using T = D3DLIGHTTYPE;
    std::vector<LightingCase> cases;
    cases.push_back(
        {"directional head-on", Light(T::D3DLIGHT_DIRECTIONAL, {}, {0, 0, 1}), Grey(), 0, 1.0f, 1.0f});
    cases.push_back({"directional at 60 degrees",
                     Light(T::D3DLIGHT_DIRECTIONAL, {}, {std::sin(1.0471976f), 0, std::cos(1.0471976f)}),
                     Grey(), 0xFF000000, 0.5f, 1.0f});
    cases.push_back(
        {"directional from behind", Light(T::D3DLIGHT_DIRECTIONAL, {}, {0, 0, -1}), Grey(), 0, 0.0f, 1.0f});
    D3DLIGHT9 linear = Light(T::D3DLIGHT_POINT, {0, 0, -2}, {});
    linear.Attenuation0 = 0.0f;
    linear.Attenuation1 = 0.25f;
    cases.push_back({"point, linear attenuation 1/(0.25 d)", linear, Grey(), 0, 2.0f, 2.0f});
    D3DLIGHT9 quadratic = Light(T::D3DLIGHT_POINT, {0, 0, -2}, {});
    quadratic.Attenuation2 = 0.25f;
    cases.push_back({"point, 1/(1 + 0.25 d^2)", quadratic, Grey(), 0, 0.5f, 0.5f});
    D3DLIGHT9 far = Light(T::D3DLIGHT_POINT, {0, 0, -2}, {});
    far.Range = 1.9f;
    cases.push_back({"point beyond its range", far, Grey(), 0xFF404040, 0.0f, 0.0f});
    const auto spot = [&](float angle) {
        return Light(T::D3DLIGHT_SPOT, {0, 0, -2}, {std::sin(angle), 0, std::cos(angle)});
    };
    cases.push_back({"spot inside theta", spot(0.2f), Grey(), 0, 1.0f, 1.0f});
    const float rho = std::cos(0.45f);
    const float between = std::pow((rho - std::cos(0.6f)) / (std::cos(0.3f) - std::cos(0.6f)), 2.0f);
    cases.push_back({"spot between theta and phi", spot(0.45f), Grey(), 0, between, between});
    cases.push_back({"spot outside phi", spot(0.7f), Grey(), 0x00202020, 0.0f, 0.0f});
    D3DMATERIAL9 glowing = Grey();
    glowing.Emissive = {0.7f, 0.1f, 0.0f, 1.0f};
    cases.push_back({"emissive added and clamped", Light(T::D3DLIGHT_DIRECTIONAL, {}, {0, 0, 1}), glowing,
                     0xFF808080, 1.0f, 1.0f});
    return cases;
}

// Global ambient x material ambient + light ambient x material ambient x
// factor + light diffuse x material diffuse x factor + emissive, clamped.
std::uint32_t Expected(const LightingCase& c) {
    const float global[3] = {static_cast<float>((c.ambient >> 16) & 0xFF) / 255.0f,
                             static_cast<float>((c.ambient >> 8) & 0xFF) / 255.0f,
                             static_cast<float>(c.ambient & 0xFF) / 255.0f};
    const float la[3] = {c.light.Ambient.r, c.light.Ambient.g, c.light.Ambient.b};
    const float ld[3] = {c.light.Diffuse.r, c.light.Diffuse.g, c.light.Diffuse.b};
    const float ma[3] = {c.material.Ambient.r, c.material.Ambient.g, c.material.Ambient.b};
    const float md[3] = {c.material.Diffuse.r, c.material.Diffuse.g, c.material.Diffuse.b};
    const float me[3] = {c.material.Emissive.r, c.material.Emissive.g, c.material.Emissive.b};
    std::uint32_t result = 0;
    for (int i = 0; i < 3; ++i) {
        const float v =
            ma[i] * (global[i] + la[i] * c.ambientFactor) + md[i] * ld[i] * c.diffuseFactor + me[i];
        result = result << 8 | static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    }
    return result;
}

class LightingFormulaTest : public GlDeviceTest {
protected:
    // A tiny square facing the camera, covering the centre pixel: one colour
    // from four vertices that all get the same lighting.
    TestMesh CentreQuad() {
        const float h = 0.02f;
        return MakeMesh({{-h, h, 0, 0, 0, -1, 0, 0},
                         {h, h, 0, 0, 0, -1, 0, 0},
                         {-h, -h, 0, 0, 0, -1, 0, 0},
                         {h, -h, 0, 0, 0, -1, 0, 0}},
                        {0, 1, 2, 1, 3, 2});
    }
};

TEST_F(LightingFormulaTest, VertexColoursFollowTheFixedFunctionEquations) {
    auto quad = CentreQuad();
    for (const LightingCase& c : Cases()) {
        Begin();
        LookAt(0, 0, -1.5f);
        Device().SetRenderState(DRenderState::Ambient, c.ambient);
        Device().SetLight(0, c.light);
        Device().LightEnable(0, true);
        Device().SetMaterial(c.material);
        Draw(quad, Translation(0, 0, 0));
        ASSERT_EQ(Device().EndScene(), S_OK);
        std::uint32_t pixel = 0;
        ASSERT_EQ(Device().ReadPixel(DRenderTarget::BackBuffer, kWidth / 2, kHeight / 2, &pixel), S_OK);
        const std::uint32_t expected = Expected(c);
        for (int shift : {16, 8, 0}) {
            EXPECT_NEAR(static_cast<int>((pixel >> shift) & 0xFF),
                        static_cast<int>((expected >> shift) & 0xFF), 2)
                << c.name << std::hex << ": got " << pixel << ", expected " << expected;
        }
    }
}

TEST_F(LightingFormulaTest, LitAlphaIsTheMaterialDiffuseAlphaAndFogSparesIt) {
    // Blended over white, a lit draw's alpha shows in how much white remains.
    auto quad = CentreQuad();
    Begin(0xFFFFFFFF);
    LookAt(0, 0, -1.5f);
    D3DMATERIAL9 material;
    material.Diffuse = {0, 0, 0, 0.25f};
    Device().SetMaterial(material);
    Device().SetRenderState(DRenderState::AlphaBlendEnable, 1);
    Device().SetRenderState(DRenderState::SrcBlend, D3DBLEND_SRCALPHA);
    Device().SetRenderState(DRenderState::DestBlend, D3DBLEND_INVSRCALPHA);
    // Fog half way at the quad's depth of 1.5: black blends half way to blue.
    Device().SetRenderState(DRenderState::FogEnable, 1);
    Device().SetRenderState(DRenderState::FogVertexMode, D3DFOG_LINEAR);
    Device().SetRenderState(DRenderState::FogColor, 0xFF0000FF);
    Device().SetRenderState(DRenderState::FogStart, std::bit_cast<std::uint32_t>(1.0f));
    Device().SetRenderState(DRenderState::FogEnd, std::bit_cast<std::uint32_t>(2.0f));
    Draw(quad, Translation(0, 0, 0));
    ASSERT_EQ(Device().EndScene(), S_OK);
    std::uint32_t pixel = 0;
    ASSERT_EQ(Device().ReadPixel(DRenderTarget::BackBuffer, kWidth / 2, kHeight / 2, &pixel), S_OK);
    // Colour (0, 0, 0.5) at alpha 0.25 over white: 0.75 white + 0.25 x colour.
    EXPECT_NEAR(static_cast<int>(pixel >> 16 & 0xFF), 191, 2);
    EXPECT_NEAR(static_cast<int>(pixel >> 8 & 0xFF), 191, 2);
    EXPECT_NEAR(static_cast<int>(pixel & 0xFF), 223, 2);
}

} // namespace
