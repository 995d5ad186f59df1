#pragma once

#include <span>
#include <vector>

// Plane geometry of the path finder. Its inside test has its own boundary rule
// (half-open in z, strictly right in x) and must not be mixed with CPolygon's.

struct PathPoint {
    float x = 0.0f;
    float z = 0.0f;

    bool operator==(const PathPoint&) const = default;
};

using PathPolygon = std::vector<PathPoint>;

struct PathBounds {
    float minX;
    float maxX;
    float minZ;
    float maxZ;

    PathPoint Centre() const { return {(minX + maxX) * 0.5f, (minZ + maxZ) * 0.5f}; }
    bool Contains(PathPoint p) const { return p.x >= minX && p.x <= maxX && p.z >= minZ && p.z <= maxZ; }
    // Whether the box around the segment a-b meets this one.
    bool Overlaps(PathPoint a, PathPoint b) const;
};

float Distance(PathPoint a, PathPoint b);
// Bounds of a polygon with at least one point.
PathBounds BoundsOf(std::span<const PathPoint> polygon);
// Even-odd ray cast along +x; an empty polygon contains nothing.
bool IsInsidePath(std::span<const PathPoint> polygon, PathPoint p);
// Strict crossing: each segment's ends lie strictly on opposite sides of the
// other. Touching, shared ends and collinear overlap do not count.
bool SegmentsCross(PathPoint p1, PathPoint p2, PathPoint q1, PathPoint q2);
// Whether segment a-b crosses any edge of the closed polygon.
bool CrossesOutline(std::span<const PathPoint> polygon, PathPoint a, PathPoint b);
