#include "platform/DInputScript.h"

#include <SDL.h>
#include <algorithm>
#include <charconv>
#include <optional>

namespace {

using Kind = DInputEvent::Kind;
using Button = DInputEvent::Button;

struct EventName {
    Kind kind;
    const char* name;
};

// "at" reads as At; AtText is the same word followed by a text.
constexpr EventName kEventNames[] = {
    {Kind::Move, "move"},   {Kind::At, "at"},           {Kind::Press, "press"}, {Kind::Release, "release"},
    {Kind::Click, "click"}, {Kind::KeyDown, "keydown"}, {Kind::KeyUp, "keyup"}, {Kind::Key, "key"},
    {Kind::Type, "type"},   {Kind::Step, "step"},       {Kind::Quit, "quit"},
};

const char* EventWord(Kind kind) {
    const Kind named = kind == Kind::AtText ? Kind::At : kind;
    return std::find_if(std::begin(kEventNames), std::end(kEventNames),
                        [named](const EventName& entry) { return entry.kind == named; })
        ->name;
}

// What is wrong with the line being read; the parse adds the file and the line.
struct Mistake {
    std::string what;
};

template <class T> std::optional<T> Number(std::string_view word) {
    T value{};
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || ec != std::errc() || end != word.data() + word.size()) {
        return std::nullopt;
    }
    return value;
}

// One line, read a word or a quoted text at a time.
class LineReader {
public:
    explicit LineReader(std::string_view line) : m_rest(line) {}

    bool AtEnd() {
        SkipSpace();
        return m_rest.empty();
    }
    bool NextIs(char c) {
        SkipSpace();
        return !m_rest.empty() && m_rest.front() == c;
    }
    std::string_view Word() {
        SkipSpace();
        const std::string_view word = m_rest.substr(0, m_rest.find_first_of(" \t"));
        m_rest.remove_prefix(word.size());
        return word;
    }
    // Everything left, without the spaces around it (key names hold spaces).
    std::string_view Rest() {
        SkipSpace();
        std::string_view rest = m_rest;
        rest = rest.substr(0, rest.find_last_not_of(" \t") + 1);
        m_rest = {};
        return rest;
    }
    std::string Quoted() {
        SkipSpace();
        m_rest.remove_prefix(1);
        std::string text;
        for (;;) {
            if (m_rest.empty()) {
                throw Mistake{"unterminated text"};
            }
            char c = Take();
            if (c == '"') {
                return text;
            }
            if (c == '\\') {
                if (m_rest.empty()) {
                    throw Mistake{"unterminated text"};
                }
                c = Take();
                if (c != '"' && c != '\\') {
                    throw Mistake{std::string("unknown escape '\\") + c + "' in a text"};
                }
            }
            text += c;
        }
    }

private:
    void SkipSpace() {
        while (!m_rest.empty() && (m_rest.front() == ' ' || m_rest.front() == '\t')) {
            m_rest.remove_prefix(1);
        }
    }
    char Take() {
        const char c = m_rest.front();
        m_rest.remove_prefix(1);
        return c;
    }

    std::string_view m_rest;
};

Button ReadButton(LineReader& line, std::string_view event) {
    const std::string_view word = line.Word();
    if (word == "left") {
        return Button::Left;
    }
    if (word == "right") {
        return Button::Right;
    }
    if (word.empty()) {
        throw Mistake{"'" + std::string(event) + "' needs left or right"};
    }
    throw Mistake{"unknown mouse button '" + std::string(word) + "'"};
}

std::int32_t ReadKey(LineReader& line, std::string_view event) {
    const std::string name(line.Rest());
    if (name.empty()) {
        throw Mistake{"'" + std::string(event) + "' needs a key name"};
    }
    const SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
    if (key == SDLK_UNKNOWN) {
        throw Mistake{"unknown key name '" + name + "'"};
    }
    return key;
}

DInputEvent ReadEvent(LineReader& line, long frame) {
    const std::string_view word = line.Word();
    if (word.empty()) {
        throw Mistake{"missing event after the frame number"};
    }
    const auto* entry = std::find_if(std::begin(kEventNames), std::end(kEventNames),
                                     [word](const EventName& e) { return word == e.name; });
    if (entry == std::end(kEventNames)) {
        throw Mistake{"unknown event '" + std::string(word) + "'"};
    }
    DInputEvent event;
    event.frame = frame;
    event.kind = entry->kind;
    switch (event.kind) {
    case Kind::Move:
    case Kind::At: {
        if (event.kind == Kind::At && line.NextIs('"')) {
            event.kind = Kind::AtText;
            event.text = line.Quoted();
            break;
        }
        const auto x = Number<int>(line.Word());
        const auto y = Number<int>(line.Word());
        if (event.kind == Kind::Move && (!x || !y)) {
            throw Mistake{"'move' needs two whole numbers, DX and DY"};
        }
        if (event.kind == Kind::At && (!x || !y || *x < 0 || *y < 0)) {
            throw Mistake{"'at' needs a pixel position X Y or a quoted text"};
        }
        event.x = *x;
        event.y = *y;
        break;
    }
    case Kind::Press:
    case Kind::Release:
    case Kind::Click:
        event.button = ReadButton(line, word);
        break;
    case Kind::KeyDown:
    case Kind::KeyUp:
    case Kind::Key:
        event.key = ReadKey(line, word);
        break;
    case Kind::Type:
        if (!line.NextIs('"')) {
            throw Mistake{"'type' needs a quoted text"};
        }
        event.text = line.Quoted();
        break;
    case Kind::Step: {
        const auto ms = Number<std::uint32_t>(line.Word());
        if (!ms) {
            throw Mistake{"'step' needs a whole number of milliseconds"};
        }
        event.stepMs = *ms;
        break;
    }
    case Kind::AtText:
    case Kind::Quit:
        break;
    }
    if (!line.AtEnd()) {
        throw Mistake{"unexpected '" + std::string(line.Rest()) + "' after the event"};
    }
    return event;
}

} // namespace

DInputScript DInputScript::Parse(std::string_view text, std::string fileName) {
    DInputScript script(std::move(fileName));
    long lastStepFrame = 0;
    long lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view lineText = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!lineText.empty() && lineText.back() == '\r') {
            lineText.remove_suffix(1);
        }
        LineReader line(lineText);
        if (line.AtEnd() || line.NextIs('#')) {
            continue;
        }
        try {
            const std::string_view word = line.Word();
            const auto frame = Number<long>(word);
            if (!frame) {
                throw Mistake{"'" + std::string(word) + "' is not a frame number"};
            }
            if (*frame < 1) {
                throw Mistake{"frames are numbered from 1"};
            }
            if (!script.m_events.empty() && *frame < script.m_events.back().frame) {
                throw Mistake{"frame numbers must not decrease"};
            }
            DInputEvent event = ReadEvent(line, *frame);
            if (event.kind == Kind::Step) {
                if (lastStepFrame == *frame) {
                    throw Mistake{"frame " + std::to_string(*frame) + " has a step already"};
                }
                lastStepFrame = *frame;
            }
            script.m_events.push_back(std::move(event));
        } catch (const Mistake& mistake) {
            throw DInputScriptError(script.m_fileName + ":" + std::to_string(lineNumber) + ": " +
                                    mistake.what);
        }
    }
    return script;
}

std::string DInputScript::Quote(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

std::string DInputScript::FormatLine(const DInputEvent& event) {
    std::string line = std::to_string(event.frame) + ' ' + EventWord(event.kind);
    switch (event.kind) {
    case Kind::Move:
    case Kind::At:
        line += ' ' + std::to_string(event.x) + ' ' + std::to_string(event.y);
        break;
    case Kind::AtText:
    case Kind::Type:
        line += ' ' + Quote(event.text);
        break;
    case Kind::Press:
    case Kind::Release:
    case Kind::Click:
        line += event.button == Button::Left ? " left" : " right";
        break;
    case Kind::KeyDown:
    case Kind::KeyUp:
    case Kind::Key:
        line += ' ';
        line += SDL_GetKeyName(event.key);
        break;
    case Kind::Step:
        line += ' ' + std::to_string(event.stepMs);
        break;
    case Kind::Quit:
        break;
    }
    return line;
}

std::string DInputScript::Format() const {
    std::string text;
    for (const DInputEvent& event : m_events) {
        text += FormatLine(event) + '\n';
    }
    return text;
}
