#include "navigation/PathGrid.h"

#include "navigation/EPathFinder.h"

#include <algorithm>
#include <cmath>

double PathGrid::CountAlong(float min, float max, float cellSize) {
    return std::trunc(static_cast<double>((max - min) / cellSize + 2.0f));
}

bool PathGrid::IsUsable(float minX, float maxX, float minZ, float maxZ, float cellSize) {
    const bool finite = std::isfinite(minX) && std::isfinite(maxX) && std::isfinite(minZ) &&
                        std::isfinite(maxZ) && std::isfinite(cellSize);
    if (!finite || !(cellSize > 0.0f) || maxX < minX || maxZ < minZ) {
        return false;
    }
    const double columns = CountAlong(minX, maxX, cellSize);
    const double rows = CountAlong(minZ, maxZ, cellSize);
    return std::isfinite(columns * rows) && columns * rows <= static_cast<double>(kMaxCells);
}

PathGrid::PathGrid(float minX, float maxX, float minZ, float maxZ, float cellSize)
    : m_minX(minX), m_minZ(minZ), m_cellSize(cellSize),
      m_rows(static_cast<int>(CountAlong(minZ, maxZ, cellSize))),
      m_columns(static_cast<int>(CountAlong(minX, maxX, cellSize))),
      m_nodes(2 + static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(m_columns)) {
    m_nodes[kGoal].row = kGoalRow;
    m_nodes[kStart].row = kStartRow;
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_columns; ++c) {
            Node& cell = m_nodes[static_cast<std::size_t>(CellNumber(r, c))];
            cell.row = r;
            cell.column = c;
        }
    }
    Reset();
}

void PathGrid::Reset() {
    for (Node& node : m_nodes) {
        node.neighbours.clear();
        if (node.row >= 0) {
            node.state = CellState::Free;
            node.position = {m_minX + static_cast<float>(node.column) * m_cellSize,
                             m_minZ + static_cast<float>(node.row) * m_cellSize};
        }
    }
}

std::size_t PathGrid::CheckedNumber(int row, int column) const {
    if (row == kGoalRow) {
        return kGoal;
    }
    if (row == kStartRow) {
        return kStart;
    }
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns) {
        throw EPFRangeError();
    }
    return static_cast<std::size_t>(CellNumber(row, column));
}

PathGrid::Node& PathGrid::At(int row, int column) {
    return m_nodes[CheckedNumber(row, column)];
}

const PathGrid::Node& PathGrid::At(int row, int column) const {
    return m_nodes[CheckedNumber(row, column)];
}

void PathGrid::Link(int a, int b) {
    auto insert = [](std::vector<int>& list, int value) {
        const auto at = std::lower_bound(list.begin(), list.end(), value);
        if (at == list.end() || *at != value) {
            list.insert(at, value);
        }
    };
    insert((*this)[a].neighbours, b);
    insert((*this)[b].neighbours, a);
}

void PathGrid::Unlink(int number) {
    std::vector<int>& own = (*this)[number].neighbours;
    for (int other : own) {
        std::vector<int>& theirs = (*this)[other].neighbours;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), number), theirs.end());
    }
    own.clear();
}
