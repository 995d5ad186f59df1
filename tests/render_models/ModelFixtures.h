#pragma once

#include "render/model/CModelWriter.h"
#include "resources/CADVException.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Models the tests build with the project's own writer.

// Axis-aligned cube from -0.5 to 0.5: 24 vertices (four per face, with the
// face's outward normal), 36 indices, each face wound so that the plane
// through its points faces outward. One opaque material "cube".
ModelMeshData UnitCube();

// A mesh of the given points (normal up) and no triangles.
ModelMeshData PointMesh(const std::vector<D3DXVECTOR3>& points);

D3DMATERIAL9 GreyMaterial();

void PatchI32(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t value);

// The exception text `action` raises, or "" when it raises none.
std::string ExceptionText(const std::function<void()>& action);
