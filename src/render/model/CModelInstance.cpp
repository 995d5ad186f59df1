#include "render/model/CModelInstance.h"

#include "mathutil/D3DXMath.h"
#include "render/model/RecordFields.h"
#include "resources/ByteReader.h"
#include "resources/ByteWriter.h"
#include "resources/CADVException.h"

#include <bit>
#include <cstring>

namespace {

void PutVector(std::vector<std::uint8_t>& out, const D3DXVECTOR3& v) {
    PutFloat(out, v.x);
    PutFloat(out, v.y);
    PutFloat(out, v.z);
}

// Length, then the text with its terminating zero; nothing more when empty.
void PutName(std::vector<std::uint8_t>& out, const std::string& name) {
    PutU32(out, static_cast<std::uint32_t>(name.size()));
    if (!name.empty()) {
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
    }
}

std::string GetName(ByteReader& in) {
    const std::int32_t length = in.I32();
    if (length <= 0) {
        return {};
    }
    const auto bytes = in.Take(static_cast<std::size_t>(length) + 1);
    const auto* text = reinterpret_cast<const char*>(bytes.data());
    return std::string(text, bytes.empty() ? 0 : strnlen(text, bytes.size()));
}

} // namespace

CModelInstance::CModelInstance(C3DSpresh* aModel, const D3DXVECTOR3& aPosition, const D3DXVECTOR3& aRotation,
                               bool aVisible, bool aEnabled, int aKind)
    : model(aModel), position(aPosition), rotation(aRotation), enabled(aEnabled), visible(aVisible),
      kind(aKind) {}

D3DXVECTOR3 CModelInstance::WorldPosition() const {
    return parent ? position + parent->WorldPosition() : position;
}

D3DXVECTOR3 CModelInstance::WorldRotation() const {
    return parent ? rotation + parent->WorldRotation() : rotation;
}

D3DXMATRIX CModelInstance::WorldMatrix(const D3DXMATRIX* extra) const {
    const D3DXVECTOR3 r = WorldRotation();
    const D3DXVECTOR3 p = WorldPosition();
    D3DXMATRIX rx, ry, rz, t;
    D3DXMatrixRotationX(&rx, r.y);
    D3DXMatrixRotationY(&ry, r.z);
    D3DXMatrixRotationZ(&rz, r.x);
    D3DXMatrixTranslation(&t, p.x, p.y, p.z);
    D3DXMATRIX m = rx * ry * rz * t;
    return extra ? m * *extra : m;
}

void CModelInstance::Save(std::vector<std::uint8_t>& out) const {
    PutVector(out, position);
    PutVector(out, rotation);
    for (bool flag : {enabled, visible, castsShadows, castsLighdows}) {
        out.push_back(flag ? 1 : 0);
    }
    PutName(out, animation);
    PutFloat(out, phase);
    PutName(out, skinName);
}

std::size_t CModelInstance::Load(std::span<const std::uint8_t> data) {
    ByteReader in(data);
    const D3DXVECTOR3 newPosition = ReadVector(in);
    const D3DXVECTOR3 newRotation = ReadVector(in);
    bool flags[4];
    for (bool& flag : flags) {
        flag = in.U8() != 0;
    }
    std::string newAnimation = GetName(in);
    const float newPhase = ReadFloat(in);
    std::string newSkin = GetName(in);
    if (!in.Ok()) {
        throw CADVException("CModelInstance::Load - Instance record is truncated");
    }
    position = newPosition;
    rotation = newRotation;
    enabled = flags[0];
    visible = flags[1];
    castsShadows = flags[2];
    castsLighdows = flags[3];
    animation = std::move(newAnimation);
    phase = newPhase;
    skinName = std::move(newSkin);
    skinTextureId = -1;
    surfacePosition = surfaceRotation = {-1e38f, -1e38f, -1e38f};
    return in.Position();
}
