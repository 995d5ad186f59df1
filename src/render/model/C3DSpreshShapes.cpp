// Generated shapes: the filled circle and the band that scenes put on the
// ground, rebuilt from their parameters after a device reset.
#include "render/model/C3DSpresh.h"

#include "render/model/IModelHost.h"
#include "resources/CADVException.h"

#include <cmath>
#include <numbers>

namespace {

const char* const kShapeCaller = "C3DSpresh::CreateFilledCircle";

struct ShapeGeometry {
    std::vector<SpreshVertex> vertices;
    std::vector<std::uint16_t> indices;
};

// Texture coordinates map the circle of radius 1 onto the unit square.
float TextureCoordinate(float cosOrSin) {
    return (cosOrSin + 1) / 2;
}

float SegmentAngle(int i, int segments) {
    return static_cast<float>(i) * 2 * std::numbers::pi_v<float> / static_cast<float>(segments);
}

ShapeGeometry FilledCircle(const SpreshShape& shape) {
    const int n = shape.segments;
    const float r = shape.bottomRadius;
    ShapeGeometry g;
    g.vertices.push_back({0, 0, 0, 0, 1, 0, 0.5f, 0.5f});
    for (int i = 0; i < n; ++i) {
        const float c = std::cos(SegmentAngle(i, n));
        const float s = std::sin(SegmentAngle(i, n));
        g.vertices.push_back({r * c, 0, r * s, 0, 1, 0, TextureCoordinate(c), TextureCoordinate(s)});
    }
    for (int i = 0; i < n; ++i) {
        // The last triangle closes the fan on the first rim vertex: (0, 1, n).
        const int next = i + 1 < n ? i + 2 : 1;
        g.indices.insert(g.indices.end(),
                         {0, static_cast<std::uint16_t>(next), static_cast<std::uint16_t>(i + 1)});
    }
    return g;
}

ShapeGeometry Band(const SpreshShape& shape) {
    const int n = shape.segments;
    ShapeGeometry g;
    for (int i = 0; i < n; ++i) {
        const float c = std::cos(SegmentAngle(i, n));
        const float s = std::sin(SegmentAngle(i, n));
        for (const auto& [radius, height] : {std::pair{shape.bottomRadius, shape.bottomHeight},
                                             std::pair{shape.topRadius, shape.topHeight}}) {
            g.vertices.push_back({radius * c, height, radius * s, (radius + 1) * c, height, (radius + 1) * s,
                                  TextureCoordinate(c), TextureCoordinate(s)});
        }
    }
    const int count = 2 * n;
    for (int i = 0; i < n; ++i) {
        const auto at = [&](int k) { return static_cast<std::uint16_t>(k % count); };
        g.indices.insert(g.indices.end(), {at(2 * i), at(2 * i + 1), at(2 * i + 2), at(2 * i + 2),
                                           at(2 * i + 1), at(2 * i + 3)});
    }
    return g;
}

} // namespace

void C3DSpresh::BuildShape(C3DIMesh2& frame) {
    const ShapeGeometry g =
        frame.kind == SpreshShape::FilledCircle ? FilledCircle(frame.shape) : Band(frame.shape);
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(g.vertices.data()),
                                              g.vertices.size() * sizeof(SpreshVertex));
    frame.CreateBuffers(m_host.Device(), bytes, g.indices, kShapeCaller);
    CSpreshMaterial m;
    m.textureId = frame.shape.textureId;
    m.material = frame.shape.material;
    // A see-through colour draws in the transparent pass, after everything opaque.
    m.transparent = m.material.Diffuse.a < 1.0f;
    m.indexCount = frame.indexCount;
    frame.materials = {{"mat", m}};
    frame.materialCounter = 1;
    frame.outline = CPolygon();
}

void C3DSpresh::AddShape(const SpreshShape& shape, int kind, const std::string& animation) {
    // 16-bit indices address 65536 vertices; a shape needs at least one segment.
    const int verticesPerSegment = kind == SpreshShape::FilledCircle ? 1 : 2;
    if (shape.segments < 1 ||
        shape.segments > static_cast<int>(kMaxIndexedVertices - 1) / verticesPerSegment) {
        throw CADVException("%s - Invalid segment count %d", kShapeCaller, shape.segments);
    }
    auto frame = std::make_unique<C3DIMesh2>();
    frame->kind = kind;
    frame->shape = shape;
    BuildShape(*frame);
    (frame->materials.at("mat").transparent ? m_hasTransparent : m_hasOpaque) = true;
    m_animations[animation].push_back(std::move(frame));
    if (m_currentAnimation.empty()) {
        m_currentAnimation = animation;
    }
    m_loaded = true;
}

void C3DSpresh::CreateFilledCircle(float radius, const std::string& animation, int segments, int textureId,
                                   const D3DMATERIAL9& material) {
    AddShape({radius, 0, 0, 0, segments, textureId, material}, SpreshShape::FilledCircle, animation);
}

void C3DSpresh::CreateBand(float bottomRadius, float bottomHeight, float topRadius, float topHeight,
                           const std::string& animation, int segments, int textureId,
                           const D3DMATERIAL9& material) {
    AddShape({bottomRadius, bottomHeight, topRadius, topHeight, segments, textureId, material},
             SpreshShape::Band, animation);
}
