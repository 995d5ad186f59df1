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

// FogVertexMode values: no fog, or fog growing linearly from the start to the
// end distance (the only curve the renderer uses).
constexpr std::uint32_t D3DFOG_NONE = 0;
constexpr std::uint32_t D3DFOG_LINEAR = 3;

// ShadeMode values.
constexpr std::uint32_t D3DSHADE_FLAT = 1;
constexpr std::uint32_t D3DSHADE_GOURAUD = 2;

// CullMode values: which screen-space winding is dropped.
constexpr std::uint32_t D3DCULL_NONE = 1;
constexpr std::uint32_t D3DCULL_CW = 2;
constexpr std::uint32_t D3DCULL_CCW = 3;

// EmissiveMaterialSource value: the emissive colour comes from the material.
constexpr std::uint32_t D3DMCS_MATERIAL = 0;

// SrcBlend and DestBlend values.
constexpr std::uint32_t D3DBLEND_ZERO = 1;
constexpr std::uint32_t D3DBLEND_ONE = 2;
constexpr std::uint32_t D3DBLEND_SRCCOLOR = 3;
constexpr std::uint32_t D3DBLEND_INVSRCCOLOR = 4;
constexpr std::uint32_t D3DBLEND_SRCALPHA = 5;
constexpr std::uint32_t D3DBLEND_INVSRCALPHA = 6;
constexpr std::uint32_t D3DBLEND_DESTALPHA = 7;
constexpr std::uint32_t D3DBLEND_INVDESTALPHA = 8;
constexpr std::uint32_t D3DBLEND_DESTCOLOR = 9;
constexpr std::uint32_t D3DBLEND_INVDESTCOLOR = 10;

// StencilFunc values.
constexpr std::uint32_t D3DCMP_NEVER = 1;
constexpr std::uint32_t D3DCMP_LESS = 2;
constexpr std::uint32_t D3DCMP_EQUAL = 3;
constexpr std::uint32_t D3DCMP_LESSEQUAL = 4;
constexpr std::uint32_t D3DCMP_GREATER = 5;
constexpr std::uint32_t D3DCMP_NOTEQUAL = 6;
constexpr std::uint32_t D3DCMP_GREATEREQUAL = 7;
constexpr std::uint32_t D3DCMP_ALWAYS = 8;

// StencilFail, StencilZFail and StencilPass values. INCRSAT and DECRSAT stop
// at the ends of the range, INCR and DECR wrap around.
constexpr std::uint32_t D3DSTENCILOP_KEEP = 1;
constexpr std::uint32_t D3DSTENCILOP_ZERO = 2;
constexpr std::uint32_t D3DSTENCILOP_REPLACE = 3;
constexpr std::uint32_t D3DSTENCILOP_INCRSAT = 4;
constexpr std::uint32_t D3DSTENCILOP_DECRSAT = 5;
constexpr std::uint32_t D3DSTENCILOP_INVERT = 6;
constexpr std::uint32_t D3DSTENCILOP_INCR = 7;
constexpr std::uint32_t D3DSTENCILOP_DECR = 8;

// Sampler filter values.
constexpr std::uint32_t D3DTEXF_NONE = 0;
constexpr std::uint32_t D3DTEXF_POINT = 1;
constexpr std::uint32_t D3DTEXF_LINEAR = 2;
constexpr std::uint32_t D3DTEXF_ANISOTROPIC = 3;

// The two colour targets: the back buffer that Present shows, and the
// off-screen target of the same size that picking draws object ids into. Both
// share the one depth-stencil buffer.
enum class DRenderTarget { BackBuffer, Picking };

// What one frame cost the device, counted from BeginScene: draw calls, the
// triangles they drew, state changes that reached the driver, and state calls
// that changed nothing and were dropped.
struct DDeviceStats {
    std::uint32_t drawCalls = 0;
    std::uint32_t triangles = 0;
    std::uint32_t stateChanges = 0;
    std::uint32_t redundantStates = 0;
};

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
// What device creation answers when the platform cannot carry a device.
constexpr std::int32_t D3DERR_NOTAVAILABLE = static_cast<std::int32_t>(0x8876086A);
