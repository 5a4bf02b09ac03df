#pragma once
// The capture mode of the main window: the live preview of the capture device and the
// recordings made from it. The session owns the capture engine, the standard detection on its
// graph, the recording's stop rules and the mode's timers; the window hands it its commands,
// the graph's events and the ticks of those timers, and closes it when the window closes.
#include <windows.h>

#include <functional>
#include <memory>

#include "CaptureGraph.h"
#include "CaptureSettings.h"
#include "SessionHost.h"
#include "StopRules.h"
#include "TimeLeft.h"
#include "TunerSession.h"
#include "VideoStandardEngine.h"

namespace shell {

class CaptureSession : private capture::CaptureHost,
                       private recording::RecordingEngine,
                       private recording::RecordingHost,
                       private media::StandardHost,
                       private TunerSessionHost {
public:
    // Display refresh and the recording's stop rules, every 100 ms.
    static constexpr UINT_PTR kRefreshTimer = 1;
    // Armed by the device event thread when the input turns copy protected.
    static constexpr UINT_PTR kCopyProtectionTimer = recording::kCopyProtectionTimer;
    // Re-examination of the devices after a removal (armed by the device watch).
    static constexpr UINT_PTR kDeviceRemovedTimer = 10013;
    // The preview starts one second after the window is up, not during its initialisation.
    static constexpr UINT_PTR kPreviewStartTimer = 10016;
    // Armed by the capture graph when it detects a signal: automatic recording start.
    static constexpr UINT_PTR kAutoRecordTimer = recording::kAutoRecordTimer;
    // The no-video watch of a recording and its timeout.
    static constexpr UINT_PTR kVideoWatchTimer = recording::kVideoWatchTimer;
    static constexpr UINT_PTR kNoVideoTimeoutTimer = recording::kNoVideoTimeoutTimer;
    // While the input has no signal: watches the decoder's lock (a read, never a probe) and
    // takes the "no video present" label away when the signal comes.
    static constexpr UINT_PTR kSignalWatchTimer = 10020;
    static constexpr UINT kSignalWatchMs = 500;

    static constexpr UINT kRefreshMs = 100;
    static constexpr UINT kPreviewStartMs = 1000;

    // `settings` is the window's record: the session reads the device and recording values and
    // keeps the input and standard in it.
    CaptureSession(SessionHost& host, settings::CaptureSettings& settings);
    ~CaptureSession() override;
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    // Whether `id` is one of this session's timers, whoever armed it.
    static bool OwnsTimer(UINT_PTR id);

    // Starts the refresh timer and the delayed preview start. `initTick` is the tick count at
    // which the window began its initialisation.
    void Begin(DWORD initTick);
    // Handles a tick of one of the session's timers; false for any other timer.
    bool OnTimer(UINT_PTR id);
    // Stops a recording through the one stop path, releases the graph and every timer of the
    // session, including those armed by other threads; nothing of the session starts
    // afterwards. A second call does nothing.
    void Close();

    // The preview switch: on from idle or playback, off in capture mode.
    void OnCaptureButton();
    // The record control: in capture mode starts or stops a recording, otherwise the preview.
    void RecordButton();
    // Switches the preview off for another use of the window (a file to play, for one); a
    // running recording is finished and listed first. SwitchOn brings the preview back when
    // that use did not happen (the file could not be played).
    void SwitchOff();
    void SwitchOn();
    // Message 1038: the capture graph's events.
    void OnGraphEvent();
    // The user chose input `source` in the window's list.
    void OnInputChosen(int source);

    bool Begun() const { return m_begun; }
    bool Closed() const { return m_closed; }
    // Whether the preview start has been attempted (it happens once).
    bool PreviewStartAttempted() const { return m_previewAttempted; }
    bool Recording() const override;
    capture::CaptureGraph* Engine() { return m_engine.get(); }

    // Television (CaptureSessionTuner.cpp): the tuner of the capture graph, set up once per
    // graph; `changed` hears every change of channel, list or sound mode.
    TunerSession& Tuner() { return m_tuner; }
    void SetTunerView(std::function<void()> changed) { m_tunerChanged = std::move(changed); }

private:
    void StartPreview();
    void StopPreview();
    void ApplyDeviceLimits();
    void ApplyPictureSettings();
    void WatchForSignal();
    void OnSignalWatch();
    void StartRecording() override;
    void StopRecording(recording::StopReason reason) override;
    void OnDeviceRemoved();
    void Trace(const char* format, ...) const;

    // The capture engine's view of the window.
    HWND EventWindow() override { return m_host.MainWindow(); }
    HWND VideoArea() override { return m_host.VideoAreaHandle(); }
    bool InCaptureMode() override { return m_host.Mode() == MODE_CAPTURE; }
    bool PreviewOn() override { return m_host.PreviewDisplayOn(); }
    void ReportError(int textId, HRESULT hr, const char* name) override;
    void LogError(int textId, HRESULT hr) override;
    void ShowFailure(const std::string& text) override;
    void LogLine(const std::string& text) override;
    void ShowIdlePicture() override { m_host.ShowIdlePicture(); }
    void WriterStopped(int textId) override;
    void ShowWrittenSize(uint64_t bytes) override;
    void StartAutoRecordTimer() override { m_host.StartTimer(kAutoRecordTimer, 100); }

    // The standard detection's view of the window.
    bool AutoRecordWanted() override { return m_settings.autoRecord && m_rules && !m_rules->AutoRecordDone(); }
    void GraphStopping() override;
    void GraphRestarted() override;
    void ReportError(int textId, HRESULT hr) override { ReportError(textId, hr, nullptr); }

    // What the stop rules read of the engine, and ask of the window.
    bool Running() const override;
    std::int64_t RecordedTime() const override;
    bool HorizontallyLocked() const override;
    bool CopyProtected() const override;
    void StartTimer(UINT_PTR id, UINT periodMs) override { m_host.StartTimer(id, periodMs); }
    void StopTimer(UINT_PTR id) override { m_host.StopTimer(id); }
    bool InCaptureMode() const override { return m_host.Mode() == MODE_CAPTURE; }
    void WaitForVideo() override;
    void ShowRecordedTime(std::int64_t time100ns) override { m_host.ShowRecordedTime(time100ns); }
    void ShowWrittenSize(const std::string& text) override { m_host.ShowWrittenSize(text); }

    // The tuner's view of the session and the window (CaptureSessionTuner.cpp).
    void InitialiseTuner() override;
    void CaptureEnded() override;
    std::optional<tunerdev::TunerDevice> OpenTuner() override;
    bool GraphRunning() override;
    bool SetVideoStandard(std::uint32_t standard) override;
    void TunerChanged() override;
    // The tuner input's standard is the tuner's, kept with its settings.
    long ChannelStandard() override;
    void StoreChannelStandard(long standard) override;
    TunerSession m_tuner{*this};
    std::function<void()> m_tunerChanged;
    // The graph the tuner was last set up in, compared only: each new graph sets it up anew.
    const void* m_tunerGraph = nullptr;

    SessionHost& m_host;
    settings::CaptureSettings& m_settings;
    std::unique_ptr<media::VideoStandardEngine> m_standard;
    std::unique_ptr<capture::CaptureGraph> m_engine;
    std::unique_ptr<recording::StopRules> m_rules;
    recording::TimeLeft m_timeLeft;
    DWORD m_initTick = 0;
    bool m_begun = false;
    bool m_closed = false;
    bool m_previewAttempted = false;
};

}  // namespace shell
