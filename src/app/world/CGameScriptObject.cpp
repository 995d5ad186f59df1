#include "app/world/CGameScriptObject.h"

#include "app/CCameraControl.h"
#include "app/CGameScreens.h"
#include "app/commands/CCommandFlow.h"
#include "app/commands/CMessageBoxFlow.h"
#include "app/screens/CContextWindowScreen.h"
#include "app/screens/CMessageBoxScreen.h"
#include "app/world/CGameWorld.h"
#include "resources/CADVException.h"
#include "resources/CParameterParser.h"
#include "scene/CScene.h"

#include <cstdint>

namespace {

enum Member : DISPID {
    kLoadScene = CDispatchBase::kFirstMemberId,
    kAddPolygon,
    kMessageBox,
    kSetCamera,
    kEnablePolygons,
    kDisablePolygons,
    kSetGameCommands,
    kMessageBoxOpen,
    kCurrentScene,
    kNotDoingAnything,
    kSetZoom,
};

// The DISPIDs are the positions in this table, so its order is fixed.
constexpr DispatchMember kMembers[] = {
    {u"loadscene", true},         {u"addpolygon", true},      {u"messagebox", true},
    {u"setcamera", true},         {u"enablepolygons", true},  {u"disablepolygons", true},
    {u"setgamecommands", true},   {u"messageboxopen", false}, {u"currentscene", false},
    {u"notdoinganything", false}, {u"setzoom", true},
};

} // namespace

CGameScriptObject::CGameScriptObject(CGameWorld& world, CMessageBoxFlow& messageBoxes, CCameraControl& camera,
                                     CCommandFlow& commands, const CGameScreens& screens)
    : CDispatchBase(ScriptMembers()), m_world(world), m_messageBoxes(messageBoxes), m_camera(camera),
      m_commands(commands), m_screens(screens) {}

std::span<const DispatchMember> CGameScriptObject::ScriptMembers() {
    return kMembers;
}

HRESULT CGameScriptObject::InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args, Variant* result) {
    if (id < kLoadScene || id > kSetZoom) {
        return DISP_E_MEMBERNOTFOUND;
    }
    const bool isMethod = kMembers[id - kLoadScene].method;
    if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) {
        return S_OK;
    }
    if (!isMethod && ((flags & DISPATCH_PROPERTYGET) == 0 || !result)) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (isMethod && (flags & DISPATCH_METHOD) == 0) {
        return DISP_E_MEMBERNOTFOUND;
    }

    switch (id) {
    case kLoadScene:
        ExpectArgCount(args, 1);
        // Only recorded: scenes switch at the start of the next frame.
        m_world.RequestScene(AnsiArg(args, 0));
        return S_OK;
    case kMessageBox: {
        ExpectArgCount(args, 1, 2);
        CMessageBoxQueue::Entry entry{AnsiArg(args, 0), {}, {}};
        if (args.size() == 2) {
            const CParameterParser parameters(AnsiArg(args, 1));
            entry.event = parameters.GetParameterDefault("event", "");
            entry.eventParameter = parameters.GetParameterDefault("eventparameter", "");
        }
        m_messageBoxes.Push(std::move(entry));
        return S_OK;
    }
    case kSetGameCommands:
        ExpectArgCount(args, 2, SIZE_MAX);
        m_commands.SetGameCommands(SplitCommaList(AnsiArg(args, 0)), SplitCommaList(AnsiArg(args, 1)));
        return S_OK;
    case kAddPolygon:
        return AddPolygon(args);
    case kSetCamera:
        ExpectArgCount(args, 1);
        m_camera.SetCamera(AnsiArg(args, 0), m_world.Now(),
                           [this](const std::string& event, const std::string& parameter) {
                               m_world.FireSceneEvent(event, parameter);
                           });
        return S_OK;
    case kSetZoom:
        ExpectArgCount(args, 1);
        m_camera.SetZoom(AnsiArg(args, 0), m_world.Now());
        return S_OK;
    case kEnablePolygons:
    case kDisablePolygons:
        return SwitchPolygons(id == kEnablePolygons, args);
    case kMessageBoxOpen:
        SetResult(result, Variant::Bool(m_screens.MessageBox().Visible()));
        return S_OK;
    case kCurrentScene:
        SetResult(result, Variant::Dispatch(m_world.Scene()));
        return S_OK;
    case kNotDoingAnything:
        SetResult(result, Variant::Bool(NotDoingAnything()));
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CGameScriptObject::AddPolygon(std::span<const Variant> args) {
    // Name, type word, event object, then at least three x, z pairs.
    if (args.size() <= 8 || args.size() % 2 == 0) {
        throw EDispatchError{DISP_E_BADPARAMCOUNT};
    }
    const std::string name = AnsiArg(args, 0);
    const std::string type = AnsiArg(args, 1);
    CNamedPolygon entry;
    entry.eventObject = AnsiArg(args, 2);
    for (std::size_t i = 3; i + 1 < args.size(); i += 2) {
        entry.outline.AddPoint(static_cast<float>(DoubleArg(args, i)), static_cast<float>(DoubleArg(args, i + 1)),
                               false);
    }
    entry.type = CPolygonTable::ParseType(type);
    m_world.Polygons().Set(name, std::move(entry));
    return S_OK;
}

HRESULT CGameScriptObject::SwitchPolygons(bool enable, std::span<const Variant> args) {
    ExpectArgCount(args, 1, SIZE_MAX);
    CScene* scene = m_world.Scene();
    for (std::size_t i = 0; i < args.size(); ++i) {
        // Checked as reached: names before a wrong argument keep their change.
        if (CNamedPolygon* polygon = m_world.Polygons().Find(AnsiArg(args, i))) {
            polygon->enabled = enable;
        }
        if (!enable && scene != nullptr) {
            scene->RebuildNavigation();
        }
    }
    if (enable && scene != nullptr) {
        scene->RebuildNavigation();
    }
    return S_OK;
}

bool CGameScriptObject::NotDoingAnything() const {
    return !m_screens.MessageBox().Visible() && m_commands.CommandText().empty() &&
           !m_screens.ContextWindow().Visible();
}
