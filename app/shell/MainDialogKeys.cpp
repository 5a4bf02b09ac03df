// The main window's keyboard and remote-control commands: the two accelerator tables applied
// in the window's message loop (the remote's first), the keys that must reach an edit
// untranslated, and what each command does.
#include "MainDialog.h"

#include <commctrl.h>

#include <set>

#include "ControlIds.h"

namespace shell {
namespace {

constexpr long kBrightness = 0;  // the video amplifier's property number
constexpr int kFrameStep = 3;

bool IsEdit(HWND window)
{
    char name[16] = {};
    return window && ::GetClassNameA(window, name, sizeof name) && ::lstrcmpiA(name, "Edit") == 0;
}

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// HTML Help lives in its own library, present on every system that has a viewer.
bool OpenHtmlHelp(HWND owner, const std::string& path)
{
    // Loaded once and kept for the process: its help window may stay open to the end.
    static const HMODULE library = ::LoadLibraryA("hhctrl.ocx");
    if (!library)
        return false;
    const auto htmlHelp = reinterpret_cast<HtmlHelpFunction>(
        reinterpret_cast<void*>(::GetProcAddress(library, "HtmlHelpA")));
    return htmlHelp && htmlHelp(owner, path.c_str(), 0 /* HH_DISPLAY_TOPIC */, 0) != nullptr;
}

std::vector<std::string> FileNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA((folder + "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

}  // namespace

void MainDialog::MapKeyCommands()
{
    std::set<WORD> mapped;
    for (int table : {keys::kRemoteTable, keys::kKeyboardTable})
        for (const ACCEL& key : keys::Table(table))
            // The channel keys belong to the television side.
            if (keys::ActionFor(key.cmd, {}) != keys::Action::kTuner && mapped.insert(key.cmd).second)
                MapCommand(key.cmd, [this, command = key.cmd] { OnKeyCommand(command); });
    MapCommand(IDC_HELP_BUTTON, [this] { OnHelp(); });
}

void MainDialog::LoadKeyTables()
{
    m_remoteKeys = keys::CreateTable(keys::kRemoteTable);
    m_keyboardKeys = keys::CreateTable(keys::kKeyboardTable);
}

BOOL MainDialog::PreTranslateMessage(MSG* msg)
{
    // A designer's arrow keys move the selected control rather than seek or change the volume.
    if (m_hWnd && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && !TakesEditingKey(msg) &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        const int page = m_settingsWindow ? m_settingsWindow->Current() : -1;
        if (keys::TranslateKey(msg->message, msg->wParam, IsEdit(::GetFocus()), page)) {
            for (HACCEL table : {m_remoteKeys.Get(), m_keyboardKeys.Get()})
                if (table && ::TranslateAcceleratorA(m_hWnd, table, msg))
                    return TRUE;
        }
    }
    return EQorDialog::PreTranslateMessage(msg);
}

bool MainDialog::RecordControlReady() const
{
    if (m_mode != MODE_CAPTURE || !::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_RECORD)))
        return false;
    // A running recording can always be stopped; none starts while the input has no picture.
    return m_capture.Recording() || !::IsWindowVisible(::GetDlgItem(m_hWnd, IDC_NO_VIDEO_LABEL));
}

void MainDialog::OnKeyCommand(WORD command)
{
    const keys::KeyState state{m_mode, m_capture.Recording(), m_playback.Playing() && !m_playback.Running()};
    keys::Action action = keys::ActionFor(command, state);
    if (action == keys::Action::kRecord && !RecordControlReady())
        action = keys::Action::kNone;
    Trace("key command %u: %s", static_cast<unsigned>(command), keys::ActionName(action));
    switch (action) {
    case keys::Action::kNone:
    case keys::Action::kTuner: return;
    case keys::Action::kPlayPause: m_playback.PauseResume(); return;
    case keys::Action::kSeekStart: m_playback.SeekToStart(); break;
    case keys::Action::kSeekEnd: m_playback.SeekToEnd(); break;
    case keys::Action::kSkipBack: m_playback.SkipQuarter(false); break;
    case keys::Action::kSkipForward: m_playback.SkipQuarter(true); break;
    case keys::Action::kStepBack: m_playback.StepFrames(-kFrameStep); break;
    case keys::Action::kStepForward: m_playback.StepFrames(kFrameStep); break;
    case keys::Action::kLeaveFullScreen: m_playback.LeaveFullScreen(); return;
    case keys::Action::kFullScreen: OnFullScreenControl(); return;
    case keys::Action::kRecord: OnRecordControl(); return;
    case keys::Action::kBrightnessUp: StepBrightness(1); return;
    case keys::Action::kBrightnessDown: StepBrightness(-1); return;
    case keys::Action::kHelp: OnHelp(); return;
    case keys::Action::kExit: CloseWindow(IDOK); return;
    case keys::Action::kReapplyInput: ReapplyInput(); return;
    case keys::Action::kPlaybackCommand: OnPlaybackCommand(); return;
    case keys::Action::kCaptureButton:
        if (m_mode == MODE_PLAYBACK)
            ClosePlayback();
        m_capture.OnCaptureButton();
        return;
    case keys::Action::kMute: OnMuteControl(); return;
    case keys::Action::kVolumeUp: StepVolume(1); return;
    case keys::Action::kVolumeDown: StepVolume(-1); return;
    }
    // The seeks and steps: the clock and the slider follow the new position.
    m_lastPlaybackHundredths = -1;
    ShowPlaybackTime(m_playback.Position(), true);
}

void MainDialog::StepBrightness(int direction)
{
    capture::CaptureGraph* engine = m_capture.Engine();
    encoder::ProcAmpRecord record;
    if (!engine || FAILED(engine->Encoder().GetVideoProcAmp(kBrightness, record)))
        return;
    const std::optional<long> next = keys::StepWithin(record.value, record.minimum, record.maximum, record.step, direction);
    if (!next || FAILED(engine->Encoder().SetVideoProcAmp(kBrightness, *next)))
        return;
    // Kept as the colour page keeps it, so the next preview starts with it too.
    Store().WriteInt("Color", "Brightness", static_cast<int>(*next));
    if (m_settingsWindow && m_settingsWindow->Created(pages::SettingsWindow::kColourPage))
        m_settingsWindow->Page(pages::SettingsWindow::kColourPage)->DeviceChanged();
    Trace("brightness %ld", *next);
}

void MainDialog::StepVolume(int direction)
{
    // The slider shows the level only while a file plays; the level itself is the setting.
    const HWND slider = GetDlgItem(IDC_VOLUME_SLIDER);
    const std::optional<long> next =
        keys::StepWithin(m_settings.audioLevel, static_cast<long>(::SendMessageA(slider, TBM_GETRANGEMIN, 0, 0)),
                         static_cast<long>(::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0)), 1, direction);
    if (!next)
        return;
    // A louder picture while the mute button shows muted would lie: unmute first, as the slider does.
    if (m_settings.mute == 1)
        OnMuteControl();
    ::SendMessageA(slider, TBM_SETPOS, TRUE, *next);
    m_settings.audioLevel = static_cast<int>(*next);
    ApplyAudioLevel();
    Store().WriteInt("Capture", "AudioLevel", m_settings.audioLevel);
    CheckDlgButton(IDC_MUTE, m_settings.mute == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void MainDialog::OnHelp()
{
    // Only the program's own folder: a help file lying in whatever folder is current is
    // neither ours nor safe to open.
    for (const keys::HelpFile& file : keys::HelpFilesToTry(m_programFolder, FileNames(m_programFolder))) {
        if (file.kind == keys::HelpFile::kHtmlHelp && OpenHtmlHelp(m_hWnd, file.path)) {
            Trace("help: %s", file.path.c_str());
            return;
        }
        if (file.kind == keys::HelpFile::kWinHelp) {
            // The help window must be able to come in front of the main window.
            ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            if (::WinHelpA(m_hWnd, file.path.c_str(), HELP_FINDER, 0)) {
                Trace("help: %s", file.path.c_str());
                return;
            }
        }
    }
    Trace("help: no help file, the about box instead");
    OnAboutBox();
}

void MainDialog::ReapplyInput()
{
    const HWND list = GetDlgItem(IDC_INPUT_LIST);
    const LRESULT item = ::SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (item != CB_ERR)
        m_capture.OnInputChosen(static_cast<int>(::SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(item), 0)));
}

// The keys reach it from idle and from a preview without a recording.
void MainDialog::OnPlaybackCommand()
{
    if (m_mode == MODE_CAPTURE) {
        m_capture.SwitchOff();
        ShowNoVideoLabel(false);
        ::ShowWindow(GetDlgItem(IDC_SCAN_INPUTS), SW_HIDE);
    }
    OnOpenControl();
}

}  // namespace shell
