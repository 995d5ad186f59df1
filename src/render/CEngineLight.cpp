#include "render/CEngineLight.h"

#include "render/model/RecordFields.h"
#include "resources/ByteReader.h"
#include "resources/ByteWriter.h"
#include "resources/CADVException.h"

#include <bit>

namespace {

void PutFloats(std::vector<std::uint8_t>& out, std::initializer_list<float> values) {
    for (float v : values) {
        PutFloat(out, v);
    }
}

} // namespace

void CEngineLight::Save(std::vector<std::uint8_t>& out) const {
    PutBool(out, enabled);
    PutBool(out, castsLighdows);
    PutBool(out, castsShadows);
    PutBool(out, switchedOn);
    PutU32(out, static_cast<std::uint32_t>(light.Type));
    for (const D3DCOLORVALUE& c : {light.Diffuse, light.Specular, light.Ambient}) {
        PutFloats(out, {c.r, c.g, c.b, c.a});
    }
    PutFloats(out, {light.Position.x, light.Position.y, light.Position.z, light.Direction.x,
                    light.Direction.y, light.Direction.z, light.Range, light.Falloff, light.Attenuation0,
                    light.Attenuation1, light.Attenuation2, light.Theta, light.Phi});
}

std::size_t CEngineLight::Load(std::span<const std::uint8_t> data) {
    if (data.size() < kRecordSize) {
        throw CADVException("CEngineLight::Load - Light record is truncated (%zu of %zu bytes).", data.size(),
                            kRecordSize);
    }
    ByteReader in(data.first(kRecordSize));
    const auto flags = in.Take(4);
    D3DLIGHT9 read;
    read.Type = static_cast<D3DLIGHTTYPE>(in.U32());
    read.Diffuse = ReadColour(in);
    read.Specular = ReadColour(in);
    read.Ambient = ReadColour(in);
    read.Position = ReadVector(in);
    read.Direction = ReadVector(in);
    read.Range = ReadFloat(in);
    read.Falloff = ReadFloat(in);
    read.Attenuation0 = ReadFloat(in);
    read.Attenuation1 = ReadFloat(in);
    read.Attenuation2 = ReadFloat(in);
    read.Theta = ReadFloat(in);
    read.Phi = ReadFloat(in);

    enabled = flags[0] != 0;
    castsLighdows = flags[1] != 0;
    castsShadows = flags[2] != 0;
    switchedOn = flags[3] != 0;
    light = read;
    return kRecordSize;
}
