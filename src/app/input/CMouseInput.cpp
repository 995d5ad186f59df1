#include "app/input/CMouseInput.h"

#include "app/commands/CCommandFlow.h"
#include "app/display/CDisplay.h"
#include "app/input/CInputRouter.h"
#include "app/menu/CGameMenu.h"
#include "app/settings/CSettings.h"
#include "app/world/CGameWorld.h"
#include "platform/DReport.h"
#include "platform/DWindow.h"
#include "render/CMouseCursor.h"
#include "resources/CADVException.h"

#include <algorithm>
#include <utility>

CMouseInput::CMouseInput(CInputRouter& router, CGameMenu& menu, CCommandFlow& commands, const CDisplay& display)
    : m_router(router), m_menu(menu), m_commands(commands), m_display(display) {}

void CMouseInput::ConfigurePads(DWindow& window, const CSettings& settings, bool realPads) {
    DGamepad::Settings pads;
    pads.enabled = settings.Flag("gamepad");
    // Pixels per second at full tilt, and the dead zone in percent of full tilt.
    pads.stick.speed = static_cast<float>(settings.Int("gamepadspeed"));
    pads.stick.deadZone = static_cast<float>(settings.Int("gamepaddeadzone")) / 100.0f;
    window.Gamepad().Configure(pads, realPads);
}

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
    using Kind = CInputEvent::Kind;
    switch (edge) {
    case CMouseButtons::Edge::LeftPressed:
        m_leftPressTaken = m_router.Dispatch({Kind::LeftPress, 0, x, y}).taken == EInputTaken::TakenWithRelease;
        break;
    case CMouseButtons::Edge::LeftReleased:
        if (!std::exchange(m_leftPressTaken, false)) {
            m_router.Dispatch({Kind::LeftRelease, 0, x, y});
        }
        break;
    case CMouseButtons::Edge::RightPressed:
        m_router.Dispatch({Kind::RightPress, 0, x, y});
        break;
    case CMouseButtons::Edge::RightReleased:
        m_router.Dispatch({Kind::RightRelease, 0, x, y});
        break;
    }
}
