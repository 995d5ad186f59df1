#include "render/device/DDeviceNull.h"
#include "render_gl/GlTestScene.h"

#include <cstring>

namespace {

using DeviceGLTest = GlDeviceTest;

// A full-target quad at depth z in the GUI format.
std::vector<TestScreenVertex> FullQuad(std::uint32_t colour, float z = 0.0f) {
    auto quad = ScreenQuad(-0.5f, -0.5f, GlDeviceTest::kWidth - 0.5f, GlDeviceTest::kHeight - 0.5f, colour,
                           colour, colour, colour);
    for (TestScreenVertex& v : quad) {
        v.z = z;
    }
    return quad;
}

std::uint32_t Pixel(DDevice& device, int x, int y, DRenderTarget target = DRenderTarget::BackBuffer) {
    std::uint32_t colour = 0xDEADBEEF;
    EXPECT_EQ(device.ReadPixel(target, x, y, &colour), S_OK);
    return colour;
}

TEST_F(DeviceGLTest, PickingTargetGivesBackTheExactIdsDrawnAsAmbientColour) {
    // Lit by the ambient colour alone, as the renderer draws object ids.
    auto cube = Cube(1.0f);
    const std::uint32_t ids[] = {0x000001, 0x123456, 0xFFFFFF, 0x00FF00, 0x7F8081};
    Begin(0xFF336699);
    ASSERT_EQ(Device().EndScene(), S_OK);

    ASSERT_EQ(Device().SetRenderTarget(DRenderTarget::Picking), S_OK);
    EXPECT_EQ(Device().GetRenderTarget(), DRenderTarget::Picking);
    ASSERT_EQ(Device().Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), S_OK);
    ASSERT_EQ(Device().BeginScene(), S_OK);
    LookAt(0, 0, -10);
    D3DMATERIAL9 material;
    material.Ambient = {1, 1, 1, 1};
    Device().SetMaterial(material);
    for (int i = 0; i < 5; ++i) {
        Device().SetRenderState(DRenderState::Ambient, ids[i]);
        Draw(cube, Translation(static_cast<float>(i - 2) * 1.6f, 0, 0));
    }
    ASSERT_EQ(Device().EndScene(), S_OK);
    ASSERT_EQ(Device().SetRenderTarget(DRenderTarget::BackBuffer), S_OK);

    // Cube centres project to x = 80 + k * 1.6 * (60 / tan(pi / 8)) / 10 on a 120-high target.
    const float step = 1.6f * 60.0f / 0.41421356f / 10.0f;
    for (int i = 0; i < 5; ++i) {
        const int x = static_cast<int>(80.0f + static_cast<float>(i - 2) * step);
        EXPECT_EQ(Pixel(Device(), x, 60, DRenderTarget::Picking), ids[i]) << "cube " << i;
    }
    EXPECT_EQ(Pixel(Device(), 80, 5, DRenderTarget::Picking), 0u);
    // The back buffer keeps the last frame.
    EXPECT_EQ(Pixel(Device(), 80, 60), 0x336699u);
}

TEST_F(DeviceGLTest, ResetResizesTargetsAndKeepsResourcesDrawable) {
    auto checker = Checker(4, 2, 0xFF00FF00, 0xFF00FF00);
    auto quad = ScreenVertices(FullQuad(0xFFFFFFFF));
    Begin();
    Device().SetTexture(0, checker.get());
    DrawScreen(*quad, 2);
    ASSERT_EQ(Device().EndScene(), S_OK);
    EXPECT_EQ(Pixel(Device(), 10, 10), 0x00FF00u);

    ASSERT_EQ(Device().Reset(200, 150), S_OK);
    EXPECT_EQ(Device().BackBufferWidth(), 200);
    EXPECT_EQ(Device().BackBufferHeight(), 150);
    // States return to their defaults: the texture must be set again.
    std::uint8_t* bits = nullptr;
    int pitch = 0;
    ASSERT_EQ(checker->LockRect(0, &bits, &pitch), S_OK);
    const std::uint32_t blue = 0xFF0000FF;
    for (int i = 0; i < 16; ++i) {
        std::memcpy(bits + 4 * i, &blue, 4);
    }
    ASSERT_EQ(checker->UnlockRect(0), S_OK);
    Begin();
    Device().SetTexture(0, checker.get());
    DrawScreen(*quad, 2);
    ASSERT_EQ(Device().EndScene(), S_OK);
    // The quad covers the old 160 x 120 only; the lock shows at the next draw.
    EXPECT_EQ(Pixel(Device(), 150, 110), 0x0000FFu);
    EXPECT_EQ(Pixel(Device(), 190, 140), 0u);
    std::vector<std::uint8_t> all(200 * 150 * 4);
    EXPECT_EQ(Device().ReadPixels(DRenderTarget::BackBuffer, 0, 0, 200, 150, all.data()), S_OK);
    EXPECT_EQ(Device().ReadPixels(DRenderTarget::BackBuffer, 1, 0, 200, 150, all.data()), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device().Reset(0, 150), D3DERR_INVALIDCALL);
}

TEST_F(DeviceGLTest, BufferWritesAfterADrawShowAtTheNextDraw) {
    auto quad = ScreenVertices(FullQuad(0xFFFF0000));
    Begin();
    DrawScreen(*quad, 2);
    EXPECT_EQ(Pixel(Device(), 80, 60), 0xFF0000u);
    std::uint8_t* data = nullptr;
    ASSERT_EQ(quad->Lock(0, 0, &data), S_OK);
    const auto green = FullQuad(0xFF00FF00);
    std::memcpy(data, green.data(), green.size() * sizeof(TestScreenVertex));
    ASSERT_EQ(quad->Unlock(), S_OK);
    DrawScreen(*quad, 2);
    ASSERT_EQ(Device().EndScene(), S_OK);
    EXPECT_EQ(Pixel(Device(), 80, 60), 0x00FF00u);
}

TEST_F(DeviceGLTest, ScreenQuadCoversExactlyItsPixelsWithDirect3DCentres) {
    // Whole-pixel corners: pixel centres lie on whole coordinates, so the
    // quad from 10 to 20 covers pixels 10 to 19.
    auto quad = ScreenVertices(ScreenQuad(10, 10, 20, 20, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF));
    Begin();
    DrawScreen(*quad, 2);
    ASSERT_EQ(Device().EndScene(), S_OK);
    EXPECT_EQ(Pixel(Device(), 10, 10), 0xFFFFFFu);
    EXPECT_EQ(Pixel(Device(), 19, 19), 0xFFFFFFu);
    EXPECT_EQ(Pixel(Device(), 9, 10), 0u);
    EXPECT_EQ(Pixel(Device(), 10, 9), 0u);
    EXPECT_EQ(Pixel(Device(), 20, 19), 0u);
    EXPECT_EQ(Pixel(Device(), 19, 20), 0u);
}

TEST_F(DeviceGLTest, ClearResetsDepthAndStencilWhateverTheWriteMasks) {
    auto nearQuad = ScreenVertices(FullQuad(0xFFFF0000, 0.1f));
    auto farQuad = ScreenVertices(FullQuad(0xFF00FF00, 0.9f));
    Begin();
    DrawScreen(*nearQuad, 2);
    Device().SetRenderState(DRenderState::ZWriteEnable, 0);
    Device().SetRenderState(DRenderState::StencilWriteMask, 0);
    ASSERT_EQ(Device().Clear(D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 1.0f, 5), S_OK);
    // Only where the stencil holds 5 and the depth was cleared does the far quad show.
    Device().SetRenderState(DRenderState::StencilEnable, 1);
    Device().SetRenderState(DRenderState::StencilFunc, D3DCMP_EQUAL);
    Device().SetRenderState(DRenderState::StencilRef, 5);
    DrawScreen(*farQuad, 2);
    ASSERT_EQ(Device().EndScene(), S_OK);
    EXPECT_EQ(Pixel(Device(), 80, 60), 0x00FF00u);
}

TEST_F(DeviceGLTest, StatsCountDrawsAndDropRepeatedStates) {
    auto quad = ScreenVertices(FullQuad(0xFFFFFFFF));
    Begin();
    const DDeviceStats start = Device().Stats();
    EXPECT_EQ(start.drawCalls, 0u);
    Device().SetRenderState(DRenderState::AlphaBlendEnable, 1);
    Device().SetRenderState(DRenderState::AlphaBlendEnable, 1);
    Device().SetRenderState(DRenderState::Lighting, 1); // the default
    DrawScreen(*quad, 2);
    DrawScreen(*quad, 2);
    ASSERT_EQ(Device().EndScene(), S_OK);
    const DDeviceStats& stats = Device().Stats();
    EXPECT_EQ(stats.drawCalls, 2u);
    EXPECT_EQ(stats.triangles, 4u);
    // The repeated blend state, the default lighting, and the second draw's FVF and stream.
    EXPECT_EQ(stats.redundantStates, 4u);
    const std::uint32_t changes = stats.stateChanges;
    ASSERT_EQ(Device().BeginScene(), S_OK);
    DrawScreen(*quad, 2);
    ASSERT_EQ(Device().EndScene(), S_OK);
    // Nothing changed since the last frame, so nothing reaches the driver.
    EXPECT_EQ(Device().Stats().stateChanges, 0u);
    EXPECT_GT(changes, 0u);
}

TEST_F(DeviceGLTest, DrawsOutsideTheirBuffersOrSceneFailWithoutDrawing) {
    auto cube = Cube(1.0f);
    auto quad = ScreenVertices(FullQuad(0xFFFFFFFF));
    Device().SetFVF(kFvfScreenTex1);
    Device().SetStreamSource(0, quad.get(), 0, kScreenTex1Stride);
    EXPECT_EQ(Device().DrawPrimitive(0, 2), D3DERR_INVALIDCALL); // no BeginScene
    Begin();
    EXPECT_EQ(Device().BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device().DrawPrimitive(1, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device().DrawPrimitive(0, 3), D3DERR_INVALIDCALL);
    Device().SetStreamSource(0, quad.get(), 28, kScreenTex1Stride);
    EXPECT_EQ(Device().DrawPrimitive(0, 2), D3DERR_INVALIDCALL);

    Device().SetFVF(kFvfPosNorTex1);
    Device().SetStreamSource(0, cube.vertices.get(), 0, kPosNorTex1Stride);
    Device().SetIndices(cube.indices.get());
    EXPECT_EQ(Device().DrawIndexedPrimitive(0, 0, 24, 3, 12), D3DERR_INVALIDCALL);
    // Index 23 plus base 1 is past the last vertex.
    EXPECT_EQ(Device().DrawIndexedPrimitive(1, 0, 24, 0, 12), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device().DrawIndexedPrimitive(0, 0, 24, 0, 12), S_OK);
    // A buffer destroyed while set is dropped, not drawn from.
    cube.vertices.reset();
    EXPECT_EQ(Device().DrawIndexedPrimitive(0, 0, 24, 0, 12), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device().SetRenderState(static_cast<DRenderState>(1000), 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device().SetSamplerState(1, DSamplerState::MagFilter, D3DTEXF_LINEAR), D3DERR_INVALIDCALL);
    ASSERT_EQ(Device().EndScene(), S_OK);
    EXPECT_EQ(Device().EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(Device().Stats().drawCalls, 1u);
}

TEST_F(DeviceGLTest, TexturesTheDriverCannotHoldAreRefusedBeforeAnyMemoryIsTaken) {
    HRESULT hr = S_OK;
    EXPECT_EQ(Device().CreateTexture(1 << 30, 4, 1, DTextureFormat::A8R8G8B8, &hr), nullptr);
    EXPECT_EQ(hr, D3DERR_INVALIDCALL);
    EXPECT_EQ(Device().CreateTexture(4, 4, 4, DTextureFormat::A8R8G8B8, &hr), nullptr);
    EXPECT_NE(Device().CreateTexture(4, 4, 3, DTextureFormat::X8R8G8B8, &hr), nullptr);
}

void FillLevel(DTexture& texture, int level, std::uint32_t argb) {
    std::uint8_t* bits = nullptr;
    int pitch = 0;
    ASSERT_EQ(texture.LockRect(level, &bits, &pitch), S_OK);
    for (int i = 0; i < texture.Width(level) * texture.Height(level); ++i) {
        std::memcpy(bits + 4 * i, &argb, 4);
    }
    ASSERT_EQ(texture.UnlockRect(level), S_OK);
}

TEST_F(DeviceGLTest, SamplerStatesChooseTheMipLevelAndX8TexturesAreOpaque) {
    HRESULT hr = E_FAIL;
    auto texture = Device().CreateTexture(64, 64, 2, DTextureFormat::A8R8G8B8, &hr);
    FillLevel(*texture, 0, 0xFFFF0000);
    FillLevel(*texture, 1, 0xFF00FF00);
    auto opaque = Device().CreateTexture(2, 2, 1, DTextureFormat::X8R8G8B8, &hr);
    FillLevel(*opaque, 0, 0x000000FF);
    // 32 pixels showing 64 texels: the second level when mip filtering is on.
    auto small = ScreenVertices(ScreenQuad(0, 0, 32, 32, ~0u, ~0u, ~0u, ~0u));
    auto beside = ScreenVertices(ScreenQuad(40, 0, 72, 32, ~0u, ~0u, ~0u, ~0u));
    auto blended = ScreenVertices(ScreenQuad(80, 0, 112, 32, ~0u, ~0u, ~0u, ~0u));
    Begin();
    Device().SetTexture(0, texture.get());
    DrawScreen(*small, 2);
    Device().SetSamplerState(0, DSamplerState::MipFilter, D3DTEXF_POINT);
    DrawScreen(*beside, 2);
    Device().SetRenderState(DRenderState::AlphaBlendEnable, 1);
    Device().SetRenderState(DRenderState::SrcBlend, D3DBLEND_SRCALPHA);
    Device().SetRenderState(DRenderState::DestBlend, D3DBLEND_INVSRCALPHA);
    Device().SetTexture(0, opaque.get());
    DrawScreen(*blended, 2);
    ASSERT_EQ(Device().EndScene(), S_OK);
    EXPECT_EQ(Pixel(Device(), 16, 16), 0xFF0000u);
    EXPECT_EQ(Pixel(Device(), 56, 16), 0x00FF00u);
    EXPECT_EQ(Pixel(Device(), 96, 16), 0x0000FFu);
}

TEST_F(DeviceGLTest, TexturesFromAnotherDeviceAreRefused) {
    DDeviceNull other;
    HRESULT hr = E_FAIL;
    auto foreign = other.CreateTexture(4, 4, 1, DTextureFormat::A8R8G8B8, &hr);
    EXPECT_EQ(Device().SetTexture(0, foreign.get()), D3DERR_INVALIDCALL);
}

TEST_F(DeviceGLTest, PresentLetterboxesTheBackBufferIntoTheWindow) {
    // A 2:1 back buffer in the 1024 x 768 window: scaled to 1024 x 512 with
    // black bars of 128 rows above and below. The offscreen window is a
    // single-buffered surface, so what Present drew can still be read.
    ASSERT_EQ(Device().Reset(200, 100), S_OK);
    HRESULT hr = E_FAIL;
    auto quad = Device().CreateVertexBuffer(6 * kScreenTex1Stride, kFvfScreenTex1, &hr);
    const auto corners = ScreenQuad(0, 0, 200, 100, 0xFFFF8000, 0xFFFF8000, 0xFFFF8000, 0xFFFF8000);
    std::uint8_t* data = nullptr;
    ASSERT_EQ(quad->Lock(0, 0, &data), S_OK);
    std::memcpy(data, corners.data(), corners.size() * sizeof(TestScreenVertex));
    ASSERT_EQ(quad->Unlock(), S_OK);
    Begin();
    DrawScreen(*quad, 2);
    ASSERT_EQ(Device().EndScene(), S_OK);
    ASSERT_EQ(Device().Present(0), S_OK);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    const auto windowPixel = [](int x, int yFromTop) {
        std::uint8_t rgba[4] = {};
        glReadPixels(x, 767 - yFromTop, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return static_cast<std::uint32_t>(rgba[0] << 16 | rgba[1] << 8 | rgba[2]);
    };
    EXPECT_EQ(windowPixel(512, 60), 0u);
    EXPECT_EQ(windowPixel(5, 130), 0xFF8000u);
    EXPECT_EQ(windowPixel(1018, 637), 0xFF8000u);
    EXPECT_EQ(windowPixel(512, 700), 0u);
    // The device's own binding is back in place.
    EXPECT_EQ(Pixel(Device(), 100, 50), 0xFF8000u);
}

TEST_F(DeviceGLTest, PresentShowsTheBackBufferAndKeepsIt) {
    auto quad = ScreenVertices(FullQuad(0xFF0080FF));
    Begin();
    DrawScreen(*quad, 2);
    ASSERT_EQ(Device().EndScene(), S_OK);
    EXPECT_EQ(Device().Present(D3DPRESENT_DONOTWAIT), S_OK);
    EXPECT_EQ(Device().GetRenderTarget(), DRenderTarget::BackBuffer);
    EXPECT_EQ(Pixel(Device(), 40, 30), 0x0080FFu);
}

} // namespace
