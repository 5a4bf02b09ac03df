#include "CaptureSession.h"

#include <cstdarg>
#include <cstdio>

namespace shell {
namespace {

constexpr UINT_PTR kSessionTimers[] = {
    CaptureSession::kRefreshTimer,      CaptureSession::kCopyProtectionTimer,
    CaptureSession::kDeviceRemovedTimer, CaptureSession::kPreviewStartTimer,
    CaptureSession::kAutoRecordTimer,   CaptureSession::kVideoWatchTimer,
    CaptureSession::kNoVideoTimeoutTimer,
};

}  // namespace

CaptureSession::CaptureSession(SessionHost& host, const settings::CaptureSettings& settings)
    : m_host(host), m_settings(settings)
{
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
    m_host.StartTimer(kRefreshTimer, kRefreshMs);
    m_host.StartTimer(kPreviewStartTimer, kPreviewStartMs);
}

bool CaptureSession::OnTimer(UINT_PTR id)
{
    if (!OwnsTimer(id))
        return false;
    // A tick already queued when the session closed finds nothing to act on.
    if (m_closed)
        return true;
    switch (id) {
    case kPreviewStartTimer:
        m_host.StopTimer(kPreviewStartTimer);
        StartPreview();
        break;
    case kDeviceRemovedTimer:
        m_host.StopTimer(kDeviceRemovedTimer);
        OnDeviceRemoved();
        break;
    default:
        // The refresh tick and the recording timers act only while a recording runs.
        break;
    }
    return true;
}

void CaptureSession::StartPreview()
{
    if (m_previewAttempted)
        return;
    m_previewAttempted = true;
    Trace("preview start %lu ms after initialisation", GetTickCount() - m_initTick);
    if (!m_host.CaptureDevicePresent()) {
        // Nothing to show: keep the idle picture and tell the user why the screen stays empty.
        Trace("no capture device present; the preview did not start");
        m_host.ShowNoVideoLabel(true);
        m_host.ShowIdlePicture();
    }
}

void CaptureSession::OnDeviceRemoved()
{
    if (!m_host.CaptureDeviceGone())
        return;
    Trace("capture device removed: %s", m_settings.deviceName.c_str());
    m_host.ShowIdlePicture();
}

void CaptureSession::SwitchOff()
{
    // Nothing runs yet that would need stopping: the capture graph joins the session later.
}

void CaptureSession::SwitchOn()
{
    // The preview start of the capture graph joins here.
}

void CaptureSession::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    for (UINT_PTR id : kSessionTimers)
        m_host.StopTimer(id);
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
