#include "platform/DClock.h"

#include <gtest/gtest.h>
#include <thread>

TEST(DClock, ManualClockMovesOnlyWhenTold) {
    DClock clock(DClock::Mode::Manual, 0xFFFFFFF0u);
    EXPECT_TRUE(clock.IsManual());
    EXPECT_EQ(clock.Now(), 0xFFFFFFF0u);
    clock.Advance(0x20);
    EXPECT_EQ(clock.Now(), 0x10u) << "ticks wrap like a 32-bit counter";
    clock.Set(500);
    EXPECT_EQ(clock.Now(), 500u);
}

TEST(DClock, RealClockIsMonotonic) {
    DClock clock;
    const std::uint32_t first = clock.Now();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::uint32_t elapsed = clock.Now() - first;
    EXPECT_GE(elapsed, 20u);
    EXPECT_LT(elapsed, 5000u);
}
