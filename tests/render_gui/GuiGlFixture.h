#pragma once

#include "render/gui/CGuiComponent.h"
#include "render_gl/GlTestScene.h"

#include <memory>

class CMouseCursor;

// A GUI tree on the OpenGL device, sized to the test target, drawn as the
// frame draws its GUI and then the cursor.
class GuiGlTest : public GlDeviceTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // No lighting or depth, point sampling, one scene.
    void DrawGui(CMouseCursor* cursor = nullptr);

    std::unique_ptr<CGuiComponent> root;
};
