#include "app/CFrameDriver.h"

#include "app/CCommandLine.h"

DClock::Mode CFrameDriver::ClockMode(const CRunOptions& options) {
    const bool manual = options.fixedStep || !options.input.empty() || !options.record.empty();
    return manual ? DClock::Mode::Manual : DClock::Mode::Real;
}

CFrameDriver::CFrameDriver(const CRunOptions& options, DClock& clock, DWindow& window, DInputReplay::Game game,
                           std::function<void()> settleSound, std::optional<DInputScript> script)
    : m_fixedStep(options.fixedStep), m_clock(clock), m_settleSound(std::move(settleSound)),
      m_lastRealTick(m_realClock.Now()) {
    if (script) {
        m_replay.emplace(std::move(*script), window, std::move(game));
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
    m_settleSound();
    if (m_recorder) {
        m_recorder->NextFrame(*step);
    }
}

void CFrameDriver::FeedInput(long frame) {
    if (m_replay) {
        m_replay->Feed(frame, m_frameStep);
    }
}
