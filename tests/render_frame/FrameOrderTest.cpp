#include "render/model/C3DSpresh.h"
#include "render/CEngineLight.h"
#include "render_frame/FrameFixture.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The camera at the origin looks along +z: depth is the z of an instance.
struct SortCase {
    const char* name;
    int kind;
    float z;
    bool generatedShape;
    bool visible;
    int key;
    bool inFront;
};

TEST_F(FrameTest, SortKeysAndInFrontRule) {
    const SortCase cases[] = {
        {"ordinary ahead", CModelInstance::Ordinary, 5, false, true, 0, true},
        {"ordinary in the camera plane", CModelInstance::Ordinary, 0, false, true, 0, false},
        {"ordinary behind", CModelInstance::Ordinary, -5, false, true, 0, false},
        {"scenery in the camera plane", CModelInstance::Scenery, 0, false, true, 10000, true},
        {"scenery behind", CModelInstance::Scenery, -5, false, true, 10000, true},
        {"generated shape", CModelInstance::Ordinary, 5, true, true, 5, true},
        {"shadow surface", CModelInstance::ShadowSurface, 5, false, true, -10, true},
        {"mirror surface", CModelInstance::MirrorSurface, 5, false, true, -10, true},
        {"generated shape on a surface", CModelInstance::ShadowSurface, 5, true, true, -5, true},
        {"hidden", CModelInstance::Ordinary, 5, false, false, 0, false},
    };
    std::vector<std::pair<const SortCase*, CModelInstance*>> added;
    for (const SortCase& c : cases) {
        CModelInstance* instance = Add("solid.ims", {0, 0, c.z}, c.kind);
        instance->generatedShape = c.generatedShape;
        instance->visible = c.visible;
        instance->sortKey = 77;
        added.emplace_back(&c, instance);
    }
    Frame();
    for (const auto& [c, instance] : added) {
        SCOPED_TRACE(c->name);
        EXPECT_EQ(instance->sortKey, c->key);
        EXPECT_EQ(instance->inFront, c->inFront);
        if (c->visible) {
            EXPECT_EQ(instance->depth, c->z);
        }
    }
}

TEST_F(FrameTest, ListIsSortedInFrontFirstThenKeyThenNearestFirst) {
    Engine().SetCamera({0, 0, -10}, {0, 0, 0}, {0, 1, 0});
    Add("solid.ims", {1, 0, 8});                          // ordinary, far
    Add("solid.ims", {2, 0, -20});                        // behind
    Add("solid.ims", {3, 0, 2}, CModelInstance::Scenery); // scenery
    Add("solid.ims", {4, 0, 0}, CModelInstance::ShadowSurface);
    Add("solid.ims", {5, 0, 1});                            // ordinary, near
    Add("solid.ims", {6, 0, -30}, CModelInstance::Scenery); // scenery behind, nearer by depth
    Frame();
    std::vector<float> order;
    for (const auto& instance : Engine().Instances()) {
        order.push_back(instance->position.x);
    }
    EXPECT_EQ(order, (std::vector<float>{4, 5, 1, 6, 3, 2}));
}

TEST_F(FrameTest, PositionsThatAreNotNumbersKeepTheSortInOrder) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (int i = 0; i < 40; ++i) {
        Add("solid.ims", {static_cast<float>(i), 0, static_cast<float>(40 - i)});
        Add("solid.ims", {1000.0f + static_cast<float>(i), 0, nan});
    }
    Frame();
    std::vector<float> ahead;
    for (const auto& instance : Engine().Instances()) {
        if (instance->inFront) {
            ahead.push_back(instance->position.x);
        } else {
            EXPECT_TRUE(std::isnan(instance->position.z)) << instance->position.x;
        }
    }
    ASSERT_EQ(ahead.size(), 40u);
    EXPECT_TRUE(std::is_sorted(ahead.rbegin(), ahead.rend())) << "nearest first";
}

TEST_F(FrameTest, LightsBehindTheCameraAreCulledUnlessAlwaysOn) {
    Engine().SetCamera({0, 0, 0}, {0, 0, 1}, {0, 1, 0});
    const D3DCOLORVALUE white{1, 1, 1, 1};
    CEngineLight* ahead = Engine().AddPointLight(white, {0, 5, 3}, 0.1f, 50);
    CEngineLight* behind = Engine().AddPointLight(white, {0, 5, -3}, 0.1f, 50);
    CEngineLight* alwaysOn = Engine().AddPointLight(white, {0, 5, -3}, 0.1f, 50);
    alwaysOn->alwaysOn = true;
    CEngineLight* switchedOff = Engine().AddPointLight(white, {0, 5, 3}, 0.1f, 50);
    switchedOff->switchedOn = false;
    CEngineLight* sideways = Engine().AddPointLight(white, {7, 5, 0}, 0.1f, 50);
    Frame();
    const auto& calls = device.Calls();
    const auto has = [&](const std::string& line) { return std::ranges::count(calls, line); };
    EXPECT_EQ(has("LightEnable " + std::to_string(ahead->id) + " 1"), 1);
    EXPECT_EQ(has("LightEnable " + std::to_string(behind->id) + " 0"), 1);
    EXPECT_EQ(has("LightEnable " + std::to_string(sideways->id) + " 1"), 1);
    for (const CEngineLight* untouched : {alwaysOn, switchedOff}) {
        const std::string prefix = "LightEnable " + std::to_string(untouched->id) + " ";
        EXPECT_EQ(has(prefix + "0") + has(prefix + "1"), 0);
    }
}

TEST_F(FrameTest, OpaquePassThenTransparentPassOverTheSameInstances) {
    Engine().SetCamera({0, 0, -10}, {0, 0, 0}, {0, 1, 0});
    Add("box.ims", {1, 0, 5});
    Add("box.ims", {2, 0, 1}, CModelInstance::Scenery);
    Add("box.ims", {3, 0, 0});
    Add("box.ims", {4, 0, -20});                                // behind: not drawn
    Add("box.ims", {5, 0, 0})->enabled = false;                 // disabled: not drawn
    Add("floor.ims", {6, 0, 0}, CModelInstance::ShadowSurface); // surfaces are not scene objects
    Engine().SetEffects(false, true, false);
    Frame();
    // Box: body (opaque, 36 indices from 0), glass (transparent, from 36).
    std::vector<std::pair<float, bool>> seen;
    for (const DrawRecord& draw : device.draws) {
        EXPECT_EQ(draw.Blending(), draw.startIndex == 36);
        EXPECT_EQ(draw.triangles, 12u);
        EXPECT_FALSE(draw.Stencilled());
        seen.emplace_back(draw.Origin().x, draw.Blending());
    }
    EXPECT_EQ(seen, (std::vector<std::pair<float, bool>>{
                        {3, false}, {1, false}, {2, false}, {3, true}, {1, true}, {2, true}}));
    const auto& calls = device.Calls();
    const auto begin = std::ranges::find(calls, "BeginScene");
    EXPECT_EQ(std::ranges::find(calls, "Clear 7 0 0"), begin - 1);
    EXPECT_EQ(calls.back(), "Present 0");
    EXPECT_EQ(*(calls.end() - 2), "EndScene");
}

TEST_F(FrameTest, SkinReplacesTheModelsTexturesAndStaysOnTheModel) {
    CModelInstance* skinned = Add("solid.ims", {1, 0, 5});
    const int skin = Engine().GetTextureId("skin.tga");
    skinned->skinTextureId = skin;
    Frame();
    const auto& calls = device.Calls();
    // Bound as override once per pass; the material's own texture never.
    EXPECT_EQ(std::ranges::count(calls, "SetTexture 0 1"), 2);
    const C3DIMesh2& frame = *skinned->model->GetAnimations().at("idle").front();
    EXPECT_EQ(frame.materials.at("body").textureId, skin);
}

TEST_F(FrameTest, ZoomNarrowsTheFieldOfView) {
    for (const float zoom : {1.0f, 2.0f}) {
        Engine().SetZoom(zoom);
        Frame();
        D3DXMATRIX expected;
        D3DXMatrixPerspectiveFovLH(&expected, std::numbers::pi_v<float> / (4.0f * zoom), 1024.0f / 768.0f,
                                   1.0f, 1000.0f);
        EXPECT_EQ(device.GetTransform(DTransformState::Projection), expected) << zoom;
    }
    D3DXMATRIX eighth;
    D3DXMatrixPerspectiveFovLH(&eighth, std::numbers::pi_v<float> / 8.0f, 1024.0f / 768.0f, 1.0f, 1000.0f);
    EXPECT_EQ(device.GetTransform(DTransformState::Projection), eighth);
}

TEST_F(FrameTest, BrightnessScalesLightsAmbientAndFogClamped) {
    CEngineLight* light = Engine().AddPointLight({0.5f, 0.25f, 1.0f, 1.0f}, {0, 5, 0}, 0.1f, 20);
    Engine().ApplyLight(*light);
    Engine().SetAmbient(0x80402010);
    Engine().SetFog(0x20406080, 10, 50);
    Engine().SetBrightness(3.0f);

    const D3DLIGHT9& given = device.lights.at(light->id);
    EXPECT_EQ(given.Diffuse, (D3DCOLORVALUE{1.5f, 0.75f, 3.0f, 3.0f}));
    EXPECT_EQ(light->light.Diffuse, (D3DCOLORVALUE{0.5f, 0.25f, 1.0f, 1.0f}));
    EXPECT_EQ(device.State(DRenderState::FogColor), 0x60C0FFFFu);
    Frame();
    EXPECT_EQ(device.State(DRenderState::Ambient), 0xFFC06030u);
    // Fog is on through the passes and off for the GUI.
    EXPECT_EQ(std::ranges::count(device.Calls(), "SetRenderState 12 1"), 2);
    EXPECT_EQ(device.State(DRenderState::FogEnable), 0u);
}

TEST_F(FrameTest, FramesOfTheLastWholeSecondAreCounted) {
    Engine();
    now = 10000;
    Frame(); // starts a second
    for (int i = 0; i < 30; ++i) {
        Frame(); // 20 ms apart: 30 more frames within the second
    }
    EXPECT_EQ(Engine().FramesLastSecond(), 0);
    now = 11000;
    Frame();
    EXPECT_EQ(Engine().FramesLastSecond(), 31);
}

TEST_F(FrameTest, BusyDeviceFrameIsOnlyPresentedAgain) {
    Add("solid.ims", {1, 0, 5});
    device.FailNext("Present", D3DERR_WASSTILLDRAWING);
    Frame(false);
    EXPECT_FALSE(Engine().FrameDone());
    EXPECT_EQ(device.Calls().back(), "Present 1");
    Frame(false);
    EXPECT_TRUE(Engine().FrameDone());
    EXPECT_EQ(device.Calls(), (std::vector<std::string>{"Present 1"}));
    Frame(false);
    EXPECT_EQ(device.CountCalls("BeginScene"), 1);
}

} // namespace
