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

void DInputReplay::Feed(long frame, std::uint32_t stepMs) {
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
    Steer(stepMs);
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
        const auto [x, y] = TextCentre(event.text);
        MoveTo(x, y);
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
    case Kind::PadAttach:
    case Kind::PadDetach:
    case Kind::PadPress:
    case Kind::PadRelease:
    case Kind::PadClick:
    case Kind::PadAxis:
    case Kind::PadAt:
    case Kind::PadAtText:
        PlayPad(event);
        break;
    }
}

void DInputReplay::PlayPad(const DInputEvent& event) {
    // Like the mouse's, the pad's input counts only in a focused window.
    AcquireMouse();
    switch (event.kind) {
    case Kind::PadAttach:
        if (!m_pad) {
            m_pad.emplace(m_window);
        }
        m_pad->Attach();
        break;
    case Kind::PadDetach:
        m_steer.reset();
        m_pad->Detach();
        break;
    case Kind::PadPress:
    case Kind::PadClick:
        if (m_steer && StepsToTarget() != std::pair{0, 0}) {
            throw Failure("the cursor is still on its way to " + m_steer->named);
        }
        m_pad->SetButton(event.padControl, true);
        if (event.kind == Kind::PadClick) {
            m_releases.push_back({.kind = Kind::PadRelease, .padControl = event.padControl});
        }
        break;
    case Kind::PadRelease:
        // A click's release finds no pad when it was pulled out meanwhile.
        if (m_pad && m_pad->Attached()) {
            m_pad->SetButton(event.padControl, false);
        }
        break;
    case Kind::PadAxis:
        // The file's own tilt takes the stick over.
        if (event.padControl == SDL_CONTROLLER_AXIS_LEFTX || event.padControl == SDL_CONTROLLER_AXIS_LEFTY) {
            m_steer.reset();
        }
        m_pad->SetAxis(event.padControl, event.axisValue);
        break;
    case Kind::PadAt:
        m_steer = SteerTarget{static_cast<float>(event.x), static_cast<float>(event.y),
                              std::to_string(event.x) + " " + std::to_string(event.y)};
        break;
    case Kind::PadAtText: {
        const auto [x, y] = TextCentre(event.text);
        m_steer = SteerTarget{x, y, DInputScript::Quote(event.text)};
        break;
    }
    default:
        break;
    }
}

DInputReplayError DInputReplay::Failure(const std::string& what) const {
    return DInputReplayError(m_script.FileName() + ": frame " + std::to_string(m_frame) + ": " + what);
}

std::pair<float, float> DInputReplay::TextCentre(const std::string& text) const {
    const auto centre = m_game.findText(text);
    if (!centre) {
        throw Failure("no text " + DInputScript::Quote(text) + " on the screen");
    }
    return {static_cast<float>(centre->first), static_cast<float>(centre->second)};
}

std::pair<float, float> DInputReplay::CursorAfterFrame() const {
    const auto [x, y] = m_game.cursor();
    return {x + DMouse::kCursorPixelsPerStep * static_cast<float>(m_frameDx),
            y + DMouse::kCursorPixelsPerStep * static_cast<float>(m_frameDy)};
}

std::pair<int, int> DInputReplay::StepsToTarget() const {
    const auto [x, y] = CursorAfterFrame();
    // Within a pixel counts as there: a mouse step is two, so nearer cannot be promised.
    const auto steps = [](float distance) {
        return std::abs(distance) <= 1.0f
                   ? 0
                   : static_cast<int>(std::lround(distance / DMouse::kCursorPixelsPerStep));
    };
    return {steps(m_steer->x - x), steps(m_steer->y - y)};
}

void DInputReplay::Steer(std::uint32_t stepMs) {
    if (!m_steer || stepMs == 0) {
        return;
    }
    const auto [stepsX, stepsY] = StepsToTarget();
    if (stepsX == 0 && stepsY == 0) {
        m_steer.reset();
        m_pad->SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
        m_pad->SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 0);
        return;
    }
    // The stick's motion is cut to whole steps towards zero, after the fraction
    // it carries: aiming half a step beyond the wanted ones lands on them. A
    // way longer than a frame's goes at full tilt, straight for the target.
    const DStickMotion::Tuning& tuning = m_window.Gamepad().Current().stick;
    const DStickMotion::Vector fraction = m_window.Gamepad().Stick().Fraction();
    const auto motion = [](int steps, float carried) {
        const float beyond = steps > 0 ? 0.5f : steps < 0 ? -0.5f : 0.0f;
        return static_cast<float>(steps) - carried + beyond;
    };
    const float pixelsPerSecond = DMouse::kCursorPixelsPerStep * 1000.0f / static_cast<float>(stepMs);
    DStickMotion::Vector velocity{motion(stepsX, fraction.x) * pixelsPerSecond,
                                  motion(stepsY, fraction.y) * pixelsPerSecond};
    if (std::hypot(velocity.x, velocity.y) > tuning.speed) {
        const float way = std::hypot(static_cast<float>(stepsX), static_cast<float>(stepsY));
        velocity = {static_cast<float>(stepsX) / way * tuning.speed,
                    static_cast<float>(stepsY) / way * tuning.speed};
    }
    const DStickMotion::Vector tilt = DStickMotion::Tilt(velocity, tuning);
    m_pad->SetAxis(SDL_CONTROLLER_AXIS_LEFTX, DGamepad::AxisValue(tilt.x));
    m_pad->SetAxis(SDL_CONTROLLER_AXIS_LEFTY, DGamepad::AxisValue(tilt.y));
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
    // The game moves its cursor by the frame's whole motion and keeps it on
    // the screen only then, so the motion sent so far counts unclamped.
    const auto [fromX, fromY] = CursorAfterFrame();
    Move(static_cast<int>(std::lround((x - fromX) / DMouse::kCursorPixelsPerStep)),
         static_cast<int>(std::lround((y - fromY) / DMouse::kCursorPixelsPerStep)));
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
    AcquireMouse();
    m_window.Translate(event);
}

void DInputReplay::AcquireMouse() {
    if (!m_window.Mouse().IsAcquired()) {
        m_window.Mouse().Acquire();
    }
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
