#pragma once

#include "script/CDispatchBase.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

class C3DSpresh;
class CModelInstance;
class CParameterParser;
class CSceneObject;
class CScriptEngine;
class ISceneHost;
class PathFinder;

// One location of the game: its named objects (model instances, shapes and
// lights), its own script with the callbacks OnInit, OnIdle, OnEvent, OnAction
// and OnDestroy, and the path finder its characters walk with. Scripts know it
// as "scene"; scene.door is the object named door. A scene is never loaded
// twice: every scene switch builds a new one.
class CScene : public CDispatchBase {
public:
    // The grid spans this many cells across x.
    static constexpr float kGridCellsAcross = 100.0f;
    static constexpr float kClearance = 0.4f;
    static constexpr float kSmallObstacleSize = 1.0f;
    static constexpr float kSmallObstacleMargin = 0.5f;
    // Values that setshadowsfactor and setlightfactor change, set again at every load.
    static constexpr float kDefaultShadowStrength = 0.4f;
    static constexpr float kDefaultBrightness = 1.0f;

    // The member table scripts see, in DISPID order; read-only, so that tools
    // and tests can list what scripts may use.
    static std::span<const DispatchMember> ScriptMembers();

    explicit CScene(ISceneHost& host);
    // Runs OnDestroy, releases the objects and drops what the renderer holds for the scene.
    ~CScene() override;

    // Creates the scene's engine with "scene" published, runs
    // "data\scripts\" + name + ".scs" and "OnInit();", sizes the grid from the
    // enabled walk areas and builds the navigation.
    void Load(const std::string& name, bool buildGrid);
    void OnIdle();
    // Runs OnEvent(event, parameter) in the scene script; false when the script failed.
    bool OnEvent(const std::string& event, const std::string& parameter);
    // Runs OnAction(sentence, verb, object1, object2), the same four texts the
    // game script's OnAction gets; handled unless the function returns the
    // boolean false.
    bool OnAction(const std::string& sentence, const std::string& verb, const std::string& object1,
                  const std::string& object2);
    void RebuildNavigation();

    // Definitions (parameter texts); each failure throws CADVException and
    // leaves the scene unchanged.
    void AddObject(const std::string& definition);
    void AddShape(const std::string& definition);
    void AddLight(const std::string& definition);
    void UpdateLight(const std::string& name, const std::string& definition);
    void SetAmbientLight(const std::string& definition);
    void SetFog(const std::string& definition);
    void DeleteObject(const std::u16string& name);
    void EnableGroup(const std::string& group, bool visible);
    // Lights not marked always at a camera distance of at least `distance`
    // (disable) or less than it (enable).
    void SwitchLightsByCameraDistance(float distance, bool visible);

    // Queries
    std::int32_t SortObjects(const std::string& definition);
    const std::vector<CSceneObject*>& SortedObjects() const { return m_sorted; }
    CSceneObject* FindByName(const std::u16string& name) const;
    CSceneObject* FindById(std::uint32_t id) const;
    CSceneObject* FindPickableById(std::uint32_t id) const;
    CSceneObject* NextModelObject(const CSceneObject* current) const;
    CSceneObject* PreviousModelObject(const CSceneObject* current) const;
    // The name; "" for none, "unknown" for an object not in this scene.
    std::string NameOfObject(const CSceneObject* object) const;
    const std::vector<CSceneObject*>& Objects() const { return m_objects; }

    CSceneObject* FreeMoveObject() const { return m_freeMove; }
    void SetFreeMoveObject(CSceneObject* object) { m_freeMove = object; }
    PathFinder& GetPathFinder() { return *m_pathFinder; }
    CScriptEngine* Script() const { return m_script.get(); }
    ISceneHost& Host() const { return m_host; }

    // The scene record: every object in name order with its own state and its
    // instance or light record.
    void Save(std::vector<std::uint8_t>& out) const;
    // Reads the record into the scene its script has rebuilt; objects missing
    // from it are created from the record. Returns the bytes read. A damaged
    // record throws CADVException.
    std::size_t Restore(std::span<const std::uint8_t> data);

protected:
    DISPID FindName(std::u16string_view name) override;
    HRESULT InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                         Variant* result) override;

private:
    // A new object until the scene has taken it: released when a definition fails.
    struct ReleaseObjectRef {
        void operator()(CSceneObject* object) const;
    };
    using ObjectRef = std::unique_ptr<CSceneObject, ReleaseObjectRef>;
    struct NamedObject {
        CSceneObject* object;
        std::uint32_t id;
    };

    HRESULT InvokeTableMember(DISPID id, std::span<const Variant> args, Variant* result);

    // Definition steps shared by objects and shapes.
    void ExpectNewName(const std::u16string& name, const char* rejected) const;
    std::unique_ptr<CModelInstance> CreatePlacedInstance(const CParameterParser& parameters, C3DSpresh* model,
                                                         int kind) const;
    const CModelInstance* ParentInstance(const CParameterParser& parameters) const;
    // Shows the instance under the next id and enters the object in the scene.
    void Show(ObjectRef object, std::unique_ptr<CModelInstance> instance);
    // Enters a finished object in the list and dictionaries under the next id.
    void Register(CSceneObject* object);
    // Objects deleted while scripts or updates may still be running inside
    // them are released at the next safe point instead of at once.
    void ReleaseDeleted();
    void ReleaseObject(CSceneObject* object);

    ISceneHost& m_host;
    std::map<std::u16string, NamedObject, std::less<>> m_names;
    std::map<std::uint32_t, CSceneObject*> m_ids;
    // Owned (one reference each), in the order they were added.
    std::vector<CSceneObject*> m_objects;
    std::vector<CSceneObject*> m_sorted;
    std::uint32_t m_nextId = 0;
    std::uint32_t m_lastIdle = 0;
    std::unique_ptr<CScriptEngine> m_script;
    CSceneObject* m_freeMove = nullptr;
    std::unique_ptr<PathFinder> m_pathFinder;
    // Taken out of the scene, waiting for ReleaseDeleted.
    std::vector<CSceneObject*> m_deleted;
    // The objects one OnIdle updates; kept so that a frame allocates nothing.
    std::vector<CSceneObject*> m_updating;
};
