#include "platform/DVirtualGamepad.h"

#include "platform/DWindow.h"

#include <SDL.h>
#include <stdexcept>
#include <string>

namespace {

std::runtime_error SdlFailure(const char* what) {
    return std::runtime_error(std::string(what) + ": " + SDL_GetError());
}

} // namespace

DVirtualGamepad::DVirtualGamepad(DWindow& window) : m_window(window) {}

DVirtualGamepad::~DVirtualGamepad() {
    if (m_joystick != nullptr) {
        Detach();
    }
    if (m_subsystem) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
}

void DVirtualGamepad::Attach() {
    // SDL drops controller input while no window of the program has the
    // focus, which an offscreen window never gets; the replayed pad plays as
    // into a focused window, as the replayed mouse does.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (!m_subsystem) {
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
            throw SdlFailure("Could not start the game controllers");
        }
        m_subsystem = true;
    }
    // A joystick of the controller type gets SDL's standard controller mapping.
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Morvane virtual pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) {
        throw SdlFailure("Could not attach a virtual game controller");
    }
    m_joystick = SDL_JoystickOpen(index);
    if (m_joystick == nullptr) {
        SDL_JoystickDetachVirtual(index);
        throw SdlFailure("Could not open the virtual game controller");
    }
    Deliver();
}

void DVirtualGamepad::Detach() {
    const SDL_JoystickID instance = SDL_JoystickInstanceID(m_joystick);
    SDL_JoystickClose(m_joystick);
    m_joystick = nullptr;
    // Device indices shift as devices come and go; the instance stays.
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_JoystickGetDeviceInstanceID(index) == instance) {
            SDL_JoystickDetachVirtual(index);
            break;
        }
    }
    Deliver();
}

void DVirtualGamepad::SetButton(int button, bool down) {
    SDL_JoystickSetVirtualButton(m_joystick, button, down ? SDL_PRESSED : SDL_RELEASED);
    Deliver();
}

void DVirtualGamepad::SetAxis(int axis, std::int16_t value) {
    SDL_JoystickSetVirtualAxis(m_joystick, axis, value);
    Deliver();
}

void DVirtualGamepad::Deliver() {
    SDL_JoystickUpdate();
    // Only the controller events: anything else waits for the window's own pump.
    constexpr Uint32 kFirst = SDL_CONTROLLERAXISMOTION;
    constexpr Uint32 kLast = SDL_CONTROLLERSENSORUPDATE;
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, kFirst, kLast) == 1) {
        m_window.Translate(event);
    }
}
