#pragma once

#include "render/model/CModelWriter.h"

// Building blocks of the sample game's models, on top of AddModelBox.

// A material of the given diffuse colour (ambient follows diffuse, no
// specular), glowing with `emissive`; transparent when alpha is below 1.
ModelMaterialData ColourMaterial(std::string name, std::string texture, D3DCOLORVALUE diffuse,
                                 D3DCOLORVALUE emissive = {});

// A mesh of one box, written as an IMS2 file.
std::vector<std::uint8_t> SingleBoxModel(const D3DXVECTOR3& min, const D3DXVECTOR3& max, ModelMaterialData material);

// AddModelBox, then the new box turned by `angle` radians about the z axis
// through `pivot`: how a limb swings forward and back in a figure whose front
// faces -x.
void AddSwungBox(ModelMeshData& mesh, const D3DXVECTOR3& min, const D3DXVECTOR3& max,
                 ModelMaterialData material, const D3DXVECTOR3& pivot, float angle);
