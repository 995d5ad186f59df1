#include "render/model/CModelWriter.h"

#include "navigation/CPolygon.h"
#include "resources/CADVException.h"

#include <bit>

namespace {

class ByteWriter {
public:
    void U8(std::uint8_t v) { m_out.push_back(v); }
    void U32(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) {
            m_out.push_back(static_cast<std::uint8_t>(v >> shift));
        }
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void F32(float v) { U32(std::bit_cast<std::uint32_t>(v)); }
    void Bytes(const std::string& text) { m_out.insert(m_out.end(), text.begin(), text.end()); }
    void Colour(const D3DCOLORVALUE& c) {
        F32(c.r);
        F32(c.g);
        F32(c.b);
        F32(c.a);
    }
    // The sprite's animation names carry their terminating zero, the other names do not.
    void Name(const std::string& name, bool terminated) {
        if (name.size() > static_cast<std::size_t>(kMaxSpreshNameLength)) {
            throw CADVException("CModelWriter - Name '%s' is longer than %d bytes", name.c_str(),
                                kMaxSpreshNameLength);
        }
        I32(static_cast<std::int32_t>(name.size()));
        Bytes(name);
        if (terminated) {
            U8(0);
        }
    }
    void Mesh(const ModelMeshData& mesh) {
        Bytes("IMS2");
        U32(0);
        U32(0);
        U8(0);
        I32(static_cast<std::int32_t>(mesh.materials.size()));
        for (const ModelMaterialData& m : mesh.materials) {
            Name(m.name, false);
            Name(m.texture, false);
            Colour(m.material.Diffuse);
            Colour(m.material.Ambient);
            Colour(m.material.Specular);
            Colour(m.material.Emissive);
            F32(m.material.Power);
            U8(m.transparent ? 1 : 0);
            I32(m.firstIndex);
            I32(m.indexCount);
        }
        I32(static_cast<std::int32_t>(mesh.vertices.size()));
        I32(static_cast<std::int32_t>(mesh.indices.size()));
        for (const SpreshVertex& v : mesh.vertices) {
            for (float f : {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.u, v.v}) {
                F32(f);
            }
        }
        for (std::uint32_t index : mesh.indices) {
            U32(index);
        }
    }

    std::vector<std::uint8_t> Take() { return std::move(m_out); }
    std::vector<std::uint8_t>& Out() { return m_out; }

private:
    std::vector<std::uint8_t> m_out;
};

} // namespace

std::vector<std::uint8_t> CModelWriter::WriteMesh(const ModelMeshData& mesh) {
    ByteWriter out;
    out.Mesh(mesh);
    return out.Take();
}

std::vector<std::uint8_t> CModelWriter::WriteSprite(const std::vector<ModelAnimationData>& animations) {
    ByteWriter out;
    out.Bytes("SPRT");
    out.U32(0);
    out.I32(static_cast<std::int32_t>(animations.size()));
    for (const ModelAnimationData& animation : animations) {
        out.Name(animation.name, true);
        out.I32(static_cast<std::int32_t>(animation.frames.size()));
        for (const ModelMeshData& frame : animation.frames) {
            out.Mesh(frame);
        }
    }
    return out.Take();
}

std::vector<std::uint8_t> CModelWriter::WriteCollision(const CPolygon& outline) {
    ByteWriter out;
    out.U32(1);
    outline.Save(out.Out());
    return out.Take();
}
