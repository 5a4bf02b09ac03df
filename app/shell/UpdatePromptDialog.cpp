#include "UpdatePromptDialog.h"

#include <shellapi.h>

#include "ControlIds.h"
#include "UpdateDialog.h"

namespace shell {

UpdatePromptDialog::UpdatePromptDialog(std::string address, bool* allow, update::Box video, update::Box mainWindow,
                                       CWnd* parent)
    : EQorDialog(IDD_UPDATE_ON_START, parent), m_address(std::move(address)), m_allow(allow), m_video(video), m_mainWindow(mainWindow)
{
    MapCommand(IDYES, [this] { Answer(true); });
    MapCommand(IDNO, [this] { Answer(false); });
}

BOOL UpdatePromptDialog::OnInitDialog()
{
    EQorDialog::OnInitDialog();
    m_skinnedControls.Bind(*this, "UpdateOnStart");
    InitializeQorDialog("UpdateOnStart", SKIN_TRANSPARENT_COLOR, false);
    SetMouseMovesDialog(true);
    PlaceUpdateWindow(m_hWnd, m_video, m_mainWindow);
    SetDlgItemText(IDC_UPDATE_PROMPT, "Upadate is available. Do you want to update?");
    CheckDlgButton(IDC_UPDATE_ALLOW, *m_allow ? BST_CHECKED : BST_UNCHECKED);
    OutputDebugStringA(("Marovin:  update prompt for " + m_address + "\r\n").c_str());
    return TRUE;
}

void UpdatePromptDialog::Answer(bool open)
{
    *m_allow = IsDlgButtonChecked(IDC_UPDATE_ALLOW) == BST_CHECKED;
    if (open)
        ShellExecuteA(m_hWnd, "open", m_address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    EndDialog(open ? IDYES : IDNO);
}

}  // namespace shell
