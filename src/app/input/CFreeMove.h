#pragma once

#include <cstdint>

class CPolygonTable;
class CScene;
class CSceneObject;

// The user-driven movement of the scene's free-move object, once a frame: it
// turns and moves by the speeds its script set from the arrow keys, kept
// inside the walk areas, outside the obstacles and clear of other objects.
class CFreeMove {
public:
    static constexpr float kPi = 3.1415927f;
    // Speeds are per million milliseconds.
    static constexpr float kSpeedScale = 1e-6f;

    // One step of `dt` milliseconds (at most 200). A blocked move sends the
    // mover ("freemove", "collision"); a move across an event polygon fires
    // its "enter" or "leave" at the scene.
    static void Step(CScene& scene, CSceneObject& mover, const CPolygonTable& polygons, std::uint32_t dt);
};
