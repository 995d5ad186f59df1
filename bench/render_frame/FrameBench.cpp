// CPU time of one frame: 500 instances of a model with opaque and transparent
// materials on a shadow-receiving floor, 8 point lights; without effects and
// with shadows from every light. On the recording null device (which writes
// every call down as text) and on a quiet device that only counts, which
// leaves the engine's own cost; the quiet run also counts heap allocations
// per frame, which must be 0 once the scene is set up.

#include "mathutil/D3DXMath.h"
#include "render/C3DEngine2.h"
#include "render/model/CModelInstance.h"
#include "render/model/CModelWriter.h"
#include "render/model/ModelPrimitives.h"
#include "render/device/DDeviceNull.h"
#include "resources/CArchiveWriter.h"
#include "resources/CFileManager.h"
#include "resources/CKeySet.h"
#include "support/AllocationCounter.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

template <class Base> class QuietBuffer : public Base {
public:
    using Base::Base;

private:
    HRESULT OnUnlock(std::size_t, std::size_t) override { return S_OK; }
};

class QuietTexture : public DTexture {
public:
    using DTexture::DTexture;

private:
    HRESULT OnUnlock(int) override { return S_OK; }
};

// Takes every call and counts draws and state changes, nothing else.
class QuietDevice : public DDevice {
public:
    std::unique_ptr<DTexture> CreateTexture(int width, int height, int levels, DTextureFormat format,
                                            HRESULT* hr) override {
        *hr = S_OK;
        return std::make_unique<QuietTexture>(width, height, levels, format);
    }
    std::unique_ptr<DVertexBuffer> CreateVertexBuffer(std::size_t bytes, std::uint32_t fvf,
                                                      HRESULT* hr) override {
        *hr = S_OK;
        return std::make_unique<QuietBuffer<DVertexBuffer>>(bytes, fvf);
    }
    std::unique_ptr<DIndexBuffer> CreateIndexBuffer(std::size_t bytes, HRESULT* hr) override {
        *hr = S_OK;
        return std::make_unique<QuietBuffer<DIndexBuffer>>(bytes);
    }
    HRESULT SetTransform(DTransformState state, const D3DXMATRIX& matrix) override {
        m_transforms[static_cast<int>(state)] = matrix;
        return State();
    }
    D3DXMATRIX GetTransform(DTransformState state) const override {
        return m_transforms[static_cast<int>(state)];
    }
    HRESULT SetRenderState(DRenderState, std::uint32_t) override { return State(); }
    HRESULT SetSamplerState(std::uint32_t, DSamplerState, std::uint32_t) override { return State(); }
    HRESULT SetMaterial(const D3DMATERIAL9&) override { return State(); }
    HRESULT SetLight(std::uint32_t, const D3DLIGHT9&) override { return State(); }
    HRESULT LightEnable(std::uint32_t, bool) override { return State(); }
    HRESULT SetTexture(std::uint32_t, const DTexture*) override { return State(); }
    HRESULT SetFVF(std::uint32_t) override { return State(); }
    HRESULT SetStreamSource(std::uint32_t, const DVertexBuffer*, std::uint32_t, std::uint32_t) override {
        return State();
    }
    HRESULT SetIndices(const DIndexBuffer*) override { return State(); }
    HRESULT DrawPrimitive(std::uint32_t, std::uint32_t triangles) override { return Draw(triangles); }
    HRESULT DrawIndexedPrimitive(std::int32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                 std::uint32_t triangles) override {
        return Draw(triangles);
    }
    HRESULT Clear(std::uint32_t, std::uint32_t, float, std::uint32_t) override { return S_OK; }
    HRESULT BeginScene() override {
        m_stats = {};
        return S_OK;
    }
    HRESULT EndScene() override { return S_OK; }
    HRESULT Present(std::uint32_t) override { return S_OK; }
    HRESULT SetRenderTarget(DRenderTarget) override { return State(); }
    DRenderTarget GetRenderTarget() const override { return DRenderTarget::BackBuffer; }
    int BackBufferWidth() const override { return 1024; }
    int BackBufferHeight() const override { return 768; }
    HRESULT Reset(int, int) override { return S_OK; }
    HRESULT ReadPixels(DRenderTarget, int, int, int, int, std::uint8_t*) override { return S_OK; }

private:
    HRESULT State() {
        ++m_stats.stateChanges;
        return S_OK;
    }
    HRESULT Draw(std::uint32_t triangles) {
        ++m_stats.drawCalls;
        m_stats.triangles += triangles;
        return S_OK;
    }

    D3DXMATRIX m_transforms[3];
};

D3DMATERIAL9 Colour(float r, float g, float b, float a) {
    D3DMATERIAL9 m;
    m.Diffuse = m.Ambient = {r, g, b, a};
    return m;
}

// The game folder with "box.ims" (opaque body, transparent glass) and
// "floor.ims" (a quad facing up), removed at exit.
class GameFolder {
public:
    GameFolder()
        : m_path(std::filesystem::temp_directory_path() /
                 ("morvane-frame-bench-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(m_path);
        ModelMeshData box;
        AddModelBox(box, {-0.5f, 0, -0.5f}, {0.5f, 1, 0.5f}, {"body", "", Colour(0.8f, 0.6f, 0.4f, 1)});
        ModelMaterialData glass{"glass", "", Colour(0.2f, 0.4f, 1, 0.5f)};
        glass.transparent = true;
        AddModelBox(box, {-0.6f, 0, -0.6f}, {0.6f, 1.2f, 0.6f}, glass);
        ModelMeshData floor;
        for (const auto& [x, z] :
             {std::pair{-50.0f, -50.0f}, {-50.0f, 50.0f}, {50.0f, 50.0f}, {50.0f, -50.0f}}) {
            floor.vertices.push_back({x, 0, z, 0, 1, 0, 0, 0});
        }
        floor.indices = {0, 1, 2, 0, 2, 3};
        floor.materials.push_back({"floor", "", Colour(0.9f, 0.9f, 0.9f, 1), false, 0, 6});

        CArchiveWriter archive("resource.000");
        for (const auto& [name, mesh] : {std::pair{"box.ims", &box}, {"floor.ims", &floor}}) {
            const auto split = CFileManager::Split(std::string("data\\models\\") + name);
            archive.Add(split.dir, split.name, CModelWriter::WriteMesh(*mesh));
        }
        archive.Write(m_path / "resource.000");
    }
    ~GameFolder() { std::filesystem::remove_all(m_path); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

struct Scene {
    Scene(DDevice& device, const GameFolder& folder, bool shadows)
        : files(folder.Path(), CKeySet::BuiltIn()),
          engine(device, files, {}, C3DEngine2::Settings{1, shadows, false, false, true}) {
        engine.CreateDevice(1024, 768, true);
        engine.SetCamera({0, 10, -30}, {0, 0, 20}, {0, 1, 0});
        C3DSpresh* box = engine.GetModel("box.ims");
        auto floor = engine.CreateInstance(engine.GetModel("floor.ims"), {0, 0, 20}, {}, true, true,
                                           CModelInstance::ShadowSurface);
        floor->castsShadows = false;
        engine.AddInstance(std::move(floor));
        for (int i = 0; i < 500; ++i) {
            const D3DXVECTOR3 at(static_cast<float>(i % 25) * 2 - 25, 0, static_cast<float>(i / 25) * 2);
            engine.AddInstance(
                engine.CreateInstance(box, at, {0, 0.1f * static_cast<float>(i), 0}, true, true,
                                      i % 10 == 0 ? CModelInstance::Scenery : CModelInstance::Ordinary));
        }
        for (int i = 0; i < 8; ++i) {
            engine.AddPointLight({1, 1, 1, 1}, {static_cast<float>(i) * 6 - 21, 8, 20}, 0.05f, 60);
        }
        engine.ApplyAllLights();
    }

    CFileManager files;
    C3DEngine2 engine;
};

void Report(benchmark::State& state, const DDevice& device) {
    state.counters["draws"] = device.Stats().drawCalls;
    state.counters["states"] = device.Stats().stateChanges;
}

void BM_FrameNullDevice(benchmark::State& state) {
    const GameFolder folder;
    DDeviceNull device;
    Scene scene(device, folder, state.range(0) != 0);
    std::uint32_t now = 0;
    for (auto _ : state) {
        state.PauseTiming();
        device.ClearCalls();
        state.ResumeTiming();
        scene.engine.RenderFrame(now += 16, true);
    }
    Report(state, device);
}
BENCHMARK(BM_FrameNullDevice)->ArgName("shadows")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_FrameQuietDevice(benchmark::State& state) {
    const GameFolder folder;
    QuietDevice device;
    Scene scene(device, folder, state.range(0) != 0);
    std::uint32_t now = 0;
    scene.engine.RenderFrame(now += 16, true);
    const std::uint64_t before = AllocationCount();
    long frames = 0;
    for (auto _ : state) {
        scene.engine.RenderFrame(now += 16, true);
        ++frames;
    }
    state.counters["allocs_per_frame"] =
        static_cast<double>(AllocationCount() - before) / static_cast<double>(frames);
    Report(state, device);
}
BENCHMARK(BM_FrameQuietDevice)->ArgName("shadows")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
