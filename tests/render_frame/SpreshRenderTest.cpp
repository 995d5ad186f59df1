#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "render/model/CModelWriter.h"
#include "render/model/ModelPrimitives.h"
#include "resources/CADVException.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Drawing one model for one pass, on the recording device.
class SpreshRender : public ::testing::Test {
protected:
    // A box with the opaque "body" (36 indices from 0) and, when asked, the
    // transparent "glass" (36 from 36); the body names the texture "wood.tga".
    C3DSpresh& Model(bool withGlass, bool withBody = true) {
        ModelMeshData mesh;
        if (withBody) {
            AddModelBox(mesh, {0, 0, 0}, {1, 1, 1}, {"body", "wood.tga", D3DMATERIAL9()});
        }
        if (withGlass) {
            ModelMaterialData glass{"glass", "", D3DMATERIAL9()};
            glass.transparent = true;
            AddModelBox(mesh, {0, 0, 0}, {1, 1, 1}, glass);
        }
        host.AddFile("box.ims", CModelWriter::WriteMesh(mesh));
        model = std::make_unique<C3DSpresh>(host, "box.ims");
        model->Load(true);
        device().ClearCalls();
        return *model;
    }
    DDeviceNull& device() { return host.NullDevice(); }
    std::vector<std::string> Draws() {
        std::vector<std::string> draws;
        std::ranges::copy_if(host.NullDevice().Calls(), std::back_inserter(draws),
                             [](const std::string& l) { return l.starts_with("DrawIndexedPrimitive"); });
        return draws;
    }

    CMemoryModelHost host;
    std::unique_ptr<C3DSpresh> model;
};

TEST_F(SpreshRender, EachPassDrawsItsOwnMaterials) {
    C3DSpresh& box = Model(true);
    box.Render("idle", 0, -1, false, true, true, true);
    EXPECT_EQ(Draws(), (std::vector<std::string>{"DrawIndexedPrimitive 0 0 48 0 12"}));
    EXPECT_EQ(device().Calls().front(), "SetFVF " + std::to_string(kFvfPosNorTex1));
    EXPECT_EQ(device().CountCalls("SetMaterial"), 1);
    device().ClearCalls();
    box.Render("idle", 0, -1, true, true, true, true);
    EXPECT_EQ(Draws(), (std::vector<std::string>{"DrawIndexedPrimitive 0 0 48 36 12"}));
}

TEST_F(SpreshRender, OnlyTransparentModelDrawsNothingInTheOpaquePass) {
    C3DSpresh& glass = Model(true, false);
    glass.Render("idle", 0, -1, false, true, true, true);
    EXPECT_TRUE(device().Calls().empty());
    glass.Render("idle", 0, -1, true, true, true, true);
    EXPECT_EQ(Draws().size(), 1u);
}

TEST_F(SpreshRender, TexturesMaterialsAndOverride) {
    C3DSpresh& box = Model(false);
    // The material's own texture, bound per material; "SetTexture 0 0": ids have no texture here.
    box.Render("idle", 0, -1, false, true, true, true);
    EXPECT_EQ(device().CountCalls("SetTexture"), 1);
    device().ClearCalls();
    // An override is bound once, before anything else, and materials bind nothing.
    box.Render("idle", 0, 7, false, true, false, true);
    EXPECT_EQ(device().Calls().front(), "SetTexture 0 0");
    EXPECT_EQ(device().CountCalls("SetTexture"), 1);
    EXPECT_EQ(device().CountCalls("SetMaterial"), 0);
    device().ClearCalls();
    // Without textures nothing is bound, override or not.
    box.Render("idle", 0, 7, false, false, true, true);
    EXPECT_EQ(device().CountCalls("SetTexture"), 0);
    EXPECT_EQ(Draws().size(), 1u);
}

TEST_F(SpreshRender, GeneratedShapesOnlyWhenAskedAndUnknownAnimationsNotAtAll) {
    C3DSpresh circle(host, "");
    D3DMATERIAL9 opaque;
    opaque.Diffuse.a = 1.0f;
    circle.CreateFilledCircle(1, "idle", 6, 0, opaque);
    device().ClearCalls();
    circle.Render("idle", 0, -1, false, true, true, false);
    EXPECT_TRUE(Draws().empty());
    circle.Render("idle", 0, -1, false, true, true, true);
    EXPECT_EQ(Draws(), (std::vector<std::string>{"DrawIndexedPrimitive 0 0 7 0 6"}));
    device().ClearCalls();
    circle.Render("walk", 0, 3, false, true, true, true);
    EXPECT_TRUE(device().Calls().empty());
}

TEST_F(SpreshRender, DeviceFailuresNameWhatFailed) {
    const struct {
        const char* call;
        const char* text;
    } cases[] = {
        {"SetFVF", "C3DSpresh::Render - Could not set FVF (POSNORTEX1)"},
        {"SetStreamSource", "C3DSpresh::Render - Could not set streamsource (vertex buffer)"},
        {"SetIndices", "C3DSpresh::Render - Could not set streamsource (index buffer)"},
        {"DrawIndexedPrimitive",
         "C3DSpresh::Render - Could not draw indexed primitive from index 36 with count 12"},
    };
    C3DSpresh& box = Model(true);
    for (const auto& c : cases) {
        device().FailNext(c.call);
        try {
            box.Render("idle", 0, -1, true, true, true, true);
            ADD_FAILURE() << c.call << " failed silently";
        } catch (const CADVException& e) {
            const std::string text = e.GetText();
            EXPECT_TRUE(text.starts_with("Exception:\nHRESULT: 8876086C\n")) << text;
            EXPECT_TRUE(text.ends_with(c.text)) << text;
        }
    }
}

} // namespace
