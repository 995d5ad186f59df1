#pragma once

#include "resources/HResult.h"
#include "script/Variant.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

// The automation interface every script-visible engine object implements,
// with the DISPIDs and flag values of OLE Automation.

using DISPID = std::int32_t;
constexpr DISPID DISPID_UNKNOWN = -1;

struct IID {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};
    bool operator==(const IID&) const = default;
};
inline constexpr IID IID_NULL{};

using DispatchFlags = std::uint16_t;
constexpr DispatchFlags DISPATCH_METHOD = 1;
constexpr DispatchFlags DISPATCH_PROPERTYGET = 2;
constexpr DispatchFlags DISPATCH_PROPERTYPUT = 4;
constexpr DispatchFlags DISPATCH_PROPERTYPUTREF = 8;

// Filled by Invoke when it returns DISP_E_EXCEPTION.
struct EXCEPINFO {
    std::uint16_t wCode = 0;
    std::u16string bstrDescription;
    HRESULT scode = S_OK;
};

// Shared between an object and everything that refers to it weakly (Variants,
// script proxies): cleared when the object is destroyed.
struct DispatchLife {
    class IDispatch* object;
};

class IDispatch {
public:
    IDispatch(const IDispatch&) = delete;
    IDispatch& operator=(const IDispatch&) = delete;

    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

    // Resolves names to DISPIDs; the result is that of the last name.
    virtual HRESULT GetIDsOfNames(const IID& riid, std::span<const std::u16string_view> names,
                                  DISPID* ids) = 0;
    // `args` are in the order the script wrote them. `result` and `excepinfo`
    // may be null.
    virtual HRESULT Invoke(DISPID id, const IID& riid, DispatchFlags flags, std::span<const Variant> args,
                           Variant* result, EXCEPINFO* excepinfo) = 0;
    // Not part of COM: JavaScript must decide whether obj.x is a function to
    // call or a value to read before it knows whether a call follows. Only
    // DISPIDs that keep their meaning for the object's whole life may answer
    // true, because the script side remembers the answer.
    virtual bool IsMethod(DISPID id) const = 0;

    const std::shared_ptr<DispatchLife>& Life() const { return m_life; }

protected:
    IDispatch() : m_life(std::make_shared<DispatchLife>(DispatchLife{this})) {}
    virtual ~IDispatch() { m_life->object = nullptr; }

private:
    std::shared_ptr<DispatchLife> m_life;
};
