#include "platform/DInputReplay.h"

#include "platform/DWindow.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using Kind = DInputEvent::Kind;

struct ModifierKey {
    SDL_Keycode key;
    SDL_Keymod mod;
};

constexpr ModifierKey kModifierKeys[] = {
    {SDLK_LSHIFT, KMOD_LSHIFT}, {SDLK_RSHIFT, KMOD_RSHIFT}, {SDLK_LCTRL, KMOD_LCTRL},
    {SDLK_RCTRL, KMOD_RCTRL},   {SDLK_LALT, KMOD_LALT},     {SDLK_RALT, KMOD_RALT},
    {SDLK_LGUI, KMOD_LGUI},     {SDLK_RGUI, KMOD_RGUI},
};

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

DInputReplay::DInputReplay(DInputScript script, DWindow& window, Game game)
    : m_script(std::move(script)), m_window(window), m_game(std::move(game)) {}

std::optional<std::uint32_t> DInputReplay::Step(long frame) const {
    const auto& events = m_script.Events();
    for (std::size_t i = m_next; i < events.size() && events[i].frame <= frame; ++i) {
        if (events[i].frame == frame && events[i].kind == Kind::Step) {
            return events[i].stepMs;
        }
    }
    return std::nullopt;
}

void DInputReplay::Feed(long frame) {
    m_frame = frame;
    m_frameDx = 0;
    m_frameDy = 0;
    for (const DInputEvent& release : std::exchange(m_releases, {})) {
        Play(release);
    }
    const auto& events = m_script.Events();
    for (; m_next < events.size() && events[m_next].frame <= frame; ++m_next) {
        Play(events[m_next]);
    }
}

void DInputReplay::Play(const DInputEvent& event) {
    switch (event.kind) {
    case Kind::Move:
        Move(event.x, event.y);
        break;
    case Kind::At:
        MoveTo(static_cast<float>(event.x), static_cast<float>(event.y));
        break;
    case Kind::AtText: {
        const auto centre = m_game.findText(event.text);
        if (!centre) {
            throw DInputReplayError(m_script.FileName() + ": frame " + std::to_string(m_frame) +
                                    ": no text " + DInputScript::Quote(event.text) + " on the screen");
        }
        MoveTo(static_cast<float>(centre->first), static_cast<float>(centre->second));
        break;
    }
    case Kind::Press:
    case Kind::Release:
        SendButton(event.button, event.kind == Kind::Press);
        break;
    case Kind::Click:
        SendButton(event.button, true);
        m_releases.push_back({.kind = Kind::Release, .button = event.button});
        break;
    case Kind::KeyDown:
    case Kind::KeyUp:
        SendKey(event.key, event.kind == Kind::KeyDown);
        break;
    case Kind::Key:
        SendKey(event.key, true);
        m_releases.push_back({.kind = Kind::KeyUp, .key = event.key});
        break;
    case Kind::Type:
        SendText(event.text);
        break;
    case Kind::Quit: {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        m_window.Translate(quit);
        break;
    }
    case Kind::Step:
        // The clock's business: the caller asks Step before the frame.
        break;
    }
}

void DInputReplay::Move(int dx, int dy) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    SendMouse(event);
    m_frameDx += dx;
    m_frameDy += dy;
}

void DInputReplay::MoveTo(float x, float y) {
    // The game moves its cursor by twice the frame's whole motion and keeps it
    // on the screen only then, so the motion sent so far counts unclamped.
    const auto [cursorX, cursorY] = m_game.cursor();
    const float fromX = cursorX + 2.0f * static_cast<float>(m_frameDx);
    const float fromY = cursorY + 2.0f * static_cast<float>(m_frameDy);
    Move(static_cast<int>(std::lround((x - fromX) / 2.0f)),
         static_cast<int>(std::lround((y - fromY) / 2.0f)));
}

void DInputReplay::SendButton(DInputEvent::Button button, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button == DInputEvent::Button::Left ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    SendMouse(event);
}

void DInputReplay::SendMouse(const SDL_Event& event) {
    if (!m_window.Mouse().IsAcquired()) {
        m_window.Mouse().Acquire();
    }
    m_window.Translate(event);
}

void DInputReplay::SendKey(std::int32_t key, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    // A key pressed again while held repeats, as a held key's auto-repeat does.
    event.key.repeat = down && m_heldKeys.contains(key) ? 1 : 0;
    if (down) {
        m_heldKeys.insert(key);
    } else {
        m_heldKeys.erase(key);
    }
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    // As the platform does, a modifier's own press already counts it.
    event.key.keysym.mod = HeldModifiers();
    m_window.Translate(event);
}

std::uint16_t DInputReplay::HeldModifiers() const {
    std::uint16_t mod = KMOD_NONE;
    for (const ModifierKey& modifier : kModifierKeys) {
        if (m_heldKeys.contains(modifier.key)) {
            mod |= static_cast<std::uint16_t>(modifier.mod);
        }
    }
    return mod;
}

void DInputReplay::SendText(const std::string& text) {
    // The platform delivers long texts in pieces, never splitting a character.
    constexpr std::size_t kMaxBytes = SDL_TEXTINPUTEVENT_TEXT_SIZE - 1;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = std::min(start + kMaxBytes, text.size());
        while (end < text.size() && end > start + 1 && IsContinuationByte(text[end])) {
            --end;
        }
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        std::memcpy(event.text.text, text.data() + start, end - start);
        m_window.Translate(event);
        start = end;
    }
}
