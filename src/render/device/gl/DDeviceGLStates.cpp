#include "render/device/gl/DDeviceGL.h"

#include <algorithm>
#include <bit>

// Direct3D render and sampler states in GL terms. Values outside Direct3D's
// ranges fall back to the state's default meaning rather than reaching GL.

namespace {

GLenum BlendFactor(std::uint32_t blend, GLenum fallback) {
    switch (blend) {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_ONE:
        return GL_ONE;
    case D3DBLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
        return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
        return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
        return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
        return GL_ONE_MINUS_DST_COLOR;
    default:
        return fallback;
    }
}

GLenum CompareFunction(std::uint32_t cmp) {
    switch (cmp) {
    case D3DCMP_NEVER:
        return GL_NEVER;
    case D3DCMP_LESS:
        return GL_LESS;
    case D3DCMP_EQUAL:
        return GL_EQUAL;
    case D3DCMP_LESSEQUAL:
        return GL_LEQUAL;
    case D3DCMP_GREATER:
        return GL_GREATER;
    case D3DCMP_NOTEQUAL:
        return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL:
        return GL_GEQUAL;
    default:
        return GL_ALWAYS;
    }
}

GLenum StencilOperation(std::uint32_t op) {
    switch (op) {
    case D3DSTENCILOP_ZERO:
        return GL_ZERO;
    case D3DSTENCILOP_REPLACE:
        return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT:
        return GL_INCR;
    case D3DSTENCILOP_DECRSAT:
        return GL_DECR;
    case D3DSTENCILOP_INVERT:
        return GL_INVERT;
    case D3DSTENCILOP_INCR:
        return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR:
        return GL_DECR_WRAP;
    default:
        return GL_KEEP;
    }
}

void Switch(GLenum capability, bool on) {
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

} // namespace

void DDeviceGL::ApplyRenderState(DRenderState state) {
    const std::uint32_t value = RenderState(state);
    switch (state) {
    case DRenderState::ZEnable:
        Switch(GL_DEPTH_TEST, value != 0);
        break;
    case DRenderState::ZWriteEnable:
        glDepthMask(value != 0 ? GL_TRUE : GL_FALSE);
        break;
    case DRenderState::CullMode:
        // Direct3D names the screen-space winding it drops. The targets are
        // shown without flipping, so GL's window winding is the one on screen.
        Switch(GL_CULL_FACE, value == D3DCULL_CW || value == D3DCULL_CCW);
        glFrontFace(value == D3DCULL_CW ? GL_CCW : GL_CW);
        break;
    case DRenderState::DitherEnable:
        Switch(GL_DITHER, value != 0);
        break;
    case DRenderState::Lighting:
        m_shaderState.lighting = value != 0;
        break;
    case DRenderState::Ambient:
        m_shaderState.ambient = value;
        break;
    case DRenderState::AlphaBlendEnable:
        Switch(GL_BLEND, value != 0);
        break;
    case DRenderState::SrcBlend:
    case DRenderState::DestBlend:
        glBlendFunc(BlendFactor(RenderState(DRenderState::SrcBlend), GL_ONE),
                    BlendFactor(RenderState(DRenderState::DestBlend), GL_ZERO));
        break;
    case DRenderState::FogEnable:
    case DRenderState::FogVertexMode:
        m_shaderState.fog = RenderState(DRenderState::FogEnable) != 0 &&
                            RenderState(DRenderState::FogVertexMode) == D3DFOG_LINEAR;
        break;
    case DRenderState::FogColor:
        m_shaderState.fogColour = value;
        break;
    case DRenderState::FogStart:
        m_shaderState.fogStart = std::bit_cast<float>(value);
        break;
    case DRenderState::FogEnd:
        m_shaderState.fogEnd = std::bit_cast<float>(value);
        break;
    case DRenderState::StencilEnable:
        Switch(GL_STENCIL_TEST, value != 0);
        break;
    case DRenderState::StencilFunc:
    case DRenderState::StencilRef:
    case DRenderState::StencilMask:
        glStencilFunc(CompareFunction(RenderState(DRenderState::StencilFunc)),
                      static_cast<GLint>(RenderState(DRenderState::StencilRef) & 0xFF),
                      RenderState(DRenderState::StencilMask));
        break;
    case DRenderState::StencilWriteMask:
        glStencilMask(value);
        break;
    case DRenderState::StencilFail:
    case DRenderState::StencilZFail:
    case DRenderState::StencilPass:
        glStencilOp(StencilOperation(RenderState(DRenderState::StencilFail)),
                    StencilOperation(RenderState(DRenderState::StencilZFail)),
                    StencilOperation(RenderState(DRenderState::StencilPass)));
        break;
    // Shading is always Gouraud, the specular term is never lit and the
    // emissive colour always comes from the material: vertices here carry no
    // colours of their own to take it from.
    case DRenderState::ShadeMode:
    case DRenderState::SpecularEnable:
    case DRenderState::EmissiveMaterialSource:
        break;
    }
    switch (state) {
    case DRenderState::Lighting:
    case DRenderState::Ambient:
        m_pipeline->Invalidate(DFixedFunctionGL::kLighting);
        break;
    case DRenderState::FogEnable:
    case DRenderState::FogVertexMode:
    case DRenderState::FogColor:
    case DRenderState::FogStart:
    case DRenderState::FogEnd:
        m_pipeline->Invalidate(DFixedFunctionGL::kFog);
        break;
    default:
        break;
    }
}

void DDeviceGL::ApplySamplerStates() {
    const auto filter = [this](DSamplerState state) {
        return m_samplerStates[static_cast<std::size_t>(state)];
    };
    const std::uint32_t mag = filter(DSamplerState::MagFilter);
    const std::uint32_t min = filter(DSamplerState::MinFilter);
    const std::uint32_t mip = filter(DSamplerState::MipFilter);
    // Anisotropic filtering samples linearly along the footprint.
    const bool minLinear = min == D3DTEXF_LINEAR || min == D3DTEXF_ANISOTROPIC;
    GLenum minFilter = minLinear ? GL_LINEAR : GL_NEAREST;
    if (mip == D3DTEXF_POINT) {
        minFilter = minLinear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    } else if (mip == D3DTEXF_LINEAR) {
        minFilter = minLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    }
    const bool magLinear = mag == D3DTEXF_LINEAR || mag == D3DTEXF_ANISOTROPIC;
    glSamplerParameteri(m_sampler, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(minFilter));
    glSamplerParameteri(m_sampler, GL_TEXTURE_MAG_FILTER, magLinear ? GL_LINEAR : GL_NEAREST);
    if (m_maxAnisotropy > 1.0f) {
        const bool anisotropic = min == D3DTEXF_ANISOTROPIC || mag == D3DTEXF_ANISOTROPIC;
        const float wanted = anisotropic ? static_cast<float>(filter(DSamplerState::MaxAnisotropy)) : 1.0f;
        glSamplerParameterf(m_sampler, GL_TEXTURE_MAX_ANISOTROPY_EXT,
                            std::clamp(wanted, 1.0f, m_maxAnisotropy));
    }
}
