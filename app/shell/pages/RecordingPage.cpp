#include "RecordingPage.h"

#include <commctrl.h>

#include <cstdlib>

#include "ControlIds.h"
#include "FileSizeLimit.h"
#include "FolderBrowser.h"

namespace pages {
namespace {

constexpr char kCreateFolderQuestion[] = "Path does not exist.  Create new folder?";
constexpr int kStopButtons[] = {IDC_STOP_NEVER, IDC_STOP_AFTER, IDC_STOP_NO_VIDEO};

struct SpinField {
    int spin, edit, maximum;
};
constexpr SpinField kSpins[] = {{IDC_STOP_HOURS_SPIN, IDC_STOP_HOURS, 23},
                                {IDC_STOP_MINUTES_SPIN, IDC_STOP_MINUTES, 59},
                                {IDC_STOP_SECONDS_SPIN, IDC_STOP_SECONDS, 59},
                                {IDC_NO_VIDEO_SPIN, IDC_NO_VIDEO_SECONDS, 999}};

constexpr int kLockedControls[] = {IDC_RECORDING_FOLDER, IDC_BROWSE_FOLDER,  IDC_SIZE_PRESET,     IDC_SIZE_LIST,
                                   IDC_SIZE_CUSTOM,      IDC_SIZE_CUSTOM_EDIT, IDC_SIZE_UNIT,      IDC_STOP_NEVER,
                                   IDC_STOP_AFTER,       IDC_STOP_NO_VIDEO,  IDC_STOP_HOURS,      IDC_STOP_HOURS_SPIN,
                                   IDC_STOP_MINUTES,     IDC_STOP_MINUTES_SPIN, IDC_STOP_SECONDS, IDC_STOP_SECONDS_SPIN,
                                   IDC_NO_VIDEO_SECONDS, IDC_NO_VIDEO_SPIN,  IDC_AUTO_RECORD,     IDC_ASK_FILE_NAME};

}  // namespace

std::vector<int> RecordingPage::ControlIds()
{
    std::vector<int> ids = {IDC_FOLDER_LABEL, IDC_RECORDING_FOLDER, IDC_BROWSE_FOLDER};
    for (int id = IDC_FREE_SPACE_LABEL; id <= IDC_ASK_FILE_NAME; ++id)
        ids.push_back(id);
    return ids;
}

void RecordingPage::Create()
{
    m_filling = true;
    CWnd& window = m_host.Window();
    const settings::CaptureSettings& s = m_host.Settings();
    window.SetDlgItemText(IDC_RECORDING_FOLDER, s.recordingFolder.c_str());
    m_freeSpace = settings::MeasureFreeSpace(s.recordingFolder);
    ShowFreeSpace();
    HWND unit = window.GetDlgItem(IDC_SIZE_UNIT);
    ::SendMessageA(unit, CB_RESETCONTENT, 0, 0);
    ::SendMessageA(unit, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("GB"));
    ::SendMessageA(unit, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("MB"));
    for (const SpinField& field : kSpins) {
        HWND spin = window.GetDlgItem(field.spin);
        // The arrows count in their edit, within the edit's range.
        ::SetWindowLongA(spin, GWL_STYLE, ::GetWindowLongA(spin, GWL_STYLE) | UDS_SETBUDDYINT);
        ::SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(window.GetDlgItem(field.edit)), 0);
        ::SendMessageA(spin, UDM_SETRANGE32, 0, field.maximum);
        ::SendDlgItemMessageA(window.m_hWnd, field.edit, EM_LIMITTEXT, field.maximum > 99 ? 3 : 2, 0);
    }
    ShowLimit();
    ShowStopRule();
    ShowChecks();
    EnableControls();
    m_filling = false;
}

void RecordingPage::Show()
{
    // Radio buttons of other pages share the window's one group: the checks are set again.
    SetCustomSize(m_custom);
    SetStopChoice(m_stop);
}

void RecordingPage::ShowFreeSpace()
{
    const settings::CaptureSettings& s = m_host.Settings();
    const std::string text = recording::FreeSpaceText(m_freeSpace, !s.recordingFolder.empty());
    m_host.Window().SetDlgItemText(IDC_FREE_SPACE, text.c_str());
    FillSizeList();
}

void RecordingPage::FillSizeList()
{
    HWND list = m_host.Window().GetDlgItem(IDC_SIZE_LIST);
    const LRESULT chosen = ::SendMessageA(list, CB_GETCURSEL, 0, 0);
    ::SendMessageA(list, CB_RESETCONTENT, 0, 0);
    const std::string freeText = recording::FreeSpaceText(m_freeSpace, !m_host.Settings().recordingFolder.empty());
    for (int index = 0; index < recording::kLimitChoiceCount; ++index)
        ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(recording::LimitChoiceText(index, freeText).c_str()));
    ::SendMessageA(list, CB_SETCURSEL, chosen == CB_ERR ? 0 : static_cast<WPARAM>(chosen), 0);
}

void RecordingPage::ShowLimit()
{
    settings::CaptureSettings& s = m_host.Settings();
    const LimitSelection selection = SelectionFor(s.fileSizeLimit, s.customFileSizeLimit);
    if (selection.resetStored) {
        s.fileSizeLimit = settings::kNoLimit;
        settings::WriteLimit(m_host.Store(), "Capture", "FileSizeLimit", settings::kNoLimit);
    }
    CWnd& window = m_host.Window();
    window.SendDlgItemMessage(IDC_SIZE_LIST, CB_SETCURSEL, static_cast<WPARAM>(selection.listIndex));
    const bool realCustom = s.customFileSizeLimit != settings::kNoLimit && s.customFileSizeLimit != 0;
    const CustomSizeShown shown = CustomSizeText(realCustom ? s.customFileSizeLimit : 0);
    window.SetDlgItemText(IDC_SIZE_CUSTOM_EDIT, realCustom ? shown.text.c_str() : "");
    window.SendDlgItemMessage(IDC_SIZE_UNIT, CB_SETCURSEL, static_cast<WPARAM>(realCustom ? shown.unit : recording::kUnitGigabytes));
    SetCustomSize(selection.custom);
}

void RecordingPage::ShowStopRule()
{
    const StopRuleEdits edits = StopRuleOf(m_host.Settings());
    CWnd& window = m_host.Window();
    const auto setNumber = [&window](int id, int value, const char* format) {
        char text[16];
        std::snprintf(text, sizeof text, format, value);
        window.SetDlgItemText(id, text);
    };
    setNumber(IDC_STOP_HOURS, edits.hours, "%02d");
    setNumber(IDC_STOP_MINUTES, edits.minutes, "%02d");
    setNumber(IDC_STOP_SECONDS, edits.seconds, "%02d");
    setNumber(IDC_NO_VIDEO_SECONDS, edits.noVideoSeconds, "%d");
    for (const SpinField& field : kSpins)
        window.SendDlgItemMessage(field.spin, UDM_SETPOS32, 0, EditNumber(field.edit));
    SetStopChoice(edits.choice);
}

void RecordingPage::ShowChecks()
{
    const settings::CaptureSettings& s = m_host.Settings();
    m_host.Window().CheckDlgButton(IDC_AUTO_RECORD, s.autoRecord ? BST_CHECKED : BST_UNCHECKED);
    m_host.Window().CheckDlgButton(IDC_ASK_FILE_NAME, s.fileName == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void RecordingPage::SetCustomSize(bool custom)
{
    m_custom = custom;
    CWnd& window = m_host.Window();
    window.CheckDlgButton(IDC_SIZE_PRESET, custom ? BST_UNCHECKED : BST_CHECKED);
    window.CheckDlgButton(IDC_SIZE_CUSTOM, custom ? BST_CHECKED : BST_UNCHECKED);
    EnableControls();
}

void RecordingPage::SetStopChoice(StopChoice choice)
{
    m_stop = choice;
    for (int index = 0; index < 3; ++index)
        m_host.Window().CheckDlgButton(kStopButtons[index], index == choice ? BST_CHECKED : BST_UNCHECKED);
    EnableControls();
}

void RecordingPage::EnableControls()
{
    // Each control is set once to its final state, so none flickers on and off on the way.
    CWnd& window = m_host.Window();
    for (int id : kLockedControls)
        ::EnableWindow(window.GetDlgItem(id), !m_locked && Usable(id));
}

bool RecordingPage::Usable(int id) const
{
    switch (id) {
    case IDC_SIZE_LIST:
        return !m_custom;
    case IDC_SIZE_CUSTOM_EDIT:
    case IDC_SIZE_UNIT:
        return m_custom;
    case IDC_STOP_HOURS:
    case IDC_STOP_HOURS_SPIN:
    case IDC_STOP_MINUTES:
    case IDC_STOP_MINUTES_SPIN:
    case IDC_STOP_SECONDS:
    case IDC_STOP_SECONDS_SPIN:
        return m_stop == kStopAfterDuration;
    case IDC_NO_VIDEO_SECONDS:
    case IDC_NO_VIDEO_SPIN:
        return m_stop == kStopWithoutVideo;
    default:
        return true;
    }
}

void RecordingPage::Lock(bool locked)
{
    m_locked = locked;
    EnableControls();
}

bool RecordingPage::OnCommand(int id, int code)
{
    if (m_locked || m_filling)
        return true;
    switch (id) {
    case IDC_SIZE_PRESET:
    case IDC_SIZE_CUSTOM:
        if (code == BN_CLICKED) {
            SetCustomSize(id == IDC_SIZE_CUSTOM);
            Edited();
        }
        return true;
    case IDC_STOP_NEVER:
    case IDC_STOP_AFTER:
    case IDC_STOP_NO_VIDEO:
        if (code == BN_CLICKED) {
            SetStopChoice(id == IDC_STOP_AFTER ? kStopAfterDuration : id == IDC_STOP_NO_VIDEO ? kStopWithoutVideo : kStopManually);
            Edited();
        }
        return true;
    case IDC_BROWSE_FOLDER:
        if (code == BN_CLICKED)
            Browse();
        return true;
    case IDC_SIZE_LIST:
    case IDC_SIZE_UNIT:
        if (code == CBN_SELCHANGE)
            Edited();
        return true;
    case IDC_RECORDING_FOLDER:
    case IDC_SIZE_CUSTOM_EDIT:
    case IDC_STOP_HOURS:
    case IDC_STOP_MINUTES:
    case IDC_STOP_SECONDS:
    case IDC_NO_VIDEO_SECONDS:
        if (code == EN_CHANGE)
            Edited();
        return true;
    case IDC_AUTO_RECORD:
    case IDC_ASK_FILE_NAME:
        if (code == BN_CLICKED)
            Edited();
        return true;
    default:
        return false;
    }
}

void RecordingPage::Edited()
{
    // The page's edits wait for the apply button, whether or not the preview runs.
    if (HWND apply = m_host.Window().GetDlgItem(IDC_APPLY))
        ::EnableWindow(apply, TRUE);
}

int RecordingPage::EditNumber(int id) const
{
    const std::string text = m_host.Window().GetDlgItemText(id);
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

StopRuleEdits RecordingPage::ReadStopEdits() const
{
    StopRuleEdits edits;
    edits.choice = m_stop;
    edits.hours = EditNumber(IDC_STOP_HOURS);
    edits.minutes = EditNumber(IDC_STOP_MINUTES);
    edits.seconds = EditNumber(IDC_STOP_SECONDS);
    edits.noVideoSeconds = EditNumber(IDC_NO_VIDEO_SECONDS);
    return edits;
}

bool RecordingPage::Apply()
{
    settings::CaptureSettings& s = m_host.Settings();
    CWnd& window = m_host.Window();
    ApplyStopRule(ReadStopEdits(), s);
    m_filling = true;
    ShowStopRule();
    m_filling = false;

    if (m_custom) {
        const std::optional<double> value = recording::ParseCustomSize(window.GetDlgItemText(IDC_SIZE_CUSTOM_EDIT));
        const int unit = static_cast<int>(window.SendDlgItemMessage(IDC_SIZE_UNIT, CB_GETCURSEL));
        const std::optional<std::uint64_t> limit =
            value ? recording::CustomLimit(*value, unit, m_freeSpace) : std::nullopt;
        if (limit) {
            s.customFileSizeLimit = *limit;
            s.fileSizeLimit = *limit;
        }
        // What the limit became (capped at the free space, or the stored one for a size that
        // could not be read) is what the edit shows.
        m_filling = true;
        ShowLimit();
        m_filling = false;
    } else {
        const int index = static_cast<int>(window.SendDlgItemMessage(IDC_SIZE_LIST, CB_GETCURSEL));
        s.fileSizeLimit = recording::LimitOfChoice(index).value_or(settings::kNoLimit);
    }

    std::string folder;
    if (!ApplyFolder(&folder))
        return false;
    s.recordingFolder = folder;
    s.autoRecord = window.IsDlgButtonChecked(IDC_AUTO_RECORD) == BST_CHECKED;
    s.fileName = window.IsDlgButtonChecked(IDC_ASK_FILE_NAME) == BST_CHECKED ? 1 : 0;
    m_host.SaveSettings();
    m_freeSpace = settings::MeasureFreeSpace(s.recordingFolder);
    m_filling = true;
    ShowFreeSpace();
    m_filling = false;
    return true;
}

bool RecordingPage::ApplyFolder(std::string* folder)
{
    const std::string typed = m_host.Window().GetDlgItemText(IDC_RECORDING_FOLDER);
    // No folder yet stays no folder: the first recording asks for one.
    if (FolderExists(typed) || (typed.empty() && m_host.Settings().recordingFolder.empty())) {
        *folder = typed;
        return true;
    }
    const std::optional<std::string> parent = ParentFolder(typed, IsJapaneseLeadByte);
    if (parent && FolderExists(*parent) &&
        m_host.Message(kCreateFolderQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES &&
        CreateDirectoryA(typed.c_str(), nullptr)) {
        *folder = typed;
        return true;
    }
    RestoreFolderEdit();
    return false;
}

void RecordingPage::RestoreFolderEdit()
{
    m_filling = true;
    m_host.Window().SetDlgItemText(IDC_RECORDING_FOLDER, m_host.Settings().recordingFolder.c_str());
    m_filling = false;
    HWND edit = m_host.Window().GetDlgItem(IDC_RECORDING_FOLDER);
    ::SetFocus(edit);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
}

void RecordingPage::Browse()
{
    CWnd& window = m_host.Window();
    const std::optional<std::string> chosen =
        recording::BrowseForFolder(&window, window.GetDlgItemText(IDC_RECORDING_FOLDER));
    // A cancelled browser changes nothing: neither the edit nor the stored folder.
    if (!chosen || chosen->empty())
        return;
    settings::CaptureSettings& s = m_host.Settings();
    m_filling = true;
    window.SetDlgItemText(IDC_RECORDING_FOLDER, chosen->c_str());
    m_filling = false;
    s.recordingFolder = *chosen;
    m_host.SaveSettings();
    m_freeSpace = settings::MeasureFreeSpace(s.recordingFolder);
    m_filling = true;
    ShowFreeSpace();
    m_filling = false;
}

}  // namespace pages
