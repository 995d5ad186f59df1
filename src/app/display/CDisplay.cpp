#include "app/display/CDisplay.h"

#include "app/CGameScreens.h"
#include "app/display/DisplayModes.h"
#include "app/settings/CSettings.h"
#include "render/C3DEngine2.h"
#include "render/CTextureTable.h"

#include <algorithm>

CDisplay::CDisplay(DWindow& window, CSettings& settings, bool headless)
    : m_window(window), m_settings(settings), m_headless(headless) {}

void CDisplay::Choose() {
    // Offscreen rendering has no display to fill.
    m_fullscreen = m_settings.Flag("fullscreen") && !m_headless;
    m_modes = AcceptDisplayModes(m_window.DisplayModes());
    Apply(m_settings.Int("resx"), m_settings.Int("resy"));
    ReadQuality();
}

void CDisplay::Attach(C3DEngine2& renderer, CGameScreens& screens, std::function<void()> relaidOut) {
    m_renderer = &renderer;
    m_screens = &screens;
    m_relaidOut = std::move(relaidOut);
}

void CDisplay::StartFramePacing(bool freeRunning) {
    m_window.SetFramePacing(m_settings.Flag("vsync") && !freeRunning);
}

void CDisplay::ReadQuality() {
    m_quality.textureQuality = m_settings.Int("texturequality");
    m_quality.lightEffects = m_settings.Flag("lighdows");
    m_quality.shadows = m_settings.Flag("shadows");
    m_quality.mirrors = m_settings.Flag("mirrors");
    m_quality.preload = m_settings.Flag("preload");
    m_quality.clear = m_settings.Flag("clear");
}

void CDisplay::Apply(int requestedWidth, int requestedHeight) {
    const auto [width, height] = m_fullscreen ? FullscreenSize(requestedWidth, requestedHeight)
                                              : std::pair{DWindow::kClientWidth, DWindow::kClientHeight};
    m_window.SetDisplayMode(width, height, m_fullscreen);
    m_width = width;
    m_height = height;
}

std::pair<int, int> CDisplay::FullscreenSize(int width, int height) const {
    if (!m_modes.empty()) {
        const DDisplayMode mode = ChooseDisplayMode(m_modes, width, height);
        return {static_cast<int>(mode.width), static_cast<int>(mode.height)};
    }
    const DDisplayMode asked{static_cast<std::uint32_t>(std::max(width, 0)),
                             static_cast<std::uint32_t>(std::max(height, 0))};
    if (AcceptDisplayModes({asked}).empty()) {
        return {DWindow::kClientWidth, DWindow::kClientHeight};
    }
    return {width, height};
}

void CDisplay::Reset(int requestedWidth, int requestedHeight) {
    Apply(requestedWidth, requestedHeight);
    m_renderer->CreateDevice(m_width, m_height, m_fullscreen);
    m_screens->Relayout(m_renderer->ScreenWidth(), m_renderer->ScreenHeight());
    if (m_relaidOut) {
        m_relaidOut();
    }
}

void CDisplay::ToggleFullscreen() {
    m_fullscreen = !m_fullscreen;
    Reset(m_settings.Int("resx"), m_settings.Int("resy"));
}

void CDisplay::ChooseResolution(int modeIndex) {
    if (modeIndex < 0 || modeIndex >= static_cast<int>(m_modes.size())) {
        return;
    }
    const DDisplayMode& mode = m_modes[static_cast<std::size_t>(modeIndex)];
    const int width = static_cast<int>(mode.width);
    const int height = static_cast<int>(mode.height);
    m_settings.SetInt("resx", width);
    m_settings.SetInt("resy", height);
    m_settings.SetInt("fullscreen", 1);
    // As Alt+Enter does: the chosen mode is a full-screen one.
    m_fullscreen = true;
    Reset(width, height);
}

void CDisplay::ChooseTextureQuality(int quality) {
    m_settings.SetInt("texturequality", quality);
    m_quality.textureQuality = quality;
    // Reloading takes a while: the loading panel says so.
    m_screens->ShowLoadingPanel(true);
    m_renderer->RenderSingleScreen();
    m_screens->ShowLoadingPanel(false);
    m_renderer->SetTextureQuality(quality);
    m_renderer->Textures().Restore();
}

void CDisplay::ToggleEffect(const char* setting) {
    m_settings.SetInt(setting, m_settings.Flag(setting) ? 0 : 1);
    m_renderer->SetEffects(m_settings.Flag("shadows"), m_settings.Flag("mirrors"), m_settings.Flag("lighdows"));
}

void CDisplay::FocusGained() {
    if (m_fullscreen) {
        m_window.SetDisplayMode(m_width, m_height, true);
    }
}
