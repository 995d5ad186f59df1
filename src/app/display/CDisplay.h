#pragma once

#include "platform/DWindow.h"

#include <functional>
#include <utility>
#include <vector>

class C3DEngine2;
class CGameScreens;
class CSettings;

// The graphics switches read from the settings at start, kept for the renderer.
struct CQualitySettings {
    int textureQuality = 2; // 1, 2 or 4
    bool lightEffects = true;
    bool shadows = true;
    bool mirrors = true;
    bool preload = true;
    bool clear = false;
};

// The screen the game draws on: the window or the full-screen mode the player
// chose, the back buffer's size that the cursor and the screens measure in,
// the changes of mode and of graphics quality, and the screens laid out again
// after each.
class CDisplay {
public:
    CDisplay(DWindow& window, CSettings& settings, bool headless);

    // Before the device exists: the mode chosen from the settings and the
    // window set to it; the quality switches read.
    void Choose();
    // Once the renderer and the screens exist. `relaidOut` runs after the
    // screens were laid out for a new size (the cursor keeps inside it).
    void Attach(C3DEngine2& renderer, CGameScreens& screens, std::function<void()> relaidOut);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Fullscreen() const { return m_fullscreen; }
    const std::vector<DDisplayMode>& Modes() const { return m_modes; }
    const CQualitySettings& Quality() const { return m_quality; }

    // Frames keep step with the display unless the settings say otherwise or
    // the run is one that should go as fast as it can.
    void StartFramePacing(bool freeRunning);

    // Alt+Enter.
    void ToggleFullscreen();
    // The options panel's choices, written to the settings at once.
    void ChooseResolution(int modeIndex);
    void ChooseTextureQuality(int quality);
    // Flips one of the effect switches ("shadows", "lighdows", "mirrors") and applies all three.
    void ToggleEffect(const char* setting);
    // Switching away may have given the display back to the desktop.
    void FocusGained();

private:
    // The size of the full-screen back buffer for the asked one ("resx" x
    // "resy"): itself when the display offers that 4:3 mode, else the
    // display's first. A display without any gets the size asked for (when it
    // is an acceptable one, else 1024 x 768) in a desktop-sized window, scaled
    // and letterboxed.
    std::pair<int, int> FullscreenSize(int width, int height) const;
    // Sets the window to the full-screen or windowed mode the player chose and
    // takes its back-buffer size as the screen size.
    void Apply(int requestedWidth, int requestedHeight);
    // The mode for the asked size, the device sized for it, the screens laid out again.
    void Reset(int requestedWidth, int requestedHeight);
    void ReadQuality();

    DWindow& m_window;
    CSettings& m_settings;
    bool m_headless;
    C3DEngine2* m_renderer = nullptr;
    CGameScreens* m_screens = nullptr;
    std::function<void()> m_relaidOut;

    std::vector<DDisplayMode> m_modes;
    CQualitySettings m_quality;
    int m_width = DWindow::kClientWidth;
    int m_height = DWindow::kClientHeight;
    // What the player asked for; the platform may have given a window anyway.
    bool m_fullscreen = false;
};
