#include "app/CGame.h"

#include "app/CCameraControl.h"
#include "app/CGameScreens.h"
#include "app/DisplayModes.h"
#include "app/commands/CCommandFlow.h"
#include "app/menu/CGameMenu.h"
#include "app/savegame/CSaveSlots.h"
#include "app/input/CFreeMove.h"
#include "app/input/CKeyboardInput.h"
#include "app/input/CMouseInput.h"
#include "app/screens/CInputFieldScreen.h"
#include "app/screens/CInventoryScreen.h"
#include "app/screens/CMessageBoxScreen.h"
#include "app/screens/COptionsButtonScreen.h"
#include "parser/CCommand.h"
#include "parser/CInterfaceBackend.h"
#include "platform/DClock.h"
#include "platform/DPaths.h"
#include "platform/DRegistry.h"
#include "render/C3DEngine2.h"
#include "render/CMouseCursor.h"
#include "render/image/PngCodec.h"
#include "render/device/gl/DDeviceGL.h"
#include "resources/CADVException.h"
#include "resources/CFileManager.h"
#include "resources/CKeySet.h"
#include "resources/FileBytes.h"
#include "scene/CScene.h"
#include "scene/CSceneObject.h"
#include "script/CScriptEngine.h"
#include "script/TextConversion.h"
#include "sound/CSoundEngine.h"
#include "state/CState.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

const char* const kCursorFile = "data\\textures\\arrow.png";

} // namespace

CGame::CGame(const CRunOptions& options, DClock& clock)
    : CDispatchBase(ScriptMembers()), m_options(options), m_clock(clock) {}

CGame::~CGame() {
    EndGame();
    m_menu.reset();
    m_mouse.reset();
    m_keyboard.reset();
    m_commands.reset();
    m_camera.reset();
    m_screens.reset();
    m_renderer.reset();
    m_device.reset();
    if (m_window) {
        m_window->Mouse().Unacquire();
    }
    m_files.reset();
}

void CGame::Initialize(DWindow& window) {
    m_window = &window;

    const auto dataFolder = m_options.dataFolder.empty()
                                ? DPaths::DefaultDataFolder(DPaths::ExecutableFolder())
                                : m_options.dataFolder;
    const CKeySet keys = m_options.keyFile.empty() ? CKeySet::BuiltIn() : CKeySet::Load(m_options.keyFile);
    m_files = std::make_unique<CFileManager>(dataFolder, keys);

    const std::string game = DPaths::GameName(dataFolder);
    const auto settingsFile =
        m_options.settingsFile.empty() ? DPaths::DefaultSettingsFile(game) : m_options.settingsFile;
    m_slots = std::make_unique<CSaveSlots>(
        m_options.savesFolder.empty() ? DPaths::DefaultSavegameFolder(game) : m_options.savesFolder, keys);
    m_registry = std::make_unique<DRegistry>(settingsFile);

    ChooseDisplayMode();
    ReadQualitySettings();
    HRESULT hr = S_OK;
    m_device = DDeviceGL::Create(m_screenWidth, m_screenHeight, &hr);
    if (!m_device) {
        throw CADVException(
            hr, "Could not initialize graphics adapter.\nYou really need a Hardware Accelerated 3D "
                "Graphics Adapter to play this game.");
    }
    C3DEngine2::Settings settings;
    settings.textureQuality = m_quality.textureQuality;
    settings.shadows = m_quality.shadows;
    settings.mirrors = m_quality.mirrors;
    settings.lighdows = m_quality.lightEffects;
    settings.preload = m_quality.preload;
    m_renderer = std::make_unique<C3DEngine2>(*m_device, *m_files, DPaths::DefaultCacheFolder(), settings);
    m_renderer->SetClientSize(DWindow::kClientWidth, DWindow::kClientHeight);
    m_renderer->CreateDevice(m_screenWidth, m_screenHeight, m_fullscreen);
    m_renderer->SetVisible(true);
    ReadFramePacing();
    m_camera = std::make_unique<CCameraControl>(*m_renderer);
    m_window->Mouse().Acquire();
    ReadGamepadSettings();
    BuildGui();

    StartGame();
    m_initialized = true;
    m_renderSucceeded = true;
}

void CGame::BuildGui() {
    m_screens = std::make_unique<CGameScreens>(*m_renderer);
    m_renderer->SetSingleScreen(&m_screens->LoadingPanel());
    m_commands = std::make_unique<CCommandFlow>(*this);
    m_keyboard = std::make_unique<CKeyboardInput>(*this, *m_commands);
    m_mouse = std::make_unique<CMouseInput>(*this, *m_commands);
    m_menu = std::make_unique<CGameMenu>(*this);
}

void CGame::Relayout() {
    m_screens->Relayout(m_renderer->ScreenWidth(), m_renderer->ScreenHeight());
    MoveCursor(0, 0);
}

std::string CGame::StateSceneName() const {
    const Variant scene = m_state->GetVariant(u"scene");
    if (scene.Type() != VT_BSTR) {
        throw CADVException("CGame::DoFrame - The state variable scene does not hold a scene name.");
    }
    return WideToAnsi(scene.BstrValue());
}

void CGame::EndGame() {
    UnloadScene();
    m_messageBoxes.Clear();
    if (m_screens) {
        m_screens->MessageBox().Hide();
    }
    m_command.reset();
    m_interfaceBackend.reset();
    m_scriptEngine.reset();
    m_state.reset();
    m_inventory.reset();
    m_setup.reset();
    m_sound.reset();
}

void CGame::RestartGame() {
    EndGame();
    StartGame();
}

void CGame::StartGame() {
    m_messageBoxes.Clear();
    m_screens->MessageBox().Hide();
    m_commands->ClearCommandLine();
    m_infoShown.clear();
    m_screens->InputField().SetInfoText("");

    m_sound = std::make_unique<CSoundEngine>(
        *m_registry, m_clock, CSoundEngine::OpenOutput(m_clock, m_options.headless, m_options.captureAudio),
        [this](const std::string& path) { return m_files->LoadFile(path); });

    m_state = std::make_unique<CState>();
    m_inventory = std::make_unique<CState>();
    m_setup = std::make_unique<CState>();
    for (const char16_t* flag : {u"input", u"inputfield", u"mayload", u"maysave"}) {
        m_setup->SetBool(flag, true);
    }

    m_scriptEngine = CreateScriptEngine();
    m_scriptEngine->RunFile("master.ads", LoadScriptFile("master.ads"));
    m_scriptEngine->Run("OnInit();");

    if (const std::string start = m_registry->ReadString("startscene", "", false); !start.empty()) {
        m_state->SetVariant(u"scene", Variant::Bstr(AnsiToWide(start)));
    }
    m_pendingScene.clear();

    LoadVocabulary();

    m_keyboard->Reset();
    m_commands->Reset();
    RefreshInventory(true);
    m_buttons = CMouseButtons();
    m_camera->Stop();
    m_frameTimer.Start(m_clock.Now());
}

void CGame::LoadVocabulary() {
    m_interfaceBackend = std::make_unique<CInterfaceBackend>();
    m_command = std::make_unique<CCommand>(*m_interfaceBackend);
    for (const char* file : {"data/commands.txt", "data/objects.txt"}) {
        const std::vector<std::uint8_t> bytes = m_files->LoadFile(file);
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (file == std::string_view("data/commands.txt")) {
            m_interfaceBackend->LoadCommands(file, text);
        } else {
            m_interfaceBackend->LoadObjects(file, text);
        }
    }
}

std::unique_ptr<CScriptEngine> CGame::CreateScriptEngine() {
    auto engine = std::make_unique<CScriptEngine>("JScript", m_clock);
    engine->SetOwner(this);
    engine->AddObject(u"game", this);
    engine->AddObject(u"state", m_state.get());
    engine->AddObject(u"inventory", m_inventory.get());
    engine->AddObject(u"setup", m_setup.get());
    engine->AddObject(u"sound", m_sound.get());
    if (m_scene != nullptr) {
        engine->AddObject(u"scene", m_scene);
    }
    engine->RunFile("master.lib", LoadScriptFile("master.lib"));
    return engine;
}

std::string CGame::LoadScriptFile(const std::string& name) const {
    const std::vector<std::uint8_t> bytes = m_files->LoadFile("data\\scripts\\" + name);
    return std::string(bytes.begin(), bytes.end());
}

std::uint32_t CGame::Now() const {
    return m_clock.Now();
}

void CGame::LoadScene(const std::string& name) {
    UnloadScene();
    m_screens->InputField().Show(false);
    m_screens->Inventory().ShowPanel(false);
    m_screens->ShowFpsLabel(false);
    m_screens->ShowLoadingPanel(true);
    m_screens->OptionsButton().Show(false);
    // The loading screen shows without a cursor; the new scene gets it back.
    CMouseCursor& cursor = m_renderer->Cursor();
    cursor.Mouse_Enable(false, kCursorFile);
    m_renderer->RenderSingleScreen();
    m_screens->OptionsButton().Show(true);
    cursor.Mouse_Enable(true, kCursorFile);
    m_renderer->SetZoom(1.0f);
    m_sceneName = name;
    m_scene = new CScene(*this);
    m_scene->Load(name, true);
    EnterEventPolygons();
}

void CGame::UnloadScene() {
    if (m_scene != nullptr) {
        // Cleared first: scripts that run while the scene goes must not reach it through the game.
        CScene* scene = std::exchange(m_scene, nullptr);
        scene->Release();
    }
    if (m_sound) {
        m_sound->ClearEffects();
    }
    m_polygons.Clear();
    // The next scene hands out the same ids to other objects.
    if (m_commands) {
        m_commands->SetPickedObject(nullptr);
    }
}

void CGame::EnterEventPolygons() {
    if (m_scene == nullptr || m_scene->FreeMoveObject() == nullptr) {
        return;
    }
    const CSceneObject& mover = *m_scene->FreeMoveObject();
    m_polygons.FireContaining(
        mover.GroundX(), mover.GroundZ(),
        [this](const std::string& event, const char* what) { FireSceneEvent(event, what); });
}

void CGame::ShowNextMessageBox() {
    const CMessageBoxQueue::Entry& entry = m_messageBoxes.TakeNext();
    m_screens->MessageBox().Show(entry.text, m_screenWidth, m_screenHeight);
    if (m_scene != nullptr && m_scene->FreeMoveObject() != nullptr) {
        CSceneObject& mover = *m_scene->FreeMoveObject();
        mover.StopMovement();
        mover.OnEvent("freemove", "messagebox");
    }
}

void CGame::CloseMessageBox() {
    m_screens->MessageBox().Hide();
    // Copied: the event may queue and show further messages.
    const CMessageBoxQueue::Entry closed = m_messageBoxes.Current();
    if (!closed.event.empty()) {
        FireSceneEvent(closed.event, closed.eventParameter);
    }
    if (m_messageBoxes.Empty() && m_commands->ClearAfter()) {
        m_commands->ClearCommandLine();
    }
}

void CGame::RefreshInventory(bool force) {
    if (!m_inventory->IsModified() && !force) {
        return;
    }
    m_inventory->ClearModified();
    std::vector<std::string> items;
    for (std::u16string name = m_inventory->FirstName(); !name.empty(); name = m_inventory->NextName()) {
        // A name a script only asked about holds nothing, so it is not carried;
        // neither is one set to null.
        const Variant* value = m_inventory->FindValue(name);
        const bool empty = value == nullptr || value->Type() == VT_EMPTY || value->Type() == VT_NULL;
        if (!empty && m_inventory->GetBool(name)) {
            items.push_back(WideToAnsi(name));
        }
    }
    m_screens->Inventory().SetItems(items);
}

void CGame::FireSceneEvent(const std::string& event, const std::string& parameter) {
    if (m_scene != nullptr) {
        m_scene->OnEvent(event, parameter);
    }
}

void CGame::DumpState(const std::filesystem::path& file) const {
    const std::string json = "{\"state\": " + m_state->ToJson() +
                             ", \"inventory\": " + m_inventory->ToJson() +
                             ", \"setup\": " + m_setup->ToJson() + "}\n";
    WriteWholeFileReplacing(file, std::span(reinterpret_cast<const std::uint8_t*>(json.data()), json.size()));
}

void CGame::WriteScreenshot(const std::filesystem::path& file) {
    std::vector<std::uint8_t> rgba;
    int width = 0;
    int height = 0;
    if (const HRESULT hr = m_device->ReadBackBuffer(rgba, &width, &height); FAILED(hr)) {
        throw CADVException(hr, "CGame::WriteScreenshot - Could not read the frame back for %s.",
                            file.string().c_str());
    }
    if (!WritePng(file, width, height, rgba)) {
        throw CADVException("CGame::WriteScreenshot - Could not write %s.", file.string().c_str());
    }
}

void CGame::OnScriptException(const std::string& /*report*/) {
    // The report is already on stderr; the game's own handler decides what the player sees.
    if (m_scriptEngine) {
        m_scriptEngine->Call("OnScriptException");
    }
}

void CGame::ChooseDisplayMode() {
    const int requestedWidth = m_registry->ReadInt("resx", 1024, true);
    const int requestedHeight = m_registry->ReadInt("resy", 768, true);
    m_fullscreen = m_registry->ReadInt("fullscreen", 1, true) != 0;
    m_pickWindowHold = m_registry->ReadInt("pickwindowhold", 0, true) == 0;
    m_displayModes = AcceptDisplayModes(m_window->DisplayModes());
    // Offscreen rendering has no display to fill.
    if (m_options.headless) {
        m_fullscreen = false;
    }
    ApplyDisplayMode(requestedWidth, requestedHeight);
}

void CGame::ApplyDisplayMode(int requestedWidth, int requestedHeight) {
    const auto [width, height] = m_fullscreen ? FullscreenSize(requestedWidth, requestedHeight)
                                              : std::pair{DWindow::kClientWidth, DWindow::kClientHeight};
    m_window->SetDisplayMode(width, height, m_fullscreen);
    m_screenWidth = width;
    m_screenHeight = height;
}

std::pair<int, int> CGame::FullscreenSize(int width, int height) const {
    if (!m_displayModes.empty()) {
        const DDisplayMode mode = ::ChooseDisplayMode(m_displayModes, width, height);
        return {static_cast<int>(mode.width), static_cast<int>(mode.height)};
    }
    const DDisplayMode asked{static_cast<std::uint32_t>(std::max(width, 0)),
                             static_cast<std::uint32_t>(std::max(height, 0))};
    if (AcceptDisplayModes({asked}).empty()) {
        return {DWindow::kClientWidth, DWindow::kClientHeight};
    }
    return {width, height};
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

void CGame::ReadFramePacing() {
    // A fixed step and offscreen rendering are for runs that should go as fast as they can.
    const bool vsync = m_registry->ReadInt("vsync", 1, true) != 0;
    m_window->SetFramePacing(vsync && !m_options.headless && !m_options.fixedStep);
}

void CGame::ReadGamepadSettings() {
    const DStickMotion::Tuning defaults;
    DGamepad::Settings pads;
    pads.enabled = m_registry->ReadInt("gamepad", 1, true) != 0;
    // Pixels per second at full tilt, and the dead zone in percent of full tilt.
    const int speed = m_registry->ReadInt("gamepadspeed", static_cast<int>(defaults.speed), true);
    const int deadZone = m_registry->ReadInt("gamepaddeadzone",
                                             static_cast<int>(std::lround(defaults.deadZone * 100.0f)), true);
    pads.stick.speed = static_cast<float>(std::clamp(speed, 50, 10000));
    pads.stick.deadZone = static_cast<float>(std::clamp(deadZone, 0, 90)) / 100.0f;
    // Headless runs take only the pads of input files, never one plugged into the machine.
    m_window->Gamepad().Configure(pads, !m_options.headless);
}

void CGame::DoFrame() {
    m_frameTimer.BeginCycle();
    // A failure on the sound thread ends the game here, on the game's thread.
    m_sound->RethrowPending();

    if (!m_pendingScene.empty()) {
        UnloadScene();
        m_state->SetVariant(u"prevscene", m_state->GetVariant(u"scene"));
        m_state->SetVariant(u"scene", Variant::Bstr(AnsiToWide(m_pendingScene)));
        m_pendingScene.clear();
    }
    if (m_scene == nullptr) {
        LoadScene(StateSceneName());
    }
    if (!m_screens->MessageBox().Visible() && !m_messageBoxes.Empty()) {
        ShowNextMessageBox();
    }

    const std::uint32_t now = m_clock.Now();
    if (auto text = m_frameTimer.UpdateFps(now, m_screens->FpsLabelVisible())) {
        m_screens->SetFpsText(*text);
    }
    m_frameTimer.Clamp(now);

    HandleMouse(m_frameTimer.Elapsed(now));
    // Without a loaded scene the frame ends here: the last frame tick and the
    // previous button states stay as they are.
    if (m_scene == nullptr) {
        return;
    }
    if (CSceneObject* mover = m_scene->FreeMoveObject()) {
        CFreeMove::Step(*m_scene, *mover, m_polygons, m_frameTimer.Elapsed(now));
    }
    RunScene(now);
    m_screens->ShowFpsLabel(m_registry->ReadInt("showframerate", 0, false) != 0);
    m_screens->ShowLoadingPanel(false);
    UpdateScreens();
    m_renderSucceeded = m_renderer->RenderFrame(now, false);
    m_frameTimer.EndFrame(now);
    m_buttons.Commit();
}

void CGame::HandleMouse(std::uint32_t elapsed) {
    m_window->Gamepad().Advance(elapsed);
    DMouse::State mouse;
    if (m_window->Mouse().Read(mouse)) {
        m_buttons.Set(mouse.left, mouse.right);
    }
    MoveCursor(mouse.dx, mouse.dy);
    m_renderer->Cursor().SetPosition(m_cursorX, m_cursorY);
    const int x = static_cast<int>(m_cursorX);
    const int y = static_cast<int>(m_cursorY);
    m_mouse->CursorMoved(x, y, m_buttons.Left());
    for (const CMouseButtons::Edge edge : m_buttons.Edges()) {
        try {
            m_mouse->Button(edge, x, y);
        } catch (const CADVException& error) {
            ReportInputError(error.GetText());
        }
        // A click may have unloaded the scene; the frame then ends.
        if (m_scene == nullptr) {
            return;
        }
    }
}

void CGame::UpdateScreens() {
    const bool inputField = m_setup->GetBool(u"inputfield");
    m_screens->InputField().Show(inputField);
    m_screens->Inventory().ShowPanel(inputField);
    try {
        ShowInfoText();
    } catch (const CADVException&) {
        // A text that cannot be drawn costs only its own display this frame.
    }
    if (m_screens->Inventory().WindowVisible()) {
        RefreshInventory(false);
    }
}

void CGame::ShowInfoText() {
    // Compared in place: this runs every frame and must not allocate.
    const Variant* info = m_setup->FindValue(u"info");
    if (info != nullptr && info->Type() == VT_BSTR && info->BstrValue() != m_infoShown) {
        m_infoShown = info->BstrValue();
        m_screens->InputField().SetInfoText(WideToAnsi(m_infoShown));
    }
}

void CGame::RunScene(std::uint32_t now) {
    const auto fire = [this](const std::string& event, const std::string& parameter) {
        FireSceneEvent(event, parameter);
    };
    m_camera->Step(now, fire);
    const Variant elapsed = Variant::I4(static_cast<std::int32_t>(m_frameTimer.Elapsed(now)));
    m_scriptEngine->Call("OnIdle", {&elapsed, 1});
    m_scriptEngine->ProcessEvents();
    // The game's scripts may have unloaded the scene (a failed load leaves none).
    if (m_scene != nullptr) {
        m_scene->OnIdle();
    }
}

void CGame::SettleSound() {
    // Generous: a stalled streaming thread must not hang the run, it only loses sound.
    constexpr std::uint32_t kMaxWaitMs = 2000;
    m_sound->WaitUntilMixed(kMaxWaitMs);
}

void CGame::MoveCursor(int dx, int dy) {
    constexpr float kStep = DMouse::kCursorPixelsPerStep;
    m_cursorX =
        std::clamp(m_cursorX + kStep * static_cast<float>(dx), 0.0f, static_cast<float>(m_screenWidth - 1));
    m_cursorY =
        std::clamp(m_cursorY + kStep * static_cast<float>(dy), 0.0f, static_cast<float>(m_screenHeight - 1));
}

void CGame::ToggleFullscreen() {
    m_fullscreen = !m_fullscreen;
    ResetDisplay(m_registry->ReadInt("resx", 1024, false), m_registry->ReadInt("resy", 768, false));
}

void CGame::ResetDisplay(int requestedWidth, int requestedHeight) {
    ApplyDisplayMode(requestedWidth, requestedHeight);
    m_renderer->CreateDevice(m_screenWidth, m_screenHeight, m_fullscreen);
    Relayout();
}

void CGame::ChooseResolution(int modeIndex) {
    if (modeIndex < 0 || modeIndex >= static_cast<int>(m_displayModes.size())) {
        return;
    }
    const DDisplayMode& mode = m_displayModes[static_cast<std::size_t>(modeIndex)];
    const int width = static_cast<int>(mode.width);
    const int height = static_cast<int>(mode.height);
    m_registry->WriteInt("resx", width, false);
    m_registry->WriteInt("resy", height, false);
    m_registry->WriteInt("fullscreen", 1, true);
    // As Alt+Enter does: the chosen mode is a full-screen one.
    m_fullscreen = true;
    ResetDisplay(width, height);
}

void CGame::ChooseTextureQuality(int quality) {
    m_registry->WriteInt("texturequality", quality, true);
    m_quality.textureQuality = quality;
    // Reloading takes a while: the loading panel says so.
    m_screens->ShowLoadingPanel(true);
    m_renderer->RenderSingleScreen();
    m_screens->ShowLoadingPanel(false);
    m_renderer->SetTextureQuality(quality);
    m_renderer->Textures().Restore();
}

void CGame::Quit() {
    m_window->PostQuitMessage(0);
}

bool CGame::HandleMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t /*lParam*/) {
    switch (msg) {
    case WM_DESTROY:
        m_window->PostQuitMessage(0);
        return true;
    case WM_SETFOCUS:
        // Switching away may have given the display back to the desktop.
        if (m_initialized && m_fullscreen) {
            m_window->SetDisplayMode(m_screenWidth, m_screenHeight, true);
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
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        HandleInput(msg, wParam);
        return true;
    default:
        return false;
    }
}

void CGame::HandleInput(std::uint32_t msg, std::uintptr_t wParam) {
    if (!m_initialized) {
        return;
    }
    const auto code = static_cast<std::uint32_t>(wParam);
    try {
        if (msg == WM_KEYDOWN) {
            m_keyboard->KeyDown(code);
        } else if (msg == WM_KEYUP) {
            m_keyboard->KeyUp(code);
        } else {
            m_keyboard->Character(code);
        }
    } catch (const CADVException& error) {
        ReportInputError(error.GetText());
    }
}

void CGame::ReportInputError(const std::string& text) {
    std::fprintf(stderr, "morvane: %s\n", text.c_str());
}
