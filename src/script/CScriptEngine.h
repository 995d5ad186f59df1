#pragma once

#include "script/CDuktapeBridge.h"
#include "script/CGlobalVars.h"
#include "script/Variant.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

class DClock;
class IScriptEngineOwner;

// One JavaScript engine with its own global namespace, its published engine
// objects, the "__globals__" functions and its list of timed and signalled
// events. Script errors never throw out of it: they are reported (stderr and
// owner) and the failing call returns false.
class CScriptEngine {
public:
    // Texts from no file whose source lines error reports can still show.
    static constexpr std::size_t kAnonymousSourcesKept = 64;

    // `language` must be "JScript". Events are timed with `clock`.
    CScriptEngine(const char* language, DClock& clock);
    ~CScriptEngine();
    CScriptEngine(const CScriptEngine&) = delete;
    CScriptEngine& operator=(const CScriptEngine&) = delete;

    void SetOwner(IScriptEngineOwner* owner) { m_owner = owner; }
    IScriptEngineOwner* GetOwner() const { return m_owner; }

    // Publishes `object` under `name` (a name already used is given the new
    // object). The engine keeps no reference: once the object is destroyed,
    // scripts still holding it get an error on every access.
    void AddObject(std::u16string_view name, IDispatch* object);
    // Publishes the named members of `object` as plain global functions (or
    // accessors, for properties), as "__globals__" is.
    void AddGlobalMembers(IDispatch* object, std::span<const std::u16string_view> names);

    // Runs script text as an evaluation: the completion value goes to `result`
    // (a text "OnInit();" yields the function's return value). Function
    // declarations stay defined for later texts and calls.
    bool Execute(std::u16string_view text, Variant* result = nullptr);
    // Execute for 8-bit (Windows-1252) text.
    bool Run(std::string_view text, Variant* result = nullptr);
    // Run for the text of a script file: error reports name `fileName`, also
    // for errors inside its functions when they are called later.
    bool RunFile(const std::string& fileName, std::string_view text, Variant* result = nullptr);
    // Calls the global function `function` with the values as they are; nothing
    // is formatted into script text, so quotes and line breaks arrive unchanged.
    // Callbacks are optional: a script that does not define the function is
    // skipped without a report (the call returns false).
    bool Call(std::string_view function, std::span<const Variant> args = {}, Variant* result = nullptr);

    // A delay of 0 waits for Signal; otherwise the event fires once the delay
    // has passed (a negative delay at the next ProcessEvents).
    void AddEvent(std::u16string name, std::u16string param, std::int32_t delay);
    // Marks the oldest event of that name; throws CADVException when none exists.
    void Signal(std::u16string_view name);
    // Fires due and signalled events oldest first, each once, through "OnEvent".
    void ProcessEvents();

private:
    struct Event {
        std::u16string name;
        std::u16string param;
        std::uint32_t start = 0;
        std::int32_t delay = 0;
        bool fire = false;
    };

    // Call that reports a missing function like any other script error.
    bool CallReported(std::string_view function, std::span<const Variant> args, Variant* result);
    bool Evaluate(std::u16string_view text, const std::string& chunk, Variant* result);
    void KeepSource(const std::string& chunk, std::u16string_view text);
    void Report(const ScriptError& error, std::u16string_view sourceLine);
    std::u16string SourceLine(const ScriptError& error, const std::string& chunk,
                              std::u16string_view text) const;

    DClock& m_clock;
    IScriptEngineOwner* m_owner = nullptr;
    std::unique_ptr<CGlobalVars> m_globals;
    std::list<Event> m_events;
    // Texts that define functions, kept so errors inside those functions can
    // show their source line; named by the chunk they were compiled under: a
    // script file's name, or "#" and a number for other texts.
    std::unordered_map<std::string, std::u16string> m_sources;
    // The kept texts from no file, oldest first.
    std::deque<std::string> m_anonymousSources;
    std::uint32_t m_chunkCount = 0;
    bool m_reporting = false;
    CDuktapeBridge m_bridge; // last: destroyed first, while everything it may call back still exists
};
