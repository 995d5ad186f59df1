#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "render_models/ModelFixtures.h"

namespace {

std::string LoadText(const std::vector<std::uint8_t>& file) {
    CMemoryModelHost host;
    host.AddFile("m", file);
    C3DSpresh model(host, "m");
    const std::string text = ExceptionText([&] { model.Load(true); });
    EXPECT_EQ(model.IsLoaded(), text.empty());
    return text;
}

// Three points, one triangle, no material: V at 17, I at 21, indices at 121.
std::vector<std::uint8_t> PlainMesh() {
    ModelMeshData mesh = PointMesh({{0, 0, 0}, {1, 0, 0}, {0, 0, 1}});
    mesh.indices = {0, 1, 2};
    return CModelWriter::WriteMesh(mesh);
}

// As above with material "m" / texture "t": name length at 17, texture name
// length at 23, first index at 97, index count at 101.
std::vector<std::uint8_t> MaterialMesh() {
    ModelMeshData mesh = PointMesh({{0, 0, 0}, {1, 0, 0}, {0, 0, 1}});
    mesh.indices = {0, 1, 2};
    mesh.materials.push_back({"m", "t", GreyMaterial(), false, 0, 3});
    return CModelWriter::WriteMesh(mesh);
}

// Animation count at 8, name length at 12, frame count at 21, frame magic at 25.
std::vector<std::uint8_t> PlainSprite() {
    ModelMeshData mesh = PointMesh({{0, 0, 0}, {1, 0, 0}, {0, 0, 1}});
    mesh.indices = {0, 1, 2};
    return CModelWriter::WriteSprite({{"idle", {mesh}}});
}

std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> file, std::size_t at, std::int32_t value) {
    PatchI32(file, at, value);
    return file;
}

const std::string kBadMagic = "Exception:\nInvalid spresh data in file m.";
const std::string kBadMesh = "Exception:\nInvalid mesh in file m.";
const std::string kBadSprite = "Exception:\nInvalid sprite in file m.";

TEST(CorruptModel, EachFaultGivesItsText) {
    std::vector<std::uint8_t> wrongFrameMagic = PlainSprite();
    wrongFrameMagic[28] = '3';
    const struct {
        const char* what;
        std::vector<std::uint8_t> file;
        std::string expected;
    } cases[] = {
        {"empty file", {}, kBadMagic},
        {"unknown magic", {'O', 'B', 'J', '!', 0, 0, 0, 0}, kBadMagic},
        {"negative vertex count", Patched(PlainMesh(), 17, -1), kBadMesh},
        {"vertex count past the data", Patched(PlainMesh(), 17, 0x7FFFFFFF), kBadMesh},
        {"negative index count", Patched(PlainMesh(), 21, -5), kBadMesh},
        {"index count past the data", Patched(PlainMesh(), 21, 0x40000000), kBadMesh},
        {"material count past the data", Patched(PlainMesh(), 13, 0x7FFFFFFF), kBadMesh},
        {"negative material count means none", Patched(PlainMesh(), 13, -3), ""},
        {"negative name length", Patched(MaterialMesh(), 17, -1), kBadMesh},
        {"name of 256 bytes", Patched(MaterialMesh(), 17, 256), kBadMesh},
        {"texture name past the data", Patched(MaterialMesh(), 23, 0x7FFFFFFF), kBadMesh},
        {"index equal to the vertex count", Patched(PlainMesh(), 121, 3), kBadMesh},
        {"index that wraps past the vertex count", Patched(PlainMesh(), 121, 0x10003), kBadMesh},
        {"index that wraps into range", Patched(PlainMesh(), 121, 0x10002), ""},
        {"material range past the indices", Patched(MaterialMesh(), 97, 2), kBadMesh},
        {"negative material index count", Patched(MaterialMesh(), 101, -3), kBadMesh},
        {"negative first index", Patched(MaterialMesh(), 97, -3), kBadMesh},
        {"animation count past the data", Patched(PlainSprite(), 8, 0x7FFFFFFF), kBadSprite},
        {"negative animation count means none", Patched(PlainSprite(), 8, -1), ""},
        {"negative animation name length", Patched(PlainSprite(), 12, -1), kBadSprite},
        {"animation name past the data", Patched(PlainSprite(), 12, 200), kBadSprite},
        {"frame count past the data", Patched(PlainSprite(), 21, 5), kBadSprite},
        {"frame without its magic", wrongFrameMagic, "Exception:\nInvalid mesh data inside sprite"},
        {"frame vertex count past the data", Patched(PlainSprite(), 25 + 17, 0x7FFFFFF), kBadSprite},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadText(c.file), c.expected) << c.what;
    }
}

TEST(CorruptModel, EveryTruncationOfAFileIsRefused) {
    const struct {
        std::vector<std::uint8_t> file;
        std::string expected;
    } files[] = {{MaterialMesh(), kBadMesh}, {PlainSprite(), kBadSprite}};
    for (const auto& f : files) {
        ASSERT_EQ(LoadText(f.file), "");
        for (std::size_t size = 4; size < f.file.size(); ++size) {
            const std::vector<std::uint8_t> cut(f.file.begin(), f.file.begin() + static_cast<long>(size));
            EXPECT_EQ(LoadText(cut), f.expected) << "cut at " << size;
        }
    }
}

TEST(CorruptModel, MissingFileIsNamed) {
    CMemoryModelHost host;
    C3DSpresh model(host, "data\\models\\none.spr");
    EXPECT_EQ(ExceptionText([&] { model.Load(true); }), "Exception:\nFile data\\models\\none.spr not found.");
}

TEST(CorruptModel, DeviceFailuresCarryTheirResultCode) {
    const struct {
        const char* call;
        const char* text;
    } cases[] = {
        {"CreateVertexBuffer", "C3DSpresh::Load - Could not create Vertex Buffer"},
        {"CreateIndexBuffer", "C3DSpresh::Load - Could not create Index Buffer"},
        {"LockVertexBuffer", "C3DSpresh::Load - Could not lock Vertex Buffer"},
        {"LockIndexBuffer", "C3DSpresh::Load - Could not lock Index Buffer"},
        {"UnlockIndexBuffer", "C3DSpresh::Load - Could not unlock Index Buffer"},
        {"UnlockVertexBuffer", "C3DSpresh::Load - Could not unlock Vertex Buffer"},
    };
    for (const auto& c : cases) {
        CMemoryModelHost host;
        host.AddFile("m", PlainMesh());
        host.NullDevice().FailNext(c.call, D3DERR_OUTOFVIDEOMEMORY);
        C3DSpresh model(host, "m");
        const std::string text = ExceptionText([&] { model.Load(true); });
        EXPECT_EQ(text.substr(0, 29), "Exception:\nHRESULT: 8876017C\n") << c.call;
        EXPECT_EQ(text.substr(text.size() - std::string(c.text).size()), c.text) << c.call;
        EXPECT_FALSE(model.IsLoaded());
    }
}

} // namespace
