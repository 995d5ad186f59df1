#include "script/CDispatchBase.h"

#include "resources/CADVException.h"
#include "script/TextConversion.h"

std::uint32_t CDispatchBase::AddRef() {
    return ++m_refs;
}

std::uint32_t CDispatchBase::Release() {
    const std::uint32_t count = --m_refs;
    if (count == 0) {
        delete this;
    }
    return count;
}

HRESULT CDispatchBase::GetIDsOfNames(const IID& riid, std::span<const std::u16string_view> names,
                                     DISPID* ids) {
    if (riid != IID_NULL) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    HRESULT hr = DISP_E_UNKNOWNNAME;
    for (std::size_t n = 0; n < names.size(); ++n) {
        DISPID id = DISPID_UNKNOWN;
        for (std::size_t i = 0; i < m_members.size(); ++i) {
            if (m_members[i].name == names[n]) {
                id = kFirstMemberId + static_cast<DISPID>(i);
                break;
            }
        }
        if (id == DISPID_UNKNOWN) {
            // Lookups run inside the script engine, which no C++ exception may cross.
            try {
                id = FindName(names[n]);
            } catch (const CADVException&) {
                id = DISPID_UNKNOWN;
            }
        }
        ids[n] = id;
        hr = id == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
    }
    return hr;
}

HRESULT CDispatchBase::Invoke(DISPID id, const IID& /*riid*/, DispatchFlags flags,
                              std::span<const Variant> args, Variant* result, EXCEPINFO* excepinfo) {
    std::string text;
    try {
        return InvokeMember(id, flags, args, result);
    } catch (const EDispatchError& error) {
        return error.hr;
    } catch (const CADVException& e) {
        text = e.GetText();
    } catch (const std::exception& e) {
        // Anything else must not unwind through the script engine either.
        text = std::string("Exception:\n") + e.what();
    }
    if (excepinfo != nullptr) {
        excepinfo->wCode = 1000;
        excepinfo->bstrDescription = AnsiToWide(text);
        excepinfo->scode = DISP_E_EXCEPTION;
    }
    return DISP_E_EXCEPTION;
}

bool CDispatchBase::IsMethod(DISPID id) const {
    const auto index = static_cast<std::size_t>(id - kFirstMemberId);
    return id >= kFirstMemberId && index < m_members.size() && m_members[index].method;
}

DISPID CDispatchBase::FindName(std::u16string_view /*name*/) {
    return DISPID_UNKNOWN;
}

void CDispatchBase::ExpectArgCount(std::span<const Variant> args, std::size_t min, std::size_t max) {
    if (args.size() < min || args.size() > max) {
        throw EDispatchError{DISP_E_BADPARAMCOUNT};
    }
}

const std::u16string& CDispatchBase::StringArg(std::span<const Variant> args, std::size_t index) {
    if (args[index].Type() != VT_BSTR) {
        throw EDispatchError{DISP_E_BADVARTYPE};
    }
    return args[index].BstrValue();
}

std::string CDispatchBase::AnsiArg(std::span<const Variant> args, std::size_t index) {
    return WideToAnsi(StringArg(args, index));
}

Variant CDispatchBase::ConvertedArg(std::span<const Variant> args, std::size_t index, VARTYPE type) {
    Variant converted;
    if (FAILED(VariantChangeType(converted, args[index], type))) {
        throw EDispatchError{DISP_E_TYPEMISMATCH};
    }
    return converted;
}

std::int32_t CDispatchBase::IntArg(std::span<const Variant> args, std::size_t index) {
    return ConvertedArg(args, index, VT_I4).IntValue();
}

double CDispatchBase::DoubleArg(std::span<const Variant> args, std::size_t index) {
    return ConvertedArg(args, index, VT_R8).RealValue();
}

bool CDispatchBase::BoolArg(std::span<const Variant> args, std::size_t index) {
    return ConvertedArg(args, index, VT_BOOL).BoolValue() != VARIANT_FALSE;
}

void CDispatchBase::SetResult(Variant* result, Variant value) {
    if (result != nullptr) {
        *result = std::move(value);
    }
}
