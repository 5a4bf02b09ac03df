#include "UpdateDialog.h"

#include <shellapi.h>

#include "ControlIds.h"
#include "ErrorLog.h"
#include "MessageIds.h"
#include "ProgramMessage.h"
#include "QorGraphicsEngineAPI.h"

namespace shell {
namespace {

constexpr UINT kDownloadDone = WM_APP + 0x130;
// The update messages carry the maker's name as caption.
constexpr char kUpdateCaption[] = "Reelwright";

void Trace(const std::string& line)
{
    OutputDebugStringA(("Marovin:  " + line + "\r\n").c_str());
}

}  // namespace

UpdateDialog::UpdateDialog(std::string address, std::string file, std::string section, update::Box video,
                           update::Box mainWindow, CWnd* parent)
    : EQorDialog(IDD_UPDATE, parent),
      m_address(std::move(address)),
      m_file(std::move(file)),
      m_section(std::move(section)),
      m_video(video),
      m_mainWindow(mainWindow)
{
}

std::string UpdateDialog::Text(int id)
{
    std::string text;
    QorGraphicsEngineAPI().GetText(id, &text);
    return text;
}

void PlaceUpdateWindow(HWND window, const update::Box& video, const update::Box& mainWindow)
{
    RECT own{};
    ::GetWindowRect(window, &own);
    int x = 0, y = 0;
    update::PlaceBesideVideo(video, mainWindow, own.right - own.left, GetSystemMetrics(SM_CXSCREEN), &x, &y);
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL UpdateDialog::OnInitDialog()
{
    EQorDialog::OnInitDialog();
    m_skinnedControls.Bind(*this, "UpdateDlg");
    InitializeQorDialog("UpdateDlg", SKIN_TRANSPARENT_COLOR, false);
    SetMouseMovesDialog(true);
    PlaceUpdateWindow(m_hWnd, m_video, m_mainWindow);
    SetDlgItemText(IDC_UPDATE_STATUS, Text(msg::kUpdateChecking).c_str());
    Trace("update check: " + m_address + " for [" + m_section + "]");
    if (!m_download.Start(m_address, m_file, m_hWnd, kDownloadDone))
        Finished(false);
    return TRUE;
}

LRESULT UpdateDialog::OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kDownloadDone)
        return EQorDialog::OnPrivateMessage(message, wParam, lParam);
    Finished(wParam == 1);
    return 0;
}

void UpdateDialog::Finished(bool downloaded)
{
    const update::UpdateVerdict verdict = update::JudgeUpdateFile(downloaded, m_file, m_section);
    switch (verdict.outcome) {
    case update::UpdateOutcome::DownloadFailed:
        Trace("update check: download failed: " + m_download.Error());
        SetDlgItemText(IDC_UPDATE_STATUS, Text(msg::kUpdateDownloadFailed).c_str());
        return;
    case update::UpdateOutcome::NoFile:
        Trace("update check: no file");
        EndDialog(IDCANCEL);
        return;
    case update::UpdateOutcome::Offer:
        Trace("update check: offered " + verdict.address);
        ShowWindow(SW_HIDE);
        if (ShowProgramMessage(m_hWnd, Text(msg::kUpdateAvailable), kUpdateCaption, MB_YESNO | MB_ICONQUESTION) == IDYES)
            ShellExecuteA(m_hWnd, "open", verdict.address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        EndDialog(IDOK);
        return;
    case update::UpdateOutcome::Refused:
        // Only web addresses are opened; anything else is treated as no update.
        Trace("update check: refused update value \"" + verdict.address + "\"");
        LogText("update information offers a value that is not a web address: " + verdict.address);
        [[fallthrough]];
    case update::UpdateOutcome::NoUpdate:
        Trace("update check: no update");
        ShowWindow(SW_HIDE);
        ShowProgramMessage(m_hWnd, "There is no update available.", kUpdateCaption, MB_OK | MB_ICONINFORMATION);
        EndDialog(IDOK);
        return;
    }
}

void UpdateDialog::OnCancel()
{
    m_download.Cancel();
    update::JudgeUpdateFile(false, m_file, m_section);
    EndDialog(IDCANCEL);
}

}  // namespace shell
