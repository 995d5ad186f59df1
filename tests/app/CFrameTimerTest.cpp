#include "app/CFrameTimer.h"

#include <gtest/gtest.h>

TEST(CFrameTimer, ElapsedTimeIsClampedTo200Ms) {
    struct Case {
        std::uint32_t start;
        std::uint32_t now;
        std::uint32_t elapsed;
    };
    const Case cases[] = {
        {1000, 1000, 0},
        {1000, 1016, 16},
        {1000, 1200, 200},
        {1000, 1201, 200},
        {1000, 9000, 200},
        {0xFFFFFFF0u, 0x10, 0x20}, // across the tick wrap
        {0xFFFFFF00u, 0x1000, 200},
    };
    for (const auto& c : cases) {
        CFrameTimer timer;
        timer.Start(c.start);
        timer.Clamp(c.now);
        EXPECT_EQ(timer.Elapsed(c.now), c.elapsed) << c.start << " -> " << c.now;
    }
}

TEST(CFrameTimer, LastFrameTickOnlyMovesAtTheEndOfAFrame) {
    CFrameTimer timer;
    timer.Start(100);
    timer.Clamp(150);
    EXPECT_EQ(timer.LastFrameTick(), 100u);
    timer.EndFrame(150);
    EXPECT_EQ(timer.Elapsed(170), 20u);
}

TEST(CFrameTimer, FpsTextOnceASecondAndCyclesResetOnlyWhileShown) {
    CFrameTimer timer;
    timer.Start(0);
    std::uint32_t now = 0;
    for (int i = 0; i < 50; ++i) {
        timer.BeginCycle();
        now += 20;
        EXPECT_FALSE(timer.UpdateFps(now, true)) << "not yet more than a second at " << now;
        timer.EndFrame(now);
    }
    ASSERT_EQ(now, 1000u);
    timer.BeginCycle();
    // While the label is hidden the counter keeps counting.
    EXPECT_FALSE(timer.UpdateFps(1001, false));
    EXPECT_EQ(timer.Cycles(), 51);
    timer.BeginCycle();
    const auto text = timer.UpdateFps(1001, true);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "50 fps - 52 cycles");
    EXPECT_EQ(timer.Cycles(), 0);
    EXPECT_FALSE(timer.UpdateFps(2001, true)) << "exactly a second later is not more than a second";
}
