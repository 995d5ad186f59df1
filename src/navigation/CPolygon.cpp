#include "navigation/CPolygon.h"

#include "resources/ByteWriter.h"
#include "resources/CADVException.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

constexpr float kEmptyMin = 1e38f;
constexpr float kEmptyMax = -1e38f;

// The duplicate check compares thousandths truncated towards zero. Done on
// floats so that coordinates beyond the int range compare instead of overflowing.
float Thousandths(float v) {
    return std::trunc(v * 1000.0f);
}

std::uint32_t GetU32(std::span<const std::uint8_t> data, std::size_t at) {
    return static_cast<std::uint32_t>(data[at]) | static_cast<std::uint32_t>(data[at + 1]) << 8 |
           static_cast<std::uint32_t>(data[at + 2]) << 16 | static_cast<std::uint32_t>(data[at + 3]) << 24;
}

} // namespace

CPolygon::CPolygon() {
    ResetBounds();
}

void CPolygon::ResetBounds() {
    m_minX = m_minZ = kEmptyMin;
    m_maxX = m_maxZ = kEmptyMax;
}

void CPolygon::GrowBounds(float x, float z) {
    m_minX = std::min(m_minX, x);
    m_maxX = std::max(m_maxX, x);
    m_minZ = std::min(m_minZ, z);
    m_maxZ = std::max(m_maxZ, z);
}

float CPolygon::Extent() const {
    return std::max(m_maxX - m_minX, m_maxZ - m_minZ);
}

void CPolygon::AddPoint(float x, float z, bool skipDuplicates) {
    if (skipDuplicates) {
        const float tx = Thousandths(x);
        const float tz = Thousandths(z);
        const bool known = std::any_of(m_points.begin(), m_points.end(), [&](const Point& p) {
            return Thousandths(p.givenX) == tx && Thousandths(p.givenZ) == tz;
        });
        if (known) {
            return;
        }
    }
    m_points.push_back({x, z, x, z});
    GrowBounds(x, z);
}

void CPolygon::Rotate(float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    ResetBounds();
    for (Point& p : m_points) {
        p.placedX = c * p.givenX - s * p.givenZ;
        p.placedZ = s * p.givenX + c * p.givenZ;
        GrowBounds(p.placedX, p.placedZ);
    }
}

void CPolygon::Translate(float dx, float dz) {
    for (Point& p : m_points) {
        p.placedX += dx;
        p.placedZ += dz;
    }
    m_minX += dx;
    m_maxX += dx;
    m_minZ += dz;
    m_maxZ += dz;
}

bool CPolygon::IsInside(float x, float z) const {
    if (m_points.size() < 3) {
        throw CADVException("No polygon defined to check if point is inside.");
    }
    if (x < m_minX || x > m_maxX || z < m_minZ || z > m_maxZ) {
        return false;
    }
    // Crossings at or to the right of the point; an edge touching the point's
    // height counts at each end it reaches, which is what puts the right and
    // upper borders inside.
    int crossings = 0;
    const std::size_t n = m_points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point& a = m_points[i];
        const Point& b = m_points[(i + 1) % n];
        const float t = a.placedZ, u = b.placedZ;
        const float v = a.placedX, w = b.placedX;
        if ((z > t && z > u) || (z < t && z < u)) {
            continue;
        }
        if (std::fabs(t - u) >= 0.0001f) {
            if (x <= v + (w - v) * (z - t) / (u - t)) {
                ++crossings;
            }
        } else if (x < v && x < w) {
            ++crossings;
        }
    }
    return crossings % 2 == 1;
}

bool CPolygon::Intersects(const CPolygon& other) const {
    const bool thisIsLarger = Extent() >= other.Extent();
    const CPolygon& larger = thisIsLarger ? *this : other;
    const CPolygon& smaller = thisIsLarger ? other : *this;
    return std::any_of(smaller.m_points.begin(), smaller.m_points.end(),
                       [&](const Point& p) { return larger.IsInside(p.placedX, p.placedZ); });
}

void CPolygon::Save(std::vector<std::uint8_t>& out) const {
    PutU32(out, static_cast<std::uint32_t>(m_points.size()));
    for (const Point& p : m_points) {
        PutU32(out, std::bit_cast<std::uint32_t>(p.givenX));
        PutU32(out, std::bit_cast<std::uint32_t>(p.givenZ));
    }
}

std::size_t CPolygon::Load(std::span<const std::uint8_t> data) {
    if (data.size() < 4) {
        throw CADVException("CPolygon::Load - Polygon data is truncated (no point count)");
    }
    const std::uint32_t count = GetU32(data, 0);
    // Checked before anything changes, so a wild count neither allocates nor
    // leaves a half-loaded outline behind.
    const std::size_t available = (data.size() - 4) / 8;
    if (count > available) {
        throw CADVException("CPolygon::Load - Polygon data is truncated (%u points announced, room for %zu)",
                            count, available);
    }
    m_points.clear();
    ResetBounds();
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = 4 + static_cast<std::size_t>(i) * 8;
        AddPoint(std::bit_cast<float>(GetU32(data, at)), std::bit_cast<float>(GetU32(data, at + 4)), false);
    }
    return 4 + static_cast<std::size_t>(count) * 8;
}
