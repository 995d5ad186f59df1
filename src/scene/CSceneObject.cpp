// Identity, flags, animation, visibility, placement, the object's own script
// and the per-frame step of a scene object.
#include "scene/CSceneObject.h"

#include "resources/CParameterParser.h"

#include "render/C3DEngine2.h"
#include "render/CEngineLight.h"
#include "render/model/CModelInstance.h"
#include "resources/CADVException.h"
#include "scene/CScene.h"
#include "scene/ISceneHost.h"
#include "script/CScriptEngine.h"
#include "script/TextConversion.h"

#include <algorithm>
#include <array>

CSceneObject::CSceneObject(ISceneHost& host, CScene& scene, CModelInstance* instance)
    : CDispatchBase(ScriptMembers()), m_host(host), m_scene(scene), m_instance(instance) {
    Restart(m_animationClock, host.Now());
}

CSceneObject::CSceneObject(ISceneHost& host, CScene& scene, CEngineLight* light)
    : CDispatchBase(ScriptMembers()), m_host(host), m_scene(scene), m_light(light) {
    Restart(m_animationClock, host.Now());
}

CSceneObject::~CSceneObject() {
    if (m_scene.FreeMoveObject() == this) {
        m_scene.SetFreeMoveObject(nullptr);
    }
}

void CSceneObject::SetContext(const std::string& commaList) {
    m_context = SplitCommaList(commaList);
}

void CSceneObject::SetPickable(bool on) {
    m_pickable = on;
}

void CSceneObject::SetScript(const std::string& file) {
    m_script = m_host.CreateScriptEngine();
    m_script->AddObject(u"object", this);
    m_script->RunFile(file, m_host.LoadScriptFile(file));
    m_script->Call("OnInit");
}

// Animation

void CSceneObject::SetAnimation(const std::string& name) {
    if (m_instance == nullptr) {
        throw CADVException("CSceneObject::SetAnimation() - Scene Object isn't a spresh.");
    }
    m_instance->animation = name;
    Restart(m_animationClock, m_host.Now());
}

std::string CSceneObject::GetAnimation() const {
    if (m_instance == nullptr) {
        throw CADVException("CSceneObject::GetAnimation() - Scene Object isn't a spresh.");
    }
    return m_instance->animation;
}

void CSceneObject::SetAnimationSpeed(std::uint32_t cycleMs) {
    if (m_instance == nullptr) {
        throw CADVException("CSceneObject::SetAnimationSpeed() - Scene Object isn't a spresh.");
    }
    m_cycleMs = cycleMs;
}

std::uint32_t CSceneObject::AnimationSpeed() const {
    return m_cycleMs;
}

void CSceneObject::SetAnimationDirection(bool forward) {
    if (m_instance == nullptr) {
        throw CADVException("CSceneObject::SetAnimationDirection() - Scene Object isn't a spresh.");
    }
    Restart(m_animationClock, m_host.Now());
    m_forward = forward;
}

bool CSceneObject::AnimationForward() const {
    return m_forward;
}

void CSceneObject::SetAnimationTimes(std::int32_t repeats) {
    if (m_instance == nullptr) {
        throw CADVException("CSceneObject::SetAnimationTimes() - Scene Object isn't a spresh.");
    }
    Restart(m_animationClock, m_host.Now());
    m_repeats = repeats;
}

std::int32_t CSceneObject::AnimationTimes() const {
    return m_repeats;
}

std::uint32_t CSceneObject::Advance(Clock& clock, std::uint32_t tick, bool hold) {
    clock.elapsed = tick - clock.start;
    if (hold) {
        clock.pausedTime = clock.elapsed - clock.effective;
    }
    clock.effective = clock.elapsed - clock.pausedTime;
    clock.paused = hold;
    return clock.effective;
}

void CSceneObject::Restart(Clock& clock, std::uint32_t tick) {
    clock = Clock{};
    clock.start = tick;
}

void CSceneObject::StepAnimation(std::uint32_t tick) {
    if (m_instance == nullptr) {
        return;
    }
    if (m_cycleMs != 0 && Advance(m_animationClock, tick, false) >= m_cycleMs) {
        Restart(m_animationClock, tick);
        if (m_repeats > 0) {
            --m_repeats;
        } else if (m_repeats == 0) {
            m_cycleMs = 0;
            m_instance->phase = m_forward ? 0.999f : 0.0f;
            // Copies: either script may start the next animation.
            const std::string animation = m_instance->animation;
            const std::string event = m_actionEvent;
            const std::string parameter = m_actionParameter;
            OnEvent("animationended", animation);
            if (!event.empty()) {
                m_scene.OnEvent(event, parameter);
            }
            return;
        }
    }
    if (m_cycleMs == 0) {
        // A finished animation rests on its last frame, a backward one on its first.
        m_instance->phase = m_forward ? 0.999f : 0.0f;
        return;
    }
    const float part = static_cast<float>(m_animationClock.effective) / static_cast<float>(m_cycleMs);
    m_instance->phase = std::clamp(m_forward ? part : 0.999f - part, 0.0f, 0.999f);
}

// Visibility

void CSceneObject::SetVisible(bool on) {
    if (m_instance != nullptr) {
        m_instance->visible = on;
    } else if (m_light != nullptr) {
        m_light->switchedOn = on;
        m_host.Renderer().ApplyLight(*m_light);
    } else {
        throw CADVException("CSceneObject::SetVisible - No visible flag for this type of object");
    }
}

bool CSceneObject::GetVisible() const {
    if (m_instance != nullptr) {
        return m_instance->visible;
    }
    if (m_light != nullptr) {
        return m_light->switchedOn;
    }
    throw CADVException("CSceneObject::GetVisible - No visible flag for this type of object");
}

void CSceneObject::SetEnabled(bool on) {
    if (m_instance != nullptr) {
        m_instance->enabled = on;
    } else if (m_light != nullptr) {
        m_light->enabled = on;
        m_host.Renderer().ApplyLight(*m_light);
    } else {
        throw CADVException("CSceneObject::SetEnabled - No enabled flag for this type of object");
    }
}

bool CSceneObject::GetEnabled() const {
    if (m_instance != nullptr) {
        return m_instance->enabled;
    }
    if (m_light != nullptr) {
        return m_light->enabled;
    }
    throw CADVException("CSceneObject::GetEnabled - No enabled flag for this type of object");
}

// Placement

D3DXVECTOR3 CSceneObject::GetPosition() const {
    if (m_instance != nullptr) {
        return m_instance->WorldPosition();
    }
    if (m_light != nullptr) {
        return m_light->light.Position;
    }
    throw CADVException("CSceneObject::GetPosition() - Unknown object type.");
}

D3DXVECTOR3 CSceneObject::OwnPosition() const {
    return m_instance != nullptr ? m_instance->position : GetPosition();
}

void CSceneObject::SetPosition(const D3DXVECTOR3& position) {
    if (m_instance != nullptr) {
        m_instance->position = position;
    } else if (m_light != nullptr) {
        m_light->light.Position = position;
        m_host.Renderer().ApplyLight(*m_light);
    } else {
        throw CADVException("CSceneObject::SetPosition() - Unknown object type.");
    }
}

void CSceneObject::Place(const D3DXVECTOR3& position) {
    const bool parented = m_instance != nullptr && m_instance->parent != nullptr;
    SetPosition(parented ? position - m_instance->parent->WorldPosition() : position);
}

float CSceneObject::Yaw() const {
    return m_instance != nullptr ? m_instance->WorldRotation().z : 0.0f;
}

// Callbacks

bool CSceneObject::OnEvent(const std::string& event, const std::string& parameter) {
    if (!m_script) {
        return false;
    }
    const std::array<Variant, 2> args{Variant::Bstr(AnsiToWide(event)), Variant::Bstr(AnsiToWide(parameter))};
    return m_script->Call("OnEvent", args);
}

void CSceneObject::OnAction(const std::string& action, std::string event, std::string parameter) {
    if (!m_script) {
        return;
    }
    m_actionEvent = std::move(event);
    m_actionParameter = std::move(parameter);
    const std::array<Variant, 1> args{Variant::Bstr(AnsiToWide(action))};
    m_script->Call("OnAction", args);
}

void CSceneObject::SetFreeMove(bool on) {
    m_freeMove = on;
    m_scene.SetFreeMoveObject(on ? this : nullptr);
    if (!on) {
        StopMovement();
    }
    OnEvent("freemove", on ? "true" : "false");
}

void CSceneObject::Update(std::uint32_t tick) {
    if (m_script) {
        m_script->ProcessEvents();
    }
    StepAnimation(tick);
    StepMovement(tick);
    StepRotation(tick);
}
