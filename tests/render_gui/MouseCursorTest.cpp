#include "render/CMouseCursor.h"
#include "render/ImageFiles.h"
#include "render/device/DDeviceNull.h"
#include "render/gui/GuiVertex.h"
#include "resources/CADVException.h"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr const char* kArrow = "data\\textures\\arrow.png";

class MouseCursor : public ::testing::Test {
protected:
    MouseCursor() {
        files[kArrow] = PngFile(SolidImage(32, 32, 0x10203040));
        files["data\\textures\\wide.png"] = PngFile(SolidImage(64, 16, 0xFFFFFFFF));
        files["data\\textures\\broken.png"] = {1, 2, 3, 4, 5};
    }

    GuiVertex Vertex(int i) const {
        return ReadGuiVertex(cursor.VertexBuffer()->Bytes().data() +
                             static_cast<std::size_t>(i) * sizeof(GuiVertex));
    }

    // Corners of the six vertices as (x, y, u, v).
    void ExpectQuad(float left, float top, float right, float bottom) const {
        const float expected[6][4] = {{left, bottom, 0, 1}, {left, top, 0, 0},  {right, bottom, 1, 1},
                                      {left, top, 0, 0},    {right, top, 1, 0}, {right, bottom, 1, 1}};
        for (int i = 0; i < 6; ++i) {
            const GuiVertex v = Vertex(i);
            EXPECT_FLOAT_EQ(v.x, expected[i][0]) << i;
            EXPECT_FLOAT_EQ(v.y, expected[i][1]) << i;
            EXPECT_FLOAT_EQ(v.u, expected[i][2]) << i;
            EXPECT_FLOAT_EQ(v.v, expected[i][3]) << i;
            EXPECT_EQ(v.z, 0.0f);
            EXPECT_EQ(v.rhw, 1.0f);
            EXPECT_EQ(v.colour, 0xFFFFFFFFu);
        }
    }

    std::map<std::string, std::vector<std::uint8_t>> files;
    DDeviceNull device;
    CMouseCursor cursor{device, [this](const std::string& path) {
                            const auto found = files.find(path);
                            if (found == files.end()) {
                                throw CADVException("LoadFile: Resource '%s' not found.", path.c_str());
                            }
                            return found->second;
                        }};
};

TEST_F(MouseCursor, CursorImageCoversItsOwnSizeFromThePosition) {
    cursor.SetPosition(100, 50);
    cursor.Mouse_Enable(true, kArrow);
    ASSERT_TRUE(cursor.Enabled());
    EXPECT_EQ(cursor.Width(), 32);
    EXPECT_EQ(cursor.Height(), 32);
    EXPECT_EQ(cursor.VertexBuffer()->Size(), 168u);
    ExpectQuad(100, 50, 132, 82);

    cursor.SetPosition(10.5f, 20);
    ExpectQuad(10.5f, 20, 42.5f, 52);
}

TEST_F(MouseCursor, MovingWhileDisabledOnlyStoresThePosition) {
    cursor.SetPosition(300, 200);
    EXPECT_FALSE(cursor.Enabled());
    EXPECT_EQ(cursor.VertexBuffer(), nullptr);
    EXPECT_EQ(cursor.X(), 300);
    EXPECT_EQ(cursor.Y(), 200);
    cursor.Mouse_Enable(true, "data\\textures\\wide.png");
    ExpectQuad(300, 200, 364, 216);
}

TEST_F(MouseCursor, TextureKeepsTheFilesSizeAndPixels) {
    cursor.Mouse_Enable(true, kArrow);
    const DTexture* texture = cursor.Texture();
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->Width(0), 32);
    EXPECT_EQ(texture->LevelCount(), 6);
    // RGBA 10 20 30 40 stored as B, G, R, A.
    EXPECT_EQ(texture->Pixels(0)[0], 0x30);
    EXPECT_EQ(texture->Pixels(0)[2], 0x10);
    EXPECT_EQ(texture->Pixels(0)[3], 0x40);
}

TEST_F(MouseCursor, DisablingDropsTheCursorButKeepsTheName) {
    cursor.Mouse_Enable(true, kArrow);
    cursor.Mouse_Enable(false, kArrow);
    EXPECT_FALSE(cursor.Enabled());
    EXPECT_EQ(cursor.VertexBuffer(), nullptr);
    EXPECT_EQ(cursor.FileName(), kArrow);
    device.ClearCalls();
    cursor.Draw();
    EXPECT_TRUE(device.Calls().empty());
}

TEST_F(MouseCursor, DrawIsOneBlendedTexturedQuadWithoutLightingOrDepth) {
    cursor.Mouse_Enable(true, kArrow);
    device.ClearCalls();
    cursor.Draw();
    const std::vector<std::string> expected = {
        "SetRenderState 9 1",       "SetRenderState 10 5", "SetRenderState 11 6",
        "SetRenderState 5 0",       "SetRenderState 0 0",  "SetTexture 0 1",
        "SetStreamSource 0 1 0 28", "SetFVF 324",          "DrawPrimitive 0 2",
    };
    EXPECT_EQ(device.Calls(), expected);
}

TEST_F(MouseCursor, FailedEnableLeavesTheCursorDisabledWithANamedError) {
    const struct {
        const char* file;
        const char* failCall;
        const char* message;
    } cases[] = {
        {"data\\textures\\missing.png", nullptr,
         "LoadFile: Resource 'data\\textures\\missing.png' not found."},
        {"data\\textures\\broken.png", nullptr,
         "C3DEngine2::Mouse_Enable - Could not get texture information from filename "
         "data\\textures\\broken.png"},
        {kArrow, "CreateTexture",
         "C3DEngine2::Mouse_Enable - Could not load texture with filename "
         "data\\textures\\arrow.png"},
        {kArrow, "CreateVertexBuffer",
         "C3DEngine2::Mouse_Enable - Could not create vertex buffer for mouse cursor"},
    };
    for (const auto& c : cases) {
        cursor.Mouse_Enable(true, kArrow);
        if (c.failCall) {
            device.FailNext(c.failCall);
        }
        try {
            cursor.Mouse_Enable(true, c.file);
            ADD_FAILURE() << c.message;
        } catch (const CADVException& e) {
            EXPECT_NE(std::string(e.GetText()).find(c.message), std::string::npos) << e.GetText();
        }
        EXPECT_FALSE(cursor.Enabled()) << c.message;
        EXPECT_EQ(cursor.FileName(), c.file);
    }
}

} // namespace
