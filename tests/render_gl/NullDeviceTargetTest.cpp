#include "render/device/DDeviceNull.h"

#include <gtest/gtest.h>

namespace {

TEST(NullDeviceTarget, RecordsTargetsResetsAndReadBacks) {
    DDeviceNull device;
    EXPECT_EQ(device.BackBufferWidth(), 1024);
    EXPECT_EQ(device.SetRenderTarget(DRenderTarget::Picking), S_OK);
    EXPECT_EQ(device.GetRenderTarget(), DRenderTarget::Picking);
    device.SetReadBackColour(0xFF123456);
    std::uint32_t colour = 0;
    EXPECT_EQ(device.ReadPixel(DRenderTarget::Picking, 5, 7, &colour), S_OK);
    // The top byte of a read-back pixel is always 0.
    EXPECT_EQ(colour, 0x123456u);
    EXPECT_EQ(device.Reset(320, 240), S_OK);
    EXPECT_EQ(device.BackBufferHeight(), 240);
    EXPECT_EQ(device.ReadPixel(DRenderTarget::Picking, 320, 0, &colour), D3DERR_INVALIDCALL);
    device.FailNext("Reset");
    EXPECT_EQ(device.Reset(640, 480), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.BackBufferWidth(), 320);
    EXPECT_EQ(device.Calls(),
              (std::vector<std::string>{"SetRenderTarget 1", "ReadPixels 1 5 7 1 1", "Reset 320 240",
                                        "ReadPixels 1 320 0 1 1", "Reset 640 480"}));
}

TEST(NullDeviceTarget, StatsCountTheFrameFromBeginScene) {
    DDeviceNull device;
    device.SetRenderState(DRenderState::Lighting, 1);
    device.BeginScene();
    device.SetFVF(kFvfPosNorTex1);
    device.DrawPrimitive(0, 4);
    device.DrawIndexedPrimitive(0, 0, 3, 0, 1);
    EXPECT_EQ(device.Stats().drawCalls, 2u);
    EXPECT_EQ(device.Stats().triangles, 5u);
    EXPECT_EQ(device.Stats().stateChanges, 1u);
}

} // namespace
