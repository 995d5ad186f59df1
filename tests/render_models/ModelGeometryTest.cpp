#include "mathutil/D3DXMath.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "render/model/CModelInstance.h"
#include "render_models/ModelFixtures.h"

#include <cmath>
#include <numbers>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

void ExpectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

class CubeModel : public ::testing::Test {
protected:
    CubeModel() { host.AddFile("cube.ims", CModelWriter::WriteMesh(UnitCube())); }

    CMemoryModelHost host;
    C3DSpresh cube{host, "cube.ims"};
};

TEST_F(CubeModel, BoundsFollowRotationAndWorldPosition) {
    CModelInstance parent(nullptr, {100, 0, 0}, {0, 0, 1}, true, true, CModelInstance::Ordinary);
    CModelInstance instance(&cube, {10, 1, 0}, {0, 0, 0}, true, true, CModelInstance::Ordinary);
    D3DXVECTOR3 min, max;
    ASSERT_TRUE(cube.GetBoundaries(instance, &min, &max));
    ExpectNear(min, {9.5f, 0.5f, -0.5f});
    ExpectNear(max, {10.5f, 1.5f, 0.5f});

    // A quarter turn of yaw: the box widens to the diagonal. The parent moves
    // it but its rotation does not turn the box.
    instance.rotation = {0, 0, kPi / 4};
    instance.parent = &parent;
    ASSERT_TRUE(cube.GetBoundaries(instance, &min, &max));
    const float h = std::sqrt(0.5f);
    ExpectNear(min, {110 - h, 0.5f, -h});
    ExpectNear(max, {110 + h, 1.5f, h});

    instance.animation = "missing";
    EXPECT_FALSE(cube.GetBoundaries(instance, &min, &max));
}

TEST_F(CubeModel, PlanesFaceOutwardOnePerTriangle) {
    CModelInstance instance(&cube, {0, 2, 0}, {0, 0, 0}, true, true, CModelInstance::Ordinary);
    const std::vector<D3DXPLANE> planes = cube.CalculatePlanes(instance);
    const C3DIMesh2& frame = *cube.GetAnimations().at("idle")[0];
    ASSERT_EQ(planes.size(), 12u);
    for (std::size_t t = 0; t < planes.size(); ++t) {
        const SpreshVertex v = frame.Vertex(frame.indexBuffer->At(3 * t));
        EXPECT_NEAR(planes[t].a, v.nx, 1e-6f) << t;
        EXPECT_NEAR(planes[t].b, v.ny, 1e-6f) << t;
        EXPECT_NEAR(planes[t].c, v.nz, 1e-6f) << t;
        // Every face is 0.5 from the centre, which the instance put at y = 2.
        const D3DXVECTOR3 centre(0, 2, 0);
        EXPECT_NEAR(D3DXPlaneDotCoord(&planes[t], &centre), -0.5f, 1e-6f) << t;
    }
}

TEST_F(CubeModel, RayHitsTheFaceTurnedTowardsIt) {
    const struct {
        D3DXVECTOR3 origin;
        D3DXVECTOR3 direction;
        bool hits;
        D3DXVECTOR3 point;
        D3DXVECTOR3 normal;
    } rays[] = {
        {{0.2f, 0.3f, -5}, {0, 0, 1}, true, {0.2f, 0.3f, -0.5f}, {0, 0, -1}},
        {{0, 5, 0.1f}, {0, -1, 0}, true, {0, 0.5f, 0.1f}, {0, 1, 0}},
        {{2, 0, -5}, {0, 0, 1}, false, {}, {}},
        // Pointing away: the only face turned towards it lies behind the origin.
        {{0, 0, -5}, {0, 0, -1}, false, {}, {}},
    };
    for (const auto& ray : rays) {
        D3DXVECTOR3 hit, normal;
        ASSERT_EQ(cube.HasIntersection(ray.origin, ray.direction, &hit, &normal), ray.hits);
        if (ray.hits) {
            ExpectNear(hit, ray.point);
            ExpectNear(normal, ray.normal);
        }
    }
    EXPECT_TRUE(cube.HasIntersection({0, 0, -5}, {0, 0, 1}, nullptr, nullptr));
}

TEST(ModelGeometry, TheLastHitTriangleInIndexOrderWins) {
    // Two squares facing -z, the nearer one first in index order.
    ModelMeshData mesh;
    for (float z : {0.0f, 1.0f}) {
        for (const auto& [x, y] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}}) {
            mesh.vertices.push_back({x, y, z, 0, 0, -1, 0, 0});
        }
    }
    mesh.indices = {0, 1, 2, 3, 4, 5};
    CMemoryModelHost host;
    host.AddFile("two.ims", CModelWriter::WriteMesh(mesh));
    C3DSpresh model(host, "two.ims");
    D3DXVECTOR3 hit;
    ASSERT_TRUE(model.HasIntersection({0.5f, -0.5f, -3}, {0, 0, 1}, &hit, nullptr));
    ExpectNear(hit, {0.5f, -0.5f, 1});
    ExpectNear(model.LastHitTriangle()[0], {-1, -1, 1});
}

TEST(ModelGeometry, FrameSelectionByPhase) {
    ModelAnimationData walk{"walk", {}};
    for (int k = 0; k < 10; ++k) {
        walk.frames.push_back(PointMesh({{static_cast<float>(k), 0, 0}}));
    }
    CMemoryModelHost host;
    host.AddFile("w.spr", CModelWriter::WriteSprite({walk}));
    C3DSpresh model(host, "w.spr");
    const struct {
        float phase;
        int frame;
    } cases[] = {{0.0f, 0}, {0.55f, 5}, {0.999f, 9}, {0.7f, 7}, {1.0f, 0}, {2.35f, 3}, {-0.15f, 9}, {NAN, 0}};
    for (const auto& c : cases) {
        const C3DIMesh2* frame = model.SelectFrame("walk", c.phase);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->Position(0).x, static_cast<float>(c.frame)) << c.phase;
        EXPECT_EQ(model.CurrentFrame(), c.frame) << c.phase;
    }
    // Far beyond an int, still some frame.
    EXPECT_NE(model.SelectFrame("walk", 1e30f), nullptr);
    EXPECT_NE(model.SelectFrame("walk", -1e30f), nullptr);
    EXPECT_EQ(model.SelectFrame("run", 0.0f), nullptr);
    EXPECT_EQ(model.TriangleCount(), 0);
}

TEST_F(CubeModel, ReCalcScalesTurnsAndMovesEveryVertex) {
    cube.ReCalc(0, 0, 0, 0, 0, 0, 2, 2, 2);
    const C3DIMesh2& frame = *cube.GetAnimations().at("idle")[0];
    const ModelMeshData original = UnitCube();
    for (std::int32_t i = 0; i < frame.vertexCount; ++i) {
        const SpreshVertex v = frame.Vertex(i);
        const SpreshVertex& o = original.vertices[static_cast<std::size_t>(i)];
        EXPECT_EQ(v.x, 2 * o.x);
        EXPECT_EQ(v.y, 2 * o.y);
        EXPECT_EQ(v.z, 2 * o.z);
        EXPECT_EQ(v.nx, o.nx);
        EXPECT_EQ(v.ny, o.ny);
        EXPECT_EQ(v.nz, o.nz);
        EXPECT_EQ(v.u, o.u);
    }

    // A quarter turn of yaw takes +x to -z; scale applies after the turn.
    cube.ReCalc(1, 2, 3, 0, 0, kPi / 2, 1, 1, 3);
    // First vertex of the +x face, (1, -1, -1) after the doubling, turns to (-1, -1, -1).
    const SpreshVertex v = frame.Vertex(4);
    ExpectNear({v.x, v.y, v.z}, {1 - 1, 2 - 1, 3 - 3 * 1});
    ExpectNear({v.nx, v.ny, v.nz}, {0, 0, -1});

    D3DXVECTOR3 min, max;
    CModelInstance instance(&cube, {0, 0, 0}, {0, 0, 0}, true, true, CModelInstance::Ordinary);
    cube.GetBoundaries(instance, &min, &max);
    ExpectNear(min, {0, 1, 0});
    ExpectNear(max, {2, 3, 6});
    // The footprint covers the same ground as the box.
    const CPolygon& outline = frame.outline;
    ASSERT_FALSE(outline.GetPoints().empty());
    ExpectNear({outline.GetMinX(), 0, outline.GetMinZ()}, {0, 0, 0});
    ExpectNear({outline.GetMaxX(), 0, outline.GetMaxZ()}, {2, 0, 6});
}

TEST(ModelGeometry, ReCalcReportsALockFailure) {
    CMemoryModelHost host;
    C3DSpresh model(host, "");
    model.CreateFilledCircle(1.0f, "idle", 4, 0, GreyMaterial());
    host.NullDevice().FailNext("LockVertexBuffer");
    EXPECT_NE(ExceptionText([&] {
                  model.ReCalc(0, 0, 0, 0, 0, 0, 1, 1, 1);
              }).find("C3DSpresh::ReCalc - Could not lock Vertex Buffer"),
              std::string::npos);
}

TEST(ModelInstance, WorldPlacementAddsParentsAndTurnsXThenYThenZ) {
    CModelInstance root(nullptr, {1, 2, 3}, {0.1f, 0.2f, 0.3f}, true, true, CModelInstance::Scenery);
    CModelInstance child(nullptr, {10, 20, 30}, {1, 2, 3}, true, true, CModelInstance::Ordinary);
    child.parent = &root;
    ExpectNear(child.WorldPosition(), {11, 22, 33});
    ExpectNear(child.WorldRotation(), {1.1f, 2.2f, 3.3f});

    const D3DXMATRIX world = child.WorldMatrix();
    const D3DXVECTOR3 p(0.3f, -0.7f, 1.9f);
    D3DXMATRIX rx, ry, rz;
    D3DXMatrixRotationX(&rx, 2.2f);
    D3DXMatrixRotationY(&ry, 3.3f);
    D3DXMatrixRotationZ(&rz, 1.1f);
    D3DXVECTOR3 expected = p, actual;
    for (const D3DXMATRIX* m : {&rx, &ry, &rz}) {
        D3DXVec3TransformCoord(&expected, &expected, m);
    }
    expected += D3DXVECTOR3(11, 22, 33);
    D3DXVec3TransformCoord(&actual, &p, &world);
    ExpectNear(actual, expected, 1e-4f);

    D3DXMATRIX shift;
    D3DXMatrixTranslation(&shift, 0, 100, 0);
    const D3DXMATRIX shifted = child.WorldMatrix(&shift);
    D3DXVec3TransformCoord(&actual, &p, &shifted);
    ExpectNear(actual, expected + D3DXVECTOR3(0, 100, 0), 1e-4f);
}

} // namespace
