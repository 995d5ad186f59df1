#include "platform/DStickMotion.h"

#include "platform/DMouse.h"

#include <algorithm>
#include <cmath>

DStickMotion::Vector DStickMotion::Velocity(Vector tilt, const Tuning& tuning) {
    const float length = std::hypot(tilt.x, tilt.y);
    if (length <= tuning.deadZone) {
        return {};
    }
    const float beyond = std::min((length - tuning.deadZone) / (1.0f - tuning.deadZone), 1.0f);
    const float speed = tuning.speed * beyond * beyond;
    return {tilt.x / length * speed, tilt.y / length * speed};
}

DStickMotion::Vector DStickMotion::Tilt(Vector velocity, const Tuning& tuning) {
    const float speed = std::hypot(velocity.x, velocity.y);
    if (speed == 0.0f) {
        return {};
    }
    const float beyond = std::sqrt(std::min(speed / tuning.speed, 1.0f));
    const float length = tuning.deadZone + (1.0f - tuning.deadZone) * beyond;
    return {velocity.x / speed * length, velocity.y / speed * length};
}

DStickMotion::Steps DStickMotion::Advance(Vector velocity, std::uint32_t ms) {
    const float perStep = 1000.0f * DMouse::kCursorPixelsPerStep;
    m_fraction.x += velocity.x * static_cast<float>(ms) / perStep;
    m_fraction.y += velocity.y * static_cast<float>(ms) / perStep;
    // Whole steps towards zero, so the fraction keeps the sign of the motion.
    const Steps steps{static_cast<int>(m_fraction.x), static_cast<int>(m_fraction.y)};
    m_fraction.x -= static_cast<float>(steps.dx);
    m_fraction.y -= static_cast<float>(steps.dy);
    return steps;
}
