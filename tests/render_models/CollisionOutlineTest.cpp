#include "navigation/CPolygon.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "render_models/ModelFixtures.h"
#include "support/TempDir.h"

#include <algorithm>
#include <random>

namespace {

using Outline = std::vector<std::pair<float, float>>;

Outline PointsOf(const CPolygon& polygon) {
    Outline points;
    for (const CPolygon::Point& p : polygon.GetPoints()) {
        points.emplace_back(p.givenX, p.givenZ);
    }
    return points;
}

float Cross(const std::pair<float, float>& o, const std::pair<float, float>& a,
            const std::pair<float, float>& b) {
    return (a.first - o.first) * (b.second - o.second) - (a.second - o.second) * (b.first - o.first);
}

// Andrew's monotone chain: the counter-clockwise hull starting at the
// left-most (then lowest) point, as an independent reference.
Outline ReferenceHull(Outline points) {
    std::sort(points.begin(), points.end());
    Outline hull(2 * points.size());
    std::size_t k = 0;
    for (const auto& p : points) {
        while (k >= 2 && Cross(hull[k - 2], hull[k - 1], p) <= 0) {
            --k;
        }
        hull[k++] = p;
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) {
            --k;
        }
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return hull;
}

Outline LoadedOutline(CMemoryModelHost& host, const std::string& name) {
    C3DSpresh model(host, name);
    model.Load(true);
    const CPolygon* outline = model.CollisionOutline("idle", 0.0f);
    return outline ? PointsOf(*outline) : Outline{};
}

TEST(CollisionOutline, SquareCornersComeCounterClockwiseFromTheLeftMost) {
    CMemoryModelHost host;
    // Heights differ and the corners are listed in no particular order; the
    // outline only looks at x and z. Of the two left-most corners the first in
    // the file starts the walk.
    host.AddFile("a.ims", CModelWriter::WriteMesh(PointMesh({{1, 0, 1}, {0, 0, 0}, {0, 5, 1}, {1, 2, 0}})));
    EXPECT_EQ(LoadedOutline(host, "a.ims"), (Outline{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    host.AddFile("b.ims", CModelWriter::WriteMesh(PointMesh({{1, 0, 1}, {0, 5, 1}, {0, 0, 0}, {1, 2, 0}})));
    EXPECT_EQ(LoadedOutline(host, "b.ims"), (Outline{{0, 1}, {0, 0}, {1, 0}, {1, 1}}));
}

TEST(CollisionOutline, ScatteredPointsGiveTheirConvexHull) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-10.0f, 10.0f);
    for (int round = 0; round < 20; ++round) {
        std::vector<D3DXVECTOR3> points;
        for (int i = 0; i < 60; ++i) {
            points.push_back({coordinate(random), coordinate(random), coordinate(random)});
        }
        Outline flat;
        for (const auto& p : points) {
            flat.emplace_back(p.x, p.z);
        }
        CMemoryModelHost host;
        host.AddFile("p.ims", CModelWriter::WriteMesh(PointMesh(points)));
        EXPECT_EQ(LoadedOutline(host, "p.ims"), ReferenceHull(flat)) << "round " << round;
    }
}

TEST(CollisionOutline, AnArchivedFileOfVersionOneIsUsedForEveryFrame) {
    TempDir cache;
    CMemoryModelHost host(cache.Path());
    CPolygon triangle;
    triangle.AddPoint(0, 0, false);
    triangle.AddPoint(2, 0, false);
    triangle.AddPoint(1, 3, false);
    const ModelMeshData cube = UnitCube();
    host.AddFile("data\\models\\m.spr",
                 CModelWriter::WriteSprite({{"idle", {cube}}, {"walk", {cube, cube}}}));
    host.AddFile("data\\models\\m.spr.col", CModelWriter::WriteCollision(triangle));

    C3DSpresh model(host, "data\\models\\m.spr");
    model.Load(true);
    for (float phase : {0.0f, 0.5f}) {
        EXPECT_EQ(PointsOf(*model.CollisionOutline("walk", phase)), PointsOf(triangle));
    }
    EXPECT_EQ(model.CollisionOutline("walk", 0.5f)->GetMaxZ(), 3.0f);
    EXPECT_TRUE(std::filesystem::is_empty(cache.Path()));
}

TEST(CollisionOutline, OtherVersionsAreComputedAndWrittenToTheCacheFolder) {
    TempDir cache;
    CMemoryModelHost host(cache.Path());
    const auto model = CModelWriter::WriteMesh(PointMesh({{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}));
    host.AddFile("data\\models\\sq.ims", model);
    std::vector<std::uint8_t> version2 = {2, 0, 0, 0, 0, 0, 0, 0};
    host.AddFile("data\\models\\sq.ims.col", version2);

    const Outline square{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    EXPECT_EQ(LoadedOutline(host, "data\\models\\sq.ims"), square);
    // Beside the model's path, named after its bytes too.
    const auto written = CachedFilePath(cache.Path(), CachedCollisionName("data\\models\\sq.ims", model));
    EXPECT_EQ(written.parent_path(), cache.Path() / "data" / "models");
    ASSERT_TRUE(std::filesystem::exists(written));
    const std::string bytes = ReadFile(written);
    CPolygon expected;
    for (const auto& [x, z] : square) {
        expected.AddPoint(x, z, false);
    }
    const auto expectedBytes = CModelWriter::WriteCollision(expected);
    EXPECT_EQ(bytes, std::string(expectedBytes.begin(), expectedBytes.end()));
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x01\0\0\0\x04\0\0\0", 8));
}

TEST(CollisionOutline, AnOutlineComputedEarlierIsReadFromTheCacheFolder) {
    TempDir cache;
    CMemoryModelHost host(cache.Path());
    const auto model = CModelWriter::WriteMesh(PointMesh({{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}));
    host.AddFile("m.ims", model);
    const auto cached = cache.Path() / CachedCollisionName("m.ims", model);
    CPolygon triangle;
    triangle.AddPoint(5, 5, false);
    triangle.AddPoint(6, 5, false);
    triangle.AddPoint(5, 6, false);
    const auto bytes = CModelWriter::WriteCollision(triangle);
    WriteFile(cached, std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(LoadedOutline(host, "m.ims"), PointsOf(triangle));

    // A truncated one is computed again and replaced.
    WriteFile(cached, std::string("\x01\0\0\0\x09\0\0\0", 8));
    EXPECT_EQ(LoadedOutline(host, "m.ims"), (Outline{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    EXPECT_EQ(ReadFile(cached).size(), 8u + 4 * 8);
}

TEST(CollisionOutline, AnotherModelOfTheSameNameNeverGetsTheCachedOutline) {
    // Two games, or a game and its patch, with a model of one name and other shapes.
    TempDir cache;
    CMemoryModelHost small(cache.Path());
    small.AddFile("data\\models\\m.ims", CModelWriter::WriteMesh(PointMesh({{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}})));
    EXPECT_EQ(LoadedOutline(small, "data\\models\\m.ims"), (Outline{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    CMemoryModelHost large(cache.Path());
    large.AddFile("data\\models\\m.ims", CModelWriter::WriteMesh(PointMesh({{0, 0, 0}, {3, 0, 0}, {3, 0, 3}, {0, 0, 3}})));
    EXPECT_EQ(LoadedOutline(large, "data\\models\\m.ims"), (Outline{{0, 0}, {3, 0}, {3, 3}, {0, 3}}));
    // The first one's outline is still found for it.
    EXPECT_EQ(LoadedOutline(small, "data\\models\\m.ims"), (Outline{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
}

TEST(CollisionOutline, AnOutlineThatCannotBeWrittenIsSkipped) {
    TempDir temp;
    // The cache folder's place is taken by a plain file.
    WriteFile(temp / "cache", "not a folder");
    CMemoryModelHost host(temp / "cache");
    host.AddFile("data\\m.ims", CModelWriter::WriteMesh(UnitCube()));
    EXPECT_EQ(LoadedOutline(host, "data\\m.ims").size(), 4u);
}

TEST(CollisionOutline, CachedPathsStayInsideTheCacheFolder) {
    const std::filesystem::path folder("/cache");
    EXPECT_EQ(CachedFilePath(folder, "data\\models\\a.spr.col"), folder / "data/models/a.spr.col");
    EXPECT_EQ(CachedFilePath(folder, "..\\..\\etc\\x.col"), std::filesystem::path());
    EXPECT_EQ(CachedFilePath(folder, "/etc/x.col"), std::filesystem::path());
    EXPECT_EQ(CachedFilePath({}, "a.col"), std::filesystem::path());
}

TEST(CollisionOutline, GeneratedShapesHaveNone) {
    CMemoryModelHost host;
    C3DSpresh model(host, "");
    model.CreateFilledCircle(2.0f, "idle", 6, 0, GreyMaterial());
    EXPECT_TRUE(model.CollisionOutline("idle", 0.0f)->GetPoints().empty());
}

} // namespace
