#pragma once
// What the main window does around a suspend of the computer: a capture graph does not survive
// one, so a running preview or recording is stopped before it (the recording through its stop
// path, finished and listed) and the preview comes back after the resume; a file that plays
// is paused and plays on. The flags live here, apart from the window, so the rules are tested
// as tables.
#include "SessionHost.h"

namespace shell {

class SuspendState {
public:
    enum class Step { kNothing, kStopCapture, kPausePlayback, kRestartCapture, kResumePlayback };

    // A power broadcast with event `code` (wParam). `captureRunning`: the preview (or a
    // recording) runs; `playbackPlaying`: a file plays, not paused.
    Step OnPower(unsigned code, MainMode mode, bool captureRunning, bool playbackPlaying);
    // The first non-client or owner-draw paint after a resume does the restart.
    Step OnPaint();

    bool ResumePending() const { return m_resumePending; }
    bool CaptureSuspended() const { return m_captureSuspended; }
    bool PlaybackSuspended() const { return m_playbackSuspended; }

private:
    Step Restart();

    bool m_resumePending = false;
    bool m_captureSuspended = false;
    bool m_playbackSuspended = false;
};

}  // namespace shell
