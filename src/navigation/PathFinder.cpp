#include "navigation/PathFinder.h"

#include "navigation/EPathFinder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <queue>

namespace {

constexpr int kNone = -1;

// The cell index of a coordinate: truncated like the integer conversion it
// stands for, but held within [-2, count + 1] so that far-away points neither
// overflow nor change which neighbourhood (possibly an empty one) they get.
int CellIndex(float coordinate, float min, float cellSize, int count) {
    const float v = std::trunc((coordinate - min) / cellSize);
    if (!(v >= -2.0f)) {
        return -2;
    }
    if (!(v <= static_cast<float>(count + 1))) {
        return count + 1;
    }
    return static_cast<int>(v);
}

} // namespace

PathFinder::PathFinder() = default;
PathFinder::~PathFinder() = default;

void PathFinder::LowerLevel(int atMost) {
    m_level = std::min(m_level, atMost);
}

void PathFinder::InitGrid(float minX, float maxX, float minZ, float maxZ, float cellSize) {
    if (!PathGrid::IsUsable(minX, maxX, minZ, maxZ, cellSize)) {
        m_grid.reset();
        m_level = kNoGrid;
        return;
    }
    m_grid = std::make_unique<PathGrid>(minX, maxX, minZ, maxZ, cellSize);
    // A fresh grid has no computed cells, whatever the old one had.
    m_level = kGridStale;
}

void PathFinder::ClearNavigation() {
    m_obstacles.clear();
    m_inflated.clear();
    LowerLevel(kGridStale);
}

void PathFinder::SetWalkArea(std::span<const PathPoint> points) {
    m_walkArea.assign(points.begin(), points.end());
    LowerLevel(kGridStale);
}

void PathFinder::AddObstacle(std::span<const PathPoint> points) {
    m_obstacles.emplace_back(points.begin(), points.end());
    LowerLevel(kGridStale);
}

void PathFinder::SetClearance(float clearance) {
    if (clearance != m_clearance) {
        m_clearance = clearance;
        LowerLevel(kGridStale);
    }
}

void PathFinder::SetSmallObstacleRule(float size, float margin) {
    m_smallObstacleSize = size;
    m_smallObstacleMargin = margin;
    LowerLevel(kGridStale);
}

std::vector<PathPolygon> PathFinder::GetInflatedObstacles() const {
    std::vector<PathPolygon> outlines;
    for (const Obstacle& o : m_inflated) {
        outlines.push_back(o.outline);
    }
    return outlines;
}

void PathFinder::Precompute() {
    InflateObstacles();
    ShrinkWalkArea();
    if (!m_grid) {
        return;
    }
    m_grid->Reset();
    BlockCells();
    LinkCells();
    m_level = kGridComputed;
}

void PathFinder::InflateObstacles() {
    m_inflated.clear();
    for (const PathPolygon& obstacle : m_obstacles) {
        if (obstacle.empty()) {
            continue;
        }
        const PathBounds box = BoundsOf(obstacle);
        const PathPoint centre = box.Centre();
        float grow = m_clearance * 0.5f;
        if (std::max(box.maxX - box.minX, box.maxZ - box.minZ) < m_smallObstacleSize) {
            grow += m_smallObstacleMargin;
        }
        Obstacle inflated;
        for (const PathPoint& p : obstacle) {
            const float d = Distance(p, centre);
            // A point on the centre has no outward direction; it stays put
            // rather than becoming not-a-number.
            const float scale = d > 0.0f ? (d + grow) / d : 1.0f;
            inflated.outline.push_back(
                {centre.x + (p.x - centre.x) * scale, centre.z + (p.z - centre.z) * scale});
        }
        inflated.bounds = BoundsOf(inflated.outline);
        m_inflated.push_back(std::move(inflated));
    }
}

void PathFinder::ShrinkWalkArea() {
    m_shrunkenWalkArea.clear();
    if (m_walkArea.empty()) {
        return;
    }
    const PathPoint centre = BoundsOf(m_walkArea).Centre();
    const float h = m_clearance * 0.5f;
    for (const PathPoint& p : m_walkArea) {
        m_shrunkenWalkArea.push_back(
            {p.x >= centre.x ? p.x - h : p.x + h, p.z >= centre.z ? p.z - h : p.z + h});
    }
}

bool PathFinder::InsideWalkArea(PathPoint p) const {
    // Fewer than three points describe no area and bound nothing.
    return m_shrunkenWalkArea.size() < 3 || IsInsidePath(m_shrunkenWalkArea, p);
}

bool PathFinder::InsideAnObstacle(PathPoint p) const {
    // Outside an outline's z range no edge can count, so skipping it is exact.
    return std::any_of(m_inflated.begin(), m_inflated.end(), [&](const Obstacle& o) {
        return p.z >= o.bounds.minZ && p.z <= o.bounds.maxZ && IsInsidePath(o.outline, p);
    });
}

bool PathFinder::CrossesWalls(PathPoint p, PathPoint q) const {
    const bool hitsObstacle = std::any_of(m_inflated.begin(), m_inflated.end(), [&](const Obstacle& o) {
        return o.bounds.Overlaps(p, q) && CrossesOutline(o.outline, p, q);
    });
    return hitsObstacle || (m_shrunkenWalkArea.size() >= 3 && CrossesOutline(m_shrunkenWalkArea, p, q));
}

bool PathFinder::Sees(PathPoint p, PathPoint q) const {
    return InsideWalkArea(p) && InsideWalkArea(q) && !InsideAnObstacle(p) && !InsideAnObstacle(q) &&
           !CrossesWalls(p, q);
}

void PathFinder::BlockCells() {
    PathGrid& grid = *m_grid;
    for (std::size_t n = 2; n < grid.NodeCount(); ++n) {
        PathGrid::Node& cell = grid[static_cast<int>(n)];
        if (!InsideWalkArea(cell.position) || InsideAnObstacle(cell.position)) {
            cell.state = PathGrid::CellState::Blocked;
        }
    }
}

void PathFinder::LinkCells() {
    PathGrid& grid = *m_grid;
    // Sight is symmetric, so each neighbouring pair is looked at once, from the
    // cell that comes first. Both ends are free, which already means inside the
    // walk area and outside every obstacle; only the walls are left to check.
    static constexpr int kForward[4][2] = {{0, 1}, {1, -1}, {1, 0}, {1, 1}};
    for (int r = 0; r < grid.Rows(); ++r) {
        for (int c = 0; c < grid.Columns(); ++c) {
            const int a = grid.CellNumber(r, c);
            if (grid[a].state != PathGrid::CellState::Free) {
                continue;
            }
            for (const auto& step : kForward) {
                const int nr = r + step[0], nc = c + step[1];
                if (nr >= grid.Rows() || nc < 0 || nc >= grid.Columns()) {
                    continue;
                }
                const int b = grid.CellNumber(nr, nc);
                if (grid[b].state == PathGrid::CellState::Free &&
                    !CrossesWalls(grid[a].position, grid[b].position)) {
                    grid.Link(a, b);
                }
            }
        }
    }
}

int PathFinder::LinkToSurroundingCells(int node) {
    PathGrid& grid = *m_grid;
    const PathPoint p = grid[node].position;
    const int r = CellIndex(p.z, grid.MinZ(), grid.CellSize(), grid.Rows());
    const int c = CellIndex(p.x, grid.MinX(), grid.CellSize(), grid.Columns());
    int links = 0;
    for (int row = std::max(r - 1, 0); row <= std::min(r + 1, grid.Rows() - 1); ++row) {
        for (int column = std::max(c - 1, 0); column <= std::min(c + 1, grid.Columns() - 1); ++column) {
            const int cell = grid.CellNumber(row, column);
            if (grid[cell].state == PathGrid::CellState::Free && Sees(p, grid[cell].position)) {
                grid.Link(node, cell);
                ++links;
            }
        }
    }
    return links;
}

int PathFinder::NearestFreeCell(PathPoint p) const {
    const PathGrid& grid = *m_grid;
    int nearest = kNone;
    float best = 0.0f;
    for (std::size_t n = 2; n < grid.NodeCount(); ++n) {
        const PathGrid::Node& cell = grid[static_cast<int>(n)];
        if (cell.state != PathGrid::CellState::Free) {
            continue;
        }
        const float d = Distance(p, cell.position);
        if (nearest == kNone || d < best) {
            nearest = static_cast<int>(n);
            best = d;
        }
    }
    return nearest;
}

void PathFinder::LinkEnds(PathPoint start, PathPoint goal) {
    PathGrid& grid = *m_grid;
    grid[PathGrid::kStart].position = start;
    grid[PathGrid::kGoal].position = goal;
    const int startLinks = LinkToSurroundingCells(PathGrid::kStart);
    const int goalLinks = LinkToSurroundingCells(PathGrid::kGoal);
    if (startLinks == 0) {
        // Standing outside the walkable cells (off the walk area, or pushed into
        // an obstacle's margin): step onto the nearest cell regardless of sight.
        const int nearest = NearestFreeCell(start);
        if (nearest != kNone) {
            grid.Link(PathGrid::kStart, nearest);
        }
    } else if (goalLinks > 0 && Sees(start, goal)) {
        grid.Link(PathGrid::kStart, PathGrid::kGoal);
    }
    m_level = kEndsLinked;
}

PathFinder::SearchResult PathFinder::Search() const {
    const PathGrid& grid = *m_grid;
    const std::size_t count = grid.NodeCount();
    const PathPoint goal = grid[PathGrid::kGoal].position;

    // The open list is ordered by f, ties by the order entries were added; a
    // replaced entry keeps its place. A heap keyed on (f, place) gives the same
    // picks as scanning the list, with stale heap entries skipped on the way out.
    struct HeapEntry {
        float f;
        std::uint32_t place;
        int node;
        bool operator>(const HeapEntry& o) const { return f != o.f ? f > o.f : place > o.place; }
    };
    constexpr std::uint32_t kClosed = UINT32_MAX;
    std::vector<std::uint32_t> openPlace(count, kClosed);
    std::vector<float> openG(count), openF(count);
    std::vector<int> openParent(count, kNone);
    std::vector<std::uint8_t> inBest(count, 0);
    std::vector<float> bestG(count);
    std::vector<int> bestParent(count, kNone);
    std::priority_queue<HeapEntry, std::vector<HeapEntry>, std::greater<>> open;
    std::uint32_t nextPlace = 0;

    auto put = [&](int node, int parent, float g) {
        const auto n = static_cast<std::size_t>(node);
        if (openPlace[n] == kClosed) {
            openPlace[n] = nextPlace++;
        }
        openG[n] = g;
        openF[n] = g + Distance(grid[node].position, goal);
        openParent[n] = parent;
        open.push({openF[n], openPlace[n], node});
    };

    put(PathGrid::kStart, kNone, 0.0f);
    for (;;) {
        while (!open.empty()) {
            const HeapEntry& top = open.top();
            const auto n = static_cast<std::size_t>(top.node);
            if (openPlace[n] == top.place && openF[n] == top.f) {
                break;
            }
            open.pop();
        }
        if (open.empty()) {
            break;
        }
        const int node = open.top().node;
        const auto n = static_cast<std::size_t>(node);
        open.pop();
        openPlace[n] = kClosed;
        if (node == PathGrid::kGoal) {
            return {true, node, std::move(bestParent)};
        }
        if (!inBest[n]) {
            inBest[n] = 1;
            bestG[n] = openG[n];
            bestParent[n] = openParent[n];
        }
        const float g = openG[n];
        for (const int next : grid[node].neighbours) {
            const auto m = static_cast<std::size_t>(next);
            const float gNext = g + Distance(grid[node].position, grid[next].position);
            if (inBest[m] && bestG[m] <= gNext) {
                continue;
            }
            inBest[m] = 1;
            bestG[m] = gNext;
            bestParent[m] = node;
            if (openPlace[m] == kClosed || openG[m] > gNext) {
                put(next, node, gNext);
            }
        }
    }

    // The goal was never reached: end at the explored node nearest to it.
    int nearest = kNone;
    float best = 0.0f;
    for (std::size_t m = 0; m < count; ++m) {
        if (!inBest[m]) {
            continue;
        }
        const float d = Distance(grid[static_cast<int>(m)].position, goal);
        if (nearest == kNone || d < best) {
            nearest = static_cast<int>(m);
            best = d;
        }
    }
    return {false, nearest, std::move(bestParent)};
}

bool PathFinder::FindPath(PathPoint start, PathPoint goal, std::vector<PathPoint>& output) {
    if (m_grid) {
        m_grid->Unlink(PathGrid::kStart);
        m_grid->Unlink(PathGrid::kGoal);
    }
    LowerLevel(kGridComputed);
    if (m_level == kNoGrid) {
        throw EPFGridNotInitialized();
    }
    if (m_level == kGridStale) {
        Precompute();
    }
    LinkEnds(start, goal);

    const SearchResult result = Search();
    output.clear();
    for (int node = result.end; node != kNone; node = result.parents[static_cast<std::size_t>(node)]) {
        output.push_back((*m_grid)[node].position);
    }
    std::reverse(output.begin(), output.end());
    if (output.size() < 2) {
        output.assign(2, start);
    }
    return result.found;
}
