#include "script/CDuktapeBridge.h"

#include "platform/DReport.h"
#include "script/TextConversion.h"

#include <duktape.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// Errors raised for a script get the script's file and line rather than this
// file's: Duktape's flag for that (stable in 2.x, not in its public header).
#ifndef DUK_ERRCODE_FLAG_NOBLAME_FILELINE
#define DUK_ERRCODE_FLAG_NOBLAME_FILELINE (1L << 24)
#endif
#define MV_PUSH_SCRIPT_ERROR(ctx, code, ...)                                                                 \
    duk_push_error_object_raw((ctx), (code) | DUK_ERRCODE_FLAG_NOBLAME_FILELINE, nullptr, 0, __VA_ARGS__)

// Hidden symbols are invisible to scripts and never reach a Proxy trap.
constexpr const char* kLifeKey = DUK_HIDDEN_SYMBOL("life");
constexpr const char* kMethodsKey = DUK_HIDDEN_SYMBOL("methods");
constexpr const char* kTargetKey = DUK_HIDDEN_SYMBOL("target");
constexpr const char* kIdKey = DUK_HIDDEN_SYMBOL("id");
constexpr const char* kNameKey = DUK_HIDDEN_SYMBOL("name");
constexpr const char* kHandlerKey = DUK_HIDDEN_SYMBOL("handler");
constexpr const char* kProxiesKey = DUK_HIDDEN_SYMBOL("proxies");
constexpr const char* kDispatchErrorKey = DUK_HIDDEN_SYMBOL("dispatchError");

// Keys JavaScript asks for on its own (conversions, JSON, prototype checks).
// They are answered by the plain Proxy target and never become member lookups,
// or a store would grow variables named valueOf.
constexpr std::array<std::string_view, 9> kLanguageKeys{
    "toString",  "valueOf",        "toLocaleString",       "toJSON",       "constructor",
    "__proto__", "hasOwnProperty", "propertyIsEnumerable", "isPrototypeOf"};

bool IsLanguageKey(duk_context* ctx, duk_idx_t index) {
    if (duk_is_symbol(ctx, index) || !duk_is_string(ctx, index)) {
        return true;
    }
    duk_size_t length = 0;
    const char* key = duk_get_lstring(ctx, index, &length);
    const std::string_view view(key, length);
    for (const std::string_view reserved : kLanguageKeys) {
        if (view == reserved) {
            return true;
        }
    }
    return false;
}

// Array-style access (state[5]) hands the trap a number; names are texts.
void NormalizeKey(duk_context* ctx, duk_idx_t index) {
    if (duk_is_number(ctx, index)) {
        duk_to_string(ctx, index);
    }
}

void FatalError(void* /*udata*/, const char* message) {
    ReportError(std::string("fatal script engine error: ") + (message != nullptr ? message : ""));
    std::abort();
}

const DispatchLife* LifeOfTarget(duk_context* ctx, duk_idx_t target) {
    duk_get_prop_string(ctx, target, kLifeKey);
    const auto* life = static_cast<const DispatchLife*>(duk_get_pointer(ctx, -1));
    duk_pop(ctx);
    return life;
}

std::u16string KeyText(duk_context* ctx, duk_idx_t index) {
    duk_size_t length = 0;
    const char* key = duk_get_lstring(ctx, index, &length);
    return key != nullptr ? Utf8ToWide(std::string_view(key, length)) : std::u16string();
}

} // namespace

CDuktapeBridge::CDuktapeBridge() {
    m_ctx = duk_create_heap(nullptr, nullptr, nullptr, this, FatalError);
    if (m_ctx == nullptr) {
        ReportError("fatal script engine error: no memory for a Duktape heap");
        std::abort();
    }
    duk_context* ctx = m_ctx;
    duk_push_heap_stash(ctx);

    duk_push_object(ctx);
    duk_push_c_function(ctx, ProxyGetTrap, 3);
    duk_put_prop_string(ctx, -2, "get");
    duk_push_c_function(ctx, ProxySetTrap, 4);
    duk_put_prop_string(ctx, -2, "set");
    m_handler = duk_get_heapptr(ctx, -1);
    duk_put_prop_string(ctx, -2, kHandlerKey);

    duk_push_object(ctx);
    m_proxies = duk_get_heapptr(ctx, -1);
    duk_put_prop_string(ctx, -2, kProxiesKey);
    duk_pop(ctx);

    duk_get_global_string(ctx, "Duktape");
    duk_push_c_function(ctx, NoteThrow, 1);
    duk_put_prop_string(ctx, -2, "errThrow");
    duk_pop(ctx);
}

CDuktapeBridge::~CDuktapeBridge() {
    // Finalizers of proxy targets run inside and still use m_targets.
    duk_destroy_heap(m_ctx);
}

CDuktapeBridge& CDuktapeBridge::Of(duk_context* ctx) {
    duk_memory_functions functions;
    duk_get_memory_functions(ctx, &functions);
    return *static_cast<CDuktapeBridge*>(functions.udata);
}

bool CDuktapeBridge::SetGlobalObject(std::u16string_view name, IDispatch* object) {
    const std::string key = WideToCesu8(name);
    duk_push_lstring(m_ctx, key.data(), key.size());
    PushObject(object);
    return DefineGlobal(2);
}

bool CDuktapeBridge::SetGlobalMembers(IDispatch* object, std::span<const std::u16string_view> names) {
    duk_context* ctx = m_ctx;
    PushObject(object);
    // Bound functions keep the proxy target; hidden keys read through a Proxy
    // reach its target without a trap.
    duk_get_prop_string(ctx, -1, kTargetKey);
    const duk_idx_t target = duk_get_top_index(ctx);
    bool ok = true;
    for (const std::u16string_view name : names) {
        DISPID id = DISPID_UNKNOWN;
        if (FAILED(object->GetIDsOfNames(IID_NULL, {&name, 1}, &id))) {
            continue;
        }
        const std::string key = WideToCesu8(name);
        duk_push_lstring(ctx, key.data(), key.size());
        if (object->IsMethod(id)) {
            PushBoundFunction(BoundMethod, DUK_VARARGS, target, id, key);
            ok = DefineGlobal(2) && ok;
        } else {
            PushBoundFunction(BoundGetter, 0, target, id, key);
            PushBoundFunction(BoundSetter, 1, target, id, key);
            ok = DefineGlobal(3) && ok;
        }
    }
    duk_pop_2(ctx);
    return ok;
}

bool CDuktapeBridge::DefineGlobal(int count) {
    // A script may have made the name unchangeable; that must not escape as an
    // uncaught Duktape error, so the definition runs protected.
    // duk_safe_call shows the function the whole stack, so it works from the top.
    const auto define = [](duk_context* ctx, void* udata) -> duk_ret_t {
        const int values = *static_cast<const int*>(udata);
        duk_push_global_object(ctx);
        duk_insert(ctx, -(values + 1));
        const duk_uint_t kinds = values == 2 ? DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_SET_WRITABLE
                                             : DUK_DEFPROP_HAVE_GETTER | DUK_DEFPROP_HAVE_SETTER;
        duk_def_prop(ctx, -(values + 1), kinds | DUK_DEFPROP_SET_CONFIGURABLE | DUK_DEFPROP_SET_ENUMERABLE);
        return 0;
    };
    const bool ok = duk_safe_call(m_ctx, define, &count, count, 1) == DUK_EXEC_SUCCESS;
    duk_pop(m_ctx);
    return ok;
}

void CDuktapeBridge::PushObject(IDispatch* object) {
    duk_context* ctx = m_ctx;
    const DispatchLife* life = object->Life().get();
    auto found = m_proxyOf.find(object);
    if (found != m_proxyOf.end()) {
        if (found->second.life == life) {
            duk_push_heapptr(ctx, m_proxies);
            duk_get_prop_index(ctx, -1, found->second.index);
            duk_remove(ctx, -2);
            return;
        }
        // A destroyed object's address came back with a new object: drop the old proxy.
        duk_push_heapptr(ctx, m_proxies);
        duk_del_prop_index(ctx, -1, found->second.index);
        duk_pop(ctx);
        m_proxyOf.erase(found);
    }
    if (m_proxyOf.size() >= m_sweepAt) {
        ForgetDeadProxies();
    }

    duk_push_object(ctx); // the target
    duk_push_pointer(ctx, const_cast<DispatchLife*>(life));
    duk_put_prop_string(ctx, -2, kLifeKey);
    duk_push_object(ctx);
    duk_put_prop_string(ctx, -2, kMethodsKey);
    duk_dup(ctx, -1);
    duk_put_prop_string(ctx, -2, kTargetKey);
    duk_push_c_function(ctx, FinalizeTarget, 1);
    duk_set_finalizer(ctx, -2);
    duk_push_heapptr(ctx, m_handler);
    duk_push_proxy(ctx, 0);

    const std::uint32_t index = m_nextSlot++;
    duk_push_heapptr(ctx, m_proxies);
    duk_dup(ctx, -2);
    duk_put_prop_index(ctx, -2, index);
    duk_pop(ctx);
    m_proxyOf[object] = ProxySlot{life, index};
    m_targets.emplace(life, object->Life());
}

void CDuktapeBridge::ForgetDeadProxies() {
    duk_push_heapptr(m_ctx, m_proxies);
    for (auto it = m_proxyOf.begin(); it != m_proxyOf.end();) {
        if (it->second.life->object == nullptr) {
            duk_del_prop_index(m_ctx, -1, it->second.index);
            it = m_proxyOf.erase(it);
        } else {
            ++it;
        }
    }
    duk_pop(m_ctx);
    m_sweepAt = std::max<std::size_t>(64, m_proxyOf.size() * 2);
}

int CDuktapeBridge::NoteThrow(duk_context* ctx) {
    // Thrown values that are not Error objects carry no line; remember where the
    // throwing function was (the caller of this hook) for the report.
    if (!duk_is_error(ctx, 0)) {
        CDuktapeBridge& bridge = Of(ctx);
        bridge.m_throwLine = 0;
        bridge.m_throwChunk.clear();
        duk_inspect_callstack_entry(ctx, -2);
        if (duk_is_object(ctx, -1)) {
            duk_get_prop_string(ctx, -1, "lineNumber");
            bridge.m_throwLine = duk_get_int_default(ctx, -1, 0);
            duk_get_prop_string(ctx, -2, "function");
            duk_get_prop_string(ctx, -1, "fileName");
            if (duk_is_string(ctx, -1)) {
                bridge.m_throwChunk = duk_get_string(ctx, -1);
            }
        }
    }
    duk_set_top(ctx, 1);
    return 1;
}

int CDuktapeBridge::FinalizeTarget(duk_context* ctx) {
    Of(ctx).m_targets.erase(LifeOfTarget(ctx, 0));
    return 0;
}

void CDuktapeBridge::PushBoundFunction(int (*fn)(duk_context*), int nargs, int targetIndex, DISPID id,
                                       std::string_view name) {
    duk_context* ctx = m_ctx;
    duk_push_c_function(ctx, fn, nargs);
    duk_push_lstring(ctx, name.data(), name.size());
    duk_put_prop_string(ctx, -2, kNameKey);
    duk_dup(ctx, targetIndex);
    duk_put_prop_string(ctx, -2, kTargetKey);
    duk_get_prop_string(ctx, targetIndex, kLifeKey);
    duk_put_prop_string(ctx, -2, kLifeKey);
    duk_push_int(ctx, id);
    duk_put_prop_string(ctx, -2, kIdKey);
}

void CDuktapeBridge::PushVariant(const Variant& value) {
    duk_context* ctx = m_ctx;
    switch (value.Type()) {
    case VT_NULL:
        duk_push_null(ctx);
        break;
    case VT_I2:
    case VT_I4:
        duk_push_int(ctx, value.IntValue());
        break;
    case VT_R4:
    case VT_R8:
        duk_push_number(ctx, value.RealValue());
        break;
    case VT_BOOL:
        duk_push_boolean(ctx, value.BoolValue() != 0);
        break;
    case VT_BSTR: {
        const std::string text = WideToCesu8(value.BstrValue());
        duk_push_lstring(ctx, text.data(), text.size());
        break;
    }
    case VT_DISPATCH:
        if (IDispatch* object = value.DispatchValue(); object != nullptr) {
            PushObject(object);
        } else {
            duk_push_null(ctx);
        }
        break;
    case VT_RECORD:
        duk_push_object(ctx);
        for (const auto& [name, number] : value.RecordValue()) {
            const std::string key = WideToCesu8(name);
            duk_push_number(ctx, number);
            duk_put_prop_lstring(ctx, -2, key.data(), key.size());
        }
        break;
    default:
        duk_push_undefined(ctx);
        break;
    }
}

Variant CDuktapeBridge::ToVariant(int index) {
    duk_context* ctx = m_ctx;
    switch (duk_get_type(ctx, index)) {
    case DUK_TYPE_NULL:
        return Variant::Null();
    case DUK_TYPE_BOOLEAN:
        return Variant::Bool(duk_get_boolean(ctx, index) != 0);
    case DUK_TYPE_NUMBER: {
        const double number = duk_get_number(ctx, index);
        if (number >= -2147483648.0 && number <= 2147483647.0 && std::trunc(number) == number &&
            !(number == 0.0 && std::signbit(number))) {
            return Variant::I4(static_cast<std::int32_t>(number));
        }
        return Variant::R8(number);
    }
    case DUK_TYPE_STRING: {
        duk_size_t length = 0;
        const char* text = duk_get_lstring(ctx, index, &length);
        return Variant::Bstr(Utf8ToWide(std::string_view(text, length)));
    }
    case DUK_TYPE_OBJECT: {
        // Script objects of our own carry their life record; JavaScript's own
        // objects have no engine counterpart and arrive as a null object.
        duk_get_prop_string(ctx, index, kLifeKey);
        const auto* life = static_cast<const DispatchLife*>(duk_get_pointer(ctx, -1));
        duk_pop(ctx);
        return Variant::Dispatch(life != nullptr ? life->object : nullptr);
    }
    case DUK_TYPE_LIGHTFUNC:
    case DUK_TYPE_BUFFER:
    case DUK_TYPE_POINTER:
        return Variant::Dispatch(nullptr);
    default:
        return Variant();
    }
}

int CDuktapeBridge::PushFailure(HRESULT hr, const EXCEPINFO& excepinfo, std::u16string_view member) {
    duk_context* ctx = m_ctx;
    if (hr == DISP_E_EXCEPTION) {
        const std::string text = WideToCesu8(excepinfo.bstrDescription);
        MV_PUSH_SCRIPT_ERROR(ctx, DUK_ERR_ERROR, "%s", text.c_str());
    } else {
        const std::string name = WideToCesu8(member);
        MV_PUSH_SCRIPT_ERROR(ctx, DUK_ERR_ERROR, "'%s': %s (%s, 0x%08X)", name.c_str(),
                             HResultDescription(hr), HResultName(hr), static_cast<unsigned>(hr));
    }
    // Scripts read the code as JScript's err.number.
    duk_push_number(ctx, hr);
    duk_put_prop_string(ctx, -2, "number");
    duk_push_true(ctx);
    duk_put_prop_string(ctx, -2, kDispatchErrorKey);
    return -1;
}

int CDuktapeBridge::PushDetached(std::u16string_view member) {
    const std::string name = WideToCesu8(member);
    MV_PUSH_SCRIPT_ERROR(m_ctx, DUK_ERR_REFERENCE_ERROR,
                         "Script object is no longer available (destroyed by the engine): '%s'",
                         name.c_str());
    return -1;
}

// The engine object behind the proxy target (index 0) and the member the key
// (index 1) names; -1 with the script error pushed when the object is gone or
// does not know the name.
int CDuktapeBridge::ResolveKey(IDispatch*& object, DISPID& id, std::string_view& key) {
    duk_context* ctx = m_ctx;
    object = LifeOfTarget(ctx, 0)->object;
    duk_size_t length = 0;
    const char* text = duk_get_lstring(ctx, 1, &length);
    key = std::string_view(text, length);
    Utf8ToWide(key, m_name);
    if (object == nullptr) {
        return PushDetached(m_name);
    }
    const std::u16string_view name = m_name;
    if (const HRESULT hr = object->GetIDsOfNames(IID_NULL, {&name, 1}, &id); FAILED(hr)) {
        return PushFailure(hr, EXCEPINFO{}, m_name);
    }
    return 0;
}

int CDuktapeBridge::ProxyGetTrap(duk_context* ctx) {
    const int results = Of(ctx).ProxyGet();
    if (results < 0) {
        duk_throw(ctx);
    }
    return results;
}

int CDuktapeBridge::ProxySetTrap(duk_context* ctx) {
    const int results = Of(ctx).ProxySet();
    if (results < 0) {
        duk_throw(ctx);
    }
    return results;
}

int CDuktapeBridge::ProxyGet() {
    duk_context* ctx = m_ctx; // target, key, receiver
    NormalizeKey(ctx, 1);
    if (IsLanguageKey(ctx, 1)) {
        duk_dup(ctx, 1);
        duk_get_prop(ctx, 0);
        return 1;
    }
    // A method read once stays the same function object.
    duk_get_prop_string(ctx, 0, kMethodsKey);
    duk_dup(ctx, 1);
    if (duk_get_prop(ctx, -2)) {
        return 1;
    }
    duk_pop_2(ctx);

    IDispatch* object = nullptr;
    DISPID id = DISPID_UNKNOWN;
    std::string_view key;
    if (ResolveKey(object, id, key) < 0) {
        return -1;
    }
    if (object->IsMethod(id)) {
        PushBoundFunction(BoundMethod, DUK_VARARGS, 0, id, key);
        duk_get_prop_string(ctx, 0, kMethodsKey);
        duk_dup(ctx, 1);
        duk_dup(ctx, -3);
        duk_put_prop(ctx, -3);
        duk_pop(ctx);
        return 1;
    }
    Variant result;
    EXCEPINFO excepinfo;
    if (const HRESULT hr = object->Invoke(id, IID_NULL, DISPATCH_PROPERTYGET, {}, &result, &excepinfo);
        FAILED(hr)) {
        return PushFailure(hr, excepinfo, KeyText(ctx, 1));
    }
    PushVariant(result);
    return 1;
}

int CDuktapeBridge::ProxySet() {
    duk_context* ctx = m_ctx; // target, key, value, receiver
    NormalizeKey(ctx, 1);
    if (IsLanguageKey(ctx, 1)) {
        duk_dup(ctx, 1);
        duk_dup(ctx, 2);
        duk_put_prop(ctx, 0);
        duk_push_true(ctx);
        return 1;
    }
    IDispatch* object = nullptr;
    DISPID id = DISPID_UNKNOWN;
    std::string_view key;
    if (ResolveKey(object, id, key) < 0) {
        return -1;
    }
    const Variant value = ToVariant(2);
    EXCEPINFO excepinfo;
    if (const HRESULT hr =
            object->Invoke(id, IID_NULL, DISPATCH_PROPERTYPUT, {&value, 1}, nullptr, &excepinfo);
        FAILED(hr)) {
        return PushFailure(hr, excepinfo, KeyText(ctx, 1));
    }
    duk_push_true(ctx);
    return 1;
}

int CDuktapeBridge::BoundMethod(duk_context* ctx) {
    const int results = Of(ctx).InvokeBound(DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    if (results < 0) {
        duk_throw(ctx);
    }
    return results;
}

int CDuktapeBridge::BoundGetter(duk_context* ctx) {
    const int results = Of(ctx).InvokeBound(DISPATCH_PROPERTYGET);
    if (results < 0) {
        duk_throw(ctx);
    }
    return results;
}

int CDuktapeBridge::BoundSetter(duk_context* ctx) {
    const int results = Of(ctx).InvokeBound(DISPATCH_PROPERTYPUT);
    if (results < 0) {
        duk_throw(ctx);
    }
    return 0;
}

int CDuktapeBridge::InvokeBound(DispatchFlags flags) {
    duk_context* ctx = m_ctx;
    const duk_idx_t count = duk_get_top(ctx);
    duk_push_current_function(ctx);
    duk_get_prop_string(ctx, -1, kLifeKey);
    const auto* life = static_cast<const DispatchLife*>(duk_get_pointer(ctx, -1));
    duk_get_prop_string(ctx, -2, kIdKey);
    const DISPID id = duk_get_int(ctx, -1);
    duk_pop_3(ctx);

    IDispatch* object = life->object;
    if (object == nullptr) {
        return PushDetached(BoundName());
    }
    // Most calls take a handful of arguments; those stay off the heap.
    std::array<Variant, 6> small;
    std::vector<Variant> large;
    std::span<Variant> args;
    if (static_cast<std::size_t>(count) <= small.size()) {
        args = std::span<Variant>(small.data(), static_cast<std::size_t>(count));
    } else {
        large.resize(static_cast<std::size_t>(count));
        args = large;
    }
    for (duk_idx_t i = 0; i < count; ++i) {
        args[static_cast<std::size_t>(i)] = ToVariant(i);
    }
    Variant result;
    EXCEPINFO excepinfo;
    const HRESULT hr = object->Invoke(id, IID_NULL, flags, args, &result, &excepinfo);
    if (FAILED(hr)) {
        return PushFailure(hr, excepinfo, BoundName());
    }
    PushVariant(result);
    return 1;
}

std::u16string CDuktapeBridge::BoundName() {
    duk_push_current_function(m_ctx);
    duk_get_prop_string(m_ctx, -1, kNameKey);
    std::u16string name = KeyText(m_ctx, -1);
    duk_pop_2(m_ctx);
    return name;
}

void CDuktapeBridge::ReadError(int index, ScriptError& error) {
    duk_context* ctx = m_ctx;
    index = duk_normalize_index(ctx, index);
    error.line = m_throwLine;
    error.chunk = m_throwChunk;
    if (duk_is_error(ctx, index)) {
        duk_get_prop_string(ctx, index, "lineNumber");
        error.line = duk_get_int_default(ctx, -1, 0);
        duk_pop(ctx);
        duk_get_prop_string(ctx, index, "fileName");
        error.chunk = duk_is_string(ctx, -1) ? duk_get_string(ctx, -1) : "";
        duk_pop(ctx);
        // Errors raised by engine objects carry the engine's text alone.
        duk_get_prop_string(ctx, index, kDispatchErrorKey);
        const bool fromEngine = duk_get_boolean(ctx, -1) != 0;
        duk_pop(ctx);
        if (fromEngine) {
            duk_get_prop_string(ctx, index, "message");
            error.message = KeyText(ctx, -1);
            duk_pop(ctx);
            return;
        }
    }
    duk_dup(ctx, index);
    duk_size_t length = 0;
    const char* text = duk_safe_to_lstring(ctx, -1, &length);
    error.message = Utf8ToWide(std::string_view(text, length));
    duk_pop(ctx);
}

bool CDuktapeBridge::Evaluate(std::u16string_view text, const std::string& chunk, Variant* result,
                              ScriptError& error) {
    duk_context* ctx = m_ctx;
    const duk_idx_t top = duk_get_top(ctx);
    const std::string source = WideToCesu8(text);
    duk_push_lstring(ctx, chunk.data(), chunk.size());
    bool ok = duk_pcompile_lstring_filename(ctx, DUK_COMPILE_EVAL, source.data(), source.size()) == 0 &&
              duk_pcall(ctx, 0) == DUK_EXEC_SUCCESS;
    if (!ok) {
        ReadError(-1, error);
    } else if (result != nullptr) {
        *result = ToVariant(-1);
    }
    duk_set_top(ctx, top);
    return ok;
}

bool CDuktapeBridge::HasGlobalFunction(std::string_view name) {
    const std::string key = WideToCesu8(AnsiToWide(name));
    // A plain property read: globals defined by scripts are data properties, never getters.
    duk_push_global_object(m_ctx);
    duk_get_prop_lstring(m_ctx, -1, key.data(), key.size());
    const bool callable = duk_is_callable(m_ctx, -1) != 0;
    duk_pop_2(m_ctx);
    return callable;
}

bool CDuktapeBridge::CallGlobal(std::string_view name, std::span<const Variant> args, Variant* result,
                                ScriptError& error) {
    duk_context* ctx = m_ctx;
    const duk_idx_t top = duk_get_top(ctx);
    const std::string key = WideToCesu8(AnsiToWide(name));
    duk_push_global_object(ctx);
    duk_push_lstring(ctx, key.data(), key.size());
    for (const Variant& arg : args) {
        PushVariant(arg);
    }
    // Protected from the lookup on: a missing function is an ordinary script error.
    const bool ok = duk_pcall_prop(ctx, top, static_cast<duk_idx_t>(args.size())) == DUK_EXEC_SUCCESS;
    if (!ok) {
        ReadError(-1, error);
    } else if (result != nullptr) {
        *result = ToVariant(-1);
    }
    duk_set_top(ctx, top);
    return ok;
}
