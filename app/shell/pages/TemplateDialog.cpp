#include "TemplateDialog.h"

#include "ControlIds.h"
#include "MessageIds.h"
#include "ProgramMessage.h"
#include "QorGraphicsEngineAPI.h"
#include "TemplateStore.h"

namespace pages {
namespace {

constexpr COLORREF kTransparentColour = 255;
constexpr char kSkinName[] = "TemplateDialog";

std::string Text(int id)
{
    std::string text;
    QorGraphicsEngineAPI().GetText(id, &text);
    return text;
}

}  // namespace

TemplateDialog::TemplateDialog(std::vector<std::string> existing, std::string* name, CWnd* parent)
    : EQorDialog(IDD_CUSTOM_TEMPLATE, parent), m_existing(std::move(existing)), m_name(name)
{
}

BOOL TemplateDialog::OnInitDialog()
{
    EQorDialog::OnInitDialog();
    m_skinnedControls.Bind(*this, kSkinName);
    InitializeQorDialog(kSkinName, kTransparentColour, false);
    SetMouseMovesDialog(true);
    SendDlgItemMessage(IDC_TEMPLATE_NAME, EM_LIMITTEXT, settings::kMaxTemplateNameChars);
    ::SetFocus(GetDlgItem(IDC_TEMPLATE_NAME));
    return FALSE;
}

void TemplateDialog::OnOK()
{
    const std::string name = GetDlgItemText(IDC_TEMPLATE_NAME);
    const int refusal = settings::RefusalText(settings::CheckTemplateName(name, m_existing));
    if (refusal != 0) {
        shell::ShowProgramMessage(m_hWnd, Text(refusal), Text(msg::kAppTitle), MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(GetDlgItem(IDC_TEMPLATE_NAME));
        SendDlgItemMessage(IDC_TEMPLATE_NAME, EM_SETSEL, 0, -1);
        return;
    }
    if (m_name)
        *m_name = name;
    EndDialog(IDOK);
}

void TemplateDialog::OnCancel()
{
    if (m_name)
        m_name->clear();
    EndDialog(IDCANCEL);
}

}  // namespace pages
