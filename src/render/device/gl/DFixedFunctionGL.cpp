#include "render/device/gl/DFixedFunctionGL.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

// Attribute slots shared by both programs and by the device's vertex layouts.
constexpr const char* kAttributes = R"(
layout(location = 0) in vec4 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aDiffuse;
layout(location = 3) in vec2 aTexCoord;
)";

// Matrices arrive in the device's row-vector layout uploaded without
// transposing, so `M * v` here is the row-vector product `v * M` there.
// Lighting is done in world space: the view is a rigid look-at, so distances
// and angles come out as Direct3D computes them in camera space. Normals are
// transformed by the inverse transpose of the world matrix and, as with
// Direct3D's normalisation switch off, not normalised again.
constexpr const char* kWorldVertex = R"(
const int kMaxLights = 8;
const int kDirectional = 3;
const int kSpot = 2;

uniform vec2 uTargetSize;
uniform mat4 uWorld;
uniform mat4 uView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform bool uLighting;
uniform vec4 uAmbient;
uniform vec4 uMaterialDiffuse;
uniform vec4 uMaterialAmbient;
uniform vec4 uMaterialEmissive;
uniform int uLightCount;
uniform int uLightType[kMaxLights];
uniform vec4 uLightDiffuse[kMaxLights];
uniform vec4 uLightAmbient[kMaxLights];
uniform vec3 uLightPosition[kMaxLights];
uniform vec3 uLightDirection[kMaxLights];
uniform float uLightRange[kMaxLights];
uniform vec3 uLightAttenuation[kMaxLights];
// falloff, cos(theta / 2), cos(phi / 2)
uniform vec3 uLightSpot[kMaxLights];
uniform bool uFog;
uniform float uFogStart;
uniform float uFogEnd;

out vec4 vDiffuse;
out vec2 vTexCoord;
out float vFog;

vec4 Lit(vec3 position, vec3 normal) {
    vec3 ambient = uAmbient.rgb;
    vec3 diffuse = vec3(0.0);
    for (int i = 0; i < uLightCount; ++i) {
        vec3 toLight;
        float strength = 1.0;
        if (uLightType[i] == kDirectional) {
            toLight = normalize(-uLightDirection[i]);
        } else {
            vec3 offset = uLightPosition[i] - position;
            float d = length(offset);
            if (d > uLightRange[i]) {
                continue;
            }
            toLight = d > 0.0 ? offset / d : vec3(0.0);
            vec3 a = uLightAttenuation[i];
            strength = 1.0 / max(a.x + a.y * d + a.z * d * d, 1e-6);
            if (uLightType[i] == kSpot) {
                float rho = dot(normalize(-uLightDirection[i]), toLight);
                vec3 spot = uLightSpot[i];
                if (rho <= spot.z) {
                    continue;
                }
                if (rho <= spot.y && spot.x != 0.0) {
                    strength *= pow((rho - spot.z) / (spot.y - spot.z), spot.x);
                }
            }
        }
        ambient += strength * uLightAmbient[i].rgb;
        diffuse += strength * max(dot(normal, toLight), 0.0) * uLightDiffuse[i].rgb;
    }
    vec3 colour = uMaterialAmbient.rgb * ambient + uMaterialDiffuse.rgb * diffuse + uMaterialEmissive.rgb;
    return clamp(vec4(colour, uMaterialDiffuse.a), 0.0, 1.0);
}

void main() {
    vec4 world = uWorld * vec4(aPosition.xyz, 1.0);
    vec4 eye = uView * world;
    vec4 clip = uProjection * eye;
    // Direct3D's clip depth runs from 0 to w, GL's from -w to w.
    clip.z = 2.0 * clip.z - clip.w;
    // Direct3D 9 puts pixel centres where GL puts pixel corners: the same
    // projected point lands half a pixel right of and below GL's.
    clip.xy += vec2(1.0, -1.0) * clip.w / uTargetSize;
    gl_Position = clip;
    vDiffuse = uLighting ? Lit(world.xyz, uNormalMatrix * aNormal) : vec4(1.0);
    vTexCoord = aTexCoord;
    vFog = 1.0;
    if (uFog) {
        vFog = uFogEnd != uFogStart ? clamp((uFogEnd - eye.z) / (uFogEnd - uFogStart), 0.0, 1.0)
                                    : (eye.z < uFogEnd ? 1.0 : 0.0);
    }
}
)";

// Screen vertices give pixel positions with Direct3D 9's convention that a
// pixel's centre lies on whole coordinates, half a pixel left of and above
// GL's. GUI edges fall exactly on pixel centres, where Direct3D takes the
// pixels on a top or left edge and GL leaves the choice to the driver (Mesa
// takes bottom and left): a shift of a fraction of a pixel up and left puts
// those centres inside the edge Direct3D would draw them with, on every
// driver. The reciprocal w restores perspective-correct interpolation.
constexpr const char* kScreenVertex = R"(
uniform vec2 uTargetSize;
const float kEdgeShift = 1.0 / 128.0;

out vec4 vDiffuse;
out vec2 vTexCoord;
out float vFog;

void main() {
    vec2 pixel = aPosition.xy + 0.5 - kEdgeShift;
    vec2 ndc = vec2(pixel.x / uTargetSize.x * 2.0 - 1.0, 1.0 - pixel.y / uTargetSize.y * 2.0);
    float w = aPosition.w != 0.0 ? 1.0 / aPosition.w : 1.0;
    gl_Position = vec4(ndc, 2.0 * aPosition.z - 1.0, 1.0) * w;
    vDiffuse = aDiffuse;
    vTexCoord = aTexCoord;
    vFog = 1.0;
}
)";

// Texture stage 0 with Direct3D's defaults: colour = texture x diffuse, alpha
// = texture alpha; a stage without a texture passes the diffuse colour and
// alpha through. Fog blends the colour, never the alpha.
constexpr const char* kFragment = R"(
uniform sampler2D uTexture;
uniform bool uTextured;
uniform vec4 uFogColour;

in vec4 vDiffuse;
in vec2 vTexCoord;
in float vFog;

out vec4 oColour;

void main() {
    vec4 colour = vDiffuse;
    if (uTextured) {
        vec4 texel = texture(uTexture, vTexCoord);
        colour = vec4(texel.rgb * vDiffuse.rgb, texel.a);
    }
    oColour = vec4(mix(uFogColour.rgb, colour.rgb, vFog), colour.a);
}
)";

GLuint Compile(GLenum kind, const char* body, std::string* error) {
    const char* parts[] = {"#version 330 core\n", kind == GL_VERTEX_SHADER ? kAttributes : "", body};
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 3, parts, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[2048] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        *error = std::string("shader compilation failed: ") + log;
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

void SetColour(GLint location, std::uint32_t argb) {
    glUniform4f(location, static_cast<float>((argb >> 16) & 0xFF) / 255.0f,
                static_cast<float>((argb >> 8) & 0xFF) / 255.0f, static_cast<float>(argb & 0xFF) / 255.0f,
                static_cast<float>(argb >> 24) / 255.0f);
}

void SetColour(GLint location, const D3DCOLORVALUE& c) {
    glUniform4f(location, c.r, c.g, c.b, c.a);
}

// The inverse transpose of the matrix's upper 3 x 3, in the same row-vector
// layout: the cofactors over the determinant. A flattening matrix (a planar
// shadow) has none; its cofactors still give finite normals, and what such a
// draw shows does not depend on them.
void NormalMatrix(const D3DXMATRIX& m, float out[9]) {
    const auto cofactor = [&m](int r, int c) {
        const int r0 = (r + 1) % 3;
        const int r1 = (r + 2) % 3;
        const int c0 = (c + 1) % 3;
        const int c1 = (c + 2) % 3;
        return m.m[r0][c0] * m.m[r1][c1] - m.m[r0][c1] * m.m[r1][c0];
    };
    float det = 0.0f;
    for (int c = 0; c < 3; ++c) {
        det += m.m[0][c] * cofactor(0, c);
    }
    const float scale = std::fabs(det) > 1e-12f ? 1.0f / det : 1.0f;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            out[3 * r + c] = cofactor(r, c) * scale;
        }
    }
}

} // namespace

struct DFixedFunctionGL::Locations {
    GLint world, view, projection, normalMatrix;
    GLint lighting, ambient, materialDiffuse, materialAmbient, materialEmissive;
    GLint lightCount, lightType, lightDiffuse, lightAmbient, lightPosition, lightDirection, lightRange,
        lightAttenuation, lightSpot;
    GLint fog, fogStart, fogEnd, fogColour;
    GLint texture, textured, targetSize;

    explicit Locations(GLuint p)
        : world(glGetUniformLocation(p, "uWorld")), view(glGetUniformLocation(p, "uView")),
          projection(glGetUniformLocation(p, "uProjection")),
          normalMatrix(glGetUniformLocation(p, "uNormalMatrix")),
          lighting(glGetUniformLocation(p, "uLighting")), ambient(glGetUniformLocation(p, "uAmbient")),
          materialDiffuse(glGetUniformLocation(p, "uMaterialDiffuse")),
          materialAmbient(glGetUniformLocation(p, "uMaterialAmbient")),
          materialEmissive(glGetUniformLocation(p, "uMaterialEmissive")),
          lightCount(glGetUniformLocation(p, "uLightCount")),
          lightType(glGetUniformLocation(p, "uLightType")),
          lightDiffuse(glGetUniformLocation(p, "uLightDiffuse")),
          lightAmbient(glGetUniformLocation(p, "uLightAmbient")),
          lightPosition(glGetUniformLocation(p, "uLightPosition")),
          lightDirection(glGetUniformLocation(p, "uLightDirection")),
          lightRange(glGetUniformLocation(p, "uLightRange")),
          lightAttenuation(glGetUniformLocation(p, "uLightAttenuation")),
          lightSpot(glGetUniformLocation(p, "uLightSpot")), fog(glGetUniformLocation(p, "uFog")),
          fogStart(glGetUniformLocation(p, "uFogStart")), fogEnd(glGetUniformLocation(p, "uFogEnd")),
          fogColour(glGetUniformLocation(p, "uFogColour")), texture(glGetUniformLocation(p, "uTexture")),
          textured(glGetUniformLocation(p, "uTextured")), targetSize(glGetUniformLocation(p, "uTargetSize")) {
    }
};

DFixedFunctionGL::DFixedFunctionGL() = default;

DFixedFunctionGL::~DFixedFunctionGL() {
    for (ProgramGL& program : m_programs) {
        if (program.name != 0) {
            glDeleteProgram(program.name);
        }
    }
}

std::unique_ptr<DFixedFunctionGL> DFixedFunctionGL::Create(std::string* error) {
    std::unique_ptr<DFixedFunctionGL> pipeline(new DFixedFunctionGL());
    if (!Build(pipeline->m_programs[static_cast<int>(Program::World)], kWorldVertex, kFragment,
               kTransforms | kLighting | kFog | kTexture | kTarget, error) ||
        !Build(pipeline->m_programs[static_cast<int>(Program::Screen)], kScreenVertex, kFragment,
               kTexture | kTarget, error)) {
        return nullptr;
    }
    return pipeline;
}

bool DFixedFunctionGL::Build(ProgramGL& program, const char* vertexSource, const char* fragmentSource,
                             std::uint32_t groups, std::string* error) {
    const GLuint vertex = Compile(GL_VERTEX_SHADER, vertexSource, error);
    const GLuint fragment = vertex != 0 ? Compile(GL_FRAGMENT_SHADER, fragmentSource, error) : 0;
    if (fragment == 0) {
        glDeleteShader(vertex);
        return false;
    }
    program.name = glCreateProgram();
    glAttachShader(program.name, vertex);
    glAttachShader(program.name, fragment);
    glLinkProgram(program.name);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program.name, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[2048] = {};
        glGetProgramInfoLog(program.name, sizeof log, nullptr, log);
        *error = std::string("shader linking failed: ") + log;
        return false;
    }
    program.at = std::make_unique<Locations>(program.name);
    program.groups = groups;
    glUseProgram(program.name);
    glUniform1i(program.at->texture, 0);
    // Screen vertices are never fogged; the colour is only mixed with itself.
    glUniform4f(program.at->fogColour, 0.0f, 0.0f, 0.0f, 0.0f);
    glUseProgram(0);
    return true;
}

void DFixedFunctionGL::Invalidate(std::uint32_t groups) {
    for (ProgramGL& program : m_programs) {
        program.changed |= groups;
    }
}

std::uint32_t DFixedFunctionGL::Use(Program which, const DFixedFunctionState& state) {
    ProgramGL& program = m_programs[static_cast<int>(which)];
    std::uint32_t changes = 0;
    if (m_current != program.name) {
        glUseProgram(program.name);
        m_current = program.name;
        ++changes;
    }
    const std::uint32_t groups = program.changed & program.groups;
    if (groups != 0) {
        Upload(program, groups, state);
        changes += static_cast<std::uint32_t>(std::popcount(groups));
    }
    program.changed = 0;
    return changes;
}

void DFixedFunctionGL::Upload(const ProgramGL& program, std::uint32_t groups, const DFixedFunctionState& s) {
    const Locations& at = *program.at;
    if (groups & kTransforms) {
        glUniformMatrix4fv(at.world, 1, GL_FALSE, &s.world.m[0][0]);
        glUniformMatrix4fv(at.view, 1, GL_FALSE, &s.view.m[0][0]);
        glUniformMatrix4fv(at.projection, 1, GL_FALSE, &s.projection.m[0][0]);
        float normal[9];
        NormalMatrix(s.world, normal);
        glUniformMatrix3fv(at.normalMatrix, 1, GL_FALSE, normal);
    }
    if (groups & kLighting) {
        glUniform1i(at.lighting, s.lighting);
        SetColour(at.ambient, s.ambient);
        SetColour(at.materialDiffuse, s.material.Diffuse);
        SetColour(at.materialAmbient, s.material.Ambient);
        SetColour(at.materialEmissive, s.material.Emissive);
        const GLsizei count = static_cast<GLsizei>(s.lights.size());
        GLint type[kMaxActiveLights];
        float diffuse[kMaxActiveLights][4], ambient[kMaxActiveLights][4];
        float position[kMaxActiveLights][3], direction[kMaxActiveLights][3], attenuation[kMaxActiveLights][3],
            spot[kMaxActiveLights][3];
        float range[kMaxActiveLights];
        for (GLsizei i = 0; i < count; ++i) {
            const D3DLIGHT9& l = s.lights[i];
            type[i] = static_cast<GLint>(l.Type);
            const D3DCOLORVALUE& d = l.Diffuse;
            const D3DCOLORVALUE& a = l.Ambient;
            std::copy_n(&d.r, 4, diffuse[i]);
            std::copy_n(&a.r, 4, ambient[i]);
            std::copy_n(&l.Position.x, 3, position[i]);
            std::copy_n(&l.Direction.x, 3, direction[i]);
            range[i] = l.Range;
            attenuation[i][0] = l.Attenuation0;
            attenuation[i][1] = l.Attenuation1;
            attenuation[i][2] = l.Attenuation2;
            spot[i][0] = l.Falloff;
            spot[i][1] = std::cos(l.Theta / 2.0f);
            spot[i][2] = std::cos(l.Phi / 2.0f);
        }
        glUniform1i(at.lightCount, count);
        if (count > 0) {
            glUniform1iv(at.lightType, count, type);
            glUniform4fv(at.lightDiffuse, count, &diffuse[0][0]);
            glUniform4fv(at.lightAmbient, count, &ambient[0][0]);
            glUniform3fv(at.lightPosition, count, &position[0][0]);
            glUniform3fv(at.lightDirection, count, &direction[0][0]);
            glUniform1fv(at.lightRange, count, range);
            glUniform3fv(at.lightAttenuation, count, &attenuation[0][0]);
            glUniform3fv(at.lightSpot, count, &spot[0][0]);
        }
    }
    if (groups & kFog) {
        glUniform1i(at.fog, s.fog);
        glUniform1f(at.fogStart, s.fogStart);
        glUniform1f(at.fogEnd, s.fogEnd);
        SetColour(at.fogColour, s.fogColour);
    }
    if (groups & kTexture) {
        glUniform1i(at.textured, s.textured);
    }
    if (groups & kTarget) {
        glUniform2f(at.targetSize, static_cast<float>(s.targetWidth), static_cast<float>(s.targetHeight));
    }
}
