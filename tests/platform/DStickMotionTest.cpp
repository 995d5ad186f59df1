#include "platform/DStickMotion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Vector = DStickMotion::Vector;

const DStickMotion::Tuning kTuning{.speed = 1000.0f, .deadZone = 0.2f};

float Speed(Vector velocity) {
    return std::hypot(velocity.x, velocity.y);
}

} // namespace

// The dead zone is round: what counts is how far the stick leans, whichever way.
TEST(DStickMotion, ATiltInsideTheDeadZoneIsRest) {
    const Vector resting[] = {{0, 0}, {0.2f, 0}, {0, -0.2f}, {0.14f, 0.14f}, {-0.1f, 0.17f}};
    for (const Vector tilt : resting) {
        EXPECT_EQ(DStickMotion::Velocity(tilt, kTuning), Vector{}) << tilt.x << ", " << tilt.y;
    }
    EXPECT_GT(Speed(DStickMotion::Velocity({0.15f, 0.15f}, kTuning)), 0.0f)
        << "0.21 of full tilt, diagonally";
}

TEST(DStickMotion, TheSpeedGrowsWithTheSquareOfTheTiltBeyondTheDeadZone) {
    struct Case {
        Vector tilt;
        float speed;
    };
    // Beyond the dead zone: a quarter of the way gives a sixteenth of the top speed, half a quarter.
    const Case cases[] = {
        {{0.4f, 0}, 1000.0f / 16}, {{0, 0.6f}, 1000.0f / 4}, {{-0.8f, 0}, 1000.0f * 9 / 16},
        {{0, -1}, 1000.0f},        {{0.6f, 0.8f}, 1000.0f},  {{1, 1}, 1000.0f},
    };
    for (const Case& c : cases) {
        const Vector velocity = DStickMotion::Velocity(c.tilt, kTuning);
        EXPECT_NEAR(Speed(velocity), c.speed, 0.01f) << c.tilt.x << ", " << c.tilt.y;
        // The cursor goes the way the stick leans.
        EXPECT_NEAR(velocity.x * c.tilt.y, velocity.y * c.tilt.x, 0.01f);
        EXPECT_GE(velocity.x * c.tilt.x + velocity.y * c.tilt.y, 0.0f);
    }
    const DStickMotion::Tuning slow{.speed = 300.0f, .deadZone = 0.0f};
    EXPECT_NEAR(Speed(DStickMotion::Velocity({0.5f, 0}, slow)), 75.0f, 0.01f);
}

TEST(DStickMotion, TiltGivesTheVelocityAskedForUpToFullTilt) {
    const Vector velocities[] = {{1, 0}, {0, -62.5f}, {300, 400}, {-999, 0.5f}};
    for (const Vector velocity : velocities) {
        const Vector back = DStickMotion::Velocity(DStickMotion::Tilt(velocity, kTuning), kTuning);
        EXPECT_NEAR(back.x, velocity.x, 0.05f);
        EXPECT_NEAR(back.y, velocity.y, 0.05f);
    }
    EXPECT_EQ(DStickMotion::Tilt({}, kTuning), Vector{});
    const Vector full = DStickMotion::Tilt({0, 5000}, kTuning);
    EXPECT_NEAR(full.x, 0.0f, 1e-6f);
    EXPECT_NEAR(full.y, 1.0f, 1e-6f);
}

// A cursor step is two pixels: 50 pixels a second is a quarter of a step in
// a 10 ms frame, so a step comes every fourth frame.
TEST(DStickMotion, FractionsOfAStepAddUpFromFrameToFrame) {
    DStickMotion stick;
    std::string steps;
    for (int frame = 0; frame < 10; ++frame) {
        const DStickMotion::Steps moved = stick.Advance({50, -50}, 10);
        EXPECT_EQ(moved.dy, -moved.dx) << "frame " << frame;
        steps += std::to_string(moved.dx);
    }
    EXPECT_EQ(steps, "0001000100");
    EXPECT_EQ(stick.Fraction(), (Vector{0.5f, -0.5f}));

    stick.Rest();
    EXPECT_EQ(stick.Fraction(), Vector{});
    EXPECT_EQ(stick.Advance({150, 0}, 10), (DStickMotion::Steps{0, 0}));
    stick.Rest();
    EXPECT_EQ(stick.Advance({150, 0}, 10), (DStickMotion::Steps{0, 0}))
        << "a stick at rest keeps no fraction";
    EXPECT_EQ(stick.Advance({1000, 500}, 100), (DStickMotion::Steps{50, 25}));
}
