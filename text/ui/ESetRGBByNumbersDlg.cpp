// Colours by numbers in a dialog; the rules are those of ColourNumbers.
#include "ESetRGBByNumbersDlg.h"

#include <string>

#include "ColourNumbers.h"
#include "QorTextUserInterface.h"
#include "TextDialogIds.h"
#include "TextDialogSupport.h"
#include "TextLibraryState.h"

namespace lorvane {

namespace {

void Refuse(const editing::ColourEntry& entry)
{
    ShowRefusal(entry.message, entry.caption);
}

}  // namespace

ESetRGBByNumbersDlg::ESetRGBByNumbersDlg(std::uint32_t colour) : CDialog(IDD_SET_RGB_BY_NUMBERS), m_colour(colour & 0xFFFFFF)
{
    SetResourceModule(TextDialogModule());
    MapCommand(IDC_RGB_BY_PARTS, BN_CLICKED, [this] { SwitchMode(false); });
    MapCommand(IDC_RGB_BY_COMBINED, BN_CLICKED, [this] { SwitchMode(true); });
}

BOOL ESetRGBByNumbersDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    ::CheckRadioButton(m_hWnd, IDC_RGB_BY_PARTS, IDC_RGB_BY_COMBINED, IDC_RGB_BY_PARTS);
    ShowColour(m_colour);
    SwitchMode(false);
    return result;
}

bool ESetRGBByNumbersDlg::Combined() const
{
    return ::IsDlgButtonChecked(m_hWnd, IDC_RGB_BY_COMBINED) == BST_CHECKED;
}

std::string ESetRGBByNumbersDlg::Field(int id) const
{
    char text[64] = {};
    ::GetDlgItemTextA(m_hWnd, id, text, sizeof(text));
    return text;
}

void ESetRGBByNumbersDlg::ShowColour(std::uint32_t colour)
{
    int red = 0, green = 0, blue = 0;
    editing::SplitColour(colour, &red, &green, &blue);
    ::SetDlgItemInt(m_hWnd, IDC_RGB_RED, static_cast<UINT>(red), FALSE);
    ::SetDlgItemInt(m_hWnd, IDC_RGB_GREEN, static_cast<UINT>(green), FALSE);
    ::SetDlgItemInt(m_hWnd, IDC_RGB_BLUE, static_cast<UINT>(blue), FALSE);
    ::SetDlgItemTextA(m_hWnd, IDC_RGB_COMBINED, std::to_string(colour).c_str());
}

void ESetRGBByNumbersDlg::SwitchMode(bool combined)
{
    // The values typed so far carry over; values that are no colour are refused and the
    // mode stays as it was.
    const editing::ColourEntry entry = combined
        ? editing::ColourFromComponents(Field(IDC_RGB_RED), Field(IDC_RGB_GREEN), Field(IDC_RGB_BLUE))
        : editing::ColourFromCombined(Field(IDC_RGB_COMBINED));
    if (!entry.accepted) {
        Refuse(entry);
        ::CheckRadioButton(m_hWnd, IDC_RGB_BY_PARTS, IDC_RGB_BY_COMBINED, combined ? IDC_RGB_BY_PARTS : IDC_RGB_BY_COMBINED);
        return;
    }
    ShowColour(entry.colour);
    for (int id : {IDC_RGB_RED, IDC_RGB_GREEN, IDC_RGB_BLUE})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), !combined);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_RGB_COMBINED), combined);
}

void ESetRGBByNumbersDlg::OnOK()
{
    const editing::ColourEntry entry = Combined()
        ? editing::ColourFromCombined(Field(IDC_RGB_COMBINED))
        : editing::ColourFromComponents(Field(IDC_RGB_RED), Field(IDC_RGB_GREEN), Field(IDC_RGB_BLUE));
    if (!entry.accepted) {
        Refuse(entry);
        return;
    }
    m_colour = entry.colour;
    EndDialog(IDOK);
}

}  // namespace lorvane
