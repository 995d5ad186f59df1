#include "render/gui/CGuiComponentFrame.h"
#include "render_frame/FrameFixture.h"

#include <algorithm>

namespace {

// Where a call stands in the device's record of the frame.
std::ptrdiff_t IndexOf(const std::vector<std::string>& calls, const std::string& line) {
    return std::ranges::find(calls, line) - calls.begin();
}

class OverlayTest : public FrameTest {
protected:
    OverlayTest() {
        screen = &Engine().CreateChild<CGuiComponentFrame>();
        screen->SetRect(10, 10, 200, 100);
        loading = &Engine().CreateChild<CGuiComponentFrame>();
        loading->SetRect(0, 0, 1024, 768);
        loading->SetVisible(false);
        Engine().SetSingleScreen(loading);
    }
    CGuiComponentFrame* screen = nullptr;
    CGuiComponentFrame* loading = nullptr;
};

TEST_F(OverlayTest, GuiAndCursorAreDrawnOverTheSceneWithoutLightOrDepth) {
    Add("solid.ims", {1, 0, 5});
    Engine().Cursor().Mouse_Enable(true, "data\\textures\\arrow.tga");
    Frame();
    const auto& calls = device.Calls();
    const std::ptrdiff_t scene = IndexOf(calls, "DrawIndexedPrimitive 0 0 24 0 12");
    const std::ptrdiff_t lightingOff = IndexOf(calls, "SetRenderState 5 0");
    const std::ptrdiff_t gui =
        std::ranges::find_if(calls, [](const std::string& l) { return l.starts_with("DrawPrimitive"); }) -
        calls.begin();
    const std::ptrdiff_t cursor = IndexOf(calls, "DrawPrimitive 0 2");
    EXPECT_LT(scene, lightingOff);
    EXPECT_LT(lightingOff, gui);
    EXPECT_LT(gui, cursor);
    EXPECT_LT(cursor, IndexOf(calls, "EndScene"));
    // Only the visible screen: the hidden loading screen is not drawn.
    EXPECT_EQ(device.CountCalls("DrawPrimitive"), 2);
    // What the next frame starts from.
    for (const auto& [state, value] : {std::pair{DRenderState::ZEnable, 1u},
                                       {DRenderState::ZWriteEnable, 1u},
                                       {DRenderState::Lighting, 1u},
                                       {DRenderState::AlphaBlendEnable, 0u},
                                       {DRenderState::StencilEnable, 0u}}) {
        EXPECT_EQ(device.State(state), value) << static_cast<int>(state);
    }

    Engine().SetVisible(false);
    Frame();
    EXPECT_EQ(device.CountCalls("DrawPrimitive"), 1); // the cursor alone
}

TEST_F(OverlayTest, SingleScreenShowsOnlyItsComponentAndHidesItAgain) {
    Add("solid.ims", {1, 0, 5});
    device.ClearCalls();
    Engine().RenderSingleScreen();
    const auto& calls = device.Calls();
    EXPECT_EQ(calls.front(), "Clear 3 0 0");
    EXPECT_EQ(device.CountCalls("DrawIndexedPrimitive"), 0);
    EXPECT_EQ(device.CountCalls("DrawPrimitive"), 1);
    EXPECT_EQ(calls.back(), "Present 0");
    EXPECT_FALSE(loading->IsVisible());
    EXPECT_TRUE(Engine().FrameDone());
}

TEST_F(OverlayTest, RecreatedDeviceShowsTheLoadingScreenAndSizesTheGui) {
    Add("solid.ims", {1, 0, 5}); // with its texture
    Engine().Cursor().Mouse_Enable(true, "data\\textures\\arrow.tga");
    Engine().Cursor().SetPosition(100, 50);
    Frame();
    device.ClearCalls();
    device.failResets = 1;
    Engine().CreateDevice(800, 600, true);
    const auto& calls = device.Calls();
    // Loading screen first, then textures and models come back.
    const std::ptrdiff_t shown = IndexOf(calls, "Present 0");
    const std::ptrdiff_t restored = IndexOf(calls, "CreateTexture 8 8 4");
    ASSERT_LT(restored, std::ssize(calls));
    EXPECT_LT(shown, restored);
    EXPECT_EQ(Engine().Width(), 800);
    EXPECT_EQ(Engine().Height(), 600);
    EXPECT_TRUE(Engine().NeedsRebuild());
    // The cursor is loaded again with its file and keeps its place.
    EXPECT_TRUE(Engine().Cursor().Enabled());
    EXPECT_EQ(Engine().Cursor().FileName(), "data\\textures\\arrow.tga");
    EXPECT_EQ(Engine().Cursor().X(), 100);
}

} // namespace
