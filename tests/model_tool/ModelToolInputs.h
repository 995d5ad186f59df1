#pragma once

#include "mathutil/D3DXTypes.h"
#include "render/model/CModelWriter.h"

#include <filesystem>
#include <string>

// Source models the tests write for morvane-model, each small enough to check by hand.

// The cube of the glTF files: x 0..2, y 0..2, z 1..3, off centre in x and z
// so that a mirror shows. Four vertices per face as the engine's box has them.
ModelMeshData CubeMesh();
inline const D3DXVECTOR3 kCubeMin{0, 0, 1};
inline const D3DXVECTOR3 kCubeMax{2, 2, 3};

// The cube as cube.gltf with cube.bin: material "crate" of base colour
// (1, 0.5, 0.25, 1), emissive (0.1, 0.2, 0.3) and the texture `textureUri`;
// the animation "slide" moves it from x + 0 to x + 2 in one second, keyed at
// both ends. Returns the .gltf path.
std::filesystem::path WriteCubeGltf(const std::filesystem::path& folder,
                                    const std::string& textureUri = "crate.png");
// The same document and buffer as one .glb file.
void WriteCubeGlb(const std::filesystem::path& path);

// A strip 1 wide (x -0.5..0.5) and 2 high (y 0..2), rows at y 0, 1 and 2,
// skinned to the bones "root" (at the origin; the rows at 0 and 1) and "tip"
// (at y = 1; the row at 2). The animation "bend" turns "tip" from rest to a
// quarter turn about +z in one second. Returns the .gltf path.
std::filesystem::path WriteSkinnedStrip(const std::filesystem::path& folder);

// box.obj with box.mtl: two boxes side by side, the first (x 0..1) of
// material "glass" (diffuse 1 0 0, opacity 0.5), the second (x 2..3) of
// material "lamp" (emissive 0.2 0.3 0.4, texture textures/wood.png).
// `materialName` replaces "lamp" where a test needs another name.
std::filesystem::path WriteBoxObj(const std::filesystem::path& folder,
                                  const std::string& materialName = "lamp");
// The boxes of box.obj as the engine's mesh, for comparing vertices.
ModelMeshData BoxObjMesh();

// tower.obj, no materials: a box x 0..1, y 0..2 and z 0..3, modelled with z up.
std::filesystem::path WriteZUpObj(const std::filesystem::path& folder);
ModelMeshData ZUpMesh();

// quad.obj: one face of four corners.
std::filesystem::path WriteQuadObj(const std::filesystem::path& folder);
// many.obj: separate triangles of 65 538 distinct vertices.
std::filesystem::path WriteManyVerticesObj(const std::filesystem::path& folder);
