#include "render_gui/GuiFixture.h"

#include "render/device/DBuffer.h"
#include "render/device/DTexture.h"

void CountedQuads::UpdateVB() {
    AllocVertices(m_count, m_textured);
    SetVertexCount(m_count);
    CGuiComponent::UpdateVB();
}

GuiVertex GuiTest::Vertex(int index) const {
    return ReadGuiVertex(gui.VertexBuffer()->Bytes().data() +
                         static_cast<std::size_t>(index) * sizeof(GuiVertex));
}

std::vector<GuiVertex> GuiTest::VerticesOf(const CGuiComponent& component) const {
    std::vector<GuiVertex> vertices;
    for (int i = 0; i < component.VertexCount(); ++i) {
        vertices.push_back(Vertex(component.FirstVertex() + i));
    }
    return vertices;
}

std::vector<std::string> GuiTest::CallsNamed(const std::string& name) const {
    std::vector<std::string> found;
    for (const std::string& call : device.Calls()) {
        if (call.substr(0, call.find(' ')) == name) {
            found.push_back(call);
        }
    }
    return found;
}

std::uint32_t TexelAt(const DTexture& texture, int x, int row) {
    const std::uint8_t* texel =
        texture.Pixels(0).data() + (static_cast<std::size_t>(row) * texture.Width(0) + x) * 4;
    return static_cast<std::uint32_t>(texel[0]) | static_cast<std::uint32_t>(texel[1]) << 8 |
           static_cast<std::uint32_t>(texel[2]) << 16 | static_cast<std::uint32_t>(texel[3]) << 24;
}
