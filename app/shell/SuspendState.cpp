#include "SuspendState.h"

namespace shell {

namespace {

// PBT_APMQUERYSUSPEND, PBT_APMQUERYSTANDBY, PBT_APMSUSPEND, PBT_APMSTANDBY: the system is
// about to sleep (current systems send only the suspend itself, without a query).
bool GoingToSleep(unsigned code)
{
    return code == 0 || code == 1 || code == 4 || code == 5;
}

// PBT_APMQUERYSUSPENDFAILED, PBT_APMQUERYSTANDBYFAILED: a query was refused, no sleep follows.
bool SleepCancelled(unsigned code)
{
    return code == 2 || code == 3;
}

// PBT_APMRESUMESUSPEND, PBT_APMRESUMESTANDBY, and PBT_APMRESUMEAUTOMATIC, which every resume
// sends, with or without a user at the machine.
bool Resumed(unsigned code)
{
    return code == 7 || code == 8 || code == 18;
}

}  // namespace

SuspendState::Step SuspendState::OnPower(unsigned code, MainMode mode, bool captureRunning, bool playbackPlaying)
{
    if (GoingToSleep(code)) {
        if (mode == MODE_CAPTURE && captureRunning && !m_captureSuspended) {
            m_resumePending = false;
            m_captureSuspended = true;
            return Step::kStopCapture;
        }
        // Only what plays is paused, so that only that plays on.
        if (mode == MODE_PLAYBACK && playbackPlaying && !m_playbackSuspended) {
            m_playbackSuspended = true;
            return Step::kPausePlayback;
        }
        return Step::kNothing;
    }
    // The sleep did not come: what was stopped for it comes back now.
    if (SleepCancelled(code))
        return Restart();
    if (Resumed(code) && (m_captureSuspended || m_playbackSuspended))
        m_resumePending = true;
    return Step::kNothing;
}

SuspendState::Step SuspendState::OnPaint()
{
    return m_resumePending ? Restart() : Step::kNothing;
}

SuspendState::Step SuspendState::Restart()
{
    const Step step = m_captureSuspended    ? Step::kRestartCapture
                      : m_playbackSuspended ? Step::kResumePlayback
                                            : Step::kNothing;
    m_resumePending = m_captureSuspended = m_playbackSuspended = false;
    return step;
}

}  // namespace shell
