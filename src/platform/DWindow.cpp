#include "platform/DWindow.h"

#include <SDL.h>
#include <stdexcept>

namespace {

std::uint32_t VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return static_cast<std::uint32_t>('A' + (key - SDLK_a));
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return static_cast<std::uint32_t>(key);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return VK_F1 + static_cast<std::uint32_t>(key - SDLK_F1);
    }
    switch (key) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_DELETE: return VK_DELETE;
    default: return 0;
    }
}

// Keys whose press a desktop window also reports as a control character.
std::uint32_t ControlCharacter(std::uint32_t vk) {
    switch (vk) {
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_RETURN: return 13;
    case VK_ESCAPE: return 27;
    default: return 0;
    }
}

// Decodes UTF-8 text input into code points; malformed bytes are dropped.
std::vector<std::uint32_t> CodePoints(const char* text) {
    std::vector<std::uint32_t> result;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        std::uint32_t cp = *p;
        int extra = 0;
        if (cp >= 0xF0 && cp < 0xF8) {
            cp &= 0x07;
            extra = 3;
        } else if (cp >= 0xE0) {
            cp &= 0x0F;
            extra = 2;
        } else if (cp >= 0xC0) {
            cp &= 0x1F;
            extra = 1;
        } else if (cp >= 0x80) {
            ++p;
            continue;
        }
        ++p;
        bool valid = true;
        for (int i = 0; i < extra; ++i, ++p) {
            if ((*p & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (*p & 0x3F);
        }
        if (valid) {
            result.push_back(cp);
        }
    }
    return result;
}

std::runtime_error SdlFailure(const char* what) { return std::runtime_error(std::string(what) + ": " + SDL_GetError()); }

} // namespace

DWindow::DWindow(bool headless) {
    if (headless) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        throw SdlFailure("Could not start the video system");
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    m_window = SDL_CreateWindow(kTitle, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kClientWidth, kClientHeight,
                                SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!m_window) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        throw SdlFailure("Could not create the window");
    }
    m_context = SDL_GL_CreateContext(m_window);
    if (!m_context) {
        SDL_DestroyWindow(m_window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        throw SdlFailure("Could not create an OpenGL 3.3 core context");
    }
    SetFramePacing(false);
    SDL_StartTextInput();
}

DWindow::~DWindow() {
    m_mouse.Unacquire();
    SDL_GL_DeleteContext(m_context);
    SDL_DestroyWindow(m_window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

std::vector<DDisplayMode> DWindow::DisplayModes() const {
    std::vector<DDisplayMode> modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && SDL_BITSPERPIXEL(mode.format) >= 24 &&
            SDL_BYTESPERPIXEL(mode.format) == 4) {
            modes.push_back({static_cast<std::uint32_t>(mode.w), static_cast<std::uint32_t>(mode.h),
                             static_cast<std::uint32_t>(mode.refresh_rate), mode.format});
        }
    }
    return modes;
}

void DWindow::SetDisplayMode(int width, int height, bool fullscreen) {
    if (!fullscreen) {
        SDL_SetWindowFullscreen(m_window, 0);
        SDL_SetWindowSize(m_window, width, height);
        m_fullscreen = false;
        return;
    }
    // The display's own mode when it has this size; otherwise a desktop-sized
    // window, into which the device scales and letterboxes its back buffer.
    Uint32 flags = SDL_WINDOW_FULLSCREEN_DESKTOP;
    for (const DDisplayMode& mode : DisplayModes()) {
        if (static_cast<int>(mode.width) == width && static_cast<int>(mode.height) == height) {
            SDL_DisplayMode exact{};
            exact.format = mode.format;
            exact.w = width;
            exact.h = height;
            exact.refresh_rate = static_cast<int>(mode.refreshRate);
            SDL_SetWindowDisplayMode(m_window, &exact);
            flags = SDL_WINDOW_FULLSCREEN;
            break;
        }
    }
    SDL_SetWindowSize(m_window, width, height);
    m_fullscreen = SDL_SetWindowFullscreen(m_window, flags) == 0;
}

bool DWindow::PeekMessage(DMessage& message) {
    if (m_queue.empty()) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            Translate(event);
        }
    }
    if (m_queue.empty()) {
        return false;
    }
    message = m_queue.front();
    m_queue.pop_front();
    return true;
}

void DWindow::PostQuitMessage(int exitCode) { Post(WM_QUIT, static_cast<std::uintptr_t>(exitCode)); }

void DWindow::Post(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
    m_queue.push_back({msg, wParam, lParam});
}

void DWindow::Translate(const SDL_Event& event) {
    if (m_listener) {
        m_listener(event);
    }
    switch (event.type) {
    case SDL_QUIT:
        Post(WM_DESTROY, 0);
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            Post(WM_SETFOCUS, 0);
        } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            Post(WM_KILLFOCUS, 0);
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        PostKey(event.key.keysym.sym, event.type == SDL_KEYDOWN, event.key.repeat != 0,
                (event.key.keysym.mod & KMOD_ALT) != 0);
        break;
    case SDL_TEXTINPUT:
        for (const std::uint32_t cp : CodePoints(event.text.text)) {
            Post(WM_CHAR, cp);
        }
        break;
    case SDL_MOUSEMOTION:
        m_mouse.OnMotion(event.motion.xrel, event.motion.yrel);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        m_mouse.OnButton(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
        break;
    case SDL_CONTROLLERDEVICEADDED:
        m_gamepad.OnAdded(event.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        m_gamepad.OnRemoved(event.cdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        m_gamepad.OnButton(event.cbutton.which, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
        break;
    case SDL_CONTROLLERAXISMOTION:
        m_gamepad.OnAxis(event.caxis.which, event.caxis.axis, event.caxis.value);
        break;
    default:
        break;
    }
}

void DWindow::PostKey(std::int32_t key, bool down, bool repeat, bool alt) {
    const std::uint32_t vk = VirtualKey(key);
    if (vk == 0) {
        return;
    }
    // lParam bit 29: Alt held; bit 30: the key was already down (auto-repeat); bit 31: release.
    std::intptr_t lParam = 1;
    if (alt) {
        lParam |= std::intptr_t{1} << 29;
    }
    if (repeat || !down) {
        lParam |= std::intptr_t{1} << 30;
    }
    if (!down) {
        lParam |= std::intptr_t{1} << 31;
    }
    if (alt || vk == VK_MENU) {
        Post(down ? WM_SYSKEYDOWN : WM_SYSKEYUP, vk, lParam);
    } else {
        Post(down ? WM_KEYDOWN : WM_KEYUP, vk, lParam);
        if (const std::uint32_t ch = ControlCharacter(vk); down && ch != 0) {
            Post(WM_CHAR, ch, lParam);
        }
    }
}
