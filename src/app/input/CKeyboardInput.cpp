#include "app/input/CKeyboardInput.h"

#include "app/commands/CCommandFlow.h"
#include "app/commands/CMessageBoxFlow.h"
#include "app/world/CGameWorld.h"
#include "platform/DMessage.h"
#include "scene/CScene.h"
#include "scene/CSceneObject.h"
#include "state/CState.h"

#include <cctype>
#include <string>

namespace {

struct KeyEvents {
    std::uint32_t virtualKey;
    bool CKeyboardInput::Directions::*flag;
    const char* pressed;
    const char* released;
    const char* fastPressed;
    const char* fastReleased;
};

// Shift sends the same events whatever the fast flag says; the arrows send
// their fast variants while it is set.
constexpr KeyEvents kKeyEvents[] = {
    {VK_SHIFT, &CKeyboardInput::Directions::fast, "fast_pressed", "fast_released", "fast_pressed",
     "fast_released"},
    {VK_UP, &CKeyboardInput::Directions::up, "up_pressed", "up_released", "fastup_pressed", "fastup_released"},
    {VK_DOWN, &CKeyboardInput::Directions::down, "down_pressed", "down_released", "fastdown_pressed",
     "fastdown_released"},
    {VK_LEFT, &CKeyboardInput::Directions::left, "left_pressed", "left_released", "fastleft_pressed",
     "fastleft_released"},
    {VK_RIGHT, &CKeyboardInput::Directions::right, "right_pressed", "right_released", "fastright_pressed",
     "fastright_released"},
};

const KeyEvents* FindKey(std::uint32_t virtualKey) {
    for (const KeyEvents& key : kKeyEvents) {
        if (key.virtualKey == virtualKey) {
            return &key;
        }
    }
    return nullptr;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

CKeyboardInput::CKeyboardInput(CGameWorld& world, CMessageBoxFlow& messageBoxes, CCommandFlow& commands)
    : m_world(world), m_messageBoxes(messageBoxes), m_commands(commands) {}

const char* CKeyboardInput::FreeMoveEvent(std::uint32_t virtualKey, bool down, bool fast) {
    const KeyEvents* key = FindKey(virtualKey);
    if (key == nullptr) {
        return nullptr;
    }
    if (fast) {
        return down ? key->fastPressed : key->fastReleased;
    }
    return down ? key->pressed : key->released;
}

bool CKeyboardInput::IsTypable(std::uint32_t character) {
    return character < 0x80 &&
           (std::isalnum(static_cast<int>(character)) || std::ispunct(static_cast<int>(character)) ||
            character == ' ');
}

bool CKeyboardInput::FreeMoveKey(std::uint32_t virtualKey, bool down) {
    const KeyEvents* key = FindKey(virtualKey);
    if (key == nullptr) {
        return false;
    }
    // The event carries the fast flag as it was before this key.
    const char* event = FreeMoveEvent(virtualKey, down, m_keys.fast);
    m_keys.*(key->flag) = down;
    SendFreeMove(event);
    return true;
}

void CKeyboardInput::RecallLastCommand() {
    if (InputAccepted()) {
        m_commands.SetCommandText(m_commands.LastCommand());
    }
}

void CKeyboardInput::SendFreeMove(const char* parameter) {
    CScene* scene = m_world.Scene();
    if (scene != nullptr && scene->FreeMoveObject() != nullptr) {
        scene->FreeMoveObject()->OnEvent("freemove", parameter);
    }
}

bool CKeyboardInput::InputAccepted() const {
    const CState& setup = m_world.Setup();
    return setup.GetBool(u"input") && setup.GetBool(u"inputfield");
}

void CKeyboardInput::Enter() {
    if (m_commands.CommandText().empty()) {
        return;
    }
    const std::string command = Trimmed(m_commands.CommandText());
    m_commands.SetLastCommand(command);
    m_commands.SetCommandText(command);
    m_commands.ExecuteCommand();
    // A message the command queued shows from the next frame on, so the line is emptied now.
    if (!m_messageBoxes.Visible()) {
        m_commands.ClearCommandLine();
    }
}

void CKeyboardInput::Type(std::uint32_t character) {
    if (!InputAccepted()) {
        return;
    }
    const std::string& text = m_commands.CommandText();
    if (character == kBackspace) {
        if (!text.empty()) {
            m_commands.SetCommandText(text.substr(0, text.size() - 1));
        }
    } else if (IsTypable(character) && text.size() < kMaxCommandLength) {
        m_commands.SetCommandText(text + static_cast<char>(character));
    }
}
