#pragma once

#include "script/CDispatchBase.h"

class CScriptEngine;

// The hidden "__globals__" object of every script engine: its members are the
// plain global functions addevent, signal and debug_messagebox.
class CGlobalVars : public CDispatchBase {
public:
    static constexpr DISPID kDebugMessageBoxId = 0x0F000001;
    static const std::u16string_view kNames[3];

    explicit CGlobalVars(CScriptEngine& engine);

    bool IsMethod(DISPID id) const override;

protected:
    DISPID FindName(std::u16string_view name) override;
    HRESULT InvokeMember(DISPID id, DispatchFlags flags, std::span<const Variant> args,
                         Variant* result) override;

private:
    CScriptEngine& m_engine;
};
