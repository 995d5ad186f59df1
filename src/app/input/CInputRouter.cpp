#include "app/input/CInputRouter.h"

#include "app/CGameScreens.h"
#include "app/commands/CCommandFlow.h"
#include "app/commands/CMessageBoxFlow.h"
#include "app/input/CKeyboardInput.h"
#include "app/menu/CGameMenu.h"
#include "app/screens/CContextWindowScreen.h"
#include "app/screens/CInventoryScreen.h"
#include "app/screens/COptionsButtonScreen.h"
#include "platform/DMessage.h"
#include "platform/DReport.h"
#include "resources/CADVException.h"

namespace {

using Kind = CInputEvent::Kind;

bool IsCharacter(const CInputEvent& event, std::uint32_t character) {
    return event.kind == Kind::Character && event.code == character;
}

bool IsKeyDown(const CInputEvent& event, std::uint32_t key) {
    return event.kind == Kind::KeyDown && event.code == key;
}

} // namespace

CInputRouter::CInputRouter(CGameScreens& screens, CGameMenu& menu, CMessageBoxFlow& messageBoxes,
                           CCommandFlow& commands, CKeyboardInput& keyboard)
    : m_screens(screens), m_menu(menu), m_messageBoxes(messageBoxes), m_commands(commands), m_keyboard(keyboard) {
    const auto always = [] { return true; };
    m_stack.Add({"context window", [this] { return m_screens.ContextWindow().Visible(); },
                 [this](const CInputEvent& event) { return ContextWindow(event); }});
    m_stack.Add({"message box", [this] { return m_messageBoxes.Visible(); },
                 [this](const CInputEvent& event) { return MessageBox(event); }});
    m_stack.Add({"menu panel", [this] { return m_menu.PanelOpen(); },
                 [this](const CInputEvent& event) { return MenuPanel(event); }});
    m_stack.Add({"menu", [this] { return m_menu.Shown(); }, [this](const CInputEvent& event) { return Menu(event); }});
    m_stack.Add({"inventory", always, [this](const CInputEvent& event) { return Inventory(event); }});
    m_stack.Add({"command line", always, [this](const CInputEvent& event) { return CommandLine(event); }});
    m_stack.Add({"scene", always, [this](const CInputEvent& event) { return Scene(event); }});
}

void CInputRouter::Dispatch(std::uint32_t msg, std::uint32_t code) const {
    const Kind kind = msg == WM_KEYDOWN ? Kind::KeyDown : msg == WM_KEYUP ? Kind::KeyUp : Kind::Character;
    try {
        Dispatch({kind, code, 0, 0});
    } catch (const CADVException& error) {
        ReportError(error.GetText());
    }
}

EInputTaken CInputRouter::ContextWindow(const CInputEvent& event) {
    switch (event.kind) {
    case Kind::LeftPress:
        // A press anywhere closes the window; only one inside it goes no further.
        return m_commands.ContextWindowPress(event.x, event.y) ? EInputTaken::TakenWithRelease
                                                                : EInputTaken::Passed;
    case Kind::RightPress:
        return m_commands.ContextWindowPress(event.x, event.y) ? EInputTaken::Taken : EInputTaken::Passed;
    case Kind::RightRelease:
        m_commands.RightReleased();
        return EInputTaken::Taken;
    case Kind::KeyDown:
        // Escape still opens the menu, but the verbs go first rather than show through it.
        if (event.code == VK_ESCAPE) {
            m_screens.ContextWindow().Hide();
        }
        return EInputTaken::Passed;
    default:
        return EInputTaken::Passed;
    }
}

EInputTaken CInputRouter::MessageBox(const CInputEvent& event) {
    switch (event.kind) {
    case Kind::LeftPress:
        m_messageBoxes.Close();
        return EInputTaken::TakenWithRelease;
    case Kind::RightPress:
        m_messageBoxes.Close();
        return EInputTaken::Taken;
    case Kind::Character:
        if (event.code == CKeyboardInput::kEnter) {
            m_messageBoxes.Close();
            if (!m_messageBoxes.Queue().Empty()) {
                m_messageBoxes.ShowNext();
            }
            return EInputTaken::Taken;
        }
        // The inventory still opens and closes; nothing is typed meanwhile.
        return event.code == CKeyboardInput::kTab ? EInputTaken::Passed : EInputTaken::Taken;
    case Kind::KeyDown:
        // No command recalled into a line that cannot be typed in.
        return event.code == VK_F3 ? EInputTaken::Taken : EInputTaken::Passed;
    default:
        return EInputTaken::Passed;
    }
}

EInputTaken CInputRouter::MenuPanel(const CInputEvent& event) {
    if (IsKeyDown(event, VK_ESCAPE)) {
        // Back from a panel to the options.
        m_menu.Escape();
        return EInputTaken::Taken;
    }
    return EInputTaken::Passed;
}

EInputTaken CInputRouter::Menu(const CInputEvent& event) {
    switch (event.kind) {
    case Kind::KeyDown:
        // The menu holds the game: other keys pressed meanwhile do nothing.
        if (event.code == VK_ESCAPE) {
            m_menu.Escape();
        }
        return EInputTaken::Taken;
    case Kind::Character:
        m_menu.Shortcut(event.code);
        return EInputTaken::Taken;
    case Kind::LeftRelease:
        // Buttons act when released.
        if (m_screens.OptionsButton().Contains(event.x, event.y)) {
            m_menu.Toggle();
        } else {
            m_menu.Click(event.x, event.y);
        }
        return EInputTaken::Taken;
    case Kind::LeftPress:
    case Kind::RightPress:
        // No walking and no verbs while it is open.
        return EInputTaken::Taken;
    default:
        return EInputTaken::Passed;
    }
}

EInputTaken CInputRouter::Inventory(const CInputEvent& event) {
    CInventoryScreen& inventory = m_screens.Inventory();
    if (IsCharacter(event, CKeyboardInput::kTab) ||
        (event.kind == Kind::LeftRelease && inventory.ButtonContains(event.x, event.y))) {
        inventory.ToggleWindow();
        return EInputTaken::Taken;
    }
    return EInputTaken::Passed;
}

EInputTaken CInputRouter::CommandLine(const CInputEvent& event) {
    if (IsKeyDown(event, VK_F3)) {
        m_keyboard.RecallLastCommand();
        return EInputTaken::Taken;
    }
    if (event.kind != Kind::Character) {
        return EInputTaken::Passed;
    }
    if (event.code == CKeyboardInput::kEnter) {
        m_keyboard.Enter();
    } else {
        m_keyboard.Type(event.code);
    }
    return EInputTaken::Taken;
}

EInputTaken CInputRouter::Scene(const CInputEvent& event) {
    switch (event.kind) {
    case Kind::KeyDown:
        if (event.code == VK_ESCAPE) {
            // Not while a scene loads: the options button is gone then.
            if (m_screens.OptionsButton().Visible()) {
                m_menu.Open();
            }
            return EInputTaken::Taken;
        }
        return m_keyboard.FreeMoveKey(event.code, true) ? EInputTaken::Taken : EInputTaken::Passed;
    case Kind::KeyUp:
        return m_keyboard.FreeMoveKey(event.code, false) ? EInputTaken::Taken : EInputTaken::Passed;
    case Kind::LeftPress:
        if (!m_screens.TakesClick(event.x, event.y)) {
            m_commands.LeftPressedInScene(event.x, event.y);
        }
        return EInputTaken::Taken;
    case Kind::LeftRelease:
        if (m_screens.OptionsButton().Contains(event.x, event.y)) {
            m_menu.Toggle();
            return EInputTaken::Taken;
        }
        return EInputTaken::Passed;
    case Kind::RightPress:
        m_commands.RightPressed(event.x, event.y);
        return EInputTaken::Taken;
    default:
        return EInputTaken::Passed;
    }
}
