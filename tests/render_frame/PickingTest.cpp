#include "render_frame/FrameFixture.h"

#include <algorithm>
#include <cmath>

namespace {

TEST_F(FrameTest, PickColourDrawsIdsAsAmbientIntoThePickingTarget) {
    const struct {
        int kind;
        float x;
        bool picked;
    } placed[] = {
        {CModelInstance::Scenery, 1, true},
        {CModelInstance::Ordinary, 2, true},
        {CModelInstance::ShadowSurface, 3, false},
        {CModelInstance::MirrorSurface, 4, true},
    };
    for (const auto& p : placed) {
        Add(p.kind == CModelInstance::MirrorSurface ? "mirror.ims" : "box.ims", {p.x, 0, 5}, p.kind)
            ->objectId = 0x10 + static_cast<std::uint32_t>(p.kind);
    }
    Add("box.ims", {5, 0, -30})->objectId = 0x99; // behind the camera
    Frame();
    device.ClearCalls();
    device.draws.clear();
    device.SetReadBackColour(0x00000012);

    EXPECT_EQ(Engine().PickColour(100, 200), 0x12u);

    const auto& calls = device.Calls();
    EXPECT_EQ(calls.front(), "SetRenderTarget 1");
    EXPECT_EQ(std::ranges::count(calls, "ReadPixels 1 100 200 1 1"), 1);
    EXPECT_EQ(calls.back(), "SetRenderTarget 0");
    EXPECT_EQ(device.GetRenderTarget(), DRenderTarget::BackBuffer);
    EXPECT_EQ(device.CountCalls("Present"), 1);
    EXPECT_EQ(std::ranges::count(calls, "SetTexture 0 1"), 0);
    // Each picked instance in its id, opaque and transparent materials.
    for (const auto& p : placed) {
        const std::vector<DrawRecord> draws = DrawsAt(p.x);
        EXPECT_EQ(draws.size(), p.picked ? (p.kind == CModelInstance::MirrorSurface ? 1u : 2u) : 0u) << p.x;
        for (const DrawRecord& draw : draws) {
            EXPECT_EQ(draw.target, DRenderTarget::Picking);
            EXPECT_EQ(draw.State(DRenderState::Ambient), 0x10u + static_cast<std::uint32_t>(p.kind));
            EXPECT_EQ(draw.material.Ambient, (D3DCOLORVALUE{1, 1, 1, 1}));
            EXPECT_EQ(draw.material.Diffuse, D3DCOLORVALUE());
            EXPECT_FALSE(draw.Blending());
        }
    }
    EXPECT_TRUE(DrawsAt(5).empty());
}

TEST_F(FrameTest, PickingOffTheScreenFindsNothing) {
    device.SetReadBackColour(0x00000012);
    for (const auto& [x, y] : {std::pair{1024, 10}, {10, 768}, {-1, 0}}) {
        EXPECT_EQ(Engine().PickColour(x, y), 0u) << x << "," << y;
    }
}

TEST_F(FrameTest, PickingPresentsAPendingFrameFirst) {
    device.FailNext("Present", D3DERR_WASSTILLDRAWING);
    Frame(false);
    device.ClearCalls();
    Engine().PickColour(1, 1);
    EXPECT_EQ(device.Calls().front(), "Present 0");
    EXPECT_TRUE(Engine().FrameDone());
}

TEST_F(FrameTest, PickingRayRunsThroughTheScreenCentreAlongTheView) {
    const D3DXVECTOR3 eye(1, 2, 3);
    const D3DXVECTOR3 at(4, 2, 7);
    Engine().SetCamera(eye, at, {0, 1, 0});
    Frame();
    const C3DEngine2::PickingRay centre = Engine().GetPickingRay(512, 384);
    const D3DXVECTOR3 view = at - eye;
    D3DXVECTOR3 expected;
    D3DXVec3Normalize(&expected, &view);
    EXPECT_NEAR(centre.origin.x, 1, 1e-5);
    EXPECT_NEAR(centre.origin.y, 2, 1e-5);
    EXPECT_NEAR(centre.origin.z, 3, 1e-5);
    EXPECT_NEAR(centre.direction.x, expected.x, 1e-6);
    EXPECT_NEAR(centre.direction.y, expected.y, 1e-6);
    EXPECT_NEAR(centre.direction.z, expected.z, 1e-6);

    // The left edge lies half the horizontal field of view off the view direction.
    const C3DEngine2::PickingRay left = Engine().GetPickingRay(0, 384);
    const float angle = std::acos(D3DXVec3Dot(&left.direction, &expected));
    EXPECT_NEAR(std::tan(angle), 1024.0f / 768.0f * std::tan(std::numbers::pi_v<float> / 8), 1e-5);
    EXPECT_LT(left.direction.x - expected.x, 0.0f); // to the left of a camera looking along +x+z
}

TEST_F(FrameTest, FloorPickMeetsTheFirstShadowSurface) {
    Engine().SetCamera({0, 10, -10}, {0, 0, 0}, {0, 1, 0});
    Frame();
    EXPECT_EQ(Engine().Mouse_CalculatePickingPositionOnShadowPlane(512, 384), std::nullopt);

    Add("floor.ims", {0, 5, 0}, CModelInstance::ShadowSurface)->visible = false;
    CModelInstance* floor = Add("floor.ims", {0, 0, 0}, CModelInstance::ShadowSurface);
    Frame();
    C3DEngine2::PickingRay ray;
    const auto point = Engine().Mouse_CalculatePickingPositionOnShadowPlane(512, 384, &ray);
    ASSERT_TRUE(point.has_value());
    EXPECT_NEAR(point->x, 0, 1e-3);
    EXPECT_NEAR(point->y, 0, 1e-3);
    EXPECT_NEAR(point->z, 0, 1e-3);
    EXPECT_NEAR(ray.origin.y, 10, 1e-4);

    // A floor that moved is measured again.
    floor->position.y = 2;
    const auto raised = Engine().Mouse_CalculatePickingPositionOnShadowPlane(512, 384);
    ASSERT_TRUE(raised.has_value());
    EXPECT_NEAR(raised->y, 2, 1e-3);
    EXPECT_NEAR(raised->z, -2, 1e-3);
}

TEST_F(FrameTest, FloorBehindTheViewerIsAnError) {
    Add("floor.ims", {0, 0, 0}, CModelInstance::ShadowSurface);
    Engine().SetCamera({0, 10, -10}, {0, 20, 0}, {0, 1, 0});
    Frame();
    try {
        Engine().Mouse_CalculatePickingPositionOnShadowPlane(512, 384);
        FAIL() << "no exception";
    } catch (const CADVException& e) {
        EXPECT_STREQ(
            e.GetText(),
            "Exception:\nC3DEngine2::Mouse_CalculatePickingPositionOnShadowPlane() - Point behind viewer");
    }
    // Looking along the floor meets it nowhere.
    Engine().SetCamera({0, 10, -10}, {0, 10, 0}, {0, 1, 0});
    Frame();
    EXPECT_EQ(Engine().Mouse_CalculatePickingPositionOnShadowPlane(512, 384), std::nullopt);
}

} // namespace
