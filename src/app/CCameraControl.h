#pragma once

#include "mathutil/D3DXTypes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class C3DEngine2;

// Scripted camera and zoom changes: either at once or animated over a
// duration with an easing curve, advanced once per frame. A finished camera
// move can raise a scene event so that scripts chain cut-scenes.
class CCameraControl {
public:
    // Easing curves by name: "zoomin" = 1, "zoomout" = 2, anything else linear.
    enum Curve : std::int32_t { Linear = 0, ZoomIn = 1, ZoomOut = 2 };
    using FireEvent = std::function<void(const std::string& event, const std::string& parameter)>;

    explicit CCameraControl(C3DEngine2& renderer) : m_renderer(renderer) {}

    // The "setcamera" definition: posx/posy/posz, atx/aty/atz, speed, event,
    // eventparameter, path.
    void SetCamera(const std::string& definition, std::uint32_t now, const FireEvent& fire);
    // The "setzoom" definition: zoom, speed, path.
    void SetZoom(const std::string& definition, std::uint32_t now);
    // Advances both animations to `now`. Animation time is measured in ticks,
    // not clamped frame time, so a long stall ends a move at its target.
    void Step(std::uint32_t now, const FireEvent& fire);
    void Stop();

    bool CameraMoving() const { return m_move.timing.active; }
    bool ZoomMoving() const { return m_zoom.timing.active; }

    static Curve CurveByName(const std::string& name);

private:
    struct Timing {
        bool active = false;
        Curve curve = Linear;
        std::uint32_t start = 0;
        std::int32_t duration = 0;

        void Begin(Curve curve, std::uint32_t now, std::int32_t duration);
        // The linear fraction in [0, 1) of the duration passed, or nothing
        // once the end is reached (the animation then stops).
        std::optional<float> Progress(std::uint32_t now);
    };

    void PlaceCamera(const D3DXVECTOR3& eye, const D3DXVECTOR3& at);

    C3DEngine2& m_renderer;
    struct {
        Timing timing;
        D3DXVECTOR3 startEye, startAt, targetEye, targetAt;
        std::string event, parameter;
    } m_move;
    struct {
        Timing timing;
        float start = 1.0f;
        float target = 1.0f;
    } m_zoom;
};
