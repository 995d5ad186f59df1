#pragma once

#include <SDL.h>

// Platform events as the window's event pump would hand them over.
SDL_Event MotionEvent(int dx, int dy);
SDL_Event ButtonEvent(Uint8 button, bool down);
SDL_Event KeyEvent(SDL_Keycode key, bool down, Uint16 mod = KMOD_NONE, Uint8 repeat = 0);
SDL_Event TextEvent(const char* utf8);
SDL_Event FocusEvent(Uint8 what);
SDL_Event QuitEvent();
