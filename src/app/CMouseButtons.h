#pragma once

#include <vector>

// Press and release edges of the two mouse buttons between the game's frames.
// The previous states only move on when a frame completes, so a frame that
// ends early (no scene) sees a held button as pressed again next time.
class CMouseButtons {
public:
    enum class Edge { LeftPressed, LeftReleased, RightPressed, RightReleased };

    void Set(bool left, bool right) {
        m_left = left;
        m_right = right;
    }
    bool Left() const { return m_left; }
    bool Right() const { return m_right; }

    // The edges since the last Commit, in the order the game handles them.
    std::vector<Edge> Edges() const;
    void Commit() {
        m_prevLeft = m_left;
        m_prevRight = m_right;
    }

private:
    bool m_left = false;
    bool m_right = false;
    bool m_prevLeft = false;
    bool m_prevRight = false;
};
