#include "render/image/CImage.h"
#include "render/image/ImageCodec.h"
#include "render/image/PngCodec.h"
#include "render_gl/GlTestScene.h"
#include "support/TempDir.h"

#include <fstream>
#include <iterator>

namespace {

std::vector<std::uint8_t> Pattern(int width, int height) {
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    for (std::size_t i = 0; i < rgba.size(); ++i) {
        rgba[i] = static_cast<std::uint8_t>(i * 37 + i / 7);
    }
    return rgba;
}

TEST(PngWriter, EncodedPixelsDecodeUnchangedWithAlpha) {
    const auto rgba = Pattern(7, 5);
    const auto file = WritePng(7, 5, rgba);
    ASSERT_TRUE(file.has_value());
    CImage decoded;
    ASSERT_TRUE(kPngCodec.Decode(*file, decoded));
    EXPECT_EQ(decoded.Width(), 7);
    EXPECT_EQ(decoded.Height(), 5);
    EXPECT_EQ(decoded.Pixels(), rgba);
}

TEST(PngWriter, RefusesPixelsThatDoNotMatchTheSize) {
    const auto rgba = Pattern(4, 4);
    EXPECT_FALSE(WritePng(4, 5, rgba).has_value());
    EXPECT_FALSE(WritePng(0, 0, {}).has_value());
    TempDir dir;
    EXPECT_FALSE(WritePng(dir / "missing" / "shot.png", 4, 4, rgba));
}

using ScreenshotTest = GlDeviceTest;

TEST_F(ScreenshotTest, BackBufferWrittenAsPngReadsBackIdentical) {
    auto quad = ScreenVertices(ScreenQuad(0, 0, 100, 60, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000));
    auto glass = ScreenVertices(ScreenQuad(50, 30, 150, 90, 0x40FFFFFF, 0x40FFFFFF, 0x40FFFFFF, 0x40FFFFFF));
    // A clear colour without alpha, as the renderer clears.
    Begin(0x00102030);
    DrawScreen(*quad, 2);
    Device().SetRenderState(DRenderState::AlphaBlendEnable, 1);
    Device().SetRenderState(DRenderState::SrcBlend, D3DBLEND_SRCALPHA);
    Device().SetRenderState(DRenderState::DestBlend, D3DBLEND_INVSRCALPHA);
    DrawScreen(*glass, 2);
    ASSERT_EQ(Device().EndScene(), S_OK);
    std::vector<std::uint8_t> shot;
    int width = 0;
    int height = 0;
    ASSERT_EQ(Device().ReadBackBuffer(shot, &width, &height), S_OK);
    ASSERT_EQ(width, kWidth);
    ASSERT_EQ(height, kHeight);
    TempDir dir;
    ASSERT_TRUE(WritePng(dir / "shot.png", width, height, shot));
    std::ifstream in(dir / "shot.png", std::ios::binary);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
    CImage decoded;
    ASSERT_TRUE(kPngCodec.Decode(file, decoded));
    EXPECT_EQ(decoded.Pixels(), shot);
    // Rows run top to bottom: the quad is at the top left.
    EXPECT_EQ(decoded.At(1, 1)[0], 0xFF);
    EXPECT_EQ(decoded.At(150, 110)[2], 0x30);
    // The back buffer has no alpha of its own: every pixel is opaque.
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(decoded.At(x, y)[3], 0xFF) << x << ", " << y;
        }
    }
}

} // namespace
