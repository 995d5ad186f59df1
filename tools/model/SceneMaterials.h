#pragma once

#include "render/model/CModelWriter.h"

#include <vector>

class ImportedScene;

// The engine's material for each material of the scene, in the scene's order:
// diffuse and emissive colours, transparency from the alpha, and the base
// colour texture as a name relative to the model's folder. Names are made
// unique, since a mesh keeps only the last of two materials of one name.
// Throws CADVException for a texture outside the model's folder, an embedded
// texture, and names longer than the format allows.
std::vector<ModelMaterialData> ConvertMaterials(const ImportedScene& scene);
