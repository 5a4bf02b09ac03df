// The edit's text values; colours follow the colour number rules.
#include "ESetEditTextValuesDlg.h"

#include <cstdint>
#include <string>

#include "ColourNumbers.h"
#include "QorTextUserInterface.h"
#include "TextDialogIds.h"
#include "TextDialogSupport.h"
#include "TextLibraryState.h"

namespace lorvane {

namespace {

struct Colour {
    int id;
    COLORREF QorEditTextSettings::*field;
};
constexpr Colour kColours[] = {{IDC_EDITTEXT_COLOUR, &QorEditTextSettings::textColor},
                               {IDC_EDITTEXT_DISABLED_COLOUR, &QorEditTextSettings::disabledTextColor},
                               {IDC_EDITTEXT_BACKGROUND, &QorEditTextSettings::backgroundColor}};

}  // namespace

ESetEditTextValuesDlg::ESetEditTextValuesDlg(const QorEditTextSettings& values)
    : CDialog(IDD_SET_EDIT_TEXT_VALUES), m_values(values)
{
    SetResourceModule(TextDialogModule());
}

BOOL ESetEditTextValuesDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_EDITTEXT_ALIGNMENT, std::to_string(m_values.alignment).c_str());
    ::CheckDlgButton(m_hWnd, IDC_EDITTEXT_CENTRE_H, m_values.centerHorizontally ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_EDITTEXT_CENTRE_V, m_values.centerVertically ? BST_CHECKED : BST_UNCHECKED);
    for (const Colour& colour : kColours)
        ::SetDlgItemTextA(m_hWnd, colour.id, std::to_string(m_values.*colour.field & 0xFFFFFF).c_str());
    return result;
}

void ESetEditTextValuesDlg::OnOK()
{
    QorEditTextSettings v;
    std::int64_t alignment = 0;
    if (!editing::ParseDecimal(GetDlgItemText(IDC_EDITTEXT_ALIGNMENT), &alignment)) {
        ShowRefusal("Please enter a number (no non-numeric chars)", "Please enter a number");
        return;
    }
    if (alignment < 0 || alignment > 2) {
        ShowRefusal("The alignment must be 0 (left), 1 (centre) or 2 (right)", "Alignment out of range");
        return;
    }
    v.alignment = static_cast<int>(alignment);
    v.centerHorizontally = ::IsDlgButtonChecked(m_hWnd, IDC_EDITTEXT_CENTRE_H) == BST_CHECKED;
    v.centerVertically = ::IsDlgButtonChecked(m_hWnd, IDC_EDITTEXT_CENTRE_V) == BST_CHECKED;
    for (const Colour& colour : kColours) {
        const editing::ColourEntry entry = editing::ColourFromCombined(GetDlgItemText(colour.id));
        if (!entry.accepted) {
            ShowRefusal(entry.message, entry.caption);
            return;
        }
        v.*colour.field = entry.colour;
    }
    m_values = v;
    EndDialog(IDOK);
}

}  // namespace lorvane
