#pragma once

#include "render/model/SpreshTypes.h"

#include <cstdint>
#include <string>
#include <vector>

class CPolygon;

struct ModelMaterialData {
    std::string name;
    // Relative to the texture folder; empty for none.
    std::string texture;
    D3DMATERIAL9 material;
    bool transparent = false;
    std::int32_t firstIndex = 0;
    std::int32_t indexCount = 0;
};

struct ModelMeshData {
    std::vector<ModelMaterialData> materials;
    std::vector<SpreshVertex> vertices;
    // Written as 32 bits; readers keep the low 16.
    std::vector<std::uint32_t> indices;
};

struct ModelAnimationData {
    std::string name;
    std::vector<ModelMeshData> frames;
};

// Writes the model file formats field by field, little-endian: IMS2 meshes,
// SPRT sprites and .col collision outlines. The ignored header values are 0.
class CModelWriter {
public:
    // Names longer than kMaxSpreshNameLength are refused with CADVException.
    static std::vector<std::uint8_t> WriteMesh(const ModelMeshData& mesh);
    static std::vector<std::uint8_t> WriteSprite(const std::vector<ModelAnimationData>& animations);
    static std::vector<std::uint8_t> WriteCollision(const CPolygon& outline);
};
