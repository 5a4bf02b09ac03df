// The main window's snapshot command: a still of the preview or of the file playing, shown in
// the snapshot dialog; and the snapshot control, enabled exactly while a still can be taken.
#include "MainDialog.h"

#include <cctype>

#include "ControlIds.h"
#include "MessageIds.h"
#include "ProgramMessage.h"
#include "SaveBmpDialog.h"

namespace shell {
namespace {

bool IsMpegVideoFile(const std::string& path)
{
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = path.substr(dot);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".mpg" || extension == ".m1v" || extension == ".m2v" || extension == ".mpeg";
}

}  // namespace

void MainDialog::MapSnapshotCommands()
{
    MapCommand(IDC_SNAPSHOT, [this] { OnSnapshotControl(); });
}

bool MainDialog::StillAvailable()
{
    if (m_mode == MODE_CAPTURE) {
        capture::CaptureGraph* engine = m_capture.Engine();
        return engine && engine->Built() && engine->State() == capture::CaptureGraph::kRunning && engine->StillReady();
    }
    if (m_mode == MODE_PLAYBACK) {
        // Stills are offered for MPEG video files only.
        const media::MediaPlayer* player = m_playback.Player();
        return player && player->IsOpen() && !player->AudioOnly() && IsMpegVideoFile(m_mediaPath);
    }
    return false;
}

void MainDialog::UpdateSnapshotControl()
{
    const HWND control = GetDlgItem(IDC_SNAPSHOT);
    const bool available = StillAvailable();
    if (control && (::IsWindowEnabled(control) != FALSE) != available)
        ::EnableWindow(control, available ? TRUE : FALSE);
}

void MainDialog::OnSnapshotControl()
{
    std::string still;
    HRESULT hr = E_FAIL;
    if (m_mode == MODE_CAPTURE && m_capture.Engine()) {
        hr = m_capture.Engine()->GrabCaptureFrame(&still);
    } else if (m_mode == MODE_PLAYBACK && m_playback.Player()) {
        char folder[MAX_PATH] = {};
        const DWORD n = GetTempPathA(MAX_PATH, folder);
        if (n > 0 && n < MAX_PATH)
            hr = m_playback.Player()->GrabPlaybackFrame(folder, &still);
    }
    if (FAILED(hr) || still.empty()) {
        Trace("no still could be taken (mode %d, 0x%08lX)", static_cast<int>(m_mode), static_cast<unsigned long>(hr));
        ShowProgramMessage(m_hWnd, Text(msg::kSnapshotFailed), Text(msg::kAppTitle), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Trace("still taken: %s", still.c_str());
    std::string& folder = m_settings.stillPicFolder;
    if (folder.empty())
        folder = m_settings.recordingFolder;
    SaveBmpDialog dialog(still, &folder, &m_stillFilterIndex, this);
    dialog.DoModal();
    Store().WriteString("Capture", "StillPicFolder", folder.c_str());
}

}  // namespace shell
