#pragma once

#include <cstddef>
#include <cstdint>

class CCommandFlow;
class CGameMenu;
class CGameScreens;
class CGameWorld;
class CMessageBoxFlow;

// Keys and typed characters between frames. The arrow keys and Shift become
// "freemove" events for the scene's free-move object, whose script decides
// what they do; typed characters build the command line.
class CKeyboardInput {
public:
    static constexpr std::size_t kMaxCommandLength = 128;
    static constexpr std::uint32_t kBackspace = 8;
    static constexpr std::uint32_t kTab = 9;
    static constexpr std::uint32_t kEnter = 13;

    struct Directions {
        bool up = false;
        bool down = false;
        bool left = false;
        bool right = false;
        bool fast = false;
    };

    CKeyboardInput(CGameWorld& world, CGameScreens& screens, CGameMenu& menu, CMessageBoxFlow& messageBoxes,
                   CCommandFlow& commands);

    void KeyDown(std::uint32_t virtualKey);
    void KeyUp(std::uint32_t virtualKey);
    void Character(std::uint32_t character);
    // All keys up, as at the start of a game.
    void Reset() { m_keys = {}; }
    const Directions& Keys() const { return m_keys; }

    // The parameter of the "freemove" event a key sends; null for keys that send none.
    static const char* FreeMoveEvent(std::uint32_t virtualKey, bool down, bool fast);
    // What the command line takes: letters, digits, punctuation and the space
    // as the C locale classes them, so nothing beyond 7-bit ASCII.
    static bool IsTypable(std::uint32_t character);

private:
    void SendFreeMove(const char* parameter);
    void Enter();
    void Type(std::uint32_t character);
    bool InputAccepted() const;

    CGameWorld& m_world;
    CGameScreens& m_screens;
    CGameMenu& m_menu;
    CMessageBoxFlow& m_messageBoxes;
    CCommandFlow& m_commands;
    Directions m_keys;
};
