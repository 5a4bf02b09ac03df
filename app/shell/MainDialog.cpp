#include "MainDialog.h"

#include <commctrl.h>

#include <cstdarg>
#include <cstdio>

#include "ControlIds.h"
#include "DeviceNotify.h"
#include "DeviceWatch.h"
#include "ErrorLog.h"
#include "MessageIds.h"
#include "ProgramMessage.h"
#include "RegistryRoot.h"
#include "StartupTimes.h"
#include "VersionString.h"
#include "resource.h"

namespace shell {
namespace {

// The device watch arms the re-examination timer; the capture session handles it.
static_assert(CaptureSession::kDeviceRemovedTimer == devices::kDeviceRemovedTimer);

}  // namespace

MainDialog::MainDialog() : EQorDialog(IDD_MAIN_DIALOG)
{
    m_programFolder = shell::ModuleFolder(nullptr);
    m_logPath = m_programFolder + "Marovin.log";
    m_recent.Read(Store());
    m_icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAROVIN));
    SplitTemplate();

    MapCommand(IDC_CLOSE, [this] { CloseWindow(IDOK); });
    MapCommand(IDC_MINIMIZE, [this] { ShowWindow(SW_MINIMIZE); });
    MapCaptureCommands();
    MapPlaybackCommands();
    MapTunerCommands();
    MapSnapshotCommands();
    MapLauncherCommands();
    MapUpdateCommands();
    MapRemoteCommands();
    MapKeyCommands();
}

MainDialog::~MainDialog() = default;

framework::ProfileStore MainDialog::Store() const
{
    CWinApp* app = AfxGetApp();
    return framework::ProfileStore(HKEY_CURRENT_USER, app ? app->GetRegistryKey() : "",
                                   app ? app->GetProfileName() : "");
}

void MainDialog::Trace(const char* format, ...) const
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    OutputDebugStringA((std::string("Marovin:  ") + text + "\r\n").c_str());
}

void MainDialog::OnDrawItem(int id, LPDRAWITEMSTRUCT item)
{
    // An owner-draw paint after a resume restarts what the suspend stopped, as a frame paint does.
    DoSuspendStep(m_suspend.OnPaint());
    if (item && m_thumbnails.Draw(*item))
        return;
    EQorDialog::OnDrawItem(id, item);
}

std::string MainDialog::Text(int id)
{
    std::string text;
    if (!m_engineStarted || !m_engine.GetText(id, &text))
        return {};
    return text;
}

void MainDialog::OnTimer(UINT_PTR id)
{
    if (id == CaptureSession::kRefreshTimer && m_mode == MODE_PLAYBACK)
        ShowPlaybackTime(m_playback.Position(), true);
    if (id == CaptureSession::kRefreshTimer)
        UpdateSnapshotControl();
    if (m_capture.OnTimer(id) || OnTunerTimer(id))
        return;
    EQorDialog::OnTimer(id);
}

LRESULT MainDialog::OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == media::MediaPlayer::WM_GRAPHNOTIFY) {
        m_playback.OnGraphNotify();
        return 0;
    }
    if (message == kBackgroundUpdateDone) {
        OnBackgroundUpdateDone(wParam == 1);
        return 0;
    }
    if (message == remote::kRemoteKeyMessage) {
        OnRemoteKey(wParam, lParam);
        return 0;
    }
    if (message == capture::kMsgCaptureGraphEvent) {
        m_capture.OnGraphEvent();
        return 0;
    }
    if (message == encoder::kMsgFramesDropped) {
        OnFramesDropped();
        return 0;
    }
    if (message == kMsgTellRecovery) {
        TellRecovery();
        return 0;
    }
    if (message == kMsgPreparePages) {
        if (m_settingsWindow && m_settingsWindow->PrepareNextPage())
            PostMessage(kMsgPreparePages, 0, 0);
        return 0;
    }
    return EQorDialog::OnPrivateMessage(message, wParam, lParam);
}

void MainDialog::StartTimer(UINT_PTR id, UINT periodMs)
{
    SetTimer(id, periodMs);
}

void MainDialog::StopTimer(UINT_PTR id)
{
    KillTimer(id);
}

void MainDialog::ShowIdlePicture()
{
    m_videoArea.ShowIdlePicture(true);
}

void MainDialog::ShowNoVideoLabel(bool show)
{
    ::ShowWindow(GetDlgItem(IDC_NO_VIDEO_LABEL), show ? SW_SHOW : SW_HIDE);
}

void MainDialog::TraceLine(const std::string& line)
{
    OutputDebugStringA(("Marovin:  " + line + "\r\n").c_str());
}

void MainDialog::OnPaint()
{
    {
        CPaintDC dc(m_hWnd);
        if (IsIconic()) {
            RECT client;
            GetClientRect(&client);
            DrawIcon(dc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
                     (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, m_icon);
            return;
        }
        if (m_mode == MODE_IDLE || (m_mode == MODE_CAPTURE && !CaptureDevicePresent()))
            m_videoArea.Invalidate(FALSE);
    }
    // The program's one main window paints for the first time once.
    static bool firstPaint = true;
    if (firstPaint) {
        // The controls would paint next anyway; painting them now ends the first frame here.
        firstPaint = false;
        RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        MarkStartup("first paint");
        Trace("%s", ProgramStartupTimes().Line().c_str());
        PostMessage(kMsgPreparePages, 0, 0);
    }
}

BOOL MainDialog::OnEraseBkgnd(HDC dc)
{
    EQorDialog::OnEraseBkgnd(dc);
    return TRUE;
}

void MainDialog::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == kUpdateServiceCommand) {
        OnUpdateService();
        return;
    }
    if ((id & 0xFFF0) == kAboutCommand) {
        OnAboutBox();
        return;
    }
    if ((id & 0xFFF0) == SC_MAXIMIZE) {
        // Maximising means full screen, for a running preview or playback.
        if (m_mode == MODE_PLAYBACK)
            m_playback.ToggleFullScreen();
        return;
    }
    if (((id & 0xFFF0) == SC_SCREENSAVE || (id & 0xFFF0) == SC_MONITORPOWER) &&
        m_mode != MODE_IDLE)
        return;
    EQorDialog::OnSysCommand(id, lParam);
}

HCURSOR MainDialog::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_icon);
}

void MainDialog::OnOK()
{
    CloseWindow(IDOK);
}

void MainDialog::OnCancel()
{
    CloseWindow(IDCANCEL);
}

void MainDialog::OnClose()
{
    CloseWindow(IDCANCEL);
}

void MainDialog::CloseWindow(int result)
{
    CloseSequence();
    EndDialog(result);
}

void MainDialog::CloseSequence()
{
    if (m_closed)
        return;
    m_closed = true;
    // A wait for a removed device, or a frame-drop warning, ends with the window: its own
    // loop would otherwise keep the program running after the window closed.
    if (m_reconnect)
        m_reconnect->EndDialog(IDCANCEL);
    if (m_frameDrop)
        m_frameDrop->EndDialog(IDCANCEL);
    SaveTunerSettings();
    m_capture.Close();
    Trace("closing: timers stopped, mode %d", static_cast<int>(m_mode));
    m_playback.Close();
    m_mode = MODE_IDLE;
    devices::SetDeviceChangeCallback(nullptr, nullptr);
    m_thumbnails.Release();
    Trace("closing: capture and playback released");
}

void MainDialog::OnDestroy()
{
    EQorDialog::OnDestroy();
    shell::SetErrorSink({});
    shell::SetSkinnedMessagesAvailable(false);
    if (m_engineStarted) {
        m_engine.ShutdownCleanup();
        m_engineStarted = false;
        Trace("skin engine shut down");
    }
    Trace("main window destroyed");
}

}  // namespace shell
