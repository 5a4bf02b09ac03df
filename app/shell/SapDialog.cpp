#include "SapDialog.h"

#include "ControlIds.h"

namespace shell {
namespace {

constexpr COLORREF kTransparentColour = 255;

}  // namespace

SapDialog::SapDialog(tuner::TvAudioChoice& choice, std::function<void(const tuner::TvAudioChoice&)> apply,
                     CWnd* parent)
    : EQorDialog(IDD_SAP_CONFIG, parent), m_choice(choice), m_apply(std::move(apply))
{
    for (UINT id : {IDC_SAP_ENABLE, IDC_SAP_LANGUAGE_A, IDC_SAP_LANGUAGE_B, IDC_SAP_STEREO})
        MapCommand(id, [this] { TakeChoice(); });
}

BOOL SapDialog::OnInitDialog()
{
    EQorDialog::OnInitDialog();
    m_skinnedControls.Bind(*this, "SAPDialog");
    InitializeQorDialog("SAPDialog", kTransparentColour, false);
    SetMouseMovesDialog(true);
    ShowChoice();
    return TRUE;
}

void SapDialog::ShowChoice()
{
    CheckDlgButton(IDC_SAP_ENABLE, m_choice.sap ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SAP_LANGUAGE_A, m_choice.secondLanguage ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(IDC_SAP_LANGUAGE_B, m_choice.secondLanguage ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SAP_STEREO, m_choice.stereo ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(GetDlgItem(IDC_SAP_LANGUAGE_A), m_choice.sap);
    ::EnableWindow(GetDlgItem(IDC_SAP_LANGUAGE_B), m_choice.sap);
}

void SapDialog::TakeChoice()
{
    tuner::TvAudioChoice choice;
    choice.sap = IsDlgButtonChecked(IDC_SAP_ENABLE) == BST_CHECKED;
    choice.secondLanguage = IsDlgButtonChecked(IDC_SAP_LANGUAGE_B) == BST_CHECKED;
    choice.stereo = IsDlgButtonChecked(IDC_SAP_STEREO) == BST_CHECKED;
    m_choice = choice;
    ::EnableWindow(GetDlgItem(IDC_SAP_LANGUAGE_A), choice.sap);
    ::EnableWindow(GetDlgItem(IDC_SAP_LANGUAGE_B), choice.sap);
    if (m_apply)
        m_apply(choice);
}

}  // namespace shell
