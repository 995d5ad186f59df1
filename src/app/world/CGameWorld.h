#pragma once

#include "scene/CPolygonTable.h"
#include "scene/ISceneHost.h"
#include "script/IScriptEngineOwner.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class C3DEngine2;
class CCommand;
class CDispatchBase;
class CFileManager;
class CInterfaceBackend;
class CScene;
class CScriptEngine;
class CSettings;
class CSoundEngine;
class CState;
class DClock;
class IWorldObserver;

// The game world: what a new game builds and a restart throws away. The three
// stores, the game's script engine, the command parser with its vocabulary,
// the sound engine, the named polygons and the one scene at a time, with the
// switch from one scene to the next. Scenes and scripts reach the rest of the
// engine through it.
class CGameWorld : public ISceneHost, public IScriptEngineOwner {
public:
    struct Services {
        DClock& clock;
        CFileManager& files;
        const CSettings& settings;
        C3DEngine2& renderer;
        bool headless = false;
        std::filesystem::path captureAudio;
    };

    CGameWorld(const Services& services, IWorldObserver& observer);
    ~CGameWorld() override;
    CGameWorld(const CGameWorld&) = delete;
    CGameWorld& operator=(const CGameWorld&) = delete;

    // The object every script engine knows as "game"; set before the world starts.
    void SetGameObject(CDispatchBase* game) { m_gameObject = game; }

    // A new game: sound, stores and scripts anew, "master.ads" and its OnInit
    // run, the start scene chosen, the vocabulary read.
    void Start();
    // The world's end, in its fixed order: scene, parser, scripts, stores, sound.
    void End();

    // The frame's first step: a scene asked for is switched to, or the
    // state's scene loaded when there is none.
    void ApplySceneSwitch();
    // Only recorded: scenes switch at the start of the next frame.
    void RequestScene(std::string name) { m_pendingScene = std::move(name); }
    const std::string& PendingScene() const { return m_pendingScene; }
    // Replaces the current scene by a new one loaded from "name".scs.
    void LoadScene(const std::string& name);
    void UnloadScene();
    CScene* Scene() const { return m_scene; }
    // The scene to load: "scene" of the state store as text.
    std::string StateSceneName() const;

    // Fires a scene event when a scene is loaded.
    void FireSceneEvent(const std::string& event, const std::string& parameter);
    // The event polygons the free-move object stands in fire their "enter".
    void EnterEventPolygons();
    // Runs the game script's OnIdle, its due events, then the scene's step.
    void RunFrame(std::uint32_t elapsed);
    // The names of the carried things, in store order.
    std::vector<std::string> CarriedItems();

    // ISceneHost
    std::unique_ptr<CScriptEngine> CreateScriptEngine() override;
    std::string LoadScriptFile(const std::string& name) const override;
    C3DEngine2& Renderer() override { return m_services.renderer; }
    CPolygonTable& Polygons() override { return m_polygons; }
    std::uint32_t Now() const override;

    void OnScriptException(const std::string& report) override;

    CState& State() { return *m_state; }
    const CState& State() const { return *m_state; }
    CState& Inventory() { return *m_inventory; }
    const CState& Inventory() const { return *m_inventory; }
    CState& Setup() { return *m_setup; }
    const CState& Setup() const { return *m_setup; }
    CScriptEngine& ScriptEngine() { return *m_scriptEngine; }
    CCommand& Command() { return *m_command; }
    CSoundEngine& Sound() { return *m_sound; }

private:
    void LoadVocabulary();

    Services m_services;
    IWorldObserver& m_observer;
    CDispatchBase* m_gameObject = nullptr;

    std::unique_ptr<CSoundEngine> m_sound;
    std::unique_ptr<CState> m_state;
    std::unique_ptr<CState> m_inventory;
    std::unique_ptr<CState> m_setup;
    std::unique_ptr<CScriptEngine> m_scriptEngine;
    std::unique_ptr<CInterfaceBackend> m_interfaceBackend;
    std::unique_ptr<CCommand> m_command;

    // At most one scene, owned through its script reference: scripts may hold it too.
    CScene* m_scene = nullptr;
    std::string m_pendingScene;
    CPolygonTable m_polygons;
};
