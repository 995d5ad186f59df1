#pragma once

#include "script/Dispatch.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

struct duk_hthread;

// What a failed evaluation or call left behind, before the engine turns it into
// its report text.
struct ScriptError {
    int line = 0;      // 1-based; 0 when the script engine did not say
    std::string chunk; // the name the failing code was compiled under
    std::u16string message;
};

// One Duktape heap and the mapping between its values and the automation layer.
// Engine objects appear to scripts as Proxy objects whose property reads, calls
// and assignments become GetIDsOfNames/Invoke. One Proxy exists per object per
// heap, so scripts can compare objects; the Proxy refers to its object weakly
// and reports a destroyed object as an error.
class CDuktapeBridge {
public:
    CDuktapeBridge();
    ~CDuktapeBridge();
    CDuktapeBridge(const CDuktapeBridge&) = delete;
    CDuktapeBridge& operator=(const CDuktapeBridge&) = delete;

    // Both return false when a script has made a name impossible to redefine.
    bool SetGlobalObject(std::u16string_view name, IDispatch* object);
    // Each named member of `object` becomes a global: a function for methods,
    // an accessor for properties. Names the object does not know are skipped.
    bool SetGlobalMembers(IDispatch* object, std::span<const std::u16string_view> names);

    // Compiles `text` as eval code under the name `chunk` and runs it; the
    // completion value goes to `result` when given.
    bool Evaluate(std::u16string_view text, const std::string& chunk, Variant* result, ScriptError& error);
    // Whether the global `name` is something a call can run.
    bool HasGlobalFunction(std::string_view name);
    // Calls the global function `name` with the given values.
    bool CallGlobal(std::string_view name, std::span<const Variant> args, Variant* result,
                    ScriptError& error);

private:
    struct ProxySlot {
        const DispatchLife* life;
        std::uint32_t index;
    };

    static CDuktapeBridge& Of(duk_hthread* ctx);
    static int ProxyGetTrap(duk_hthread* ctx);
    static int ProxySetTrap(duk_hthread* ctx);
    static int BoundMethod(duk_hthread* ctx);
    static int BoundGetter(duk_hthread* ctx);
    static int BoundSetter(duk_hthread* ctx);
    static int FinalizeTarget(duk_hthread* ctx);
    static int NoteThrow(duk_hthread* ctx);

    // The trap bodies: they return the number of results, or -1 after pushing an
    // error for the caller to throw once every C++ local is gone.
    int ProxyGet();
    int ProxySet();
    int InvokeBound(DispatchFlags flags);

    // Defines a global from the top of the stack: (name, value) for count 2,
    // (name, getter, setter) for count 3; pops them.
    bool DefineGlobal(int count);
    void PushObject(IDispatch* object);
    // Pushes a function bound to (target at `targetIndex`, id) running `fn`.
    void PushBoundFunction(int (*fn)(duk_hthread*), int nargs, int targetIndex, DISPID id,
                           std::string_view name);
    // The member name a bound function was made for, for error texts.
    std::u16string BoundName();
    void PushVariant(const Variant& value);
    Variant ToVariant(int index);
    // Pushes the Error for a failed HRESULT; -1 for the trap return.
    int PushFailure(HRESULT hr, const EXCEPINFO& excepinfo, std::u16string_view member);
    int PushDetached(std::u16string_view member);
    int ResolveKey(IDispatch*& object, DISPID& id, std::string_view& key);
    void ReadError(int index, ScriptError& error);
    void ForgetDeadProxies();

    duk_hthread* m_ctx = nullptr;
    void* m_handler = nullptr;
    void* m_proxies = nullptr;
    std::uint32_t m_nextSlot = 0;
    std::size_t m_sweepAt = 64;
    std::unordered_map<IDispatch*, ProxySlot> m_proxyOf;
    // Keeps each DispatchLife a proxy target points to alive until Duktape
    // finalizes the target.
    std::unordered_map<const DispatchLife*, std::shared_ptr<DispatchLife>> m_targets;
    std::u16string m_name;
    int m_throwLine = 0;
    std::string m_throwChunk;
};
