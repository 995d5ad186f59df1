#include "navigation/PathFinder.h"
#include "render/C3DEngine2.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CModelInstance.h"
#include "resources/ByteReader.h"
#include "scene/SceneFixture.h"
#include "script/TextConversion.h"

namespace {

using SceneLifecycleTest = SceneFixture;

TEST_F(SceneLifecycleTest, OnIdleGetsTheMillisecondsSinceTheLastCall) {
    Load("var got = []; function OnIdle(ms) { got.push(ms); }");
    Host().Clock().Advance(16);
    Scene().OnIdle();
    Scene().OnIdle();
    Host().Clock().Advance(5);
    Scene().OnIdle();
    Host().Clock().Advance(200);
    Scene().OnIdle();
    EXPECT_EQ(Eval("got.join(',')").BstrValue(), u"16,0,5,200");
    EXPECT_TRUE(Host().ScriptErrors().empty());
}

TEST_F(SceneLifecycleTest, OnInitRunsAfterTheScriptAndOnDestroyAtUnload) {
    Load("var order = 'script'; function OnInit() { order += ',init'; state.order = order; }"
         "function OnDestroy() { state.destroyed = scene.first ? 'with objects' : 'without';"
         "  scene.first.walkto(\"posx='3'\"); }"
         "scene.addobject(\"name='first' model='m.spr'\");");
    EXPECT_EQ(Host().State().GetVariant(u"order").BstrValue(), u"script,init");
    Host().UnloadScene();
    EXPECT_EQ(Host().State().GetVariant(u"destroyed").BstrValue(), u"with objects");
    EXPECT_TRUE(Host().Renderer().Instances().empty());
    EXPECT_TRUE(Host().ScriptErrors().empty());
}

TEST_F(SceneLifecycleTest, OnActionIsHandledUnlessTheScriptSaysFalse) {
    const struct {
        const char* script;
        bool handled;
    } cases[] = {
        {"function OnAction(v, a, b, p) { return false; }", false},
        {"function OnAction(v, a, b, p) { return true; }", true},
        {"function OnAction(v, a, b, p) { return 0; }", true},
        {"function OnAction(v, a, b, p) { return 'false'; }", true},
        {"function OnAction(v, a, b, p) { }", true},
        {"function OnAction(v, a, b, p) { throw 'oops'; }", true},
        {"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        Load(c.script);
        EXPECT_EQ(Scene().OnAction("open", "door", "", ""), c.handled);
    }
}

TEST_F(SceneLifecycleTest, CallbackTextsArriveUnchanged) {
    Load("var got; function OnAction(v, a, b, p) { got = [v, a, b, p].join('|'); return false; }"
         "function OnEvent(e, p) { got = e + '|' + p; }");
    EXPECT_FALSE(Scene().OnAction("say", "it's \"x\"", "back\\slash", "\");state.hacked=1;(\""));
    EXPECT_EQ(Eval("got").BstrValue(), u"say|it's \"x\"|back\\slash|\");state.hacked=1;(\"");
    EXPECT_TRUE(Scene().OnEvent("enter", "a'b\nc"));
    EXPECT_EQ(Eval("got").BstrValue(), u"enter|a'b\nc");
    // The quote in the text did not end the argument and run the rest as code.
    EXPECT_NE(ErrorOf([&] { Host().State().GetVariant(u"hacked"); }), "");
}

TEST_F(SceneLifecycleTest, OnEventIsFalseWhenTheScriptFails) {
    Load("");
    EXPECT_FALSE(Scene().OnEvent("enter", "x"));
    Load("function OnEvent(e, p) { throw 'oops'; }");
    EXPECT_FALSE(Scene().OnEvent("enter", "x"));
    EXPECT_EQ(Host().ScriptErrors().size(), 1u);
    Load("function OnEvent(e, p) { return false; }");
    EXPECT_TRUE(Scene().OnEvent("enter", "x"));
}

CNamedPolygon Area(std::initializer_list<std::pair<float, float>> points, EPolygonType type) {
    CNamedPolygon entry;
    for (const auto& [x, z] : points) {
        entry.outline.AddPoint(x, z, false);
    }
    entry.type = type;
    return entry;
}

PathPolygon Points(const CNamedPolygon& entry) {
    PathPolygon points;
    for (const CPolygon::Point& p : entry.outline.GetPoints()) {
        points.push_back({p.givenX, p.givenZ});
    }
    return points;
}

TEST_F(SceneLifecycleTest, NavigationTakesStandingWalkaroundObjectsAndTheLastWalkArea) {
    Load("scene.addobject(\"name='wall' model='big.spr' walkaround='true' posx='3'\");"
         "scene.addobject(\"name='walker' model='m.spr' walkaround='true' mobile='true'\");"
         "scene.addobject(\"name='rug' model='big.spr'\");"
         "scene.addobject(\"name='lamp' model='m.spr' walkaround='true' posx='1' relativeto='wall'\");"
         "scene.addlight(\"name='light'\");");
    CPolygonTable& polygons = Host().Polygons();
    const CNamedPolygon first = Area({{-10, -10}, {10, -10}, {10, 10}, {-10, 10}}, EPolygonType::WalkInside);
    const CNamedPolygon second = Area({{-5, -5}, {5, -5}, {5, 5}, {-5, 5}}, EPolygonType::WalkInside);
    polygons.Set("a", first);
    polygons.Set("b", second);
    polygons.Set("c", Area({{0, 0}, {1, 0}, {1, 1}}, EPolygonType::WalkAround));

    PathFinder& finder = Scene().GetPathFinder();
    Scene().RebuildNavigation();
    EXPECT_EQ(finder.GetWalkArea(), Points(second));
    finder.Precompute();
    const std::vector<PathPolygon> obstacles = finder.GetInflatedObstacles();
    ASSERT_EQ(obstacles.size(), 2u);
    // The lamp stands where its parent puts it: x = 3 + 1.
    float lampMinX = 1e9f;
    for (const PathPoint& p : obstacles[1]) {
        lampMinX = std::min(lampMinX, p.x);
    }
    EXPECT_GT(lampMinX, 3.0f);

    polygons.Find("b")->enabled = false;
    Scene().RebuildNavigation();
    EXPECT_EQ(finder.GetWalkArea(), Points(first));
    polygons.Find("a")->enabled = false;
    Scene().RebuildNavigation();
    EXPECT_EQ(finder.GetWalkArea(), Points(first));
}

TEST_F(SceneLifecycleTest, GridSpansTheEnabledWalkAreas) {
    Load("");
    const struct {
        std::vector<CNamedPolygon> areas;
        bool grid;
    } cases[] = {
        {{}, false},
        {{Area({{-10, 0}, {10, 0}, {10, 5}}, EPolygonType::WalkInside),
          Area({{0, -5}, {30, 0}, {0, 8}}, EPolygonType::WalkInside)},
         true},
        {{Area({{-100, -100}, {100, -100}, {100, 100}}, EPolygonType::WalkAround)}, false},
    };
    for (const auto& c : cases) {
        Host().UnloadScene();
        int n = 0;
        for (const CNamedPolygon& area : c.areas) {
            Host().Polygons().Set("area" + std::to_string(n++), area);
        }
        // Built like the game builds it: the polygons exist before the scene loads.
        CScene* scene = new CScene(Host());
        scene->Load("test", true);
        EXPECT_EQ(scene->GetPathFinder().HasGrid(), c.grid);
        if (c.grid) {
            const PathGrid& grid = *scene->GetPathFinder().GetGrid();
            EXPECT_FLOAT_EQ(grid.CellSize(), 0.4f);
            EXPECT_FLOAT_EQ(grid.MinX(), -10.0f);
            EXPECT_FLOAT_EQ(grid.MinZ(), -5.0f);
        }
        scene->Release();
    }
}

// Object records hold clocks relative to now; a record saved and restored at
// the same tick comes back byte for byte.
TEST_F(SceneLifecycleTest, SceneRecordRoundTrip) {
    const std::string script =
        "scene.addobject(\"name='hero' model='m.spr' posx='1' pickable='true'\");"
        "scene.addobject(\"name='chest' model='big.spr' group='g' relativeto='hero'\");"
        "scene.addshape(\"name='disc' shape='circle'\");"
        "scene.addlight(\"name='lamp' type='spot' visible='true'\");";
    Load(script);
    Object(u"hero").SetPosition({2.0f, 0.0f, 3.0f});
    Object(u"chest").SetVisible(false);
    Object(u"lamp").SetVisible(false);
    Object(u"lamp").Light()->light.Range = 12.0f;
    Scene().SetFreeMoveObject(&Object(u"hero"));
    std::vector<std::uint8_t> saved;
    Scene().Save(saved);

    // Name order: chest, disc, hero, lamp.
    ByteReader header(saved);
    EXPECT_EQ(header.U32(), 4u);
    EXPECT_EQ(header.U32(), 1u);
    EXPECT_EQ(header.U32(), 5u);
    for (char16_t c : std::u16string(u"chest")) {
        EXPECT_EQ(header.U16(), c);
    }
    EXPECT_EQ(header.U16(), 0u);

    Host().LoadScene("test");
    EXPECT_EQ(Scene().Restore(saved), saved.size());
    EXPECT_EQ(Object(u"hero").GetPosition(), (D3DXVECTOR3{2.0f, 0.0f, 3.0f}));
    EXPECT_FALSE(Object(u"chest").Instance()->visible);
    EXPECT_FALSE(Object(u"lamp").Light()->switchedOn);
    EXPECT_EQ(Object(u"lamp").Light()->light.Range, 12.0f);
    EXPECT_EQ(Scene().FreeMoveObject(), &Object(u"hero"));
    std::vector<std::uint8_t> again;
    Scene().Save(again);
    EXPECT_EQ(again, saved);
}

// A 4 x 4 uncompressed 32-bit TGA.
std::vector<std::uint8_t> SmallTga() {
    std::vector<std::uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 4, 0, 32, 8};
    tga.resize(tga.size() + 4 * 4 * 4, 0x80);
    return tga;
}

TEST_F(SceneLifecycleTest, RestoreCreatesObjectsTheScriptNoLongerDefines) {
    Load("scene.addobject(\"name='gone' model='m.spr' posz='4' skin='wood.tga'\");"
         "scene.addlight(\"name='lost' type='directional' dirx='1' visible='true'\");"
         "scene.addobject(\"name='kept' model='m.spr'\");",
         {{"data\\textures\\wood.tga", SmallTga()},
          {"data\\scripts\\later.scs",
           SceneTestHost::Text("scene.addobject(\"name='kept' model='m.spr'\");")}});
    std::vector<std::uint8_t> saved;
    Scene().Save(saved);

    Host().LoadScene("later");
    ASSERT_EQ(Scene().Restore(saved), saved.size());
    const CModelInstance& gone = *Object(u"gone").Instance();
    EXPECT_EQ(gone.position, (D3DXVECTOR3{0.0f, 0.0f, 4.0f}));
    EXPECT_EQ(gone.skinName, "wood.tga");
    EXPECT_GT(gone.skinTextureId, 0);
    // Shown under the next id, with a model that draws nothing.
    EXPECT_EQ(gone.objectId, 1u);
    EXPECT_EQ(Scene().FindById(1), &Object(u"gone"));
    EXPECT_TRUE(gone.model->GetAnimations().empty());
    const CEngineLight& lost = *Object(u"lost").Light();
    EXPECT_EQ(lost.light.Type, D3DLIGHTTYPE::D3DLIGHT_DIRECTIONAL);
    EXPECT_TRUE(lost.switchedOn);
    EXPECT_EQ(Scene().Objects().size(), 3u);

    std::vector<std::uint8_t> again;
    Scene().Save(again);
    EXPECT_EQ(again, saved);
}

TEST_F(SceneLifecycleTest, DamagedRecordsAreRefusedWithoutReadingPastTheEnd) {
    Load("scene.addobject(\"name='hero' model='m.spr'\");"
         "scene.addlight(\"name='lamp'\");");
    std::vector<std::uint8_t> saved;
    Scene().Save(saved);
    for (std::size_t size = 0; size < saved.size(); ++size) {
        const std::vector<std::uint8_t> truncated(saved.begin(), saved.begin() + static_cast<long>(size));
        EXPECT_NE(ErrorOf([&] { Scene().Restore(truncated); }), "") << size;
    }
    std::vector<std::uint8_t> badKind = saved;
    badKind[4] = 7;
    EXPECT_EQ(ErrorOf([&] { Scene().Restore(badKind); }),
              "Exception:\nCScene::Restore - Scene record is damaged: unknown object kind");
    std::vector<std::uint8_t> hugeName = saved;
    hugeName[8] = 0xFF;
    hugeName[11] = 0x7F;
    EXPECT_EQ(ErrorOf([&] { Scene().Restore(hugeName); }),
              "Exception:\nCScene::Restore - Scene record is damaged: object name runs past the end");
    // The light's record under the model's name.
    std::vector<std::uint8_t> swapped = saved;
    swapped[4] = 2;
    EXPECT_EQ(
        ErrorOf([&] { Scene().Restore(swapped); }),
        "Exception:\nCScene::Restore - Scene record is damaged: object kind differs from the scene's object");
}

} // namespace
