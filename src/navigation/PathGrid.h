#pragma once

#include "navigation/PathGeometry.h"

#include <cstddef>
#include <vector>

// The regular grid the path finder lays over the walk area, plus two extra
// nodes for the start and the goal of the current query. Grid points sit on
// cell corners, from the minimum corner on.
//
// Nodes are numbered so that their numbers sort like their (row, column)
// addresses: the goal (row -2) is 0, the start (row -1) is 1, then the cells in
// row-major order. Neighbour lists are kept sorted by that number.
class PathGrid {
public:
    enum class CellState { Free = 2, Blocked = 3 };

    static constexpr int kGoalRow = -2;
    static constexpr int kStartRow = -1;
    static constexpr int kGoal = 0;
    static constexpr int kStart = 1;

    struct Node {
        PathPoint position;
        CellState state = CellState::Free;
        int row = 0;
        int column = 0;
        std::vector<int> neighbours;
    };

    // The largest grid that is built; a bigger one (a thin sliver of walk area
    // with a tiny cell size) is refused rather than exhausting memory.
    static constexpr std::size_t kMaxCells = std::size_t{1} << 20;

    // Whether these bounds give a grid at all: finite, not inverted, a positive
    // cell size and no more than kMaxCells cells.
    static bool IsUsable(float minX, float maxX, float minZ, float maxZ, float cellSize);

    // All cells free with their corner positions. The bounds must be usable.
    PathGrid(float minX, float maxX, float minZ, float maxZ, float cellSize);

    int Rows() const { return m_rows; }
    int Columns() const { return m_columns; }
    float CellSize() const { return m_cellSize; }
    float MinX() const { return m_minX; }
    float MinZ() const { return m_minZ; }

    // The node at (row, column): rows -1 and -2 are the start and the goal
    // (column ignored). Anything else off the grid throws EPFRangeError.
    Node& At(int row, int column);
    const Node& At(int row, int column) const;

    // By node number, for the finder's own loops.
    std::size_t NodeCount() const { return m_nodes.size(); }
    static int CellNumber(int row, int column, int columns) { return 2 + row * columns + column; }
    int CellNumber(int row, int column) const { return CellNumber(row, column, m_columns); }
    Node& operator[](int number) { return m_nodes[static_cast<std::size_t>(number)]; }
    const Node& operator[](int number) const { return m_nodes[static_cast<std::size_t>(number)]; }

    // Both ways, keeping the neighbour lists sorted; linking twice is harmless.
    void Link(int a, int b);
    // Removes every link of the node, from both sides.
    void Unlink(int number);
    // Every cell free again at its corner, every link gone.
    void Reset();

private:
    static double CountAlong(float min, float max, float cellSize);
    std::size_t CheckedNumber(int row, int column) const;

    float m_minX;
    float m_minZ;
    float m_cellSize;
    int m_rows;
    int m_columns;
    std::vector<Node> m_nodes;
};
