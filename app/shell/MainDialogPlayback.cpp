// The main window's playback side: choosing, dropping and reopening media files, the switch
// into playback mode and back, and the playback controls (position and volume sliders, mute,
// play and pause, steps, full screen, loop).
#include "MainDialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <win/Handle.h>

#include "ControlIds.h"
#include "EQorButton.h"
#include "ErrorLog.h"
#include "LauncherRules.h"
#include "MessageIds.h"
#include "PlaybackRules.h"
#include "ProgramMessage.h"
#include "StatusText.h"

namespace shell {
namespace {

constexpr int kFrameStep = 3;
// The record button's look while a file plays.
constexpr int kRecordLookPlaying = 2;
constexpr std::int64_t kUnitsPerHundredth = 100000;

bool Readable(const std::string& path)
{
    win::Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

std::uint64_t FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

void MainDialog::MapPlaybackCommands()
{
    MapCommand(IDC_OPEN_FILE, [this] { OnOpenControl(); });
    for (int i = 0; i < settings::RecentRecordings::kCount; ++i)
        MapCommand(RecentThumbnails::kButtonIds[i], [this, i] { OnRecentThumbnail(i); });
    MapCommand(IDC_PLAY, [this] { OnPlayControl(); });
    MapCommand(IDC_MUTE, [this] { OnMuteControl(); });
    MapCommand(IDC_LOOP, [this] { OnLoopControl(); });
    MapCommand(IDC_FULL_SCREEN, [this] { OnFullScreenControl(); });
    MapCommand(IDC_SEEK_START, [this] { if (m_mode == MODE_PLAYBACK) m_playback.SeekToStart(); });
    MapCommand(IDC_SEEK_END, [this] { if (m_mode == MODE_PLAYBACK) m_playback.SeekToEnd(); });
    MapCommand(IDC_STEP_FORWARD, [this] { if (m_mode == MODE_PLAYBACK) m_playback.StepFrames(kFrameStep); });
    MapCommand(IDC_STEP_BACK, [this] { if (m_mode == MODE_PLAYBACK) m_playback.StepFrames(-kFrameStep); });
}

void MainDialog::OnOpenControl()
{
    std::string filter = Text(msg::kOpenFileFilter);
    if (filter.empty())
        filter = "Media Files|*.mpg;*.mpeg;*.m1v;*.m2v;*.mpa;*.mp3;*.wav;*.avi;*.wmv|All Files|*.*||";
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                       filter.c_str(), this);
    const std::string title = Text(msg::kOpenFileTitle);
    if (!title.empty())
        dialog.SetTitle(title.c_str());
    const std::string& start = m_settings.lastSaveFolder.empty() ? m_settings.recordingFolder : m_settings.lastSaveFolder;
    dialog.SetInitialDir(start.c_str());
    dialog.m_ofn.nFilterIndex = static_cast<DWORD>(m_settings.saveFilterIndex);
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    const INT_PTR answer = dialog.DoModal();
    SetCurrentDirectoryA(current);
    if (answer != IDOK)
        return;
    m_mediaPath = dialog.GetPathName();
    m_settings.lastSaveFolder = FolderOf(m_mediaPath);
    m_settings.saveFilterIndex = static_cast<int>(dialog.m_ofn.nFilterIndex);
    if (!media::IsAcceptedMediaPath(m_mediaPath)) {
        ShowProgramMessage(m_hWnd, "Invalid MPEG file.", Text(msg::kAppTitle), MB_OK | MB_ICONSTOP);
        return;
    }
    OpenMediaFile(m_mediaPath, true);
}

bool MainDialog::OpenMediaFile(const std::string& path, bool sizeInGigabytes)
{
    if (!Readable(path))
        return false;
    // Whatever plays next is not the thumbnail's recording until its own click says so.
    m_thumbnails.Select(-1);
    m_mediaPath = path;
    const bool fromCapture = m_mode == MODE_CAPTURE;
    bool playing = false;
    if (fromCapture) {
        StopCaptureForPlayback();
        m_mode = MODE_PLAYBACK;
        ::EnableWindow(GetDlgItem(IDC_VOLUME_SLIDER), TRUE);
        playing = m_playback.Open(path);
    } else {
        if (m_playback.Playing())
            m_playback.CloseFile();
        m_videoArea.ShowIdlePicture(false);
        playing = m_playback.Open(path);
    }
    if (playing) {
        m_mode = MODE_PLAYBACK;
        ShowPlaybackInformation();
    } else if (m_mode == MODE_PLAYBACK) {
        ClosePlayback();
    } else {
        m_videoArea.ShowIdlePicture(true);
    }

    if (m_mode == MODE_PLAYBACK) {
        EnterPlaybackControls(FileSize(path), sizeInGigabytes);
    } else if (fromCapture) {
        m_capture.SwitchOn();
    }
    return m_mode == MODE_PLAYBACK;
}

void MainDialog::ShowPlaybackInformation()
{
    std::string line = Text(msg::kPlaybackCaption);
    const media::MediaPlayer* player = m_playback.Player();
    if (player && player->PictureWidth() > 0 && player->PictureHeight() > 0) {
        char size[48];
        std::snprintf(size, sizeof size, " %ldx%ld", player->PictureWidth(), player->PictureHeight());
        line += size;
    }
    m_status.ShowInformation(line);
}

void MainDialog::EnterPlaybackControls(std::uint64_t bytes, bool sizeInGigabytes)
{
    SetDlgItemText(IDC_WRITTEN_SIZE, media::MediaSizeText(bytes, sizeInGigabytes).c_str());
    SetDlgItemText(IDC_FILE_NAME, m_mediaPath.c_str());
    ::SetFocus(GetDlgItem(IDC_MUTE));
    // The first settings page is shown with its tab checked; no tab can be used while a file plays.
    if (m_settingsWindow)
        m_settingsWindow->ShowPage(pages::SettingsWindow::kQualityPage);
    if (m_settingsWindow)
        m_settingsWindow->EnableTabs(false);
    ::EnableWindow(GetDlgItem(IDC_RECORD), TRUE);
    ::EnableWindow(GetDlgItem(IDC_PLAY), TRUE);
    ::EnableWindow(GetDlgItem(IDC_FULL_SCREEN), TRUE);
    ::EnableWindow(GetDlgItem(IDC_SNAPSHOT), media::IsMpegVideoPath(m_mediaPath));

    const media::MediaPlayer* player = m_playback.Player();
    const std::int64_t duration = player ? player->Duration() : 0;
    HWND position = GetDlgItem(IDC_POSITION_SLIDER);
    ::SendMessageA(position, TBM_SETRANGEMIN, FALSE, 0);
    ::SendMessageA(position, TBM_SETRANGEMAX, TRUE, static_cast<LPARAM>(duration / kUnitsPerHundredth));
    ::SendMessageA(position, TBM_SETPOS, TRUE, 0);
    ::EnableWindow(position, duration > 0);
    SendDlgItemMessage(IDC_VOLUME_SLIDER, TBM_SETPOS, TRUE, m_settings.audioLevel);
    ::EnableWindow(GetDlgItem(IDC_VOLUME_SLIDER), TRUE);
    ::EnableWindow(GetDlgItem(IDC_MUTE), TRUE);
    CheckDlgButton(IDC_MUTE, m_settings.mute == 1 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_LOOP, m_settings.playLoop != 0 ? BST_CHECKED : BST_UNCHECKED);
    m_lastPlaybackHundredths = -1;
}

void MainDialog::ClosePlayback()
{
    m_playback.CloseFile();
    LeavePlaybackMode();
}

void MainDialog::LeavePlaybackMode()
{
    m_mode = MODE_IDLE;
    m_videoArea.ShowIdlePicture(true);
    SendDlgItemMessage(IDC_POSITION_SLIDER, TBM_SETPOS, TRUE, 0);
    ::EnableWindow(GetDlgItem(IDC_POSITION_SLIDER), FALSE);
    ::EnableWindow(GetDlgItem(IDC_SNAPSHOT), FALSE);
    if (m_settingsWindow)
        m_settingsWindow->EnableTabs(true);
    SetDlgItemText(IDC_ELAPSED_CLOCK, FormatClock(0, 0, 0).c_str());
    m_lastPlaybackHundredths = -1;
    m_thumbnails.Select(-1);
}

void MainDialog::OnRecentThumbnail(int index)
{
    if (!m_recent.HasEntry(index))
        return;
    const std::string path = m_recent.At(index).path;
    // A recent entry that cannot be read is reported, unlike a file the user just chose.
    if (!Readable(path)) {
        ReportError(msg::kCannotPlayFile, path.c_str());
        return;
    }
    if (!OpenMediaFile(path, true))
        return;
    if (auto* record = dynamic_cast<EQorButton*>(CWnd::FromHandlePermanent(GetDlgItem(IDC_RECORD))))
        record->SetIdentity(kRecordLookPlaying);
    m_thumbnails.Select(index);
}

void MainDialog::OnDropFiles(HDROP drop)
{
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count > 1) {
        ShowProgramMessage(m_hWnd, Text(msg::kDropOneFile), Text(msg::kAppTitle), MB_OK | MB_ICONSTOP);
    } else if (count == 1) {
        char path[MAX_PATH] = {};
        DragQueryFileA(drop, 0, path, MAX_PATH);
        if (launcher::JudgeLauncherDrop({path}) == launcher::DropVerdict::Accepted)
            DropLauncherProgram(path);
        else if (!media::IsAcceptedMediaPath(path))
            ShowProgramMessage(m_hWnd, "Invalid MPEG file.", Text(msg::kAppTitle), MB_OK | MB_ICONSTOP);
        else
            OpenMediaFile(path, false);
    }
    DragFinish(drop);
}

void MainDialog::OnHScroll(UINT code, UINT, HWND bar)
{
    if (m_settingsWindow && m_settingsWindow->OnScroll(bar, code))
        return;
    if (bar == GetDlgItem(IDC_POSITION_SLIDER)) {
        if (m_mode != MODE_PLAYBACK || code == TB_ENDTRACK)
            return;
        const LRESULT hundredths = ::SendMessageA(bar, TBM_GETPOS, 0, 0);
        m_playback.SeekTenths(hundredths / 10);
        ShowPlaybackTime(static_cast<std::int64_t>(hundredths) * kUnitsPerHundredth, false);
    } else if (bar == GetDlgItem(IDC_VOLUME_SLIDER)) {
        if (m_settings.mute == 1)
            OnMuteControl();
        m_settings.audioLevel = static_cast<int>(::SendMessageA(bar, TBM_GETPOS, 0, 0));
        ApplyAudioLevel();
        Store().WriteInt("Capture", "AudioLevel", m_settings.audioLevel);
    }
}

void MainDialog::ApplyAudioLevel()
{
    bool capturing = false;
    if (m_mode == MODE_PLAYBACK)
        m_playback.SetLevel(m_settings.audioLevel);
    else if (capture::CaptureGraph* engine = m_capture.Engine(); engine && m_mode == MODE_CAPTURE)
        capturing = engine->SetVolume(m_settings.audioLevel, m_settings.mute == 1);
    Trace("volume %d%s", m_settings.audioLevel, capturing ? " on the preview's sound" : "");
}

void MainDialog::OnMuteControl()
{
    m_settings.mute = m_settings.mute == 1 ? 0 : 1;
    CheckDlgButton(IDC_MUTE, m_settings.mute == 1 ? BST_CHECKED : BST_UNCHECKED);
    Store().WriteInt("Capture", "Mute", m_settings.mute);
    if (m_mode == MODE_PLAYBACK)
        m_playback.SetMuted(m_settings.mute == 1);
    else if (capture::CaptureGraph* engine = m_capture.Engine(); engine && m_mode == MODE_CAPTURE)
        engine->SetVolume(m_settings.audioLevel, m_settings.mute == 1);
}

void MainDialog::OnLoopControl()
{
    m_settings.playLoop = m_settings.playLoop != 0 ? 0 : 1;
    CheckDlgButton(IDC_LOOP, m_settings.playLoop != 0 ? BST_CHECKED : BST_UNCHECKED);
    Store().WriteInt("Capture", "PlayLoop", m_settings.playLoop);
    m_playback.SetLoop(m_settings.playLoop != 0);
}

void MainDialog::OnPlayControl()
{
    if (m_mode == MODE_PLAYBACK)
        m_playback.PauseResume();
}

void MainDialog::OnFullScreenControl()
{
    if (m_mode == MODE_PLAYBACK)
        m_playback.ToggleFullScreen();
}

void MainDialog::ShowPlaybackTime(std::int64_t position, bool moveSlider)
{
    if (position < 0)
        return;
    const std::int64_t hundredths = position / kUnitsPerHundredth;
    if (hundredths / 10 == m_lastPlaybackHundredths / 10)
        return;
    m_lastPlaybackHundredths = hundredths;
    if (moveSlider)
        SendDlgItemMessage(IDC_POSITION_SLIDER, TBM_SETPOS, TRUE, static_cast<LPARAM>(hundredths));
    const ClockTime clock = ClockFromEngineTime(position);
    SetDlgItemText(IDC_ELAPSED_CLOCK, FormatClock(clock.hours, clock.minutes, clock.seconds).c_str());
}

void MainDialog::OnMove(int x, int y)
{
    EQorDialog::OnMove(x, y);
    m_playback.PlaceVideo();
}

void MainDialog::OnSize(UINT type, int cx, int cy)
{
    EQorDialog::OnSize(type, cx, cy);
    m_playback.PlaceVideo();
}

HWND MainDialog::MainWindow() const
{
    return m_hWnd;
}

std::string MainDialog::AppText(int id)
{
    return Text(id);
}

void MainDialog::ShowMessage(const std::string& text)
{
    ShowProgramMessage(m_hWnd, text, Text(msg::kAppTitle), MB_OK | MB_ICONEXCLAMATION);
}

void MainDialog::LogError(const std::string& text)
{
    AppendLogLine(m_logPath, "ERR", text.c_str());
}

void MainDialog::StopCaptureForPlayback()
{
    m_capture.SwitchOff();
}

void MainDialog::PlaybackEnded()
{
    LeavePlaybackMode();
}

}  // namespace shell
