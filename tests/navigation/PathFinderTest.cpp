#include "navigation/PathFinder.h"
#include "navigation/EPathFinder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

// Readable failures: gtest finds this next to PathPoint, in the global namespace.
void PrintTo(const PathPoint& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.z << ")";
}

namespace {

constexpr float kClearance = 0.4f;
constexpr float kSmallSize = 1.0f;
constexpr float kSmallMargin = 0.5f;

struct Box {
    float minX, maxX, minZ, maxZ;

    PathPolygon Outline() const { return {{minX, minZ}, {maxX, minZ}, {maxX, maxZ}, {minX, maxZ}}; }

    // A box's corners all lie at the same distance from its centre, so pushing
    // them out radially gives the box scaled about its centre.
    Box Inflated() const {
        const float hx = (maxX - minX) / 2, hz = (maxZ - minZ) / 2;
        float grow = kClearance / 2;
        if (std::max(maxX - minX, maxZ - minZ) < kSmallSize) {
            grow += kSmallMargin;
        }
        const float d = std::hypot(hx, hz);
        const float s = (d + grow) / d;
        const float cx = (minX + maxX) / 2, cz = (minZ + maxZ) / 2;
        return {cx - hx * s, cx + hx * s, cz - hz * s, cz + hz * s};
    }

    bool StrictlyContains(PathPoint p, float margin) const {
        return p.x > minX + margin && p.x < maxX - margin && p.z > minZ + margin && p.z < maxZ - margin;
    }
};

const Box kRoom{0, 20, 0, 15};

// Sets the finder up the way a scene does: grid over the walk area with 100
// cells across, the scene's clearance and small-obstacle rule, then precompute.
void SetUpScene(PathFinder& finder, const Box& walk, const std::vector<Box>& obstacles) {
    finder.InitGrid(walk.minX, walk.maxX, walk.minZ, walk.maxZ, (walk.maxX - walk.minX) * 0.01f);
    finder.SetClearance(kClearance);
    finder.SetSmallObstacleRule(kSmallSize, kSmallMargin);
    finder.ClearNavigation();
    for (const Box& b : obstacles) {
        finder.AddObstacle(b.Outline());
    }
    finder.SetWalkArea(walk.Outline());
    finder.Precompute();
}

float Length(const std::vector<PathPoint>& path) {
    float total = 0;
    for (std::size_t i = 1; i < path.size(); ++i) {
        total += std::hypot(path[i].x - path[i - 1].x, path[i].z - path[i - 1].z);
    }
    return total;
}

// Walks each segment in small steps: no step may enter an inflated obstacle or
// leave the shrunken walk area. `fromSegment` skips a first jump onto the grid.
void ExpectPathKeepsClear(const std::vector<PathPoint>& path, const Box& walk,
                          const std::vector<Box>& obstacles, std::size_t fromSegment = 0) {
    const Box inner{walk.minX + kClearance / 2, walk.maxX - kClearance / 2, walk.minZ + kClearance / 2,
                    walk.maxZ - kClearance / 2};
    for (std::size_t i = fromSegment + 1; i < path.size(); ++i) {
        for (int step = 0; step <= 100; ++step) {
            const float t = static_cast<float>(step) / 100.0f;
            const PathPoint p{path[i - 1].x + (path[i].x - path[i - 1].x) * t,
                              path[i - 1].z + (path[i].z - path[i - 1].z) * t};
            EXPECT_TRUE(p.x >= inner.minX - 1e-4f && p.x <= inner.maxX + 1e-4f && p.z >= inner.minZ - 1e-4f &&
                        p.z <= inner.maxZ + 1e-4f)
                << "segment " << i << " leaves the walk area at (" << p.x << ", " << p.z << ")";
            for (const Box& o : obstacles) {
                EXPECT_FALSE(o.Inflated().StrictlyContains(p, 1e-4f))
                    << "segment " << i << " enters an obstacle at (" << p.x << ", " << p.z << ")";
            }
        }
    }
}

// The free cell nearest to p, first in row-major order on ties; worked out
// from the grid's cells directly.
PathPoint NearestFreeCorner(const PathGrid& grid, PathPoint p, bool mustHaveLinks) {
    PathPoint best{};
    float bestDistance = std::numeric_limits<float>::infinity();
    for (int r = 0; r < grid.Rows(); ++r) {
        for (int c = 0; c < grid.Columns(); ++c) {
            const PathGrid::Node& cell = grid.At(r, c);
            if (cell.state != PathGrid::CellState::Free || (mustHaveLinks && cell.neighbours.empty())) {
                continue;
            }
            const float d = std::hypot(cell.position.x - p.x, cell.position.z - p.z);
            if (d < bestDistance) {
                bestDistance = d;
                best = cell.position;
            }
        }
    }
    return best;
}

struct RouteCase {
    std::string name;
    std::vector<Box> obstacles;
    PathPoint start;
    PathPoint goal;
    float minLength; // the detour must be at least this long
};

TEST(PathFinder, RoutesReachTheGoalAndKeepClearOfObstacles) {
    const std::vector<RouteCase> cases = {
        {"open room", {}, {2, 2}, {18, 13}, 0},
        {"round the end of a wall", {{0, 16, 7, 7.5f}}, {2, 3}, {2, 12}, 2 * std::hypot(14.4f, 4.5f)},
        // Right round the first wall's end, then back left round the second's.
        {"serpentine", {{0, 17, 5, 5.5f}, {3, 20, 10, 10.5f}}, {1, 2}, {19, 13}, 16 + 14 + 3},
        {"between small posts",
         {{4, 4.8f, 4, 4.8f},
          {8, 8.5f, 6, 6.5f},
          {12, 12.9f, 8, 8.9f},
          {9, 9.5f, 10, 10.5f},
          {6, 6.6f, 9, 9.6f}},
         {1, 1},
         {18, 14},
         std::hypot(17.0f, 13.0f)},
    };
    for (const RouteCase& c : cases) {
        SCOPED_TRACE(c.name);
        PathFinder finder;
        SetUpScene(finder, kRoom, c.obstacles);
        std::vector<PathPoint> path;
        EXPECT_TRUE(finder.FindPath(c.start, c.goal, path));
        ASSERT_GE(path.size(), 2u);
        EXPECT_EQ(c.start, path.front());
        EXPECT_EQ(c.goal, path.back());
        EXPECT_GE(Length(path), c.minLength);
        ExpectPathKeepsClear(path, kRoom, c.obstacles);
    }
}

TEST(PathFinder, ClearLineGivesStartAndGoalOnly) {
    PathFinder finder;
    SetUpScene(finder, kRoom, {{9, 11, 9, 11}});
    std::vector<PathPoint> path{{99, 99}};
    EXPECT_TRUE(finder.FindPath({2, 2}, {18, 4}, path));
    EXPECT_EQ((std::vector<PathPoint>{{2, 2}, {18, 4}}), path);

    EXPECT_TRUE(finder.FindPath({5, 5}, {5, 5}, path));
    EXPECT_EQ((std::vector<PathPoint>{{5, 5}, {5, 5}}), path);
}

TEST(PathFinder, GoalInsideAnObstacleEndsAtTheNearestReachableCell) {
    const Box post{9.6f, 10.4f, 7.1f, 7.9f}; // 0.8 wide: inflated by 0.7
    PathFinder finder;
    SetUpScene(finder, kRoom, {post});
    const PathPoint goal{10.1f, 7.6f};
    std::vector<PathPoint> path;
    EXPECT_FALSE(finder.FindPath({2, 2}, goal, path));
    ASSERT_GE(path.size(), 2u);
    EXPECT_EQ((PathPoint{2, 2}), path.front());
    // Every free cell of the open room is reachable, so the end is the free cell nearest the goal.
    EXPECT_EQ(NearestFreeCorner(*finder.GetGrid(), goal, true), path.back());
    EXPECT_FALSE(post.Inflated().StrictlyContains(path.back(), 0));
    ExpectPathKeepsClear(path, kRoom, {post});
}

TEST(PathFinder, UnreachableGoalEndsOnTheNearSideOfTheWall) {
    const Box wall{-1, 21, 7, 8}; // wall to wall
    PathFinder finder;
    SetUpScene(finder, kRoom, {wall});
    std::vector<PathPoint> path;
    EXPECT_FALSE(finder.FindPath({10, 3}, {10, 12}, path));
    ASSERT_GE(path.size(), 2u);
    EXPECT_LT(path.back().z, wall.Inflated().minZ);
    EXPECT_NEAR(10.0f, path.back().x, 0.2f);
    ExpectPathKeepsClear(path, kRoom, {wall});
}

TEST(PathFinder, StartOutsideTheWalkAreaJumpsToTheNearestFreeCell) {
    struct Case {
        std::string name;
        std::vector<Box> obstacles;
        PathPoint start;
    };
    const std::vector<Case> cases = {
        {"left of the room", {}, {-3, 5}},
        {"far outside the grid", {}, {-1e30f, 1e30f}},
        {"within a post's margin", {{9.6f, 10.4f, 7.1f, 7.9f}}, {10.55f, 7.5f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PathFinder finder;
        SetUpScene(finder, kRoom, c.obstacles);
        const PathPoint goal{15, 10};
        std::vector<PathPoint> path;
        EXPECT_TRUE(finder.FindPath(c.start, goal, path));
        ASSERT_GE(path.size(), 3u);
        EXPECT_EQ(c.start, path[0]);
        EXPECT_EQ(NearestFreeCorner(*finder.GetGrid(), c.start, false), path[1]);
        EXPECT_EQ(goal, path.back());
        ExpectPathKeepsClear(path, kRoom, c.obstacles, 1);
    }
}

TEST(PathFinder, InflatesObstaclesRadiallyWithTheSmallObstacleMargin) {
    struct Case {
        std::string name;
        Box box;
        float grow;
    };
    const std::vector<Case> cases = {
        {"0.8 wide gets clearance and margin", {5, 5.8f, 5, 5.8f}, 0.2f + 0.5f},
        {"2.0 by 0.2 gets clearance only", {5, 7, 5, 5.2f}, 0.2f},
        {"exactly the small size is not small", {5, 6, 5, 5.5f}, 0.2f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PathFinder finder;
        SetUpScene(finder, kRoom, {c.box});
        const std::vector<PathPolygon> inflated = finder.GetInflatedObstacles();
        ASSERT_EQ(1u, inflated.size());
        const PathPolygon original = c.box.Outline();
        const PathPoint centre{(c.box.minX + c.box.maxX) / 2, (c.box.minZ + c.box.maxZ) / 2};
        for (std::size_t i = 0; i < original.size(); ++i) {
            const float before = std::hypot(original[i].x - centre.x, original[i].z - centre.z);
            const float after = std::hypot(inflated[0][i].x - centre.x, inflated[0][i].z - centre.z);
            EXPECT_NEAR(before + c.grow, after, 1e-5f);
        }
    }
}

TEST(PathFinder, ShrinksTheWalkAreaPerAxisTowardsItsCentre) {
    PathFinder finder;
    const PathPolygon triangle{{0, 0}, {10, 0}, {5, 8}};
    finder.SetClearance(1.0f);
    finder.SetWalkArea(triangle);
    finder.Precompute();
    // Centre of the box (5, 4): the apex sits on the centre line and moves left.
    const PathPolygon expected{{0.5f, 0.5f}, {9.5f, 0.5f}, {4.5f, 7.5f}};
    EXPECT_EQ(expected, finder.GetShrunkenWalkArea());
    EXPECT_EQ(triangle, finder.GetWalkArea());
}

TEST(PathFinder, ObstaclesBlockTheirCellsAndOutsideCellsAreBlocked) {
    PathFinder finder;
    const Box post{9.6f, 10.4f, 7.1f, 7.9f};
    SetUpScene(finder, kRoom, {post});
    const PathGrid& grid = *finder.GetGrid();
    const Box inflated = post.Inflated();
    const Box inner{0.2f, 19.8f, 0.2f, 14.8f};
    for (int r = 0; r < grid.Rows(); ++r) {
        for (int c = 0; c < grid.Columns(); ++c) {
            const PathGrid::Node& cell = grid.At(r, c);
            if (inflated.StrictlyContains(cell.position, 1e-4f) ||
                !inner.StrictlyContains(cell.position, -1e-4f)) {
                EXPECT_EQ(PathGrid::CellState::Blocked, cell.state) << r << ", " << c;
                EXPECT_TRUE(cell.neighbours.empty());
            }
            if (inner.StrictlyContains(cell.position, 0.25f) &&
                !Box{inflated.minX - 0.25f, inflated.maxX + 0.25f, inflated.minZ - 0.25f,
                     inflated.maxZ + 0.25f}
                     .StrictlyContains(cell.position, 0)) {
                EXPECT_EQ(PathGrid::CellState::Free, cell.state) << r << ", " << c;
                EXPECT_EQ(8u, cell.neighbours.size()) << r << ", " << c;
            }
        }
    }
}

TEST(PathFinder, WalkAreaOfFewerThanThreePointsBoundsNothing) {
    PathFinder finder;
    finder.InitGrid(0, 10, 0, 10, 0.1f);
    finder.SetClearance(kClearance);
    const PathPolygon line{{2, 2}, {8, 8}};
    finder.SetWalkArea(line);
    finder.Precompute();
    const PathGrid& grid = *finder.GetGrid();
    for (int r = 0; r < grid.Rows(); ++r) {
        for (int c = 0; c < grid.Columns(); ++c) {
            ASSERT_EQ(PathGrid::CellState::Free, grid.At(r, c).state);
        }
    }
    // The route crosses the two-point "outline" without minding it.
    std::vector<PathPoint> path;
    EXPECT_TRUE(finder.FindPath({8, 1}, {1, 8}, path));
    EXPECT_EQ((std::vector<PathPoint>{{8, 1}, {1, 8}}), path);
}

TEST(PathFinder, LevelsTrackWhatIsCurrent) {
    PathFinder finder;
    EXPECT_EQ(PathFinder::kNoGrid, finder.GetLevel());
    finder.SetWalkArea(kRoom.Outline());
    EXPECT_EQ(PathFinder::kNoGrid, finder.GetLevel());
    SetUpScene(finder, kRoom, {});
    EXPECT_EQ(PathFinder::kGridComputed, finder.GetLevel());
    std::vector<PathPoint> path;
    finder.FindPath({1, 1}, {2, 2}, path);
    EXPECT_EQ(PathFinder::kEndsLinked, finder.GetLevel());
    finder.SetClearance(kClearance); // unchanged value
    EXPECT_EQ(PathFinder::kEndsLinked, finder.GetLevel());
    finder.SetClearance(0.6f);
    EXPECT_EQ(PathFinder::kGridStale, finder.GetLevel());
    finder.FindPath({1, 1}, {2, 2}, path); // recomputes on demand
    EXPECT_EQ(PathFinder::kEndsLinked, finder.GetLevel());
    finder.SetSmallObstacleRule(1, 0.5f);
    EXPECT_EQ(PathFinder::kGridStale, finder.GetLevel());
    finder.Precompute();
    finder.ClearNavigation();
    EXPECT_EQ(PathFinder::kGridStale, finder.GetLevel());
    finder.Precompute();
    finder.AddObstacle(Box{1, 2, 1, 2}.Outline());
    EXPECT_EQ(PathFinder::kGridStale, finder.GetLevel());
    finder.Precompute();
    finder.InitGrid(0, 20, 0, 15, 0.2f); // a new grid has nothing computed
    EXPECT_EQ(PathFinder::kGridStale, finder.GetLevel());
}

TEST(PathFinder, ObstacleAddedAfterAQueryIsAvoidedByTheNext) {
    PathFinder finder;
    SetUpScene(finder, kRoom, {});
    std::vector<PathPoint> path;
    ASSERT_TRUE(finder.FindPath({2, 7}, {18, 7}, path));
    ASSERT_EQ(2u, path.size());
    const Box block{9, 11, 3, 12};
    finder.AddObstacle(block.Outline());
    EXPECT_TRUE(finder.FindPath({2, 7}, {18, 7}, path));
    EXPECT_GT(path.size(), 2u);
    ExpectPathKeepsClear(path, kRoom, {block});
}

TEST(PathFinder, EachQueryStartsFromACleanGraph) {
    const std::vector<Box> obstacles = {{0, 16, 7, 7.5f}, {4, 4.5f, 2, 2.5f}};
    PathFinder reused;
    SetUpScene(reused, kRoom, obstacles);
    std::vector<PathPoint> first, again, fresh;
    reused.FindPath({2, 3}, {2, 12}, first);
    reused.FindPath({18, 14}, {3, 1}, again);

    PathFinder other;
    SetUpScene(other, kRoom, obstacles);
    other.FindPath({18, 14}, {3, 1}, fresh);
    EXPECT_EQ(fresh, again);
    // Only the current start's links lead to the start node: the first
    // query's links were all taken away.
    const PathGrid& grid = *reused.GetGrid();
    std::size_t cellsLinkedToStart = 0;
    for (int r = 0; r < grid.Rows(); ++r) {
        for (int c = 0; c < grid.Columns(); ++c) {
            const auto& links = grid.At(r, c).neighbours;
            cellsLinkedToStart += std::count(links.begin(), links.end(), PathGrid::kStart);
        }
    }
    const auto& startLinks = grid.At(PathGrid::kStartRow, 0).neighbours;
    EXPECT_EQ(static_cast<std::size_t>(std::count_if(startLinks.begin(), startLinks.end(),
                                                     [](int n) { return n != PathGrid::kGoal; })),
              cellsLinkedToStart);
    EXPECT_GT(cellsLinkedToStart, 0u);
}

} // namespace
