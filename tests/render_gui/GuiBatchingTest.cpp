#include "render/gui/GuiQuads.h"
#include "render_gui/GuiFixture.h"
#include "resources/CADVException.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

void ExpectVertex(const GuiVertex& v, float x, float y, std::uint32_t colour, float u = 0.0f,
                  float tv = 0.0f) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_EQ(v.z, 0.0f);
    EXPECT_EQ(v.rhw, 1.0f);
    EXPECT_EQ(v.colour, colour);
    EXPECT_FLOAT_EQ(v.u, u);
    EXPECT_FLOAT_EQ(v.v, tv);
}

std::vector<GuiVertex> Read(const std::vector<std::uint8_t>& bytes, int count) {
    std::vector<GuiVertex> vertices;
    for (int i = 0; i < count; ++i) {
        vertices.push_back(ReadGuiVertex(bytes.data() + static_cast<std::size_t>(i) * sizeof(GuiVertex)));
    }
    return vertices;
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CADVException& e) {
        return e.GetText();
    }
    return "";
}

TEST(GuiQuads, QuadIsTwoTrianglesBottomLeftTopLeftTopRightThenTopRightBottomRightBottomLeft) {
    std::vector<std::uint8_t> bytes(6 * sizeof(GuiVertex));
    const int written = GUI2_CreateVBRect(bytes.data(), {{{1, 2}, {3, 4}, {5, 6}, {7, 8}}}, {10, 11, 12, 13},
                                          {{{0.1f, 0.2f}, {0.3f, 0.4f}, {0.5f, 0.6f}, {0.7f, 0.8f}}});
    EXPECT_EQ(written, 6);
    const auto v = Read(bytes, 6);
    ExpectVertex(v[0], 5, 6, 12, 0.5f, 0.6f);
    ExpectVertex(v[1], 1, 2, 10, 0.1f, 0.2f);
    ExpectVertex(v[2], 3, 4, 11, 0.3f, 0.4f);
    ExpectVertex(v[3], 3, 4, 11, 0.3f, 0.4f);
    ExpectVertex(v[4], 7, 8, 13, 0.7f, 0.8f);
    ExpectVertex(v[5], 5, 6, 12, 0.5f, 0.6f);
}

TEST(GuiQuads, FrameWithoutBorderIsOneFilledQuad) {
    for (int border : {0, -3}) {
        std::vector<std::uint8_t> bytes(30 * sizeof(GuiVertex));
        EXPECT_EQ(GUI2_CreateRect(bytes.data(), 10, 20, 110, 70, border, 1, 2, 3, true), 6);
        const auto v = Read(bytes, 6);
        ExpectVertex(v[0], 10, 70, 3);
        ExpectVertex(v[1], 10, 20, 3);
        ExpectVertex(v[2], 110, 20, 3);
        ExpectVertex(v[4], 110, 70, 3);
    }
}

TEST(GuiQuads, BevelsAreLitFromTheTopLeftWhenRaisedAndFromTheBottomRightWhenNot) {
    constexpr std::uint32_t L = 0x11, D = 0x22, F = 0x33;
    for (bool raised : {true, false}) {
        const std::uint32_t a = raised ? L : D;
        const std::uint32_t b = raised ? D : L;
        std::vector<std::uint8_t> bytes(30 * sizeof(GuiVertex));
        ASSERT_EQ(GUI2_CreateRect(bytes.data(), 10, 20, 110, 70, 4, L, D, F, raised), 30);
        const auto v = Read(bytes, 30);
        // Each quad's corners in the writer's order c1..c4 are vertices 1, 2, 0, 4.
        const struct {
            float x[4];
            float y[4];
            std::uint32_t colour[4];
        } quads[] = {
            {{10, 110, 14, 106}, {20, 20, 24, 24}, {a, a, F, F}},   // top
            {{14, 14, 10, 10}, {24, 66, 20, 70}, {F, F, a, a}},     // left
            {{106, 110, 106, 110}, {24, 20, 66, 70}, {F, a, F, b}}, // right
            {{14, 106, 10, 110}, {66, 66, 70, 70}, {F, F, a, b}},   // bottom
            {{14, 106, 14, 106}, {24, 24, 66, 66}, {F, F, F, F}},   // fill
        };
        for (int q = 0; q < 5; ++q) {
            const int vertexOfCorner[4] = {1, 2, 0, 4};
            for (int c = 0; c < 4; ++c) {
                SCOPED_TRACE(::testing::Message() << "raised " << raised << " quad " << q << " corner " << c);
                ExpectVertex(v[static_cast<std::size_t>(q * 6 + vertexOfCorner[c])], quads[q].x[c],
                             quads[q].y[c], quads[q].colour[c]);
            }
        }
    }
}

class GuiBatching : public GuiTest {};

TEST_F(GuiBatching, RegionsFillToTheirCapacitiesAndNoFurther) {
    const struct {
        bool textured;
        int capacity;
        int firstIndex;
    } regions[] = {{true, 1536, 1920}, {false, 1920, 0}};
    for (const auto& region : regions) {
        root.DeleteChildren();
        CGuiComponent& full = root.CreateChild<CountedQuads>(region.capacity - 6, region.textured);
        CGuiComponent& last = root.CreateChild<CountedQuads>(6, region.textured);
        Update();
        EXPECT_EQ(full.FirstVertex(), region.firstIndex);
        EXPECT_EQ(last.FirstVertex(), region.firstIndex + region.capacity - 6);
        EXPECT_EQ(region.textured ? gui.UsedTextured() : gui.UsedUntextured(), region.capacity);

        root.CreateChild<CountedQuads>(1, region.textured);
        EXPECT_NE(ErrorOf([&] { Update(); })
                      .find("C3DEngine2::GUI2_AllocVB() - Limited textured vertex buffer "
                            "exceeded."),
                  std::string::npos)
            << region.textured;
        // Nothing half-written is kept: the buffer is free again and the next frame tries anew.
        EXPECT_FALSE(gui.VertexBuffer()->IsLocked());
        EXPECT_TRUE(root.NeedsRebuild());
        EXPECT_EQ(gui.UsedTextured() + gui.UsedUntextured(), 0);
    }
}

TEST_F(GuiBatching, RegionsAreIndependent) {
    CGuiComponent& flat = root.CreateChild<CountedQuads>(1920, false);
    CGuiComponent& textured = root.CreateChild<CountedQuads>(1536, true);
    Update();
    EXPECT_EQ(flat.FirstVertex(), 0);
    EXPECT_EQ(textured.FirstVertex(), 1920);
}

TEST_F(GuiBatching, AllocatingOutsideARebuildFails) {
    std::uint8_t* dest = nullptr;
    EXPECT_NE(ErrorOf([&] {
                  gui.GUI2_AllocVB(6, false, &dest);
              }).find("C3DEngine2::GUI2_AllocVB() - Function called while vertex buffer wasn't locked."),
              std::string::npos);
}

TEST_F(GuiBatching, BufferIsMadeOnceAndFilledOnlyWhenSomethingChanged) {
    CGuiComponent& quads = root.CreateChild<CountedQuads>(6, false);
    Update();
    EXPECT_EQ(CallsNamed("CreateVertexBuffer"), std::vector<std::string>{"CreateVertexBuffer 96768 324"});
    EXPECT_EQ(device.CountCalls("LockVertexBuffer"), 1);
    EXPECT_FALSE(root.NeedsRebuild());

    Update();
    EXPECT_EQ(device.CountCalls("CreateVertexBuffer"), 0);
    EXPECT_EQ(device.CountCalls("LockVertexBuffer"), 0);
    EXPECT_EQ(device.CountCalls("DrawPrimitive"), 1);

    quads.SetVisible(false);
    EXPECT_FALSE(root.NeedsRebuild());
    quads.MarkChanged();
    Update();
    EXPECT_EQ(device.CountCalls("LockVertexBuffer"), 1);
    EXPECT_EQ(device.CountCalls("DrawPrimitive"), 0);
}

TEST_F(GuiBatching, DrawSetsUpOnceThenOneCallPerComponentWithVertices) {
    CGuiComponent& a = root.CreateChild<CountedQuads>(6, false);
    CGuiComponent& holder = root.CreateChild<CGuiComponent>();
    holder.CreateChild<CountedQuads>(12, true);
    a.CreateChild<CountedQuads>(30, false);
    Update();
    const std::vector<std::string> expected = {
        "SetRenderState 9 1", "SetRenderState 10 5", "SetRenderState 11 6",  "SetStreamSource 0 1 0 28",
        "SetFVF 324",         "SetTexture 0 0",      "DrawPrimitive 0 2",    "SetTexture 0 0",
        "DrawPrimitive 6 10", "SetTexture 0 0",      "DrawPrimitive 1920 4", "SetRenderState 9 0",
    };
    std::vector<std::string> drawing(device.Calls().end() - static_cast<long>(expected.size()),
                                     device.Calls().end());
    EXPECT_EQ(drawing, expected);
}

TEST_F(GuiBatching, HiddenComponentsHideTheirSubtreeAndOneComponentCanBeDrawnAlone) {
    CGuiComponent& a = root.CreateChild<CountedQuads>(6, false);
    CGuiComponent& child = a.CreateChild<CountedQuads>(6, false);
    CGuiComponent& b = root.CreateChild<CountedQuads>(3, false);
    Update();
    EXPECT_EQ(device.CountCalls("DrawPrimitive"), 3);

    a.SetVisible(false);
    Update();
    EXPECT_EQ(CallsNamed("DrawPrimitive"), std::vector<std::string>{"DrawPrimitive 12 1"});

    a.SetVisible(true);
    Update(&a);
    EXPECT_EQ(CallsNamed("DrawPrimitive"),
              (std::vector<std::string>{"DrawPrimitive 0 2", "DrawPrimitive 6 2"}));
    (void)child;
    (void)b;
}

TEST_F(GuiBatching, EmptyTreeDrawsNothing) {
    root.CreateChild<CGuiComponent>();
    Update();
    EXPECT_EQ(device.CountCalls("SetStreamSource"), 0);
    EXPECT_EQ(device.CountCalls("SetRenderState"), 0);
}

TEST_F(GuiBatching, BufferFailureIsReportedAndTriedAgain) {
    root.CreateChild<CountedQuads>(6, false);
    device.FailNext("CreateVertexBuffer");
    EXPECT_NE(ErrorOf([&] {
                  Update();
              }).find("C3DEngine2::GUI2_Update() - Could not allocate vertex buffer for GUI."),
              std::string::npos);
    EXPECT_TRUE(root.NeedsRebuild());
    Update();
    EXPECT_EQ(device.CountCalls("DrawPrimitive"), 1);
}

TEST_F(GuiBatching, ReleasedBufferIsMadeAndFilledAgain) {
    root.CreateChild<CountedQuads>(6, false);
    Update();
    gui.ReleaseVB();
    EXPECT_EQ(gui.VertexBuffer(), nullptr);
    Update();
    EXPECT_EQ(device.CountCalls("CreateVertexBuffer"), 1);
    EXPECT_EQ(device.CountCalls("LockVertexBuffer"), 1);
    EXPECT_EQ(device.CountCalls("DrawPrimitive"), 1);
}

} // namespace
