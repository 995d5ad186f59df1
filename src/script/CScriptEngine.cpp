#include "script/CScriptEngine.h"

#include "platform/DClock.h"
#include "resources/CADVException.h"
#include "script/IScriptEngineOwner.h"
#include "script/TextConversion.h"

#include <cstdio>
#include <cstring>

namespace {

// Texts that come from no file are compiled under this prefix and a number; no file name starts with it.
const std::string kAnonymousChunk = "#";

std::u16string CallArgumentText(const Variant& arg) {
    switch (arg.Type()) {
    case VT_BSTR:
        return u"\"" + arg.BstrValue() + u"\"";
    case VT_I2:
    case VT_I4:
        return AnsiToWide(std::to_string(arg.IntValue()));
    case VT_R4:
    case VT_R8: {
        char number[32];
        std::snprintf(number, sizeof number, "%g", arg.RealValue());
        return AnsiToWide(number);
    }
    case VT_BOOL:
        return arg.BoolValue() != 0 ? u"true" : u"false";
    case VT_NULL:
        return u"null";
    case VT_EMPTY:
        return u"undefined";
    default:
        return u"[object]";
    }
}

} // namespace

CScriptEngine::CScriptEngine(const char* language, DClock& clock)
    : m_clock(clock), m_globals(std::make_unique<CGlobalVars>(*this)) {
    if (language == nullptr || std::strcmp(language, "JScript") != 0) {
        throw CADVException("Could not get CLSID of requested language.");
    }
    if (!m_bridge.SetGlobalMembers(m_globals.get(), CGlobalVars::kNames)) {
        throw CADVException("Could not add __globals__ as global variable container.");
    }
}

CScriptEngine::~CScriptEngine() = default;

void CScriptEngine::AddObject(std::u16string_view name, IDispatch* object) {
    if (!m_bridge.SetGlobalObject(name, object)) {
        throw CADVException("Could not add object to scripting engine.");
    }
}

void CScriptEngine::AddGlobalMembers(IDispatch* object, std::span<const std::u16string_view> names) {
    if (!m_bridge.SetGlobalMembers(object, names)) {
        throw CADVException("Could not add object to scripting engine.");
    }
}

bool CScriptEngine::Execute(std::u16string_view text, Variant* result) {
    return Evaluate(text, kAnonymousChunk + std::to_string(++m_chunkCount), result);
}

bool CScriptEngine::Run(std::string_view text, Variant* result) {
    return Execute(AnsiToWide(text), result);
}

bool CScriptEngine::RunFile(const std::string& fileName, std::string_view text, Variant* result) {
    return Evaluate(AnsiToWide(text), fileName, result);
}

bool CScriptEngine::Evaluate(std::u16string_view text, const std::string& chunk, Variant* result) {
    ScriptError error;
    if (text.find(u"function") != std::u16string_view::npos) {
        KeepSource(chunk, text);
    }
    if (m_bridge.Evaluate(text, chunk, result, error)) {
        return true;
    }
    Report(error, SourceLine(error, chunk, text));
    return false;
}

bool CScriptEngine::Call(std::string_view function, std::span<const Variant> args, Variant* result) {
    return m_bridge.HasGlobalFunction(function) && CallReported(function, args, result);
}

bool CScriptEngine::CallReported(std::string_view function, std::span<const Variant> args, Variant* result) {
    ScriptError error;
    if (m_bridge.CallGlobal(function, args, result, error)) {
        return true;
    }
    // An error outside any script text (a missing function) shows the call as
    // its line, as the original call text would have.
    std::u16string call = AnsiToWide(function) + u"(";
    for (std::size_t i = 0; i < args.size(); ++i) {
        call += i > 0 ? u", " : u"";
        call += CallArgumentText(args[i]);
    }
    call += u");";
    Report(error, SourceLine(error, std::string(), call));
    return false;
}

void CScriptEngine::KeepSource(const std::string& chunk, std::u16string_view text) {
    // A file keeps one text under its name; texts from no file are kept only
    // as many as kAnonymousSourcesKept, the newest, so an engine that lives
    // long and runs many of them does not grow without end.
    if (chunk.rfind(kAnonymousChunk, 0) == 0) {
        m_anonymousSources.push_back(chunk);
        if (m_anonymousSources.size() > kAnonymousSourcesKept) {
            m_sources.erase(m_anonymousSources.front());
            m_anonymousSources.pop_front();
        }
    }
    m_sources.insert_or_assign(chunk, std::u16string(text));
}

std::u16string CScriptEngine::SourceLine(const ScriptError& error, const std::string& chunk,
                                         std::u16string_view text) const {
    if (error.chunk != chunk) {
        const auto found = m_sources.find(error.chunk);
        text = found != m_sources.end() ? std::u16string_view(found->second) : std::u16string_view();
    }
    const int wanted = error.line > 0 ? error.line : 1;
    std::size_t begin = 0;
    for (int line = 1; line < wanted; ++line) {
        begin = text.find(u'\n', begin);
        if (begin == std::u16string_view::npos) {
            return {};
        }
        ++begin;
    }
    std::size_t end = text.find(u'\n', begin);
    std::u16string_view found = text.substr(begin, end == std::u16string_view::npos ? end : end - begin);
    if (!found.empty() && found.back() == u'\r') {
        found.remove_suffix(1);
    }
    return std::u16string(found);
}

void CScriptEngine::Report(const ScriptError& error, std::u16string_view sourceLine) {
    // Duktape counts lines from 1 and does not know columns.
    const int line = error.line > 0 ? error.line : 1;
    // The file the failing line is in, when it came from one, so the author knows where to look.
    const bool fromFile = !error.chunk.empty() && error.chunk.rfind(kAnonymousChunk, 0) != 0;
    const std::string in = fromFile ? " in " + error.chunk : std::string();
    char position[64];
    std::snprintf(position, sizeof position, " on line %d, pos %d:\nLine: ", line, 1);
    const std::string report =
        "Exception:\nScript Exception" + in + position + WideToAnsi(sourceLine) + "\n\n" + WideToAnsi(error.message);
    std::fprintf(stderr, "%s\n", AnsiToUtf8(report).c_str());
    // The owner usually runs a script handler in this same engine; an error in
    // that handler is reported but not handed over again, or a broken handler
    // would recurse without end.
    if (m_owner != nullptr && !m_reporting) {
        m_reporting = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{m_reporting};
        m_owner->OnScriptException(report);
    }
}

void CScriptEngine::AddEvent(std::u16string name, std::u16string param, std::int32_t delay) {
    Event event{std::move(name), std::move(param)};
    if (delay != 0) {
        event.start = m_clock.Now();
        event.delay = delay;
    }
    m_events.push_back(std::move(event));
}

void CScriptEngine::Signal(std::u16string_view name) {
    for (Event& event : m_events) {
        if (event.name == name) {
            event.fire = true;
            return;
        }
    }
    throw CADVException("Event with name %s has not been defined for this script engine",
                        WideToAnsi(name).c_str());
}

void CScriptEngine::ProcessEvents() {
    const std::uint32_t now = m_clock.Now();
    for (Event& event : m_events) {
        // Unsigned difference, so the tick counter may wrap between start and now.
        if (event.delay < 0 ||
            (event.delay > 0 && now - event.start >= static_cast<std::uint32_t>(event.delay))) {
            event.fire = true;
        }
    }
    for (auto it = m_events.begin(); it != m_events.end();) {
        const auto next = std::next(it);
        if (it->fire) {
            // The record stays while its handler runs, so a signal of its own
            // name there marks it and not a younger namesake.
            // The script asked for this event, so a missing handler is its mistake to hear about.
            const Variant args[] = {Variant::Bstr(it->name), Variant::Bstr(it->param)};
            CallReported("OnEvent", args, nullptr);
            m_events.erase(it);
        }
        it = next;
    }
}
