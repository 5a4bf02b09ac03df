// The main window's capture side: what the capture session asks of the window (mode, video
// area, record control, recording name, clocks, the recent list) and the capture commands.
#include "MainDialog.h"

#include <commctrl.h>

#include "CaptureDeviceOf.h"
#include "ControlIds.h"
#include "EQorButton.h"
#include "MessageIds.h"
#include "ProgramMessage.h"
#include "RecentDetails.h"
#include "RecordingFileName.h"
#include "RecordingStart.h"
#include "FolderBrowser.h"

namespace shell {

void MainDialog::MapCaptureCommands()
{
    MapCommand(IDC_RECORD, [this] { OnRecordControl(); });
    MapCommand(IDC_PREVIEW_ON, [this] { SetPreviewDisplay(true); });
    MapCommand(IDC_PREVIEW_OFF, [this] { SetPreviewDisplay(false); });
    MapCommand(IDC_INPUT_LIST, CBN_SELCHANGE, [this] {
        const HWND list = GetDlgItem(IDC_INPUT_LIST);
        const LRESULT item = ::SendMessageA(list, CB_GETCURSEL, 0, 0);
        if (item != CB_ERR)
            m_capture.OnInputChosen(static_cast<int>(::SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(item), 0)));
    });
}

void MainDialog::OnRecordControl()
{
    // From a playing file the record control brings the preview back: the file goes first.
    if (m_mode == MODE_PLAYBACK)
        ClosePlayback();
    // A recording starts with the pages' pending edits taken over.
    if (m_settingsWindow && m_mode == MODE_CAPTURE && !m_capture.Recording())
        m_settingsWindow->ApplyAll();
    m_capture.RecordButton();
}

void MainDialog::SetMode(MainMode mode)
{
    // The pages read the device again when its graph comes or goes.
    const bool modeChanged = mode != m_mode;
    m_mode = mode;
    ShowModeInformation(false);
    if (modeChanged && m_settingsWindow)
        m_settingsWindow->DeviceChanged();
}

void MainDialog::ShowModeInformation(bool recording)
{
    StatusModel& model = m_status.Model();
    model.SetInformationState(m_mode == MODE_CAPTURE ? (recording ? kInfoRecording : kInfoCaptureStopped)
                                                     : m_mode == MODE_PLAYBACK ? kInfoPlayback : kInfoVersion);
    if (capture::CaptureGraph* engine = m_capture.Engine(); engine && m_mode == MODE_CAPTURE)
        model.SetStandardIndex(engine->Is525Line() ? 0 : 1);
    m_status.Redraw(recording);
}

void MainDialog::SetPreviewDisplay(bool on)
{
    m_previewDisplay = on;
    if (capture::CaptureGraph* engine = m_capture.Engine(); engine && m_mode == MODE_CAPTURE)
        engine->SetPreviewEnabled(on);
    m_videoArea.ShowIdlePicture(!on || m_mode != MODE_CAPTURE);
}

HWND MainDialog::VideoAreaHandle() const
{
    return ::GetDlgItem(m_hWnd, IDC_VIDEO_AREA);
}

std::optional<capture::CaptureDevice> MainDialog::CurrentCaptureDevice() const
{
    const devices::CaptureDeviceTable& table = devices::Devices();
    if (table.current < 0 || table.current >= table.count)
        return std::nullopt;
    return devices::CaptureDeviceOf(table.records[table.current]);
}

void MainDialog::ShowVideo()
{
    m_videoArea.ShowIdlePicture(false);
}

void MainDialog::SetRecordLook(int identity)
{
    if (auto* button = dynamic_cast<EQorButton*>(CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, IDC_RECORD))))
        button->SetIdentity(identity);
    ::EnableWindow(GetDlgItem(IDC_RECORD), identity != 3);
}

recording::NameChoice MainDialog::ChooseRecordingFileName()
{
    if (recording::AsksForFileName(m_settings)) {
        recording::SystemSaveNamePrompt prompt(
            this, {Text(msg::kSaveAsTitle), Text(msg::kRecordingFilter), Text(msg::kReplaceRecording), Text(msg::kAppTitle)},
            [this](const std::string& question, const std::string& caption) {
                return shell::ShowProgramMessage(m_hWnd, question, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
            });
        return recording::AskRecordingFileName(prompt, m_settings);
    }
    const recording::SystemFolderListing listing;
    recording::ClipFolderHost folders;
    folders.askFolder = [this] { return recording::BrowseForFolder(this, ""); };
    folders.storeFolder = [this](const std::string& folder) {
        m_settings.recordingFolder = folder;
        m_settings.Save(Store(), settings::MeasureFreeSpace(folder));
    };
    const recording::NameChoice choice = recording::NextClipName(m_settings.recordingFolder, listing, folders);
    if (choice.outcome == recording::NameChoice::kRefused)
        shell::ShowProgramMessage(m_hWnd, choice.reason, Text(msg::kAppTitle), MB_OK | MB_ICONEXCLAMATION);
    return choice;
}

void MainDialog::RecordingStarted(const std::string& file, const recording::StopRules::Started& started)
{
    SetDlgItemText(IDC_FILE_NAME, file.c_str());
    SetDlgItemText(IDC_WRITTEN_SIZE, "");
    if (m_settingsWindow)
        m_settingsWindow->EnableTabs(false);
    if (m_settingsWindow)
        m_settingsWindow->Lock(true);
    m_status.Model().ResetRecordingElapsedText();
    m_status.Model().SetCountdown(started.countdown);
    SendDlgItemMessage(IDC_POSITION_SLIDER, TBM_SETRANGE, TRUE,
                       MAKELPARAM(0, static_cast<WORD>(std::min<std::int64_t>(started.sliderMaximum, 0xFFFF))));
    ShowModeInformation(true);
    recording::MarkRecordingUnfinished(Store(), file);
    Trace("recording %s", file.c_str());
}

void MainDialog::RecordingEnded(const std::optional<recording::StopRules::Finished>& finished)
{
    if (m_settingsWindow)
        m_settingsWindow->EnableTabs(true);
    if (m_settingsWindow)
        m_settingsWindow->Lock(false);
    SetDlgItemText(IDC_FILE_NAME, "");
    SetDlgItemText(IDC_WRITTEN_SIZE, "");
    ShowModeInformation(false);
    recording::MarkRecordingFinished(Store());
    if (!finished)
        return;
    m_recent.Add(recording::RecentEntryFor(finished->path, finished->format, m_status.Model().RecordingElapsedText()));
    m_recent.Write(Store());
    FillThumbnails();
    Trace("recording %s finished", finished->path.c_str());
}

void MainDialog::ShowRecordedTime(std::int64_t time100ns)
{
    m_status.ShowEngineTime(time100ns, m_capture.Recording());
}

void MainDialog::ShowWrittenSize(const std::string& text)
{
    SetDlgItemText(IDC_WRITTEN_SIZE, text.c_str());
}

void MainDialog::ShowTextMessage(int textId, bool systemModal)
{
    shell::ShowProgramMessage(m_hWnd, Text(textId), Text(msg::kAppTitle),
                              MB_OK | MB_ICONEXCLAMATION | (systemModal ? MB_SYSTEMMODAL : 0));
}

}  // namespace shell
