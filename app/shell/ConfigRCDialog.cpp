#include "ConfigRCDialog.h"

#include "ControlIds.h"
#include "EQorButton.h"

namespace shell {

ConfigRCDialog::ConfigRCDialog(remote::RemoteLearning& learning, CWnd* parent)
    : EQorDialog(IDD_CONFIG_RC, parent), m_learning(learning)
{
    MapCommand(IDC_RC_LEARN, [this] {
        if (!m_learning.Waiting())
            Begin();
    });
}

BOOL ConfigRCDialog::OnInitDialog()
{
    EQorDialog::OnInitDialog();
    m_skinnedControls.Bind(*this, "ConfigRCDialog");
    InitializeQorDialog("ConfigRCDialog", SKIN_TRANSPARENT_COLOR, false);
    SetMouseMovesDialog(true);
    Begin();
    return TRUE;
}

void ConfigRCDialog::Begin()
{
    KillTimer(kWaitTimer);
    m_learning.Open();
    SetTimer(kStartTimer, kTickMs);
}

void ConfigRCDialog::OnTimer(UINT_PTR id)
{
    if (id == kStartTimer) {
        KillTimer(kStartTimer);
        SetLearnLook(1);
        ShowStatus("Please press '0' on your Remote Control");
        m_learning.StartWaiting();
        SetTimer(kWaitTimer, kTickMs);
        return;
    }
    if (id != kWaitTimer) {
        EQorDialog::OnTimer(id);
        return;
    }
    const remote::RemoteLearning::Tick tick = m_learning.OnTick();
    if (tick == remote::RemoteLearning::Tick::Waiting)
        return;
    KillTimer(kWaitTimer);
    ShowStatus(tick == remote::RemoteLearning::Tick::Succeeded ? "Successfully configured Remote Control"
                                                                : "Failed configuring Remote Control");
    SetLearnLook(0);
}

void ConfigRCDialog::ShowStatus(const char* text)
{
    SetDlgItemText(IDC_RC_STATUS, text);
    OutputDebugStringA((std::string("Marovin:  remote set-up: ") + text + "\r\n").c_str());
}

void ConfigRCDialog::SetLearnLook(int identity)
{
    if (auto* button = dynamic_cast<EQorButton*>(CWnd::FromHandlePermanent(GetDlgItem(IDC_RC_LEARN))))
        button->SetIdentity(identity);
}

void ConfigRCDialog::Finish(bool keep, int result)
{
    KillTimer(kStartTimer);
    KillTimer(kWaitTimer);
    m_learning.Close(keep);
    OutputDebugStringA(keep ? "Marovin:  remote set-up closed with OK\r\n" : "Marovin:  remote set-up cancelled\r\n");
    EndDialog(result);
}

void ConfigRCDialog::OnOK()
{
    Finish(true, IDOK);
}

void ConfigRCDialog::OnCancel()
{
    Finish(false, IDCANCEL);
}

void ConfigRCDialog::OnClose()
{
    Finish(false, IDCANCEL);
}

}  // namespace shell
