#pragma once

#include "app/CCommandLine.h"
#include "app/CFrameTimer.h"
#include "app/IGameSession.h"
#include "app/display/CDisplay.h"
#include "app/world/IWorldObserver.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

class C3DEngine2;
class CCameraControl;
class CCommandFlow;
class CFileManager;
class CGameMenu;
class CGameSaves;
class CGameScreens;
class CGameScriptObject;
class CGameWorld;
class CInputRouter;
class CKeyboardInput;
class CMessageBoxFlow;
class CMouseInput;
class CSaveSlots;
class CScreenSync;
class CSettings;
class DClock;
class DDevice;
class DRegistry;
class DWindow;

// The conductor: builds every part of the game in its fixed order, runs one
// frame as a fixed order of steps that the parts carry out, hands the
// window's messages to them between frames, and tears everything down in the
// reverse order. It is the session the menu drives (new game, save, load,
// quit) and what the game world tells about scenes coming and going.
class CGame : public IGameSession, public IWorldObserver {
public:
    CGame(const CRunOptions& options, DClock& clock);
    ~CGame();
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    void Initialize(DWindow& window);
    void DoFrame();
    // After the clock was stepped by hand: lets the sound catch up with it, so
    // a captured run sounds as it would in real time.
    void SettleSound();
    // True when the message was handled; otherwise the window's default handling applies.
    bool HandleMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

    // IGameSession
    void RestartGame() override;
    void Save(int slot, const std::string& description) override;
    void Load(int slot) override;
    std::string ConstructSavegameDescription() override;
    void TakeSavePicture() override;
    // WM_QUIT with status 0 ends the main loop.
    void Quit() override;

    // {"state": {...}, "inventory": {...}, "setup": {...}}, written through a temporary file.
    void DumpState(const std::filesystem::path& file) const;
    // The last rendered frame as a PNG file.
    void WriteScreenshot(const std::filesystem::path& file);

    // The parts, for the frame driver, the tests and the benchmarks.
    bool IsInitialized() const { return m_initialized; }
    CGameWorld& World() { return *m_world; }
    CGameScriptObject& ScriptObject() { return *m_scriptObject; }
    CCommandFlow& Commands() { return *m_commands; }
    CGameMenu& Menu() { return *m_menu; }
    CInputRouter& Input() { return *m_input; }
    CMessageBoxFlow& MessageBoxes() { return *m_messageBoxes; }
    CGameScreens& Screens() { return *m_screens; }
    const CGameScreens& Screens() const { return *m_screens; }
    C3DEngine2& Renderer() { return *m_renderer; }
    const CQualitySettings& Quality() const { return m_display->Quality(); }
    // The back buffer's size, which the cursor and the screens measure in.
    int ScreenWidth() const { return m_display->Width(); }
    int ScreenHeight() const { return m_display->Height(); }
    CMouseInput& Mouse() { return *m_mouse; }

private:
    // IWorldObserver
    void SceneLoading() override;
    void SceneGone() override;

    void CreateRenderer();
    void BuildGui();
    void StartGame();
    void RunScene(std::uint32_t now);

    CRunOptions m_options;
    DClock& m_clock;
    DWindow* m_window = nullptr;
    // Created in this order by Initialize; the destructor releases them in the reverse one.
    std::unique_ptr<CFileManager> m_files;
    std::unique_ptr<DRegistry> m_registry;
    std::unique_ptr<CSettings> m_settings;
    std::unique_ptr<CSaveSlots> m_slots;
    std::unique_ptr<CDisplay> m_display;
    std::unique_ptr<DDevice> m_device;
    std::unique_ptr<C3DEngine2> m_renderer;
    std::unique_ptr<CCameraControl> m_camera;
    std::unique_ptr<CGameScreens> m_screens;
    std::unique_ptr<CGameWorld> m_world;
    std::unique_ptr<CMessageBoxFlow> m_messageBoxes;
    std::unique_ptr<CCommandFlow> m_commands;
    std::unique_ptr<CGameScriptObject> m_scriptObject;
    std::unique_ptr<CScreenSync> m_screenSync;
    std::unique_ptr<CGameMenu> m_menu;
    std::unique_ptr<CKeyboardInput> m_keyboard;
    std::unique_ptr<CInputRouter> m_input;
    std::unique_ptr<CMouseInput> m_mouse;
    std::unique_ptr<CGameSaves> m_saves;

    CFrameTimer m_frameTimer;
    bool m_initialized = false;
};
