#include "script/CGlobalVars.h"

#include "script/CScriptEngine.h"

namespace {

constexpr DispatchMember kMembers[] = {{u"addevent", true}, {u"signal", true}};
constexpr DISPID kAddEvent = CDispatchBase::kFirstMemberId;
constexpr DISPID kSignal = CDispatchBase::kFirstMemberId + 1;

} // namespace

const std::u16string_view CGlobalVars::kNames[3] = {u"addevent", u"signal", u"debug_messagebox"};

CGlobalVars::CGlobalVars(CScriptEngine& engine) : CDispatchBase(kMembers), m_engine(engine) {}

bool CGlobalVars::IsMethod(DISPID id) const {
    return id == kDebugMessageBoxId || CDispatchBase::IsMethod(id);
}

DISPID CGlobalVars::FindName(std::u16string_view name) {
    return name == u"debug_messagebox" ? kDebugMessageBoxId : DISPID_UNKNOWN;
}

HRESULT CGlobalVars::InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                                  Variant* result) {
    if (flags & DISPATCH_METHOD) {
        if (id == kAddEvent) {
            ExpectArgCount(args, 2, 3);
            const std::u16string& name = StringArg(args, 0);
            const std::u16string& param = StringArg(args, 1);
            const std::int32_t delay = args.size() == 3 ? IntArg(args, 2) : 0;
            m_engine.AddEvent(name, param, delay);
            return S_OK;
        }
        if (id == kSignal) {
            ExpectArgCount(args, 1);
            m_engine.Signal(StringArg(args, 0));
            return S_OK;
        }
        // debug_messagebox resolves but has no behaviour, like every other id.
        return DISP_E_BADPARAMCOUNT;
    }
    if (flags & DISPATCH_PROPERTYGET) {
        SetResult(result, Variant());
        return S_OK;
    }
    if (flags & DISPATCH_PROPERTYPUT) {
        return args.empty() ? DISP_E_BADPARAMCOUNT : S_OK;
    }
    return S_OK;
}
