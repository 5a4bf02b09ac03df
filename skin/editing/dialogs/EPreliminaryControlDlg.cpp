// The preliminary control info dialog: the position is checked as every editing dialog checks
// numbers; the name is free text.
#include "EPreliminaryControlDlg.h"

#include "DlgSkinDataIds.h"
#include "QorUtils_API.h"

namespace skelda::editing {

const AttributeForm& PreliminaryControlForm()
{
    static const AttributeForm form{IDD_ADD_PRELIMINARY_CONTROL,
                                    {{IDC_PRELIM_X, "ControlXOffset", FieldKind::kNumber},
                                     {IDC_PRELIM_Y, "ControlYOffset", FieldKind::kNumber}}};
    return form;
}

EPreliminaryControlDlg::EPreliminaryControlDlg(Info info, AttributeValues values, CWnd* parent)
    : EAttributeDlg(PreliminaryControlForm(), values, parent), m_info(std::move(info)), m_name(values["ControlName"])
{
    MapCommand(IDC_PRELIM_FIND_NAME, BN_CLICKED, [this] {
        std::string name = GetDlgItemText(IDC_PRELIM_NAME);
        if (QorUtils_API::GetNameResourceID(&name, m_info.controlId))
            ::SetDlgItemTextA(m_hWnd, IDC_PRELIM_NAME, name.c_str());
    });
}

BOOL EPreliminaryControlDlg::OnInitDialog()
{
    const BOOL result = EAttributeDlg::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_PRELIM_ID, std::to_string(m_info.controlId).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_PRELIM_KIND, m_info.kind.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_PRELIM_NAME, m_name.c_str());
    ::CheckDlgButton(m_hWnd, IDC_PRELIM_TEXT_ENTRY, m_info.textEntryPossible ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PRELIM_TEXT_ENTRY), m_info.textEntryPossible);
    return result;
}

void EPreliminaryControlDlg::OnOK()
{
    const std::string typed = GetDlgItemText(IDC_PRELIM_NAME);
    const size_t first = typed.find_first_not_of(" \t");
    m_name = first == std::string::npos ? std::string() : typed.substr(first, typed.find_last_not_of(" \t") - first + 1);
    m_addTextEntry = m_info.textEntryPossible && ::IsDlgButtonChecked(m_hWnd, IDC_PRELIM_TEXT_ENTRY) == BST_CHECKED;
    EAttributeDlg::OnOK();
}

}  // namespace skelda::editing
