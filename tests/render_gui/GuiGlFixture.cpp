#include "render_gui/GuiGlFixture.h"

#include "render/CMouseCursor.h"
#include "render/gui/CGuiRenderer.h"

void GuiGlTest::SetUp() {
    GlDeviceTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    root = std::make_unique<CGuiComponent>(Device());
    root->SetRect(0, 0, kWidth, kHeight);
}

void GuiGlTest::TearDown() {
    root.reset();
    GlDeviceTest::TearDown();
}

void GuiGlTest::DrawGui(CMouseCursor* cursor) {
    Begin();
    Device().SetRenderState(DRenderState::Lighting, 0);
    Device().SetRenderState(DRenderState::ZEnable, 0);
    Device().SetRenderState(DRenderState::ZWriteEnable, 0);
    Device().SetSamplerState(0, DSamplerState::MagFilter, D3DTEXF_POINT);
    Device().SetSamplerState(0, DSamplerState::MinFilter, D3DTEXF_POINT);
    root->Gui().GUI2_Update(*root);
    if (cursor) {
        cursor->Draw();
    }
    ASSERT_EQ(Device().EndScene(), S_OK);
}
