#include "scene/CScene.h"

#include "navigation/PathFinder.h"
#include "render/C3DEngine2.h"
#include "render/model/CModelInstance.h"
#include "scene/CPolygonTable.h"
#include "scene/CSceneObject.h"
#include "scene/ISceneHost.h"
#include "script/CScriptEngine.h"
#include "script/TextConversion.h"

#include <algorithm>
#include <array>

namespace {

PathPolygon PlacedPoints(const CPolygon& polygon) {
    PathPolygon points;
    points.reserve(polygon.GetPoints().size());
    for (const CPolygon::Point& p : polygon.GetPoints()) {
        points.push_back({p.placedX, p.placedZ});
    }
    return points;
}

template <class Visit> void ForEachEnabledWalkArea(const CPolygonTable& polygons, Visit visit) {
    for (const auto& [name, entry] : polygons.GetEntries()) {
        if (entry.enabled && entry.type == EPolygonType::WalkInside) {
            visit(entry.outline);
        }
    }
}

} // namespace

CScene::CScene(ISceneHost& host)
    : CDispatchBase(ScriptMembers()), m_host(host), m_pathFinder(std::make_unique<PathFinder>()) {}

CScene::~CScene() {
    // OnDestroy may still walk objects, so the path finder outlives it.
    if (m_script) {
        m_script->Call("OnDestroy");
        m_script.reset();
    }
    ReleaseDeleted();
    for (CSceneObject* object : m_objects) {
        object->Release();
    }
    m_pathFinder.reset();
    m_host.Renderer().UnloadScene();
}

void CScene::Load(const std::string& name, bool buildGrid) {
    m_script = m_host.CreateScriptEngine();
    m_script->AddObject(u"scene", this);
    C3DEngine2& renderer = m_host.Renderer();
    renderer.SetShadowStrength(kDefaultShadowStrength);
    renderer.SetBrightness(kDefaultBrightness);
    m_script->RunFile(name + ".scs", m_host.LoadScriptFile(name + ".scs"));
    m_script->Call("OnInit");
    m_lastIdle = m_host.Now();

    // Without an enabled walk area the bounds stay inverted and the path
    // finder keeps no grid: walks then go straight.
    float minX = 1e38f;
    float maxX = -1e38f;
    float minZ = 1e38f;
    float maxZ = -1e38f;
    ForEachEnabledWalkArea(m_host.Polygons(), [&](const CPolygon& outline) {
        for (const CPolygon::Point& p : outline.GetPoints()) {
            minX = std::min(minX, p.placedX);
            maxX = std::max(maxX, p.placedX);
            minZ = std::min(minZ, p.placedZ);
            maxZ = std::max(maxZ, p.placedZ);
        }
    });
    m_pathFinder->InitGrid(minX, maxX, minZ, maxZ, (maxX - minX) / kGridCellsAcross);
    m_pathFinder->SetClearance(kClearance);
    m_pathFinder->SetSmallObstacleRule(kSmallObstacleSize, kSmallObstacleMargin);
    RebuildNavigation();
    if (buildGrid) {
        m_pathFinder->Precompute();
    }
}

void CScene::OnIdle() {
    ReleaseDeleted();
    if (!m_script) {
        return;
    }
    m_script->ProcessEvents();
    const std::uint32_t now = m_host.Now();
    const std::array<Variant, 1> elapsed{Variant::I4(static_cast<std::int32_t>(now - m_lastIdle))};
    m_lastIdle = now;
    m_script->Call("OnIdle", elapsed);

    // Scripts run by the updates may add or delete objects; the frame updates
    // the objects it started with, minus those deleted meanwhile.
    m_updating.assign(m_objects.begin(), m_objects.end());
    for (CSceneObject* object : m_updating) {
        if (std::find(m_deleted.begin(), m_deleted.end(), object) == m_deleted.end()) {
            object->Update(now);
        }
    }
    ReleaseDeleted();
}

bool CScene::OnEvent(const std::string& event, const std::string& parameter) {
    if (!m_script) {
        return false;
    }
    const std::array<Variant, 2> args{Variant::Bstr(AnsiToWide(event)), Variant::Bstr(AnsiToWide(parameter))};
    return m_script->Call("OnEvent", args);
}

bool CScene::OnAction(const std::string& sentence, const std::string& verb, const std::string& object1,
                      const std::string& object2) {
    if (!m_script) {
        return true;
    }
    const std::array<Variant, 4> args{Variant::Bstr(AnsiToWide(sentence)), Variant::Bstr(AnsiToWide(verb)),
                                      Variant::Bstr(AnsiToWide(object1)), Variant::Bstr(AnsiToWide(object2))};
    Variant result;
    m_script->Call("OnAction", args, &result);
    // No result, a failed call and anything but false all count as handled.
    return !(result.Type() == VT_BOOL && result.BoolValue() == VARIANT_FALSE);
}

void CScene::RebuildNavigation() {
    m_pathFinder->ClearNavigation();
    for (const CSceneObject* object : m_objects) {
        const CModelInstance* instance = object->Instance();
        if (!object->Walkaround() || object->Mobile() || instance == nullptr) {
            continue;
        }
        const CPolygon* footprint = object->Footprint(instance->WorldPosition(), instance->WorldRotation().z);
        if (footprint != nullptr) {
            m_pathFinder->AddObstacle(PlacedPoints(*footprint));
        }
    }
    // Each walk area replaces the one before: the last enabled one counts.
    ForEachEnabledWalkArea(m_host.Polygons(), [&](const CPolygon& outline) {
        m_pathFinder->SetWalkArea(PlacedPoints(outline));
    });
}

void CScene::Register(CSceneObject* object) {
    const std::uint32_t id = m_nextId++;
    m_objects.push_back(object);
    m_names.emplace(object->Name(), NamedObject{object, id});
    m_ids.emplace(id, object);
}

void CScene::ReleaseObjectRef::operator()(CSceneObject* object) const {
    object->Release();
}

void CScene::ReleaseObject(CSceneObject* object) {
    std::erase(m_objects, object);
    std::erase(m_sorted, object);
    if (m_freeMove == object) {
        m_freeMove = nullptr;
    }
    m_deleted.push_back(object);
}

void CScene::ReleaseDeleted() {
    // An object's instance goes after the object, which may still refer to it.
    while (!m_deleted.empty()) {
        CSceneObject* object = m_deleted.back();
        m_deleted.pop_back();
        const CModelInstance* instance = object->Instance();
        object->Release();
        if (instance != nullptr) {
            m_host.Renderer().RemoveInstance(instance);
        }
    }
}
