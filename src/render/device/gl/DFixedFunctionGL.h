#pragma once

#include "render/device/DeviceTypes.h"

#include <epoxy/gl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Everything of the fixed-function pipeline that the shaders read.
struct DFixedFunctionState {
    D3DXMATRIX world;
    D3DXMATRIX view;
    D3DXMATRIX projection;
    bool lighting = true;
    std::uint32_t ambient = 0;
    D3DMATERIAL9 material;
    // The enabled lights, at most kMaxActiveLights.
    std::vector<D3DLIGHT9> lights;
    bool fog = false;
    std::uint32_t fogColour = 0;
    float fogStart = 0.0f;
    float fogEnd = 1.0f;
    bool textured = false;
    int targetWidth = 0;
    int targetHeight = 0;
};

// The shader pair that stands in for Direct3D 9's fixed-function pipeline,
// compiled twice: once for untransformed vertices (transforms, per-vertex
// lighting, vertex fog) and once for pre-transformed screen vertices. Both
// share the texture stage. Uniforms are uploaded by group, only for groups
// that changed since the program last drew.
class DFixedFunctionGL {
public:
    enum class Program { World, Screen };
    enum Group : std::uint32_t {
        kTransforms = 1,
        kLighting = 2,
        kFog = 4,
        kTexture = 8,
        kTarget = 16,
        kAllGroups = 31,
    };

    // Null with the compiler's or linker's log in *error.
    static std::unique_ptr<DFixedFunctionGL> Create(std::string* error);
    ~DFixedFunctionGL();
    DFixedFunctionGL(const DFixedFunctionGL&) = delete;
    DFixedFunctionGL& operator=(const DFixedFunctionGL&) = delete;

    // Marks groups as changed for both programs.
    void Invalidate(std::uint32_t groups);
    // Makes the program current and uploads its changed groups; returns the
    // number of GL state changes that took.
    std::uint32_t Use(Program program, const DFixedFunctionState& state);

private:
    struct Locations;
    struct ProgramGL {
        GLuint name = 0;
        std::unique_ptr<Locations> at;
        std::uint32_t changed = kAllGroups;
        std::uint32_t groups = 0;
    };

    DFixedFunctionGL();
    static bool Build(ProgramGL& program, const char* vertexSource, const char* fragmentSource,
                      std::uint32_t groups, std::string* error);
    static void Upload(const ProgramGL& program, std::uint32_t groups, const DFixedFunctionState& state);

    ProgramGL m_programs[2];
    GLuint m_current = 0;
};
