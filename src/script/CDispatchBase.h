#pragma once

#include "script/Dispatch.h"

#include <atomic>
#include <span>
#include <string>
#include <string_view>

// One entry of a script object's member table; its DISPID is 0x10000 plus its
// position. Names are lower-case and matched exactly.
struct DispatchMember {
    std::u16string_view name;
    bool method;
};

// Thrown by the argument helpers below and turned into the HRESULT by Invoke,
// so member code reads as a straight line of checks.
struct EDispatchError {
    HRESULT hr;
};

// The automation plumbing every script object shares: the reference count, the
// member-table lookup, named children, and the conversion of engine exceptions
// into script errors. A script object writes its table and InvokeMember.
class CDispatchBase : public IDispatch {
public:
    static constexpr DISPID kFirstMemberId = 0x10000;
    static constexpr DISPID kFirstChildId = 0x20000;

    std::uint32_t AddRef() override;
    // Deletes the object when the count reaches 0.
    std::uint32_t Release() override;

    HRESULT GetIDsOfNames(const IID& riid, std::span<const std::u16string_view> names, DISPID* ids) override;
    // Runs InvokeMember; a CADVException becomes DISP_E_EXCEPTION with wCode
    // 1000 and the exception text, EDispatchError becomes its code.
    HRESULT Invoke(DISPID id, const IID& riid, DispatchFlags flags, std::span<const Variant> args,
                   Variant* result, EXCEPINFO* excepinfo) final;
    bool IsMethod(DISPID id) const override;

protected:
    explicit CDispatchBase(std::span<const DispatchMember> members = {}) : m_members(members) {}
    ~CDispatchBase() override = default;

    // Resolves a name that is not in the member table (named children, special
    // names); DISPID_UNKNOWN when there is none. A lookup that throws
    // CADVException counts as an unknown name.
    virtual DISPID FindName(std::u16string_view name);
    virtual HRESULT InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                                 Variant* result) = 0;

    // Argument helpers; each throws EDispatchError with the code scripts expect.
    static void ExpectArgCount(std::span<const Variant> args, std::size_t min, std::size_t max);
    static void ExpectArgCount(std::span<const Variant> args, std::size_t count) {
        ExpectArgCount(args, count, count);
    }
    // A string argument must be a string: DISP_E_BADVARTYPE otherwise.
    static const std::u16string& StringArg(std::span<const Variant> args, std::size_t index);
    // The string argument as 8-bit engine text.
    static std::string AnsiArg(std::span<const Variant> args, std::size_t index);
    // Converted as automation converts; what does not convert is DISP_E_TYPEMISMATCH.
    static std::int32_t IntArg(std::span<const Variant> args, std::size_t index);
    static double DoubleArg(std::span<const Variant> args, std::size_t index);
    static bool BoolArg(std::span<const Variant> args, std::size_t index);
    static void SetResult(Variant* result, Variant value);

private:
    static Variant ConvertedArg(std::span<const Variant> args, std::size_t index, VARTYPE type);

    std::atomic<std::uint32_t> m_refs{1};
    std::span<const DispatchMember> m_members;
};
