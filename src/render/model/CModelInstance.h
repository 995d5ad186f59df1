#pragma once

#include "mathutil/D3DXTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class C3DSpresh;

// One placement of a shared model in the scene: where it stands, how it is
// turned, which animation it shows and how the frame treats it.
class CModelInstance {
public:
    enum Kind { Scenery = 1, Ordinary = 2, ShadowSurface = 3, MirrorSurface = 4 };

    CModelInstance(C3DSpresh* model, const D3DXVECTOR3& position, const D3DXVECTOR3& rotation, bool visible,
                   bool enabled, int kind);

    C3DSpresh* model;
    D3DXVECTOR3 position;
    // roll, pitch, yaw in x, y, z, radians.
    D3DXVECTOR3 rotation;
    std::string animation = "idle";
    float phase = 0.0f;
    bool enabled;
    bool visible;
    bool castsShadows = true;
    bool castsLighdows = false;
    int kind;
    // Position and rotation are relative to the parent's when there is one.
    const CModelInstance* parent = nullptr;
    int skinTextureId = -1;
    std::string skinName;
    bool generatedShape = false;
    std::uint32_t objectId = 0;

    // Written by the frame's sorting.
    bool inFront = false;
    float depth = 0.0f;
    int sortKey = 0;

    // Mirror and shadow surfaces keep their plane for the placement it was
    // computed for; -1e38 forces the first computation.
    D3DXPLANE surfacePlane;
    D3DXVECTOR3 surfacePosition{-1e38f, -1e38f, -1e38f};
    D3DXVECTOR3 surfaceRotation{-1e38f, -1e38f, -1e38f};

    // Parent offsets add up without being turned by the parent's rotation.
    D3DXVECTOR3 WorldPosition() const;
    D3DXVECTOR3 WorldRotation() const;
    // RotationX(pitch) * RotationY(yaw) * RotationZ(roll) * Translation, then
    // `extra` on the right when given (shadow projection, mirroring).
    D3DXMATRIX WorldMatrix(const D3DXMATRIX* extra = nullptr) const;

    // The savegame record: placement, flags, animation and skin name.
    void Save(std::vector<std::uint8_t>& out) const;
    // Reads a record written by Save and returns its size. The skin texture
    // must be loaded again by name; the surface cache starts over. A
    // truncated record throws CADVException and changes nothing.
    std::size_t Load(std::span<const std::uint8_t> data);
};
