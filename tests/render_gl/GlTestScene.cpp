#include "render_gl/GlTestScene.h"

#include "mathutil/D3DXMath.h"

#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>

std::unique_ptr<DWindow> GlDeviceTest::s_window;
std::string GlDeviceTest::s_failure;

namespace {

template <class T> void Fill(DBuffer& buffer, const std::vector<T>& items) {
    std::uint8_t* data = nullptr;
    ASSERT_EQ(buffer.Lock(0, 0, &data), S_OK);
    std::memcpy(data, items.data(), items.size() * sizeof(T));
    ASSERT_EQ(buffer.Unlock(), S_OK);
}

// Front faces are the ones wound clockwise on screen: seen from the side the
// normal points to, (b - a) x (c - a) points back at the viewer.
void AddTriangle(std::vector<std::uint16_t>& indices, const std::vector<TestVertex>& v, int a, int b, int c,
                 const D3DXVECTOR3& outward) {
    const D3DXVECTOR3 pa(v[a].x, v[a].y, v[a].z);
    const D3DXVECTOR3 ab = D3DXVECTOR3(v[b].x, v[b].y, v[b].z) - pa;
    const D3DXVECTOR3 ac = D3DXVECTOR3(v[c].x, v[c].y, v[c].z) - pa;
    D3DXVECTOR3 n;
    D3DXVec3Cross(&n, &ab, &ac);
    if (D3DXVec3Dot(&n, &outward) < 0.0f) {
        std::swap(b, c);
    }
    for (int i : {a, b, c}) {
        indices.push_back(static_cast<std::uint16_t>(i));
    }
}

} // namespace

void GlDeviceTest::SetUpTestSuite() {
    try {
        s_window = std::make_unique<DWindow>(true);
    } catch (const std::runtime_error& e) {
        s_failure = e.what();
    }
}

void GlDeviceTest::TearDownTestSuite() {
    s_window.reset();
}

void GlDeviceTest::SetUp() {
    if (!s_window) {
        GTEST_SKIP() << "no OpenGL context: " << s_failure;
    }
    HRESULT hr = E_FAIL;
    m_device = DDeviceGL::Create(kWidth, kHeight, &hr);
    ASSERT_EQ(hr, S_OK);
    ASSERT_NE(m_device, nullptr);
}

void GlDeviceTest::TearDown() {
    m_device.reset();
}

TestMesh GlDeviceTest::MakeMesh(const std::vector<TestVertex>& vertices,
                                const std::vector<std::uint16_t>& indices) {
    TestMesh mesh;
    HRESULT hr = E_FAIL;
    mesh.vertices = m_device->CreateVertexBuffer(vertices.size() * sizeof(TestVertex), kFvfPosNorTex1, &hr);
    mesh.indices = m_device->CreateIndexBuffer(indices.size() * 2, &hr);
    Fill(*mesh.vertices, vertices);
    Fill(*mesh.indices, indices);
    mesh.vertexCount = static_cast<std::uint32_t>(vertices.size());
    mesh.triangleCount = static_cast<std::uint32_t>(indices.size() / 3);
    return mesh;
}

TestMesh GlDeviceTest::Cube(float size) {
    const float h = size / 2.0f;
    std::vector<TestVertex> vertices;
    std::vector<std::uint16_t> indices;
    const D3DXVECTOR3 normals[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const D3DXVECTOR3& n : normals) {
        // Two axes across the face.
        const D3DXVECTOR3 s = n.x != 0.0f ? D3DXVECTOR3(0, 1, 0) : D3DXVECTOR3(1, 0, 0);
        D3DXVECTOR3 t;
        D3DXVec3Cross(&t, &n, &s);
        const int first = static_cast<int>(vertices.size());
        for (const auto& [a, b] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {-1.0f, 1.0f}, {1.0f, 1.0f}}) {
            const D3DXVECTOR3 p = (n + s * a + t * b) * h;
            vertices.push_back({p.x, p.y, p.z, n.x, n.y, n.z, (a + 1) / 2, (b + 1) / 2});
        }
        AddTriangle(indices, vertices, first, first + 1, first + 2, n);
        AddTriangle(indices, vertices, first + 1, first + 3, first + 2, n);
    }
    return MakeMesh(vertices, indices);
}

TestMesh GlDeviceTest::Sphere(float radius, int rings, int segments) {
    std::vector<TestVertex> vertices;
    std::vector<std::uint16_t> indices;
    for (int r = 0; r <= rings; ++r) {
        const float polar = std::numbers::pi_v<float> * static_cast<float>(r) / static_cast<float>(rings);
        for (int s = 0; s <= segments; ++s) {
            const float azimuth =
                2.0f * std::numbers::pi_v<float> * static_cast<float>(s) / static_cast<float>(segments);
            const D3DXVECTOR3 n(std::sin(polar) * std::cos(azimuth), std::cos(polar),
                                std::sin(polar) * std::sin(azimuth));
            vertices.push_back({n.x * radius, n.y * radius, n.z * radius, n.x, n.y, n.z,
                                static_cast<float>(s) / static_cast<float>(segments),
                                static_cast<float>(r) / static_cast<float>(rings)});
        }
    }
    const int row = segments + 1;
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            const int a = r * row + s;
            const int b = a + 1;
            const int c = a + row;
            const int d = c + 1;
            const auto centre = [&](int i, int j, int k) {
                return D3DXVECTOR3(vertices[i].nx + vertices[j].nx + vertices[k].nx,
                                   vertices[i].ny + vertices[j].ny + vertices[k].ny,
                                   vertices[i].nz + vertices[j].nz + vertices[k].nz);
            };
            if (r != 0) {
                AddTriangle(indices, vertices, a, b, d, centre(a, b, d));
            }
            if (r != rings - 1) {
                AddTriangle(indices, vertices, a, d, c, centre(a, d, c));
            }
        }
    }
    return MakeMesh(vertices, indices);
}

TestMesh GlDeviceTest::Floor(float size, int cells) {
    std::vector<TestVertex> vertices;
    std::vector<std::uint16_t> indices;
    for (int j = 0; j <= cells; ++j) {
        for (int i = 0; i <= cells; ++i) {
            const float u = static_cast<float>(i) / static_cast<float>(cells);
            const float v = static_cast<float>(j) / static_cast<float>(cells);
            vertices.push_back({(u - 0.5f) * size, 0.0f, (v - 0.5f) * size, 0, 1, 0, u, v});
        }
    }
    const D3DXVECTOR3 up(0, 1, 0);
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            const int a = j * (cells + 1) + i;
            AddTriangle(indices, vertices, a, a + cells + 1, a + cells + 2, up);
            AddTriangle(indices, vertices, a, a + cells + 2, a + 1, up);
        }
    }
    return MakeMesh(vertices, indices);
}

std::unique_ptr<DVertexBuffer> GlDeviceTest::ScreenVertices(const std::vector<TestScreenVertex>& vertices) {
    HRESULT hr = E_FAIL;
    auto buffer = m_device->CreateVertexBuffer(vertices.size() * kScreenTex1Stride, kFvfScreenTex1, &hr);
    Fill(*buffer, vertices);
    return buffer;
}

std::unique_ptr<DTexture> GlDeviceTest::Checker(int size, int cell, std::uint32_t a, std::uint32_t b) {
    HRESULT hr = E_FAIL;
    auto texture = m_device->CreateTexture(size, size, 1, DTextureFormat::A8R8G8B8, &hr);
    std::uint8_t* bits = nullptr;
    int pitch = 0;
    EXPECT_EQ(texture->LockRect(0, &bits, &pitch), S_OK);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const std::uint32_t c = ((x / cell + y / cell) % 2 == 0) ? a : b;
            std::memcpy(bits + y * pitch + x * 4, &c, 4); // B, G, R, A in memory
        }
    }
    EXPECT_EQ(texture->UnlockRect(0), S_OK);
    return texture;
}

void GlDeviceTest::LookAt(float x, float y, float z) {
    D3DXMATRIX view;
    D3DXMATRIX projection;
    const D3DXVECTOR3 eye(x, y, z);
    const D3DXVECTOR3 at(0, 0, 0);
    const D3DXVECTOR3 up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, std::numbers::pi_v<float> / 4.0f,
                               static_cast<float>(kWidth) / static_cast<float>(kHeight), 1.0f, 1000.0f);
    m_device->SetTransform(DTransformState::View, view);
    m_device->SetTransform(DTransformState::Projection, projection);
}

void GlDeviceTest::Draw(const TestMesh& mesh, const D3DXMATRIX& world) {
    m_device->SetTransform(DTransformState::World, world);
    m_device->SetFVF(kFvfPosNorTex1);
    m_device->SetStreamSource(0, mesh.vertices.get(), 0, kPosNorTex1Stride);
    m_device->SetIndices(mesh.indices.get());
    EXPECT_EQ(m_device->DrawIndexedPrimitive(0, 0, mesh.vertexCount, 0, mesh.triangleCount), S_OK);
}

void GlDeviceTest::DrawScreen(const DVertexBuffer& buffer, std::uint32_t triangles) {
    m_device->SetFVF(kFvfScreenTex1);
    m_device->SetStreamSource(0, &buffer, 0, kScreenTex1Stride);
    EXPECT_EQ(m_device->DrawPrimitive(0, triangles), S_OK);
}

void GlDeviceTest::Begin(std::uint32_t colour) {
    ASSERT_EQ(m_device->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, colour, 1.0f, 0), S_OK);
    ASSERT_EQ(m_device->BeginScene(), S_OK);
}

D3DMATERIAL9 GlDeviceTest::Material(float r, float g, float b, float a) {
    D3DMATERIAL9 material;
    material.Diffuse = {r, g, b, a};
    material.Ambient = {r, g, b, a};
    return material;
}

D3DXMATRIX GlDeviceTest::Translation(float x, float y, float z) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, x, y, z);
    return m;
}

std::vector<TestScreenVertex> ScreenQuad(float left, float top, float right, float bottom, std::uint32_t tl,
                                         std::uint32_t tr, std::uint32_t bl, std::uint32_t br) {
    const TestScreenVertex vtl{left, top, 0, 1, tl, 0, 0};
    const TestScreenVertex vtr{right, top, 0, 1, tr, 1, 0};
    const TestScreenVertex vbl{left, bottom, 0, 1, bl, 0, 1};
    const TestScreenVertex vbr{right, bottom, 0, 1, br, 1, 1};
    // The GUI's order: bottom-left, top-left, top-right; top-right, bottom-right, bottom-left.
    return {vbl, vtl, vtr, vtr, vbr, vbl};
}
