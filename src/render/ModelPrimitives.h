#pragma once

#include "render/CModelWriter.h"

// Simple solids for models made by the project's tools and tests.

// Appends an axis-aligned box from `min` to `max` to `mesh`: four vertices
// per face with the face's outward normal, each face wound counter-clockwise
// about it, texture coordinates spanning every face. Its triangles become one
// more material, `material` with firstIndex and indexCount filled in.
void AddModelBox(ModelMeshData& mesh, const D3DXVECTOR3& min, const D3DXVECTOR3& max,
                 ModelMaterialData material);
