#include "render/C3DEngine2.h"

#include "mathutil/D3DXMath.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CModelInstance.h"
#include "render/device/DDevice.h"

// Lighdows, shadows and mirrors are drawn into the finished scene through the
// stencil buffer, which the frame clears once. Lighdows and shadows only draw
// where the stencil is still 0 and raise it, so each pixel is tinted or
// darkened at most once per frame however many lights, surfaces and casters
// overlap.

namespace {

constexpr std::uint32_t kMirrorStencil = 0x7F;

bool Shown(const CModelInstance& instance) {
    return instance.visible && instance.enabled;
}

// Every light projects from its position field, a directional light's
// included (from the origin).
D3DXVECTOR4 ProjectionPoint(const D3DLIGHT9& light) {
    return {light.Position.x, light.Position.y, light.Position.z, 1.0f};
}

} // namespace

const D3DXPLANE& C3DEngine2::SurfacePlane(CModelInstance& surface) {
    const D3DXVECTOR3 position = surface.WorldPosition();
    const D3DXVECTOR3 rotation = surface.WorldRotation();
    if (position != surface.surfacePosition || rotation != surface.surfaceRotation) {
        const std::vector<D3DXPLANE> planes = surface.model->CalculatePlanes(surface);
        surface.surfacePlane = planes.empty() ? D3DXPLANE() : planes.front();
        surface.surfacePosition = position;
        surface.surfaceRotation = rotation;
    }
    return surface.surfacePlane;
}

std::optional<float> C3DEngine2::ShadowAlpha(const D3DLIGHT9& light, const D3DXVECTOR3& caster,
                                             float strength) {
    if (light.Type == D3DLIGHTTYPE::D3DLIGHT_DIRECTIONAL) {
        return strength;
    }
    const D3DXVECTOR3 offset = caster - light.Position;
    const float distance = D3DXVec3Length(&offset);
    if (distance >= light.Range) {
        return std::nullopt;
    }
    if (strength < 0.0f) {
        return (light.Range - distance) / light.Range * 0.5f;
    }
    return strength;
}

void C3DEngine2::SetStencil(std::uint32_t function, std::uint32_t reference, std::uint32_t pass) {
    m_device.SetRenderState(DRenderState::StencilFunc, function);
    m_device.SetRenderState(DRenderState::StencilRef, reference);
    m_device.SetRenderState(DRenderState::StencilPass, pass);
}

template <class Visit> void C3DEngine2::ForEachShadowProjection(const D3DLIGHT9& light, Visit visit) {
    const D3DXVECTOR4 point = ProjectionPoint(light);
    for (const auto& surface : m_instances) {
        if (surface->kind == CModelInstance::ShadowSurface && Shown(*surface)) {
            D3DXMATRIX projection;
            D3DXMatrixShadow(&projection, &point, &SurfacePlane(*surface));
            visit(projection);
        }
    }
}

void C3DEngine2::DrawLighdows() {
    // Alpha blending is still on from the transparent pass.
    m_device.SetRenderState(DRenderState::StencilEnable, 1);
    SetStencil(D3DCMP_EQUAL, 0, D3DSTENCILOP_INCR);
    m_textures->SetTexture(0);
    for (const auto& light : m_lights) {
        if (!light->enabled || !light->castsLighdows || !light->switchedOn) {
            continue;
        }
        D3DMATERIAL9 tint;
        tint.Diffuse = light->light.Diffuse;
        tint.Diffuse.a = 0.5f;
        tint.Ambient = light->light.Diffuse;
        m_device.SetMaterial(tint);
        ForEachShadowProjection(light->light, [this](const D3DXMATRIX& projection) {
            for (const auto& caster : m_instances) {
                if (caster->inFront && Shown(*caster) && caster->castsLighdows) {
                    m_device.SetTransform(DTransformState::World, caster->WorldMatrix(&projection));
                    caster->model->Render(caster->animation, caster->phase, -1, true, false, false, true);
                }
            }
        });
    }
}

void C3DEngine2::DrawShadows() {
    m_device.SetRenderState(DRenderState::StencilEnable, 1);
    SetStencil(D3DCMP_EQUAL, 0, D3DSTENCILOP_INCR);
    D3DMATERIAL9 shadow = m_shadowMaterial;
    m_device.SetMaterial(shadow);
    m_textures->SetTexture(0);
    for (const auto& light : m_lights) {
        if (!light->enabled || !light->castsShadows) {
            continue;
        }
        ForEachShadowProjection(light->light, [&](const D3DXMATRIX& projection) {
            for (const auto& caster : m_instances) {
                if (!caster->inFront || !Shown(*caster) || !caster->castsShadows) {
                    continue;
                }
                const std::optional<float> alpha =
                    ShadowAlpha(light->light, caster->WorldPosition(), m_shadowStrength);
                if (!alpha) {
                    continue;
                }
                if (*alpha != shadow.Diffuse.a) {
                    shadow.Diffuse.a = *alpha;
                    m_device.SetMaterial(shadow);
                }
                m_device.SetTransform(DTransformState::World, caster->WorldMatrix(&projection));
                caster->model->Render(caster->animation, caster->phase, -1, false, false, false, true);
            }
        });
    }
    m_device.SetRenderState(DRenderState::StencilEnable, 0);
}

void C3DEngine2::DrawMirrors() {
    if (m_fogOn) {
        m_device.SetRenderState(DRenderState::FogEnable, 1);
    }
    if (m_settings.mirrors) {
        m_device.SetRenderState(DRenderState::StencilEnable, 1);
    }
    // Mirrors are drawn even when disabled, as the scene has always shown them.
    for (const auto& mirror : m_instances) {
        if (mirror->kind != CModelInstance::MirrorSurface || !mirror->visible) {
            continue;
        }
        if (m_settings.mirrors) {
            DrawMirror(*mirror);
        } else {
            m_device.SetRenderState(DRenderState::AlphaBlendEnable, 0);
            DrawInstance(*mirror, false);
        }
    }
    if (m_settings.mirrors) {
        m_device.SetRenderState(DRenderState::StencilEnable, 0);
    }
    m_device.SetRenderState(DRenderState::FogEnable, 0);
}

void C3DEngine2::DrawMirror(CModelInstance& mirror) {
    D3DXMATRIX reflection;
    D3DXMatrixReflect(&reflection, &SurfacePlane(mirror));

    // Mark the mirror's pixels in the stencil without changing their colour.
    SetStencil(D3DCMP_ALWAYS, kMirrorStencil, D3DSTENCILOP_REPLACE);
    m_device.SetRenderState(DRenderState::ZWriteEnable, 0);
    m_device.SetRenderState(DRenderState::AlphaBlendEnable, 1);
    SetBlend(D3DBLEND_ZERO, D3DBLEND_ONE);
    m_device.SetTransform(DTransformState::World, mirror.WorldMatrix());
    m_device.SetMaterial(D3DMATERIAL9());
    m_textures->SetTexture(0);
    mirror.model->Render(mirror.animation, mirror.phase, -1, false, false, false, true);

    // The reflected world behind the glass, inside the mark only; the
    // reflection turns the winding around.
    m_device.Clear(D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    m_device.SetRenderState(DRenderState::ZWriteEnable, 1);
    SetStencil(D3DCMP_EQUAL, kMirrorStencil, D3DSTENCILOP_KEEP);
    m_device.SetRenderState(DRenderState::AlphaBlendEnable, 0);
    m_device.SetRenderState(DRenderState::CullMode, D3DCULL_CW);
    for (const bool transparent : {false, true}) {
        if (transparent) {
            m_device.SetRenderState(DRenderState::AlphaBlendEnable, 1);
            SetBlend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        }
        for (const auto& instance : m_instances) {
            if (IsShownSceneObject(*instance)) {
                DrawInstance(*instance, transparent, &reflection);
            }
        }
    }

    // The glass itself adds its colours onto the reflection.
    m_device.SetRenderState(DRenderState::CullMode, D3DCULL_CCW);
    SetBlend(D3DBLEND_ONE, D3DBLEND_ONE);
    DrawInstance(mirror, false);
    m_device.SetRenderState(DRenderState::AlphaBlendEnable, 0);
}
