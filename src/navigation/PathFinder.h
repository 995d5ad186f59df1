#pragma once

#include "navigation/PathGeometry.h"
#include "navigation/PathGrid.h"

#include <memory>
#include <span>
#include <vector>

// Finds walking routes in the ground plane: a grid over the walk area whose
// free cells are linked to the neighbours they can see, start and goal linked
// in per query, and an A* search with straight-line costs. Walls and obstacles
// are kept at half the clearance; small obstacles get an extra margin so that
// characters do not graze them.
class PathFinder {
public:
    // How much of the navigation data is current.
    enum Level { kNoGrid = 0, kGridStale = 1, kGridComputed = 2, kEndsLinked = 4 };

    PathFinder();
    ~PathFinder();
    PathFinder(const PathFinder&) = delete;
    PathFinder& operator=(const PathFinder&) = delete;

    // Replaces the grid with an all-free one. Bounds that describe no area
    // (inverted, as when no walk area exists, non-finite, a cell size that is
    // not positive, or more than PathGrid::kMaxCells cells) leave the finder
    // without a grid: HasGrid() is false and FindPath refuses, and the caller
    // moves in a straight line instead.
    void InitGrid(float minX, float maxX, float minZ, float maxZ, float cellSize);
    void ClearNavigation();
    void SetWalkArea(std::span<const PathPoint> points);
    void AddObstacle(std::span<const PathPoint> points);
    void SetClearance(float clearance);
    void SetSmallObstacleRule(float size, float margin);

    // Inflates the obstacles, shrinks the walk area, blocks the cells they
    // cover and links the free cells that see each other. Without a grid only
    // the outlines are rebuilt.
    void Precompute();

    // Fills `output` with the route from start to goal and returns whether the
    // goal was reached; an unreachable goal gives the route to the reachable
    // point nearest to it. Throws EPFGridNotInitialized when there is no grid.
    bool FindPath(PathPoint start, PathPoint goal, std::vector<PathPoint>& output);

    bool HasGrid() const { return m_grid != nullptr; }
    int GetLevel() const { return m_level; }
    const PathGrid* GetGrid() const { return m_grid.get(); }
    const PathPolygon& GetWalkArea() const { return m_walkArea; }
    const PathPolygon& GetShrunkenWalkArea() const { return m_shrunkenWalkArea; }
    std::vector<PathPolygon> GetInflatedObstacles() const;

private:
    struct Obstacle {
        PathPolygon outline;
        PathBounds bounds;
    };

    void LowerLevel(int atMost);
    void InflateObstacles();
    void ShrinkWalkArea();
    void BlockCells();
    void LinkCells();
    void LinkEnds(PathPoint start, PathPoint goal);
    // Links the start or the goal with the free cells around it that it sees;
    // returns how many links it got.
    int LinkToSurroundingCells(int node);
    int NearestFreeCell(PathPoint p) const;
    struct SearchResult {
        bool found;
        // Where the route ends: the goal, or the explored node nearest to it.
        int end;
        // Each explored node's predecessor on its best known route.
        std::vector<int> parents;
    };
    SearchResult Search() const;

    bool InsideWalkArea(PathPoint p) const;
    bool InsideAnObstacle(PathPoint p) const;
    bool CrossesWalls(PathPoint p, PathPoint q) const;
    bool Sees(PathPoint p, PathPoint q) const;

    std::unique_ptr<PathGrid> m_grid;
    int m_level = kNoGrid;
    PathPolygon m_walkArea;
    PathPolygon m_shrunkenWalkArea;
    std::vector<PathPolygon> m_obstacles;
    std::vector<Obstacle> m_inflated;
    float m_clearance = 0.0f;
    float m_smallObstacleSize = 0.0f;
    float m_smallObstacleMargin = 0.0f;
};
