#include "render/CEngineLight.h"
#include "render_frame/FrameFixture.h"

#include <algorithm>

namespace {

// The box's opaque body starts at index 0, its transparent glass at 36.
constexpr std::uint32_t kGlass = 36;

bool IsShadowOrLighdow(const DrawRecord& draw) {
    return draw.Stencilled() && draw.State(DRenderState::StencilFunc) == D3DCMP_EQUAL &&
           draw.State(DRenderState::StencilRef) == 0 &&
           draw.State(DRenderState::StencilPass) == D3DSTENCILOP_INCR;
}

std::vector<DrawRecord> Effects(const std::vector<DrawRecord>& draws, bool lighdows) {
    std::vector<DrawRecord> found;
    std::ranges::copy_if(draws, std::back_inserter(found), [lighdows](const DrawRecord& d) {
        return IsShadowOrLighdow(d) && (d.startIndex == kGlass) == lighdows;
    });
    return found;
}

D3DXMATRIX Projected(const CModelInstance& caster, const D3DXVECTOR3& light, const D3DXPLANE& plane) {
    const D3DXVECTOR4 point{light.x, light.y, light.z, 1.0f};
    D3DXMATRIX shadow;
    D3DXMatrixShadow(&shadow, &point, &plane);
    return caster.WorldMatrix(&shadow);
}

struct AlphaCase {
    const char* name;
    D3DLIGHTTYPE type;
    float distance;
    float strength;
    std::optional<float> alpha;
};

TEST(ShadowAlpha, RangeCutFadeAndDirectionalStrength) {
    const AlphaCase cases[] = {
        {"point at its range", D3DLIGHTTYPE::D3DLIGHT_POINT, 10, 0.4f, std::nullopt},
        {"point beyond its range", D3DLIGHTTYPE::D3DLIGHT_POINT, 12, -1, std::nullopt},
        {"fading, half way", D3DLIGHTTYPE::D3DLIGHT_POINT, 5, -1, 0.25f},
        {"fading, at the light", D3DLIGHTTYPE::D3DLIGHT_SPOT, 0, -1, 0.5f},
        {"fixed strength", D3DLIGHTTYPE::D3DLIGHT_SPOT, 5, 0.4f, 0.4f},
        {"directional, far away", D3DLIGHTTYPE::D3DLIGHT_DIRECTIONAL, 1000, 0.4f, 0.4f},
        {"directional, negative strength", D3DLIGHTTYPE::D3DLIGHT_DIRECTIONAL, 5, -1, -1.0f},
    };
    for (const AlphaCase& c : cases) {
        D3DLIGHT9 light;
        light.Type = c.type;
        light.Position = {2, 3, 4};
        light.Range = 10;
        EXPECT_EQ(C3DEngine2::ShadowAlpha(light, {2 + c.distance, 3, 4}, c.strength), c.alpha) << c.name;
    }
}

class EffectsTest : public FrameTest {
protected:
    EffectsTest() {
        Engine().SetCamera({0, 5, -10}, {0, 0, 0}, {0, 1, 0});
        floor = Add("floor.ims", {0, 0, 0}, CModelInstance::ShadowSurface);
        // As scenes define surfaces: only ordinary objects cast shadows by default.
        floor->castsShadows = false;
    }
    CModelInstance* floor = nullptr;
};

TEST_F(EffectsTest, ShadowsFromEachLightUnderTheStencilOnce) {
    Engine().SetEffects(true, true, true);
    CEngineLight* point = Engine().AddPointLight({1, 1, 1, 1}, {0, 8, 0}, 0.1f, 10);
    CEngineLight* sun = Engine().AddDirectionalLight({1, 1, 1, 1}, {0, -1, 0});
    CModelInstance* near = Add("box.ims", {1, 0, 2}); // 8.3 from the point light
    CModelInstance* far = Add("box.ims", {2, 0, 9});  // 12 from it
    Add("box.ims", {3, 0, 3})->castsShadows = false;
    Add("box.ims", {4, 0, -30}); // behind the camera
    Frame();

    const std::vector<DrawRecord> shadows = Effects(device.draws, false);
    ASSERT_EQ(shadows.size(), 3u);
    const D3DXPLANE& plane = Engine().SurfacePlane(*floor);
    EXPECT_EQ(plane, (D3DXPLANE{0, 1, 0, 0}));
    EXPECT_EQ(shadows[0].world, Projected(*near, point->light.Position, plane));
    EXPECT_EQ(shadows[1].world, Projected(*near, sun->light.Position, plane));
    EXPECT_EQ(shadows[2].world, Projected(*far, {0, 0, 0}, plane));
    for (const DrawRecord& shadow : shadows) {
        EXPECT_EQ(shadow.material.Diffuse, (D3DCOLORVALUE{0, 0, 0, 0.4f}));
        EXPECT_EQ(shadow.material.Ambient, D3DCOLORVALUE());
    }
    // The stencil is cleared once, at the start of the frame.
    EXPECT_EQ(
        std::ranges::count_if(device.Calls(), [](const std::string& l) { return l.starts_with("Clear 7"); }),
        1);
    EXPECT_EQ(device.CountCalls("Clear"), 1);
}

TEST_F(EffectsTest, NegativeStrengthFadesShadowsWithDistance) {
    Engine().SetShadowStrength(-1.0f);
    Engine().AddPointLight({1, 1, 1, 1}, {1, 5, 0}, 0.1f, 10);
    Add("box.ims", {1, 0, 0}); // 5 below the light
    Frame();
    const std::vector<DrawRecord> shadows = Effects(device.draws, false);
    ASSERT_EQ(shadows.size(), 1u);
    EXPECT_FLOAT_EQ(shadows[0].material.Diffuse.a, 0.25f);
    // The engine's own shadow material keeps the strength.
    EXPECT_EQ(Engine().ShadowMaterial().Diffuse.a, -1.0f);
}

TEST_F(EffectsTest, LighdowsTintWithTheTransparentMaterialsBeforeShadows) {
    CEngineLight* lamp = Engine().AddPointLight({1, 0.5f, 0.25f, 1}, {0, 8, 0}, 0.1f, 50);
    lamp->castsLighdows = true;
    Engine().AddPointLight({1, 1, 1, 1}, {0, 8, 1}, 0.1f, 50); // no lighdows
    CModelInstance* glass = Add("box.ims", {1, 0, 2});
    glass->castsLighdows = true;
    Add("box.ims", {2, 0, 2}); // casts no lighdows
    Frame();
    const std::vector<DrawRecord> lighdows = Effects(device.draws, true);
    ASSERT_EQ(lighdows.size(), 1u);
    EXPECT_EQ(lighdows[0].world, Projected(*glass, lamp->light.Position, Engine().SurfacePlane(*floor)));
    EXPECT_EQ(lighdows[0].material.Diffuse, (D3DCOLORVALUE{1, 0.5f, 0.25f, 0.5f}));
    EXPECT_EQ(lighdows[0].material.Ambient, (D3DCOLORVALUE{1, 0.5f, 0.25f, 1}));
    EXPECT_TRUE(lighdows[0].Blending());
    const auto first = [&](bool lighdow) {
        return std::ranges::find_if(device.draws, [lighdow](const DrawRecord& d) {
            return IsShadowOrLighdow(d) && (d.startIndex == kGlass) == lighdow;
        });
    };
    EXPECT_LT(first(true), first(false));

    Engine().SetEffects(false, true, false);
    Frame();
    EXPECT_TRUE(std::ranges::none_of(device.draws, IsShadowOrLighdow));
}

TEST_F(FrameTest, NoShadowSurfaceMeansNoShadowsNorLighdows) {
    CEngineLight* light = Engine().AddPointLight({1, 1, 1, 1}, {0, 8, 0}, 0.1f, 50);
    light->castsLighdows = true;
    Add("box.ims", {1, 0, 2})->castsLighdows = true;
    Add("floor.ims", {0, 0, 0}, CModelInstance::ShadowSurface)->visible = false;
    Frame();
    EXPECT_FALSE(device.draws.empty());
    EXPECT_TRUE(std::ranges::none_of(device.draws, IsShadowOrLighdow));
}

TEST_F(EffectsTest, MirrorsOffDrawTheMirrorAsAPlainObject) {
    Engine().SetEffects(false, false, false);
    Add("mirror.ims", {7, 0, 5}, CModelInstance::MirrorSurface);
    Frame();
    const std::vector<DrawRecord> mirror = DrawsAt(7);
    ASSERT_EQ(mirror.size(), 1u);
    EXPECT_FALSE(mirror[0].Blending());
    EXPECT_FALSE(mirror[0].Stencilled());
    EXPECT_EQ(mirror[0].material.Diffuse, (D3DCOLORVALUE{0.1f, 0.1f, 0.1f, 1}));
}

TEST_F(EffectsTest, MirrorMarksTheStencilThenDrawsTheReflectionInsideIt) {
    Engine().SetEffects(false, true, false);
    CModelInstance* mirror = Add("mirror.ims", {7, 0, 5}, CModelInstance::MirrorSurface);
    CModelInstance* box = Add("box.ims", {1, 0, 2});
    CModelInstance* behind = Add("solid.ims", {2, 0, -30}); // reflected although not in front
    Frame();

    D3DXMATRIX reflect;
    D3DXMatrixReflect(&reflect, &Engine().SurfacePlane(*mirror));
    EXPECT_EQ(Engine().SurfacePlane(*mirror), (D3DXPLANE{0, 0, -1, 5}));
    // After the two passes: mask, reflected body, behind, glass, then the mirror itself.
    const std::vector<DrawRecord> tail(device.draws.end() - 5, device.draws.end());
    const DrawRecord& mask = tail[0];
    EXPECT_EQ(mask.world, mirror->WorldMatrix());
    EXPECT_EQ(mask.State(DRenderState::StencilFunc), D3DCMP_ALWAYS);
    EXPECT_EQ(mask.State(DRenderState::StencilRef), 0x7Fu);
    EXPECT_EQ(mask.State(DRenderState::StencilPass), D3DSTENCILOP_REPLACE);
    EXPECT_EQ(mask.State(DRenderState::ZWriteEnable), 0u);
    EXPECT_EQ(mask.State(DRenderState::SrcBlend), D3DBLEND_ZERO);
    EXPECT_EQ(mask.State(DRenderState::DestBlend), D3DBLEND_ONE);
    EXPECT_EQ(mask.material, D3DMATERIAL9());

    const std::pair<const CModelInstance*, bool> reflected[] = {{box, false}, {behind, false}, {box, true}};
    for (int i = 0; i < 3; ++i) {
        const DrawRecord& draw = tail[1 + i];
        EXPECT_EQ(draw.world, reflected[i].first->WorldMatrix(&reflect)) << i;
        EXPECT_EQ(draw.Blending(), reflected[i].second) << i;
        EXPECT_EQ(draw.State(DRenderState::StencilFunc), D3DCMP_EQUAL);
        EXPECT_EQ(draw.State(DRenderState::StencilPass), D3DSTENCILOP_KEEP);
        EXPECT_EQ(draw.State(DRenderState::CullMode), D3DCULL_CW);
        EXPECT_EQ(draw.State(DRenderState::ZWriteEnable), 1u);
    }
    const DrawRecord& glass = tail[4];
    EXPECT_EQ(glass.world, mirror->WorldMatrix());
    EXPECT_EQ(glass.State(DRenderState::CullMode), D3DCULL_CCW);
    EXPECT_EQ(glass.State(DRenderState::SrcBlend), D3DBLEND_ONE);
    EXPECT_EQ(glass.State(DRenderState::DestBlend), D3DBLEND_ONE);
    EXPECT_TRUE(glass.Blending());
    EXPECT_EQ(device.CountCalls("Clear"), 2);
    EXPECT_EQ(device.State(DRenderState::StencilEnable), 0u);
    EXPECT_EQ(device.State(DRenderState::AlphaBlendEnable), 0u);
}

} // namespace
