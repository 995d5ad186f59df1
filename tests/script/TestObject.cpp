#include "TestObject.h"

#include "resources/CADVException.h"

namespace {

constexpr DispatchMember kMembers[] = {{u"value", false}, {u"echo", true},   {u"fail", true},
                                       {u"self", true},   {u"child", false}, {u"add", true}};
enum : DISPID { kValue = 0x10000, kEcho, kFail, kSelf, kChild, kAdd };

std::u16string Describe(const Variant& v) {
    switch (v.Type()) {
    case VT_BSTR:
        return u"s:" + v.BstrValue();
    case VT_I4:
        return u"i:" + std::u16string(1, static_cast<char16_t>(u'0' + v.IntValue() % 10));
    case VT_R8:
        return u"r";
    case VT_BOOL:
        return v.BoolValue() ? u"b:true" : u"b:false";
    case VT_NULL:
        return u"null";
    case VT_EMPTY:
        return u"empty";
    case VT_DISPATCH:
        return v.DispatchValue() != nullptr ? u"object" : u"nullobject";
    default:
        return u"?";
    }
}

} // namespace

TestObject::TestObject() : CDispatchBase(kMembers) {}

HRESULT TestObject::GetIDsOfNames(const IID& riid, std::span<const std::u16string_view> names, DISPID* ids) {
    for (const auto name : names) {
        lookedUp.emplace_back(name);
    }
    return CDispatchBase::GetIDsOfNames(riid, names, ids);
}

DISPID TestObject::FindName(std::u16string_view name) {
    if (name == u"broken") {
        throw CADVException("TestObject::FindName - The lookup of %s failed.", "broken");
    }
    DISPID id = kFirstChildId;
    for (const auto& entry : named) {
        if (entry.first == name) {
            return id;
        }
        ++id;
    }
    return DISPID_UNKNOWN;
}

HRESULT TestObject::InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                                 Variant* result) {
    if (id >= kFirstChildId) {
        auto it = named.begin();
        std::advance(it, id - kFirstChildId);
        SetResult(result, Variant::Dispatch(it->second.get()));
        return S_OK;
    }
    switch (id) {
    case kValue:
        if (flags & DISPATCH_PROPERTYPUT) {
            ExpectArgCount(args, 1);
            value = args[0];
        } else {
            SetResult(result, value);
        }
        return S_OK;
    case kEcho: {
        std::u16string joined;
        for (const Variant& arg : args) {
            joined += (joined.empty() ? u"" : u",") + Describe(arg);
        }
        SetResult(result, Variant::Bstr(joined));
        return S_OK;
    }
    case kFail:
        throw CADVException("TestObject::Fail - it broke with \"%s\"", "quotes");
    case kSelf:
        SetResult(result, Variant::Dispatch(this));
        return S_OK;
    case kChild:
        SetResult(result, Variant::Dispatch(child.get()));
        return S_OK;
    case kAdd:
        ExpectArgCount(args, 2);
        SetResult(result, Variant::I4(IntArg(args, 0) + IntArg(args, 1)));
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
