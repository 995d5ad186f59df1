#include "app/input/CMouseInput.h"

#include "app/CGameScreens.h"
#include "app/commands/CCommandFlow.h"
#include "app/commands/CMessageBoxFlow.h"
#include "app/display/CDisplay.h"
#include "app/menu/CGameMenu.h"
#include "app/screens/CInventoryScreen.h"
#include "app/screens/COptionsButtonScreen.h"
#include "app/world/CGameWorld.h"
#include "platform/DReport.h"
#include "platform/DWindow.h"
#include "render/CMouseCursor.h"
#include "resources/CADVException.h"

#include <algorithm>
#include <utility>

CMouseInput::CMouseInput(CGameScreens& screens, CGameMenu& menu, CMessageBoxFlow& messageBoxes,
                         CCommandFlow& commands, const CDisplay& display)
    : m_screens(screens), m_menu(menu), m_messageBoxes(messageBoxes), m_commands(commands), m_display(display) {}

void CMouseInput::Frame(DWindow& window, CMouseCursor& cursor, const CGameWorld& world, std::uint32_t elapsed) {
    window.Gamepad().Advance(elapsed);
    DMouse::State mouse;
    if (window.Mouse().Read(mouse)) {
        m_buttons.Set(mouse.left, mouse.right);
    }
    MoveCursor(mouse.dx, mouse.dy);
    cursor.SetPosition(m_cursorX, m_cursorY);
    const int x = static_cast<int>(m_cursorX);
    const int y = static_cast<int>(m_cursorY);
    CursorMoved(x, y, m_buttons.Left());
    for (const CMouseButtons::Edge edge : m_buttons.Edges()) {
        try {
            Button(edge, x, y);
        } catch (const CADVException& error) {
            // A failure inside one piece of input handling; the game goes on.
            ReportError(error.GetText());
        }
        // A click may have unloaded the scene; the frame then ends.
        if (world.Scene() == nullptr) {
            return;
        }
    }
}

void CMouseInput::MoveCursor(int dx, int dy) {
    constexpr float kStep = DMouse::kCursorPixelsPerStep;
    m_cursorX = std::clamp(m_cursorX + kStep * static_cast<float>(dx), 0.0f,
                           static_cast<float>(m_display.Width() - 1));
    m_cursorY = std::clamp(m_cursorY + kStep * static_cast<float>(dy), 0.0f,
                           static_cast<float>(m_display.Height() - 1));
}

void CMouseInput::CursorMoved(int x, int y, bool leftDown) {
    m_commands.CursorMoved(x, y);
    m_menu.CursorMoved(x, y, leftDown);
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
    if (m_messageBoxes.Visible()) {
        m_messageBoxes.Close();
        return true;
    }
    // The menu holds the game: no walking while it is open.
    if (!m_menu.Shown() && !m_screens.TakesClick(x, y)) {
        m_commands.LeftPressedInScene(x, y);
    }
    return false;
}

void CMouseInput::LeftReleased(int x, int y) {
    // Buttons act when released.
    if (m_screens.OptionsButton().Contains(x, y)) {
        m_menu.Toggle();
    } else if (m_menu.Shown()) {
        m_menu.Click(x, y);
    } else if (m_screens.Inventory().ButtonContains(x, y)) {
        m_screens.Inventory().ToggleWindow();
    }
}
