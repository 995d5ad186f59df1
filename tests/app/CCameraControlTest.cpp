#include "app/CCameraControl.h"

#include "render/C3DEngine2.h"
#include "scene_support/SceneTestHost.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CameraControlTest : public ::testing::Test {
protected:
    void Fire(const std::string& event, const std::string& parameter) {
        fired.push_back(event + ":" + parameter);
    }
    CCameraControl::FireEvent Recorder() {
        return [this](const std::string& e, const std::string& p) { Fire(e, p); };
    }

    SceneTestHost host{{}};
    C3DEngine2& renderer = host.Renderer();
    CCameraControl camera{renderer};
    std::vector<std::string> fired;
};

void ExpectVector(const D3DXVECTOR3& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

} // namespace

TEST_F(CameraControlTest, AnImmediateMoveLooksAlongZAndFiresAtOnce) {
    // "speed" 0.9 truncates to no duration at all.
    camera.SetCamera("posx='1' posy='2' posz='3' speed='0.9' event='here' eventparameter='p'", 100,
                     Recorder());
    ExpectVector(renderer.CameraEye(), 1, 2, 3);
    ExpectVector(renderer.CameraAt(), 1, 2, 4);
    ExpectVector(renderer.CameraUp(), 0, 1, 0);
    EXPECT_FALSE(camera.CameraMoving());
    EXPECT_EQ(fired, std::vector<std::string>{"here:p"});
}

TEST_F(CameraControlTest, MovesEaseByTheirCurveAndEndExactlyOnceAtTheTarget) {
    struct Case {
        const char* path;
        float halfway; // fraction of the way covered at half the duration
    };
    for (const Case& c : {Case{"zoomin", std::sqrt(0.5f)}, Case{"zoomout", 0.25f}, Case{"straight", 0.5f}}) {
        fired.clear();
        renderer.SetCamera({0, 0, 0}, {0, 0, 1}, {0, 1, 0});
        camera.SetCamera(std::string("posx='10' atx='10' atz='5' speed='1000' event='done' path='") + c.path +
                             "'",
                         5000, Recorder());
        EXPECT_TRUE(camera.CameraMoving());
        camera.Step(5500, Recorder());
        EXPECT_NEAR(renderer.CameraEye().x, 10 * c.halfway, 1e-4f) << c.path;
        EXPECT_NEAR(renderer.CameraAt().z, 1 + 4 * c.halfway, 1e-4f) << c.path;
        EXPECT_TRUE(fired.empty());
        // A stall past the end lands on the target in one step; the event fires once.
        camera.Step(9000, Recorder());
        camera.Step(9016, Recorder());
        ExpectVector(renderer.CameraEye(), 10, 0, 0);
        ExpectVector(renderer.CameraAt(), 10, 0, 5);
        EXPECT_EQ(fired, std::vector<std::string>{"done:"}) << c.path;
        EXPECT_FALSE(camera.CameraMoving());
    }
}

TEST_F(CameraControlTest, ZoomCurvesRunTheOtherWayAndDefaultByDirection) {
    // 1 -> 2 defaults to "zoomin", which eases a zoom in (t squared).
    camera.SetZoom("zoom='2' speed='1000'", 0);
    camera.Step(500, Recorder());
    EXPECT_NEAR(renderer.Zoom(), 1.25f, 1e-5f);
    camera.Step(1000, Recorder());
    EXPECT_FLOAT_EQ(renderer.Zoom(), 2.0f);
    EXPECT_FALSE(camera.ZoomMoving());
    // 2 -> 1 defaults to "zoomout": square root of t.
    camera.SetZoom("zoom='1' speed='1000'", 2000);
    camera.Step(2500, Recorder());
    EXPECT_NEAR(renderer.Zoom(), 2.0f - std::sqrt(0.5f), 1e-5f);
    // A zoom without a duration is immediate and fires nothing.
    camera.SetZoom("zoom='3'", 2600);
    EXPECT_FLOAT_EQ(renderer.Zoom(), 3.0f);
    EXPECT_FALSE(camera.ZoomMoving());
    EXPECT_TRUE(fired.empty());
}

TEST_F(CameraControlTest, TickWrapDoesNotEndAMoveEarly) {
    camera.SetCamera("posx='4' speed='100'", 0xFFFFFFF0u, Recorder());
    camera.Step(0x20u, Recorder()); // 48 ms later, across the wrap
    EXPECT_TRUE(camera.CameraMoving());
    EXPECT_GT(renderer.CameraEye().x, 0.0f);
    EXPECT_LT(renderer.CameraEye().x, 4.0f);
}
