#include "app/CGame.h"

#include "app/CCameraControl.h"
#include "app/CGameScreens.h"
#include "app/CRunOutputs.h"
#include "app/CScreenSync.h"
#include "app/commands/CCommandFlow.h"
#include "app/commands/CMessageBoxFlow.h"
#include "app/input/CFreeMove.h"
#include "app/input/CInputRouter.h"
#include "app/input/CKeyboardInput.h"
#include "app/input/CMouseInput.h"
#include "app/menu/CGameMenu.h"
#include "app/savegame/CGameSaves.h"
#include "app/savegame/CSaveSlots.h"
#include "app/screens/COptionsButtonScreen.h"
#include "app/settings/CSettings.h"
#include "app/world/CGameScriptObject.h"
#include "app/world/CGameWorld.h"
#include "platform/DClock.h"
#include "platform/DPaths.h"
#include "platform/DRegistry.h"
#include "platform/DWindow.h"
#include "render/C3DEngine2.h"
#include "render/CMouseCursor.h"
#include "render/device/gl/DDeviceGL.h"
#include "resources/CADVException.h"
#include "resources/CFileManager.h"
#include "resources/CKeySet.h"
#include "scene/CScene.h"
#include "sound/CSoundEngine.h"

namespace {

const char* const kCursorFile = "data\\textures\\arrow.png";

} // namespace

CGame::CGame(const CRunOptions& options, DClock& clock) : m_options(options), m_clock(clock) {}

CGame::~CGame() {
    // The world goes first: its scripts and scene still reach the screens and the renderer.
    // The rest goes in the reverse order of creation, as the members are declared.
    if (m_world) {
        m_world->End();
    }
    if (m_window) {
        m_window->Mouse().Unacquire();
    }
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
    m_settings = std::make_unique<CSettings>(*m_registry);
    m_settings->WriteMissingDefaults();

    m_display = std::make_unique<CDisplay>(window, *m_settings, m_options.headless);
    m_display->Choose();
    CreateRenderer();
    // A fixed step and offscreen rendering are for runs that should go as fast as they can.
    m_display->StartFramePacing(m_options.headless || m_options.fixedStep);
    m_camera = std::make_unique<CCameraControl>(*m_renderer);
    m_window->Mouse().Acquire();
    BuildGui();
    // Headless runs take only the pads of input files, never one plugged into the machine.
    m_mouse->ConfigurePads(*m_window, *m_settings, !m_options.headless);

    StartGame();
    m_initialized = true;
}

void CGame::CreateRenderer() {
    HRESULT hr = S_OK;
    m_device = DDeviceGL::Create(m_display->Width(), m_display->Height(), &hr);
    if (!m_device) {
        throw CADVException(
            hr, "Could not initialize graphics adapter.\nYou really need a Hardware Accelerated 3D "
                "Graphics Adapter to play this game.");
    }
    const CQualitySettings& quality = m_display->Quality();
    C3DEngine2::Settings settings;
    settings.textureQuality = quality.textureQuality;
    settings.shadows = quality.shadows;
    settings.mirrors = quality.mirrors;
    settings.lighdows = quality.lightEffects;
    settings.preload = quality.preload;
    m_renderer = std::make_unique<C3DEngine2>(*m_device, *m_files, DPaths::DefaultCacheFolder(), settings);
    m_renderer->SetClientSize(DWindow::kClientWidth, DWindow::kClientHeight);
    m_renderer->CreateDevice(m_display->Width(), m_display->Height(), m_display->Fullscreen());
    m_renderer->SetVisible(true);
}

void CGame::BuildGui() {
    m_screens = std::make_unique<CGameScreens>(*m_renderer);
    m_renderer->SetSingleScreen(&m_screens->LoadingPanel());
    m_world = std::make_unique<CGameWorld>(
        CGameWorld::Services{m_clock, *m_files, *m_settings, *m_renderer, m_options.headless,
                             m_options.captureAudio},
        *this);
    m_messageBoxes = std::make_unique<CMessageBoxFlow>(m_screens->MessageBox(), *m_world, *m_display);
    m_commands = std::make_unique<CCommandFlow>(*m_world, *m_screens, *m_messageBoxes, *m_display, *m_settings);
    m_messageBoxes->SetAfterLast([this] {
        if (m_commands->ClearAfter()) {
            m_commands->ClearCommandLine();
        }
    });
    m_scriptObject =
        std::make_unique<CGameScriptObject>(*m_world, *m_messageBoxes, *m_camera, *m_commands, *m_screens);
    m_world->SetGameObject(m_scriptObject.get());
    m_screenSync = std::make_unique<CScreenSync>(*m_screens, *m_world);
    m_menu = std::make_unique<CGameMenu>(*this, *m_screens, *m_settings, *m_display, *m_world, *m_slots);
    m_keyboard = std::make_unique<CKeyboardInput>(*m_world, *m_messageBoxes, *m_commands);
    m_input = std::make_unique<CInputRouter>(*m_screens, *m_menu, *m_messageBoxes, *m_commands, *m_keyboard);
    m_mouse = std::make_unique<CMouseInput>(*m_input, *m_menu, *m_commands, *m_display);
    m_saves = std::make_unique<CGameSaves>(*m_world, *m_slots, *m_device, *m_messageBoxes,
                                           [this] { RestartGame(); });
    m_display->Attach(*m_renderer, *m_screens, [this] { m_mouse->MoveCursor(0, 0); });
}

void CGame::StartGame() {
    m_messageBoxes->Clear();
    m_commands->ClearCommandLine();
    m_screenSync->Reset();
    m_world->Start();
    m_keyboard->Reset();
    m_commands->Reset();
    m_screenSync->RefreshInventory(true);
    m_mouse->ResetButtons();
    m_camera->Stop();
    m_frameTimer.Start(m_clock.Now());
}

void CGame::RestartGame() {
    m_world->End();
    m_messageBoxes->Clear();
    m_screens->ContextWindow().Hide();
    StartGame();
}

void CGame::SceneLoading() {
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
}

void CGame::SceneGone() {
    // The next scene hands out the same ids to other objects.
    if (m_commands) {
        m_commands->SetPickedObject(nullptr);
    }
}

void CGame::DoFrame() {
    m_frameTimer.BeginCycle();
    // A failure on the sound thread ends the game here, on the game's thread.
    m_world->Sound().RethrowPending();
    m_world->ApplySceneSwitch();
    m_messageBoxes->ShowNextIfNoneShown();

    const std::uint32_t now = m_clock.Now();
    if (auto text = m_frameTimer.UpdateFps(now, m_screens->FpsLabelVisible())) {
        m_screens->SetFpsText(*text);
    }
    m_frameTimer.Clamp(now);

    m_mouse->Frame(*m_window, m_renderer->Cursor(), *m_world, m_frameTimer.Elapsed(now));
    // Without a loaded scene the frame ends here: the last frame tick and the
    // previous button states stay as they are.
    CScene* scene = m_world->Scene();
    if (scene == nullptr) {
        return;
    }
    if (CSceneObject* mover = scene->FreeMoveObject()) {
        CFreeMove::Step(*scene, *mover, m_world->Polygons(), m_frameTimer.Elapsed(now));
    }
    RunScene(now);
    m_screens->ShowFpsLabel(m_settings->Flag("showframerate"));
    m_screens->ShowLoadingPanel(false);
    m_screenSync->Update();
    m_renderer->RenderFrame(now, false);
    m_frameTimer.EndFrame(now);
    m_mouse->CommitButtons();
}

void CGame::RunScene(std::uint32_t now) {
    m_camera->Step(now, [this](const std::string& event, const std::string& parameter) {
        m_world->FireSceneEvent(event, parameter);
    });
    m_world->RunFrame(m_frameTimer.Elapsed(now));
}

void CGame::SettleSound() {
    // Generous: a stalled streaming thread must not hang the run, it only loses sound.
    constexpr std::uint32_t kMaxWaitMs = 2000;
    m_world->Sound().WaitUntilMixed(kMaxWaitMs);
}

bool CGame::HandleMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t /*lParam*/) {
    switch (msg) {
    case WM_DESTROY:
        m_window->PostQuitMessage(0);
        return true;
    case WM_SETFOCUS:
        if (m_initialized) {
            m_display->FocusGained();
        }
        m_window->Mouse().Acquire();
        return true;
    case WM_KILLFOCUS:
        m_window->Mouse().Unacquire();
        return true;
    case WM_SYSKEYDOWN:
        if (wParam == VK_RETURN) {
            m_display->ToggleFullscreen();
            return true;
        }
        return false;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        if (m_initialized) {
            m_input->Dispatch(msg, static_cast<std::uint32_t>(wParam));
        }
        return true;
    default:
        return false;
    }
}

void CGame::Save(int slot, const std::string& description) {
    m_saves->Save(slot, description);
}

void CGame::Load(int slot) {
    m_saves->Load(slot);
}

std::string CGame::ConstructSavegameDescription() {
    return m_saves->ConstructSavegameDescription();
}

void CGame::TakeSavePicture() {
    m_saves->TakeSavePicture();
}

void CGame::Quit() {
    m_window->PostQuitMessage(0);
}

void CGame::DumpState(const std::filesystem::path& file) const {
    CRunOutputs::DumpState(*m_world, file);
}

void CGame::WriteScreenshot(const std::filesystem::path& file) {
    CRunOutputs::WriteScreenshot(*m_device, file);
}
