#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "render/device/DDeviceNull.h"
#include "render_models/ModelFixtures.h"

namespace {

TEST(NullDevice, LoadingAMeshCreatesAndFillsBothBuffersInOrder) {
    CMemoryModelHost host;
    host.AddFile("cube.ims", CModelWriter::WriteMesh(UnitCube()));
    C3DSpresh model(host, "cube.ims");
    model.Load(true);
    EXPECT_EQ(
        host.NullDevice().Calls(),
        (std::vector<std::string>{"CreateVertexBuffer 768 274", "CreateIndexBuffer 72", "LockVertexBuffer",
                                  "LockIndexBuffer", "UnlockIndexBuffer", "UnlockVertexBuffer"}));
}

TEST(NullDevice, BuffersKeepTheirBytesAndRefuseBadLocks) {
    DDeviceNull device;
    HRESULT hr = E_FAIL;
    auto buffer = device.CreateIndexBuffer(8, &hr);
    ASSERT_EQ(hr, S_OK);
    std::uint8_t* data = nullptr;
    ASSERT_EQ(buffer->Lock(2, 4, &data), S_OK);
    EXPECT_TRUE(buffer->IsLocked());
    EXPECT_EQ(buffer->Lock(0, 0, &data), D3DERR_INVALIDCALL);
    data[0] = 0x34;
    data[1] = 0x12;
    ASSERT_EQ(buffer->Unlock(), S_OK);
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->At(1), 0x1234);
    EXPECT_EQ(buffer->Count(), 4u);
    EXPECT_EQ(buffer->Lock(6, 4, &data), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Lock(9, 0, &data), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.CountCalls("LockIndexBuffer"), 1);
    EXPECT_EQ(device.CountCalls("UnlockIndexBuffer"), 1);
}

TEST(NullDevice, TexturesHaveTheirMipLevelsAndLockByLevel) {
    DDeviceNull device;
    HRESULT hr = E_FAIL;
    auto texture = device.CreateTexture(8, 2, FullMipChainLength(8, 2), DTextureFormat::A8R8G8B8, &hr);
    ASSERT_EQ(hr, S_OK);
    ASSERT_EQ(texture->LevelCount(), 4);
    EXPECT_EQ(texture->Width(3), 1);
    EXPECT_EQ(texture->Height(1), 1);
    std::uint8_t* bits = nullptr;
    int pitch = 0;
    ASSERT_EQ(texture->LockRect(1, &bits, &pitch), S_OK);
    EXPECT_EQ(pitch, 16);
    bits[4] = 0xAB;
    EXPECT_EQ(texture->UnlockRect(1), S_OK);
    EXPECT_EQ(texture->Pixels(1)[4], 0xAB);
    EXPECT_EQ(texture->LockRect(4, &bits, &pitch), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.Calls(),
              (std::vector<std::string>{"CreateTexture 8 2 4", "LockTexture", "UnlockTexture"}));
}

TEST(NullDevice, AFailureInjectedOnceHitsOnlyTheNextCall) {
    DDeviceNull device;
    device.FailNext("CreateVertexBuffer", D3DERR_OUTOFVIDEOMEMORY);
    HRESULT hr = S_OK;
    EXPECT_EQ(device.CreateVertexBuffer(32, kFvfPosNorTex1, &hr), nullptr);
    EXPECT_EQ(hr, D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_NE(device.CreateVertexBuffer(32, kFvfPosNorTex1, &hr), nullptr);
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(device.BeginScene(), S_OK);
    EXPECT_EQ(device.DrawIndexedPrimitive(0, 0, 4, 6, 2), S_OK);
    EXPECT_EQ(device.Calls().back(), "DrawIndexedPrimitive 0 0 4 6 2");
}

} // namespace
