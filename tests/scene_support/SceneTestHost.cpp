#include "scene_support/SceneTestHost.h"

#include "render/model/ModelPrimitives.h"
#include "resources/CArchiveWriter.h"
#include "resources/CKeySet.h"
#include "scene/CScene.h"
#include "script/CScriptEngine.h"

std::vector<std::uint8_t> BoxSprite(float width, float height, float depth) {
    ModelMeshData box;
    D3DMATERIAL9 grey;
    grey.Diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
    grey.Ambient = grey.Diffuse;
    AddModelBox(box, {-width / 2, 0.0f, -depth / 2}, {width / 2, height, depth / 2}, {"box", "", grey});
    return CModelWriter::WriteSprite({{"idle", {box, box}}, {"walk", {box, box}}});
}

SceneTestHost::SceneTestHost(const Files& files) {
    CArchiveWriter archive("resource.000");
    for (const auto& [path, bytes] : files) {
        const auto split = CFileManager::Split(path);
        archive.Add(split.dir, split.name, bytes);
    }
    archive.Write(m_folder.Path() / "resource.000");
    m_files = std::make_unique<CFileManager>(m_folder.Path(), CKeySet::BuiltIn());
    m_renderer =
        std::make_unique<C3DEngine2>(m_device, *m_files, std::filesystem::path(), C3DEngine2::Settings{});
    m_state = std::make_unique<CState>();
}

SceneTestHost::~SceneTestHost() {
    UnloadScene();
}

std::vector<std::uint8_t> SceneTestHost::Text(const std::string& text) {
    return {text.begin(), text.end()};
}

std::unique_ptr<CScriptEngine> SceneTestHost::CreateScriptEngine() {
    auto engine = std::make_unique<CScriptEngine>("JScript", m_clock);
    engine->SetOwner(this);
    engine->AddObject(u"state", m_state.get());
    if (m_scene != nullptr) {
        engine->AddObject(u"scene", m_scene);
    }
    if (m_files->Find("data\\scripts\\master.lib")) {
        engine->RunFile("master.lib", LoadScriptFile("master.lib"));
    }
    return engine;
}

std::string SceneTestHost::LoadScriptFile(const std::string& name) const {
    const std::vector<std::uint8_t> bytes = m_files->LoadFile("data\\scripts\\" + name);
    return {bytes.begin(), bytes.end()};
}

CScene& SceneTestHost::LoadScene(const std::string& name) {
    UnloadScene();
    m_scene = new CScene(*this);
    m_scene->Load(name, true);
    return *m_scene;
}

void SceneTestHost::UnloadScene() {
    if (m_scene != nullptr) {
        CScene* scene = m_scene;
        m_scene = nullptr;
        scene->Release();
    }
    m_polygons.Clear();
}

void SceneTestHost::Run(std::uint32_t totalMs, std::uint32_t stepMs) {
    for (std::uint32_t passed = 0; passed < totalMs; passed += stepMs) {
        m_clock.Advance(stepMs);
        if (m_scene != nullptr) {
            m_scene->OnIdle();
        }
    }
}
