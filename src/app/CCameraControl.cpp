#include "app/CCameraControl.h"

#include "mathutil/SaturatingCast.h"
#include "render/C3DEngine2.h"
#include "resources/CParameterParser.h"

#include <cmath>

namespace {

// Durations are given in milliseconds as numbers and count in whole ones.
std::int32_t Duration(const CParameterParser& parameters) {
    return SaturatingCast<std::int32_t>(parameters.GetFloatDefault("speed", 0.0f));
}

// The curve `fastStart` eases out (square root: fast start, slow end); the
// other named curve eases in (square).
float Ease(float t, CCameraControl::Curve curve, CCameraControl::Curve fastStart) {
    if (curve == CCameraControl::Linear) {
        return t;
    }
    return curve == fastStart ? std::sqrt(t) : t * t;
}

} // namespace

CCameraControl::Curve CCameraControl::CurveByName(const std::string& name) {
    if (name == "zoomin") {
        return ZoomIn;
    }
    if (name == "zoomout") {
        return ZoomOut;
    }
    return Linear;
}

void CCameraControl::Timing::Begin(Curve aCurve, std::uint32_t now, std::int32_t aDuration) {
    active = true;
    curve = aCurve;
    start = now;
    duration = aDuration;
}

std::optional<float> CCameraControl::Timing::Progress(std::uint32_t now) {
    const std::uint32_t passed = now - start;
    if (duration <= 0 || passed >= static_cast<std::uint32_t>(duration)) {
        active = false;
        return std::nullopt;
    }
    return static_cast<float>(passed) / static_cast<float>(duration);
}

void CCameraControl::PlaceCamera(const D3DXVECTOR3& eye, const D3DXVECTOR3& at) {
    m_renderer.SetCamera(eye, at, {0.0f, 1.0f, 0.0f});
}

void CCameraControl::SetCamera(const std::string& definition, std::uint32_t now, const FireEvent& fire) {
    const CParameterParser parameters(definition);
    const auto [x, y, z] = parameters.GetFloat3Default("posx", "posy", "posz", 0.0f, 0.0f, 0.0f);
    const auto [ax, ay, az] = parameters.GetFloat3Default("atx", "aty", "atz", x, y, z + 1.0f);
    const std::int32_t duration = Duration(parameters);
    std::string event = parameters.GetParameterDefault("event", "");
    std::string parameter = parameters.GetParameterDefault("eventparameter", "");
    const Curve curve = CurveByName(parameters.GetParameterDefault("path", "zoomin"));

    m_move.targetEye = {x, y, z};
    m_move.targetAt = {ax, ay, az};
    if (duration != 0) {
        m_move.startEye = m_renderer.CameraEye();
        m_move.startAt = m_renderer.CameraAt();
        m_move.event = std::move(event);
        m_move.parameter = std::move(parameter);
        m_move.timing.Begin(curve, now, duration);
        return;
    }
    m_move.timing.active = false;
    PlaceCamera(m_move.targetEye, m_move.targetAt);
    if (!event.empty()) {
        fire(event, parameter);
    }
}

void CCameraControl::SetZoom(const std::string& definition, std::uint32_t now) {
    const CParameterParser parameters(definition);
    const float target = parameters.GetFloatDefault("zoom", 1.0f);
    const std::int32_t duration = Duration(parameters);
    const float current = m_renderer.Zoom();
    const Curve curve =
        CurveByName(parameters.GetParameterDefault("path", target > current ? "zoomin" : "zoomout"));

    if (duration != 0) {
        m_zoom.start = current;
        m_zoom.target = target;
        m_zoom.timing.Begin(curve, now, duration);
        return;
    }
    m_zoom.timing.active = false;
    m_renderer.SetZoom(target);
}

void CCameraControl::Step(std::uint32_t now, const FireEvent& fire) {
    if (m_move.timing.active) {
        if (const auto progress = m_move.timing.Progress(now)) {
            const float t = Ease(*progress, m_move.timing.curve, ZoomIn);
            PlaceCamera(m_move.startEye + t * (m_move.targetEye - m_move.startEye),
                        m_move.startAt + t * (m_move.targetAt - m_move.startAt));
        } else {
            PlaceCamera(m_move.targetEye, m_move.targetAt);
            if (!m_move.event.empty()) {
                fire(m_move.event, m_move.parameter);
            }
        }
    }
    if (m_zoom.timing.active) {
        if (const auto progress = m_zoom.timing.Progress(now)) {
            // The same names ease a zoom the other way round.
            const float t = Ease(*progress, m_zoom.timing.curve, ZoomOut);
            m_renderer.SetZoom(m_zoom.start + t * (m_zoom.target - m_zoom.start));
        } else {
            m_renderer.SetZoom(m_zoom.target);
        }
    }
}

void CCameraControl::Stop() {
    m_move.timing.active = false;
    m_zoom.timing.active = false;
}
