#pragma once

#include "mathutil/D3DXTypes.h"

#include <cstdint>

// The records and constants of the device layer. They keep the layout and
// meaning of their Direct3D 9 counterparts because savegames store lights in
// that layout and the renderer's code is written in those terms.

struct D3DCOLORVALUE {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
    bool operator==(const D3DCOLORVALUE&) const = default;
};

struct D3DMATERIAL9 {
    D3DCOLORVALUE Diffuse;
    D3DCOLORVALUE Ambient;
    D3DCOLORVALUE Specular;
    D3DCOLORVALUE Emissive;
    float Power = 0.0f;
    bool operator==(const D3DMATERIAL9&) const = default;
};

enum class D3DLIGHTTYPE : std::uint32_t { D3DLIGHT_POINT = 1, D3DLIGHT_SPOT = 2, D3DLIGHT_DIRECTIONAL = 3 };

struct D3DLIGHT9 {
    D3DLIGHTTYPE Type = D3DLIGHTTYPE::D3DLIGHT_POINT;
    D3DCOLORVALUE Diffuse;
    D3DCOLORVALUE Specular;
    D3DCOLORVALUE Ambient;
    D3DXVECTOR3 Position;
    D3DXVECTOR3 Direction;
    float Range = 0.0f;
    float Falloff = 0.0f;
    float Attenuation0 = 0.0f;
    float Attenuation1 = 0.0f;
    float Attenuation2 = 0.0f;
    float Theta = 0.0f;
    float Phi = 0.0f;
    bool operator==(const D3DLIGHT9&) const = default;
};

// Flexible vertex format bits of the two vertex layouts the renderer draws.
constexpr std::uint32_t D3DFVF_XYZ = 0x002;
constexpr std::uint32_t D3DFVF_XYZRHW = 0x004;
constexpr std::uint32_t D3DFVF_NORMAL = 0x010;
constexpr std::uint32_t D3DFVF_DIFFUSE = 0x040;
constexpr std::uint32_t D3DFVF_TEX1 = 0x100;

// Position, normal, one texture coordinate pair ("POSNORTEX1"): models.
constexpr std::uint32_t kFvfPosNorTex1 = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
constexpr std::uint32_t kPosNorTex1Stride = 32;
// Pre-transformed screen position, diffuse colour, one texture pair: the GUI.
constexpr std::uint32_t kFvfScreenTex1 = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr std::uint32_t kScreenTex1Stride = 28;

// Indices are 16 bits wide, so a mesh addresses at most this many vertices.
constexpr std::uint32_t kMaxIndexedVertices = 65536;
constexpr std::uint32_t kIndex16Size = 2;
// Lights the fixed-function pipeline guarantees at once.
constexpr std::uint32_t kMaxActiveLights = 8;
// Texture stages the renderer uses.
constexpr std::uint32_t kTextureStages = 1;

enum class DTextureFormat { A8R8G8B8, X8R8G8B8 };

enum class DTransformState { World, View, Projection };

enum class DRenderState {
    ZEnable,
    ZWriteEnable,
    ShadeMode,
    CullMode,
    DitherEnable,
    Lighting,
    Ambient,
    SpecularEnable,
    EmissiveMaterialSource,
    AlphaBlendEnable,
    SrcBlend,
    DestBlend,
    FogEnable,
    FogColor,
    FogVertexMode,
    FogStart,
    FogEnd,
    StencilEnable,
    StencilFunc,
    StencilRef,
    StencilMask,
    StencilWriteMask,
    StencilFail,
    StencilZFail,
    StencilPass,
};

enum class DSamplerState { MagFilter, MinFilter, MipFilter, MaxAnisotropy };

// FogVertexMode value: fog grows linearly from the start to the end distance.
constexpr std::uint32_t D3DFOG_LINEAR = 3;

// Bits of Clear.
constexpr std::uint32_t D3DCLEAR_TARGET = 0x1;
constexpr std::uint32_t D3DCLEAR_ZBUFFER = 0x2;
constexpr std::uint32_t D3DCLEAR_STENCIL = 0x4;

// Present flag: return at once when the device is still busy.
constexpr std::uint32_t D3DPRESENT_DONOTWAIT = 0x1;
// What Present answers in that case.
constexpr std::int32_t D3DERR_WASSTILLDRAWING = static_cast<std::int32_t>(0x8876021C);
// What a resource call answers when the resource cannot be made or mapped.
constexpr std::int32_t D3DERR_INVALIDCALL = static_cast<std::int32_t>(0x8876086C);
constexpr std::int32_t D3DERR_OUTOFVIDEOMEMORY = static_cast<std::int32_t>(0x8876017C);
