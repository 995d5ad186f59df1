#pragma once

#include "app/CMouseButtons.h"

#include <cstdint>

class CCommandFlow;
class CDisplay;
class CGameMenu;
class CGameWorld;
class CInputRouter;
class CMouseCursor;
class CSettings;
class DWindow;

// The mouse's part of a frame: the cursor in back-buffer pixels, what it
// touches, and each button edge handed to the input router.
class CMouseInput {
public:
    CMouseInput(CInputRouter& router, CGameMenu& menu, CCommandFlow& commands, const CDisplay& display);

    // The pads' buttons and sticks as the settings say; `realPads` false takes
    // only the virtual pads of input files.
    void ConfigurePads(DWindow& window, const CSettings& settings, bool realPads);

    // Reads the mouse (with the pads' sticks moved by `elapsed` milliseconds),
    // moves the cursor and hands out the button edges. An edge that left the
    // world without a scene ends the handling: the frame ends too.
    void Frame(DWindow& window, CMouseCursor& cursor, const CGameWorld& world, std::uint32_t elapsed);
    // The button states of this frame become the previous ones; only a frame
    // that ran to its end does this.
    void CommitButtons() { m_buttons.Commit(); }
    // As at the start of a game: both buttons up.
    void ResetButtons() { m_buttons = CMouseButtons(); }

    // Moves by mouse steps, kept inside the screen.
    void MoveCursor(int dx, int dy);
    float CursorX() const { return m_cursorX; }
    float CursorY() const { return m_cursorY; }

    void CursorMoved(int x, int y, bool leftDown);
    void Button(CMouseButtons::Edge edge, int x, int y);

private:
    CInputRouter& m_router;
    CGameMenu& m_menu;
    CCommandFlow& m_commands;
    const CDisplay& m_display;
    CMouseButtons m_buttons;
    float m_cursorX = 0;
    float m_cursorY = 0;
    // The left button went down to close a message or the context window: its
    // release must not also press whatever lies beneath.
    bool m_leftPressTaken = false;
};
