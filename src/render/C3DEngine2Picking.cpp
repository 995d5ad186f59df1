#include "render/C3DEngine2.h"

#include "mathutil/D3DXMath.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CModelInstance.h"
#include "render/device/DDevice.h"
#include "resources/CADVException.h"

namespace {

bool IsPickable(const CModelInstance& instance) {
    return instance.inFront && instance.visible && instance.enabled &&
           (instance.kind == CModelInstance::Scenery || instance.kind == CModelInstance::Ordinary ||
            instance.kind == CModelInstance::MirrorSurface);
}

D3DXVECTOR3 Row(const D3DXMATRIX& m, int row) {
    return {m(row, 0), m(row, 1), m(row, 2)};
}

} // namespace

std::uint32_t C3DEngine2::PickColour(int x, int y) {
    PresentPendingFrame();
    const DRenderTarget previous = m_device.GetRenderTarget();
    m_device.SetRenderTarget(DRenderTarget::Picking);
    m_device.SetTransform(DTransformState::View, m_view);

    m_device.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    m_device.BeginScene();
    m_device.SetSamplerState(0, DSamplerState::MagFilter, D3DTEXF_POINT);
    m_device.SetSamplerState(0, DSamplerState::MinFilter, D3DTEXF_POINT);
    m_device.SetRenderState(DRenderState::Lighting, 1);
    // Lights carry no ambient colour and this material reflects nothing else,
    // so every pixel of an instance is exactly the ambient colour: its id.
    D3DMATERIAL9 flat;
    flat.Ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    m_device.SetMaterial(flat);
    m_textures->SetTexture(0);
    m_device.SetRenderState(DRenderState::AlphaBlendEnable, 0);
    for (const auto& instance : m_instances) {
        if (!IsPickable(*instance)) {
            continue;
        }
        m_device.SetTransform(DTransformState::World, instance->WorldMatrix());
        m_device.SetRenderState(DRenderState::Ambient, instance->objectId);
        for (const bool transparent : {false, true}) {
            instance->model->Render(instance->animation, instance->phase, -1, transparent, false, false,
                                    false);
        }
    }
    m_device.EndScene();
    // Nothing was drawn into the back buffer: this shows the last frame again.
    m_device.Present(0);

    // A position off the target (a cursor on the last column) covers no object.
    std::uint32_t colour = 0;
    if (FAILED(m_device.ReadPixel(DRenderTarget::Picking, x, y, &colour))) {
        colour = 0;
    }
    m_device.SetRenderTarget(previous);
    return colour;
}

C3DEngine2::PickingRay C3DEngine2::GetPickingRay(float x, float y) const {
    const D3DXMATRIX projection = m_device.GetTransform(DTransformState::Projection);
    const D3DXMATRIX view = m_device.GetTransform(DTransformState::View);
    D3DXMATRIX inverse;
    D3DXMatrixInverse(&inverse, nullptr, &view);

    const float px = (2.0f * x / static_cast<float>(m_screenWidth) - 1.0f) / projection(0, 0);
    const float py = -(2.0f * y / static_cast<float>(m_screenHeight) - 1.0f) / projection(1, 1);
    const D3DXVECTOR3 direction = px * Row(inverse, 0) + py * Row(inverse, 1) + Row(inverse, 2);
    PickingRay ray;
    D3DXVec3Normalize(&ray.direction, &direction);
    ray.origin = Row(inverse, 3);
    return ray;
}

std::optional<D3DXVECTOR3> C3DEngine2::Mouse_CalculatePickingPositionOnShadowPlane(float x, float y,
                                                                                   PickingRay* rayOut) {
    const PickingRay ray = GetPickingRay(x, y);
    if (rayOut != nullptr) {
        *rayOut = ray;
    }
    D3DXPLANE floor;
    for (const auto& instance : m_instances) {
        if (instance->kind == CModelInstance::ShadowSurface && instance->visible && instance->enabled) {
            floor = SurfacePlane(*instance);
            break;
        }
    }
    // Without a floor the plane is all zero and meets no line.
    const D3DXVECTOR3 end = ray.origin + 10000.0f * ray.direction;
    D3DXVECTOR3 point;
    if (D3DXPlaneIntersectLine(&point, &floor, &ray.origin, &end) == nullptr) {
        return std::nullopt;
    }
    const D3DXVECTOR3 view = m_at - m_eye;
    const D3DXVECTOR3 toPoint = point - m_eye;
    if (D3DXVec3Dot(&view, &toPoint) < 0.0f) {
        throw CADVException(
            "C3DEngine2::Mouse_CalculatePickingPositionOnShadowPlane() - Point behind viewer");
    }
    return point;
}
