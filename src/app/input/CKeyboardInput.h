#pragma once

#include <cstddef>
#include <cstdint>

class CCommandFlow;
class CGameWorld;
class CMessageBoxFlow;

// What keys and typed characters do once the input router handed them over:
// the arrow keys and Shift become "freemove" events for the scene's free-move
// object, whose script decides what they do; typed characters build the
// command line, Enter carries it out and F3 brings the last one back.
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

    CKeyboardInput(CGameWorld& world, CMessageBoxFlow& messageBoxes, CCommandFlow& commands);

    // A move key going down or up: true when it was one (and its event was sent).
    bool FreeMoveKey(std::uint32_t virtualKey, bool down);
    // The last command back on the line, when the line takes input.
    void RecallLastCommand();
    // Carries out the command line.
    void Enter();
    // A typed character or Backspace on the command line, when it takes input.
    void Type(std::uint32_t character);
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
    bool InputAccepted() const;

    CGameWorld& m_world;
    CMessageBoxFlow& m_messageBoxes;
    CCommandFlow& m_commands;
    Directions m_keys;
};
