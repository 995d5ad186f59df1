#include "render/model/C3DSpresh.h"

#include "render/model/IModelHost.h"
#include "render/device/DDevice.h"
#include "resources/CADVException.h"

void C3DSpresh::Render(const std::string& animation, float phase, int textureOverride, bool transparent,
                       bool useTextures, bool setMaterials, bool drawShapes) {
    // A model without the asked-for animation has nothing to show.
    const C3DIMesh2* frame = SelectFrame(animation, phase);
    if (frame == nullptr) {
        return;
    }
    const bool overridden = textureOverride >= 0;
    if (overridden && useTextures) {
        m_host.SetTexture(textureOverride);
    }
    if (!frame->vertexBuffer || !frame->indexBuffer) {
        return;
    }
    if (!(transparent ? m_hasTransparent : m_hasOpaque)) {
        return;
    }
    if (frame->kind != SpreshShape::FromFile && !drawShapes) {
        return;
    }

    DDevice& device = m_host.Device();
    HRESULT hr = device.SetFVF(kFvfPosNorTex1);
    if (FAILED(hr)) {
        throw CADVException(hr, "C3DSpresh::Render - Could not set FVF (POSNORTEX1)");
    }
    hr = device.SetStreamSource(0, frame->vertexBuffer.get(), 0, kPosNorTex1Stride);
    if (FAILED(hr)) {
        throw CADVException(hr, "C3DSpresh::Render - Could not set streamsource (vertex buffer)");
    }
    hr = device.SetIndices(frame->indexBuffer.get());
    if (FAILED(hr)) {
        throw CADVException(hr, "C3DSpresh::Render - Could not set streamsource (index buffer)");
    }

    for (const auto& [name, material] : frame->materials) {
        if (material.indexCount <= 0 || material.transparent != transparent) {
            continue;
        }
        if (!overridden && useTextures) {
            m_host.SetTexture(material.textureId);
        }
        if (setMaterials) {
            device.SetMaterial(material.material);
        }
        const auto startIndex = static_cast<std::uint32_t>(material.firstIndex);
        const auto triangles = static_cast<std::uint32_t>(material.indexCount / 3);
        hr = device.DrawIndexedPrimitive(0, 0, static_cast<std::uint32_t>(frame->vertexCount), startIndex,
                                         triangles);
        if (FAILED(hr)) {
            throw CADVException(
                hr, "C3DSpresh::Render - Could not draw indexed primitive from index %d with count %d",
                material.firstIndex, material.indexCount / 3);
        }
    }
}
