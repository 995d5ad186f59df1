#pragma once

#include "platform/DInputScript.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

class DWindow;
union SDL_Event;

// An input file asked for something the screen does not show; the text names
// the file, the frame and what was missing.
class DInputReplayError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Plays an input file into the window: just before a frame runs, its events
// become platform events and take the window's own translation, so the game
// cannot tell them from the player's.
class DInputReplay {
public:
    // What only the game knows, in back-buffer pixels: where its cursor
    // stands, and the centre of the topmost visible GUI text that reads
    // `text`, if the screen shows one.
    struct Game {
        std::function<std::pair<float, float>()> cursor;
        std::function<std::optional<std::pair<int, int>>(const std::string& text)> findText;
    };

    DInputReplay(DInputScript script, DWindow& window, Game game);

    // The clock step the file gives this frame, if it gives one.
    std::optional<std::uint32_t> Step(long frame) const;
    // Feeds the frame's events into the window, after the releases of the
    // frame before's clicks and keys. Frames come in increasing order. Throws
    // DInputReplayError when the screen shows no text an `at` asks for.
    void Feed(long frame);

private:
    void Play(const DInputEvent& event);
    void Move(int dx, int dy);
    void MoveTo(float x, float y);
    void SendButton(DInputEvent::Button button, bool down);
    void SendKey(std::int32_t key, bool down);
    void SendText(const std::string& text);
    // Mouse input counts only while the mouse is acquired, as it is in a focused window.
    void SendMouse(const SDL_Event& event);
    std::uint16_t HeldModifiers() const;

    DInputScript m_script;
    std::size_t m_next = 0;
    DWindow& m_window;
    Game m_game;
    long m_frame = 0;
    // Releases of this frame's clicks and keys, sent first in the next one.
    std::vector<DInputEvent> m_releases;
    std::set<std::int32_t> m_heldKeys;
    // Motion sent this frame: the game's cursor follows it only when the frame runs.
    int m_frameDx = 0;
    int m_frameDy = 0;
};
