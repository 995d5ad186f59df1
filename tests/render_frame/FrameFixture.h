#pragma once

#include "mathutil/D3DXMath.h"
#include "render/C3DEngine2.h"
#include "render/model/CModelInstance.h"
#include "render/device/DDeviceNull.h"
#include "resources/CADVException.h"
#include "resources/CFileManager.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

// One draw as the device saw it: the world matrix, the material and the
// states in force, and the target it went to.
struct DrawRecord {
    D3DXMATRIX world;
    D3DMATERIAL9 material;
    std::map<DRenderState, std::uint32_t> states;
    DRenderTarget target = DRenderTarget::BackBuffer;
    std::uint32_t startIndex = 0;
    std::uint32_t triangles = 0;

    std::uint32_t State(DRenderState state) const;
    // Where the world matrix puts the model's origin.
    D3DXVECTOR3 Origin() const { return {world(3, 0), world(3, 1), world(3, 2)}; }
    bool Blending() const { return State(DRenderState::AlphaBlendEnable) != 0; }
    bool Stencilled() const { return State(DRenderState::StencilEnable) != 0; }
};

// The recording device, also keeping the values behind the calls it writes
// down: states in force, lights, and every draw with its context.
class FrameDevice : public DDeviceNull {
public:
    HRESULT SetTransform(DTransformState state, const D3DXMATRIX& matrix) override;
    HRESULT SetRenderState(DRenderState state, std::uint32_t value) override;
    HRESULT SetMaterial(const D3DMATERIAL9& material) override;
    HRESULT SetLight(std::uint32_t index, const D3DLIGHT9& light) override;
    HRESULT DrawIndexedPrimitive(std::int32_t baseVertex, std::uint32_t minIndex, std::uint32_t vertexCount,
                                 std::uint32_t startIndex, std::uint32_t triangleCount) override;

    // Resets that fail, as many as this says (each call still written down).
    HRESULT Reset(int width, int height) override;
    int failResets = 0;

    std::uint32_t State(DRenderState state) const;
    std::vector<DrawRecord> draws;
    std::map<std::uint32_t, D3DLIGHT9> lights;

private:
    D3DXMATRIX m_world;
    D3DMATERIAL9 m_material;
    std::map<DRenderState, std::uint32_t> m_states;
};

// Test models, each an IMS2 file under data\models\:
// "box.ims": unit box on the ground (y 0 to 1), opaque material "body"
//   (textured "wood.tga") and transparent material "glass" (a box around it);
// "solid.ims": the same box without the glass;
// "floor.ims": a 20 x 20 square around the origin in the plane y = 0, facing
//   up, in 16 x 16 cells;
// "mirror.ims": a 4 x 4 square in the plane z = 0 (x -2 to 2, y 0 to 4),
//   facing -z.
// Textures "wood.tga", "skin.tga" and the cursor "arrow.tga" under
// data\textures\. Written as an
// archive into `folder`, whose file manager is returned.
std::unique_ptr<CFileManager> WriteFrameGame(const std::filesystem::path& folder);
std::vector<std::uint8_t> SolidTga(int width, int height, std::uint32_t argb);

class FrameTest : public ::testing::Test {
protected:
    FrameTest();
    ~FrameTest() override;

    C3DEngine2::Settings Settings() const { return settings; }
    // Makes the engine (on first use) with `settings`, sized 1024 x 768.
    C3DEngine2& Engine();
    CModelInstance* Add(const std::string& model, const D3DXVECTOR3& position,
                        int kind = CModelInstance::Ordinary);
    // One frame, its draws alone in the device's records.
    void Frame(bool wait = true);
    // The draws at origin `x` (instances are told apart by their x).
    std::vector<DrawRecord> DrawsAt(float x) const;

    TempDir folder;
    FrameDevice device;
    std::unique_ptr<CFileManager> files;
    C3DEngine2::Settings settings;
    std::unique_ptr<C3DEngine2> engine;
    std::uint32_t now = 5000;
};
