#include "platform/DGamepad.h"

#include "platform/DMouse.h"
#include "platform/DReport.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

using Kind = DGamepad::Action::Kind;

struct ButtonAction {
    SDL_GameControllerButton button;
    DGamepad::Action action;
};

constexpr ButtonAction kButtonActions[] = {
    {SDL_CONTROLLER_BUTTON_A, {Kind::MouseButton, SDL_BUTTON_LEFT}},
    {SDL_CONTROLLER_BUTTON_B, {Kind::MouseButton, SDL_BUTTON_RIGHT}},
    {SDL_CONTROLLER_BUTTON_X, {Kind::Key, SDLK_TAB}},
    {SDL_CONTROLLER_BUTTON_START, {Kind::Key, SDLK_ESCAPE}},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, {Kind::Key, SDLK_UP}},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, {Kind::Key, SDLK_DOWN}},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, {Kind::Key, SDLK_LEFT}},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {Kind::Key, SDLK_RIGHT}},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, {Kind::Key, SDLK_LSHIFT}},
};

constexpr float kAxisFull = 32767.0f;

std::uint32_t Bit(int button) {
    return std::uint32_t{1} << button;
}

bool IsButton(int button) {
    return button >= 0 && button < SDL_CONTROLLER_BUTTON_MAX;
}

} // namespace

DGamepad::DGamepad(DMouse& mouse, KeySender sendKey) : m_mouse(mouse), m_sendKey(std::move(sendKey)) {}

DGamepad::~DGamepad() {
    // The window goes with it: nothing is left to let go of.
    for (const auto& [instance, pad] : m_pads) {
        SDL_GameControllerClose(pad.controller);
    }
    if (m_subsystem) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
}

void DGamepad::Configure(const Settings& settings, bool physicalPads) {
    m_settings = settings;
    m_physicalPads = physicalPads;
    if (!settings.enabled) {
        CloseAll();
        return;
    }
    // Virtual pads start the controller system themselves; physical ones are
    // looked for from the start, and the pads already plugged in are announced as added.
    if (physicalPads && !m_subsystem) {
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {
            m_subsystem = true;
        } else {
            ReportWarning(std::string("game controllers are not available: ") + SDL_GetError());
        }
    }
}

bool DGamepad::Accepts(int deviceIndex) const {
    return m_settings.enabled && SDL_IsGameController(deviceIndex) &&
           (m_physicalPads || SDL_JoystickIsVirtual(deviceIndex));
}

DGamepad::Action DGamepad::ActionFor(int button) {
    const auto* entry = std::find_if(std::begin(kButtonActions), std::end(kButtonActions),
                                     [button](const ButtonAction& e) { return e.button == button; });
    return entry == std::end(kButtonActions) ? Action{} : entry->action;
}

float DGamepad::Tilt(std::int16_t axisValue) {
    return std::max(static_cast<float>(axisValue) / kAxisFull, -1.0f);
}

std::int16_t DGamepad::AxisValue(float tilt) {
    return static_cast<std::int16_t>(std::lround(std::clamp(tilt, -1.0f, 1.0f) * kAxisFull));
}

void DGamepad::OnAdded(int deviceIndex) {
    if (!Accepts(deviceIndex)) {
        return;
    }
    const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (m_pads.contains(instance)) {
        return;
    }
    if (!m_subsystem) {
        SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
        m_subsystem = true;
    }
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr) {
        ReportWarning(std::string("a game controller could not be opened: ") + SDL_GetError());
        return;
    }
    m_pads[instance].controller = controller;
}

void DGamepad::OnRemoved(std::int32_t instance) {
    if (const auto pad = m_pads.find(instance); pad != m_pads.end()) {
        Close(pad);
    }
}

void DGamepad::OnButton(std::int32_t instance, int button, bool down) {
    if (const auto pad = m_pads.find(instance); pad != m_pads.end() && IsButton(button)) {
        Press(pad->second, button, down);
    }
}

void DGamepad::OnAxis(std::int32_t instance, int axis, std::int16_t value) {
    const auto pad = m_pads.find(instance);
    if (pad == m_pads.end()) {
        return;
    }
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) {
        pad->second.stick.x = Tilt(value);
    } else if (axis == SDL_CONTROLLER_AXIS_LEFTY) {
        pad->second.stick.y = Tilt(value);
    }
}

void DGamepad::Advance(std::uint32_t ms) {
    DStickMotion::Vector velocity;
    for (const auto& [instance, pad] : m_pads) {
        const DStickMotion::Vector own = DStickMotion::Velocity(pad.stick, m_settings.stick);
        velocity.x += own.x;
        velocity.y += own.y;
    }
    if (velocity == DStickMotion::Vector{}) {
        m_stick.Rest();
        return;
    }
    if (const DStickMotion::Steps steps = m_stick.Advance(velocity, ms); steps != DStickMotion::Steps{}) {
        m_mouse.OnMotion(steps.dx, steps.dy);
    }
}

void DGamepad::Press(Pad& pad, int button, bool down) {
    if (((pad.held & Bit(button)) != 0) == down) {
        return;
    }
    pad.held ^= Bit(button);
    if (!HeldByAnother(pad, button)) {
        Send(button, down);
    }
}

bool DGamepad::HeldByAnother(const Pad& pad, int button) const {
    return std::any_of(m_pads.begin(), m_pads.end(), [&](const auto& entry) {
        return &entry.second != &pad && (entry.second.held & Bit(button)) != 0;
    });
}

void DGamepad::Send(int button, bool down) {
    const Action action = ActionFor(button);
    if (action.kind == Kind::MouseButton) {
        m_mouse.OnButton(action.code, down);
    } else if (action.kind == Kind::Key) {
        m_sendKey(action.code, down);
    }
}

void DGamepad::Close(std::map<std::int32_t, Pad>::iterator pad) {
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
        Press(pad->second, button, false);
    }
    SDL_GameControllerClose(pad->second.controller);
    m_pads.erase(pad);
}

void DGamepad::CloseAll() {
    while (!m_pads.empty()) {
        Close(m_pads.begin());
    }
}
