#include "render/C3DEngine2.h"
#include "render/model/C3DIMesh2.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CModelCache.h"
#include "render/model/CModelInstance.h"
#include "scene/SceneFixture.h"

#include <numbers>

namespace {

using DefinitionsTest = SceneFixture;

struct ObjectCase {
    const char* definition;
    bool visible = true;
    bool enabled = true;
    int kind = CModelInstance::Ordinary;
    bool shadows = true;
    bool pickable = false;
    bool mobile = false;
    bool walkaround = false;
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 rotation{0.0f, 0.0f, 0.0f};
    const char* pickName = "a";
    std::vector<std::string> context{};
};

TEST_F(DefinitionsTest, ObjectParametersAndTheirDefaults) {
    const float twoPi = 2.0f * std::numbers::pi_v<float>;
    const ObjectCase cases[] = {
        {"name='a' model='m.spr'"},
        {"name='a' model='m.spr' type='shadow'", true, true, CModelInstance::ShadowSurface, false},
        {"name='a' model='m.spr' type='mirror' shadows='true'", true, true, CModelInstance::MirrorSurface,
         true},
        {"name='a' model='m.spr' type='scenery'", true, true, CModelInstance::Scenery, false},
        {"name='a' model='m.spr' type='other'"},
        {"name='a' model='m.spr' type='Scenery' shadows='TRUE'", true, true, CModelInstance::Ordinary, false},
        {.definition = "name='a' model='m.spr' yaw='-1.5707964' roll='7'",
         .rotation = {7.0f - twoPi, 0.0f, twoPi - 1.5707964f}},
        {.definition = "name='a' model='m.spr' posx='abc' posy='1.5' posz='-2'",
         .position = {0.0f, 1.5f, -2.0f}},
        {.definition = "name='a' model='m.spr' context='open,,look'", .context = {"open", "", "look"}},
        {.definition = "name='a' model='m.spr' context='take'", .context = {"take"}},
        {.definition = "name='a' model='m.spr' pickable='yes' mobile='1' walkaround='True'"},
        {"name='a' model='m.spr' visible='false' enabled='no' pickable='true' mobile='true' "
         "walkaround='true' "
         "pickname='Chest'",
         false,
         false,
         CModelInstance::Ordinary,
         true,
         true,
         true,
         true,
         {},
         {},
         "Chest"},
    };
    for (const ObjectCase& c : cases) {
        SCOPED_TRACE(c.definition);
        Load("");
        Scene().AddObject(c.definition);
        const CSceneObject& object = Object(u"a");
        const CModelInstance& instance = *object.Instance();
        EXPECT_EQ(instance.visible, c.visible);
        EXPECT_EQ(instance.enabled, c.enabled);
        EXPECT_EQ(instance.kind, c.kind);
        EXPECT_EQ(instance.castsShadows, c.shadows);
        EXPECT_FALSE(instance.castsLighdows);
        EXPECT_EQ(object.Pickable(), c.pickable);
        EXPECT_EQ(object.Mobile(), c.mobile);
        EXPECT_EQ(object.Walkaround(), c.walkaround);
        EXPECT_EQ(instance.position, c.position);
        EXPECT_FLOAT_EQ(instance.rotation.x, c.rotation.x);
        EXPECT_FLOAT_EQ(instance.rotation.y, c.rotation.y);
        EXPECT_FLOAT_EQ(instance.rotation.z, c.rotation.z);
        EXPECT_EQ(object.PickName(), c.pickName);
        EXPECT_EQ(object.ContextList(), c.context);
        EXPECT_EQ(instance.animation, "idle");
        EXPECT_EQ(instance.parent, nullptr);
        EXPECT_EQ(instance.skinTextureId, -1);
        // Shown by the renderer under the scene's first id.
        ASSERT_EQ(Host().Renderer().Instances().size(), 1u);
        EXPECT_EQ(Host().Renderer().Instances()[0].get(), &instance);
        EXPECT_EQ(instance.objectId, 0u);
    }
}

TEST_F(DefinitionsTest, RefusedDefinitionsLeaveTheSceneUnchanged) {
    struct Case {
        const char* definition;
        const char* error;
    };
    const Case cases[] = {
        {"model='m.spr'", "Exception:\nCScene::AddObject - Object definition needs *name* parameter"},
        {"name='b'", "Exception:\nCScene::AddObject - Object definition needs *model* parameter"},
        {"name='hidden' model='m.spr'",
         "Exception:\nAn object with name 'hidden' has already been defined in the scene, object rejected!"},
        {"name='b' model='m.spr' relativeto='nothere'",
         "Exception:\nCScene::AddObject - relativeto defined on unknown object 'nothere'"},
        {"name='b' model='m.spr' posx=1",
         "Exception:\nCParameterParser::CParameterParser - A ' ' is expected to go to the next parameter, an "
         "unknown character was found instead."},
    };
    Load("scene.addobject(\"name='hidden' model='m.spr' visible='false'\");");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.definition);
        EXPECT_EQ(ErrorOf([&] { Scene().AddObject(c.definition); }), c.error);
        EXPECT_EQ(Scene().Objects().size(), 1u);
        EXPECT_EQ(Host().Renderer().Instances().size(), 1u);
    }
    // The id counter did not move either.
    Scene().AddObject("name='b' model='m.spr'");
    EXPECT_EQ(Object(u"b").Instance()->objectId, 1u);
}

TEST_F(DefinitionsTest, AnObjectWhoseScriptTakesItsNameMeanwhileIsRefused) {
    // The object's own script runs while it is being defined and takes the name first.
    Load("", {{"data\\scripts\\twin.obs",
               SceneTestHost::Text("function OnInit() { scene.addobject(\"name='twin' model='big.spr'\"); }")}});
    EXPECT_EQ(ErrorOf([&] { Scene().AddObject("name='twin' model='m.spr' script='twin.obs'"); }),
              "Exception:\nAn object with name 'twin' has already been defined in the scene, object rejected!");
    ASSERT_EQ(Scene().Objects().size(), 1u) << "every object is in the list and the dictionary alike";
    EXPECT_EQ(Scene().FindByName(u"twin"), Scene().Objects()[0]);
    EXPECT_EQ(Host().Renderer().Instances().size(), 1u);
    // The scene's record holds exactly the objects it counts.
    std::vector<std::uint8_t> record;
    Scene().Save(record);
    EXPECT_EQ(record[0], 1u);
}

TEST_F(DefinitionsTest, RelativeToMakesTheParentInstance) {
    Load("scene.addobject(\"name='table' model='big.spr' posx='2'\");"
         "scene.addobject(\"name='cup' model='m.spr' posy='1' relativeto='table'\");");
    const CModelInstance& cup = *Object(u"cup").Instance();
    EXPECT_EQ(cup.parent, Object(u"table").Instance());
    EXPECT_EQ(cup.WorldPosition(), (D3DXVECTOR3{2.0f, 1.0f, 0.0f}));
}

TEST_F(DefinitionsTest, CacheMarkFollowsOnlyTrueAndFalse) {
    Load("");
    C3DSpresh* model = Host().Renderer().GetModel("m.spr");
    const struct {
        const char* value;
        bool expected;
    } steps[] = {{"true", true}, {"maybe", true}, {"false", false}, {"TRUE", false}, {nullptr, false}};
    int n = 0;
    for (const auto& step : steps) {
        std::string definition = "name='o" + std::to_string(n++) + "' model='m.spr'";
        if (step.value != nullptr) {
            definition += std::string(" cache='") + step.value + "'";
        }
        Scene().AddObject(definition);
        EXPECT_EQ(model->KeepInCache(), step.expected) << definition;
    }
}

TEST_F(DefinitionsTest, LightDefaultsAndTypes) {
    Load("scene.addlight(\"name='l1'\");"
         "scene.addlight(\"name='s' type='spot' posy='3' diry='-1' red='0.5' range='7' attenuation='2' "
         "falloff='3' visible='true' always='true' shadows='false' lighdows='true' group='g'\");"
         "scene.addlight(\"name='d' type='directional' dirx='1' enabled='false'\");");
    const CEngineLight& l1 = *Object(u"l1").Light();
    EXPECT_EQ(l1.light.Type, D3DLIGHTTYPE::D3DLIGHT_POINT);
    EXPECT_EQ(l1.light.Position, (D3DXVECTOR3{0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(l1.light.Diffuse, (D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(l1.light.Range, 100.0f);
    EXPECT_EQ(l1.light.Attenuation1, 1.0f);
    EXPECT_TRUE(l1.enabled);
    EXPECT_FALSE(l1.switchedOn);
    EXPECT_FALSE(l1.alwaysOn);
    EXPECT_TRUE(l1.castsShadows);
    EXPECT_FALSE(l1.castsLighdows);

    const CSceneObject& spot = Object(u"s");
    const CEngineLight& s = *spot.Light();
    EXPECT_EQ(s.light.Type, D3DLIGHTTYPE::D3DLIGHT_SPOT);
    EXPECT_EQ(s.light.Position, (D3DXVECTOR3{0.0f, 3.0f, 0.0f}));
    EXPECT_EQ(s.light.Direction, (D3DXVECTOR3{0.0f, -1.0f, 0.0f}));
    EXPECT_EQ(s.light.Diffuse, (D3DCOLORVALUE{0.5f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(s.light.Range, 7.0f);
    EXPECT_EQ(s.light.Attenuation1, 2.0f);
    EXPECT_EQ(s.light.Falloff, 3.0f);
    EXPECT_FLOAT_EQ(s.light.Theta, 1.57f);
    EXPECT_FLOAT_EQ(s.light.Phi, 3.14f);
    EXPECT_TRUE(s.switchedOn);
    EXPECT_TRUE(s.alwaysOn);
    EXPECT_FALSE(s.castsShadows);
    EXPECT_TRUE(s.castsLighdows);
    EXPECT_EQ(spot.Group(), "g");

    const CEngineLight& d = *Object(u"d").Light();
    EXPECT_EQ(d.light.Type, D3DLIGHTTYPE::D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(d.light.Direction, (D3DXVECTOR3{1.0f, 0.0f, 0.0f}));
    EXPECT_FALSE(d.enabled);
    // Lights take the scene's ids in turn, like every object.
    EXPECT_EQ(Scene().Objects().size(), 3u);
    EXPECT_EQ(Host().Renderer().Lights().size(), 3u);
}

TEST_F(DefinitionsTest, RefusedLightsLeaveNoRendererLight) {
    Load("scene.addlight(\"name='l1'\");");
    EXPECT_EQ(ErrorOf([&] { Scene().AddLight("name='l2' type='neon'"); }),
              "Exception:\nCScene::AddLight - Unknown light type: neon");
    EXPECT_EQ(ErrorOf([&] { Scene().AddLight("posx='1'"); }),
              "Exception:\nObject definition needs *name* parameter");
    EXPECT_EQ(ErrorOf([&] { Scene().AddLight("name='l1'"); }),
              "Exception:\nAn object with name 'l1' has already been defined in the scene, light rejected!");
    EXPECT_EQ(Host().Renderer().Lights().size(), 1u);
    EXPECT_EQ(Scene().Objects().size(), 1u);
}

TEST_F(DefinitionsTest, UpdateLightChangesOnlyWhatItNames) {
    Load("scene.addlight(\"name='l1' red='0.2' attenuation='3'\");"
         "scene.addobject(\"name='box' model='m.spr'\");");
    CEngineLight& light = *Object(u"l1").Light();
    D3DLIGHT9 expected = light.light;
    Scene().UpdateLight("l1", "range='20'");
    expected.Range = 20.0f;
    EXPECT_EQ(light.light, expected);
    Scene().UpdateLight("l1", "green='0.5' alpha='0' attenuation='4'");
    expected.Diffuse = {0.2f, 0.5f, 1.0f, 0.0f};
    expected.Attenuation1 = 4.0f;
    EXPECT_EQ(light.light, expected);

    EXPECT_EQ(ErrorOf([&] { Scene().UpdateLight("none", ""); }),
              "Exception:\nCScene::UpdateLight - Light with name 'none' is not defined.");
    EXPECT_EQ(ErrorOf([&] { Scene().UpdateLight("box", ""); }),
              "Exception:\nCScene::UpdateLight - Object with name 'box' is not a light.");
}

TEST_F(DefinitionsTest, AmbientColourIsClampedPerChannel) {
    Load("");
    const struct {
        const char* definition;
        std::uint32_t colour;
    } cases[] = {
        {"red='2' green='-1'", 0xFFFF00FFu},
        {"", 0xFFFFFFFFu},
        {"red='0.5' green='0.25' blue='0' alpha='0.999'", 0xFE7F3F00u},
    };
    for (const auto& c : cases) {
        Scene().SetAmbientLight(c.definition);
        EXPECT_EQ(Host().Renderer().Ambient(), c.colour) << c.definition;
    }
}

TEST_F(DefinitionsTest, FogSwitchesOnWithDefaultsAndOffWithAnEmptyText) {
    Load("");
    C3DEngine2& renderer = Host().Renderer();
    Scene().SetFog("end='50'");
    EXPECT_TRUE(renderer.FogOn());
    EXPECT_EQ(renderer.FogColour(), 0xFFFFFFFFu);
    EXPECT_EQ(renderer.FogStart(), 0.0f);
    EXPECT_EQ(renderer.FogEnd(), 50.0f);
    Scene().SetFog("red='0' start='5'");
    EXPECT_EQ(renderer.FogColour(), 0xFF00FFFFu);
    EXPECT_EQ(renderer.FogStart(), 5.0f);
    EXPECT_EQ(renderer.FogEnd(), 100.0f);
    Scene().SetFog("");
    EXPECT_FALSE(renderer.FogOn());
}

TEST_F(DefinitionsTest, ShapesGetAGeneratedModel) {
    Load("scene.addobject(\"name='base' model='m.spr' posx='1'\");"
         "scene.addshape(\"name='disc' shape='circle' r='2' sides='8.9' red='0.5' alpha='0.5' eblue='1' "
         "posy='0.1' yaw='-3.14159265' relativeto='base' group='marks'\");"
         "scene.addshape(\"name='tube' shape='cylinder' type='scenery' visible='false'\");");
    const CSceneObject& disc = Object(u"disc");
    const CModelInstance& instance = *disc.Instance();
    EXPECT_TRUE(instance.generatedShape);
    EXPECT_EQ(instance.kind, CModelInstance::Ordinary);
    EXPECT_EQ(instance.parent, Object(u"base").Instance());
    EXPECT_EQ(instance.position, (D3DXVECTOR3{0.0f, 0.1f, 0.0f}));
    EXPECT_GE(instance.rotation.z, 0.0f);
    EXPECT_EQ(instance.objectId, 1u);
    EXPECT_EQ(disc.Group(), "marks");
    const auto& animations = instance.model->GetAnimations();
    ASSERT_EQ(animations.size(), 1u);
    ASSERT_EQ(animations.count("idle"), 1u);
    const C3DIMesh2& frame = *animations.at("idle").at(0);
    EXPECT_EQ(frame.kind, SpreshShape::FilledCircle);
    EXPECT_EQ(frame.shape.segments, 8);
    EXPECT_EQ(frame.shape.bottomRadius, 2.0f);
    EXPECT_EQ(frame.shape.material.Diffuse, (D3DCOLORVALUE{0.5f, 1.0f, 1.0f, 0.5f}));
    EXPECT_EQ(frame.shape.material.Emissive, (D3DCOLORVALUE{0.0f, 0.0f, 1.0f, 0.0f}));
    EXPECT_EQ(frame.shape.textureId, 0);

    const CModelInstance& tube = *Object(u"tube").Instance();
    EXPECT_EQ(tube.kind, CModelInstance::Scenery);
    EXPECT_FALSE(tube.visible);
    const C3DIMesh2& band = *tube.model->GetAnimations().at("idle").at(0);
    EXPECT_EQ(band.kind, SpreshShape::Band);
    EXPECT_EQ(band.shape.segments, 64);
    EXPECT_EQ(band.shape.topHeight, 1.0f);
    EXPECT_EQ(band.shape.bottomHeight, 0.0f);
}

TEST_F(DefinitionsTest, RefusedShapes) {
    Load("scene.addshape(\"name='disc' shape='circle'\");");
    const std::size_t models = Host().Renderer().Models().Size();
    const struct {
        const char* definition;
        const char* error;
    } cases[] = {
        {"name='x' shape='cone'", "Exception:\nCScene::AddShape - Unknown shape type: cone"},
        {"name='x'", "Exception:\nCScene::AddShape - Unknown shape type: "},
        {"shape='circle'", "Exception:\nCScene::AddShape - Shape definition needs *name* parameter"},
        {"name='disc' shape='circle'",
         "Exception:\nAn object with name 'disc' has already been defined in the scene, shape rejected!"},
        {"name='x' shape='circle' sides='1e20'",
         "Exception:\nC3DSpresh::CreateFilledCircle - Invalid segment count 2147483647"},
        {"name='x' shape='cylinder' sides='0.5'",
         "Exception:\nC3DSpresh::CreateFilledCircle - Invalid segment count 0"},
        {"name='x' shape='circle' relativeto='nothere'",
         "Exception:\nCScene::AddObject - relativeto defined on unknown object 'nothere'"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf([&] { Scene().AddShape(c.definition); }), c.error) << c.definition;
    }
    EXPECT_EQ(Scene().Objects().size(), 1u);
    EXPECT_EQ(Host().Renderer().Instances().size(), 1u);
    EXPECT_EQ(Host().Renderer().Models().Size(), models) << "no empty model is left in the cache";
}

} // namespace
