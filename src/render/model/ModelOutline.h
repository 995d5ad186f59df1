#pragma once

#include "navigation/CPolygon.h"

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

// A model's outline on the ground: the convex hull of its vertices in (x, z).

// A vertex seen from above: x, then z.
using OutlinePoint = std::pair<float, float>;

// Gift wrapping from the left-most point (the first of them), always taking
// the smallest turn, which walks the hull counter-clockwise. Turns are
// compared in truncated thousandths of a radian and points whose truncated
// thousandths agree count as one, so near-collinear points are decided by
// their order; at most `steps` corners are walked.
CPolygon GiftWrapOutline(std::span<const OutlinePoint> points, std::size_t steps);

// The points, in their order, among which gift wrapping can ever choose: exact
// repeats of an earlier point are dropped (they never win a tie), and so are
// points so far inside the hull that no rounding of a turn reaches them.
std::vector<OutlinePoint> OutlineCandidates(std::span<const OutlinePoint> points);

// GiftWrapOutline(points, points.size()), the same corners in the same order,
// walked over the candidates only: a monotone chain finds the hull in
// O(n log n), and only the points near its edges are wrapped.
CPolygon ModelOutline(std::span<const OutlinePoint> points);
