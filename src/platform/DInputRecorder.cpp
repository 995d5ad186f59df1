#include "platform/DInputRecorder.h"

#include "platform/DWindow.h"

#include <SDL.h>

using Kind = DInputEvent::Kind;

DInputRecorder::DInputRecorder(DWindow& window) : m_window(window) {
    m_window.SetEventListener([this](const SDL_Event& event) { OnEvent(event); });
}

DInputRecorder::~DInputRecorder() {
    m_window.SetEventListener({});
}

void DInputRecorder::NextFrame(std::uint32_t stepMs) {
    ++m_frame;
    Add({.kind = Kind::Step, .stepMs = stepMs});
}

void DInputRecorder::Add(DInputEvent event) {
    event.frame = m_frame;
    m_script.Append(std::move(event));
}

void DInputRecorder::OnEvent(const SDL_Event& event) {
    const bool mouseCounts = m_window.Mouse().IsAcquired();
    switch (event.type) {
    case SDL_QUIT:
        Add({.kind = Kind::Quit});
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        // Written by name, the key must read back as the same key; one without a name cannot be written.
        const SDL_Keycode key = SDL_GetKeyFromName(SDL_GetKeyName(event.key.keysym.sym));
        if (key != SDLK_UNKNOWN) {
            Add({.kind = event.type == SDL_KEYDOWN ? Kind::KeyDown : Kind::KeyUp, .key = key});
        }
        break;
    }
    case SDL_TEXTINPUT:
        Add({.kind = Kind::Type, .text = event.text.text});
        break;
    case SDL_MOUSEMOTION:
        if (mouseCounts) {
            Add({.kind = Kind::Move, .x = event.motion.xrel, .y = event.motion.yrel});
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (mouseCounts &&
            (event.button.button == SDL_BUTTON_LEFT || event.button.button == SDL_BUTTON_RIGHT)) {
            Add({.kind = event.type == SDL_MOUSEBUTTONDOWN ? Kind::Press : Kind::Release,
                 .button = event.button.button == SDL_BUTTON_LEFT ? DInputEvent::Button::Left
                                                                  : DInputEvent::Button::Right});
        }
        break;
    case SDL_CONTROLLERDEVICEADDED:
        if (!m_pad && m_window.Gamepad().Accepts(event.cdevice.which)) {
            m_pad = SDL_JoystickGetDeviceInstanceID(event.cdevice.which);
            Add({.kind = Kind::PadAttach});
        }
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (m_pad == event.cdevice.which) {
            m_pad.reset();
            Add({.kind = Kind::PadDetach});
        }
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (m_pad == event.cbutton.which) {
            Add({.kind = event.type == SDL_CONTROLLERBUTTONDOWN ? Kind::PadPress : Kind::PadRelease,
                 .padControl = event.cbutton.button});
        }
        break;
    case SDL_CONTROLLERAXISMOTION:
        if (m_pad == event.caxis.which) {
            Add({.kind = Kind::PadAxis, .padControl = event.caxis.axis, .axisValue = event.caxis.value});
        }
        break;
    default:
        break;
    }
}
