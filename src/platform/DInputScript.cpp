#include "platform/DInputScript.h"

#include "platform/DGamepad.h"

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

// "at" reads as At; AtText is the same word followed by a text, and so for
// the pad's. The pad's events are two words.
constexpr EventName kEventNames[] = {
    {Kind::Move, "move"},
    {Kind::At, "at"},
    {Kind::Press, "press"},
    {Kind::Release, "release"},
    {Kind::Click, "click"},
    {Kind::KeyDown, "keydown"},
    {Kind::KeyUp, "keyup"},
    {Kind::Key, "key"},
    {Kind::Type, "type"},
    {Kind::Step, "step"},
    {Kind::Quit, "quit"},
    {Kind::PadAttach, "pad attach"},
    {Kind::PadDetach, "pad detach"},
    {Kind::PadPress, "pad press"},
    {Kind::PadRelease, "pad release"},
    {Kind::PadClick, "pad click"},
    {Kind::PadAxis, "pad axis"},
    {Kind::PadAt, "pad at"},
};

const char* EventWord(Kind kind) {
    const Kind named = kind == Kind::AtText ? Kind::At : kind == Kind::PadAtText ? Kind::PadAt : kind;
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

// The event's name: its word, or the pad's two.
std::string ReadEventName(LineReader& line) {
    const std::string_view word = line.Word();
    if (word.empty()) {
        throw Mistake{"missing event after the frame number"};
    }
    if (word != "pad") {
        return std::string(word);
    }
    const std::string_view padWord = line.Word();
    if (padWord.empty()) {
        throw Mistake{"'pad' needs attach, detach, press, release, click, axis or at"};
    }
    return "pad " + std::string(padWord);
}

// A pixel position X Y, or a quoted text when `textKind` may stand instead.
void ReadPosition(LineReader& line, DInputEvent& event, Kind textKind, const std::string& name) {
    if (line.NextIs('"')) {
        event.kind = textKind;
        event.text = line.Quoted();
        return;
    }
    const auto x = Number<int>(line.Word());
    const auto y = Number<int>(line.Word());
    if (!x || !y || *x < 0 || *y < 0) {
        throw Mistake{"'" + name + "' needs a pixel position X Y or a quoted text"};
    }
    event.x = *x;
    event.y = *y;
}

int ReadPadButton(LineReader& line, const std::string& name) {
    const std::string word(line.Word());
    if (word.empty()) {
        throw Mistake{"'" + name + "' needs a pad button: a, b, x, start, dpup, leftshoulder, ..."};
    }
    const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(word.c_str());
    if (button == SDL_CONTROLLER_BUTTON_INVALID) {
        throw Mistake{"unknown pad button '" + word + "'"};
    }
    return button;
}

void ReadPadAxis(LineReader& line, DInputEvent& event) {
    const std::string word(line.Word());
    const SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(word.c_str());
    if (!word.empty() && axis == SDL_CONTROLLER_AXIS_INVALID) {
        throw Mistake{"unknown pad axis '" + word + "'"};
    }
    const auto tilt = Number<float>(line.Word());
    if (word.empty() || !tilt || !(*tilt >= -1.0f && *tilt <= 1.0f)) {
        throw Mistake{"'pad axis' needs an axis (leftx, lefty, ...) and a value from -1 to 1"};
    }
    event.padControl = axis;
    event.axisValue = DGamepad::AxisValue(*tilt);
}

DInputEvent ReadEvent(LineReader& line, long frame) {
    const std::string name = ReadEventName(line);
    const auto* entry = std::find_if(std::begin(kEventNames), std::end(kEventNames),
                                     [&name](const EventName& e) { return name == e.name; });
    if (entry == std::end(kEventNames)) {
        throw Mistake{"unknown event '" + name + "'"};
    }
    DInputEvent event;
    event.frame = frame;
    event.kind = entry->kind;
    switch (event.kind) {
    case Kind::Move: {
        const auto x = Number<int>(line.Word());
        const auto y = Number<int>(line.Word());
        if (!x || !y) {
            throw Mistake{"'move' needs two whole numbers, DX and DY"};
        }
        event.x = *x;
        event.y = *y;
        break;
    }
    case Kind::At:
        ReadPosition(line, event, Kind::AtText, name);
        break;
    case Kind::PadAt:
        ReadPosition(line, event, Kind::PadAtText, name);
        break;
    case Kind::PadPress:
    case Kind::PadRelease:
    case Kind::PadClick:
        event.padControl = ReadPadButton(line, name);
        break;
    case Kind::PadAxis:
        ReadPadAxis(line, event);
        break;
    case Kind::Press:
    case Kind::Release:
    case Kind::Click:
        event.button = ReadButton(line, name);
        break;
    case Kind::KeyDown:
    case Kind::KeyUp:
    case Kind::Key:
        event.key = ReadKey(line, name);
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
    case Kind::PadAtText:
    case Kind::Quit:
    case Kind::PadAttach:
    case Kind::PadDetach:
        break;
    }
    if (!line.AtEnd()) {
        throw Mistake{"unexpected '" + std::string(line.Rest()) + "' after the event"};
    }
    return event;
}

// The fewest decimals that read back to the same axis value; five always do,
// as a step of the value is more than 0.00003.
std::string AxisText(std::int16_t value) {
    char text[32];
    for (int decimals = 0;; ++decimals) {
        const auto end =
            std::to_chars(text, text + sizeof text, DGamepad::Tilt(value), std::chars_format::fixed, decimals)
                .ptr;
        const auto tilt = Number<float>({text, static_cast<std::size_t>(end - text)});
        if (DGamepad::AxisValue(*tilt) == std::max<std::int16_t>(value, -32767)) {
            return std::string(text, end);
        }
    }
}

// The pad's events only make sense while it is plugged in.
void CheckPad(Kind kind, bool& attached) {
    const std::string name = EventWord(kind);
    if (kind == Kind::PadAttach) {
        if (attached) {
            throw Mistake{"the pad is attached already"};
        }
        attached = true;
    } else if (kind == Kind::PadDetach) {
        if (!attached) {
            throw Mistake{"'pad detach' with no pad attached"};
        }
        attached = false;
    } else if (name.starts_with("pad ") && !attached) {
        throw Mistake{"'" + name + "' needs the pad attached first ('pad attach')"};
    }
}

} // namespace

DInputScript DInputScript::Parse(std::string_view text, std::string fileName) {
    DInputScript script(std::move(fileName));
    long lastStepFrame = 0;
    bool padAttached = false;
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
            CheckPad(event.kind, padAttached);
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
    case Kind::PadAt:
        line += ' ' + std::to_string(event.x) + ' ' + std::to_string(event.y);
        break;
    case Kind::AtText:
    case Kind::PadAtText:
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
    case Kind::PadPress:
    case Kind::PadRelease:
    case Kind::PadClick:
        line += ' ';
        line += SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(event.padControl));
        break;
    case Kind::PadAxis: {
        line += ' ';
        line += SDL_GameControllerGetStringForAxis(static_cast<SDL_GameControllerAxis>(event.padControl));
        line += ' ' + AxisText(event.axisValue);
        break;
    }
    case Kind::Quit:
    case Kind::PadAttach:
    case Kind::PadDetach:
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
