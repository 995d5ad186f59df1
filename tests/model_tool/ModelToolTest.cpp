// morvane-model run on models the tests write, its files read back by the
// engine's own model loader.
#include "model_tool/ModelToolInputs.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace {

namespace fs = std::filesystem;

ProgramResult Tool(const std::vector<std::string>& args) {
    return RunProgram(BuiltProgram("morvane-model"), args);
}

std::vector<std::uint8_t> Bytes(const fs::path& path) {
    const std::string text = ReadFile(path);
    return {text.begin(), text.end()};
}

// A converted model as the engine loads it, with its .col file beside it when there is one.
struct LoadedModel {
    CMemoryModelHost host;
    std::unique_ptr<C3DSpresh> model;
};

std::unique_ptr<LoadedModel> Load(const fs::path& path, bool withCollisionFile = true) {
    auto loaded = std::make_unique<LoadedModel>();
    const std::string name = path.filename().string();
    loaded->host.AddFile(name, Bytes(path));
    if (withCollisionFile && fs::exists(path.string() + ".col")) {
        loaded->host.AddFile(name + ".col", Bytes(path.string() + ".col"));
    }
    loaded->model = std::make_unique<C3DSpresh>(loaded->host, name);
    loaded->model->Load(true);
    return loaded;
}

std::unique_ptr<LoadedModel> Convert(const fs::path& input, const fs::path& output,
                                     const std::vector<std::string>& options = {}) {
    std::vector<std::string> args{"convert", input.string(), output.string()};
    args.insert(args.end(), options.begin(), options.end());
    const ProgramResult result = Tool(args);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return Load(output);
}

std::map<std::string, std::size_t> FrameCounts(const C3DSpresh& model) {
    std::map<std::string, std::size_t> counts;
    for (const auto& [name, frames] : model.GetAnimations()) {
        counts[name] = frames.size();
    }
    return counts;
}

const C3DIMesh2& Frame(const C3DSpresh& model, const std::string& animation, std::size_t index) {
    return *model.GetAnimations().at(animation).at(index);
}

// Vertices to a tenth of a thousandth, sorted: the importer may reorder them.
using VertexKey = std::array<long, 8>;

VertexKey Key(const SpreshVertex& v) {
    VertexKey key;
    const float all[8] = {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.u, v.v};
    std::transform(all, all + 8, key.begin(), [](float f) { return std::lround(f * 10000.0f); });
    return key;
}

std::vector<VertexKey> Keys(const std::vector<SpreshVertex>& vertices) {
    std::vector<VertexKey> keys;
    std::transform(vertices.begin(), vertices.end(), std::back_inserter(keys), Key);
    std::sort(keys.begin(), keys.end());
    return keys;
}

std::vector<SpreshVertex> Vertices(const C3DIMesh2& frame) {
    std::vector<SpreshVertex> vertices;
    for (std::int32_t i = 0; i < frame.vertexCount; ++i) {
        vertices.push_back(frame.Vertex(i));
    }
    return vertices;
}

std::vector<SpreshVertex> Transformed(const ModelMeshData& mesh,
                                      const std::function<D3DXVECTOR3(const D3DXVECTOR3&)>& turn) {
    std::vector<SpreshVertex> out;
    for (const SpreshVertex& v : mesh.vertices) {
        const D3DXVECTOR3 p = turn({v.x, v.y, v.z});
        const D3DXVECTOR3 n = turn({v.nx, v.ny, v.nz});
        out.push_back({p.x, p.y, p.z, n.x, n.y, n.z, v.u, v.v});
    }
    return out;
}

D3DXVECTOR3 Unchanged(const D3DXVECTOR3& v) {
    return v;
}

D3DXVECTOR3 Mirrored(const D3DXVECTOR3& v) {
    return {v.x, v.y, -v.z};
}

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Every triangle of a convex model faces away from `centre`, as its winding
// and its vertex normals both say.
void ExpectFacesOutward(const C3DIMesh2& frame, const D3DXVECTOR3& centre) {
    ASSERT_EQ(frame.indexCount % 3, 0);
    for (std::int32_t t = 0; t < frame.indexCount; t += 3) {
        const auto at = [&](int c) {
            return frame.Position(frame.indexBuffer->At(static_cast<std::size_t>(t + c)));
        };
        const SpreshVertex first = frame.Vertex(frame.indexBuffer->At(static_cast<std::size_t>(t)));
        const D3DXVECTOR3 facing = Cross(at(1) - at(0), at(2) - at(0));
        const D3DXVECTOR3 outward = (at(0) + at(1) + at(2)) / 3.0f - centre;
        EXPECT_GT(Dot(facing, outward), 0.0f) << "triangle " << t / 3;
        EXPECT_GT(Dot(facing, {first.nx, first.ny, first.nz}), 0.0f) << "triangle " << t / 3;
    }
}

std::pair<D3DXVECTOR3, D3DXVECTOR3> Bounds(const C3DIMesh2& frame) {
    D3DXVECTOR3 low(1e30f, 1e30f, 1e30f);
    D3DXVECTOR3 high(-1e30f, -1e30f, -1e30f);
    for (std::int32_t i = 0; i < frame.vertexCount; ++i) {
        const D3DXVECTOR3 p = frame.Position(i);
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    return {low, high};
}

void ExpectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, expected.z, 1e-4f);
}

std::set<std::pair<float, float>> PointSet(const CPolygon& outline) {
    std::set<std::pair<float, float>> points;
    for (const CPolygon::Point& p : outline.GetPoints()) {
        points.emplace(p.givenX, p.givenZ);
    }
    return points;
}

std::vector<std::pair<float, float>> PointList(const CPolygon& outline) {
    std::vector<std::pair<float, float>> points;
    for (const CPolygon::Point& p : outline.GetPoints()) {
        points.emplace_back(p.givenX, p.givenZ);
    }
    return points;
}

TEST(ModelToolConvert, GltfCubeKeepsItsShapeWithAndWithoutTheHandednessChange) {
    struct Case {
        std::vector<std::string> options;
        D3DXVECTOR3 (*turn)(const D3DXVECTOR3&);
    };
    for (const Case& c : {Case{{}, Unchanged}, Case{{"--flip-handedness"}, Mirrored}}) {
        SCOPED_TRACE(c.options.empty() ? "as in the file" : "flipped");
        TempDir dir;
        const auto loaded = Convert(WriteCubeGltf(dir.Path()), dir / "cube.spr", c.options);
        const C3DIMesh2& frame = Frame(*loaded->model, "slide", 0);
        EXPECT_EQ(frame.vertexCount, 24);
        EXPECT_EQ(frame.indexCount, 36);
        // Positions, normals and texture coordinates as the cube was written, x and y unchanged.
        EXPECT_EQ(Keys(Vertices(frame)), Keys(Transformed(CubeMesh(), c.turn)));
        ExpectFacesOutward(frame, c.turn(0.5f * (kCubeMin + kCubeMax)));
    }
}

TEST(ModelToolConvert, GltfMaterialKeepsItsColoursAndTexture) {
    TempDir dir;
    const auto loaded = Convert(WriteCubeGltf(dir.Path()), dir / "cube.spr");
    const C3DIMesh2& frame = Frame(*loaded->model, "slide", 0);
    ASSERT_EQ(frame.materials.size(), 1u);
    const CSpreshMaterial& crate = frame.materials.at("crate");
    EXPECT_EQ(crate.textureName, "crate.png");
    EXPECT_EQ(crate.material.Diffuse, (D3DCOLORVALUE{1.0f, 0.5f, 0.25f, 1.0f}));
    EXPECT_NEAR(crate.material.Emissive.r, 0.1f, 1e-6f);
    EXPECT_NEAR(crate.material.Emissive.g, 0.2f, 1e-6f);
    EXPECT_NEAR(crate.material.Emissive.b, 0.3f, 1e-6f);
    EXPECT_FALSE(crate.transparent);
    EXPECT_EQ(crate.firstIndex, 0);
    EXPECT_EQ(crate.indexCount, 36);
}

TEST(ModelToolConvert, AnimationsAreSampledAtTheChosenRateUnderTheChosenNames) {
    struct Case {
        std::vector<std::string> options;
        std::string name;
        std::size_t frames;
        std::size_t checked;
        float offset; // of the checked frame, along x
    };
    const Case cases[] = {
        {{}, "slide", 10, 5, 1.0f},
        {{"--fps", "4"}, "slide", 4, 1, 0.5f},
        {{"--animation", "slide=walk", "--flip-handedness"}, "walk", 10, 9, 1.8f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " at frame " + std::to_string(c.checked));
        TempDir dir;
        const auto loaded = Convert(WriteCubeGltf(dir.Path()), dir / "cube.spr", c.options);
        EXPECT_EQ(ReadFile(dir / "cube.spr").substr(0, 4), "SPRT");
        EXPECT_EQ(FrameCounts(*loaded->model), (std::map<std::string, std::size_t>{{c.name, c.frames}}));
        const auto [low, high] = Bounds(Frame(*loaded->model, c.name, c.checked));
        EXPECT_NEAR(low.x, kCubeMin.x + c.offset, 1e-4f);
        EXPECT_NEAR(high.x, kCubeMax.x + c.offset, 1e-4f);
    }
}

TEST(ModelToolConvert, SkinnedStripBendsWithItsBones) {
    TempDir dir;
    const auto loaded = Convert(WriteSkinnedStrip(dir.Path()), dir / "strip.spr");
    EXPECT_EQ(FrameCounts(*loaded->model), (std::map<std::string, std::size_t>{{"bend", 10}}));
    const auto positions = [&](std::size_t index) {
        std::vector<std::pair<long, long>> out;
        for (const SpreshVertex& v : Vertices(Frame(*loaded->model, "bend", index))) {
            EXPECT_NEAR(v.z, 0.0f, 1e-5f);
            out.emplace_back(std::lround(v.x * 1000), std::lround(v.y * 1000));
        }
        std::sort(out.begin(), out.end());
        return out;
    };
    const std::vector<std::pair<long, long>> rest{{-500, 0}, {-500, 1000}, {-500, 2000},
                                                  {500, 0},  {500, 1000},  {500, 2000}};
    EXPECT_EQ(positions(0), rest);
    // Half way the tip has turned an eighth about (0, 1): its row, 1 above the
    // bone at x -0.5 and 0.5, lies at (x c - s, 1 + x s + c) with c = s = 0.7071.
    const std::vector<std::pair<long, long>> bent{{-1061, 1354}, {-500, 0}, {-500, 1000},
                                                  {-354, 2061},  {500, 0},  {500, 1000}};
    EXPECT_EQ(positions(5), bent);
}

TEST(ModelToolConvert, ObjWithMtlBecomesAnIms2WithOneRangePerMaterial) {
    TempDir dir;
    const auto loaded = Convert(WriteBoxObj(dir.Path()), dir / "box.ims");
    EXPECT_EQ(ReadFile(dir / "box.ims").substr(0, 4), "IMS2");
    EXPECT_EQ(FrameCounts(*loaded->model), (std::map<std::string, std::size_t>{{"idle", 1}}));
    const C3DIMesh2& frame = Frame(*loaded->model, "idle", 0);
    EXPECT_EQ(frame.vertexCount, 48);
    EXPECT_EQ(frame.indexCount, 72);
    // Texture rows counted from the bottom in the file come out counted from the top.
    EXPECT_EQ(Keys(Vertices(frame)), Keys(Transformed(BoxObjMesh(), Unchanged)));

    ASSERT_EQ(frame.materials.size(), 2u);
    const CSpreshMaterial& glass = frame.materials.at("glass");
    EXPECT_EQ(glass.material.Diffuse, (D3DCOLORVALUE{1.0f, 0.0f, 0.0f, 0.5f}));
    EXPECT_TRUE(glass.transparent);
    EXPECT_EQ(glass.textureName, "");
    const CSpreshMaterial& lamp = frame.materials.at("lamp");
    EXPECT_EQ(lamp.material.Emissive, (D3DCOLORVALUE{0.2f, 0.3f, 0.4f, 0.0f}));
    EXPECT_FALSE(lamp.transparent);
    EXPECT_EQ(lamp.textureName, "textures\\wood.png");
    EXPECT_EQ(glass.indexCount, 36);
    EXPECT_EQ(lamp.indexCount, 36);
    EXPECT_EQ(std::min(glass.firstIndex, lamp.firstIndex), 0);
    EXPECT_EQ(std::max(glass.firstIndex, lamp.firstIndex), 36);
    // Each material's range holds its own box: the glass one lies left of x = 1.
    for (std::int32_t i = glass.firstIndex; i < glass.firstIndex + glass.indexCount; ++i) {
        EXPECT_LE(frame.Position(frame.indexBuffer->At(static_cast<std::size_t>(i))).x, 1.0f);
    }
}

TEST(ModelToolConvert, ZUpModelStandsOnTheEngineGround) {
    struct Case {
        std::vector<std::string> options;
        D3DXVECTOR3 min;
        D3DXVECTOR3 max;
    };
    const Case cases[] = {
        {{"--up", "z"}, {0, 0, -2}, {1, 3, 0}},
        {{"--up", "z", "--flip-handedness"}, {0, 0, 0}, {1, 3, 2}},
        {{"--up", "z", "--scale", "2"}, {0, 0, -4}, {2, 6, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options));
        TempDir dir;
        const auto loaded = Convert(WriteZUpObj(dir.Path()), dir / "tower.ims", c.options);
        const C3DIMesh2& frame = Frame(*loaded->model, "idle", 0);
        const auto [low, high] = Bounds(frame);
        ExpectNear(low, c.min);
        ExpectNear(high, c.max);
        ExpectFacesOutward(frame, 0.5f * (c.min + c.max));
    }
}

TEST(ModelToolConvert, GlbGivesTheSameFilesAsGltf) {
    TempDir dir;
    WriteCubeGltf(dir.Path());
    WriteCubeGlb(dir / "cube.glb");
    for (const char* input : {"cube.gltf", "cube.glb"}) {
        const ProgramResult result =
            Tool({"convert", (dir / input).string(), (dir / (input + std::string(".spr"))).string()});
        ASSERT_EQ(result.exitStatus, 0) << result.err;
    }
    EXPECT_EQ(ReadFile(dir / "cube.gltf.spr"), ReadFile(dir / "cube.glb.spr"));
    EXPECT_EQ(ReadFile(dir / "cube.gltf.spr.col"), ReadFile(dir / "cube.glb.spr.col"));
}

TEST(ModelToolConvert, CollisionFileHoldsTheOutlineTheEngineComputes) {
    TempDir dir;
    Convert(WriteCubeGltf(dir.Path()), dir / "cube.spr", {"--flip-handedness"});
    const auto outline = ReadCollisionFile(Bytes(dir / "cube.spr.col"));
    ASSERT_TRUE(outline);
    EXPECT_EQ(PointSet(*outline), (std::set<std::pair<float, float>>{{0, -3}, {2, -3}, {2, -1}, {0, -1}}));
    const auto computed = Load(dir / "cube.spr", false);
    EXPECT_EQ(PointList(*outline), PointList(computed->model->CollisionFileFrame()->outline));
}

TEST(ModelToolErrors, BadInputNamesTheFileAndTheProblemAndWritesNothing) {
    struct Case {
        const char* what;
        std::function<fs::path(const fs::path&)> write;
        std::vector<std::string> options;
        std::string message;
    };
    const Case cases[] = {
        {"missing buffer",
         [](const fs::path& d) {
             const auto path = WriteCubeGltf(d);
             fs::remove(d / "cube.bin");
             return path;
         },
         {},
         "cube.bin', which the model names"},
        {"texture outside",
         [](const fs::path& d) { return WriteCubeGltf(d, "../crate.png"); },
         {},
         "texture '../crate.png' lies outside the model's folder"},
        {"unknown animation",
         [](const fs::path& d) { return WriteCubeGltf(d); },
         {"--animation", "run=walk"},
         "has no animation 'run' (it has 'slide')"},
        {"long animation name",
         [](const fs::path& d) { return WriteCubeGltf(d); },
         {"--animation", "slide=" + std::string(256, 'a')},
         "is longer than 255 bytes"},
        {"long material name",
         [](const fs::path& d) { return WriteBoxObj(d, std::string(256, 'm')); },
         {},
         "material name '" + std::string(256, 'm') + "' is longer than 255 bytes"},
        {"quad", WriteQuadObj, {}, "has a face of 4 corners"},
        {"too many vertices", WriteManyVerticesObj, {}, "65538 vertices, more than the 65 536"},
        {"no model",
         [](const fs::path& d) {
             WriteFile(d / "broken.gltf", "{ not json");
             return d / "broken.gltf";
         },
         {},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const fs::path input = c.write(dir.Path());
        const auto before = std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator());
        std::vector<std::string> args{"convert", input.string(), (dir / "out.spr").string()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ProgramResult result = Tool(args);
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_NE(result.err.find(input.string() + ": "), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), before);
    }
}

TEST(ModelToolUsage, WrongCommandLinesPrintTheUsageWithStatusTwo) {
    const std::vector<std::string> cases[] = {
        {},
        {"convert", "in.gltf"},
        {"convert", "in.gltf", "out.ims", "--up", "x"},
        {"convert", "in.gltf", "out.ims", "--fps", "0"},
        {"convert", "in.gltf", "out.ims", "--scale", "-1"},
        {"convert", "in.gltf", "out.ims", "--scale"},
        {"convert", "in.gltf", "out.ims", "--animation", "walk"},
        {"convert", "in.gltf", "out.ims", "--colour", "red"},
        {"info"},
        {"explode", "in.gltf"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const ProgramResult result = Tool(args);
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_EQ(result.err.rfind("Usage: morvane-model", 0), 0u) << result.err;
    }
    const ProgramResult help = Tool({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Usage: morvane-model", 0), 0u);
}

TEST(ModelToolInfo, TellsWhatEachFileHolds) {
    TempDir dir;
    Convert(WriteCubeGltf(dir.Path()), dir / "cube.spr", {"--flip-handedness"});
    Convert(WriteBoxObj(dir.Path()), dir / "box.ims");
    struct Case {
        const char* file;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"cube.spr",
         {"cube.spr: SPRT sprite, 1 animation\n", "animation 'slide': 10 frames, 24 vertices, 36 indices\n",
          "material 'crate': texture 'crate.png', diffuse 1 0.5 0.25 1, emissive 0.1 0.2 0.3 0, opaque, "
          "indices 0 + 36\n",
          "bounds: (0, 0, -3) to (3.8, 2, -1)\n", "outline: 4 points", "outline read from cube.spr.col\n"}},
        {"box.ims",
         {"box.ims: IMS2 mesh, 1 animation\n", "animation 'idle': 1 frame, 48 vertices, 72 indices\n",
          "texture 'textures\\wood.png'", "diffuse 1 0 0 0.5", "transparent",
          "bounds: (0, 0, 0) to (3, 1, 1)\n"}},
        {"cube.spr.col",
         {"cube.spr.col: collision file, version 1\n", "outline: 4 points",
          "bounds: x 0 to 2, z -3 to -1\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const ProgramResult result = Tool({"info", (dir / c.file).string()});
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        for (const std::string& line : c.lines) {
            EXPECT_NE(result.out.find(line), std::string::npos) << line << " in\n" << result.out;
        }
    }
}

TEST(ModelToolInfo, RefusesWhatTheEngineWouldRefuse) {
    TempDir dir;
    Convert(WriteCubeGltf(dir.Path()), dir / "cube.spr");
    const std::string sprite = ReadFile(dir / "cube.spr");
    struct Case {
        const char* file;
        std::string content;
        std::string message;
    };
    const Case cases[] = {
        {"cut.spr", sprite.substr(0, sprite.size() / 2), "Invalid sprite in file cut.spr."},
        {"old.col", std::string("\2\0\0\0\0\0\0\0", 8),
         "old.col: neither an IMS2 or SPRT model nor a collision file"},
        {"short.col", std::string("\1\0\0\0\5\0\0\0", 8), "short.col: neither"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        WriteFile(dir / c.file, c.content);
        const ProgramResult result = Tool({"info", (dir / c.file).string()});
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
}

} // namespace
