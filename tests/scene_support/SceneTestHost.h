#pragma once

#include "platform/DClock.h"
#include "render/C3DEngine2.h"
#include "render/device/DDeviceNull.h"
#include "resources/CFileManager.h"
#include "scene/CPolygonTable.h"
#include "scene/ISceneHost.h"
#include "script/IScriptEngineOwner.h"
#include "state/CState.h"
#include "support/TempDir.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CScene;

// A box model as a sprite with the animations "idle" and "walk" (two frames
// each, the same box): width along x, height along y from 0, depth along z,
// centred on the y axis.
std::vector<std::uint8_t> BoxSprite(float width, float height, float depth);

// Stands in for the game: packs the given files (logical path -> bytes) into
// an archive, serves scripts, the renderer on the recording device, the
// polygon table and a manual clock. Every script engine it makes publishes
// "state" (a store the tests read back), "scene" once a scene is current, and
// runs "master.lib" when the archive has one. Script errors are collected.
class SceneTestHost : public ISceneHost, public IScriptEngineOwner {
public:
    using Files = std::map<std::string, std::vector<std::uint8_t>>;

    explicit SceneTestHost(const Files& files);
    ~SceneTestHost() override;

    // Files given as text.
    static std::vector<std::uint8_t> Text(const std::string& text);

    std::unique_ptr<CScriptEngine> CreateScriptEngine() override;
    std::string LoadScriptFile(const std::string& name) const override;
    C3DEngine2& Renderer() override { return *m_renderer; }
    CPolygonTable& Polygons() override { return m_polygons; }
    std::uint32_t Now() const override { return m_clock.Now(); }
    void OnScriptException(const std::string& report) override { m_errors.push_back(report); }

    // Builds a scene, makes it current and loads "name".scs with the grid.
    CScene& LoadScene(const std::string& name);
    void UnloadScene();
    CScene* Scene() const { return m_scene; }

    DClock& Clock() { return m_clock; }
    DDeviceNull& Device() { return m_device; }
    CState& State() { return *m_state; }
    const std::vector<std::string>& ScriptErrors() const { return m_errors; }

    // Runs scene OnIdle once per step of `stepMs` until `totalMs` have passed.
    void Run(std::uint32_t totalMs, std::uint32_t stepMs = 16);

private:
    TempDir m_folder;
    DClock m_clock{DClock::Mode::Manual, 1000};
    DDeviceNull m_device;
    std::unique_ptr<CFileManager> m_files;
    std::unique_ptr<C3DEngine2> m_renderer;
    CPolygonTable m_polygons;
    std::unique_ptr<CState> m_state;
    CScene* m_scene = nullptr;
    std::vector<std::string> m_errors;
};
