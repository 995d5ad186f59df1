#pragma once

#include "app/CMouseButtons.h"

class CCommandFlow;
class CGame;

// The mouse's part of a frame once the cursor has moved: what the cursor
// touches, and who gets each button edge.
class CMouseInput {
public:
    CMouseInput(CGame& game, CCommandFlow& commands);

    void CursorMoved(int x, int y, bool leftDown);
    void Button(CMouseButtons::Edge edge, int x, int y);

private:
    // True when the press closed a window, so that its release does nothing more.
    bool LeftPressed(int x, int y);
    void LeftReleased(int x, int y);

    CGame& m_game;
    CCommandFlow& m_commands;
    // The left button went down to close a message or the context window: its
    // release must not also press whatever lies beneath.
    bool m_leftPressTaken = false;
};
