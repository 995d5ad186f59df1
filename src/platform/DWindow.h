#pragma once

#include "platform/DFramePacer.h"
#include "platform/DGamepad.h"
#include "platform/DMessage.h"
#include "platform/DMouse.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct SDL_Window;
union SDL_Event;

// One display mode of the primary display.
struct DDisplayMode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t refreshRate = 0;
    std::uint32_t format = 0; // SDL pixel format
};

// The game's one window with its OpenGL 3.3 core context (24-bit depth, 8-bit
// stencil), and the event pump that turns platform events into DMessage
// records, mouse input and game-controller input. Construction initialises
// SDL's video and events and throws std::runtime_error with SDL's reason when
// the window or context cannot be made; the platform layer sits below the
// engine's own exception type.
class DWindow {
public:
    static constexpr int kClientWidth = 1024;
    static constexpr int kClientHeight = 768;
    static constexpr const char* kTitle = "Morvane";

    // Headless selects SDL's offscreen video driver: a real GL context with no display.
    explicit DWindow(bool headless);
    ~DWindow();
    DWindow(const DWindow&) = delete;
    DWindow& operator=(const DWindow&) = delete;

    // The primary display's modes with 32 bits per pixel, in the platform's order.
    std::vector<DDisplayMode> DisplayModes() const;
    // Full screen in the given mode (a desktop-sized full-screen window when the
    // display has no such mode), or a window with the given client size.
    void SetDisplayMode(int width, int height, bool fullscreen);
    bool IsFullscreen() const { return m_fullscreen; }

    // Takes the next message, pumping platform events when none is queued.
    // False when nothing is waiting; never blocks.
    bool PeekMessage(DMessage& message);
    // Queues WM_QUIT with the exit code as its wParam.
    void PostQuitMessage(int exitCode);
    // Feeds one platform event through the same translation as the pump.
    void Translate(const SDL_Event& event);
    // Shown every event before its translation (the input recorder); an
    // empty function stops it.
    void SetEventListener(std::function<void(const SDL_Event&)> listener) {
        m_listener = std::move(listener);
    }

    DMouse& Mouse() { return m_mouse; }
    DGamepad& Gamepad() { return m_gamepad; }
    // In step with the display, or free-running as the window starts.
    void SetFramePacing(bool inStep) { m_pacer.Start(m_window, inStep); }
    DFramePacer& Pacer() { return m_pacer; }

private:
    void Post(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam = 0);
    void PostKey(std::int32_t key, bool down, bool repeat, bool alt);

    SDL_Window* m_window = nullptr;
    void* m_context = nullptr;
    bool m_fullscreen = false;
    std::deque<DMessage> m_queue;
    DMouse m_mouse;
    DFramePacer m_pacer;
    std::function<void(const SDL_Event&)> m_listener;
    // Last: it plays into the queue and the mouse.
    DGamepad m_gamepad{m_mouse, [this](std::int32_t key, bool down) { PostKey(key, down, false, false); }};
};
