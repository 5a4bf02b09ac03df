// The main window around system events: a suspend stops the preview (a running recording
// through its stop path, so the file is finished and listed) and pauses what plays; the first
// paint after the resume brings them back. Logging off finishes a recording; a display change
// rebuilds the preview and puts playback back on a whole second.
#include "MainDialog.h"

namespace shell {
namespace {

// The capture graph and the system need a moment between stopping and starting again.
constexpr DWORD kSuspendSettleMs = 500;
constexpr DWORD kDisplaySettleMs = 100;

}  // namespace

LRESULT MainDialog::OnPowerBroadcast(WPARAM wParam, LPARAM)
{
    capture::CaptureGraph* engine = m_capture.Engine();
    const bool captureRunning = engine && engine->State() == capture::CaptureGraph::kRunning;
    DoSuspendStep(m_suspend.OnPower(static_cast<unsigned>(wParam), m_mode, captureRunning, m_playback.Running()));
    return TRUE;  // no suspend is refused
}

void MainDialog::OnNcPaint(HRGN updateRegion)
{
    EQorDialog::OnNcPaint(updateRegion);
    DoSuspendStep(m_suspend.OnPaint());
}

void MainDialog::DoSuspendStep(SuspendState::Step step)
{
    switch (step) {
    case SuspendState::Step::kNothing:
        return;
    case SuspendState::Step::kStopCapture:
        Trace("suspend: capture stopped");
        m_capture.SwitchOff();
        Sleep(kSuspendSettleMs);
        return;
    case SuspendState::Step::kPausePlayback:
        Trace("suspend: playback paused");
        m_playback.PauseResume();
        Sleep(kSuspendSettleMs);
        return;
    case SuspendState::Step::kRestartCapture:
        Trace("resume: preview on");
        Sleep(kSuspendSettleMs);
        m_capture.SwitchOn();
        return;
    case SuspendState::Step::kResumePlayback:
        Trace("resume: playback continues");
        Sleep(kSuspendSettleMs);
        if (m_playback.Playing() && !m_playback.Running())
            m_playback.PauseResume();
        return;
    }
}

BOOL MainDialog::OnQueryEndSession()
{
    // The session ends with the program: a recording is finished and listed before.
    if (m_mode == MODE_CAPTURE) {
        Trace("session ending: capture stopped");
        m_capture.SwitchOff();
    }
    return EQorDialog::OnQueryEndSession();
}

LRESULT MainDialog::OnDisplayChange(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = EQorDialog::OnDisplayChange(wParam, lParam);
    if (m_mode == MODE_CAPTURE) {
        Trace("display change: preview rebuilt");
        m_capture.SwitchOff();
        Sleep(kDisplaySettleMs);
        m_capture.SwitchOn();
    } else if (m_mode == MODE_PLAYBACK && m_playback.Playing()) {
        // Back on the whole second; a paused file stays paused.
        const bool running = m_playback.Running();
        if (running)
            m_playback.PauseResume();
        const std::int64_t position = m_playback.Position();
        if (position >= 0)
            m_playback.SeekTenths(position / 10000000 * 10);
        if (running)
            m_playback.PauseResume();
        Trace("display change: playback at %lld s", static_cast<long long>(position / 10000000));
    }
    return result;
}

}  // namespace shell
