#include "app/CGame.h"

#include "app/DisplayModes.h"
#include "platform/DClock.h"
#include "platform/DPaths.h"
#include "platform/DRegistry.h"

#include <algorithm>
#include <cstdio>

CGame::CGame(const CRunOptions& options, DClock& clock) : m_options(options), m_clock(clock) {}

CGame::~CGame() = default;

void CGame::Initialize(DWindow& window) {
    m_window = &window;

    const auto settingsFile =
        m_options.settingsFile.empty() ? DPaths::DefaultSettingsFile() : m_options.settingsFile;
    m_registry = std::make_unique<DRegistry>(settingsFile);

    ChooseDisplayMode();
    ReadQualitySettings();
    m_window->Mouse().Acquire();

    m_buttons = CMouseButtons();
    m_frameTimer.Start(m_clock.Now());
    m_initialized = true;
    m_renderSucceeded = true;
}

void CGame::ChooseDisplayMode() {
    const int requestedWidth = m_registry->ReadInt("resx", 1024, true);
    const int requestedHeight = m_registry->ReadInt("resy", 768, true);
    bool fullscreen = m_registry->ReadInt("fullscreen", 1, true) != 0;
    m_pickWindowHold = m_registry->ReadInt("pickwindowhold", 0, true) == 0;

    m_displayModes = AcceptDisplayModes(m_window->DisplayModes());
    if (fullscreen && (m_options.headless || m_displayModes.empty())) {
        // Offscreen rendering has no display to fill, and odd displays have no such mode; a window still works.
        if (!m_options.headless) {
            std::fprintf(stderr, "The display offers no 4:3 mode of 1024 x 768 or more; playing in a window.\n");
        }
        fullscreen = false;
    }
    int width = DWindow::kClientWidth;
    int height = DWindow::kClientHeight;
    if (fullscreen) {
        const DDisplayMode mode = ::ChooseDisplayMode(m_displayModes, requestedWidth, requestedHeight);
        width = static_cast<int>(mode.width);
        height = static_cast<int>(mode.height);
    }
    m_window->SetDisplayMode(width, height, fullscreen);
    m_screenWidth = width;
    m_screenHeight = height;
}

void CGame::ReadQualitySettings() {
    const int quality = m_registry->ReadInt("texturequality", 2, true);
    m_quality.textureQuality = (quality == 1 || quality == 2 || quality == 4) ? quality : 2;
    m_quality.lightEffects = m_registry->ReadInt("lighdows", 1, true) != 0;
    m_quality.shadows = m_registry->ReadInt("shadows", 1, true) != 0;
    m_quality.mirrors = m_registry->ReadInt("mirrors", 1, true) != 0;
    m_quality.preload = m_registry->ReadInt("preload", 1, false) != 0;
    m_quality.clear = m_registry->ReadInt("clear", 0, false) != 0;
}

void CGame::DoFrame() {
    m_frameTimer.BeginCycle();

    const std::uint32_t now = m_clock.Now();
    if (auto text = m_frameTimer.UpdateFps(now, m_fpsLabelVisible)) {
        m_fpsText = std::move(*text);
    }
    m_frameTimer.Clamp(now);

    DMouse::State mouse;
    if (m_window->Mouse().Read(mouse)) {
        m_buttons.Set(mouse.left, mouse.right);
    }
    MoveCursor(mouse.dx, mouse.dy);
    // Without a loaded scene the frame ends here: the last frame tick and the
    // previous button states stay as they are.
}

void CGame::MoveCursor(int dx, int dy) {
    m_cursorX = std::clamp(m_cursorX + 2.0f * static_cast<float>(dx), 0.0f, static_cast<float>(m_screenWidth - 1));
    m_cursorY = std::clamp(m_cursorY + 2.0f * static_cast<float>(dy), 0.0f, static_cast<float>(m_screenHeight - 1));
}

void CGame::ToggleFullscreen() {
    if (m_window->IsFullscreen()) {
        m_window->SetDisplayMode(DWindow::kClientWidth, DWindow::kClientHeight, false);
        m_screenWidth = DWindow::kClientWidth;
        m_screenHeight = DWindow::kClientHeight;
    } else {
        m_screenWidth = m_registry->ReadInt("resx", 1024, false);
        m_screenHeight = m_registry->ReadInt("resy", 768, false);
        m_window->SetDisplayMode(m_screenWidth, m_screenHeight, true);
    }
}

bool CGame::HandleMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t /*lParam*/) {
    switch (msg) {
    case WM_DESTROY:
        m_window->PostQuitMessage(0);
        return true;
    case WM_SETFOCUS:
        if (m_initialized && m_window->IsFullscreen()) {
            m_window->SetDisplayMode(m_registry->ReadInt("resx", 1024, false),
                                     m_registry->ReadInt("resy", 768, false), true);
        }
        m_window->Mouse().Acquire();
        return true;
    case WM_KILLFOCUS:
        m_window->Mouse().Unacquire();
        return true;
    case WM_SYSKEYDOWN:
        if (wParam == VK_RETURN) {
            ToggleFullscreen();
            return true;
        }
        return false;
    default:
        return false;
    }
}
