#include "render/C3DEngine2.h"

#include "mathutil/D3DXMath.h"
#include "platform/DReport.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CModelCache.h"
#include "render/model/CModelInstance.h"
#include "render/device/DDevice.h"
#include "render/gui/CGuiRenderer.h"
#include "resources/CADVException.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 1000.0f;
constexpr float kFieldOfView = std::numbers::pi_v<float> / 4.0f;

// Sort keys: generated shapes (ground circles and bands) after the models
// they stand under, surfaces before everything so that what stands on them
// is drawn over them, scenery after all else.
constexpr int kShapeKey = 5;
constexpr int kSurfaceKey = -10;
constexpr int kSceneryKey = 10000;

} // namespace

void C3DEngine2::SetClientSize(int width, int height) {
    m_clientWidth = width;
    m_clientHeight = height;
}

void C3DEngine2::SetEffects(bool shadows, bool mirrors, bool lighdows) {
    m_settings.shadows = shadows;
    m_settings.mirrors = mirrors;
    m_settings.lighdows = lighdows;
}

void C3DEngine2::CreateDevice(int width, int height, bool fullScreen) {
    const int backWidth = fullScreen ? width : m_clientWidth;
    const int backHeight = fullScreen ? height : m_clientHeight;

    bool recreated = false;
    if (m_deviceCreated) {
        const HRESULT hr = m_device.Reset(backWidth, backHeight);
        if (FAILED(hr)) {
            ReportWarning(std::string("Resetting of device failed because of error: ") + HResultName(hr));
            m_deviceCreated = false;
            Gui().ReleaseVB();
            MarkChanged();
            recreated = true;
        }
    }
    if (!m_deviceCreated) {
        if (recreated) {
            ReportWarning("RECREATING DEVICE");
        }
        if (FAILED(m_device.Reset(backWidth, backHeight))) {
            throw CADVException("Could not initialize graphics adapter.\nYou really need a Hardware "
                                "Accelerated 3D Graphics Adapter to play this game.");
        }
        m_deviceCreated = true;
    }

    m_screenWidth = m_device.BackBufferWidth();
    m_screenHeight = m_device.BackBufferHeight();
    m_aspect = static_cast<float>(m_screenWidth) / static_cast<float>(m_screenHeight);
    SetProjection(kFieldOfView);
    SetDeviceStates();

    if (recreated) {
        // Whatever the device held may be gone with the failed reset; the
        // loading screen shows while it comes back.
        InvalidateTextures();
        RenderSingleScreen();
        m_textures->Restore();
        m_models->Restore();
    }
    SetRect(0, 0, m_screenWidth, m_screenHeight);
    MarkChanged();
    if (m_cursor.Enabled()) {
        const std::string cursorFile = m_cursor.FileName();
        m_cursor.Mouse_Enable(true, cursorFile);
    }
    ApplyAllLights();
    ApplyFog();
}

void C3DEngine2::SetProjection(float fieldOfView) {
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, fieldOfView, m_aspect, kNearPlane, kFarPlane);
    m_device.SetTransform(DTransformState::Projection, projection);
}

void C3DEngine2::SetDeviceStates() {
    m_device.SetRenderState(DRenderState::DitherEnable, 0);
    m_device.SetRenderState(DRenderState::ShadeMode, D3DSHADE_GOURAUD);
    m_device.SetRenderState(DRenderState::EmissiveMaterialSource, D3DMCS_MATERIAL);
    m_device.SetRenderState(DRenderState::SpecularEnable, 0);
    m_device.SetRenderState(DRenderState::CullMode, D3DCULL_CCW);
    m_device.SetRenderState(DRenderState::ZEnable, 1);
    m_device.SetRenderState(DRenderState::ZWriteEnable, 1);
    m_device.SetRenderState(DRenderState::StencilEnable, 0);
    m_device.SetRenderState(DRenderState::AlphaBlendEnable, 0);
    m_device.SetRenderState(DRenderState::Lighting, 1);
    SetBlend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    m_device.SetRenderState(DRenderState::StencilMask, 0xFFFFFFFF);
    m_device.SetRenderState(DRenderState::StencilWriteMask, 0xFFFFFFFF);
    m_device.SetRenderState(DRenderState::StencilZFail, D3DSTENCILOP_KEEP);
    m_device.SetRenderState(DRenderState::StencilFail, D3DSTENCILOP_KEEP);
}

void C3DEngine2::SetBlend(std::uint32_t source, std::uint32_t destination) {
    m_device.SetRenderState(DRenderState::SrcBlend, source);
    m_device.SetRenderState(DRenderState::DestBlend, destination);
}

bool C3DEngine2::RenderFrame(std::uint32_t now, bool wait) {
    // A frame the device was too busy to take is presented again, not redrawn.
    if (m_frameDone) {
        m_frameDone = false;
        PrepareInstances();
        CullLights();
        CountFrame(now);
        DrawScene();
        DrawOverlay();
        m_device.SetTransform(DTransformState::View, m_view);
        m_device.EndScene();
        m_cameraChanged = false;
    }
    Present(wait);
    return m_frameDone;
}

void C3DEngine2::PrepareInstances() {
    const D3DXVECTOR3 view = m_at - m_eye;
    for (const auto& owned : m_instances) {
        CModelInstance& instance = *owned;
        if (!instance.visible || !instance.enabled) {
            instance.inFront = false;
            instance.sortKey = 0;
            continue;
        }
        const D3DXVECTOR3 offset = instance.WorldPosition() - m_eye;
        instance.depth = D3DXVec3Dot(&offset, &view);
        // A position that is not a number (a script's bad arithmetic) would
        // break the ordering the sort relies on; such an object is at no depth.
        if (std::isnan(instance.depth)) {
            instance.depth = 0.0f;
        }
        int key = instance.generatedShape ? kShapeKey : 0;
        if (instance.kind == CModelInstance::ShadowSurface ||
            instance.kind == CModelInstance::MirrorSurface) {
            key += kSurfaceKey;
        }
        if (instance.kind == CModelInstance::Scenery) {
            key += kSceneryKey;
        }
        instance.sortKey = key;
        // Scenery surrounds the camera, so it is drawn whichever side it lies on.
        instance.inFront = instance.kind == CModelInstance::Scenery || instance.depth > 0.0f;
    }
    std::sort(m_instances.begin(), m_instances.end(), [](const auto& a, const auto& b) {
        if (a->inFront != b->inFront) {
            return a->inFront;
        }
        if (a->sortKey != b->sortKey) {
            return a->sortKey < b->sortKey;
        }
        return a->depth < b->depth;
    });
}

void C3DEngine2::CullLights() {
    const D3DXVECTOR3 view = m_at - m_eye;
    for (const auto& light : m_lights) {
        if (!light->enabled || !light->switchedOn || light->alwaysOn) {
            continue;
        }
        const D3DXVECTOR3 offset = light->light.Position - m_eye;
        m_device.LightEnable(light->id, D3DXVec3Dot(&offset, &view) >= 0.0f);
    }
}

void C3DEngine2::CountFrame(std::uint32_t now) {
    // Unsigned difference: the tick counter may wrap.
    if (now - m_secondStart >= 1000) {
        m_framesLastSecond = m_framesCounted;
        m_framesCounted = 1;
        m_secondStart = now;
    } else {
        ++m_framesCounted;
    }
}

void C3DEngine2::DrawScene() {
    m_device.SetTransform(DTransformState::View, m_view);
    SetProjection(std::numbers::pi_v<float> / (4.0f * m_zoom));

    m_device.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 1.0f, 0);
    m_device.BeginScene();
    m_device.SetRenderState(DRenderState::Ambient, ScaledAmbient());
    if (m_fogOn) {
        m_device.SetRenderState(DRenderState::FogEnable, 1);
    }
    m_device.SetSamplerState(0, DSamplerState::MipFilter, D3DTEXF_POINT);
    m_device.SetSamplerState(0, DSamplerState::MagFilter, D3DTEXF_ANISOTROPIC);
    m_device.SetSamplerState(0, DSamplerState::MinFilter, D3DTEXF_ANISOTROPIC);
    m_device.SetSamplerState(0, DSamplerState::MaxAnisotropy, 4);

    for (const auto& instance : m_instances) {
        if (instance->inFront && IsShownSceneObject(*instance)) {
            // The model is shared: the skin stays on it until another skin is set.
            if (instance->skinTextureId >= 0) {
                instance->model->SetTexture(instance->skinTextureId);
            }
            DrawInstance(*instance, false);
        }
    }
    m_device.SetRenderState(DRenderState::AlphaBlendEnable, 1);
    SetBlend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    for (const auto& instance : m_instances) {
        if (instance->inFront && IsShownSceneObject(*instance)) {
            DrawInstance(*instance, true);
        }
    }

    if (m_fogOn) {
        m_device.SetRenderState(DRenderState::FogEnable, 0);
    }
    if (m_settings.lighdows) {
        DrawLighdows();
    }
    if (m_settings.shadows) {
        DrawShadows();
    }
    DrawMirrors();
    m_device.SetRenderState(DRenderState::StencilEnable, 0);
    m_device.SetRenderState(DRenderState::FogEnable, 0);
    m_device.SetSamplerState(0, DSamplerState::MagFilter, D3DTEXF_POINT);
    m_device.SetSamplerState(0, DSamplerState::MinFilter, D3DTEXF_POINT);
}

bool C3DEngine2::IsShownSceneObject(const CModelInstance& instance) {
    return instance.visible && instance.enabled &&
           (instance.kind == CModelInstance::Scenery || instance.kind == CModelInstance::Ordinary);
}

void C3DEngine2::DrawInstance(const CModelInstance& instance, bool transparent, const D3DXMATRIX* extra) {
    m_device.SetTransform(DTransformState::World, instance.WorldMatrix(extra));
    instance.model->Render(instance.animation, instance.phase, instance.skinTextureId, transparent, true,
                           true, true);
}

void C3DEngine2::DrawGui(const CGuiComponent* only) {
    m_device.SetRenderState(DRenderState::Lighting, 0);
    m_device.SetRenderState(DRenderState::ZEnable, 0);
    m_device.SetRenderState(DRenderState::ZWriteEnable, 0);
    Gui().GUI2_Update(*this, only);
    m_device.SetRenderState(DRenderState::Lighting, 1);
    m_device.SetRenderState(DRenderState::ZEnable, 1);
    m_device.SetRenderState(DRenderState::ZWriteEnable, 1);
}

void C3DEngine2::DrawOverlay() {
    if (IsVisible()) {
        DrawGui(nullptr);
    }
    m_cursor.Draw();
    m_device.SetRenderState(DRenderState::ZEnable, 1);
    m_device.SetRenderState(DRenderState::ZWriteEnable, 1);
    m_device.SetRenderState(DRenderState::StencilEnable, 0);
    m_device.SetRenderState(DRenderState::AlphaBlendEnable, 0);
    SetBlend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    m_device.SetRenderState(DRenderState::Lighting, 1);
}

void C3DEngine2::RenderSingleScreen() {
    if (m_singleScreen == nullptr) {
        return;
    }
    const bool wasVisible = m_singleScreen->IsVisible();
    m_singleScreen->SetVisible(true);
    m_device.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    m_device.BeginScene();
    m_device.SetSamplerState(0, DSamplerState::MagFilter, D3DTEXF_POINT);
    m_device.SetSamplerState(0, DSamplerState::MinFilter, D3DTEXF_POINT);
    if (IsVisible()) {
        DrawGui(m_singleScreen);
    }
    m_device.EndScene();
    m_device.Present(0);
    m_frameDone = true;
    m_singleScreen->SetVisible(wasVisible);
}

void C3DEngine2::Present(bool wait) {
    if (wait) {
        m_device.Present(0);
        m_frameDone = true;
    } else {
        m_frameDone = m_device.Present(D3DPRESENT_DONOTWAIT) == S_OK;
    }
}

void C3DEngine2::PresentPendingFrame() {
    if (!m_frameDone) {
        m_device.Present(0);
        m_frameDone = true;
    }
}
