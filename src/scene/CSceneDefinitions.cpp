// What scene scripts define: model objects, generated shapes, lights, the
// ambient light and fog, and the switches over groups and camera distance.
#include "scene/CScene.h"

#include "mathutil/D3DXMath.h"
#include "mathutil/SaturatingCast.h"
#include "render/C3DEngine2.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CModelInstance.h"
#include "resources/CADVException.h"
#include "resources/CParameterParser.h"
#include "scene/CSceneObject.h"
#include "scene/ISceneHost.h"
#include "script/TextConversion.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;

// Into [0, 2pi) by floating remainder.
float NormalisedAngle(float angle) {
    angle = std::fmod(angle, kTwoPi);
    while (angle < 0.0f) {
        angle += kTwoPi;
    }
    return angle;
}

// Truncated towards zero; a value beyond the int range stays at its edge
// instead of overflowing, and the shape then refuses the count.
int TruncatedCount(float value) {
    return SaturatingCast<int>(value);
}

int KindOfType(const std::string& type) {
    if (type == "scenery") {
        return CModelInstance::Scenery;
    }
    if (type == "shadow") {
        return CModelInstance::ShadowSurface;
    }
    if (type == "mirror") {
        return CModelInstance::MirrorSurface;
    }
    return CModelInstance::Ordinary;
}

bool Flag(const CParameterParser& parameters, std::string_view name, std::string_view fallback) {
    return parameters.GetParameterDefault(name, fallback) == "true";
}

std::optional<std::string> Optional(const CParameterParser& parameters, std::string_view name) {
    const auto found = parameters.Parameters().find(name);
    if (found == parameters.Parameters().end()) {
        return std::nullopt;
    }
    return found->second;
}

D3DXVECTOR3 Vector(const std::array<float, 3>& v) {
    return {v[0], v[1], v[2]};
}

D3DCOLORVALUE Colour(const CParameterParser& parameters, float fallback) {
    const auto c =
        parameters.GetFloat4Default("red", "green", "blue", "alpha", fallback, fallback, fallback, fallback);
    return {c[0], c[1], c[2], c[3]};
}

// Each channel times 255, limited to 0..255 and truncated, as ARGB.
std::uint32_t ColourBytes(const D3DCOLORVALUE& colour) {
    const auto byte = [](float channel) {
        return std::clamp(SaturatingCast<std::uint32_t>(channel * 255.0f), 0u, 255u);
    };
    return byte(colour.a) << 24 | byte(colour.r) << 16 | byte(colour.g) << 8 | byte(colour.b);
}

std::u16string RequiredName(const CParameterParser& parameters, const char* missing) {
    const std::optional<std::string> name = Optional(parameters, "name");
    if (!name) {
        throw CADVException("%s", missing);
    }
    return AnsiToWide(*name);
}

} // namespace

void CScene::ExpectNewName(const std::u16string& name, const char* rejected) const {
    if (m_names.contains(name)) {
        throw CADVException("An object with name '%s' has already been defined in the scene, %s rejected!",
                            WideToAnsi(name).c_str(), rejected);
    }
}

std::unique_ptr<CModelInstance> CScene::CreatePlacedInstance(const CParameterParser& parameters,
                                                             C3DSpresh* model, int kind) const {
    const bool visible = Flag(parameters, "visible", "true");
    const bool enabled = Flag(parameters, "enabled", "true");
    auto rotation = parameters.GetFloat3Default("roll", "pitch", "yaw", 0.0f, 0.0f, 0.0f);
    for (float& angle : rotation) {
        angle = NormalisedAngle(angle);
    }
    const auto position = parameters.GetFloat3Default("posx", "posy", "posz", 0.0f, 0.0f, 0.0f);
    return m_host.Renderer().CreateInstance(model, Vector(position), Vector(rotation), visible, enabled,
                                            kind);
}

const CModelInstance* CScene::ParentInstance(const CParameterParser& parameters) const {
    const std::string relativeTo = parameters.GetParameterDefault("relativeto", "");
    if (relativeTo.empty()) {
        return nullptr;
    }
    const CSceneObject* parent = FindByName(AnsiToWide(relativeTo));
    if (parent == nullptr || parent->Instance() == nullptr) {
        throw CADVException("CScene::AddObject - relativeto defined on unknown object '%s'",
                            relativeTo.c_str());
    }
    return parent->Instance();
}

void CScene::Show(ObjectRef object, std::unique_ptr<CModelInstance> instance) {
    // Checked again: the object's own script may have defined the name meanwhile.
    ExpectNewName(object->Name(), "object");
    instance->objectId = m_nextId;
    m_host.Renderer().AddInstance(std::move(instance));
    Register(object.release());
}

void CScene::AddObject(const std::string& definition) {
    const CParameterParser parameters(definition);
    const std::u16string name =
        RequiredName(parameters, "CScene::AddObject - Object definition needs *name* parameter");
    ExpectNewName(name, "object");
    const std::optional<std::string> modelName = Optional(parameters, "model");
    if (!modelName) {
        throw CADVException("CScene::AddObject - Object definition needs *model* parameter");
    }
    const int kind = KindOfType(parameters.GetParameterDefault("type", ""));
    C3DEngine2& renderer = m_host.Renderer();
    C3DSpresh* model = renderer.GetModel(*modelName);
    auto instance = CreatePlacedInstance(parameters, model, kind);
    instance->castsShadows = Flag(parameters, "shadows", kind == CModelInstance::Ordinary ? "true" : "false");
    instance->castsLighdows = Flag(parameters, "lighdows", "false");
    if (const auto skin = Optional(parameters, "skin")) {
        instance->skinTextureId = renderer.GetTextureId(*skin);
        instance->skinName = *skin;
    }
    instance->parent = ParentInstance(parameters);

    ObjectRef object(new CSceneObject(m_host, *this, instance.get()));
    object->SetName(name);
    object->SetGroup(parameters.GetParameterDefault("group", ""));
    if (const auto script = Optional(parameters, "script")) {
        object->SetScript(*script);
    }
    object->SetPickable(Flag(parameters, "pickable", "false"));
    object->SetMobile(Flag(parameters, "mobile", "false"));
    object->SetWalkaround(Flag(parameters, "walkaround", "false"));
    object->SetPickName(Optional(parameters, "pickname").value_or(WideToAnsi(name)));
    object->SetContext(Optional(parameters, "context").value_or(""));
    if (const auto cache = Optional(parameters, "cache")) {
        model->SetKeepInCache(*cache);
    }
    Show(std::move(object), std::move(instance));
}

void CScene::AddShape(const std::string& definition) {
    const CParameterParser parameters(definition);
    const std::u16string name =
        RequiredName(parameters, "CScene::AddShape - Shape definition needs *name* parameter");
    ExpectNewName(name, "shape");
    const std::string shape = parameters.GetParameterDefault("shape", "");
    if (shape != "circle" && shape != "cylinder") {
        throw CADVException("CScene::AddShape - Unknown shape type: %s", shape.c_str());
    }
    const int kind = KindOfType(parameters.GetParameterDefault("type", ""));

    D3DMATERIAL9 material;
    material.Diffuse = Colour(parameters, 1.0f);
    const auto e = parameters.GetFloat4Default("ered", "egreen", "eblue", "ealpha", 0.0f, 0.0f, 0.0f, 0.0f);
    material.Emissive = {e[0], e[1], e[2], e[3]};
    C3DEngine2& renderer = m_host.Renderer();
    const int textureId = renderer.GetTextureId(Optional(parameters, "texture").value_or(""));
    const int sides = TruncatedCount(parameters.GetFloatDefault("sides", 64.0f));
    // The parent is checked before the model is made, so a refused shape leaves nothing behind.
    const CModelInstance* parent = ParentInstance(parameters);

    C3DSpresh* model = renderer.CreateUnnamedModel();
    std::unique_ptr<CModelInstance> instance;
    try {
        if (shape == "circle") {
            model->CreateFilledCircle(parameters.GetFloatDefault("r", 1.0f), "idle", sides, textureId, material);
        } else {
            model->CreateBand(parameters.GetFloatDefault("r1", 1.0f), parameters.GetFloatDefault("y1", 0.0f),
                              parameters.GetFloatDefault("r2", 1.0f), parameters.GetFloatDefault("y2", 1.0f),
                              "idle", sides, textureId, material);
        }
        instance = CreatePlacedInstance(parameters, model, kind);
    } catch (...) {
        // A refused shape leaves no empty model in the renderer's cache.
        renderer.DiscardUnnamedModel(model);
        throw;
    }
    instance->generatedShape = true;
    instance->parent = parent;

    ObjectRef object(new CSceneObject(m_host, *this, instance.get()));
    object->SetName(name);
    object->SetGroup(parameters.GetParameterDefault("group", ""));
    Show(std::move(object), std::move(instance));
}

void CScene::AddLight(const std::string& definition) {
    const CParameterParser parameters(definition);
    const std::u16string name = RequiredName(parameters, "Object definition needs *name* parameter");
    ExpectNewName(name, "light");
    const D3DXVECTOR3 position =
        Vector(parameters.GetFloat3Default("posx", "posy", "posz", 0.0f, 0.0f, 0.0f));
    const D3DXVECTOR3 direction =
        Vector(parameters.GetFloat3Default("dirx", "diry", "dirz", 0.0f, 0.0f, 0.0f));
    const D3DCOLORVALUE diffuse = Colour(parameters, 1.0f);
    const float range = parameters.GetFloatDefault("range", 100.0f);
    const float attenuation = parameters.GetFloatDefault("attenuation", 1.0f);
    const std::string type = parameters.GetParameterDefault("type", "point");

    C3DEngine2& renderer = m_host.Renderer();
    CEngineLight* light = nullptr;
    if (type == "point") {
        light = renderer.AddPointLight(diffuse, position, attenuation, range);
    } else if (type == "spot") {
        light = renderer.AddSpotLight(
            diffuse, position, direction, attenuation, range, parameters.GetFloatDefault("falloff", 1.0f),
            parameters.GetFloatDefault("theta", 1.57f), parameters.GetFloatDefault("phi", 3.14f));
    } else if (type == "directional") {
        light = renderer.AddDirectionalLight(diffuse, direction);
    } else {
        // An object without a light would fail every later use; refuse it here.
        throw CADVException("CScene::AddLight - Unknown light type: %s", type.c_str());
    }
    light->switchedOn = Flag(parameters, "visible", "false");
    light->enabled = Flag(parameters, "enabled", "true");
    light->castsShadows = Flag(parameters, "shadows", "true");
    light->castsLighdows = Flag(parameters, "lighdows", "false");
    light->alwaysOn = Flag(parameters, "always", "false");
    renderer.ApplyLight(*light);

    ObjectRef object(new CSceneObject(m_host, *this, light));
    object->SetName(name);
    object->SetGroup(parameters.GetParameterDefault("group", ""));
    Register(object.release());
}

void CScene::UpdateLight(const std::string& name, const std::string& definition) {
    const CSceneObject* object = FindByName(AnsiToWide(name));
    if (object == nullptr) {
        throw CADVException("CScene::UpdateLight - Light with name '%s' is not defined.", name.c_str());
    }
    CEngineLight* light = object->Light();
    if (light == nullptr) {
        throw CADVException("CScene::UpdateLight - Object with name '%s' is not a light.", name.c_str());
    }
    const CParameterParser parameters(definition);
    D3DCOLORVALUE& diffuse = light->light.Diffuse;
    const auto c = parameters.GetFloat4Default("red", "green", "blue", "alpha", diffuse.r, diffuse.g,
                                               diffuse.b, diffuse.a);
    diffuse = {c[0], c[1], c[2], c[3]};
    light->light.Attenuation1 = parameters.GetFloatDefault("attenuation", light->light.Attenuation1);
    light->light.Range = parameters.GetFloatDefault("range", light->light.Range);
    m_host.Renderer().ApplyLight(*light);
}

void CScene::SetAmbientLight(const std::string& definition) {
    const CParameterParser parameters(definition);
    m_host.Renderer().SetAmbient(ColourBytes(Colour(parameters, 1.0f)));
}

void CScene::SetFog(const std::string& definition) {
    if (definition.empty()) {
        m_host.Renderer().ClearFog();
        return;
    }
    const CParameterParser parameters(definition);
    m_host.Renderer().SetFog(ColourBytes(Colour(parameters, 1.0f)), parameters.GetFloatDefault("start", 0.0f),
                             parameters.GetFloatDefault("end", 100.0f));
}

void CScene::DeleteObject(const std::u16string& name) {
    const auto named = m_names.find(name);
    if (named == m_names.end()) {
        throw CADVException("CScene::DeleteObject - unknown object '%s'", WideToAnsi(name).c_str());
    }
    const auto id = m_ids.find(named->second.id);
    if (id == m_ids.end()) {
        throw CADVException("CScene::DeleteObject - object with name '%s' is known, but id isn't",
                            WideToAnsi(name).c_str());
    }
    CSceneObject* object = named->second.object;
    m_ids.erase(id);
    m_names.erase(named);
    // Gone from view at once; the object itself may still be running the
    // script that deleted it, so it is released at the next safe point.
    if (CModelInstance* instance = object->Instance()) {
        instance->visible = false;
        instance->enabled = false;
    }
    // The renderer keeps its lights until the scene unloads: switch it off for good.
    if (CEngineLight* light = object->Light()) {
        light->enabled = false;
        m_host.Renderer().ApplyLight(*light);
    }
    ReleaseObject(object);
}

void CScene::EnableGroup(const std::string& group, bool visible) {
    for (CSceneObject* object : m_objects) {
        if (object->Group() == group) {
            object->SetVisible(visible);
        }
    }
}

void CScene::SwitchLightsByCameraDistance(float distance, bool visible) {
    const D3DXVECTOR3 eye = m_host.Renderer().CameraEye();
    for (CSceneObject* object : m_objects) {
        const CEngineLight* light = object->Light();
        if (light == nullptr || light->alwaysOn) {
            continue;
        }
        const D3DXVECTOR3 offset = light->light.Position - eye;
        if ((D3DXVec3Length(&offset) < distance) == visible) {
            object->SetVisible(visible);
        }
    }
}
