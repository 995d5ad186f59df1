#pragma once

#include "app/CCommandLine.h"
#include "app/CFrameTimer.h"
#include "app/CMouseButtons.h"
#include "app/commands/CMessageBoxQueue.h"
#include "render/image/CImage.h"
#include "platform/DMessage.h"
#include "platform/DWindow.h"
#include "scene/CPolygonTable.h"
#include "scene/ISceneHost.h"
#include "script/CDispatchBase.h"
#include "script/IScriptEngineOwner.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class C3DEngine2;
class CCameraControl;
class CCommandFlow;
class CGameMenu;
class CSaveSlots;
class CSavegameReader;
class CKeyboardInput;
class CMouseInput;
class CGameScreens;
class CCommand;
class CScene;
class CSceneObject;
class DDevice;
class CFileManager;
class CInterfaceBackend;
class CScriptEngine;
class CSoundEngine;
class CState;
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
// the destructor tears them down in the reverse one. It is also the script
// object "game" that every script engine knows.
class CGame : public CDispatchBase, public IScriptEngineOwner, public ISceneHost {
public:
    CGame(const CRunOptions& options, DClock& clock);
    ~CGame() override;
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    // The member table scripts see, in DISPID order; read-only, so that tools
    // and tests can list what scripts may use.
    static std::span<const DispatchMember> ScriptMembers();

    void Initialize(DWindow& window);
    void DoFrame();
    // After the clock was stepped by hand: lets the sound catch up with it, so
    // a captured run sounds as it would in real time.
    void SettleSound();
    // True when the message was handled; otherwise the window's default handling applies.
    bool HandleMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

    // A script engine with the standard objects published (and "scene" while
    // one is loaded) and the shared library run.
    std::unique_ptr<CScriptEngine> CreateScriptEngine() override;
    // The text of "data\scripts\" + name from the archives.
    std::string LoadScriptFile(const std::string& name) const override;
    C3DEngine2& Renderer() override { return *m_renderer; }
    CPolygonTable& Polygons() override { return m_polygons; }
    std::uint32_t Now() const override;

    // Replaces the current scene by a new one loaded from "name".scs.
    void LoadScene(const std::string& name);
    void UnloadScene();
    CScene* Scene() const { return m_scene; }
    const std::string& SceneName() const { return m_sceneName; }
    // Fires a scene event when a scene is loaded.
    void FireSceneEvent(const std::string& event, const std::string& parameter);

    void OnScriptException(const std::string& report) override;

    // The message box: the oldest queued message is shown; closing the one
    // shown fires its event and finishes a command line waiting to be cleared.
    void ShowNextMessageBox();
    void CloseMessageBox();
    // Fills the inventory window with the carried items when the inventory
    // changed, or always when forced.
    void RefreshInventory(bool force);

    // The game world starts over as at start-up: scene, scripts, stores and
    // sound anew; the window, the device and the screens stay.
    void RestartGame();
    // Writes the slot's savegame with the picture taken when the menu opened;
    // the message box says how it went.
    void Save(int slot, const std::string& description);
    // Reads the slot's savegame and, when it can be read, restarts the game
    // world and restores it. A savegame that turns out damaged once the world
    // is gone leaves a world started afresh, never a half-restored one.
    void Load(int slot);
    // The game script's text for a new savegame, or "saved game".
    std::string ConstructSavegameDescription();
    // The picture a save keeps: the last frame, scaled down.
    void TakeSavePicture();
    // The options panel's choices, written to the settings at once.
    void ChooseResolution(int modeIndex);
    void ChooseTextureQuality(int quality);
    // WM_QUIT with status 0 ends the main loop.
    void Quit();

    // {"state": {...}, "inventory": {...}, "setup": {...}}, written through a temporary file.
    void DumpState(const std::filesystem::path& file) const;
    // The last rendered frame as a PNG file.
    void WriteScreenshot(const std::filesystem::path& file);

    bool IsInitialized() const { return m_initialized; }
    CState& State() { return *m_state; }
    CState& Setup() { return *m_setup; }
    CScriptEngine& ScriptEngine() { return *m_scriptEngine; }
    CCommand& Command() { return *m_command; }
    CCommandFlow& Commands() { return *m_commands; }
    CGameMenu& Menu() { return *m_menu; }
    CSaveSlots& Slots() { return *m_slots; }
    CSoundEngine& Sound() { return *m_sound; }
    CMessageBoxQueue& MessageBoxes() { return m_messageBoxes; }
    const CMessageBoxQueue& MessageBoxes() const { return m_messageBoxes; }
    // Whether a press chooses from the context window (else the right button's release does).
    bool PickWindowHold() const { return m_pickWindowHold; }
    const std::string& PendingScene() const { return m_pendingScene; }
    const CFileManager& Files() const { return *m_files; }

    const std::vector<DDisplayMode>& DisplayModes() const { return m_displayModes; }
    const CQualitySettings& Quality() const { return m_quality; }
    DRegistry& Registry() { return *m_registry; }
    const CFrameTimer& FrameTimer() const { return m_frameTimer; }
    const CGameScreens& Screens() const { return *m_screens; }
    CGameScreens& Screens() { return *m_screens; }
    // The back buffer's size, which the cursor and the screens measure in.
    int ScreenWidth() const { return m_screenWidth; }
    int ScreenHeight() const { return m_screenHeight; }
    float CursorX() const { return m_cursorX; }
    float CursorY() const { return m_cursorY; }

protected:
    HRESULT InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                         Variant* result) override;

private:
    void StartGame();
    // The game world's end, in its fixed order: scene, messages, parser, scripts, stores, sound.
    void EndGame();
    void RestoreSavegame(CSavegameReader& reader);
    // The scene to load: "scene" of the state store as text.
    std::string StateSceneName() const;
    // The display mode for the asked size, the device sized for it, the screens laid out again.
    void ResetDisplay(int requestedWidth, int requestedHeight);
    void LoadVocabulary();
    void ChooseDisplayMode();
    // The size of the full-screen back buffer for the asked one ("resx" x
    // "resy"): itself when the display offers that 4:3 mode, else the
    // display's first. A display without any gets the size asked for (when it
    // is an acceptable one, else 1024 x 768) in a desktop-sized window, scaled
    // and letterboxed.
    std::pair<int, int> FullscreenSize(int width, int height) const;
    // Sets the window to the full-screen or windowed mode the player chose and
    // takes its back-buffer size as the screen size.
    void ApplyDisplayMode(int requestedWidth, int requestedHeight);
    void BuildGui();
    // Lays the screens out again for the current screen size.
    void Relayout();
    void ReadQualitySettings();
    // Frames keep step with the display unless the settings or the run say otherwise.
    void ReadFramePacing();
    void ReadGamepadSettings();
    void MoveCursor(int dx, int dy);
    // The mouse's part of a frame, with the pads' sticks moved by `elapsed`
    // milliseconds: cursor, hover and button edges.
    void HandleMouse(std::uint32_t elapsed);
    void RunScene(std::uint32_t now);
    // The input field, the inventory and the info text follow the setup store.
    void UpdateScreens();
    void ShowInfoText();
    // Keys and characters; a failure ends the handling of the one message.
    void HandleInput(std::uint32_t msg, std::uintptr_t wParam);
    // A failure inside one piece of input handling, told on stderr; the game goes on.
    static void ReportInputError(const std::string& text);
    void EnterEventPolygons();
    void ToggleFullscreen();

    CRunOptions m_options;
    DClock& m_clock;
    DWindow* m_window = nullptr;
    // Created in this order by Initialize; the destructor releases them in the reverse one.
    std::unique_ptr<CFileManager> m_files;
    std::unique_ptr<DRegistry> m_registry;
    std::unique_ptr<DDevice> m_device;
    std::unique_ptr<C3DEngine2> m_renderer;
    std::unique_ptr<CGameScreens> m_screens;
    std::unique_ptr<CCameraControl> m_camera;
    std::unique_ptr<CSoundEngine> m_sound;
    std::unique_ptr<CState> m_state;
    std::unique_ptr<CState> m_inventory;
    std::unique_ptr<CState> m_setup;
    std::unique_ptr<CScriptEngine> m_scriptEngine;
    std::unique_ptr<CInterfaceBackend> m_interfaceBackend;
    std::unique_ptr<CCommand> m_command;
    std::unique_ptr<CCommandFlow> m_commands;
    std::unique_ptr<CKeyboardInput> m_keyboard;
    std::unique_ptr<CMouseInput> m_mouse;
    std::unique_ptr<CGameMenu> m_menu;
    std::unique_ptr<CSaveSlots> m_slots;
    std::optional<CImage> m_savePicture;

    // At most one scene, owned through its script reference.
    CScene* m_scene = nullptr;
    std::string m_sceneName;
    CPolygonTable m_polygons;
    std::string m_pendingScene;
    CMessageBoxQueue m_messageBoxes;
    // The setup store's "info" as the input field shows it.
    std::u16string m_infoShown;
    std::vector<DDisplayMode> m_displayModes;
    CQualitySettings m_quality;

    CFrameTimer m_frameTimer;
    CMouseButtons m_buttons;
    float m_cursorX = 0;
    float m_cursorY = 0;
    int m_screenWidth = DWindow::kClientWidth;
    int m_screenHeight = DWindow::kClientHeight;
    // What the player asked for; the platform may have given a window anyway.
    bool m_fullscreen = false;

    bool m_initialized = false;
    bool m_renderSucceeded = false;
    bool m_pickWindowHold = false;
};
