#include "navigation/PathGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

// Twice the signed area of the triangle o-a-b: which side of o-a the point b lies on.
float Side(PathPoint o, PathPoint a, PathPoint b) {
    return (a.x - o.x) * (b.z - o.z) - (a.z - o.z) * (b.x - o.x);
}

} // namespace

bool PathBounds::Overlaps(PathPoint a, PathPoint b) const {
    return std::max(a.x, b.x) >= minX && std::min(a.x, b.x) <= maxX && std::max(a.z, b.z) >= minZ &&
           std::min(a.z, b.z) <= maxZ;
}

float Distance(PathPoint a, PathPoint b) {
    // Squared in double: as fast as plain float arithmetic and no overflow for
    // points far out in float range, which std::hypot guards at many times the cost.
    const double dx = static_cast<double>(a.x) - b.x;
    const double dz = static_cast<double>(a.z) - b.z;
    return static_cast<float>(std::sqrt(dx * dx + dz * dz));
}

PathBounds BoundsOf(std::span<const PathPoint> polygon) {
    PathBounds b{polygon[0].x, polygon[0].x, polygon[0].z, polygon[0].z};
    for (const PathPoint& p : polygon) {
        b.minX = std::min(b.minX, p.x);
        b.maxX = std::max(b.maxX, p.x);
        b.minZ = std::min(b.minZ, p.z);
        b.maxZ = std::max(b.maxZ, p.z);
    }
    return b;
}

bool IsInsidePath(std::span<const PathPoint> polygon, PathPoint p) {
    bool inside = false;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const PathPoint a = polygon[i];
        const PathPoint b = polygon[(i + 1) % n];
        if ((a.z <= p.z && p.z < b.z) || (b.z <= p.z && p.z < a.z)) {
            const float xe = (p.z - a.z) * (b.x - a.x) / (b.z - a.z) + a.x;
            if (xe > p.x) {
                inside = !inside;
            }
        }
    }
    return inside;
}

bool SegmentsCross(PathPoint p1, PathPoint p2, PathPoint q1, PathPoint q2) {
    const float d1 = Side(q1, q2, p1);
    const float d2 = Side(q1, q2, p2);
    const float d3 = Side(p1, p2, q1);
    const float d4 = Side(p1, p2, q2);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

bool CrossesOutline(std::span<const PathPoint> polygon, PathPoint a, PathPoint b) {
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (SegmentsCross(a, b, polygon[i], polygon[(i + 1) % n])) {
            return true;
        }
    }
    return false;
}
