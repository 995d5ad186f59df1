#pragma once

#include "script/CDispatchBase.h"

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A store of named variables. Scripts see it as an object whose properties
// spring into existence when named (state.x = 1; if (state.seen) ...); the
// engine reads and writes the same variables by name. The game has three:
// "state", "inventory" and "setup".
class CState : public CDispatchBase {
public:
    static constexpr DISPID kCountId = 0x100000;
    static constexpr DISPID kNameId = 0x100001;
    static constexpr DISPID kValueId = 0x100002;
    // The store's own methods, which no variable can be named: the name at
    // position i has the DISPID kCountId + i.
    static constexpr std::array<std::u16string_view, 3> kFixedNames{u"count", u"name", u"value"};

    CState() : m_cursor(m_names.end()) {}

    void SetVariant(std::u16string_view name, const Variant& value);
    // Throws CADVException when the name was never defined.
    Variant GetVariant(std::u16string_view name) const;
    // The stored value without a copy, for what is read every frame; null when
    // nothing was ever stored under the name (a script may have named it only).
    const Variant* FindValue(std::u16string_view name) const;
    void SetBool(std::u16string_view name, bool flag);
    // Throws CADVException when undefined or not a boolean.
    bool GetBool(std::u16string_view name) const;

    // Walk the names in store order; the empty string ends the walk.
    std::u16string FirstName();
    std::u16string NextName();

    void Backup();
    void Restore();

    // Set by every stored value, cleared only by whoever reads it.
    bool IsModified() const { return m_modified; }
    void ClearModified() { m_modified = false; }

    // Appends the store's record to `out`.
    void Save(std::vector<std::uint8_t>& out) const;
    // Replaces the variables with the record at the start of `data` and returns
    // the number of bytes it took. A damaged record throws CADVException naming
    // `source` and leaves the store unchanged.
    std::size_t Load(std::span<const std::uint8_t> data, std::string_view source);

    // The variables as one JSON object in store order (see the --dump-state
    // option): texts as strings, numbers, booleans, null for empty and null
    // values, "[object]" for objects.
    std::string ToJson() const;

    HRESULT GetIDsOfNames(const IID& riid, std::span<const std::u16string_view> names, DISPID* ids) override;
    bool IsMethod(DISPID id) const override;

protected:
    HRESULT InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                         Variant* result) override;

private:
    // The variable's DISPID; an unknown name is added (without a value) first.
    std::pair<DISPID, bool> Define(std::u16string_view name);
    // The variable at a position of the name table, or null past its end.
    const std::pair<const std::u16string, DISPID>* NameAt(std::int32_t index) const;
    Variant ValueOf(DISPID id) const;

    std::map<std::u16string, DISPID, std::less<>> m_names;
    std::map<DISPID, Variant> m_values;
    std::map<DISPID, Variant> m_backup;
    DISPID m_nextId = 0x10000;
    bool m_modified = false;
    std::map<std::u16string, DISPID, std::less<>>::const_iterator m_cursor;
};
