#include "navigation/EPathFinder.h"
#include "navigation/PathFinder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

TEST(PathGrid, SizeAndCornersFollowTheBounds) {
    PathFinder finder;
    finder.InitGrid(1, 11, -2, 3, 0.5f);
    const PathGrid& grid = *finder.GetGrid();
    EXPECT_EQ(22, grid.Columns()); // 10 / 0.5 + 2
    EXPECT_EQ(12, grid.Rows());    // 5 / 0.5 + 2
    const PathGrid::Node& cell = grid.At(3, 4);
    EXPECT_EQ(3, cell.row);
    EXPECT_EQ(4, cell.column);
    EXPECT_EQ(3.0f, cell.position.x);
    EXPECT_EQ(-0.5f, cell.position.z);
    EXPECT_EQ(PathGrid::CellState::Free, cell.state);
    // The last column lies a cell beyond the maximum.
    EXPECT_EQ(11.5f, grid.At(11, 21).position.x);
    EXPECT_EQ(PathGrid::kStartRow, grid.At(-1, 99).row);
    EXPECT_EQ(PathGrid::kGoalRow, grid.At(-2, 0).row);
}

TEST(PathGrid, AddressesOffTheGridAreRangeErrors) {
    PathFinder finder;
    finder.InitGrid(0, 10, 0, 5, 1);
    const PathGrid& grid = *finder.GetGrid();
    struct Address {
        int row;
        int column;
    };
    const std::vector<Address> bad = {{-3, 0}, {0, -1}, {grid.Rows(), 0}, {0, grid.Columns()}, {-100, 5}};
    for (const Address& a : bad) {
        try {
            grid.At(a.row, a.column);
            FAIL() << "(" << a.row << ", " << a.column << ") accepted";
        } catch (const EPathFinder& e) {
            EXPECT_STREQ("Range error", e.GetText());
            EXPECT_NE(nullptr, dynamic_cast<const EPFRangeError*>(&e));
        }
    }
}

TEST(PathGrid, UnusableBoundsLeaveNoGridAndRefuseRoutes) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        std::string name;
        float minX, maxX, minZ, maxZ, cell;
    };
    const std::vector<Case> cases = {
        // What a scene without a walk area computes: inverted bounds and a negative cell.
        {"no walk area", 1e38f, -1e38f, 1e38f, -1e38f, (-1e38f - 1e38f) * 0.01f},
        {"inverted x", 5, 1, 0, 5, 0.04f},
        {"inverted z", 0, 5, 5, 1, 0.05f},
        {"zero width", 3, 3, 0, 5, 0.0f},
        {"negative cell", 0, 5, 0, 5, -0.05f},
        {"infinite bound", 0, inf, 0, 5, 0.05f},
        {"not a number", nan, 5, 0, 5, 0.05f},
        {"overflowing extent", -3e38f, 3e38f, 0, 1, 1e36f},
        {"millions of cells", 0, 1, 0, 1000, 0.0001f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PathFinder finder;
        finder.InitGrid(0, 10, 0, 10, 0.1f);
        ASSERT_TRUE(finder.HasGrid());
        finder.InitGrid(c.minX, c.maxX, c.minZ, c.maxZ, c.cell);
        EXPECT_FALSE(finder.HasGrid());
        EXPECT_EQ(PathFinder::kNoGrid, finder.GetLevel());
        finder.Precompute(); // harmless without a grid
        std::vector<PathPoint> path;
        EXPECT_THROW(finder.FindPath({1, 1}, {2, 2}, path), EPFGridNotInitialized);
    }
}

TEST(PathGrid, ThinButValidWalkAreaStillGetsAGrid) {
    // Only one row of cells across z is still an area to walk along.
    PathFinder finder;
    finder.InitGrid(0, 10, 2, 2, 0.1f);
    ASSERT_TRUE(finder.HasGrid());
    EXPECT_EQ(2, finder.GetGrid()->Rows());
}

TEST(PathFinderErrors, QueryWithoutGridNamesInitGrid) {
    PathFinder finder;
    std::vector<PathPoint> path;
    try {
        finder.FindPath({0, 0}, {1, 1}, path);
        FAIL();
    } catch (const EPathFinder& e) {
        EXPECT_STREQ("Grid not initialized; call InitGrid first", e.GetText());
        EXPECT_STREQ(e.GetText(), e.what());
    }
}

} // namespace
