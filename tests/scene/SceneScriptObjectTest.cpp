#include "render/C3DEngine2.h"
#include "render/model/CModelInstance.h"
#include "scene/SceneFixture.h"

namespace {

using SceneScriptObjectTest = SceneFixture;

TEST_F(SceneScriptObjectTest, ArgumentRules) {
    struct Case {
        const char16_t* member;
        std::vector<Variant> args;
        HRESULT hr;
    };
    const Case cases[] = {
        {u"addobject", {}, DISP_E_BADPARAMCOUNT},
        {u"addobject", {Text(u"name='x' model='m.spr'"), Text(u"")}, DISP_E_BADPARAMCOUNT},
        {u"addobject", {Variant::I4(1)}, DISP_E_BADVARTYPE},
        {u"addlight", {Variant::Null()}, DISP_E_BADVARTYPE},
        {u"addshape", {}, DISP_E_BADPARAMCOUNT},
        {u"setambientlight", {Variant::R8(1.0)}, DISP_E_BADVARTYPE},
        {u"setfog", {Text(u""), Text(u"")}, DISP_E_BADPARAMCOUNT},
        {u"deleteobject", {Variant::I4(0)}, DISP_E_BADVARTYPE},
        {u"sortobjects", {}, DISP_E_BADPARAMCOUNT},
        {u"updatelight", {Text(u"l")}, DISP_E_BADPARAMCOUNT},
        {u"updatelight", {Text(u"l"), Variant::I4(3)}, DISP_E_BADVARTYPE},
        {u"setshadowsfactor", {}, DISP_E_BADPARAMCOUNT},
        {u"setshadowsfactor", {Text(u"abc")}, DISP_E_TYPEMISMATCH},
        {u"setlightfactor", {Variant::R8(1.0), Variant::R8(1.0)}, DISP_E_BADPARAMCOUNT},
        {u"disablelightswithcameradistance", {}, S_OK},
        {u"enablelightswithcameradistance", {}, S_OK},
        {u"enablelightswithcameradistance", {Variant::I4(1), Variant::I4(2)}, DISP_E_BADPARAMCOUNT},
        {u"enablegroup", {}, DISP_E_BADPARAMCOUNT},
        {u"disablegroup", {Variant::I4(1)}, DISP_E_BADVARTYPE},
        {u"sortedobject", {}, DISP_E_BADPARAMCOUNT},
        {u"sortedobject", {Text(u"first")}, DISP_E_TYPEMISMATCH},
        {u"enablelight", {}, DISP_E_MEMBERNOTFOUND},
        {u"disablelight", {Text(u"l")}, DISP_E_MEMBERNOTFOUND},
        {u"AddObject", {Text(u"name='x' model='m.spr'")}, DISP_E_UNKNOWNNAME},
    };
    Load("scene.addlight(\"name='l'\");");
    for (const Case& c : cases) {
        const auto name = std::u16string(c.member);
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        EXPECT_EQ(Invoke(c.member, c.args).hr, c.hr);
        // Nothing was defined by a refused call.
        EXPECT_EQ(Scene().Objects().size(), 1u);
    }
}

TEST_F(SceneScriptObjectTest, EngineErrorsReachTheScriptWithTheirText) {
    Load("");
    const InvokeResult r = Invoke(u"addobject", {Text(u"model='m.spr'")});
    EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(r.error, u"Exception:\nCScene::AddObject - Object definition needs *name* parameter");
}

TEST_F(SceneScriptObjectTest, FactorsReachTheRenderer) {
    Load("scene.setshadowsfactor(0.7); scene.setlightfactor('0.5');",
         {{"data\\scripts\\plain.scs", SceneTestHost::Text("")}});
    EXPECT_FLOAT_EQ(Host().Renderer().ShadowStrength(), 0.7f);
    EXPECT_FLOAT_EQ(Host().Renderer().Brightness(), 0.5f);
    // Every load starts from the defaults again.
    Host().LoadScene("plain");
    EXPECT_FLOAT_EQ(Host().Renderer().ShadowStrength(), CScene::kDefaultShadowStrength);
    EXPECT_FLOAT_EQ(Host().Renderer().Brightness(), CScene::kDefaultBrightness);
}

TEST_F(SceneScriptObjectTest, ObjectsAreReachableByName) {
    Load("scene.addobject(\"name='door' model='m.spr'\");"
         "scene.addlight(\"name='lamp'\");"
         "var door = scene.door;");
    EXPECT_EQ(Eval("scene.door").DispatchValue(), &Object(u"door"));
    EXPECT_EQ(Eval("scene.lamp").DispatchValue(), &Object(u"lamp"));
    EXPECT_EQ(Eval("scene.door === door").BoolValue(), VARIANT_TRUE);
    EXPECT_TRUE(Host().ScriptErrors().empty());

    // Neither a member nor an object.
    EXPECT_EQ(Invoke(u"window", {}).hr, DISP_E_UNKNOWNNAME);
    Eval("scene.window");
    EXPECT_EQ(Host().ScriptErrors().size(), 1u);
}

TEST_F(SceneScriptObjectTest, DeletedObjectsAreGoneByNameAndDetachedForHolders) {
    Load("scene.addobject(\"name='door' model='m.spr' group='g'\");"
         "scene.addobject(\"name='rest' model='m.spr'\");"
         "scene.addlight(\"name='lamp' visible='true'\");"
         "var door = scene.door; var lamp = scene.lamp;");
    Scene().SetFreeMoveObject(&Object(u"door"));
    Scene().SortObjects("type='all'");
    const CModelInstance* instance = Object(u"door").Instance();
    const CEngineLight* light = Object(u"lamp").Light();

    Eval("scene.deleteobject('door'); scene.deleteobject('lamp');");
    EXPECT_TRUE(Host().ScriptErrors().empty());
    EXPECT_EQ(Scene().FindByName(u"door"), nullptr);
    EXPECT_EQ(Scene().Objects().size(), 1u);
    EXPECT_EQ(Scene().SortedObjects().size(), 1u);
    EXPECT_EQ(Scene().FreeMoveObject(), nullptr);
    EXPECT_FALSE(light->enabled);
    EXPECT_EQ(ErrorOf([&] { Scene().DeleteObject(u"door"); }),
              "Exception:\nCScene::DeleteObject - unknown object 'door'");
    Eval("scene.door");
    EXPECT_EQ(Host().ScriptErrors().size(), 1u);

    // Released by the next frame; the renderer no longer shows the instance.
    Host().Run(16);
    const auto& instances = Host().Renderer().Instances();
    EXPECT_TRUE(std::none_of(instances.begin(), instances.end(),
                             [&](const auto& owned) { return owned.get() == instance; }));
    EXPECT_EQ(instances.size(), 1u);
    const std::size_t before = Host().ScriptErrors().size();
    Eval("door.visible");
    Eval("lamp.visible = true;");
    ASSERT_EQ(Host().ScriptErrors().size(), before + 2);
    EXPECT_NE(Host().ScriptErrors()[before].find("no longer available"), std::string::npos);
    // The name can be used again; the id is new.
    Scene().AddObject("name='door' model='m.spr'");
    EXPECT_EQ(Object(u"door").Instance()->objectId, 3u);
}

TEST_F(SceneScriptObjectTest, DeletingFromInsideAnUpdateIsSafe) {
    // An object's script deletes itself and another object while the frame
    // updates the objects.
    SceneTestHost::Files files;
    files["data\\scripts\\self.js"] = SceneTestHost::Text(
        "function OnInit() {} function OnEvent(e, p) { if (e == 'go') { scene.deleteobject('a'); "
        "scene.deleteobject('b'); } }");
    Load("scene.addobject(\"name='a' model='m.spr' script='self.js'\");"
         "scene.addobject(\"name='b' model='m.spr'\");"
         "scene.addobject(\"name='c' model='m.spr'\");",
         files);
    Object(u"a").Script()->AddEvent(u"go", u"", 1);
    Host().Run(64);
    EXPECT_TRUE(Host().ScriptErrors().empty());
    ASSERT_EQ(Scene().Objects().size(), 1u);
    EXPECT_EQ(Scene().Objects()[0]->Name(), u"c");
    EXPECT_EQ(Host().Renderer().Instances().size(), 1u);
}

TEST_F(SceneScriptObjectTest, GroupsSwitchVisibility) {
    Load("scene.addobject(\"name='a' model='m.spr' group='g1'\");"
         "scene.addobject(\"name='b' model='m.spr' group='g2'\");"
         "scene.addobject(\"name='c' model='m.spr'\");"
         "scene.addobject(\"name='d' model='m.spr' group='g3'\");"
         "scene.addlight(\"name='l' group='g1'\");");
    const auto visible = [&](const char16_t* name) {
        const CSceneObject& o = Object(name);
        return o.IsLight() ? o.Light()->switchedOn : o.Instance()->visible;
    };
    Eval("scene.disablegroup('g1', 'g2', 'g3');");
    EXPECT_FALSE(visible(u"a"));
    EXPECT_FALSE(visible(u"b"));
    EXPECT_TRUE(visible(u"c"));
    EXPECT_FALSE(visible(u"d"));
    Eval("scene.enablegroup('g1');");
    EXPECT_TRUE(visible(u"a"));
    EXPECT_TRUE(visible(u"l"));
    EXPECT_FALSE(visible(u"b"));
    // A bad argument stops the call after the groups before it.
    EXPECT_EQ(Invoke(u"enablegroup", {Text(u"g2"), Variant::I4(1), Text(u"g3")}).hr, DISP_E_BADVARTYPE);
    EXPECT_TRUE(visible(u"b"));
    EXPECT_FALSE(visible(u"d"));
    // The empty group is a group like the others.
    Eval("scene.disablegroup('');");
    EXPECT_FALSE(visible(u"c"));
    EXPECT_TRUE(visible(u"a"));
}

TEST_F(SceneScriptObjectTest, LightsSwitchByCameraDistance) {
    Load("scene.addlight(\"name='near' posz='5' visible='true'\");"
         "scene.addlight(\"name='edge' posz='10' visible='true'\");"
         "scene.addlight(\"name='far' posx='20' visible='true'\");"
         "scene.addlight(\"name='always' posz='30' visible='true' always='true'\");"
         "scene.addobject(\"name='box' model='m.spr'\");");
    Host().Renderer().SetCamera({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f});
    const auto on = [&](const char16_t* name) { return Object(name).Light()->switchedOn; };
    Eval("scene.disablelightswithcameradistance(10);");
    EXPECT_TRUE(on(u"near"));
    EXPECT_FALSE(on(u"edge"));
    EXPECT_FALSE(on(u"far"));
    EXPECT_TRUE(on(u"always"));
    Eval("scene.disablelightswithcameradistance(1);");
    Eval("scene.disablelightswithcameradistance();");
    EXPECT_FALSE(on(u"near"));
    Eval("scene.enablelightswithcameradistance(10.5);");
    EXPECT_TRUE(on(u"near"));
    EXPECT_TRUE(on(u"edge"));
    EXPECT_FALSE(on(u"far"));
    Object(u"always").SetVisible(false);
    Eval("scene.enablelightswithcameradistance(100);");
    EXPECT_FALSE(on(u"always"));
    EXPECT_TRUE(on(u"far"));
    EXPECT_TRUE(Object(u"box").Instance()->visible);
    EXPECT_TRUE(Host().ScriptErrors().empty());
}

TEST_F(SceneScriptObjectTest, SortObjects) {
    Load("scene.addobject(\"name='hero' model='m.spr'\");"
         "scene.addobject(\"name='a' model='m.spr' posx='3'\");"
         "scene.addlight(\"name='l' posx='2'\");"
         "scene.addobject(\"name='b' model='m.spr' posz='-1'\");"
         "scene.addobject(\"name='c' model='m.spr' posx='7'\");");
    struct Case {
        const char* definition;
        std::vector<std::u16string> expected;
        const char* error;
    };
    const Case cases[] = {
        {"", {u"hero", u"a", u"b", u"c"}, nullptr},
        {"type='all'", {u"hero", u"a", u"l", u"b", u"c"}, nullptr},
        {"type='light'", {u"l"}, nullptr},
        {"criteria='size'", {u"hero", u"a", u"b", u"c"}, nullptr},
        {"criteria='distance' to='hero' maximumdistance='5'", {u"b", u"a"}, nullptr},
        {"criteria='distance' to='hero' minimumdistance='3'", {u"a", u"c"}, nullptr},
        {"criteria='distance' to='a' type='all'", {u"l", u"hero", u"b", u"c"}, nullptr},
        {"criteria='distance'",
         {u"hero", u"a", u"b", u"c"},
         "Exception:\nParameter 'to' not defined in findobject."},
        {"criteria='distance' to='nobody' type='light'",
         {u"l"},
         "Exception:\nObject defined in 'to' parameter ('nobody') is not defined in scene."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.definition);
        std::int32_t count = -1;
        EXPECT_EQ(ErrorOf([&] { count = Scene().SortObjects(c.definition); }), c.error ? c.error : "");
        std::vector<std::u16string> names;
        for (const CSceneObject* o : Scene().SortedObjects()) {
            names.push_back(o->Name());
        }
        EXPECT_EQ(names, c.expected);
        if (c.error == nullptr) {
            EXPECT_EQ(count, static_cast<std::int32_t>(c.expected.size()));
        }
    }

    EXPECT_EQ(Eval("scene.sortobjects(\"criteria='distance' to='hero' maximumdistance='5'\")").IntValue(), 2);
    EXPECT_EQ(Eval("scene.sortedobject(0) === scene.b").BoolValue(), VARIANT_TRUE);
    EXPECT_EQ(Eval("scene.sortedobject(2)").IntValue(), 2);
    EXPECT_EQ(Eval("scene.sortedobject(-1)").IntValue(), -1);
    EXPECT_TRUE(Host().ScriptErrors().empty());
}

TEST_F(SceneScriptObjectTest, LookupsForPickingAndStepping) {
    Load("scene.addlight(\"name='l0'\");"
         "scene.addobject(\"name='a' model='m.spr' pickable='true'\");"
         "scene.addobject(\"name='b' model='m.spr'\");"
         "scene.addlight(\"name='l3'\");");
    CSceneObject* a = &Object(u"a");
    CSceneObject* b = &Object(u"b");
    EXPECT_EQ(Scene().FindPickableById(1), a);
    EXPECT_EQ(Scene().FindPickableById(2), nullptr);
    EXPECT_EQ(Scene().FindById(2), b);
    EXPECT_EQ(Scene().FindById(0), nullptr);
    EXPECT_EQ(Scene().FindById(9), nullptr);

    EXPECT_EQ(Scene().NextModelObject(nullptr), a);
    EXPECT_EQ(Scene().NextModelObject(a), b);
    EXPECT_EQ(Scene().NextModelObject(b), a);
    EXPECT_EQ(Scene().PreviousModelObject(nullptr), b);
    EXPECT_EQ(Scene().PreviousModelObject(b), a);
    EXPECT_EQ(Scene().PreviousModelObject(a), b);

    EXPECT_EQ(Scene().NameOfObject(nullptr), "");
    EXPECT_EQ(Scene().NameOfObject(b), "b");
    Scene().DeleteObject(u"b");
    EXPECT_EQ(Scene().NameOfObject(b), "unknown");
    EXPECT_EQ(Scene().NextModelObject(a), a);
    Scene().DeleteObject(u"a");
    EXPECT_EQ(Scene().NextModelObject(nullptr), nullptr);
    EXPECT_EQ(Scene().PreviousModelObject(nullptr), nullptr);
}

} // namespace
