// The scene as scripts see it: "scene" with its member table, and every
// object of the scene reachable by name (scene.door).
#include "scene/CScene.h"

#include "render/C3DEngine2.h"
#include "scene/CSceneObject.h"
#include "scene/ISceneHost.h"

#include <array>
#include <limits>

namespace {

enum Member : DISPID {
    kAddObject = CDispatchBase::kFirstMemberId,
    kAddLight,
    kEnableLight,
    kDisableLight,
    kSetAmbientLight,
    kEnableGroup,
    kDisableGroup,
    kSetFog,
    kAddShape,
    kSetShadowsFactor,
    kDeleteObject,
    kDisableLightsWithCameraDistance,
    kSetLightFactor,
    kEnableLightsWithCameraDistance,
    kSortObjects,
    kSortedObject,
    kUpdateLight,
};

constexpr std::array<DispatchMember, 17> kMembers{{
    {u"addobject", true},
    {u"addlight", true},
    {u"enablelight", true},
    {u"disablelight", true},
    {u"setambientlight", true},
    {u"enablegroup", true},
    {u"disablegroup", true},
    {u"setfog", true},
    {u"addshape", true},
    {u"setshadowsfactor", true},
    {u"deleteobject", true},
    {u"disablelightswithcameradistance", true},
    {u"setlightfactor", true},
    {u"enablelightswithcameradistance", true},
    {u"sortobjects", true},
    {u"sortedobject", true},
    {u"updatelight", true},
}};

} // namespace

std::span<const DispatchMember> CScene::ScriptMembers() {
    return kMembers;
}

// Objects are numbered among the named children, so that no object id can
// ever be taken for a member of the table. The name dictionary keeps each
// object's id beside it, so a named object without an id cannot occur.
DISPID CScene::FindName(std::u16string_view name) {
    const auto found = m_names.find(name);
    return found != m_names.end() ? kFirstChildId + static_cast<DISPID>(found->second.id) : DISPID_UNKNOWN;
}

HRESULT CScene::InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args, Variant* result) {
    if ((flags & DISPATCH_METHOD) != 0) {
        return InvokeTableMember(id, args, result);
    }
    if ((flags & DISPATCH_PROPERTYGET) != 0) {
        // An object deleted since its name was looked up reads as null.
        const auto found =
            id >= kFirstChildId ? m_ids.find(static_cast<std::uint32_t>(id - kFirstChildId)) : m_ids.end();
        SetResult(result, found != m_ids.end() ? Variant::Dispatch(found->second) : Variant::Null());
    }
    return S_OK;
}

HRESULT CScene::InvokeTableMember(DISPID id, std::span<const Variant> args, Variant* result) {
    switch (id) {
    case kAddObject:
        ExpectArgCount(args, 1);
        AddObject(AnsiArg(args, 0));
        return S_OK;
    case kAddLight:
        ExpectArgCount(args, 1);
        AddLight(AnsiArg(args, 0));
        return S_OK;
    case kSetAmbientLight:
        ExpectArgCount(args, 1);
        SetAmbientLight(AnsiArg(args, 0));
        return S_OK;
    case kEnableGroup:
    case kDisableGroup:
        // Groups take effect one by one: a bad argument stops after those before it.
        ExpectArgCount(args, 1, std::numeric_limits<std::size_t>::max());
        for (std::size_t i = 0; i < args.size(); ++i) {
            EnableGroup(AnsiArg(args, i), id == kEnableGroup);
        }
        return S_OK;
    case kSetFog:
        ExpectArgCount(args, 1);
        SetFog(AnsiArg(args, 0));
        return S_OK;
    case kAddShape:
        ExpectArgCount(args, 1);
        AddShape(AnsiArg(args, 0));
        return S_OK;
    case kSetShadowsFactor:
        ExpectArgCount(args, 1);
        m_host.Renderer().SetShadowStrength(static_cast<float>(DoubleArg(args, 0)));
        return S_OK;
    case kDeleteObject:
        ExpectArgCount(args, 1);
        DeleteObject(StringArg(args, 0));
        return S_OK;
    case kDisableLightsWithCameraDistance:
    case kEnableLightsWithCameraDistance:
        ExpectArgCount(args, 0, 1);
        if (!args.empty()) {
            SwitchLightsByCameraDistance(static_cast<float>(DoubleArg(args, 0)),
                                         id == kEnableLightsWithCameraDistance);
        }
        return S_OK;
    case kSetLightFactor:
        ExpectArgCount(args, 1);
        m_host.Renderer().SetBrightness(static_cast<float>(DoubleArg(args, 0)));
        return S_OK;
    case kSortObjects:
        ExpectArgCount(args, 1);
        SetResult(result, Variant::I4(SortObjects(AnsiArg(args, 0))));
        return S_OK;
    case kSortedObject: {
        ExpectArgCount(args, 1);
        const std::int32_t index = IntArg(args, 0);
        const auto at = static_cast<std::uint32_t>(index);
        SetResult(result, at < m_sorted.size() ? Variant::Dispatch(m_sorted[at]) : Variant::I4(index));
        return S_OK;
    }
    case kUpdateLight:
        ExpectArgCount(args, 2);
        UpdateLight(AnsiArg(args, 0), AnsiArg(args, 1));
        return S_OK;
    default:
        // enablelight and disablelight are reserved names without behaviour.
        return DISP_E_MEMBERNOTFOUND;
    }
}
