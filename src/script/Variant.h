#pragma once

#include "resources/HResult.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class IDispatch;
struct DispatchLife;

// The value type codes of OLE Automation. Savegames store them, so the numbers
// are fixed.
using VARTYPE = std::uint16_t;
constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_NULL = 1;
constexpr VARTYPE VT_I2 = 2;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_R4 = 4;
constexpr VARTYPE VT_R8 = 5;
constexpr VARTYPE VT_BSTR = 8;
constexpr VARTYPE VT_DISPATCH = 9;
constexpr VARTYPE VT_BOOL = 11;
// Engine results made of named numbers (positions, bounds). Scripts receive
// them as plain objects they own, so no engine object has to outlive the call.
constexpr VARTYPE VT_RECORD = 36;

using VARIANT_BOOL = std::int16_t;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// True for the type codes this engine knows.
bool IsKnownVarType(VARTYPE vt);

// A script value. Object references are weak: a Variant never keeps an engine
// object alive, and reads as a null object once the engine has destroyed it, so
// a stored reference can never reach freed memory.
class Variant {
public:
    Variant() = default;

    static Variant Null();
    static Variant I2(std::int16_t value);
    static Variant I4(std::int32_t value);
    static Variant R4(float value);
    static Variant R8(double value);
    static Variant Bool(bool value);
    static Variant BoolRaw(VARIANT_BOOL value);
    static Variant Bstr(std::u16string value);
    static Variant Dispatch(IDispatch* object);
    using RecordFields = std::vector<std::pair<std::u16string, double>>;
    static Variant Record(RecordFields fields);
    // An empty value of a given type: 0, false, "", or a null object.
    static Variant ZeroOf(VARTYPE vt);

    VARTYPE Type() const { return m_vt; }
    // Valid for VT_I2, VT_I4 and VT_BOOL.
    std::int32_t IntValue() const { return m_int; }
    VARIANT_BOOL BoolValue() const { return static_cast<VARIANT_BOOL>(m_int); }
    // Valid for VT_R4 and VT_R8.
    double RealValue() const { return m_real; }
    const std::u16string& BstrValue() const { return m_text; }
    // Null when none was given or the object has been destroyed since.
    IDispatch* DispatchValue() const;
    // Valid for VT_RECORD: the fields in the order they were given.
    const RecordFields& RecordValue() const { return *m_record; }

    bool operator==(const Variant& other) const;

private:
    VARTYPE m_vt = VT_EMPTY;
    std::int32_t m_int = 0;
    double m_real = 0.0;
    std::u16string m_text;
    std::shared_ptr<DispatchLife> m_object;
    std::shared_ptr<const RecordFields> m_record;
};

// Converts `in` to the numeric type `vt` (VT_I2, VT_I4, VT_R4, VT_R8, VT_BOOL)
// the way OLE Automation does: floats round half to even, strings are parsed
// as decimal numbers (surrounding blanks allowed), empty is 0. Returns S_OK,
// DISP_E_TYPEMISMATCH (not a number, null, an object) or DISP_E_OVERFLOW; on
// failure `out` is left unchanged.
HRESULT VariantChangeType(Variant& out, const Variant& in, VARTYPE vt);
