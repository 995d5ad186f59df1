#include "render/model/ModelOutline.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <numeric>

namespace {

// Points are told apart by their thousandths, truncated, as the outline's own
// duplicate check does.
bool SamePoint(const OutlinePoint& a, const OutlinePoint& b) {
    return std::trunc(a.first * 1000.0f) == std::trunc(b.first * 1000.0f) &&
           std::trunc(a.second * 1000.0f) == std::trunc(b.second * 1000.0f);
}

struct Vec {
    double x;
    double z;
};

Vec operator-(const Vec& a, const Vec& b) {
    return {a.x - b.x, a.z - b.z};
}

double Cross(const Vec& a, const Vec& b) {
    return a.x * b.z - a.z * b.x;
}

// Andrew's monotone chain: the hull's corners counter-clockwise, collinear points left out.
std::vector<Vec> Hull(std::vector<Vec> points) {
    std::sort(points.begin(), points.end(),
              [](const Vec& a, const Vec& b) { return a.x < b.x || (a.x == b.x && a.z < b.z); });
    if (points.size() < 3) {
        return points;
    }
    std::vector<Vec> hull(2 * points.size());
    std::size_t k = 0;
    const auto add = [&](const Vec& p, std::size_t floor) {
        while (k >= floor && Cross(hull[k - 1] - hull[k - 2], p - hull[k - 2]) <= 0) {
            --k;
        }
        hull[k++] = p;
    };
    for (const Vec& p : points) {
        add(p, 2);
    }
    const std::size_t lower = k + 1;
    for (std::size_t i = points.size() - 1; i-- > 0;) {
        add(points[i], lower);
    }
    hull.resize(k - 1);
    return hull;
}

// How far inside the hull a point must lie before gift wrapping can never
// choose it: a turn rounded to the same thousandth as the best one reaches
// 0.002 radians past it, which is at most 0.002 of the hull's size away from
// the hull's edge, and points within a thousandth or so of the current corner
// may turn any way (they are near the edge already). Five times that is kept.
double Margin(const std::vector<Vec>& hull) {
    double minX = hull[0].x, maxX = hull[0].x, minZ = hull[0].z, maxZ = hull[0].z;
    for (const Vec& v : hull) {
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        minZ = std::min(minZ, v.z);
        maxZ = std::max(maxZ, v.z);
    }
    return 0.01 * std::hypot(maxX - minX, maxZ - minZ) + 0.01;
}

// Whether `p` lies inside the hull shrunk towards `centre` by `shrink`, tested
// as p moved out by the inverse on the hull itself: the hull's corner angles
// about the centre rise, so a binary search finds the wedge; the wedge's edge
// and both neighbours are tested, so an angle rounded into the next wedge
// never lets a point through.
bool DeepInside(const Vec& p, const Vec& centre, double shrink, const std::vector<Vec>& hull,
                const std::vector<double>& angles) {
    const Vec moved{centre.x + (p.x - centre.x) / shrink, centre.z + (p.z - centre.z) / shrink};
    const double angle = std::atan2(moved.z - centre.z, moved.x - centre.x);
    const std::size_t n = hull.size();
    const auto above = std::upper_bound(angles.begin(), angles.end(), angle) - angles.begin();
    const std::size_t wedge = (static_cast<std::size_t>(above) + n - 1) % n;
    for (std::size_t j : {wedge + n - 1, wedge, wedge + 1}) {
        const Vec& a = hull[j % n];
        const Vec& b = hull[(j + 1) % n];
        if (Cross(b - a, moved - a) <= 0) {
            return false;
        }
    }
    return true;
}

} // namespace

CPolygon GiftWrapOutline(std::span<const OutlinePoint> points, std::size_t steps) {
    CPolygon outline;
    if (points.empty()) {
        return outline;
    }
    const OutlinePoint start = *std::min_element(
        points.begin(), points.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    outline.AddPoint(start.first, start.second, true);
    OutlinePoint current = start;
    float direction = 0.0f;
    // A hull has at most one corner per vertex; the bound also ends walks that
    // rounding keeps from closing.
    for (std::size_t step = 0; step < steps; ++step) {
        float best = std::numbers::pi_v<float>;
        const OutlinePoint* next = nullptr;
        for (const OutlinePoint& p : points) {
            if (SamePoint(p, current)) {
                continue;
            }
            const float dx = p.first - current.first;
            const float dz = p.second - current.second;
            const float angle = std::fabs(dx) < 0.0001f ? std::copysign(std::numbers::pi_v<float> / 2, dz)
                                                        : std::atan2(dz, dx);
            float relative = angle - direction;
            if (relative < -std::numbers::pi_v<float>) {
                relative += 2 * std::numbers::pi_v<float>;
            }
            if (relative >= -std::numbers::pi_v<float> / 2 &&
                std::trunc(relative * 1000.0f) < std::trunc(best * 1000.0f)) {
                best = relative;
                next = &p;
            }
        }
        if (!next || SamePoint(*next, start)) {
            break;
        }
        outline.AddPoint(next->first, next->second, true);
        direction += best;
        current = *next;
    }
    return outline;
}

std::vector<OutlinePoint> OutlineCandidates(std::span<const OutlinePoint> points) {
    // Repeats compare bit for bit: 0 and -0 can turn differently.
    const auto bits = [&points](std::size_t i) {
        return std::pair(std::bit_cast<std::uint32_t>(points[i].first),
                         std::bit_cast<std::uint32_t>(points[i].second));
    };
    std::vector<std::size_t> order(points.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&bits](std::size_t a, std::size_t b) { return bits(a) < bits(b); });
    std::vector<bool> keep(points.size(), false);
    bool finite = true;
    std::vector<Vec> unique;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && bits(order[k]) == bits(order[k - 1])) {
            continue;
        }
        const OutlinePoint& p = points[order[k]];
        keep[order[k]] = true;
        finite = finite && std::isfinite(p.first) && std::isfinite(p.second);
        unique.push_back({p.first, p.second});
    }
    const std::vector<Vec> hull = finite ? Hull(std::move(unique)) : std::vector<Vec>{};
    if (hull.size() >= 3) {
        Vec centre{0, 0};
        for (const Vec& v : hull) {
            centre = {centre.x + v.x / static_cast<double>(hull.size()),
                      centre.z + v.z / static_cast<double>(hull.size())};
        }
        double nearest = INFINITY;
        for (std::size_t i = 0; i < hull.size(); ++i) {
            const Vec edge = hull[(i + 1) % hull.size()] - hull[i];
            nearest = std::min(nearest, Cross(edge, centre - hull[i]) / std::hypot(edge.x, edge.z));
        }
        const double margin = Margin(hull);
        // A hull too thin to hold the margin keeps every point.
        if (nearest > 2 * margin) {
            std::vector<Vec> corners = hull;
            std::vector<double> angles;
            const auto first =
                std::min_element(hull.begin(), hull.end(), [&centre](const Vec& a, const Vec& b) {
                    return std::atan2(a.z - centre.z, a.x - centre.x) <
                           std::atan2(b.z - centre.z, b.x - centre.x);
                });
            std::rotate(corners.begin(), corners.begin() + (first - hull.begin()), corners.end());
            for (const Vec& v : corners) {
                angles.push_back(std::atan2(v.z - centre.z, v.x - centre.x));
            }
            const double shrink = 1 - margin / nearest;
            for (std::size_t i = 0; i < points.size(); ++i) {
                keep[i] = keep[i] &&
                          !DeepInside({points[i].first, points[i].second}, centre, shrink, corners, angles);
            }
        }
    }
    std::vector<OutlinePoint> candidates;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (keep[i]) {
            candidates.push_back(points[i]);
        }
    }
    return candidates;
}

CPolygon ModelOutline(std::span<const OutlinePoint> points) {
    return GiftWrapOutline(OutlineCandidates(points), points.size());
}
