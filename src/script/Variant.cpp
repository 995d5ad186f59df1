#include "script/Variant.h"

#include "script/Dispatch.h"

#include <charconv>
#include <cmath>
#include <limits>

bool IsKnownVarType(VARTYPE vt) {
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_BOOL:
        return true;
    default:
        return false;
    }
}

Variant Variant::Null() {
    Variant v;
    v.m_vt = VT_NULL;
    return v;
}

Variant Variant::I2(std::int16_t value) {
    Variant v;
    v.m_vt = VT_I2;
    v.m_int = value;
    return v;
}

Variant Variant::I4(std::int32_t value) {
    Variant v;
    v.m_vt = VT_I4;
    v.m_int = value;
    return v;
}

Variant Variant::R4(float value) {
    Variant v;
    v.m_vt = VT_R4;
    v.m_real = value;
    return v;
}

Variant Variant::R8(double value) {
    Variant v;
    v.m_vt = VT_R8;
    v.m_real = value;
    return v;
}

Variant Variant::Bool(bool value) {
    return BoolRaw(value ? VARIANT_TRUE : VARIANT_FALSE);
}

Variant Variant::BoolRaw(VARIANT_BOOL value) {
    Variant v;
    v.m_vt = VT_BOOL;
    v.m_int = value;
    return v;
}

Variant Variant::Bstr(std::u16string value) {
    Variant v;
    v.m_vt = VT_BSTR;
    v.m_text = std::move(value);
    return v;
}

Variant Variant::Dispatch(IDispatch* object) {
    Variant v;
    v.m_vt = VT_DISPATCH;
    if (object != nullptr) {
        v.m_object = object->Life();
    }
    return v;
}

Variant Variant::Record(RecordFields fields) {
    Variant v;
    v.m_vt = VT_RECORD;
    v.m_record = std::make_shared<const RecordFields>(std::move(fields));
    return v;
}

Variant Variant::ZeroOf(VARTYPE vt) {
    Variant v;
    v.m_vt = vt;
    return v;
}

IDispatch* Variant::DispatchValue() const {
    return m_object ? m_object->object : nullptr;
}

bool Variant::operator==(const Variant& other) const {
    if (m_vt != other.m_vt) {
        return false;
    }
    switch (m_vt) {
    case VT_I2:
    case VT_I4:
    case VT_BOOL:
        return m_int == other.m_int;
    case VT_R4:
    case VT_R8:
        return m_real == other.m_real;
    case VT_BSTR:
        return m_text == other.m_text;
    case VT_DISPATCH:
        return DispatchValue() == other.DispatchValue();
    case VT_RECORD:
        return RecordValue() == other.RecordValue();
    default:
        return true;
    }
}

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// A whole decimal number with optional blanks around it, as automation accepts
// numeric strings; anything else in the text is a type mismatch.
bool ParseNumber(std::u16string_view text, double& value) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    std::string narrow;
    for (const char16_t c : text) {
        // from_chars would also take "inf" and "nan", which automation does not.
        if (!(c >= u'0' && c <= u'9') && c != u'.' && c != u'e' && c != u'E' && c != u'+' && c != u'-') {
            return false;
        }
        narrow += static_cast<char>(c);
    }
    const char* first = narrow.data();
    const char* last = first + narrow.size();
    if (first != last && *first == '+') {
        ++first;
    }
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    return ec == std::errc() && end == last;
}

HRESULT ToDouble(const Variant& in, double& value) {
    switch (in.Type()) {
    case VT_EMPTY:
        value = 0.0;
        return S_OK;
    case VT_I2:
    case VT_I4:
    case VT_BOOL:
        value = in.IntValue();
        return S_OK;
    case VT_R4:
    case VT_R8:
        value = in.RealValue();
        return S_OK;
    case VT_BSTR:
        return ParseNumber(in.BstrValue(), value) ? S_OK : DISP_E_TYPEMISMATCH;
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

HRESULT ToInteger(double value, double low, double high, std::int32_t& out) {
    if (std::isnan(value)) {
        return DISP_E_OVERFLOW;
    }
    const double rounded = std::nearbyint(value); // default rounding mode: half to even
    if (rounded < low || rounded > high) {
        return DISP_E_OVERFLOW;
    }
    out = static_cast<std::int32_t>(rounded);
    return S_OK;
}

} // namespace

HRESULT VariantChangeType(Variant& out, const Variant& in, VARTYPE vt) {
    if (in.Type() == vt && vt != VT_BSTR) {
        out = in;
        return S_OK;
    }
    double value = 0.0;
    if (const HRESULT hr = ToDouble(in, value); FAILED(hr)) {
        return hr;
    }
    std::int32_t integer = 0;
    switch (vt) {
    case VT_I2:
        if (const HRESULT hr = ToInteger(value, -32768.0, 32767.0, integer); FAILED(hr)) {
            return hr;
        }
        out = Variant::I2(static_cast<std::int16_t>(integer));
        return S_OK;
    case VT_I4:
        if (const HRESULT hr = ToInteger(value, -2147483648.0, 2147483647.0, integer); FAILED(hr)) {
            return hr;
        }
        out = Variant::I4(integer);
        return S_OK;
    case VT_R4:
        if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max()) {
            return DISP_E_OVERFLOW;
        }
        out = Variant::R4(static_cast<float>(value));
        return S_OK;
    case VT_R8:
        out = Variant::R8(value);
        return S_OK;
    case VT_BOOL:
        out = Variant::Bool(value != 0.0);
        return S_OK;
    default:
        return DISP_E_TYPEMISMATCH;
    }
}
