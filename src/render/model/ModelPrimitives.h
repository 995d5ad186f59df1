#pragma once

#include "render/model/CModelWriter.h"

// Simple solids for models made by the project's tools and tests.

// Appends an axis-aligned box from `min` to `max` to `mesh`: four vertices
// per face with the face's outward normal, each face wound counter-clockwise
// about it, texture coordinates spanning every face. Its triangles become one
// more material, `material` with firstIndex and indexCount filled in.
void AddModelBox(ModelMeshData& mesh, const D3DXVECTOR3& min, const D3DXVECTOR3& max,
                 ModelMaterialData material);

// Appends a rectangle from corner `origin` along `across` and `up`, split
// into cells x cells squares so that per-vertex lighting has vertices to
// light, all with `normal`; texture coordinates span the whole rectangle.
// Triangles are wound clockwise seen from where the normal points, the first
// one at `origin`, so the plane of the first triangle faces that way (shadow
// and mirror surfaces take their plane from it). Its triangles become one
// more material, as with AddModelBox.
void AddModelGrid(ModelMeshData& mesh, const D3DXVECTOR3& origin, const D3DXVECTOR3& across,
                  const D3DXVECTOR3& up, int cells, const D3DXVECTOR3& normal, ModelMaterialData material);
