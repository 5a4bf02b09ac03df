// The per-identity text dialogs; their templates live in this library's resources.
#include "ESetIdentityTextsDlg.h"

#include "TextDialogIds.h"
#include "TextDialogSupport.h"

namespace lorvane {

namespace {

constexpr int kTextIds[4] = {IDC_IDENTITY_TEXT0, IDC_IDENTITY_TEXT1, IDC_IDENTITY_TEXT2, IDC_IDENTITY_TEXT3};

}  // namespace

ESetIdentityTextsDlg::ESetIdentityTextsDlg(UINT templateId, const std::string texts[4], int count)
    : CDialog(templateId), m_count(count < 1 ? 1 : (count > 4 ? 4 : count))
{
    SetResourceModule(TextDialogModule());
    for (int i = 0; i < 4; ++i)
        m_texts[i] = texts[i];
}

BOOL ESetIdentityTextsDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    for (int i = m_count; i < 4; ++i)
        ::EnableWindow(::GetDlgItem(m_hWnd, kTextIds[i]), FALSE);
    return result;
}

void ESetIdentityTextsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int i = 0; i < m_count; ++i)
        DDX_Text(pDX, kTextIds[i], m_texts[i]);
}

ESetTooltipsDlg::ESetTooltipsDlg(const std::string texts[4], int count)
    : ESetIdentityTextsDlg(IDD_SET_CONTROL_TOOLTIPS, texts, count)
{
}

ESetCaptionsDlg::ESetCaptionsDlg(const std::string texts[4], int count)
    : ESetIdentityTextsDlg(IDD_SET_CONTROL_CAPTIONS, texts, count)
{
}

}  // namespace lorvane
