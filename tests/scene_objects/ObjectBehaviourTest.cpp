#include "navigation/PathFinder.h"
#include "render/model/CModelInstance.h"
#include "scene/CPolygonTable.h"
#include "scene_objects/ObjectFixture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using ObjectBehaviourTest = ObjectFixture;

const char* const kWalker = "scene.addobject(\"name='walker' model='box.spr' script='actor.js'\");";
const char* const kWall = "scene.addobject(\"name='wall' model='box.spr' posx='2' walkaround='true'\");";

CNamedPolygon Square(float minX, float maxX, float minZ, float maxZ, EPolygonType type, const char* event) {
    CNamedPolygon entry;
    entry.outline.AddPoint(minX, minZ, false);
    entry.outline.AddPoint(maxX, minZ, false);
    entry.outline.AddPoint(maxX, maxZ, false);
    entry.outline.AddPoint(minX, maxZ, false);
    entry.type = type;
    entry.eventObject = event;
    return entry;
}

TEST_F(ObjectBehaviourTest, AnimationClockRunsRestsAndEndsOnce) {
    struct Checkpoint {
        std::uint32_t at;
        float phase;
    };
    struct Case {
        const char* name;
        std::int32_t repeats;
        bool forward;
        std::vector<Checkpoint> checkpoints;
        int ended;
    };
    const Case cases[] = {
        {"once forward rests on the last frame",
         0,
         true,
         {{250, 0.25f}, {990, 0.99f}, {1000, 0.999f}, {1800, 0.999f}},
         1},
        {"once backward rests on the first frame", 0, false, {{250, 0.749f}, {1000, 0.0f}, {1800, 0.0f}}, 1},
        {"two repeats play three cycles",
         2,
         true,
         {{1500, 0.5f}, {2500, 0.5f}, {2990, 0.99f}, {3000, 0.999f}},
         1},
        {"endless backward restarts every cycle",
         -1,
         false,
         {{250, 0.749f}, {1250, 0.749f}, {5250, 0.749f}},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(kWalker);
        CSceneObject& door = Object(u"walker");
        door.SetAnimationSpeed(1000);
        door.SetAnimationDirection(c.forward);
        door.SetAnimationTimes(c.repeats);
        // What `animate` leaves behind: the scene hears this when the animation ends.
        door.OnAction("open", "opened", "door");
        std::uint32_t passed = 0;
        for (const Checkpoint& point : c.checkpoints) {
            Run(point.at - passed);
            passed = point.at;
            EXPECT_NEAR(door.Instance()->phase, point.phase, 1e-4) << "at " << point.at;
        }
        Run(3000);
        EXPECT_EQ(Count(ObjectLog(u"walker"), "animationended:idle"), c.ended);
        EXPECT_EQ(Count(SceneLog(), "opened:door"), c.ended);
        EXPECT_EQ(door.AnimationSpeed(), c.ended == 1 ? 0u : 1000u);
    }
}

TEST_F(ObjectBehaviourTest, WalksTakeLengthTimesSpeed) {
    struct Case {
        const char* walk;
        std::uint32_t checkAt;
        D3DXVECTOR3 between;
        std::uint32_t arrival;
        D3DXVECTOR3 target;
    };
    const Case cases[] = {
        // One segment of length 2 at 500 ms per unit: 1000 ms, 1.2 units after 600 ms.
        {"posx='2' calculateroute='false' event='arrived' eventparameter='home'",
         600,
         {1.2f, 0, 0},
         1000,
         {2, 0, 0}},
        // No walk area gives no grid: the walk goes straight, 5 units at 500 ms.
        {"posx='3' posz='4' event='arrived' eventparameter='home'", 1250, {1.5f, 0, 2}, 2500, {3, 0, 4}},
        {"posx='1' posy='2' speed='100' calculateroute='false' event='arrived' eventparameter='home'",
         150,
         {150.0f / 223, 300.0f / 223, 0},
         223,
         {1, 2, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.walk);
        Load(kWalker);
        CSceneObject& walker = Object(u"walker");
        Eval(std::string("scene.walker.walkto(\"") + c.walk + "\");");
        Run(c.checkAt);
        const D3DXVECTOR3 between = walker.GetPosition();
        EXPECT_NEAR(between.x, c.between.x, 1e-3);
        EXPECT_NEAR(between.y, c.between.y, 1e-3);
        EXPECT_NEAR(between.z, c.between.z, 1e-3);
        EXPECT_TRUE(walker.IsMoving());
        Run(c.arrival - c.checkAt - 10);
        EXPECT_TRUE(walker.IsMoving());
        EXPECT_EQ(SceneLog(), "");
        Run(500);
        EXPECT_FALSE(walker.IsMoving());
        EXPECT_EQ(walker.GetPosition(), c.target);
        EXPECT_EQ(SceneLog(), "arrived:home");
        // The walk animation starts once and hears "stop" once.
        EXPECT_EQ(ObjectLog(u"walker"), "walk|stop");
    }
}

TEST_F(ObjectBehaviourTest, RoutedWalksGoAroundObstaclesAndClimbToTheTarget) {
    Load("scene.addobject(\"name='walker' model='small.spr' script='actor.js'\");" + std::string(kWall));
    // The grid the scene would build for this walk area at load.
    Host().Polygons().Set("floor", Square(-1, 5, -3, 3, EPolygonType::WalkInside, ""));
    PathFinder& finder = Scene().GetPathFinder();
    finder.InitGrid(-1, 5, -3, 3, 6 / CScene::kGridCellsAcross);
    finder.SetClearance(CScene::kClearance);
    finder.SetSmallObstacleRule(CScene::kSmallObstacleSize, CScene::kSmallObstacleMargin);
    Scene().RebuildNavigation();
    CSceneObject& walker = Object(u"walker");
    Eval("scene.walker.walkto(\"posx='4' posy='2' event='there'\");");
    float widest = 0.0f;
    for (int frame = 0; frame < 600 && walker.IsMoving(); ++frame) {
        Run(10);
        EXPECT_FALSE(walker.IsBlocked());
        widest = std::max(widest, std::fabs(walker.GetPosition().z));
    }
    EXPECT_FALSE(walker.IsMoving());
    EXPECT_GT(widest, 0.6f);
    const D3DXVECTOR3 at = walker.GetPosition();
    EXPECT_NEAR(at.x, 4.0f, 1e-4);
    EXPECT_NEAR(at.y, 2.0f, 1e-4);
    EXPECT_NEAR(at.z, 0.0f, 1e-4);
    EXPECT_EQ(SceneLog(), "there:");
}

TEST_F(ObjectBehaviourTest, BlockedMoveToStopsWithoutItsEvent) {
    Load(std::string(kWalker) + kWall);
    CSceneObject& walker = Object(u"walker");
    Eval("scene.walker.moveto(\"posx='4' collisions='true' event='done'\");");
    Run(4000);
    EXPECT_FALSE(walker.IsMoving());
    EXPECT_GT(walker.GetPosition().x, 0.9f);
    EXPECT_LE(walker.GetPosition().x, 1.0001f);
    EXPECT_EQ(SceneLog(), "");

    // Without collisions the same movement passes through.
    Eval("scene.walker.moveto(\"posx='4' speed='100' event='done'\");");
    Run(1000);
    EXPECT_EQ(walker.GetPosition().x, 4.0f);
    EXPECT_EQ(SceneLog(), "done:");
}

TEST_F(ObjectBehaviourTest, MovesOfNoSensibleLengthArriveAtOnce) {
    // An endless target at speed 0 (infinity times 0) or a length beyond any
    // duration: each ends with its event at the next step, never undefined.
    Load(kWalker);
    CSceneObject& walker = Object(u"walker");
    for (const char* move : {"posx='1e39' speed='0' event='a'", "posx='-1e39' speed='-5' event='b'"}) {
        SCOPED_TRACE(move);
        Eval(std::string("scene.walker.moveto(\"") + move + "\");");
        Run(100);
        EXPECT_FALSE(walker.IsMoving());
    }
    EXPECT_NE(SceneLog().find("a:"), std::string::npos) << SceneLog();
    EXPECT_NE(SceneLog().find("b:"), std::string::npos) << SceneLog();
    // A duration beyond the longest one takes the longest one.
    Eval("scene.walker.moveto(\"posx='1e30' speed='1000000'\");");
    Run(100);
    EXPECT_TRUE(walker.IsMoving());
}

TEST_F(ObjectBehaviourTest, BlockedWalkWaitsThreeSecondsAndTriesAgain) {
    Load(std::string(kWalker) + kWall);
    CSceneObject& walker = Object(u"walker");
    Eval("scene.walker.walkto(\"posx='4' calculateroute='false' collisions='true' autorotate='false' "
         "event='done'\");");
    std::uint32_t passed = 0;
    while (!walker.IsBlocked() && passed < 2000) {
        Run(10);
        passed += 10;
    }
    ASSERT_TRUE(walker.IsBlocked());
    const D3DXVECTOR3 stopped = walker.GetPosition();
    EXPECT_NEAR(stopped.x, 1.0f, 0.05f);
    EXPECT_EQ(ObjectLog(u"walker"), "walk|stop");

    // The way clears at once, but the walk waits out its three seconds.
    Eval("scene.wall.visible = false;");
    Run(2980);
    EXPECT_TRUE(walker.IsBlocked());
    EXPECT_EQ(walker.GetPosition(), stopped);
    Run(40);
    EXPECT_FALSE(walker.IsBlocked());
    EXPECT_GT(walker.GetPosition().x, stopped.x);
    Run(3000);
    EXPECT_FALSE(walker.IsMoving());
    EXPECT_EQ(walker.GetPosition().x, 4.0f);
    EXPECT_EQ(ObjectLog(u"walker"), "walk|stop|walk|stop");
    EXPECT_EQ(SceneLog(), "done:");
}

TEST_F(ObjectBehaviourTest, BlockedWalkStillBlockedBlocksAgain) {
    Load(std::string(kWalker) + kWall);
    CSceneObject& walker = Object(u"walker");
    Eval("scene.walker.walkto(\"posx='4' calculateroute='false' collisions='true' autorotate='false'\");");
    Run(1000);
    ASSERT_TRUE(walker.IsBlocked());
    Run(3500);
    EXPECT_TRUE(walker.IsBlocked());
    EXPECT_TRUE(walker.IsMoving());
    EXPECT_EQ(ObjectLog(u"walker"), "walk|stop|walk|stop");
}

TEST_F(ObjectBehaviourTest, RotateToTurnsTheShortWay) {
    Load(kWalker);
    CSceneObject& walker = Object(u"walker");
    Eval("scene.walker.setrotation(\"yaw='0.1'\");"
         "scene.walker.rotateto(\"yaw='6.2' speed='1000' event='turned' eventparameter='x'\");");
    const float turn = 6.2f - 0.1f - 2.0f * std::numbers::pi_v<float>;
    EXPECT_NEAR(turn, -0.18318f, 1e-4);
    Run(500);
    EXPECT_TRUE(walker.IsRotating());
    EXPECT_NEAR(walker.Instance()->rotation.z, 0.1f + turn * 0.5f, 1e-4);
    Run(510);
    EXPECT_FALSE(walker.IsRotating());
    EXPECT_FLOAT_EQ(walker.Instance()->rotation.z, 6.2f);
    EXPECT_EQ(SceneLog(), "turned:x");
}

TEST_F(ObjectBehaviourTest, RoutesLoopForeverOrEndAtTheLastPoint) {
    Load(kWalker);
    CSceneObject& walker = Object(u"walker");
    Eval("scene.walker.setpredefinedroute(\"posx='0'\", \"posx='1'\", \"posx='1' posz='1'\", \"posz='1'\");"
         "scene.walker.followpredefinedroute(500, 0, true);");
    for (int second = 0; second < 20; ++second) {
        Run(1000);
        const D3DXVECTOR3 at = walker.GetPosition();
        ASSERT_TRUE(walker.IsMoving());
        // Always on the square's outline.
        EXPECT_TRUE(std::fabs(at.x) < 1e-3 || std::fabs(at.x - 1) < 1e-3 || std::fabs(at.z) < 1e-3 ||
                    std::fabs(at.z - 1) < 1e-3);
    }
    EXPECT_EQ(ObjectLog(u"walker"), "walk");

    // Paused, it stands; continued, it goes on.
    Eval("scene.walker.pausepredefinedroute();");
    const D3DXVECTOR3 paused = walker.GetPosition();
    Run(1000);
    EXPECT_EQ(walker.GetPosition(), paused);
    Eval("scene.walker.continuepredefinedroute();");
    Run(100);
    EXPECT_FALSE(walker.GetPosition() == paused);

    // From point 1 without loop: through points 2 and 3, then the walk ends.
    ClearLogs();
    Eval("scene.walker.followpredefinedroute(500, 1, false);");
    EXPECT_EQ(walker.GetPosition(), D3DXVECTOR3(1, 0, 0));
    Run(1100);
    EXPECT_FALSE(walker.IsMoving());
    EXPECT_EQ(walker.GetPosition(), D3DXVECTOR3(0, 0, 1));
    EXPECT_EQ(ObjectLog(u"walker"), "walk|stop");
}

TEST_F(ObjectBehaviourTest, OnlyTheFreeMoveObjectRaisesPolygonEvents) {
    Load(std::string(kWalker) + "scene.addobject(\"name='other' model='box.spr' posz='5'\");");
    Host().Polygons().Set("zone", Square(1, 2, -1, 10, EPolygonType::Event, "zone"));
    CSceneObject& walker = Object(u"walker");

    Eval("scene.walker.freemove = true;");
    EXPECT_EQ(Scene().FreeMoveObject(), &walker);
    EXPECT_EQ(ObjectLog(u"walker"), "freemove:true");
    Eval("scene.walker.moveto(\"posx='3' speed='100'\"); scene.other.moveto(\"posx='3' posz='5' "
         "speed='100'\");");
    Run(400);
    EXPECT_EQ(SceneLog(), "zone:enter|zone:leave");

    ClearLogs();
    Eval("scene.walker.freemove = false;");
    EXPECT_EQ(Scene().FreeMoveObject(), nullptr);
    EXPECT_EQ(ObjectLog(u"walker"), "freemove:false");
    Eval("scene.walker.moveto(\"posx='0' speed='100'\");");
    Run(400);
    EXPECT_EQ(walker.GetPosition().x, 0.0f);
    EXPECT_EQ(SceneLog(), "");
}

TEST_F(ObjectBehaviourTest, AnEventOfTheLastStepMaySendTheObjectOn) {
    Load(kWalker);
    // The walk's frames end at x = 1.448; only the closing step reaches 1.5 inside the zone.
    Host().Polygons().Set("zone", Square(1.46f, 2, -1, 1, EPolygonType::Event, "zone"));
    Eval("function OnEvent(e, p) {"
         "  log.push(e + ':' + p);"
         "  if (p == 'enter') scene.walker.moveto(\"posx='5' speed='100' event='second'\");"
         "}"
         "scene.walker.freemove = true;"
         "scene.walker.moveto(\"posx='1.5' speed='97' event='first'\");");
    Run(1000);
    // The first movement ended in the zone and was replaced there: no end event of its own.
    EXPECT_EQ(SceneLog(), "zone:enter|zone:leave|second:");
    EXPECT_EQ(Object(u"walker").GetPosition().x, 5.0f);
}

TEST_F(ObjectBehaviourTest, CollisionCheckSlidesAlongWalkAreas) {
    Load(kWalker);
    // A walk area whose edge lies 0.1 beside the candidate is reached by a
    // sideways shift; one 0.2 away is not.
    Host().Polygons().Set("area", Square(-5, 5, 0.1f, 5, EPolygonType::WalkInside, ""));
    CSceneObject& walker = Object(u"walker");
    D3DXVECTOR3 allowed;
    CSceneObject* blocker = &walker;
    ASSERT_TRUE(walker.ConstrainedStep({1, 0, 0}, &allowed, &blocker));
    EXPECT_EQ(blocker, nullptr);
    EXPECT_NEAR(allowed.z, 0.105f, 1e-4);
    EXPECT_EQ(allowed.x, 1.0f);
    Host().Polygons().Set("area", Square(-5, 5, 0.2f, 5, EPolygonType::WalkInside, ""));
    EXPECT_FALSE(walker.ConstrainedStep({1, 0, 0}, &allowed, &blocker));
    EXPECT_EQ(blocker, nullptr);
}

TEST_F(ObjectBehaviourTest, CollisionCheckNamesTheBlockingObject) {
    Load(std::string(kWalker) + kWall);
    CSceneObject& walker = Object(u"walker");
    D3DXVECTOR3 allowed;
    CSceneObject* blocker = nullptr;
    EXPECT_FALSE(walker.ConstrainedStep({1.5f, 0, 0}, &allowed, &blocker));
    EXPECT_EQ(blocker, &Object(u"wall"));
    // Beside the wall's corner a small slide gets past.
    ASSERT_TRUE(walker.ConstrainedStep({1.5f, 0, 0.9f}, &allowed, &blocker));
    EXPECT_GE(allowed.z, 0.9f);
    // Hidden, disabled or not marked walkaround: no obstacle.
    Eval("scene.wall.visible = false;");
    EXPECT_TRUE(walker.ConstrainedStep({2, 0, 0}, &allowed, &blocker));
    Eval("scene.wall.visible = true; scene.wall.enabled = false;");
    EXPECT_TRUE(walker.ConstrainedStep({2, 0, 0}, &allowed, &blocker));
}

} // namespace
