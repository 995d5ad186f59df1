#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One line of an input file: something the player does just before frame
// `frame` (1 = the first) runs.
struct DInputEvent {
    enum class Kind {
        Move,       // relative mouse motion (x, y), as the mouse reports it
        At,         // mouse motion that brings the cursor to back-buffer pixel (x, y)
        AtText,     // mouse motion to the centre of the GUI text `text`
        Press,      // `button` goes down
        Release,    // `button` goes up
        Click,      // `button` goes down, and up at the next frame
        KeyDown,    // `key` goes down
        KeyUp,      // `key` goes up
        Key,        // `key` goes down, and up at the next frame
        Type,       // `text` (UTF-8) arrives as typed characters
        Step,       // the frame's clock step, `stepMs`
        Quit,       // the window's close button
        PadAttach,  // the game controller is plugged in
        PadDetach,  // and pulled out again
        PadPress,   // its button `padControl` goes down
        PadRelease, // `padControl` goes up
        PadClick,   // `padControl` goes down, and up at the next frame
        PadAxis,    // its axis `padControl` moves to `axisValue`
        PadAt,      // its left stick steers the cursor to back-buffer pixel (x, y)
        PadAtText,  // its left stick steers the cursor to the centre of the GUI text `text`
    };
    enum class Button { Left, Right };

    long frame = 1;
    Kind kind = Kind::Quit;
    int x = 0;
    int y = 0;
    Button button = Button::Left;
    std::int32_t key = 0; // SDL keycode
    std::string text{};
    std::uint32_t stepMs = 0;
    int padControl = 0;         // an SDL controller button or axis
    std::int16_t axisValue = 0; // as SDL gives it; the file writes it as -1 to 1

    bool operator==(const DInputEvent&) const = default;
};

// A malformed input file; the text is "FILE:LINE: what is wrong".
class DInputScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The events of one input file in file order, their frames never decreasing:
// read from the file's text, or gathered by a recorder and written back as
// lines that read in again to the same events.
class DInputScript {
public:
    explicit DInputScript(std::string fileName = {}) : m_fileName(std::move(fileName)) {}

    // `fileName` only names the file in error texts. Throws DInputScriptError
    // at the first malformed line.
    static DInputScript Parse(std::string_view text, std::string fileName);

    const std::string& FileName() const { return m_fileName; }
    const std::vector<DInputEvent>& Events() const { return m_events; }
    // The caller keeps the frames in order, as a recorder does by nature.
    void Append(DInputEvent event) { m_events.push_back(std::move(event)); }

    // One line per event, each ending in a newline.
    std::string Format() const;
    static std::string FormatLine(const DInputEvent& event);
    // The text in quotes, with its quotes and backslashes escaped.
    static std::string Quote(std::string_view text);

private:
    std::string m_fileName;
    std::vector<DInputEvent> m_events;
};
