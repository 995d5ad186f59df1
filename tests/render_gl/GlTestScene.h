#pragma once

#include "platform/DWindow.h"
#include "render/device/gl/DDeviceGL.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Geometry in the model vertex format (position, normal, uv).
struct TestVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

// Pre-transformed GUI vertex: pixel position, depth, rhw, ARGB colour, uv.
struct TestScreenVertex {
    float x, y, z, rhw;
    std::uint32_t colour;
    float u, v;
};

struct TestMesh {
    std::unique_ptr<DVertexBuffer> vertices;
    std::unique_ptr<DIndexBuffer> indices;
    std::uint32_t vertexCount = 0;
    std::uint32_t triangleCount = 0;
};

// A device on a real GL context (SDL's offscreen driver: Mesa llvmpipe when
// there is no display), 160 x 120 unless a test resets it. One window serves
// the whole suite; tests skip when no context can be made.
class GlDeviceTest : public ::testing::Test {
public:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 120;

    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    void SetUp() override;
    void TearDown() override;

    DDeviceGL& Device() { return *m_device; }

    // Filled buffers; the meshes are triangle lists with 16-bit indices.
    TestMesh MakeMesh(const std::vector<TestVertex>& vertices, const std::vector<std::uint16_t>& indices);
    TestMesh Cube(float size);
    TestMesh Sphere(float radius, int rings, int segments);
    // A square in the x-z plane at y = 0, split into cells so that per-vertex
    // lighting has vertices to light.
    TestMesh Floor(float size, int cells);
    std::unique_ptr<DVertexBuffer> ScreenVertices(const std::vector<TestScreenVertex>& vertices);
    // A two-level checkerboard of the two colours (ARGB), cells of `cell` texels.
    std::unique_ptr<DTexture> Checker(int size, int cell, std::uint32_t a, std::uint32_t b);

    // Camera at `eye` looking at the origin, 45 degree field of view.
    void LookAt(float x, float y, float z);
    void Draw(const TestMesh& mesh, const D3DXMATRIX& world);
    void DrawScreen(const DVertexBuffer& buffer, std::uint32_t triangles);
    // Opaque black target, depth 1, stencil 0, and BeginScene.
    void Begin(std::uint32_t colour = 0xFF000000);

    static D3DMATERIAL9 Material(float r, float g, float b, float a = 1.0f);
    static D3DXMATRIX Translation(float x, float y, float z);

private:
    static std::unique_ptr<DWindow> s_window;
    static std::string s_failure;
    std::unique_ptr<DDeviceGL> m_device;
};

// A quad of two triangles over the pixel rectangle, one colour per corner
// (top-left, top-right, bottom-left, bottom-right), uv 0..1.
std::vector<TestScreenVertex> ScreenQuad(float left, float top, float right, float bottom, std::uint32_t tl,
                                         std::uint32_t tr, std::uint32_t bl, std::uint32_t br);
