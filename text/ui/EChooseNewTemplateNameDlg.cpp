// A new template's name, checked by the template name rules.
#include "EChooseNewTemplateNameDlg.h"

#include "QorTextUserInterface.h"
#include "TemplateNames.h"
#include "TextDialogIds.h"
#include "TextLibraryState.h"

namespace lorvane {
namespace {

HINSTANCE ThisModule()
{
    return AfxModuleOfAddress(reinterpret_cast<const void*>(&ThisModule));
}

}  // namespace

EChooseNewTemplateNameDlg::EChooseNewTemplateNameDlg(std::vector<std::string> existing, editing::NameTexts texts)
    : CDialog(IDD_CHOOSE_NEW_TEMPLATE_NAME), m_existing(std::move(existing)), m_texts(texts)
{
    SetResourceModule(ThisModule());
}

void EChooseNewTemplateNameDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TEMPLATE_NAME, m_name);
}

void EChooseNewTemplateNameDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    const editing::NameCheck check = editing::CheckNewTemplateName(m_name, m_existing, m_texts);
    if (!check.accepted) {
        UserInterface().ShowMessage(check.message, check.caption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}

}  // namespace lorvane
