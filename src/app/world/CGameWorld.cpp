#include "app/world/CGameWorld.h"

#include "app/settings/CSettings.h"
#include "app/world/IWorldObserver.h"
#include "parser/CCommand.h"
#include "parser/CInterfaceBackend.h"
#include "platform/DClock.h"
#include "render/C3DEngine2.h"
#include "resources/CADVException.h"
#include "resources/CFileManager.h"
#include "scene/CScene.h"
#include "scene/CSceneObject.h"
#include "script/CScriptEngine.h"
#include "script/TextConversion.h"
#include "sound/CSoundEngine.h"
#include "state/CState.h"

#include <utility>

CGameWorld::CGameWorld(const Services& services, IWorldObserver& observer)
    : m_services(services), m_observer(observer) {}

CGameWorld::~CGameWorld() {
    End();
}

void CGameWorld::Start() {
    const CSettings& settings = m_services.settings;
    const CSoundEngine::Settings sound{settings.Int("latencybuffer"), settings.Int("effectvolume"),
                                       settings.Int("musicvolume"), settings.Int("mastervolume")};
    m_sound = std::make_unique<CSoundEngine>(
        sound, m_services.clock,
        CSoundEngine::OpenOutput(m_services.clock, m_services.headless, m_services.captureAudio),
        [this](const std::string& path) { return m_services.files.LoadFile(path); });

    m_state = std::make_unique<CState>();
    m_inventory = std::make_unique<CState>();
    m_setup = std::make_unique<CState>();
    for (const char16_t* flag : {u"input", u"inputfield", u"mayload", u"maysave"}) {
        m_setup->SetBool(flag, true);
    }

    m_scriptEngine = CreateScriptEngine();
    m_scriptEngine->RunFile("master.ads", LoadScriptFile("master.ads"));
    m_scriptEngine->Run("OnInit();");

    if (const std::string start = settings.Text("startscene"); !start.empty()) {
        m_state->SetVariant(u"scene", Variant::Bstr(AnsiToWide(start)));
    }
    m_pendingScene.clear();

    LoadVocabulary();
}

void CGameWorld::End() {
    UnloadScene();
    m_command.reset();
    m_interfaceBackend.reset();
    m_scriptEngine.reset();
    m_state.reset();
    m_inventory.reset();
    m_setup.reset();
    m_sound.reset();
}

void CGameWorld::LoadVocabulary() {
    m_interfaceBackend = std::make_unique<CInterfaceBackend>();
    m_command = std::make_unique<CCommand>(*m_interfaceBackend);
    for (const char* file : {"data/commands.txt", "data/objects.txt"}) {
        const std::vector<std::uint8_t> bytes = m_services.files.LoadFile(file);
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (file == std::string_view("data/commands.txt")) {
            m_interfaceBackend->LoadCommands(file, text);
        } else {
            m_interfaceBackend->LoadObjects(file, text);
        }
    }
}

std::string CGameWorld::StateSceneName() const {
    const Variant scene = m_state->GetVariant(u"scene");
    if (scene.Type() != VT_BSTR) {
        throw CADVException("CGameWorld::StateSceneName - The state variable scene does not hold a scene name.");
    }
    return WideToAnsi(scene.BstrValue());
}

void CGameWorld::ApplySceneSwitch() {
    if (!m_pendingScene.empty()) {
        UnloadScene();
        m_state->SetVariant(u"prevscene", m_state->GetVariant(u"scene"));
        m_state->SetVariant(u"scene", Variant::Bstr(AnsiToWide(m_pendingScene)));
        m_pendingScene.clear();
    }
    if (m_scene == nullptr) {
        LoadScene(StateSceneName());
    }
}

void CGameWorld::LoadScene(const std::string& name) {
    UnloadScene();
    m_observer.SceneLoading();
    m_services.renderer.SetZoom(1.0f);
    m_scene = new CScene(*this);
    m_scene->Load(name, true);
    EnterEventPolygons();
}

void CGameWorld::UnloadScene() {
    CScene* scene = std::exchange(m_scene, nullptr);
    if (scene != nullptr) {
        // Cleared first: scripts that run while the scene goes must not reach it through the game.
        scene->Release();
    }
    if (m_sound) {
        m_sound->ClearEffects();
    }
    m_polygons.Clear();
    if (scene != nullptr) {
        m_observer.SceneGone();
    }
}

void CGameWorld::EnterEventPolygons() {
    if (m_scene == nullptr || m_scene->FreeMoveObject() == nullptr) {
        return;
    }
    const CSceneObject& mover = *m_scene->FreeMoveObject();
    m_polygons.FireContaining(
        mover.GroundX(), mover.GroundZ(),
        [this](const std::string& event, const char* what) { FireSceneEvent(event, what); });
}

void CGameWorld::FireSceneEvent(const std::string& event, const std::string& parameter) {
    if (m_scene != nullptr) {
        m_scene->OnEvent(event, parameter);
    }
}

void CGameWorld::RunFrame(std::uint32_t elapsed) {
    const Variant ms = Variant::I4(static_cast<std::int32_t>(elapsed));
    m_scriptEngine->Call("OnIdle", {&ms, 1});
    m_scriptEngine->ProcessEvents();
    // The game's scripts may have unloaded the scene (a failed load leaves none).
    if (m_scene != nullptr) {
        m_scene->OnIdle();
    }
}

std::vector<std::string> CGameWorld::CarriedItems() {
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
    return items;
}

std::unique_ptr<CScriptEngine> CGameWorld::CreateScriptEngine() {
    auto engine = std::make_unique<CScriptEngine>("JScript", m_services.clock);
    engine->SetOwner(this);
    engine->AddObject(u"game", m_gameObject);
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

std::string CGameWorld::LoadScriptFile(const std::string& name) const {
    const std::vector<std::uint8_t> bytes = m_services.files.LoadFile("data\\scripts\\" + name);
    return std::string(bytes.begin(), bytes.end());
}

std::uint32_t CGameWorld::Now() const {
    return m_services.clock.Now();
}

void CGameWorld::OnScriptException(const std::string& /*report*/) {
    // The report is already on stderr; the game's own handler decides what the player sees.
    if (m_scriptEngine) {
        m_scriptEngine->Call("OnScriptException");
    }
}
