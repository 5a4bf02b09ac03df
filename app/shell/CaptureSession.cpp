#include "CaptureSession.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include <win/Busy.h>

#include "CaptureDevices.h"
#include "DeviceNaming.h"
#include "ErrorLog.h"
#include "ReadingRule.h"
#include "RecordingNotices.h"
#include "RecordingStart.h"
#include "SourceDetection.h"

namespace shell {
namespace {

constexpr UINT_PTR kSessionTimers[] = {
    CaptureSession::kRefreshTimer,      CaptureSession::kCopyProtectionTimer,
    CaptureSession::kDeviceRemovedTimer, CaptureSession::kPreviewStartTimer,
    CaptureSession::kAutoRecordTimer,   CaptureSession::kVideoWatchTimer,
    CaptureSession::kNoVideoTimeoutTimer, CaptureSession::kSignalWatchTimer, recording::kDurationEndTimer,
};
constexpr DWORD kWorkerWaitMs = 1500;
// What a bus carries at most, when the driver's own maximum is not to be trusted.
constexpr uint32_t kUsb11BitRateLimit = 6500000;
constexpr uint32_t kOtherBusBitRateLimit = 15000000;

// The picture adjustments kept in section "Color", by the amplifier's property numbers.
struct PictureSetting {
    long property;
    const char* name;
};
constexpr PictureSetting kPictureSettings[] = {
    {0, "Brightness"}, {1, "Contrast"}, {2, "Hue"}, {3, "Saturation"}};

recording::AppliedFormat FormatOf(const encoder::EncoderParams& p, int captureMode)
{
    recording::AppliedFormat f;
    f.captureMode = captureMode;
    f.width = static_cast<int>(p.HorzResolution);
    f.height = static_cast<int>(p.VertResolution);
    f.variableBitRate = p.bVBR == 1;
    f.bitRate = static_cast<int>(p.BitRate);
    f.samplingFrequency = static_cast<int>(p.ulAudSamplingFreq);
    f.audioBitRate = static_cast<int>(p.ulAudioMpegBitRate);
    return f;
}

}  // namespace

CaptureSession::CaptureSession(SessionHost& host, settings::CaptureSettings& settings)
    : m_host(host), m_settings(settings)
{
}

CaptureSession::~CaptureSession()
{
    Close();
}

bool CaptureSession::OwnsTimer(UINT_PTR id)
{
    for (UINT_PTR timer : kSessionTimers)
        if (timer == id)
            return true;
    return false;
}

void CaptureSession::Begin(DWORD initTick)
{
    if (m_begun || m_closed)
        return;
    m_begun = true;
    m_initTick = initTick;
    m_standard = std::make_unique<media::VideoStandardEngine>(m_host.Store(), &m_settings);
    m_standard->SetHost(this);
    capture::CaptureHost& engineHost = *this;
    recording::RecordingEngine& rulesEngine = *this;
    recording::RecordingHost& rulesHost = *this;
    m_engine = std::make_unique<capture::CaptureGraph>(engineHost, m_settings, *m_standard);
    m_rules = std::make_unique<recording::StopRules>(rulesEngine, rulesHost, m_settings);
    m_host.StartTimer(kRefreshTimer, kRefreshMs);
    m_host.StartTimer(kPreviewStartTimer, kPreviewStartMs);
}

bool CaptureSession::OnTimer(UINT_PTR id)
{
    if (!OwnsTimer(id))
        return false;
    // A tick already queued when the session closed finds nothing to act on.
    if (m_closed || !m_begun)
        return true;
    switch (id) {
    case kPreviewStartTimer:
        m_host.StopTimer(kPreviewStartTimer);
        if (!m_previewAttempted) {
            m_previewAttempted = true;
            Trace("preview start %lu ms after initialisation", GetTickCount() - m_initTick);
            if (m_host.Mode() != MODE_CAPTURE)
                OnCaptureButton();
        }
        break;
    case kDeviceRemovedTimer:
        m_host.StopTimer(kDeviceRemovedTimer);
        OnDeviceRemoved();
        break;
    case kSignalWatchTimer:
        OnSignalWatch();
        break;
    default:
        // The refresh tick and the recording's own timers belong to the stop rules.
        m_rules->OnTimer(id);
        break;
    }
    return true;
}

void CaptureSession::OnCaptureButton()
{
    if (m_closed || !m_begun)
        return;
    // Building or tearing down a graph takes a while on the window's thread.
    win::TopmostWhile topmost(m_host.MainWindow());
    win::WaitCursor wait;
    if (m_host.Mode() == MODE_CAPTURE)
        StopPreview();
    else
        StartPreview();
}

void CaptureSession::StartPreview()
{
    if (!m_host.CaptureDevicePresent()) {
        // Nothing to show: keep the idle picture and tell the user why the screen stays empty.
        Trace("no capture device present; the preview did not start");
        m_host.SetRecordLook(3);
        m_host.ShowNoVideoLabel(true);
        m_host.ShowIdlePicture();
        return;
    }
    const std::optional<capture::CaptureDevice> device = m_host.CurrentCaptureDevice();
    if (!device)
        return;
    m_engine->SetDevice(*device);
    int source = m_settings.source;
    m_standard->SetCurrentSource(source);
    HRESULT hr = m_engine->StartCaptureGraph(&source, false);
    const bool noSignal = FAILED(hr) && m_engine->NoInputHadVideo();
    if (noSignal) {
        // No input has a signal now: preview the chosen one all the same, say so, and watch
        // for the signal instead of leaving the user with a dead window.
        source = m_settings.source;
        m_standard->SetCurrentSource(source);
        m_host.SetMode(MODE_CAPTURE);
        hr = m_engine->StartCaptureGraph(&source, false);
    }
    if (FAILED(hr)) {
        Trace("the preview did not start (hr=0x%08lX)", static_cast<unsigned long>(hr));
        m_engine->ReleaseCaptureGraph(false);
        m_host.SetRecordLook(3);
        m_host.SetMode(MODE_IDLE);
        m_host.ShowIdlePicture();
        if (hr != E_FAIL)
            shell::ReportError(msg::kCaptureFilterFailed, hr);
        return;
    }
    if (source != m_settings.source) {
        m_settings.source = source;
        m_host.Store().WriteInt("Capture", "Source", source);
    }
    ApplyDeviceLimits();
    ApplyPictureSettings();
    m_host.SetMode(MODE_CAPTURE);
    m_host.SetRecordLook(0);
    m_host.ShowNoVideoLabel(false);
    m_host.Power().Enter(PowerSuppression::kPreview);
    if (m_host.PreviewDisplayOn())
        m_host.ShowVideo();
    Trace("preview of source %d running", source);
    if (noSignal)
        WatchForSignal();
}

void CaptureSession::ApplyDeviceLimits()
{
    // A device whose sound cannot reach 41000 Hz records the custom template as full-width
    // MPEG-2; the driver's or the bus's maximum caps the DVD and custom rates.
    m_settings.ApplyAudioCapability(m_engine->AudioOutMaximumFrequency());
    // A bus that cannot be read counts as USB 1.1, as the quality page's rate box has it.
    int bus = devices::kBusPci;
    if (FAILED(devices::GetBusType(m_engine->CaptureFilter(), &bus)))
        bus = devices::kBusUsb11;
    uint32_t minimum = 0, maximum = 0;
    std::optional<uint32_t> driverMaximum;
    if (SUCCEEDED(m_engine->Encoder().GetBitRateRange(minimum, maximum)) && maximum > 0)
        driverMaximum = maximum;
    const uint32_t busLimit = bus == devices::kBusUsb11 ? kUsb11BitRateLimit : kOtherBusBitRateLimit;
    if (m_settings.ApplyDriverBitRateLimit(driverMaximum, busLimit))
        Trace("bit rates capped at %lu bit/s by the device", static_cast<unsigned long>(driverMaximum.value_or(busLimit)));
}

void CaptureSession::ApplyPictureSettings()
{
    const framework::ProfileStore store = m_host.Store();
    for (const PictureSetting& setting : kPictureSettings) {
        encoder::ProcAmpRecord record;
        if (FAILED(m_engine->Encoder().GetVideoProcAmp(setting.property, record)))
            continue;
        // A missing value is the device's own, written back so the settings hold it.
        long value = settings::ReadInt(store, "Color", setting.name, static_cast<int>(record.value));
        value = std::clamp(value, record.minimum, std::max(record.minimum, record.maximum));
        if (value != record.value)
            m_engine->Encoder().SetVideoProcAmp(setting.property, value);
    }
}

void CaptureSession::WatchForSignal()
{
    m_host.ShowNoVideoLabel(true);
    m_host.StartTimer(kSignalWatchTimer, kSignalWatchMs);
    Trace("waiting for a signal on source %d", m_settings.source);
}

void CaptureSession::OnSignalWatch()
{
    if (m_host.Mode() != MODE_CAPTURE) {
        m_host.StopTimer(kSignalWatchTimer);
        return;
    }
    if (!m_engine->HorizontallyLocked())
        return;
    m_host.StopTimer(kSignalWatchTimer);
    m_host.ShowNoVideoLabel(false);
    Trace("signal back on source %d", m_settings.source);
}

void CaptureSession::OnInputChosen(int source)
{
    if (m_closed || !m_begun || source == m_settings.source)
        return;
    m_settings.source = source;
    m_host.Store().WriteInt("Capture", "Source", source);
    m_rules->OnInputChanged();
    if (m_host.Mode() != MODE_CAPTURE)
        return;
    // A recording never runs on across an input change: the graph stops for the new input,
    // and a writer run again under its finished file's name would empty it.
    StopRecording(recording::StopReason::kDuration);
    m_host.StopTimer(kSignalWatchTimer);
    m_engine->ReleaseCaptureGraph(false);
    m_host.SetMode(MODE_CAPTURE);
    m_host.ShowIdlePicture();
    int chosen = source;
    m_standard->SetCurrentSource(chosen);
    const HRESULT hr = m_engine->StartCaptureGraph(&chosen, false);
    if (FAILED(hr)) {
        m_engine->ReleaseCaptureGraph(false);
        m_host.SetRecordLook(3);
        m_host.SetMode(MODE_IDLE);
        m_host.Power().Leave(PowerSuppression::kPreview);
        return;
    }
    if (m_host.PreviewDisplayOn())
        m_host.ShowVideo();
    Trace("preview of source %d running", chosen);
    if (!m_engine->HorizontallyLocked())
        WatchForSignal();
}

void CaptureSession::StopPreview()
{
    if (m_engine->Recording())
        StopRecording(recording::StopReason::kDuration);
    m_host.StopTimer(kSignalWatchTimer);
    m_host.SetMode(MODE_IDLE);
    m_engine->ReleaseCaptureGraph(true);
    m_host.Power().Leave(PowerSuppression::kPreview);
    m_host.ShowNoVideoLabel(false);
    m_host.ShowIdlePicture();
}

void CaptureSession::SwitchOff()
{
    if (m_begun && !m_closed && m_host.Mode() == MODE_CAPTURE)
        StopPreview();
}

void CaptureSession::SwitchOn()
{
    if (m_begun && !m_closed && m_host.Mode() != MODE_CAPTURE)
        StartPreview();
}

void CaptureSession::RecordButton()
{
    if (m_closed || !m_begun)
        return;
    if (m_host.Mode() != MODE_CAPTURE) {
        m_host.SetRecordLook(0);
        StartPreview();
        return;
    }
    if (m_engine->Recording())
        StopRecording(recording::StopReason::kDuration);
    else
        StartRecording();
}

void CaptureSession::StartRecording()
{
    if (m_engine->Recording() || m_host.Mode() != MODE_CAPTURE)
        return;
    if (m_engine->CopyProtected()) {
        m_host.ShowTextMessage(msg::kCopyProtectedInput, false);
        m_rules->OnStartFailed();
        return;
    }
    const recording::NameChoice name = m_host.ChooseRecordingFileName();
    if (name.outcome != recording::NameChoice::kNamed || !m_engine->SetCaptureFileName(name.name)) {
        m_rules->OnStartFailed();
        return;
    }
    m_engine->SetSizeLimit(m_settings.fileSizeLimit);
    if (FAILED(m_engine->StartRecordingFromPreview())) {
        // Declined: the engine reported why and the preview runs on as before.
        m_rules->OnStartFailed();
        m_host.SetRecordLook(0);
        return;
    }
    m_engine->SetVolume(m_settings.audioLevel, m_settings.mute == 1);
    const int mode = m_settings.setupMode == 3 ? m_settings.custom.captureMode : recording::StartStreamType(m_settings);
    const recording::StopRules::Started started =
        m_rules->OnStarted(m_engine->CaptureFileName(), FormatOf(m_engine->Params(), mode));
    m_host.SetRecordLook(1);
    m_host.RecordingStarted(m_engine->CaptureFileName(), started);
    m_timeLeft = recording::TimeLeft(recording::RecordingLimitFor(m_engine->CaptureFileName(), m_settings.fileSizeLimit));
}

void CaptureSession::StopRecording(recording::StopReason reason)
{
    if (!m_engine || !m_engine->Recording())
        return;
    Trace("recording stopped at %.2f s of recorded time",
          static_cast<double>(m_engine->RecordedTime()) / 1e7);  // 100 ns units
    m_engine->StopRecordingKeepPreview();
    const std::optional<recording::StopRules::Finished> finished = m_rules->OnStopped();
    if (finished)
        finished->rule.WriteTo(m_settings);
    m_host.SetRecordLook(0);
    m_host.ShowTimeLeft("");
    m_host.RecordingEnded(finished);
    const StopNotice notice = NoticeFor(reason);
    if (notice.reportError)
        shell::ReportError(static_cast<UINT>(notice.textId), static_cast<unsigned>(E_FAIL));
    else if (notice.textId != 0)
        m_host.ShowTextMessage(notice.textId, notice.systemModal);
}

void CaptureSession::WriterStopped(int textId)
{
    switch (textId) {
    case capture::kTextWriteError: StopRecording(recording::StopReason::kWriteError); break;
    case capture::kTextDiskFull: StopRecording(recording::StopReason::kDiskFull); break;
    case capture::kTextVolumeLimit: StopRecording(recording::StopReason::kVolumeSizeLimit); break;
    default: StopRecording(recording::StopReason::kSizeLimit); break;
    }
}

void CaptureSession::ShowWrittenSize(uint64_t bytes)
{
    m_host.ShowWrittenSize(recording::WrittenSizeText(bytes));
    if (m_timeLeft.Add(bytes, GetTickCount()))
        m_host.ShowTimeLeft(m_timeLeft.Text());
}

void CaptureSession::WaitForVideo()
{
    // The signal is gone: the preview keeps running (no graph is torn down and built again
    // while nobody watches) and the label goes as soon as the signal returns.
    WatchForSignal();
}

void CaptureSession::OnGraphEvent()
{
    if (m_engine)
        m_engine->HandleCaptureGraphEvents();
}

bool CaptureSession::Recording() const
{
    return m_engine && m_engine->Recording();
}

bool CaptureSession::Running() const
{
    return m_engine && m_engine->State() == capture::CaptureGraph::kRunning;
}

std::int64_t CaptureSession::RecordedTime() const
{
    return m_engine ? m_engine->RecordedTime() : 0;
}

bool CaptureSession::HorizontallyLocked() const
{
    return m_engine && m_engine->HorizontallyLocked();
}

bool CaptureSession::CopyProtected() const
{
    return m_engine && m_engine->CopyProtected().load();
}

void CaptureSession::GraphStopping()
{
    if (m_engine)
        m_engine->StopDeviceEvents();
}

void CaptureSession::GraphRestarted()
{
    if (!m_engine)
        return;
    m_engine->StartDeviceEvents();
    m_engine->SetPreviewVisible(m_host.PreviewDisplayOn());
}

void CaptureSession::ReportError(int textId, HRESULT hr, const char* name)
{
    shell::ReportError(static_cast<UINT>(textId), static_cast<unsigned>(hr), name ? name : "");
}

void CaptureSession::LogError(int textId, HRESULT hr)
{
    shell::LogError(static_cast<UINT>(textId), static_cast<unsigned>(hr));
}

void CaptureSession::ShowFailure(const std::string& text)
{
    m_host.TraceLine(text);
    shell::LogText(text);
}

void CaptureSession::LogLine(const std::string& text)
{
    shell::LogText(text);
}

void CaptureSession::OnDeviceRemoved()
{
    if (!m_host.CaptureDeviceGone())
        return;
    const std::string name = m_settings.deviceName;
    Trace("capture device removed: %s", name.c_str());
    if (m_host.Mode() != MODE_CAPTURE)
        return;
    const bool recording = m_engine && m_engine->Recording();
    // The one stop path: the recording is finished and listed, the controls unlocked and the
    // signal watch stopped, as for any other stop.
    SwitchOff();
    m_host.ShowIdlePicture();
    if (recording) {
        m_host.TellDeviceRemovedWhileRecording(name);
        return;
    }
    if (m_host.WaitForReconnect(name)) {
        Trace("capture device back: %s", name.c_str());
        SwitchOn();
    }
}

void CaptureSession::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_engine) {
        // Closing the window finishes a recording the way the record control does.
        if (m_engine->Recording())
            StopRecording(recording::StopReason::kDuration);
        m_engine->ReleaseCaptureGraph(false);
    }
    m_host.Power().Leave(PowerSuppression::kPreview);
    for (UINT_PTR id : kSessionTimers)
        m_host.StopTimer(id);
    media::SourceDetection::Instance().WaitForWorkers(kWorkerWaitMs);
    if (m_standard)
        m_standard->SetHost(nullptr);
}

void CaptureSession::Trace(const char* format, ...) const
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    m_host.TraceLine(text);
}

}  // namespace shell
