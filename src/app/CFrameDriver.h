#pragma once

#include "platform/DClock.h"
#include "platform/DInputRecorder.h"
#include "platform/DInputReplay.h"

#include <cstdint>
#include <functional>
#include <optional>

struct CRunOptions;
class DWindow;

// What happens between two frames: the game clock moves to the coming frame's
// time, and the window gets that frame's replayed input or the recorder starts
// writing down the player's. Frames are numbered from 1.
class CFrameDriver {
public:
    // A replayed step-less frame takes this step when no fixed step is given.
    static constexpr std::uint32_t kReplayStepMs = 16;

    // Real time, unless a fixed step, an input file or a recording asks for a
    // hand-stepped clock.
    static DClock::Mode ClockMode(const CRunOptions& options);

    // `script` is the input file to replay, when the run has one, with what
    // the replay asks of the game; `settleSound` lets the sound catch up after
    // a step of the clock. Built once the game is initialized; a recording
    // starts with frame 1.
    CFrameDriver(const CRunOptions& options, DClock& clock, DWindow& window, DInputReplay::Game game,
                 std::function<void()> settleSound, std::optional<DInputScript> script);

    // Just before the frame runs: its step, if it has one, after which the
    // sound catches up. Frame 1 runs at the start time unless the input file
    // gives it a step.
    void StepClock(long frame);
    // Just before the frame's messages are read: its replayed events. Throws
    // DInputReplayError when the file asks for a text the screen does not show.
    void FeedInput(long frame);

    // The session written down so far, when the run records one.
    const DInputRecorder* Recorder() const { return m_recorder ? &*m_recorder : nullptr; }

private:
    std::optional<std::uint32_t> StepOf(long frame);

    std::optional<long> m_fixedStep;
    DClock& m_clock;
    std::function<void()> m_settleSound;
    std::optional<DInputReplay> m_replay;
    std::optional<DInputRecorder> m_recorder;
    // How far the clock moved towards the coming frame.
    std::uint32_t m_frameStep = 0;
    // A recording samples real time once per frame, so everything within one
    // frame sees one time and its replay can set the very same steps.
    DClock m_realClock;
    std::uint32_t m_lastRealTick = 0;
};
