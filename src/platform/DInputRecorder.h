#pragma once

#include "platform/DInputScript.h"

#include <cstdint>
#include <optional>

class DWindow;
union SDL_Event;

// Writes down a session as an input file that replays it: every event the
// window translates, under the frame it arrives before, and each frame's clock
// step. Mouse events that the mouse ignores (it is not acquired) are left out,
// because a replay acquires the mouse. Of the game controllers the first one
// the game takes is written down, as the one pad a replay has.
class DInputRecorder {
public:
    // Listens to the window from now on; the first events belong to frame 1.
    explicit DInputRecorder(DWindow& window);
    ~DInputRecorder();
    DInputRecorder(const DInputRecorder&) = delete;
    DInputRecorder& operator=(const DInputRecorder&) = delete;

    // The clock moved `stepMs` towards the next frame; the events from now on belong to it.
    void NextFrame(std::uint32_t stepMs);

    const DInputScript& Script() const { return m_script; }

private:
    void OnEvent(const SDL_Event& event);
    void Add(DInputEvent event);

    DWindow& m_window;
    DInputScript m_script;
    long m_frame = 1;
    // The SDL instance of the pad being written down.
    std::optional<std::int32_t> m_pad;
};
