#pragma once

#include <cstdint>

// How a stick moves the engine's cursor. A tilt inside the dead zone counts as
// rest; beyond it the speed grows with the square of the tilt, so a small
// tilt aims finely and a full one crosses the screen quickly. The motion comes
// out in whole mouse steps; the fractions of a step are kept from frame to
// frame, so that a slow tilt still moves the cursor.
class DStickMotion {
public:
    struct Tuning {
        float speed = 1000.0f; // cursor pixels per second at full tilt
        float deadZone = 0.2f; // the part of full tilt that still counts as rest, below 1
    };
    // A tilt (each part -1 to 1, right and down positive) or a velocity in cursor pixels per second.
    struct Vector {
        float x = 0.0f;
        float y = 0.0f;
        bool operator==(const Vector&) const = default;
    };
    struct Steps {
        int dx = 0;
        int dy = 0;
        bool operator==(const Steps&) const = default;
    };

    static Vector Velocity(Vector tilt, const Tuning& tuning);
    // The tilt that gives `velocity`; a velocity beyond the top speed gets full tilt its way.
    static Vector Tilt(Vector velocity, const Tuning& tuning);

    // `ms` milliseconds at `velocity`: the whole mouse steps due now.
    Steps Advance(Vector velocity, std::uint32_t ms);
    // A stick at rest leaves no part of a step behind for its next tilt.
    void Rest() { m_fraction = {}; }
    // The part of a mouse step carried to the next frame, each -1 to 1.
    Vector Fraction() const { return m_fraction; }

private:
    Vector m_fraction;
};
