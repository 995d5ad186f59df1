#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A closed outline in the ground plane (x, z). Each point keeps the coordinates
// it was added with and where the last rotation and translation put it, so a
// footprint can be placed again and again without drifting.
class CPolygon {
public:
    struct Point {
        float givenX;
        float givenZ;
        float placedX;
        float placedZ;
    };

    CPolygon();
    virtual ~CPolygon() = default;
    CPolygon(const CPolygon&) = default;
    CPolygon& operator=(const CPolygon&) = default;

    // With skipDuplicates, a point equal to an existing one to the third decimal
    // (truncated, not rounded) is dropped.
    void AddPoint(float x, float z, bool skipDuplicates);
    // Always starts from the given points: rotations never accumulate.
    void Rotate(float angle);
    void Translate(float dx, float dz);

    const std::vector<Point>& GetPoints() const { return m_points; }
    float GetMinX() const { return m_minX; }
    float GetMaxX() const { return m_maxX; }
    float GetMinZ() const { return m_minZ; }
    float GetMaxZ() const { return m_maxZ; }

    // A point on the left or lower edge is outside, on the right or upper edge
    // inside. Throws CADVException for fewer than 3 points.
    bool IsInside(float x, float z) const;
    // Whether a vertex of the smaller polygon lies inside the larger one; edges
    // that cross with no vertex inside are not seen.
    bool Intersects(const CPolygon& other) const;

    // Count (32-bit) then each given x and z, little-endian.
    void Save(std::vector<std::uint8_t>& out) const;
    // Replaces the points with those saved at `data`; returns the bytes read.
    // Truncated data throws CADVException and leaves the polygon as it was.
    std::size_t Load(std::span<const std::uint8_t> data);

private:
    void ResetBounds();
    void GrowBounds(float x, float z);
    float Extent() const;

    std::vector<Point> m_points;
    float m_minX;
    float m_maxX;
    float m_minZ;
    float m_maxZ;
};
