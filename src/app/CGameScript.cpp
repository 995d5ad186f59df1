// The script face of the game: the "game" object every script engine knows.
#include "app/CGame.h"

#include "resources/CADVException.h"
#include "scene/CParameterParser.h"
#include "script/TextConversion.h"

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
    {u"loadscene", true},         {u"addpolygon", true},     {u"messagebox", true},
    {u"setcamera", true},         {u"enablepolygons", true}, {u"disablepolygons", true},
    {u"setgamecommands", true},   {u"messageboxopen", false}, {u"currentscene", false},
    {u"notdoinganything", false}, {u"setzoom", true},
};

// Cut at every comma; pieces are kept as they are, empty ones included.
std::vector<std::string> SplitCommaList(const std::string& text) {
    std::vector<std::string> pieces;
    if (text.empty()) {
        return pieces;
    }
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        pieces.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) {
            return pieces;
        }
        start = comma + 1;
    }
}

} // namespace

std::span<const DispatchMember> CGame::ScriptMembers() { return kMembers; }

HRESULT CGame::InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args, Variant* result) {
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
        m_pendingScene = AnsiArg(args, 0);
        return S_OK;
    case kMessageBox: {
        ExpectArgCount(args, 1, 2);
        MessageBoxEntry entry{AnsiArg(args, 0), {}, {}};
        if (args.size() == 2) {
            const CParameterParser parameters(AnsiArg(args, 1));
            entry.event = parameters.GetParameterDefault("event", "");
            entry.eventParameter = parameters.GetParameterDefault("eventparameter", "");
        }
        m_messageBoxes.push_back(std::move(entry));
        return S_OK;
    }
    case kSetGameCommands:
        ExpectArgCount(args, 2, SIZE_MAX);
        m_objectCommands = SplitCommaList(AnsiArg(args, 0));
        m_freeCommands = SplitCommaList(AnsiArg(args, 1));
        return S_OK;
    case kCurrentScene:
        // No scene is ever loaded yet.
        SetResult(result, Variant::Dispatch(nullptr));
        return S_OK;
    default:
        // Polygons, the camera and the message box state need the scene and screen
        // subsystems; until they exist a script learns so instead of getting a false answer.
        throw CADVException("CGame::Invoke - game.%s is not available in this version of the engine",
                            WideToAnsi(kMembers[id - kLoadScene].name).c_str());
    }
}
