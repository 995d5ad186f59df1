#include "platform/DClock.h"
#include "script/CScriptEngine.h"
#include "state/CState.h"

#include <benchmark/benchmark.h>

namespace {

// A shared library of the usual size and shape: a few helpers and constants.
constexpr const char* kMasterLib = R"(
var DIR_LEFT = 0, DIR_RIGHT = 1;
function Say(text) { return text; }
function Has(item) { return inventory[item] == true; }
function Give(item) { inventory[item] = true; }
function Take(item) { inventory[item] = false; }
function Once(name) { if (state[name]) return false; state[name] = true; return true; }
function Clamp(v, lo, hi) { return Math.max(lo, Math.min(hi, v)); }
)";

void CallbackOnIdle(benchmark::State& s) {
    DClock clock(DClock::Mode::Manual);
    CScriptEngine engine("JScript", clock);
    engine.Run("var t = 0; function OnIdle(ms) { t += ms; }");
    const Variant arg = Variant::I4(16);
    for (auto _ : s) {
        engine.Call("OnIdle", {&arg, 1});
    }
}
BENCHMARK(CallbackOnIdle);

void StateRead(benchmark::State& s) {
    DClock clock(DClock::Mode::Manual);
    CScriptEngine engine("JScript", clock);
    CState state;
    engine.AddObject(u"state", &state);
    engine.Run("state.scene = 'hall'; var n = 0; function Read(k) { for (var i = 0; i < k; i++) n = state.scene; }");
    const Variant count = Variant::I4(1000);
    for (auto _ : s) {
        engine.Call("Read", {&count, 1});
    }
    s.SetItemsProcessed(s.iterations() * 1000);
}
BENCHMARK(StateRead);

void StateWrite(benchmark::State& s) {
    DClock clock(DClock::Mode::Manual);
    CScriptEngine engine("JScript", clock);
    CState state;
    engine.AddObject(u"state", &state);
    engine.Run("function Write(k) { for (var i = 0; i < k; i++) state.counter = i; }");
    const Variant count = Variant::I4(1000);
    for (auto _ : s) {
        engine.Call("Write", {&count, 1});
    }
    s.SetItemsProcessed(s.iterations() * 1000);
}
BENCHMARK(StateWrite);

void EngineWithMasterLib(benchmark::State& s) {
    DClock clock(DClock::Mode::Manual);
    CState state, inventory, setup;
    for (auto _ : s) {
        CScriptEngine engine("JScript", clock);
        engine.AddObject(u"state", &state);
        engine.AddObject(u"inventory", &inventory);
        engine.AddObject(u"setup", &setup);
        engine.Run(kMasterLib);
    }
}
BENCHMARK(EngineWithMasterLib);

} // namespace
