#pragma once

#include "mathutil/D3DXTypes.h"
#include "navigation/CPolygon.h"
#include "script/CDispatchBase.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CModelInstance;
class CScene;
class CScriptEngine;
class ISceneHost;
struct CEngineLight;

// The script object behind one model instance or light of a scene, with the
// behaviours that advance once per frame: the animation clock, movement
// (moveto, walkto, predefined routes) with collision waiting, and timed
// rotation. Scripts reach it by name through "scene", as "object" in its own
// script, and through sortedobject. The scene owns it (reference count 1) and
// releases it; scripts only hold it weakly.
class CSceneObject : public CDispatchBase {
public:
    // Milliseconds of one timed turn started by a walk or a route.
    static constexpr std::uint32_t kAutoRotateMs = 250;
    // How long a blocked walk waits before it tries again.
    static constexpr std::uint32_t kBlockedRetryMs = 3000;

    // The member table scripts see, in DISPID order; read-only, so that tools
    // and tests can list what scripts may use.
    static std::span<const DispatchMember> ScriptMembers();

    // A clock that can stand still: effective time = elapsed - paused time.
    struct Clock {
        std::uint32_t elapsed = 0;
        std::uint32_t effective = 0;
        std::uint32_t start = 0;
        std::uint32_t pausedTime = 0;
        bool paused = false;
    };

    CSceneObject(ISceneHost& host, CScene& scene, CModelInstance* instance);
    CSceneObject(ISceneHost& host, CScene& scene, CEngineLight* light);
    ~CSceneObject() override;

    // Identity
    const std::u16string& Name() const { return m_name; }
    void SetName(std::u16string name) { m_name = std::move(name); }
    const std::string& Group() const { return m_group; }
    void SetGroup(std::string group) { m_group = std::move(group); }
    const std::string& PickName() const { return m_pickName; }
    void SetPickName(std::string name) { m_pickName = std::move(name); }
    const std::vector<std::string>& ContextList() const { return m_context; }
    // Split at every comma, empty entries kept, nothing trimmed.
    void SetContext(const std::string& commaList);
    bool Pickable() const { return m_pickable; }
    void SetPickable(bool on);
    bool Walkaround() const { return m_walkaround; }
    void SetWalkaround(bool on) { m_walkaround = on; }
    bool Mobile() const { return m_mobile; }
    void SetMobile(bool on) { m_mobile = on; }

    CModelInstance* Instance() const { return m_instance; }
    CEngineLight* Light() const { return m_light; }
    bool IsLight() const { return m_light != nullptr; }
    CScriptEngine* Script() const { return m_script.get(); }

    // Gives the object its own script engine with "object" published, runs
    // "data\scripts\" + file and then "OnInit();".
    void SetScript(const std::string& file);

    // Animation (model objects only; lights throw the "isn't a spresh" texts)
    void SetAnimation(const std::string& name);
    std::string GetAnimation() const;
    void SetAnimationSpeed(std::uint32_t cycleMs);
    std::uint32_t AnimationSpeed() const;
    void SetAnimationDirection(bool forward);
    bool AnimationForward() const;
    void SetAnimationTimes(std::int32_t repeats);
    std::int32_t AnimationTimes() const;

    void SetVisible(bool on);
    bool GetVisible() const;
    void SetEnabled(bool on);
    bool GetEnabled() const;

    // The world position (parent added) or the light's position.
    D3DXVECTOR3 GetPosition() const;
    // Sets the own position (relative to a parent when there is one).
    void SetPosition(const D3DXVECTOR3& position);
    // Sets the world position: the own position is relative to the parent.
    void Place(const D3DXVECTOR3& position);
    // Ground point of polygon tests: x and z of GetPosition.
    float GroundX() const { return GetPosition().x; }
    float GroundZ() const { return GetPosition().z; }

    // Rotation (roll, pitch, yaw) of a model object; ends a running rotateto.
    void SetRotation(const D3DXVECTOR3& rotation);

    // Timed movements
    void RotateTo(std::uint32_t durationMs, const D3DXVECTOR3& target, std::string event,
                  std::string parameter);
    void MoveTo(std::int32_t speed, const D3DXVECTOR3& target, std::string event, std::string parameter,
                bool collisions, bool retry);
    void WalkTo(std::int32_t speed, const D3DXVECTOR3& target, std::string walkAnimation, std::string event,
                std::string parameter, bool calculateRoute, bool autorotate, bool collisions, bool retry);
    void SetPredefinedRoute(std::vector<D3DXVECTOR3> points);
    void FollowPredefinedRoute(std::int32_t speed, std::int32_t startIndex, bool loop);
    void PausePredefinedRoute();
    void ContinuePredefinedRoute();
    // Ends any movement at once, without its end event.
    void StopMovement();
    bool IsMoving() const { return m_moving; }
    bool IsBlocked() const { return m_blocked; }
    bool IsRotating() const { return m_rotating; }

    // The collision check of movements and of the user-driven free move:
    // the candidate position, shifted sideways when another walkaround object
    // or a walk polygon is in the way, or false when the step is blocked
    // (*blocker then names the object, null for a polygon).
    bool ConstrainedStep(const D3DXVECTOR3& candidate, D3DXVECTOR3* allowed, CSceneObject** blocker);
    // Its two halves, each shifting `position` sideways (±0.015 × i for
    // i = 0 … 10, across the way the object faces) until it is free: of the
    // other walkaround objects (*blocker names the first one in the way when
    // none is found), and inside the enabled walk areas and outside the
    // obstacles, in table order. False when no shift frees it.
    bool AvoidObjects(D3DXVECTOR3& position, CSceneObject** blocker);
    bool KeepToPolygons(D3DXVECTOR3& position) const;
    // Whether this object, placed at its position, touches `other` at its.
    bool CollidesWith(const CSceneObject& other, const D3DXVECTOR3& position) const;
    // The placed footprint of the model's "idle" outline, or null without one.
    const CPolygon* Footprint(const D3DXVECTOR3& position, float yaw) const;

    // Callbacks into the object's own script; both do nothing without one.
    bool OnEvent(const std::string& event, const std::string& parameter);
    void OnAction(const std::string& action, std::string event, std::string parameter);

    bool FreeMove() const { return m_freeMove; }
    void SetFreeMove(bool on);
    float FreeMoveSpeed() const { return m_freeMoveSpeed; }
    void SetFreeMoveSpeed(float speed) { m_freeMoveSpeed = speed; }
    float FreeRotateSpeed() const { return m_freeRotateSpeed; }
    void SetFreeRotateSpeed(float speed) { m_freeRotateSpeed = speed; }

    // The per-frame step: the object's queued script events, then animation,
    // movement and rotation at `tick`.
    void Update(std::uint32_t tick);

    // The object's own savegame record (before the instance or light record).
    void Save(std::vector<std::uint8_t>& out) const;
    // Reads a record written by Save and returns its size; clocks continue from
    // the host's now. A damaged record throws CADVException and changes nothing.
    std::size_t Load(std::span<const std::uint8_t> data);

    // Test access to the clocks.
    const Clock& AnimationClock() const { return m_animationClock; }

protected:
    HRESULT InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                         Variant* result) override;

private:
    // Every field of the savegame record, read completely before any is applied.
    struct Record;

    // The effective time of `clock` at `tick`; a held clock keeps its effective
    // time by letting the paused time grow.
    static std::uint32_t Advance(Clock& clock, std::uint32_t tick, bool hold);
    static void Restart(Clock& clock, std::uint32_t tick);

    void StepAnimation(std::uint32_t tick);
    void StepMovement(std::uint32_t tick);
    void StepRotation(std::uint32_t tick);
    void StartMovement(std::int32_t speed, std::string event, std::string parameter);
    // The walking part of WalkTo and routes: flags, the first segment and the
    // walk animation through OnAction.
    void Walk(std::string animation, bool autorotate, bool collisions, std::uint32_t tick);
    // The ground route of a walk with heights added, or the straight line.
    std::vector<D3DXVECTOR3> Route(const D3DXVECTOR3& start, const D3DXVECTOR3& target);
    // Aims at the current target from where the object stands.
    void StartSegment(std::uint32_t tick);
    // Moves on to the next target, or ends the movement at the last one.
    void NextTarget(std::uint32_t tick);
    void FinishMovement(std::uint32_t tick);
    // One step of a movement: the collision check when collisions are on, the
    // polygon events of the free-move object, the placement. False when blocked.
    bool StepTo(const D3DXVECTOR3& candidate, std::uint32_t tick);
    void Block(std::uint32_t tick);
    D3DXVECTOR3 OwnPosition() const;
    float Yaw() const;
    void TurnTowards(const D3DXVECTOR3& from, const D3DXVECTOR3& to);
    // The walk animation ends: the object's script hears "stop".
    void NotifyStop();
    // The placed footprint and its radius; null without a usable outline.
    const CPolygon* PlacedFootprint(const D3DXVECTOR3& position, float yaw, float* radius) const;
    // The first free shift of `position` along the axis, ±0.015 × i for i = 0 … 10.
    template <class Free> static bool Shift(D3DXVECTOR3& position, bool alongX, Free free);
    // The axis of those shifts: x when the yaw lies within π/4 of π/2 or 3π/2, else z.
    bool ShiftAlongX() const;

    Record Capture() const;
    void Apply(const Record& record);

    // The script interface (CSceneObjectScript.cpp)
    void RequireInstance(const char* member) const;
    HRESULT InvokeMethod(DISPID id, std::span<const Variant> args, Variant* result);
    HRESULT InvokeGet(DISPID id, Variant* result);
    HRESULT InvokePut(DISPID id, std::span<const Variant> args);

    ISceneHost& m_host;
    CScene& m_scene;
    CModelInstance* m_instance = nullptr;
    CEngineLight* m_light = nullptr;
    std::unique_ptr<CScriptEngine> m_script;

    std::u16string m_name;
    std::string m_group;
    std::string m_pickName;
    std::vector<std::string> m_context;
    bool m_pickable = false;
    bool m_walkaround = false;
    bool m_mobile = false;
    bool m_freeMove = false;
    float m_freeMoveSpeed = 0.0f;
    float m_freeRotateSpeed = 0.0f;

    // Texts of the last OnAction: the event raised at the scene when the animation ends.
    std::string m_actionEvent;
    std::string m_actionParameter;

    // Animation
    std::uint32_t m_cycleMs = 1000;
    bool m_forward = true;
    std::int32_t m_repeats = -1;
    Clock m_animationClock;

    // Movement
    bool m_moving = false;
    bool m_paused = false;
    bool m_blocked = false;
    bool m_loop = false;
    std::vector<D3DXVECTOR3> m_path;
    std::int32_t m_targetIndex = 0;
    std::int32_t m_speed = 0;
    std::uint32_t m_segmentMs = 0;
    Clock m_segmentClock;
    std::string m_moveEvent;
    std::string m_moveParameter;
    bool m_collisions = false;
    bool m_autorotate = false;
    bool m_walking = false;
    bool m_retry = false;
    std::uint32_t m_blockedSince = 0;
    std::string m_walkAnimation;
    // Counts started movements, so a step can tell when a script it called
    // has started another one.
    std::uint32_t m_movementSerial = 0;

    // Rotation
    bool m_rotating = false;
    Clock m_rotationClock;
    D3DXVECTOR3 m_rotationStart;
    D3DXVECTOR3 m_rotationTarget;
    D3DXVECTOR3 m_rotationDelta;
    std::uint32_t m_rotationMs = 0;
    std::string m_rotationEvent;
    std::string m_rotationParameter;

    // The model's outline placed where the last collision test put the object.
    mutable CPolygon m_footprint;
};
