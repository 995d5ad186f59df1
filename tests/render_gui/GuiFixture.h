#pragma once

#include "render/device/DDeviceNull.h"
#include "render/gui/CGuiComponent.h"
#include "render/gui/CGuiRenderer.h"
#include "render/gui/GuiVertex.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// A component that takes a fixed number of vertices of one region, to fill
// the buffer to its limits.
class CountedQuads : public CGuiComponent {
public:
    CountedQuads(CGuiComponent& parent, int count, bool textured)
        : CGuiComponent(parent), m_count(count), m_textured(textured) {}
    void UpdateVB() override;

private:
    int m_count;
    bool m_textured;
};

// A GUI tree on the recording device, its root sized like a 1024 x 768 back buffer.
class GuiTest : public ::testing::Test {
protected:
    GuiTest() { root.SetRect(0, 0, 1024, 768); }

    // Rebuilds when needed and draws, starting from a clean call record.
    void Update(const CGuiComponent* only = nullptr) {
        device.ClearCalls();
        gui.GUI2_Update(root, only);
    }
    GuiVertex Vertex(int index) const;
    // The vertices of a component's quads, in buffer order.
    std::vector<GuiVertex> VerticesOf(const CGuiComponent& component) const;
    // Calls recorded since the last Update whose first word is `name`.
    std::vector<std::string> CallsNamed(const std::string& name) const;

    DDeviceNull device;
    CGuiComponent root{device};
    CGuiRenderer& gui = root.Gui();
};

// ARGB of a texel of a device texture, rows as stored.
std::uint32_t TexelAt(const DTexture& texture, int x, int row);
