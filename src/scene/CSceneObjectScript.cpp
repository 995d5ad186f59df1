// The script face of a scene object: its fixed member table and the members'
// argument rules.
#include "scene/CSceneObject.h"

#include "mathutil/SaturatingCast.h"
#include "render/C3DEngine2.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CModelInstance.h"
#include "resources/CADVException.h"
#include "resources/CParameterParser.h"
#include "scene/CPolygonTable.h"
#include "scene/ISceneHost.h"
#include "script/TextConversion.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

enum Member : DISPID {
    kSetPosition = CDispatchBase::kFirstMemberId,
    kSetRotation,
    kFreeMove,
    kGetBounds,
    kRotateTo,
    kIsInsidePolygon,
    kDistance,
    kAnimation,
    kAnimationSpeed,
    kAnimationDirection,
    kAnimationLoop,
    kMoveTo,
    kAnimate,
    kScale,
    kSetEmissiveColor,
    kVisible,
    kGroup,
    kWalkaround,
    kFreeMoveSpeed,
    kFreeRotateSpeed,
    kAnimationProgress,
    kGetPosition,
    kGetRotation,
    kEnabled,
    kShadows,
    kLighdows,
    kSetTexture,
    kWalkTo,
    kSetSkin,
    kDimSize,
    kContext,
    kSkin,
    kPickName,
    kMobile,
    kSetPredefinedRoute,
    kFollowPredefinedRoute,
    kPausePredefinedRoute,
    kContinuePredefinedRoute,
    kStopPredefinedRoute,
    kName,
};

// The kinds of use each name serves; any other use is DISP_E_MEMBERNOTFOUND.
struct MemberKinds {
    std::u16string_view name;
    bool method;
    bool get;
    bool put;
};

constexpr bool Yes = true;
constexpr bool No = false;

// The DISPIDs are the positions in this table, so its order is fixed.
// Name, method, get, put.
constexpr MemberKinds kKinds[] = {
    {u"setposition", Yes, No, No},
    {u"setrotation", Yes, No, No},
    {u"freemove", No, Yes, Yes},
    {u"getbounds", Yes, No, No},
    {u"rotateto", Yes, No, No},
    {u"isinsidepolygon", Yes, No, No},
    {u"distance", Yes, No, No},
    {u"animation", No, Yes, Yes},
    {u"animationspeed", No, Yes, Yes},
    {u"animationdirection", No, Yes, Yes},
    {u"animationloop", No, Yes, Yes},
    {u"moveto", Yes, No, No},
    {u"animate", Yes, No, No},
    {u"scale", No, No, No},
    {u"setemissivecolor", Yes, No, No},
    {u"visible", No, Yes, Yes},
    {u"group", No, Yes, Yes},
    {u"walkaround", No, No, No},
    {u"freemovespeed", No, Yes, Yes},
    {u"freerotatespeed", No, Yes, Yes},
    {u"animationprogress", No, Yes, Yes},
    {u"getposition", Yes, No, No},
    {u"getrotation", Yes, No, No},
    {u"enabled", No, Yes, Yes},
    {u"shadows", No, Yes, Yes},
    {u"lighdows", No, Yes, Yes},
    {u"settexture", Yes, No, No},
    {u"walkto", Yes, No, No},
    {u"setskin", Yes, No, No},
    {u"dimsize", Yes, No, No},
    {u"context", No, No, Yes},
    {u"skin", No, Yes, Yes},
    {u"pickname", No, Yes, Yes},
    {u"mobile", No, Yes, Yes},
    {u"setpredefinedroute", Yes, No, No},
    {u"followpredefinedroute", Yes, No, No},
    {u"pausepredefinedroute", Yes, No, No},
    {u"continuepredefinedroute", Yes, No, No},
    {u"stoppredefinedroute", Yes, No, No},
    {u"name", No, Yes, No},
};
constexpr std::size_t kMemberCount = std::size(kKinds);
static_assert(kName == CDispatchBase::kFirstMemberId + static_cast<DISPID>(kMemberCount) - 1);

constexpr std::array<DispatchMember, kMemberCount> kMembers = [] {
    std::array<DispatchMember, kMemberCount> members{};
    for (std::size_t i = 0; i < kMemberCount; ++i) {
        members[i] = {kKinds[i].name, kKinds[i].method};
    }
    return members;
}();

// A method's parameter text: one string argument.
CParameterParser ParameterText(std::span<const Variant> args) {
    if (args.size() != 1) {
        throw EDispatchError{DISP_E_BADPARAMCOUNT};
    }
    if (args[0].Type() != VT_BSTR) {
        throw EDispatchError{DISP_E_BADVARTYPE};
    }
    return CParameterParser(WideToAnsi(args[0].BstrValue()));
}

D3DXVECTOR3 Vector3(const CParameterParser& p, std::string_view x, std::string_view y, std::string_view z,
                    const D3DXVECTOR3& fallback) {
    const auto v = p.GetFloat3Default(x, y, z, fallback.x, fallback.y, fallback.z);
    return {v[0], v[1], v[2]};
}

bool Flag(const CParameterParser& p, std::string_view name, std::string_view fallback) {
    return p.GetParameterDefault(name, fallback) == "true";
}

// A number from a parameter text cut to a whole millisecond count; what does
// not fit becomes the nearest value that does.
std::int32_t WholeNumber(float value) {
    // The lowest value stays symmetric with the highest, as before.
    return std::max(SaturatingCast<std::int32_t>(value), -std::numeric_limits<std::int32_t>::max());
}

Variant Text(const std::string& text) {
    return Variant::Bstr(AnsiToWide(text));
}

void SetSkin(ISceneHost& host, CModelInstance& instance, const std::string& name) {
    instance.skinTextureId = host.Renderer().GetTextureId(name);
    instance.skinName = name;
}

} // namespace

std::span<const DispatchMember> CSceneObject::ScriptMembers() {
    return kMembers;
}

void CSceneObject::RequireInstance(const char* member) const {
    if (m_instance == nullptr) {
        throw CADVException("CADVObject::Invoke - %s can only be used on spreshes.", member);
    }
}

HRESULT CSceneObject::InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                                   Variant* result) {
    if (id < kSetPosition || id > kName) {
        return DISP_E_MEMBERNOTFOUND;
    }
    // The animation properties belong to models; a light does not have them.
    if (id >= kAnimation && id <= kAnimationLoop && m_instance == nullptr) {
        return DISP_E_MEMBERNOTFOUND;
    }
    const MemberKinds& kinds = kKinds[id - kSetPosition];
    if ((flags & DISPATCH_METHOD) != 0 && kinds.method) {
        return InvokeMethod(id, args, result);
    }
    if ((flags & DISPATCH_PROPERTYGET) != 0 && kinds.get) {
        ExpectArgCount(args, 0);
        return InvokeGet(id, result);
    }
    if ((flags & DISPATCH_PROPERTYPUT) != 0 && kinds.put) {
        ExpectArgCount(args, 1);
        return InvokePut(id, args);
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CSceneObject::InvokeMethod(DISPID id, std::span<const Variant> args, Variant* result) {
    switch (id) {
    case kSetPosition: {
        const CParameterParser p = ParameterText(args);
        SetPosition(Vector3(p, "posx", "posy", "posz", OwnPosition()));
        return S_OK;
    }
    case kSetRotation: {
        const CParameterParser p = ParameterText(args);
        RequireInstance("setrotation");
        SetRotation(Vector3(p, "roll", "pitch", "yaw", m_instance->rotation));
        return S_OK;
    }
    case kGetBounds: {
        ExpectArgCount(args, 0);
        RequireInstance("getbounds");
        D3DXVECTOR3 min;
        D3DXVECTOR3 max;
        if (!m_instance->model->GetBoundaries(*m_instance, &min, &max)) {
            throw CADVException("CADVObject::Invoke - getbounds: the model has no frame for animation '%s'.",
                                m_instance->animation.c_str());
        }
        SetResult(result, Variant::Record({{u"minx", min.x},
                                           {u"cntx", (min.x + max.x) * 0.5f},
                                           {u"maxx", max.x},
                                           {u"miny", min.y},
                                           {u"cnty", (min.y + max.y) * 0.5f},
                                           {u"maxy", max.y},
                                           {u"minz", min.z},
                                           {u"cntz", (min.z + max.z) * 0.5f},
                                           {u"maxz", max.z}}));
        return S_OK;
    }
    case kRotateTo: {
        const CParameterParser p = ParameterText(args);
        const D3DXVECTOR3 target = Vector3(p, "roll", "pitch", "yaw", {});
        const std::int32_t ms = WholeNumber(p.GetFloatDefault("speed", 1000.0f));
        RotateTo(static_cast<std::uint32_t>(std::max(ms, 0)), target, p.GetParameterDefault("event", ""),
                 p.GetParameterDefault("eventparameter", ""));
        return S_OK;
    }
    case kIsInsidePolygon: {
        ExpectArgCount(args, 1);
        const std::string name = AnsiArg(args, 0);
        if (m_instance == nullptr && m_light == nullptr) {
            throw CADVException("CADVObject::Invoke - IsInsidePolygon can only be used on objects.");
        }
        SetResult(result, Variant::Bool(m_host.Polygons().InsidePolygon(name, GroundX(), GroundZ())));
        return S_OK;
    }
    case kDistance: {
        ExpectArgCount(args, 1);
        const auto* other = dynamic_cast<const CSceneObject*>(args[0].DispatchValue());
        if (args[0].Type() != VT_DISPATCH || other == nullptr) {
            throw EDispatchError{DISP_E_TYPEMISMATCH};
        }
        const D3DXVECTOR3 d = other->GetPosition() - GetPosition();
        SetResult(result, Variant::R8(std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z)));
        return S_OK;
    }
    case kMoveTo: {
        const CParameterParser p = ParameterText(args);
        MoveTo(WholeNumber(p.GetFloatDefault("speed", 1000.0f)), Vector3(p, "posx", "posy", "posz", {}),
               p.GetParameterDefault("event", ""), p.GetParameterDefault("eventparameter", ""),
               Flag(p, "collisions", "false"), false);
        return S_OK;
    }
    case kAnimate: {
        ExpectArgCount(args, 1, 2);
        const std::string action = AnsiArg(args, 0);
        const CParameterParser p = args.size() == 2 ? ParameterText(args.subspan(1)) : CParameterParser("");
        OnAction(action, p.GetParameterDefault("event", ""), p.GetParameterDefault("eventparameter", ""));
        return S_OK;
    }
    case kSetEmissiveColor: {
        const CParameterParser p = ParameterText(args);
        RequireInstance("setemissivecolor");
        const auto c = p.GetFloat4Default("red", "green", "blue", "alpha", 1.0f, 1.0f, 1.0f, 1.0f);
        m_instance->model->SetEmissive(c[0], c[1], c[2], c[3]);
        return S_OK;
    }
    case kGetPosition: {
        ExpectArgCount(args, 0);
        const D3DXVECTOR3 v = GetPosition();
        SetResult(result, Variant::Record({{u"x", v.x}, {u"y", v.y}, {u"z", v.z}}));
        return S_OK;
    }
    case kGetRotation: {
        ExpectArgCount(args, 0);
        RequireInstance("getrotation");
        const D3DXVECTOR3& r = m_instance->rotation;
        SetResult(result, Variant::Record({{u"yaw", r.z}, {u"pitch", r.y}, {u"roll", r.x}}));
        return S_OK;
    }
    case kSetTexture: {
        ExpectArgCount(args, 1);
        const std::string name = AnsiArg(args, 0);
        RequireInstance("settexture");
        m_instance->skinTextureId = m_host.Renderer().GetTextureId(name);
        return S_OK;
    }
    case kWalkTo: {
        const CParameterParser p = ParameterText(args);
        const std::string route = p.GetParameterDefault("calculateroute", "true");
        WalkTo(WholeNumber(p.GetFloatDefault("speed", 500.0f)), Vector3(p, "posx", "posy", "posz", {}),
               p.GetParameterDefault("animation", "walk"), p.GetParameterDefault("event", ""),
               p.GetParameterDefault("eventparameter", ""), route == "true", Flag(p, "autorotate", "true"),
               Flag(p, "collisions", route == "true" ? "true" : "false"), true);
        return S_OK;
    }
    case kSetSkin: {
        ExpectArgCount(args, 1);
        const std::string name = AnsiArg(args, 0);
        RequireInstance("setskin");
        SetSkin(m_host, *m_instance, name);
        return S_OK;
    }
    case kDimSize: {
        const CParameterParser p = ParameterText(args);
        RequireInstance("dimsize");
        D3DXVECTOR3 min;
        D3DXVECTOR3 max;
        if (!m_instance->model->GetBoundaries(*m_instance, &min, &max)) {
            throw CADVException("CADVObject::Invoke - dimsize: the model has no frame for animation '%s'.",
                                m_instance->animation.c_str());
        }
        const D3DXVECTOR3 current = max - min;
        const D3DXVECTOR3 wanted = Vector3(p, "width", "height", "depth", current);
        // A flat axis cannot be stretched by a factor; it keeps its size.
        const auto factor = [](float want, float have) { return have > 0.0f ? want / have : 1.0f; };
        m_instance->model->ReCalc(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, factor(wanted.x, current.x),
                                  factor(wanted.y, current.y), factor(wanted.z, current.z));
        return S_OK;
    }
    case kSetPredefinedRoute: {
        ExpectArgCount(args, 1, std::numeric_limits<std::size_t>::max());
        std::vector<D3DXVECTOR3> points;
        for (std::size_t i = 0; i < args.size(); ++i) {
            points.push_back(Vector3(ParameterText(args.subspan(i, 1)), "posx", "posy", "posz", {}));
        }
        SetPredefinedRoute(std::move(points));
        return S_OK;
    }
    case kFollowPredefinedRoute:
        ExpectArgCount(args, 3);
        FollowPredefinedRoute(IntArg(args, 0), IntArg(args, 1), BoolArg(args, 2));
        return S_OK;
    case kPausePredefinedRoute:
        ExpectArgCount(args, 0);
        PausePredefinedRoute();
        return S_OK;
    case kContinuePredefinedRoute:
        ExpectArgCount(args, 0);
        ContinuePredefinedRoute();
        return S_OK;
    case kStopPredefinedRoute:
        ExpectArgCount(args, 0);
        StopMovement();
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CSceneObject::InvokeGet(DISPID id, Variant* result) {
    switch (id) {
    case kFreeMove:
        SetResult(result, Variant::Bool(m_freeMove));
        return S_OK;
    case kAnimation:
        SetResult(result, Text(GetAnimation()));
        return S_OK;
    case kAnimationSpeed:
        SetResult(result, Variant::I4(static_cast<std::int32_t>(m_cycleMs)));
        return S_OK;
    case kAnimationDirection:
        SetResult(result, Variant::R8(m_forward ? 1.0 : 0.0));
        return S_OK;
    case kAnimationLoop:
        SetResult(result, Variant::I4(m_repeats));
        return S_OK;
    case kVisible:
        SetResult(result, Variant::Bool(GetVisible()));
        return S_OK;
    case kGroup:
        SetResult(result, Text(m_group));
        return S_OK;
    case kFreeMoveSpeed:
        SetResult(result, Variant::R8(m_freeMoveSpeed));
        return S_OK;
    case kFreeRotateSpeed:
        SetResult(result, Variant::R8(m_freeRotateSpeed));
        return S_OK;
    case kAnimationProgress:
        RequireInstance("animationprogress");
        SetResult(result, Variant::R8(m_instance->phase));
        return S_OK;
    case kEnabled:
        SetResult(result, Variant::Bool(GetEnabled()));
        return S_OK;
    case kShadows:
        RequireInstance("shadows");
        SetResult(result, Variant::Bool(m_instance->castsShadows));
        return S_OK;
    case kLighdows:
        RequireInstance("lighdows");
        SetResult(result, Variant::Bool(m_instance->castsLighdows));
        return S_OK;
    case kSkin:
        RequireInstance("skin");
        SetResult(result, Text(m_instance->skinName));
        return S_OK;
    case kPickName:
        SetResult(result, Text(m_pickName));
        return S_OK;
    case kMobile:
        SetResult(result, Variant::Bool(m_mobile));
        return S_OK;
    case kName:
        SetResult(result, Variant::Bstr(m_name));
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CSceneObject::InvokePut(DISPID id, std::span<const Variant> args) {
    switch (id) {
    case kFreeMove:
        SetFreeMove(BoolArg(args, 0));
        return S_OK;
    case kAnimation:
        SetAnimation(AnsiArg(args, 0));
        return S_OK;
    case kAnimationSpeed:
        SetAnimationSpeed(static_cast<std::uint32_t>(IntArg(args, 0)));
        return S_OK;
    case kAnimationDirection:
        SetAnimationDirection(DoubleArg(args, 0) != 0.0);
        return S_OK;
    case kAnimationLoop:
        SetAnimationTimes(IntArg(args, 0));
        return S_OK;
    case kVisible:
        SetVisible(BoolArg(args, 0));
        return S_OK;
    case kGroup:
        m_group = AnsiArg(args, 0);
        return S_OK;
    case kFreeMoveSpeed:
        m_freeMoveSpeed = static_cast<float>(DoubleArg(args, 0));
        return S_OK;
    case kFreeRotateSpeed:
        m_freeRotateSpeed = static_cast<float>(DoubleArg(args, 0));
        return S_OK;
    case kAnimationProgress:
        RequireInstance("animationprogress");
        m_instance->phase = static_cast<float>(DoubleArg(args, 0));
        return S_OK;
    case kEnabled:
        SetEnabled(BoolArg(args, 0));
        return S_OK;
    case kShadows:
        RequireInstance("shadows");
        m_instance->castsShadows = BoolArg(args, 0);
        return S_OK;
    case kLighdows:
        RequireInstance("lighdows");
        m_instance->castsLighdows = BoolArg(args, 0);
        return S_OK;
    case kContext:
        SetContext(AnsiArg(args, 0));
        return S_OK;
    case kSkin: {
        const std::string name = AnsiArg(args, 0);
        RequireInstance("skin");
        SetSkin(m_host, *m_instance, name);
        return S_OK;
    }
    case kPickName:
        m_pickName = AnsiArg(args, 0);
        return S_OK;
    case kMobile:
        m_mobile = BoolArg(args, 0);
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
