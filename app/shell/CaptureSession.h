#pragma once
// The capture mode of the main window: the live preview of the capture device and the
// recordings made from it. The session owns the mode's timers (the capture graph, the
// recording state and the video wait worker join them here); the window hands it the ticks
// of those timers and closes it when the window closes.
#include <windows.h>

#include "CaptureSettings.h"
#include "SessionHost.h"

namespace shell {

class CaptureSession {
public:
    // Display refresh and the recording's stop rules, every 100 ms.
    static constexpr UINT_PTR kRefreshTimer = 1;
    // Armed by the device event thread when the input turns copy protected.
    static constexpr UINT_PTR kCopyProtectionTimer = 10001;
    // Re-examination of the devices after a removal (armed by the device watch).
    static constexpr UINT_PTR kDeviceRemovedTimer = 10013;
    // The preview starts one second after the window is up, not during its initialisation.
    static constexpr UINT_PTR kPreviewStartTimer = 10016;
    // Armed by the capture graph when it detects a signal: automatic recording start.
    static constexpr UINT_PTR kAutoRecordTimer = 10017;
    // The no-video watch of a recording and its timeout.
    static constexpr UINT_PTR kVideoWatchTimer = 10018;
    static constexpr UINT_PTR kNoVideoTimeoutTimer = 10019;

    static constexpr UINT kRefreshMs = 100;
    static constexpr UINT kPreviewStartMs = 1000;

    // `settings` is the window's record; the session reads the device and recording values.
    CaptureSession(SessionHost& host, const settings::CaptureSettings& settings);
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    // Whether `id` is one of this session's timers, whoever armed it.
    static bool OwnsTimer(UINT_PTR id);

    // Starts the refresh timer and the delayed preview start. `initTick` is the tick count at
    // which the window began its initialisation.
    void Begin(DWORD initTick);
    // Handles a tick of one of the session's timers; false for any other timer.
    bool OnTimer(UINT_PTR id);
    // Switches the preview off, stopping and finishing a recording first (a file is about to
    // play), and on again when the file could not be played.
    void SwitchOff();
    void SwitchOn();
    // Stops every timer of the session, including those armed by other threads; nothing of
    // the session starts afterwards. A second call does nothing.
    void Close();

    bool Begun() const { return m_begun; }
    bool Closed() const { return m_closed; }
    // Whether the preview start has been attempted (it happens once).
    bool PreviewStartAttempted() const { return m_previewAttempted; }

private:
    void StartPreview();
    void OnDeviceRemoved();
    void Trace(const char* format, ...) const;

    SessionHost& m_host;
    const settings::CaptureSettings& m_settings;
    DWORD m_initTick = 0;
    bool m_begun = false;
    bool m_closed = false;
    bool m_previewAttempted = false;
};

}  // namespace shell
