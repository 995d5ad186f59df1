#pragma once

#include <cmath>
#include <concepts>
#include <limits>

// Numbers from scripts and files turned into whole numbers with a defined
// result where a plain cast would be undefined: truncated toward zero, NaN
// gives 0, and what lies beyond the integer type (infinities included) gives
// its nearest end.
template <std::integral Int> constexpr Int SaturatingCast(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double lowest = static_cast<double>(std::numeric_limits<Int>::lowest());
    constexpr double highest = static_cast<double>(std::numeric_limits<Int>::max());
    if (value <= lowest) {
        return std::numeric_limits<Int>::lowest();
    }
    // highest may round up to 2^n in a double, which the type cannot hold.
    if (value >= highest) {
        return std::numeric_limits<Int>::max();
    }
    return static_cast<Int>(value);
}
