// Lookups of scene objects by name and id, stepping through the model
// objects, and the sorted selections scripts ask for.
#include "scene/CScene.h"

#include "mathutil/D3DXMath.h"
#include "render/model/CModelInstance.h"
#include "resources/CADVException.h"
#include "resources/CParameterParser.h"
#include "scene/CSceneObject.h"
#include "script/TextConversion.h"

#include <algorithm>

namespace {

bool IsModel(const CSceneObject* object) {
    return !object->IsLight();
}

bool MatchesType(const CSceneObject& object, const std::string& type) {
    if (type == "spresh") {
        return object.Instance() != nullptr;
    }
    if (type == "light") {
        return object.IsLight();
    }
    return true;
}

} // namespace

CSceneObject* CScene::FindByName(const std::u16string& name) const {
    const auto found = m_names.find(name);
    return found != m_names.end() ? found->second.object : nullptr;
}

CSceneObject* CScene::FindById(std::uint32_t id) const {
    const auto found = m_ids.find(id);
    if (found == m_ids.end()) {
        return nullptr;
    }
    const CModelInstance* instance = found->second->Instance();
    return instance != nullptr && instance->objectId == id ? found->second : nullptr;
}

CSceneObject* CScene::FindPickableById(std::uint32_t id) const {
    CSceneObject* object = FindById(id);
    return object != nullptr && object->Pickable() ? object : nullptr;
}

CSceneObject* CScene::NextModelObject(const CSceneObject* current) const {
    auto at = m_ids.begin();
    if (current != nullptr) {
        at = std::find_if(m_ids.begin(), m_ids.end(),
                          [current](const auto& entry) { return entry.second == current; });
        if (at != m_ids.end()) {
            ++at;
        }
    }
    // From there to the end, then around from the beginning.
    const auto model = [](const auto& entry) { return IsModel(entry.second); };
    auto found = std::find_if(at, m_ids.end(), model);
    if (found == m_ids.end()) {
        found = std::find_if(m_ids.begin(), m_ids.end(), model);
    }
    return found != m_ids.end() ? found->second : nullptr;
}

CSceneObject* CScene::PreviousModelObject(const CSceneObject* current) const {
    auto at = m_ids.rbegin();
    if (current != nullptr) {
        at = std::find_if(m_ids.rbegin(), m_ids.rend(),
                          [current](const auto& entry) { return entry.second == current; });
        if (at != m_ids.rend()) {
            ++at;
        }
    }
    const auto model = [](const auto& entry) { return IsModel(entry.second); };
    auto found = std::find_if(at, m_ids.rend(), model);
    if (found == m_ids.rend()) {
        found = std::find_if(m_ids.rbegin(), m_ids.rend(), model);
    }
    return found != m_ids.rend() ? found->second : nullptr;
}

std::string CScene::NameOfObject(const CSceneObject* object) const {
    if (object == nullptr) {
        return {};
    }
    if (std::find(m_objects.begin(), m_objects.end(), object) == m_objects.end()) {
        return "unknown";
    }
    return WideToAnsi(object->Name());
}

std::int32_t CScene::SortObjects(const std::string& definition) {
    const CParameterParser parameters(definition);
    const std::string criteria = parameters.GetParameterDefault("criteria", "none");
    const std::string type = parameters.GetParameterDefault("type", "spresh");
    m_sorted.clear();
    std::copy_if(m_objects.begin(), m_objects.end(), std::back_inserter(m_sorted),
                 [&type](const CSceneObject* object) { return MatchesType(*object, type); });

    if (criteria == "distance") {
        const auto to = parameters.Parameters().find("to");
        if (to == parameters.Parameters().end()) {
            throw CADVException("Parameter 'to' not defined in findobject.");
        }
        const CSceneObject* reference = FindByName(AnsiToWide(to->second));
        if (reference == nullptr) {
            throw CADVException("Object defined in 'to' parameter ('%s') is not defined in scene.",
                                to->second.c_str());
        }
        const float minimum = parameters.GetFloatDefault("minimumdistance", 0.0f);
        const float maximum = parameters.GetFloatDefault("maximumdistance", 1e38f);
        const D3DXVECTOR3 origin = reference->GetPosition();

        std::vector<std::pair<float, CSceneObject*>> kept;
        for (CSceneObject* object : m_sorted) {
            if (object == reference) {
                continue;
            }
            const D3DXVECTOR3 offset = object->GetPosition() - origin;
            const float d = D3DXVec3Length(&offset);
            if (minimum <= d && d <= maximum) {
                kept.emplace_back(d, object);
            }
        }
        std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        m_sorted.clear();
        for (const auto& [d, object] : kept) {
            m_sorted.push_back(object);
        }
    }
    return static_cast<std::int32_t>(m_sorted.size());
}
