// The main window around system events: a suspend stops the preview (a running recording
// through its stop path, so the file is finished and listed) and pauses what plays; the first
// paint after the resume brings them back. Logging off finishes a recording; a display change
// rebuilds the preview and puts playback back on a whole second. A capture device that goes
// ends a recording with a message, or is waited for while the preview was on.
#include "MainDialog.h"

#include "MessageIds.h"
#include "MessagePlaces.h"
#include "ProgramMessage.h"
#include "FrameDropDialog.h"
#include "ReconnectDialog.h"

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

void MainDialog::TellDeviceRemovedWhileRecording(const std::string& name)
{
    // The device's own name, not the program's, tells the user which device went.
    shell::ShowProgramMessage(m_hWnd, recording::FillPlaces(Text(msg::kDeviceRemovedWhileRecording), {"Capture device", name}),
                              Text(msg::kAppTitle), MB_OK | MB_ICONEXCLAMATION);
}

bool MainDialog::WaitForReconnect(const std::string& name)
{
    // One wait at a time: a second removal while the dialog is open changes nothing.
    if (m_reconnect)
        return false;
    ReconnectDialog dialog(recording::FillPlaces(Text(msg::kWaitingForDevice), {Text(msg::kAppTitle), name}), name, this);
    m_reconnect = &dialog;
    const bool back = dialog.DoModal() == IDOK;
    m_reconnect = nullptr;
    if (back)
        ChooseCaptureDevice();
    return back && !m_closed;
}

void MainDialog::OnFramesDropped()
{
    capture::CaptureGraph* engine = m_capture.Engine();
    if (m_settings.displayDataLossWarnings == 0 || m_frameDrop || m_mode != MODE_CAPTURE || !engine)
        return;
    std::uint32_t minimum = 0, maximum = 0;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> range;
    if (SUCCEEDED(engine->Encoder().GetBitRateRange(minimum, maximum)))
        range = std::make_pair(minimum, maximum);
    const FrameDropOffer offer = FrameDropOfferFor(m_settings, range);
    std::string message = Text(msg::kFrameDropWarning);
    if (offer.withRate)
        message += "\\n\\n" + Text(msg::kFrameDropLowerRate);
    Trace("frames dropped: warning shown%s", offer.withRate ? " with a bit rate" : "");
    FrameDropDialog dialog(offer, message, this);
    m_frameDrop = &dialog;
    const bool ok = dialog.DoModal() == IDOK;
    m_frameDrop = nullptr;
    engine = m_capture.Engine();
    if (!dialog.IgnoreFutureWarnings() && engine && !m_closed)
        engine->Encoder().EnableDataLossEvent(true);
    // The fixed qualities have no rate to lower: OK only closes the message.
    if (!ok || !offer.withRate || m_closed)
        return;
    if (m_capture.Recording())
        m_capture.RecordButton();
    ApplyFrameDropRate(m_settings, dialog.ChosenRate());
    const framework::ProfileStore store = Store();
    if (m_settings.setupMode == 3)
        settings::SaveTemplateStore(store, m_settings.selectedTemplate, m_settings.templateNames, m_settings.custom);
    else
        store.WriteInt("Capture", "DVDBitrate", m_settings.dvdBitrate);
    Trace("frames dropped: bit rate %d", dialog.ChosenRate());
    // The encoder takes the new rate with the preview built again.
    m_capture.SwitchOff();
    m_capture.SwitchOn();
}

}  // namespace shell
