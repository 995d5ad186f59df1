// Movements of a scene object: moveto, walkto, predefined routes, timed
// rotation and the collision check that every movement step passes.
#include "scene/CSceneObject.h"

#include "mathutil/SaturatingCast.h"
#include "navigation/EPathFinder.h"
#include "navigation/PathFinder.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CModelInstance.h"
#include "resources/CADVException.h"
#include "scene/CPolygonTable.h"
#include "scene/CScene.h"
#include "scene/ISceneHost.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kTwoPi = 2.0f * kPi;
// How far a blocked step may slide sideways: 0.015 × i for i up to 10.
constexpr float kShiftStep = 0.015f;
constexpr int kShiftCount = 10;

float NormaliseAngle(float angle) {
    float a = std::fmod(angle, kTwoPi);
    while (a < 0.0f) {
        a += kTwoPi;
    }
    // A tiny negative angle rounds up to 2π itself.
    return a >= kTwoPi ? 0.0f : a;
}

D3DXVECTOR3 NormaliseRotation(const D3DXVECTOR3& r) {
    return {NormaliseAngle(r.x), NormaliseAngle(r.y), NormaliseAngle(r.z)};
}

float Length(const D3DXVECTOR3& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

float GroundDistance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return std::hypot(a.x - b.x, a.z - b.z);
}

// Milliseconds for `length` units at `speed` ms per unit; a negative speed
// arrives at once instead of wrapping into an endless movement.
std::uint32_t SegmentDuration(float length, std::int32_t speed) {
    // A length that is not a number, or infinity times a speed of 0, arrives at once too.
    const auto ms = SaturatingCast<std::int32_t>(static_cast<double>(length) * speed);
    return static_cast<std::uint32_t>(std::max(ms, 0));
}

} // namespace

// Rotation

void CSceneObject::SetRotation(const D3DXVECTOR3& rotation) {
    if (m_instance == nullptr) {
        throw CADVException("CSceneObject::SetRotation() - Scene Object isn't a spresh.");
    }
    m_rotating = false;
    m_instance->rotation = NormaliseRotation(rotation);
}

void CSceneObject::RotateTo(std::uint32_t durationMs, const D3DXVECTOR3& target, std::string event,
                            std::string parameter) {
    if (m_instance == nullptr) {
        throw CADVException("CSceneObject::RotateTo() - Scene Object isn't a spresh.");
    }
    m_rotationStart = NormaliseRotation(m_instance->rotation);
    m_rotationTarget = NormaliseRotation(target);
    // Always the short way round: each component turns by at most π.
    const D3DXVECTOR3 turn = m_rotationTarget - m_rotationStart + D3DXVECTOR3(kPi, kPi, kPi);
    m_rotationDelta = NormaliseRotation(turn) - D3DXVECTOR3(kPi, kPi, kPi);
    m_rotationMs = durationMs;
    m_rotationEvent = std::move(event);
    m_rotationParameter = std::move(parameter);
    m_rotating = true;
    Restart(m_rotationClock, m_host.Now());
}

void CSceneObject::StepRotation(std::uint32_t tick) {
    if (!m_rotating) {
        return;
    }
    const std::uint32_t effective = Advance(m_rotationClock, tick, false);
    if (effective > m_rotationMs || m_rotationMs == 0) {
        m_rotating = false;
        m_instance->rotation = m_rotationTarget;
        if (!m_rotationEvent.empty()) {
            m_scene.OnEvent(m_rotationEvent, m_rotationParameter);
        }
        return;
    }
    const float part = static_cast<float>(effective) / static_cast<float>(m_rotationMs);
    m_instance->rotation = m_rotationStart + m_rotationDelta * part;
}

void CSceneObject::TurnTowards(const D3DXVECTOR3& from, const D3DXVECTOR3& to) {
    const float dx = to.x - from.x;
    const float dz = to.z - from.z;
    // Lights do not turn, and a segment without length has no direction.
    if (m_instance == nullptr || (dx == 0.0f && dz == 0.0f)) {
        return;
    }
    RotateTo(kAutoRotateMs, {0.0f, 0.0f, std::atan2(dx, dz) + kPi / 2.0f}, {}, {});
}

// Starting movements

void CSceneObject::StartMovement(std::int32_t speed, std::string event, std::string parameter) {
    m_moving = true;
    m_paused = false;
    m_blocked = false;
    m_loop = false;
    m_walking = false;
    m_autorotate = false;
    m_speed = speed;
    m_moveEvent = std::move(event);
    m_moveParameter = std::move(parameter);
    m_targetIndex = 1;
    ++m_movementSerial;
}

void CSceneObject::MoveTo(std::int32_t speed, const D3DXVECTOR3& target, std::string event,
                          std::string parameter, bool collisions, bool retry) {
    m_path = {GetPosition(), target};
    StartMovement(speed, std::move(event), std::move(parameter));
    m_collisions = collisions;
    m_retry = retry;
    StartSegment(m_host.Now());
}

void CSceneObject::WalkTo(std::int32_t speed, const D3DXVECTOR3& target, std::string walkAnimation,
                          std::string event, std::string parameter, bool calculateRoute, bool autorotate,
                          bool collisions, bool retry) {
    const D3DXVECTOR3 start = GetPosition();
    m_path = calculateRoute ? Route(start, target) : std::vector<D3DXVECTOR3>{start, target};
    StartMovement(speed, std::move(event), std::move(parameter));
    m_retry = retry;
    Walk(std::move(walkAnimation), autorotate, collisions, m_host.Now());
}

std::vector<D3DXVECTOR3> CSceneObject::Route(const D3DXVECTOR3& start, const D3DXVECTOR3& target) {
    PathFinder& finder = m_scene.GetPathFinder();
    std::vector<PathPoint> ground;
    // Without a grid (a scene with no walk area) the walk goes straight, and a
    // failing finder only costs the detour, never the game.
    if (!finder.HasGrid()) {
        return {start, target};
    }
    try {
        finder.FindPath({start.x, start.z}, {target.x, target.z}, ground);
    } catch (const EPathFinder&) {
        return {start, target};
    }
    if (ground.size() < 2) {
        return {start, target};
    }
    // Heights follow the straight line from start to target by ground distance,
    // measured against the ground distance to the target, so the walk ends at
    // the target's height.
    const float total = GroundDistance(start, target);
    std::vector<D3DXVECTOR3> path;
    path.reserve(ground.size());
    for (const PathPoint& p : ground) {
        const float along = GroundDistance(start, {p.x, start.y, p.z});
        const float y = total == 0.0f ? start.y : start.y + (target.y - start.y) * along / total;
        path.emplace_back(p.x, y, p.z);
    }
    return path;
}

void CSceneObject::Walk(std::string animation, bool autorotate, bool collisions, std::uint32_t tick) {
    m_walking = true;
    m_walkAnimation = std::move(animation);
    m_autorotate = autorotate;
    m_collisions = collisions;
    StartSegment(tick);
    // Last: the script may start something else in its OnAction.
    OnAction(m_walkAnimation, {}, {});
}

void CSceneObject::StartSegment(std::uint32_t tick) {
    const D3DXVECTOR3 here = GetPosition();
    const D3DXVECTOR3 target = m_path[static_cast<std::size_t>(m_targetIndex)];
    if (m_autorotate) {
        TurnTowards(here, target);
    }
    m_segmentMs = SegmentDuration(Length(target - here), m_speed);
    Restart(m_segmentClock, tick);
}

// Routes

void CSceneObject::SetPredefinedRoute(std::vector<D3DXVECTOR3> points) {
    StopMovement();
    m_path = std::move(points);
}

void CSceneObject::FollowPredefinedRoute(std::int32_t speed, std::int32_t startIndex, bool loop) {
    const auto count = static_cast<std::int32_t>(m_path.size());
    if (startIndex < 0 || startIndex >= count) {
        throw CADVException("CSceneObject::FollowPredefinedRoute() - The route has no point %d.", startIndex);
    }
    Place(m_path[static_cast<std::size_t>(startIndex)]);
    StartMovement(speed, {}, {});
    m_loop = loop;
    m_retry = true;
    m_targetIndex = (startIndex + 1) % count;
    Walk("walk", true, true, m_host.Now());
}

void CSceneObject::PausePredefinedRoute() {
    m_paused = true;
}

void CSceneObject::ContinuePredefinedRoute() {
    m_paused = false;
}

void CSceneObject::StopMovement() {
    const bool walked = m_moving && m_walking;
    m_moving = false;
    m_paused = false;
    m_blocked = false;
    m_walking = false;
    if (walked) {
        NotifyStop();
    }
}

void CSceneObject::NotifyStop() {
    OnAction("stop", {}, {});
}

// The movement step

void CSceneObject::StepMovement(std::uint32_t tick) {
    if (!m_moving) {
        return;
    }
    if (m_blocked && m_retry && tick - m_blockedSince >= kBlockedRetryMs) {
        m_blocked = false;
        if (m_walking) {
            OnAction(m_walkAnimation, {}, {});
        }
    }
    const bool hold = m_paused || m_blocked;
    const std::uint32_t effective = Advance(m_segmentClock, tick, hold);
    if (hold || !m_moving) {
        return;
    }
    if (effective > m_segmentMs) {
        NextTarget(tick);
        return;
    }
    const std::size_t to = static_cast<std::size_t>(m_targetIndex);
    const std::size_t from = to > 0 ? to - 1 : m_path.size() - 1;
    const float part =
        m_segmentMs == 0 ? 1.0f : static_cast<float>(effective) / static_cast<float>(m_segmentMs);
    StepTo(m_path[from] + (m_path[to] - m_path[from]) * part, tick);
}

void CSceneObject::NextTarget(std::uint32_t tick) {
    std::size_t next = static_cast<std::size_t>(m_targetIndex) + 1;
    if (next >= m_path.size()) {
        if (!m_loop) {
            FinishMovement(tick);
            return;
        }
        next = 0;
    }
    m_targetIndex = static_cast<std::int32_t>(next);
    StartSegment(tick);
}

void CSceneObject::FinishMovement(std::uint32_t tick) {
    // Copies: the scripts called below may start the next movement.
    const std::string event = m_moveEvent;
    const std::string parameter = m_moveParameter;
    const std::uint32_t serial = m_movementSerial;
    // A polygon event of the last step may already have stopped the object or
    // sent it elsewhere.
    if (!StepTo(m_path.back(), tick) || !m_moving || serial != m_movementSerial) {
        return;
    }
    // One "stop" per walk, however the walk ends.
    StopMovement();
    if (!event.empty()) {
        m_scene.OnEvent(event, parameter);
    }
}

bool CSceneObject::StepTo(const D3DXVECTOR3& candidate, std::uint32_t tick) {
    D3DXVECTOR3 allowed = candidate;
    if (m_collisions && !ConstrainedStep(candidate, &allowed, nullptr)) {
        Block(tick);
        return false;
    }
    const D3DXVECTOR3 old = GetPosition();
    Place(allowed);
    if (m_freeMove) {
        m_host.Polygons().FireCrossings(
            old.x, old.z, allowed.x, allowed.z,
            [this](const std::string& event, const char* parameter) { m_scene.OnEvent(event, parameter); });
    }
    return true;
}

void CSceneObject::Block(std::uint32_t tick) {
    if (!m_retry) {
        StopMovement();
        return;
    }
    m_blocked = true;
    m_blockedSince = tick;
    if (m_walking) {
        NotifyStop();
    }
}

// The collision check

const CPolygon* CSceneObject::Footprint(const D3DXVECTOR3& position, float yaw) const {
    return PlacedFootprint(position, yaw, nullptr);
}

const CPolygon* CSceneObject::PlacedFootprint(const D3DXVECTOR3& position, float yaw, float* radius) const {
    if (m_instance == nullptr || m_instance->model == nullptr) {
        return nullptr;
    }
    const CPolygon* outline = m_instance->model->CollisionOutline("idle", 0.0f);
    if (outline == nullptr || outline->GetPoints().size() < 3) {
        return nullptr;
    }
    // A copy of the model's outline: the model is shared by every instance.
    m_footprint = *outline;
    m_footprint.Rotate(-yaw);
    m_footprint.Translate(position.x, position.z);
    if (radius != nullptr) {
        const auto& points = outline->GetPoints();
        const auto [minX, maxX] = std::minmax_element(
            points.begin(), points.end(), [](const auto& a, const auto& b) { return a.givenX < b.givenX; });
        const auto [minZ, maxZ] = std::minmax_element(
            points.begin(), points.end(), [](const auto& a, const auto& b) { return a.givenZ < b.givenZ; });
        *radius = std::max(maxX->givenX - minX->givenX, maxZ->givenZ - minZ->givenZ);
    }
    return &m_footprint;
}

bool CSceneObject::CollidesWith(const CSceneObject& other, const D3DXVECTOR3& position) const {
    float radius = 0.0f;
    float otherRadius = 0.0f;
    const D3DXVECTOR3 otherPosition = other.GetPosition();
    const CPolygon* mine = PlacedFootprint(position, Yaw(), &radius);
    const CPolygon* theirs = other.PlacedFootprint(otherPosition, other.Yaw(), &otherRadius);
    if (mine == nullptr || theirs == nullptr ||
        GroundDistance(position, otherPosition) >= radius + otherRadius) {
        return false;
    }
    return mine->Intersects(*theirs);
}

template <class Free> bool CSceneObject::Shift(D3DXVECTOR3& position, bool alongX, Free free) {
    for (int i = 0; i <= kShiftCount; ++i) {
        for (const float sign : {1.0f, -1.0f}) {
            D3DXVECTOR3 moved = position;
            (alongX ? moved.x : moved.z) += sign * kShiftStep * static_cast<float>(i);
            if (free(moved)) {
                position = moved;
                return true;
            }
        }
    }
    return false;
}

bool CSceneObject::ShiftAlongX() const {
    // Slide across the direction the object faces.
    const float yaw = NormaliseAngle(Yaw());
    const bool alongZ =
        yaw < kPi / 4.0f || yaw >= 7.0f * kPi / 4.0f || (yaw >= 3.0f * kPi / 4.0f && yaw < 5.0f * kPi / 4.0f);
    return !alongZ;
}

bool CSceneObject::AvoidObjects(D3DXVECTOR3& position, CSceneObject** blocker) {
    if (blocker != nullptr) {
        *blocker = nullptr;
    }
    const auto firstCollision = [this](const D3DXVECTOR3& at) -> CSceneObject* {
        for (CSceneObject* other : m_scene.Objects()) {
            if (other != this && other->m_walkaround && other->m_instance != nullptr && other->GetVisible() &&
                other->GetEnabled() && CollidesWith(*other, at)) {
                return other;
            }
        }
        return nullptr;
    };
    CSceneObject* first = firstCollision(position);
    if (first == nullptr ||
        Shift(position, ShiftAlongX(), [&](const D3DXVECTOR3& at) { return firstCollision(at) == nullptr; })) {
        return true;
    }
    if (blocker != nullptr) {
        *blocker = first;
    }
    return false;
}

bool CSceneObject::KeepToPolygons(D3DXVECTOR3& position) const {
    const bool alongX = ShiftAlongX();
    for (const auto& named : m_host.Polygons().GetEntries()) {
        const CNamedPolygon& entry = named.second;
        if (!entry.enabled || entry.outline.GetPoints().size() < 3) {
            continue;
        }
        const auto inside = [&entry](const D3DXVECTOR3& at) { return entry.outline.IsInside(at.x, at.z); };
        if (entry.type == EPolygonType::WalkInside && !inside(position)) {
            if (!Shift(position, alongX, inside)) {
                return false;
            }
        } else if (entry.type == EPolygonType::WalkAround && inside(position)) {
            if (!Shift(position, alongX, [&inside](const D3DXVECTOR3& at) { return !inside(at); })) {
                return false;
            }
        }
    }
    return true;
}

bool CSceneObject::ConstrainedStep(const D3DXVECTOR3& candidate, D3DXVECTOR3* allowed,
                                   CSceneObject** blocker) {
    D3DXVECTOR3 position = candidate;
    if (!AvoidObjects(position, blocker) || !KeepToPolygons(position)) {
        return false;
    }
    *allowed = position;
    return true;
}
