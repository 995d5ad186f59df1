#include "app/commands/CWalkTarget.h"

#include "mathutil/D3DXMath.h"
#include "scene/CScene.h"
#include "scene/CSceneObject.h"
#include "scene_support/SceneTestHost.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Two scenery boxes on one spot, the tall one first, and a hero beside them.
class CWalkTargetTest : public ::testing::Test {
protected:
    CWalkTargetTest()
        : host({{"data\\models\\tall.spr", BoxSprite(1.0f, 1.0f, 1.0f)},
                {"data\\models\\flat.spr", BoxSprite(1.0f, 0.5f, 1.0f)},
                {"data\\models\\hero.spr", BoxSprite(0.2f, 1.0f, 0.2f)},
                {"data\\scripts\\room.scs",
                 SceneTestHost::Text("scene.addobject(\"name='tall' model='tall.spr' type='scenery'\");\n"
                                     "scene.addobject(\"name='flat' model='flat.spr' type='scenery'\");\n"
                                     "scene.addobject(\"name='hero' model='hero.spr' posx='4' posy='0.25' "
                                     "mobile='true'\");\n")}}) {
        host.Renderer().SetClientSize(1024, 768);
        host.Renderer().CreateDevice(1024, 768, false);
        scene = &host.LoadScene("room");
        hero = scene->FindByName(u"hero");
    }

    CSceneObject* Object(const char16_t* name) const { return scene->FindByName(name); }

    // The picking ray follows the view the device last drew with, as in a running game.
    void LookFrom(const D3DXVECTOR3& eye, const D3DXVECTOR3& at) {
        host.Renderer().SetCamera(eye, at, {0, 1, 0});
        host.Renderer().RenderFrame(host.Now(), false);
    }

    // Where the ray through the pixel meets the horizontal plane at `height`.
    D3DXVECTOR3 OnPlane(int x, int y, float height) {
        const C3DEngine2::PickingRay ray =
            host.Renderer().GetPickingRay(static_cast<float>(x), static_cast<float>(y));
        const float t = (height - ray.origin.y) / ray.direction.y;
        return ray.origin + t * ray.direction;
    }

    SceneTestHost host;
    CScene* scene = nullptr;
    CSceneObject* hero = nullptr;
};

} // namespace

TEST_F(CWalkTargetTest, WithoutAnObjectUnderTheCursorTheLastSceneryHitCountsNotTheNearest) {
    LookFrom({0, 10, -0.01f}, {0, 0, 0});
    const int x = 560;
    const auto surface = CWalkTarget::Surface(host.Renderer(), *scene, nullptr, *hero, x, 384);
    ASSERT_TRUE(surface);
    // The flat box was added last: its top (0.5) is the one taken, at the hero's height.
    const D3DXVECTOR3 flatTop = OnPlane(x, 384, 0.5f);
    EXPECT_NEAR(surface->x, flatTop.x, 1e-4);
    EXPECT_NEAR(surface->z, flatTop.z, 1e-4);
    EXPECT_FLOAT_EQ(surface->y, 0.25f);
    EXPECT_GT(std::abs(OnPlane(x, 384, 1.0f).x - flatTop.x), 0.01f) << "the tall box's top lies elsewhere";

    // Mobile and walkaround objects are no surfaces.
    scene->FindByName(u"flat")->SetMobile(true);
    scene->FindByName(u"tall")->SetWalkaround(true);
    EXPECT_FALSE(CWalkTarget::Surface(host.Renderer(), *scene, nullptr, *hero, x, 384));
}

TEST_F(CWalkTargetTest, AnObjectUnderTheCursorIsLeftHalfAUnitAwayFromItsSurface) {
    // Looking along +z at the tall box's front face, whose normal points to -z.
    LookFrom({0, 0.75f, -10}, {0, 0.75f, 0});
    const auto surface = CWalkTarget::Surface(host.Renderer(), *scene, Object(u"tall"), *hero, 512, 384);
    ASSERT_TRUE(surface);
    EXPECT_NEAR(surface->x, 0.0f, 1e-3);
    EXPECT_NEAR(surface->z, -0.5f - CWalkTarget::kSurfaceOffset, 1e-3);
    EXPECT_FLOAT_EQ(surface->y, 0.25f);
    EXPECT_FALSE(CWalkTarget::Surface(host.Renderer(), *scene, hero, *hero, 512, 384))
        << "only scenery is a surface";
}

TEST_F(CWalkTargetTest, TheNearerTargetWinsAndTheSurfaceOnATie) {
    const D3DXVECTOR3 near{3, 0.25f, 0};
    const D3DXVECTOR3 far{0, 0.25f, 0};
    // The hero stands at (4, 0.25, 0).
    EXPECT_EQ(CWalkTarget::Choose(*hero, near, far)->x, 3.0f);
    EXPECT_EQ(CWalkTarget::Choose(*hero, far, near)->x, 3.0f);
    const D3DXVECTOR3 tie{5, 0.25f, 0};
    EXPECT_EQ(CWalkTarget::Choose(*hero, near, tie)->x, 5.0f);
    EXPECT_EQ(CWalkTarget::Choose(*hero, std::nullopt, far)->x, 0.0f);
    EXPECT_EQ(CWalkTarget::Choose(*hero, far, std::nullopt)->x, 0.0f);
    EXPECT_FALSE(CWalkTarget::Choose(*hero, std::nullopt, std::nullopt));
}
