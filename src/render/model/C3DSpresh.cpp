#include "render/model/C3DSpresh.h"

#include "render/model/IModelHost.h"
#include "render/model/RecordFields.h"
#include "resources/ByteReader.h"
#include "resources/CADVException.h"

#include <cmath>
#include <cstring>

namespace {

// Raised inside the reader for data that does not add up; Load turns it into
// the text naming the file.
struct BadSpreshData {};

void Require(bool condition) {
    if (!condition) {
        throw BadSpreshData{};
    }
}

// A length-prefixed name of `length` bytes (plus `extra` bytes that belong
// to it, the sprite's terminating zero). Like the C strings of other readers
// of the format, the name ends at its first zero byte.
std::string ReadName(ByteReader& reader, std::size_t extra) {
    const std::int32_t length = reader.I32();
    Require(reader.Ok() && length >= 0 && length <= kMaxSpreshNameLength);
    const auto bytes = reader.Take(static_cast<std::size_t>(length) + extra);
    Require(reader.Ok());
    const auto text = bytes.first(static_cast<std::size_t>(length));
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(text.data(), 0, text.size()));
    return std::string(reinterpret_cast<const char*>(text.data()),
                       end ? static_cast<std::size_t>(end - text.data()) : text.size());
}

bool MagicIs(std::span<const std::uint8_t> bytes, const char* magic) {
    return bytes.size() == 4 && std::memcmp(bytes.data(), magic, 4) == 0;
}

} // namespace

C3DSpresh::C3DSpresh(IModelHost& host, std::string fileName)
    : CLogger("", 0, 0), m_host(host), m_fileName(std::move(fileName)) {}

C3DSpresh::~C3DSpresh() = default;

void C3DSpresh::SetKeepInCache(const std::string& value) {
    if (value == "true") {
        m_keepInCache = true;
    } else if (value == "false") {
        m_keepInCache = false;
    }
}

void C3DSpresh::Load(bool load) {
    if (!load) {
        return;
    }
    const auto data = m_host.ReadFile(m_fileName);
    if (!data) {
        throw CADVException("File %s not found.", m_fileName.c_str());
    }
    // Read into a table of its own: a failed load must not leave half a model
    // behind for the next attempt to append to.
    m_animations = ReadFile(*data);
    m_cachedCollisionName = CachedCollisionName(m_fileName, *data);
    m_currentAnimation = m_animations.contains(kIdleAnimation) || m_animations.empty()
                             ? kIdleAnimation
                             : m_animations.begin()->first;
    LoadCollisionData();
    m_loaded = true;
}

C3DSpresh::Animations C3DSpresh::ReadFile(const std::vector<std::uint8_t>& data) {
    ByteReader reader(data);
    const auto magic = reader.Take(4);
    Animations animations;
    if (MagicIs(magic, "IMS2")) {
        try {
            ReadMesh(reader, animations[kIdleAnimation]);
        } catch (const CADVException&) {
            throw;
        } catch (...) {
            throw CADVException("Invalid mesh in file %s.", m_fileName.c_str());
        }
    } else if (MagicIs(magic, "SPRT")) {
        try {
            reader.Skip(4);
            const std::int32_t count = reader.I32();
            Require(reader.Ok());
            for (std::int32_t a = 0; a < count; ++a) {
                Frames& frames = animations[ReadName(reader, 1)];
                const std::int32_t frameCount = reader.I32();
                Require(reader.Ok());
                for (std::int32_t f = 0; f < frameCount; ++f) {
                    const auto frameMagic = reader.Take(4);
                    Require(reader.Ok());
                    if (!MagicIs(frameMagic, "IMS2")) {
                        throw CADVException("Invalid mesh data inside sprite");
                    }
                    ReadMesh(reader, frames);
                }
            }
        } catch (const CADVException&) {
            throw;
        } catch (...) {
            throw CADVException("Invalid sprite in file %s.", m_fileName.c_str());
        }
    } else {
        throw CADVException("Invalid spresh data in file %s.", m_fileName.c_str());
    }
    return animations;
}

void C3DSpresh::ReadMesh(ByteReader& reader, Frames& frames) {
    auto mesh = std::make_unique<C3DIMesh2>();
    reader.Skip(9);
    const std::int32_t materialCount = reader.I32();
    Require(reader.Ok());
    for (std::int32_t i = 0; i < materialCount; ++i) {
        const std::string name = ReadName(reader, 0);
        CSpreshMaterial m;
        m.textureName = ReadName(reader, 0);
        m.textureId = m_host.GetTextureId(m.textureName);
        m.material.Diffuse = ReadColour(reader);
        m.material.Ambient = ReadColour(reader);
        m.material.Specular = ReadColour(reader);
        m.material.Emissive = ReadColour(reader);
        m.material.Power = ReadFloat(reader);
        m.transparent = reader.U8() != 0;
        (m.transparent ? m_hasTransparent : m_hasOpaque) = true;
        m.firstIndex = reader.I32();
        m.indexCount = reader.I32();
        Require(reader.Ok());
        m.number = mesh->materialCounter++;
        mesh->materials[name] = m;
    }

    const std::int32_t vertexCount = reader.I32();
    const std::int32_t indexCount = reader.I32();
    Require(reader.Ok() && vertexCount >= 0 && indexCount >= 0);
    const auto vertexBytes = reader.Take(static_cast<std::size_t>(vertexCount) * kPosNorTex1Stride);
    const auto indexBytes = reader.Take(static_cast<std::size_t>(indexCount) * 4);
    Require(reader.Ok());
    // Every index and material range is checked before anything is drawn
    // from them: a bad file must not make the device read past a buffer.
    for (const auto& [name, m] : mesh->materials) {
        Require(m.firstIndex >= 0 && m.indexCount >= 0 && m.indexCount <= indexCount - m.firstIndex);
    }
    std::vector<std::uint16_t> indices(static_cast<std::size_t>(indexCount));
    ByteReader indexReader(indexBytes);
    for (auto& index : indices) {
        index = static_cast<std::uint16_t>(indexReader.U32());
        Require(index < vertexCount);
    }

    mesh->CreateBuffers(m_host.Device(), vertexBytes, indices, "C3DSpresh::Load");
    frames.push_back(std::move(mesh));
}

void C3DSpresh::EnsureLoaded() {
    // A model of generated shapes has no file to read; it is complete as built.
    if (!m_loaded && !m_fileName.empty()) {
        Load(true);
    }
}

void C3DSpresh::Restore() {
    if (m_fileName.empty()) {
        ForEachFrame([this](C3DIMesh2& frame) { BuildShape(frame); });
        return;
    }
    // A model never used has nothing on the device yet: it is read on first use
    // as before, so a missing file cannot fail the restore.
    if (m_loaded) {
        Load(true);
    }
}

C3DIMesh2* C3DSpresh::SelectFrame(const std::string& animation, float phase) {
    EnsureLoaded();
    const auto found = m_animations.find(animation);
    if (found == m_animations.end() || found->second.empty()) {
        return nullptr;
    }
    // The product is taken in float as the frame counts of other players of
    // these models do (0.7 of 10 frames is frame 7); the modulo in double, so
    // an odd phase (negative, huge, not a number) still lands on a frame.
    const double count = static_cast<double>(found->second.size());
    const float scaled = static_cast<float>(found->second.size()) * phase;
    double index = std::fmod(std::trunc(static_cast<double>(scaled)), count);
    if (!(index >= 0.0)) {
        index = std::isnan(index) ? 0.0 : index + count;
    }
    m_currentFrame = static_cast<int>(index);
    return found->second[static_cast<std::size_t>(m_currentFrame)].get();
}

int C3DSpresh::TriangleCount() {
    EnsureLoaded();
    const auto found =
        m_animations.contains(kIdleAnimation) ? m_animations.find(kIdleAnimation) : m_animations.begin();
    if (found == m_animations.end() || found->second.empty()) {
        return 0;
    }
    return found->second.front()->indexCount / 3;
}

const C3DIMesh2* C3DSpresh::FirstIdleFrame() const {
    const auto found = m_animations.find(kIdleAnimation);
    return found == m_animations.end() || found->second.empty() ? nullptr : found->second.front().get();
}

void C3DSpresh::ReloadTextures() {
    // Generated shapes keep the ids their definitions gave them.
    if (m_fileName.empty()) {
        return;
    }
    ForEachFrame([this](C3DIMesh2& frame) {
        for (auto& [name, m] : frame.materials) {
            m.textureId = m_host.GetTextureId(m.textureName);
        }
    });
}

void C3DSpresh::SetTexture(int textureId) {
    ForEachFrame([&](C3DIMesh2& frame) {
        for (auto& [name, m] : frame.materials) {
            m.textureId = textureId;
        }
    });
}

void C3DSpresh::SetEmissive(float r, float g, float b, float a) {
    ForEachFrame([&](C3DIMesh2& frame) {
        for (auto& [name, m] : frame.materials) {
            m.material.Emissive = {r, g, b, a};
        }
    });
}
