#include "app/CFrameDriver.h"

#include "app/CGame.h"
#include "app/GuiTextLocator.h"
#include "app/input/CMouseInput.h"
#include "render/C3DEngine2.h"
#include "script/TextConversion.h"

DClock::Mode CFrameDriver::ClockMode(const CRunOptions& options) {
    const bool manual = options.fixedStep || !options.input.empty() || !options.record.empty();
    return manual ? DClock::Mode::Manual : DClock::Mode::Real;
}

CFrameDriver::CFrameDriver(const CRunOptions& options, DClock& clock, DWindow& window, CGame& game,
                           std::optional<DInputScript> script)
    : m_fixedStep(options.fixedStep), m_clock(clock), m_game(game), m_lastRealTick(m_realClock.Now()) {
    if (script) {
        DInputReplay::Game queries{
            [&game] {
                return std::pair{game.Mouse().CursorX(), game.Mouse().CursorY()};
            },
            // Input files are UTF-8; the GUI keeps the game's 8-bit texts.
            [&game](const std::string& text) {
                return FindGuiText(game.Renderer(), WideToAnsi(Utf8ToWide(text)));
            },
        };
        m_replay.emplace(std::move(*script), window, std::move(queries));
    }
    if (!options.record.empty()) {
        m_recorder.emplace(window);
    }
}

std::optional<std::uint32_t> CFrameDriver::StepOf(long frame) {
    if (m_replay) {
        if (const auto step = m_replay->Step(frame)) {
            return step;
        }
    }
    if (frame == 1) {
        return std::nullopt;
    }
    if (m_fixedStep) {
        return static_cast<std::uint32_t>(*m_fixedStep);
    }
    if (m_replay) {
        return kReplayStepMs;
    }
    if (m_recorder) {
        const std::uint32_t now = m_realClock.Now();
        const std::uint32_t step = now - m_lastRealTick;
        m_lastRealTick = now;
        return step;
    }
    return std::nullopt;
}

void CFrameDriver::StepClock(long frame) {
    const auto step = StepOf(frame);
    m_frameStep = step.value_or(0);
    if (!step) {
        return;
    }
    m_clock.Advance(*step);
    m_game.SettleSound();
    if (m_recorder) {
        m_recorder->NextFrame(*step);
    }
}

void CFrameDriver::FeedInput(long frame) {
    if (m_replay) {
        m_replay->Feed(frame, m_frameStep);
    }
}
