#include "render/C3DEngine2.h"

#include "mathutil/D3DXMath.h"
#include "render/model/C3DSpresh.h"
#include "render/CArchiveModelHost.h"
#include "render/model/CModelCache.h"
#include "render/model/CModelInstance.h"
#include "render/device/DDevice.h"
#include "resources/ByteReader.h"
#include "resources/ByteWriter.h"
#include "resources/CADVException.h"
#include "resources/CFileManager.h"

#include <algorithm>
#include <bit>

namespace {

std::uint32_t ScaleChannel(std::uint32_t colour, int shift, float factor) {
    const float scaled = static_cast<float>((colour >> shift) & 0xFF) * factor;
    return static_cast<std::uint32_t>(std::clamp(scaled, 0.0f, 255.0f)) << shift;
}

D3DCOLORVALUE Scaled(const D3DCOLORVALUE& c, float factor) {
    return {c.r * factor, c.g * factor, c.b * factor, c.a * factor};
}

std::uint32_t FloatBits(float v) {
    return std::bit_cast<std::uint32_t>(v);
}

} // namespace

C3DEngine2::C3DEngine2(DDevice& device, const CFileManager& files, std::filesystem::path cacheFolder,
                       const Settings& settings)
    : CGuiComponent(device), m_device(device), m_settings(settings),
      m_cursor(device, [&files](const std::string& path) { return files.LoadFile(path); }) {
    m_textures = std::make_unique<CTextureTable>(
        device, [&files](const std::string& path) { return files.LoadFile(path); }, settings.textureQuality);
    m_modelHost = std::make_unique<CArchiveModelHost>(device, files, *m_textures, std::move(cacheFolder));
    m_models = std::make_unique<CModelCache>(*m_modelHost, settings.preload);
    D3DXMatrixLookAtLH(&m_view, &m_eye, &m_at, &m_up);
    m_shadowMaterial.Diffuse.a = m_shadowStrength;
    // The device's own size until CreateDevice sizes it, so that picking never divides by zero.
    m_screenWidth = device.BackBufferWidth();
    m_screenHeight = device.BackBufferHeight();
    m_aspect = static_cast<float>(m_screenWidth) / static_cast<float>(m_screenHeight);
}

C3DEngine2::~C3DEngine2() {
    // Instances point into models; models hold textures by id.
    m_instances.clear();
    m_models.reset();
    m_textures.reset();
}

void C3DEngine2::SetTextureQuality(int quality) {
    m_textures->SetQuality(quality);
    m_settings.textureQuality = m_textures->Quality();
}

C3DSpresh* C3DEngine2::GetModel(const std::string& name) {
    return m_models->GetModel("data\\models\\" + name);
}

C3DSpresh* C3DEngine2::CreateUnnamedModel() {
    return m_models->CreateUnnamedModel();
}

void C3DEngine2::DiscardUnnamedModel(const C3DSpresh* model) {
    m_models->DiscardLastUnnamedModel(model);
}

std::unique_ptr<CModelInstance> C3DEngine2::CreateInstance(C3DSpresh* model, const D3DXVECTOR3& position,
                                                           const D3DXVECTOR3& rotation, bool visible,
                                                           bool enabled, int kind) const {
    return std::make_unique<CModelInstance>(model, position, rotation, visible, enabled, kind);
}

CModelInstance* C3DEngine2::AddInstance(std::unique_ptr<CModelInstance> instance) {
    return m_instances.emplace_back(std::move(instance)).get();
}

void C3DEngine2::RemoveInstance(const CModelInstance* instance) {
    // Children keep pointing at their parent; they follow it out rather than dangle.
    for (const auto& other : m_instances) {
        if (other->parent == instance) {
            other->parent = nullptr;
        }
    }
    std::erase_if(m_instances, [instance](const auto& owned) { return owned.get() == instance; });
}

void C3DEngine2::DeleteAllInstances() {
    m_instances.clear();
}

void C3DEngine2::SetCamera(const D3DXVECTOR3& eye, const D3DXVECTOR3& at, const D3DXVECTOR3& up) {
    m_eye = eye;
    m_at = at;
    m_up = up;
    D3DXMatrixLookAtLH(&m_view, &m_eye, &m_at, &m_up);
    m_cameraChanged = true;
}

void C3DEngine2::SetCameraFromAngles(const D3DXVECTOR3& eye, float roll, float pitch, float yaw) {
    D3DXMATRIX rotation;
    D3DXMatrixRotationYawPitchRoll(&rotation, yaw, pitch, roll);
    const D3DXVECTOR3 ahead(0.0f, 0.0f, 1.0f);
    const D3DXVECTOR3 upward(0.0f, 1.0f, 0.0f);
    D3DXVECTOR3 direction;
    D3DXVECTOR3 up;
    D3DXVec3TransformCoord(&direction, &ahead, &rotation);
    D3DXVec3TransformCoord(&up, &upward, &rotation);
    SetCamera(eye, eye + direction, up);
}

void C3DEngine2::SaveCamera(std::vector<std::uint8_t>& out) const {
    for (const D3DXVECTOR3* v : {&m_eye, &m_at, &m_up}) {
        PutFloat(out, v->x);
        PutFloat(out, v->y);
        PutFloat(out, v->z);
    }
}

std::size_t C3DEngine2::LoadCamera(std::span<const std::uint8_t> data) {
    if (data.size() < kCameraRecordSize) {
        throw CADVException("C3DEngine2::LoadCamera - Camera record is truncated (%zu of %zu bytes).",
                            data.size(), kCameraRecordSize);
    }
    ByteReader in(data);
    float v[9];
    for (float& f : v) {
        f = std::bit_cast<float>(in.U32());
    }
    SetCamera({v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]});
    return kCameraRecordSize;
}

void C3DEngine2::SetShadowStrength(float strength) {
    m_shadowStrength = strength;
    m_shadowMaterial.Diffuse.a = strength;
}

std::uint32_t C3DEngine2::ScaleColour(std::uint32_t colour) const {
    return ScaleChannel(colour, 24, m_brightness) | ScaleChannel(colour, 16, m_brightness) |
           ScaleChannel(colour, 8, m_brightness) | ScaleChannel(colour, 0, m_brightness);
}

void C3DEngine2::SetBrightness(float factor) {
    m_brightness = factor;
    ApplyAllLights();
    ApplyFog();
}

void C3DEngine2::SetFog(std::uint32_t colour, float start, float end) {
    m_fogOn = true;
    m_fogColour = colour;
    m_fogStart = start;
    m_fogEnd = end;
    ApplyFog();
}

void C3DEngine2::ClearFog() {
    m_fogOn = false;
    m_device.SetRenderState(DRenderState::FogEnable, 0);
}

void C3DEngine2::ApplyFog() {
    if (!m_fogOn) {
        return;
    }
    m_device.SetRenderState(DRenderState::FogColor, ScaleColour(m_fogColour));
    m_device.SetRenderState(DRenderState::FogVertexMode, D3DFOG_LINEAR);
    m_device.SetRenderState(DRenderState::FogStart, FloatBits(m_fogStart));
    m_device.SetRenderState(DRenderState::FogEnd, FloatBits(m_fogEnd));
}

CEngineLight* C3DEngine2::AddLight(const D3DLIGHT9& light) {
    auto record = std::make_unique<CEngineLight>();
    record->id = m_nextLightId++;
    record->light = light;
    return m_lights.emplace_back(std::move(record)).get();
}

CEngineLight* C3DEngine2::AddPointLight(const D3DCOLORVALUE& diffuse, const D3DXVECTOR3& position,
                                        float attenuation, float range) {
    D3DLIGHT9 light;
    light.Type = D3DLIGHTTYPE::D3DLIGHT_POINT;
    light.Diffuse = diffuse;
    light.Position = position;
    light.Attenuation1 = attenuation;
    light.Range = range;
    return AddLight(light);
}

CEngineLight* C3DEngine2::AddSpotLight(const D3DCOLORVALUE& diffuse, const D3DXVECTOR3& position,
                                       const D3DXVECTOR3& direction, float attenuation, float range,
                                       float falloff, float theta, float phi) {
    D3DLIGHT9 light;
    light.Type = D3DLIGHTTYPE::D3DLIGHT_SPOT;
    light.Diffuse = diffuse;
    light.Position = position;
    light.Direction = direction;
    light.Attenuation1 = attenuation;
    light.Range = range;
    light.Falloff = falloff;
    light.Theta = theta;
    light.Phi = phi;
    return AddLight(light);
}

CEngineLight* C3DEngine2::AddDirectionalLight(const D3DCOLORVALUE& diffuse, const D3DXVECTOR3& direction) {
    D3DLIGHT9 light;
    light.Type = D3DLIGHTTYPE::D3DLIGHT_DIRECTIONAL;
    light.Diffuse = diffuse;
    light.Direction = direction;
    return AddLight(light);
}

void C3DEngine2::ApplyLight(const CEngineLight& record) {
    D3DLIGHT9 light = record.light;
    light.Diffuse = Scaled(light.Diffuse, m_brightness);
    light.Ambient = Scaled(light.Ambient, m_brightness);
    m_device.SetLight(record.id, light);
    m_device.LightEnable(record.id, record.enabled && record.switchedOn);
}

void C3DEngine2::ApplyAllLights() {
    for (const auto& light : m_lights) {
        ApplyLight(*light);
    }
}

void C3DEngine2::DeleteAllLights() {
    for (const auto& light : m_lights) {
        m_device.LightEnable(light->id, false);
    }
    m_lights.clear();
    m_nextLightId = 0;
}

void C3DEngine2::UnloadScene() {
    DeleteAllLights();
    // Instances go before the models they show.
    DeleteAllInstances();
    m_models->Purge();
    m_textures->ReleaseAll();
    // Texture ids start again from 1, so models kept for the next scene would
    // otherwise show whatever texture takes their old ids.
    m_models->ReloadTextures();
    ClearFog();
}
