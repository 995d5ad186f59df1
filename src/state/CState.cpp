#include "state/CState.h"

#include "resources/ByteWriter.h"
#include "resources/CADVException.h"
#include "script/TextConversion.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

// Little-endian field writers and a bounds-checked reader for the state record.

void PutU64(std::vector<std::uint8_t>& out, std::uint64_t value) {
    for (int shift = 0; shift < 64; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// Length, the UTF-16LE units, a terminating 0 unit.
void PutText(std::vector<std::uint8_t>& out, std::u16string_view text) {
    PutU32(out, static_cast<std::uint32_t>(text.size()));
    for (const char16_t unit : text) {
        PutU16(out, unit);
    }
    PutU16(out, 0);
}

class RecordReader {
public:
    RecordReader(std::span<const std::uint8_t> data, std::string_view source)
        : m_data(data), m_source(source) {}

    std::size_t Position() const { return m_pos; }
    std::size_t Remaining() const { return m_data.size() - m_pos; }

    std::uint64_t Take(std::size_t bytes, const char* what) {
        if (Remaining() < bytes) {
            Fail("the record ends inside %s", what);
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            value |= static_cast<std::uint64_t>(m_data[m_pos + i]) << (8 * i);
        }
        m_pos += bytes;
        return value;
    }

    std::int32_t TakeI32(const char* what) { return static_cast<std::int32_t>(Take(4, what)); }

    std::u16string TakeText(const char* what) {
        const std::int32_t length = TakeI32(what);
        if (length < 0 || static_cast<std::uint64_t>(length) * 2 + 2 > Remaining()) {
            Fail("%s has the impossible length %d", what, length);
        }
        std::u16string text;
        text.reserve(static_cast<std::size_t>(length));
        for (std::int32_t i = 0; i < length; ++i) {
            text += static_cast<char16_t>(Take(2, what));
        }
        if (Take(2, what) != 0) {
            Fail("%s is not terminated", what);
        }
        return text;
    }

    template <typename... Args> [[noreturn]] void Fail(const char* format, Args... args) const {
        char problem[160];
        std::snprintf(problem, sizeof problem, format, args...);
        throw CADVException("CState::Load - Damaged state record in %.*s at byte %zu: %s",
                            static_cast<int>(m_source.size()), m_source.data(), m_pos, problem);
    }

private:
    std::span<const std::uint8_t> m_data;
    std::string_view m_source;
    std::size_t m_pos = 0;
};

// The smallest variable a record can hold: name length, empty name, type.
constexpr std::size_t kSmallestVariable = 4 + 2 + 2;

Variant ReadValue(RecordReader& reader, VARTYPE vt) {
    switch (vt) {
    case VT_I4:
        return Variant::I4(reader.TakeI32("an integer value"));
    case VT_R4:
        return Variant::R4(std::bit_cast<float>(static_cast<std::uint32_t>(reader.Take(4, "a float value"))));
    case VT_R8:
        return Variant::R8(std::bit_cast<double>(reader.Take(8, "a double value")));
    case VT_BOOL:
        return Variant::BoolRaw(static_cast<VARIANT_BOOL>(reader.Take(2, "a boolean value")));
    case VT_BSTR:
        return Variant::Bstr(reader.TakeText("a text value"));
    default:
        if (!IsKnownVarType(vt)) {
            reader.Fail("unknown value type %u", static_cast<unsigned>(vt));
        }
        // The record keeps only the type of other values.
        return Variant::ZeroOf(vt);
    }
}

void WriteValue(std::vector<std::uint8_t>& out, const Variant& value) {
    PutU16(out, value.Type());
    switch (value.Type()) {
    case VT_I4:
        PutU32(out, static_cast<std::uint32_t>(value.IntValue()));
        break;
    case VT_R4:
        PutU32(out, std::bit_cast<std::uint32_t>(static_cast<float>(value.RealValue())));
        break;
    case VT_R8:
        PutU64(out, std::bit_cast<std::uint64_t>(value.RealValue()));
        break;
    case VT_BOOL:
        PutU16(out, static_cast<std::uint16_t>(value.BoolValue()));
        break;
    case VT_BSTR:
        PutText(out, value.BstrValue());
        break;
    default:
        break;
    }
}

template <typename Number> void AppendNumber(std::string& out, Number number) {
    if constexpr (std::is_floating_point_v<Number>) {
        if (!std::isfinite(number)) {
            out += "null";
            return;
        }
    }
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number);
    out.append(buffer, end);
}

void AppendJsonString(std::string& out, std::u16string_view text) {
    out += '"';
    for (const char c : WideToUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    out += '"';
}

void AppendJsonValue(std::string& out, const Variant& value) {
    switch (value.Type()) {
    case VT_I2:
    case VT_I4:
        AppendNumber(out, value.IntValue());
        break;
    case VT_R4:
        AppendNumber(out, static_cast<float>(value.RealValue()));
        break;
    case VT_R8:
        AppendNumber(out, value.RealValue());
        break;
    case VT_BOOL:
        out += value.BoolValue() != 0 ? "true" : "false";
        break;
    case VT_BSTR:
        AppendJsonString(out, value.BstrValue());
        break;
    case VT_DISPATCH:
        out += "\"[object]\"";
        break;
    default:
        out += "null";
        break;
    }
}

} // namespace

std::pair<DISPID, bool> CState::Define(std::u16string_view name) {
    const auto found = m_names.find(name);
    if (found != m_names.end()) {
        return {found->second, false};
    }
    const DISPID id = m_nextId++;
    m_names.emplace(std::u16string(name), id);
    return {id, true};
}

void CState::SetVariant(std::u16string_view name, const Variant& value) {
    m_values[Define(name).first] = value;
    m_modified = true;
}

Variant CState::GetVariant(std::u16string_view name) const {
    const auto found = m_names.find(name);
    if (found == m_names.end()) {
        throw CADVException("CState::GetVariant - State variable %s is not defined!",
                            WideToAnsi(name).c_str());
    }
    const auto value = m_values.find(found->second);
    return value != m_values.end() ? value->second : Variant();
}

const Variant* CState::FindValue(std::u16string_view name) const {
    const auto found = m_names.find(name);
    if (found == m_names.end()) {
        return nullptr;
    }
    const auto value = m_values.find(found->second);
    return value != m_values.end() ? &value->second : nullptr;
}

void CState::SetBool(std::u16string_view name, bool flag) {
    SetVariant(name, Variant::Bool(flag));
}

bool CState::GetBool(std::u16string_view name) const {
    const Variant value = GetVariant(name);
    if (value.Type() != VT_BOOL) {
        throw CADVException("CState::GetBool - Key %s has no boolean value", WideToAnsi(name).c_str());
    }
    return value.BoolValue() != 0;
}

std::u16string CState::FirstName() {
    m_cursor = m_names.begin();
    return m_cursor != m_names.end() ? m_cursor->first : std::u16string();
}

std::u16string CState::NextName() {
    if (m_cursor == m_names.end() || ++m_cursor == m_names.end()) {
        return {};
    }
    return m_cursor->first;
}

void CState::Backup() {
    m_backup = m_values;
}

void CState::Restore() {
    m_values = std::move(m_backup);
    m_backup.clear();
}

void CState::Save(std::vector<std::uint8_t>& out) const {
    PutU32(out, static_cast<std::uint32_t>(m_names.size()));
    for (const auto& [name, id] : m_names) {
        PutText(out, name);
        const auto value = m_values.find(id);
        WriteValue(out, value != m_values.end() ? value->second : Variant());
    }
}

std::size_t CState::Load(std::span<const std::uint8_t> data, std::string_view source) {
    RecordReader reader(data, source);
    const std::int32_t count = reader.TakeI32("the variable count");
    if (count < 0 || static_cast<std::uint64_t>(count) * kSmallestVariable > reader.Remaining()) {
        reader.Fail("the variable count %d does not fit the record", count);
    }
    // Read everything first so a damaged record leaves the store as it was.
    std::vector<std::pair<std::u16string, Variant>> variables;
    variables.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        std::u16string name = reader.TakeText("a variable name");
        const auto vt = static_cast<VARTYPE>(reader.Take(2, "a value type"));
        variables.emplace_back(std::move(name), ReadValue(reader, vt));
    }
    m_names.clear();
    m_values.clear();
    m_cursor = m_names.end();
    for (const auto& [name, value] : variables) {
        SetVariant(name, value);
    }
    return reader.Position();
}

std::string CState::ToJson() const {
    std::string out = "{";
    for (const auto& [name, id] : m_names) {
        if (out.size() > 1) {
            out += ", ";
        }
        AppendJsonString(out, name);
        out += ": ";
        AppendJsonValue(out, ValueOf(id));
    }
    out += "}";
    return out;
}

HRESULT CState::GetIDsOfNames(const IID& riid, std::span<const std::u16string_view> names, DISPID* ids) {
    if (riid != IID_NULL) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto fixed = std::find(kFixedNames.begin(), kFixedNames.end(), names[i]);
        if (fixed != kFixedNames.end()) {
            ids[i] = kCountId + static_cast<DISPID>(fixed - kFixedNames.begin());
        } else {
            // Naming a variable creates it, empty, without marking the store modified.
            const auto [id, created] = Define(names[i]);
            if (created) {
                m_values.emplace(id, Variant());
            }
            ids[i] = id;
        }
    }
    return S_OK;
}

bool CState::IsMethod(DISPID id) const {
    return id == kCountId || id == kNameId || id == kValueId;
}

const std::pair<const std::u16string, DISPID>* CState::NameAt(std::int32_t index) const {
    auto it = m_names.begin();
    for (std::int32_t i = 0; i < index && it != m_names.end(); ++i) {
        ++it;
    }
    return it != m_names.end() ? &*it : nullptr;
}

Variant CState::ValueOf(DISPID id) const {
    const auto found = m_values.find(id);
    return found != m_values.end() ? found->second : Variant::Null();
}

HRESULT CState::InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args, Variant* result) {
    if (flags & DISPATCH_METHOD) {
        if (id == kCountId) {
            SetResult(result, Variant::I4(static_cast<std::int32_t>(m_names.size())));
            return S_OK;
        }
        if (id != kNameId && id != kValueId) {
            return DISP_E_TYPEMISMATCH;
        }
        ExpectArgCount(args, 1);
        if (args[0].Type() != VT_I4) {
            return DISP_E_BADVARTYPE;
        }
        // Past the end nothing answers; a negative index answers with the first.
        const auto* entry = NameAt(args[0].IntValue());
        if (entry == nullptr) {
            SetResult(result, Variant());
        } else if (id == kNameId) {
            SetResult(result, Variant::Bstr(entry->first));
        } else {
            SetResult(result, ValueOf(entry->second));
        }
        return S_OK;
    }
    if (flags & DISPATCH_PROPERTYGET) {
        if (result == nullptr) {
            return DISP_E_BADPARAMCOUNT;
        }
        *result = ValueOf(id);
        return S_OK;
    }
    if (flags & DISPATCH_PROPERTYPUT) {
        ExpectArgCount(args, 1);
        m_values[id] = args[0];
        m_modified = true;
        return S_OK;
    }
    if (flags & DISPATCH_PROPERTYPUTREF) {
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}
