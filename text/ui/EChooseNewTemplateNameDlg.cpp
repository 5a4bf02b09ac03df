// A new template's name, checked by the template name rules.
#include "EChooseNewTemplateNameDlg.h"

#include "QorTextUserInterface.h"
#include "TemplateNames.h"
#include "TextDialogIds.h"
#include "TextDialogSupport.h"
#include "TextLibraryState.h"

namespace lorvane {

EChooseNewTemplateNameDlg::EChooseNewTemplateNameDlg(std::vector<std::string> existing, editing::NameTexts texts)
    : CDialog(IDD_CHOOSE_NEW_TEMPLATE_NAME), m_existing(std::move(existing)), m_texts(texts)
{
    SetResourceModule(TextDialogModule());
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
        ShowRefusal(check.message, check.caption);
        return;
    }
    EndDialog(IDOK);
}

}  // namespace lorvane
