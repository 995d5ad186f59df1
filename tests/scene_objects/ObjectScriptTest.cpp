#include "render/CEngineLight.h"
#include "render/model/CModelInstance.h"
#include "scene/CPolygonTable.h"
#include "scene_objects/ObjectFixture.h"
#include "script/TextConversion.h"

#include <cstdio>

namespace {

using ObjectScriptTest = ObjectFixture;

const char* const kObjects = "scene.addobject(\"name='walker' model='box.spr' script='actor.js'\");"
                             "scene.addlight(\"name='lamp' posx='3' posz='4'\");";

struct Call {
    HRESULT hr;
    Variant value;
    std::string error;
};

Call InvokeOn(CSceneObject& object, std::u16string_view member, DispatchFlags flags,
              std::vector<Variant> args) {
    DISPID id = DISPID_UNKNOWN;
    const std::u16string_view names[] = {member};
    Call call{object.GetIDsOfNames(IID_NULL, names, &id), {}, {}};
    if (SUCCEEDED(call.hr)) {
        EXCEPINFO info;
        call.hr = object.Invoke(id, IID_NULL, flags, args, &call.value, &info);
        call.error = WideToAnsi(info.bstrDescription);
    }
    return call;
}

Variant Text(const char16_t* text) {
    return Variant::Bstr(text);
}

// A script's completion value as JavaScript would print it.
std::u16string ValueText(const Variant& value) {
    switch (value.Type()) {
    case VT_BSTR:
        return value.BstrValue();
    case VT_BOOL:
        return value.BoolValue() != VARIANT_FALSE ? u"true" : u"false";
    case VT_I4:
        return AnsiToWide(std::to_string(value.IntValue()));
    case VT_R8: {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value.RealValue());
        return AnsiToWide(text);
    }
    default:
        return u"?";
    }
}

constexpr DispatchFlags kCall = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
constexpr DispatchFlags kGet = DISPATCH_PROPERTYGET;
constexpr DispatchFlags kPut = DISPATCH_PROPERTYPUT;

TEST_F(ObjectScriptTest, MembersServeOnlyTheirKindsAndArguments) {
    struct Case {
        const char16_t* object;
        const char16_t* member;
        DispatchFlags flags;
        std::vector<Variant> args;
        HRESULT hr;
        const char* error = "";
    };
    const Case cases[] = {
        // Reserved names are never served.
        {u"walker", u"scale", kPut, {Variant::I4(2)}, DISP_E_MEMBERNOTFOUND},
        {u"walker", u"scale", kGet, {}, DISP_E_MEMBERNOTFOUND},
        {u"walker", u"walkaround", kGet, {}, DISP_E_MEMBERNOTFOUND},
        {u"walker", u"walkaround", kPut, {Variant::Bool(true)}, DISP_E_MEMBERNOTFOUND},
        // Read-only, write-only, methods used as properties and the other way round.
        {u"walker", u"name", kPut, {Text(u"x")}, DISP_E_MEMBERNOTFOUND},
        {u"walker", u"name", kGet, {}, S_OK},
        {u"walker", u"context", kGet, {}, DISP_E_MEMBERNOTFOUND},
        {u"walker", u"context", kPut, {Text(u"a,b")}, S_OK},
        {u"walker", u"getposition", kPut, {Text(u"")}, DISP_E_MEMBERNOTFOUND},
        {u"walker", u"visible", DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND},
        {u"walker", u"Visible", kGet, {}, DISP_E_UNKNOWNNAME},
        // Counts and types.
        {u"walker", u"setposition", kCall, {}, DISP_E_BADPARAMCOUNT},
        {u"walker", u"setposition", kCall, {Text(u"posx='1'"), Text(u"")}, DISP_E_BADPARAMCOUNT},
        {u"walker", u"setposition", kCall, {Variant::I4(1)}, DISP_E_BADVARTYPE},
        {u"walker", u"setposition", kCall, {Text(u"posx='1'")}, S_OK},
        {u"walker", u"moveto", kCall, {Variant::R8(1.5)}, DISP_E_BADVARTYPE},
        {u"walker", u"setpredefinedroute", kCall, {}, DISP_E_BADPARAMCOUNT},
        {u"walker", u"setpredefinedroute", kCall, {Text(u"posx='1'"), Variant::I4(2)}, DISP_E_BADVARTYPE},
        {u"walker",
         u"followpredefinedroute",
         kCall,
         {Variant::I4(500), Variant::I4(0)},
         DISP_E_BADPARAMCOUNT},
        {u"walker",
         u"followpredefinedroute",
         kCall,
         {Variant::I4(500), Variant::I4(0), Variant::Bool(true)},
         DISP_E_EXCEPTION,
         "CSceneObject::FollowPredefinedRoute() - The route has no point 0."},
        {u"walker", u"pausepredefinedroute", kCall, {Variant::I4(1)}, DISP_E_BADPARAMCOUNT},
        {u"walker", u"isinsidepolygon", kCall, {Variant::I4(1)}, DISP_E_BADVARTYPE},
        {u"walker",
         u"isinsidepolygon",
         kCall,
         {Text(u"nowhere")},
         DISP_E_EXCEPTION,
         "CGame::InsidePolygon() - Polygon does not exist."},
        {u"walker", u"distance", kCall, {Text(u"lamp")}, DISP_E_TYPEMISMATCH},
        {u"walker", u"animationspeed", kGet, {Variant::I4(1)}, DISP_E_BADPARAMCOUNT},
        {u"walker", u"animationspeed", kPut, {Text(u"fast")}, DISP_E_TYPEMISMATCH},
        {u"walker",
         u"setrotation",
         kCall,
         {Text(u"yaw=1")},
         DISP_E_EXCEPTION,
         "CParameterParser::CParameterParser - A ' ' is expected to go to the next parameter, an unknown "
         "character was found instead."},
        // Lights have no animation and no model.
        {u"lamp", u"animation", kGet, {}, DISP_E_MEMBERNOTFOUND},
        {u"lamp", u"animationspeed", kPut, {Variant::I4(5)}, DISP_E_MEMBERNOTFOUND},
        {u"lamp", u"animationdirection", kGet, {}, DISP_E_MEMBERNOTFOUND},
        {u"lamp", u"animationloop", kPut, {Variant::I4(1)}, DISP_E_MEMBERNOTFOUND},
        {u"lamp",
         u"getbounds",
         kCall,
         {},
         DISP_E_EXCEPTION,
         "CADVObject::Invoke - getbounds can only be used on spreshes."},
        {u"lamp",
         u"dimsize",
         kCall,
         {Text(u"")},
         DISP_E_EXCEPTION,
         "CADVObject::Invoke - dimsize can only be used on spreshes."},
        {u"lamp",
         u"rotateto",
         kCall,
         {Text(u"yaw='1'")},
         DISP_E_EXCEPTION,
         "CSceneObject::RotateTo() - Scene Object isn't a spresh."},
        {u"lamp", u"visible", kGet, {}, S_OK},
        {u"lamp", u"setposition", kCall, {Text(u"posy='2'")}, S_OK},
        {u"lamp", u"name", kGet, {}, S_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(WideToAnsi(c.object) + "." + WideToAnsi(c.member));
        Load(kObjects);
        const Call call = InvokeOn(Object(c.object), c.member, c.flags, c.args);
        EXPECT_EQ(call.hr, c.hr);
        if (c.hr == DISP_E_EXCEPTION) {
            EXPECT_EQ(call.error, std::string("Exception:\n") + c.error);
        }
    }
}

TEST_F(ObjectScriptTest, ScriptsReadAndWriteTheObject) {
    Load(kObjects);
    Host().Polygons().Set("zone", [] {
        CNamedPolygon entry;
        for (const auto& [x, z] : {std::pair{0.5f, 0.5f}, {1.5f, 0.5f}, {1.5f, 1.5f}, {0.5f, 1.5f}}) {
            entry.outline.AddPoint(x, z, false);
        }
        return entry;
    }());
    struct Case {
        const char* expression;
        const char16_t* value;
    };
    const Case cases[] = {
        {"scene.walker.animationdirection", u"1"},
        {"scene.walker.animationdirection = 0; scene.walker.animationdirection", u"0"},
        {"scene.walker.animationspeed = 250; scene.walker.animationspeed", u"250"},
        {"scene.walker.animationloop", u"-1"},
        {"scene.walker.animation", u"idle"},
        {"var b = scene.walker.getbounds(); [b.minx, b.cntx, b.maxx, b.miny, b.cnty, b.maxy, b.cntz].join()",
         u"-0.5,0,0.5,0,0.5,1,0"},
        {"scene.walker.distance(scene.lamp)", u"5"},
        {"scene.walker.dimsize(\"width='2' depth='3'\"); var d = scene.walker.getbounds(); "
         "[d.maxx - d.minx, d.maxy - d.miny, d.maxz - d.minz].join()",
         u"2,1,3"},
        {"scene.walker.setposition(\"posx='1' posz='1'\"); var p = scene.walker.getposition(); [p.x, p.y, "
         "p.z].join()",
         u"1,0,1"},
        {"scene.walker.isinsidepolygon('zone')", u"true"},
        {"scene.lamp.isinsidepolygon('zone')", u"false"},
        {"scene.walker.setrotation(\"yaw='-1' roll='1'\"); var r = scene.walker.getrotation(); "
         "[r.roll, r.pitch, (r.yaw - (2 * Math.PI - 1)) < 1e-6].join()",
         u"1,0,true"},
        {"scene.walker.group = 'doors'; scene.walker.group", u"doors"},
        {"scene.walker.pickname = 'Door'; scene.walker.pickname", u"Door"},
        {"scene.walker.mobile = true; scene.walker.mobile", u"true"},
        {"scene.walker.freemovespeed = 0.5; scene.walker.freemovespeed", u"0.5"},
        {"scene.walker.animationprogress = 0.25; scene.walker.animationprogress", u"0.25"},
        {"scene.walker.shadows = false; scene.walker.shadows", u"false"},
        {"scene.lamp.visible = true; scene.lamp.enabled = false; [scene.lamp.visible, "
         "scene.lamp.enabled].join()",
         u"true,false"},
        {"scene.walker.name", u"walker"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(ValueText(Eval(c.expression)), c.value);
    }
    EXPECT_TRUE(Host().ScriptErrors().empty());
    // The light's flags reach the light record.
    EXPECT_TRUE(Object(u"lamp").Light()->switchedOn);
    EXPECT_FALSE(Object(u"lamp").Light()->enabled);
}

TEST_F(ObjectScriptTest, WalkToDefaultsAndAnimate) {
    Load(std::string(kObjects) +
         "scene.addobject(\"name='wall' model='box.spr' posx='2' walkaround='true'\");");
    CSceneObject& walker = Object(u"walker");
    // Without route calculation collisions are off unless asked for.
    Eval("scene.walker.walkto(\"posx='4' calculateroute='false' autorotate='false'\");");
    Run(2100);
    EXPECT_EQ(walker.GetPosition().x, 4.0f);
    EXPECT_EQ(walker.Instance()->rotation.z, 0.0f);
    // By default: collisions, autorotation towards the target, walk animation "walk".
    Eval("scene.walker.walkto(\"posx='0'\");");
    EXPECT_TRUE(walker.IsRotating());
    Run(2100);
    EXPECT_TRUE(walker.IsBlocked());
    EXPECT_EQ(ObjectLog(u"walker"), "walk|stop|walk|stop");

    // animate hands the action to the object's script and remembers the event.
    ClearLogs();
    Eval("scene.walker.animate('open', \"event='opened' eventparameter='p'\");"
         "scene.walker.animationloop = 0; scene.walker.animationspeed = 100;");
    Run(200);
    EXPECT_EQ(ObjectLog(u"walker"), "open|animationended:idle");
    EXPECT_EQ(SceneLog(), "opened:p");
}

} // namespace
