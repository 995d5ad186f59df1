#include "render_frame/FrameFixture.h"

#include "render/model/CModelWriter.h"
#include "render/model/ModelPrimitives.h"
#include "render/image/TgaWriter.h"
#include "resources/CArchiveWriter.h"
#include "resources/CKeySet.h"

std::uint32_t DrawRecord::State(DRenderState state) const {
    const auto found = states.find(state);
    return found == states.end() ? 0 : found->second;
}

HRESULT FrameDevice::SetTransform(DTransformState state, const D3DXMATRIX& matrix) {
    if (state == DTransformState::World) {
        m_world = matrix;
    }
    return DDeviceNull::SetTransform(state, matrix);
}

HRESULT FrameDevice::SetRenderState(DRenderState state, std::uint32_t value) {
    m_states[state] = value;
    return DDeviceNull::SetRenderState(state, value);
}

HRESULT FrameDevice::SetMaterial(const D3DMATERIAL9& material) {
    m_material = material;
    return DDeviceNull::SetMaterial(material);
}

HRESULT FrameDevice::SetLight(std::uint32_t index, const D3DLIGHT9& light) {
    lights[index] = light;
    return DDeviceNull::SetLight(index, light);
}

HRESULT FrameDevice::DrawIndexedPrimitive(std::int32_t baseVertex, std::uint32_t minIndex,
                                          std::uint32_t vertexCount, std::uint32_t startIndex,
                                          std::uint32_t triangleCount) {
    draws.push_back({m_world, m_material, m_states, GetRenderTarget(), startIndex, triangleCount});
    return DDeviceNull::DrawIndexedPrimitive(baseVertex, minIndex, vertexCount, startIndex, triangleCount);
}

HRESULT FrameDevice::Reset(int width, int height) {
    if (failResets > 0) {
        --failResets;
        FailNext("Reset");
    }
    return DDeviceNull::Reset(width, height);
}

std::uint32_t FrameDevice::State(DRenderState state) const {
    const auto found = m_states.find(state);
    return found == m_states.end() ? 0 : found->second;
}

std::vector<std::uint8_t> SolidTga(int width, int height, std::uint32_t argb) {
    CImage image(width, height);
    image.Fill(static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
               static_cast<std::uint8_t>(argb), static_cast<std::uint8_t>(argb >> 24));
    return WriteTga(image);
}

namespace {

D3DMATERIAL9 Colour(float r, float g, float b, float a) {
    D3DMATERIAL9 m;
    m.Diffuse = {r, g, b, a};
    m.Ambient = {r, g, b, a};
    return m;
}

ModelMeshData Grid(const D3DXVECTOR3& origin, const D3DXVECTOR3& across, const D3DXVECTOR3& up, int cells,
                   const D3DXVECTOR3& normal, const ModelMaterialData& material) {
    ModelMeshData mesh;
    AddModelGrid(mesh, origin, across, up, cells, normal, material);
    return mesh;
}

std::map<std::string, std::vector<std::uint8_t>> GameFiles() {
    ModelMeshData solid;
    AddModelBox(solid, {-0.5f, 0.0f, -0.5f}, {0.5f, 1.0f, 0.5f},
                {"body", "wood.tga", Colour(0.8f, 0.6f, 0.4f, 1.0f)});
    ModelMeshData box = solid;
    ModelMaterialData glass{"glass", "", Colour(0.2f, 0.4f, 1.0f, 0.5f)};
    glass.transparent = true;
    AddModelBox(box, {-0.6f, 0.0f, -0.6f}, {0.6f, 1.2f, 0.6f}, glass);

    return {
        {"data\\models\\box.ims", CModelWriter::WriteMesh(box)},
        {"data\\models\\solid.ims", CModelWriter::WriteMesh(solid)},
        {"data\\models\\floor.ims",
         CModelWriter::WriteMesh(Grid({-10, 0, -10}, {20, 0, 0}, {0, 0, 20}, 16, {0, 1, 0},
                                      {"floor", "", Colour(0.9f, 0.9f, 0.9f, 1.0f)}))},
        {"data\\models\\mirror.ims",
         CModelWriter::WriteMesh(Grid({-2, 0, 0}, {4, 0, 0}, {0, 4, 0}, 1, {0, 0, -1},
                                      {"glass", "", Colour(0.1f, 0.1f, 0.1f, 1.0f)}))},
        {"data\\textures\\wood.tga", SolidTga(8, 8, 0xFF996633)},
        {"data\\textures\\skin.tga", SolidTga(8, 8, 0xFF3366CC)},
        {"data\\textures\\arrow.tga", SolidTga(16, 16, 0xFFFFFFFF)},
    };
}

} // namespace

std::unique_ptr<CFileManager> WriteFrameGame(const std::filesystem::path& folder) {
    CArchiveWriter archive("resource.000");
    for (const auto& [path, bytes] : GameFiles()) {
        const auto split = CFileManager::Split(path);
        archive.Add(split.dir, split.name, bytes);
    }
    archive.Write(folder / "resource.000");
    return std::make_unique<CFileManager>(folder, CKeySet::BuiltIn());
}

FrameTest::FrameTest() : files(WriteFrameGame(folder.Path())) {
    settings.textureQuality = 1;
}

FrameTest::~FrameTest() = default;

C3DEngine2& FrameTest::Engine() {
    if (!engine) {
        engine = std::make_unique<C3DEngine2>(device, *files, std::filesystem::path(), settings);
        engine->CreateDevice(1024, 768, true);
    }
    return *engine;
}

CModelInstance* FrameTest::Add(const std::string& model, const D3DXVECTOR3& position, int kind) {
    C3DEngine2& e = Engine();
    return e.AddInstance(e.CreateInstance(e.GetModel(model), position, {0, 0, 0}, true, true, kind));
}

void FrameTest::Frame(bool wait) {
    device.ClearCalls();
    device.draws.clear();
    Engine().RenderFrame(now, wait);
    now += 20;
}

std::vector<DrawRecord> FrameTest::DrawsAt(float x) const {
    std::vector<DrawRecord> found;
    for (const DrawRecord& draw : device.draws) {
        if (draw.Origin().x == x) {
            found.push_back(draw);
        }
    }
    return found;
}
