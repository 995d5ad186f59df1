#include "mathutil/SaturatingCast.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(SaturatingCast, EveryNumberGivesADefinedWholeNumber) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr std::int32_t top = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t bottom = std::numeric_limits<std::int32_t>::lowest();
    const struct {
        double value;
        std::int32_t asInt32;
        std::uint32_t asUint32;
    } cases[] = {
        {2.9, 2, 2},
        {-2.9, -2, 0},
        {0.0, 0, 0},
        {nan, 0, 0},
        {inf, top, std::numeric_limits<std::uint32_t>::max()},
        {-inf, bottom, 0},
        {1e39, top, std::numeric_limits<std::uint32_t>::max()},
        {-1e20, bottom, 0},
        {2147483647.0, top, 2147483647u},
        {2147483648.0, top, 2147483648u},
        {-2147483648.0, bottom, 0},
        {4294967296.0, top, std::numeric_limits<std::uint32_t>::max()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SaturatingCast<std::int32_t>(c.value), c.asInt32) << c.value;
        EXPECT_EQ(SaturatingCast<std::uint32_t>(c.value), c.asUint32) << c.value;
    }
}
