// Draw calls through the GL device: a few hundred lit cubes per frame, each
// with its own world transform, one of four materials and every other one
// textured, as a scene's instances reach the device. Counters give the draw
// calls, the state changes that reached the driver and the dropped repeats
// per frame. Each frame ends with a one-pixel read-back, so the time includes
// the rasteriser finishing the frame (llvmpipe when run headless).
#include "mathutil/D3DXMath.h"
#include "platform/DWindow.h"
#include "render/device/gl/DDeviceGL.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <numbers>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Vertex {
    float x, y, z, nx, ny, nz, u, v;
};

struct Scene {
    std::unique_ptr<DWindow> window;
    std::unique_ptr<DDeviceGL> device;
    // Resources after the device: they are destroyed first.
    std::unique_ptr<DVertexBuffer> vertices;
    std::unique_ptr<DIndexBuffer> indices;
    std::unique_ptr<DTexture> texture;
};

template <class T> void Fill(DBuffer& buffer, const std::vector<T>& items) {
    std::uint8_t* data = nullptr;
    buffer.Lock(0, 0, &data);
    std::memcpy(data, items.data(), items.size() * sizeof(T));
    buffer.Unlock();
}

// A unit cube: 24 vertices, 12 triangles wound clockwise seen from outside.
void MakeCube(Scene& scene) {
    std::vector<Vertex> vertices;
    std::vector<std::uint16_t> indices;
    const float n[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const auto& f : n) {
        const D3DXVECTOR3 normal(f[0], f[1], f[2]);
        const D3DXVECTOR3 s = f[0] != 0 ? D3DXVECTOR3(0, 1, 0) : D3DXVECTOR3(1, 0, 0);
        D3DXVECTOR3 t;
        D3DXVec3Cross(&t, &normal, &s);
        const auto first = static_cast<std::uint16_t>(vertices.size());
        for (const auto& [a, b] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {-1.0f, 1.0f}, {1.0f, 1.0f}}) {
            const D3DXVECTOR3 p = (normal + s * a + t * b) * 0.5f;
            vertices.push_back({p.x, p.y, p.z, f[0], f[1], f[2], (a + 1) / 2, (b + 1) / 2});
        }
        // (s, t, n) is right-handed in the cross-product sense, so this order
        // faces the viewer clockwise.
        for (int i : {0, 2, 1, 1, 2, 3}) {
            indices.push_back(static_cast<std::uint16_t>(first + i));
        }
    }
    HRESULT hr = S_OK;
    scene.vertices = scene.device->CreateVertexBuffer(vertices.size() * sizeof(Vertex), kFvfPosNorTex1, &hr);
    scene.indices = scene.device->CreateIndexBuffer(indices.size() * 2, &hr);
    Fill(*scene.vertices, vertices);
    Fill(*scene.indices, indices);
}

// Made once for all runs; the device goes before the window that holds its context.
Scene* TheScene() {
    static const std::unique_ptr<Scene> scene = [] {
        auto s = std::make_unique<Scene>();
        s->window = std::make_unique<DWindow>(true);
        HRESULT hr = S_OK;
        s->device = DDeviceGL::Create(kWidth, kHeight, &hr);
        if (!s->device) {
            return std::unique_ptr<Scene>();
        }
        MakeCube(*s);
        s->texture =
            s->device->CreateTexture(64, 64, FullMipChainLength(64, 64), DTextureFormat::A8R8G8B8, &hr);
        for (int level = 0; level < s->texture->LevelCount(); ++level) {
            std::uint8_t* bits = nullptr;
            int pitch = 0;
            s->texture->LockRect(level, &bits, &pitch);
            std::memset(bits, 0xC0, s->texture->Pixels(level).size());
            s->texture->UnlockRect(level);
        }
        return s;
    }();
    return scene.get();
}

void DrawFrame(Scene& scene, int cubes, const std::array<D3DMATERIAL9, 4>& materials) {
    DDevice& device = *scene.device;
    device.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000000, 1.0f, 0);
    device.BeginScene();
    device.SetRenderState(DRenderState::Ambient, 0xFF303030);
    device.SetSamplerState(0, DSamplerState::MipFilter, D3DTEXF_POINT);
    device.SetSamplerState(0, DSamplerState::MinFilter, D3DTEXF_ANISOTROPIC);
    device.SetSamplerState(0, DSamplerState::MagFilter, D3DTEXF_ANISOTROPIC);
    device.SetSamplerState(0, DSamplerState::MaxAnisotropy, 4);
    device.SetFVF(kFvfPosNorTex1);
    device.SetStreamSource(0, scene.vertices.get(), 0, 32);
    device.SetIndices(scene.indices.get());
    const int side = 20;
    for (int i = 0; i < cubes; ++i) {
        D3DXMATRIX world;
        D3DXMatrixTranslation(&world, static_cast<float>(i % side - side / 2) * 1.5f,
                              static_cast<float>(i / side % side - side / 2) * 1.5f,
                              10.0f + static_cast<float>(i / (side * side)) * 1.5f);
        device.SetTransform(DTransformState::World, world);
        device.SetMaterial(materials[i % 4]);
        device.SetTexture(0, i % 2 == 0 ? scene.texture.get() : nullptr);
        device.DrawIndexedPrimitive(0, 0, 24, 0, 12);
    }
    device.EndScene();
    std::uint32_t pixel = 0;
    device.ReadPixel(DRenderTarget::BackBuffer, 0, 0, &pixel);
}

void BM_LitCubesPerFrame(benchmark::State& state) {
    Scene* scene = TheScene();
    if (scene == nullptr) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    DDevice& device = *scene->device;
    D3DXMATRIX view;
    D3DXMATRIX projection;
    const D3DXVECTOR3 eye(0, 0, -20), at(0, 0, 10), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, std::numbers::pi_v<float> / 4, 4.0f / 3.0f, 1.0f, 1000.0f);
    device.SetTransform(DTransformState::View, view);
    device.SetTransform(DTransformState::Projection, projection);
    for (std::uint32_t i = 0; i < 3; ++i) {
        D3DLIGHT9 light;
        light.Type = D3DLIGHTTYPE::D3DLIGHT_POINT;
        light.Diffuse = {0.6f, 0.6f, 0.6f, 1.0f};
        light.Position = {static_cast<float>(i) * 10.0f - 10.0f, 5.0f, 0.0f};
        light.Attenuation1 = 0.05f;
        light.Range = 100.0f;
        device.SetLight(i, light);
        device.LightEnable(i, true);
    }
    std::array<D3DMATERIAL9, 4> materials;
    for (int i = 0; i < 4; ++i) {
        const float c = 0.4f + 0.15f * static_cast<float>(i);
        materials[i].Diffuse = {c, 1.0f - c, 0.5f, 1.0f};
        materials[i].Ambient = materials[i].Diffuse;
    }
    const int cubes = static_cast<int>(state.range(0));
    for (auto _ : state) {
        DrawFrame(*scene, cubes, materials);
    }
    const DDeviceStats& stats = device.Stats();
    state.counters["draws"] = stats.drawCalls;
    state.counters["state_changes"] = stats.stateChanges;
    state.counters["repeats_dropped"] = stats.redundantStates;
    state.counters["frames_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LitCubesPerFrame)->Arg(100)->Arg(300)->Arg(600)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
