#pragma once

#include "app/input/CInputStack.h"

#include <cstdint>

class CCommandFlow;
class CGameMenu;
class CGameScreens;
class CKeyboardInput;
class CMessageBoxFlow;

// The game's receivers of keys, characters and mouse buttons, from the top of
// the screen down: context window, message box, menu panel, menu, inventory,
// command line, scene. Only here is it asked which screens are open to decide
// who gets an event. Releases of keys always reach the scene, so a move key
// let go while the menu is open does not stay held.
class CInputRouter {
public:
    CInputRouter(CGameScreens& screens, CGameMenu& menu, CMessageBoxFlow& messageBoxes, CCommandFlow& commands,
                 CKeyboardInput& keyboard);

    CInputStack::Outcome Dispatch(const CInputEvent& event) const { return m_stack.Dispatch(event); }
    // A key or character message from the window (WM_KEYDOWN, WM_KEYUP,
    // WM_CHAR); a failure ends the handling of that one message, told on stderr.
    void Dispatch(std::uint32_t msg, std::uint32_t code) const;

private:
    EInputTaken ContextWindow(const CInputEvent& event);
    EInputTaken MessageBox(const CInputEvent& event);
    EInputTaken MenuPanel(const CInputEvent& event);
    EInputTaken Menu(const CInputEvent& event);
    EInputTaken Inventory(const CInputEvent& event);
    EInputTaken CommandLine(const CInputEvent& event);
    EInputTaken Scene(const CInputEvent& event);

    CGameScreens& m_screens;
    CGameMenu& m_menu;
    CMessageBoxFlow& m_messageBoxes;
    CCommandFlow& m_commands;
    CKeyboardInput& m_keyboard;
    CInputStack m_stack;
};
