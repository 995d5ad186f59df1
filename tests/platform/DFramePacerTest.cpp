#include "platform/DFramePacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using Method = DFramePacer::Method;

TEST(DFramePacer, TakesTheBestSynchronisationTheDriverOffers) {
    struct Case {
        const char* name;
        bool inStep;
        std::vector<int> accepted;
        Method method;
        std::vector<int> asked;
    };
    const Case cases[] = {
        {"free-running", false, {0, 1, -1}, Method::Free, {0}},
        {"adaptive", true, {-1, 1, 0}, Method::Adaptive, {-1}},
        {"plain synchronisation", true, {1, 0}, Method::Synchronised, {-1, 1}},
        {"none: the loop waits, the swap does not", true, {0}, Method::Waiting, {-1, 1, 0}},
    };
    for (const Case& c : cases) {
        std::vector<int> asked;
        const Method method = DFramePacer::Choose(c.inStep, [&](int interval) {
            asked.push_back(interval);
            return std::find(c.accepted.begin(), c.accepted.end(), interval) != c.accepted.end();
        });
        EXPECT_EQ(method, c.method) << c.name;
        EXPECT_EQ(asked, c.asked) << c.name;
    }
}

TEST(DFramePacer, AFrameBeginsOneRefreshAfterTheLastOrAtOnceWhenLate) {
    using namespace std::chrono_literals;
    const DFramePacer::Clock::time_point last{1000ms};
    const auto period = std::chrono::duration_cast<DFramePacer::Clock::duration>(1000ms) / 60;
    struct Case {
        std::chrono::microseconds since;
        DFramePacer::Clock::time_point next;
    };
    const Case cases[] = {
        {0us, last + period},      {5000us, last + period},   {16000us, last + period},
        {16667us, last + 16667us}, {40000us, last + 40000us},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DFramePacer::NextFrame(last, last + c.since, period), c.next) << c.since.count() << " us";
    }
}
