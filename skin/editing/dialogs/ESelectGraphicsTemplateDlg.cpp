// The button graphics template choice.
#include "ESelectGraphicsTemplateDlg.h"

#include "ControlDialogIds.h"

namespace skelda::editing {
namespace {

HINSTANCE ThisModule()
{
    return AfxModuleOfAddress(reinterpret_cast<const void*>(&ThisModule));
}

}  // namespace

ESelectGraphicsTemplateDlg::ESelectGraphicsTemplateDlg(std::vector<std::string> names, std::string current,
                                                       CWnd* parent)
    : CDialog(IDD_SELECT_GRAPHICS_TEMPLATE, parent), m_names(std::move(names)), m_chosen(std::move(current))
{
    SetResourceModule(ThisModule());
    MapCommand(IDC_TEMPLATE_LIST, LBN_DBLCLK, [this] { OnOK(); });
}

BOOL ESelectGraphicsTemplateDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    const HWND list = ::GetDlgItem(m_hWnd, IDC_TEMPLATE_LIST);
    for (const std::string& name : m_names)
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (m_names.empty()) {
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("No Button Graphics Templates available."));
        ::EnableWindow(list, FALSE);
        ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), FALSE);
    }
    for (size_t i = 0; i < m_names.size(); ++i)
        if (m_names[i] == m_chosen)
            ::SendMessageA(list, LB_SETCURSEL, i, 0);
    return result;
}

void ESelectGraphicsTemplateDlg::OnOK()
{
    const LRESULT index = ::SendDlgItemMessageA(m_hWnd, IDC_TEMPLATE_LIST, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR || index < 0 || static_cast<size_t>(index) >= m_names.size())
        return;  // nothing chosen yet
    m_chosen = m_names[static_cast<size_t>(index)];
    EndDialog(IDOK);
}

}  // namespace skelda::editing
