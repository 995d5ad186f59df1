#include "app/input/CMouseInput.h"

#include "app/CGame.h"
#include "app/CGameScreens.h"
#include "app/commands/CCommandFlow.h"
#include "app/screens/CInventoryScreen.h"
#include "app/screens/CMessageBoxScreen.h"

CMouseInput::CMouseInput(CGame& game, CCommandFlow& commands) : m_game(game), m_commands(commands) {}

void CMouseInput::CursorMoved(int x, int y) {
    m_commands.CursorMoved(x, y);
}

void CMouseInput::Button(CMouseButtons::Edge edge, int x, int y) {
    switch (edge) {
    case CMouseButtons::Edge::LeftPressed:
        LeftPressed(x, y);
        break;
    case CMouseButtons::Edge::LeftReleased:
        LeftReleased(x, y);
        break;
    case CMouseButtons::Edge::RightPressed:
        if (!m_commands.ContextWindowPress(x, y)) {
            m_commands.RightPressed(x, y);
        }
        break;
    case CMouseButtons::Edge::RightReleased:
        m_commands.RightReleased();
        break;
    }
}

void CMouseInput::LeftPressed(int x, int y) {
    if (m_commands.ContextWindowPress(x, y)) {
        return;
    }
    if (m_game.Screens().MessageBox().Visible()) {
        m_game.CloseMessageBox();
        return;
    }
    if (!m_game.Screens().TakesClick(x, y)) {
        m_commands.LeftPressedInScene(x, y);
    }
}

void CMouseInput::LeftReleased(int x, int y) {
    // Buttons act when released, as the game menu's do.
    CInventoryScreen& inventory = m_game.Screens().Inventory();
    if (inventory.ButtonContains(x, y)) {
        inventory.ToggleWindow();
    }
}
