#include "SdlEvents.h"

#include <cstring>

SDL_Event MotionEvent(int dx, int dy) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    return event;
}

SDL_Event ButtonEvent(Uint8 button, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button;
    return event;
}

SDL_Event KeyEvent(SDL_Keycode key, bool down, Uint16 mod, Uint8 repeat) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    event.key.repeat = repeat;
    return event;
}

SDL_Event TextEvent(const char* utf8) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
    return event;
}

SDL_Event FocusEvent(Uint8 what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    return event;
}

SDL_Event QuitEvent() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    return event;
}
