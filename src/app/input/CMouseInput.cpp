#include "app/input/CMouseInput.h"

#include "app/CGame.h"
#include "app/CGameScreens.h"
#include "app/commands/CCommandFlow.h"
#include "app/menu/CGameMenu.h"
#include "app/screens/CInventoryScreen.h"
#include "app/screens/CMessageBoxScreen.h"
#include "app/screens/COptionsButtonScreen.h"

#include <utility>

CMouseInput::CMouseInput(CGame& game, CCommandFlow& commands) : m_game(game), m_commands(commands) {}

void CMouseInput::CursorMoved(int x, int y, bool leftDown) {
    m_commands.CursorMoved(x, y);
    m_game.Menu().CursorMoved(x, y, leftDown);
}

void CMouseInput::Button(CMouseButtons::Edge edge, int x, int y) {
    switch (edge) {
    case CMouseButtons::Edge::LeftPressed:
        m_leftPressTaken = LeftPressed(x, y);
        break;
    case CMouseButtons::Edge::LeftReleased:
        if (!std::exchange(m_leftPressTaken, false)) {
            LeftReleased(x, y);
        }
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

bool CMouseInput::LeftPressed(int x, int y) {
    if (m_commands.ContextWindowPress(x, y)) {
        return true;
    }
    if (m_game.Screens().MessageBox().Visible()) {
        m_game.CloseMessageBox();
        return true;
    }
    // The menu holds the game: no walking while it is open.
    if (!m_game.Menu().Shown() && !m_game.Screens().TakesClick(x, y)) {
        m_commands.LeftPressedInScene(x, y);
    }
    return false;
}

void CMouseInput::LeftReleased(int x, int y) {
    // Buttons act when released.
    CGameScreens& screens = m_game.Screens();
    if (screens.OptionsButton().Contains(x, y)) {
        m_game.Menu().Toggle();
    } else if (m_game.Menu().Shown()) {
        m_game.Menu().Click(x, y);
    } else if (screens.Inventory().ButtonContains(x, y)) {
        screens.Inventory().ToggleWindow();
    }
}
