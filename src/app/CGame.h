#pragma once

#include "app/CCommandLine.h"
#include "app/CFrameTimer.h"
#include "app/CMouseButtons.h"
#include "platform/DMessage.h"
#include "platform/DWindow.h"

#include <memory>
#include <string>
#include <vector>

class DClock;
class DRegistry;

// The graphics switches read from the settings at start, kept for the renderer.
struct CQualitySettings {
    int textureQuality = 2; // 1, 2 or 4
    bool lightEffects = true;
    bool shadows = true;
    bool mirrors = true;
    bool preload = true;
    bool clear = false;
};

// The game: owns every subsystem that lives for the whole run, runs one frame
// at a time and handles the window's messages between frames. The constructor
// creates nothing; Initialize builds the subsystems in their fixed order and
// the destructor tears them down in the reverse one.
class CGame {
public:
    CGame(const CRunOptions& options, DClock& clock);
    ~CGame();
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    void Initialize(DWindow& window);
    void DoFrame();
    // True when the message was handled; otherwise the window's default handling applies.
    bool HandleMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

    bool IsInitialized() const { return m_initialized; }
    const std::vector<DDisplayMode>& DisplayModes() const { return m_displayModes; }
    const CQualitySettings& Quality() const { return m_quality; }
    DRegistry& Registry() { return *m_registry; }
    const CFrameTimer& FrameTimer() const { return m_frameTimer; }
    const std::string& FpsText() const { return m_fpsText; }
    float CursorX() const { return m_cursorX; }
    float CursorY() const { return m_cursorY; }

private:
    void ChooseDisplayMode();
    void ReadQualitySettings();
    void MoveCursor(int dx, int dy);
    void ToggleFullscreen();

    CRunOptions m_options;
    DClock& m_clock;
    DWindow* m_window = nullptr;
    std::unique_ptr<DRegistry> m_registry;
    std::vector<DDisplayMode> m_displayModes;
    CQualitySettings m_quality;

    CFrameTimer m_frameTimer;
    CMouseButtons m_buttons;
    std::string m_fpsText;
    bool m_fpsLabelVisible = false;
    float m_cursorX = 0;
    float m_cursorY = 0;
    int m_screenWidth = DWindow::kClientWidth;
    int m_screenHeight = DWindow::kClientHeight;

    bool m_initialized = false;
    bool m_renderSucceeded = false;
    bool m_pickWindowHold = false;
};
