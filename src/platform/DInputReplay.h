#pragma once

#include "platform/DInputScript.h"
#include "platform/DVirtualGamepad.h"

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
// cannot tell them from the player's. The pad is a virtual game controller;
// steered to a place, its stick is tilted frame after frame as far as it
// takes to get there, and comes back to rest once the cursor is on it.
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
    // frame before's clicks and keys; `stepMs` is how far the clock moved
    // towards the frame. Frames come in increasing order. Throws
    // DInputReplayError when the screen shows no text an `at` asks for, or
    // when a pad button is pressed while the stick still steers the cursor.
    void Feed(long frame, std::uint32_t stepMs);

private:
    // Where the pad's stick steers the cursor to, and how the file named it.
    struct SteerTarget {
        float x = 0;
        float y = 0;
        std::string named;
    };

    void Play(const DInputEvent& event);
    void PlayPad(const DInputEvent& event);
    DInputReplayError Failure(const std::string& what) const;
    // Throws when the screen shows no such text.
    std::pair<float, float> TextCentre(const std::string& text) const;
    // The cursor's place once the frame has taken the motion sent so far.
    std::pair<float, float> CursorAfterFrame() const;
    void Move(int dx, int dy);
    void MoveTo(float x, float y);
    void SendButton(DInputEvent::Button button, bool down);
    void SendKey(std::int32_t key, bool down);
    void SendText(const std::string& text);
    // Mouse input counts only while the mouse is acquired, as it is in a focused window.
    void SendMouse(const SDL_Event& event);
    void AcquireMouse();
    // The stick's whole mouse steps still wanted towards the target, per axis.
    std::pair<int, int> StepsToTarget() const;
    // Tilts the stick for this frame's part of the way, or lets go on arrival.
    void Steer(std::uint32_t stepMs);
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
    std::optional<DVirtualGamepad> m_pad;
    std::optional<SteerTarget> m_steer;
};
