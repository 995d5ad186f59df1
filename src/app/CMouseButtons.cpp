#include "app/CMouseButtons.h"

std::vector<CMouseButtons::Edge> CMouseButtons::Edges() const {
    std::vector<Edge> edges;
    if (m_left && !m_prevLeft) {
        edges.push_back(Edge::LeftPressed);
    }
    if (!m_left && m_prevLeft) {
        edges.push_back(Edge::LeftReleased);
    }
    if (m_right && !m_prevRight) {
        edges.push_back(Edge::RightPressed);
    }
    if (!m_right && m_prevRight) {
        edges.push_back(Edge::RightReleased);
    }
    return edges;
}
