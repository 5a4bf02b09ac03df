// The text values dialog; numbers and colours are checked by the colour number rules.
#include "ESetTextValuesDlg.h"

#include <cstdint>

#include "ColourNumbers.h"
#include "QorTextUserInterface.h"
#include "TextDialogIds.h"
#include "TextDialogSupport.h"
#include "TextLibraryState.h"

namespace lorvane {

namespace {

constexpr int kColourIds[3] = {IDC_TEXT_COLOUR1, IDC_TEXT_COLOUR2, IDC_TEXT_COLOUR3};

struct Flag {
    int id;
    bool TextValues::*field;
};
constexpr Flag kFlags[] = {{IDC_TEXT_CENTRE_H, &TextValues::centerHorizontally},
                           {IDC_TEXT_CENTRE_V, &TextValues::centerVertically},
                           {IDC_TEXT_THREE_D, &TextValues::threeD},
                           {IDC_TEXT_INDENTED, &TextValues::indented},
                           {IDC_TEXT_USE_HILITE, &TextValues::useHilite},
                           {IDC_TEXT_USE_SHADOW, &TextValues::useShadow}};

std::string Field(HWND dialog, int id)
{
    char text[64] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

bool Refused(const char* message, const char* caption)
{
    ShowRefusal(message, caption);
    return false;
}

// An offset: a number within what a window can measure.
bool ReadOffset(HWND dialog, int id, int* value)
{
    std::int64_t number = 0;
    if (!editing::ParseDecimal(Field(dialog, id), &number) || number < -32768 || number > 32767)
        return Refused("Please enter a number (no non-numeric chars)", "Please enter a number");
    *value = static_cast<int>(number);
    return true;
}

template <class Settings>
TextValues CommonValues(const Settings& s)
{
    TextValues v;
    v.centerHorizontally = s.centerHorizontally, v.centerVertically = s.centerVertically;
    v.threeD = s.threeD, v.indented = s.indented, v.useHilite = s.useHilite, v.useShadow = s.useShadow;
    for (int i = 0; i < 3; ++i)
        v.colours[i] = s.textColor[i];
    return v;
}

template <class Settings>
void ApplyCommon(const TextValues& v, Settings* s)
{
    s->centerHorizontally = v.centerHorizontally, s->centerVertically = v.centerVertically;
    s->threeD = v.threeD, s->indented = v.indented, s->useHilite = v.useHilite, s->useShadow = v.useShadow;
    for (int i = 0; i < 3; ++i)
        s->textColor[i] = v.colours[i];
}

}  // namespace

TextValues TextValuesOf(const QorButtonTextSettings& s)
{
    TextValues v = CommonValues(s);
    v.xOffset = s.xOffsetUp, v.yOffset = s.yOffsetUp;
    return v;
}

TextValues TextValuesOf(const QorStaticTextSettings& s)
{
    TextValues v = CommonValues(s);
    v.xOffset = s.xOffset, v.yOffset = s.yOffset;
    return v;
}

void ApplyTextValues(const TextValues& v, QorButtonTextSettings* s)
{
    ApplyCommon(v, s);
    s->xOffsetUp = v.xOffset, s->yOffsetUp = v.yOffset;
}

void ApplyTextValues(const TextValues& v, QorStaticTextSettings* s)
{
    ApplyCommon(v, s);
    s->xOffset = v.xOffset, s->yOffset = v.yOffset;
}

ESetTextValuesDlg::ESetTextValuesDlg(const std::string& title, const TextValues& values)
    : CDialog(IDD_SET_TEXT_VALUES), m_title(title), m_values(values)
{
    SetResourceModule(TextDialogModule());
}

BOOL ESetTextValuesDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    ::SetWindowTextA(m_hWnd, m_title.c_str());
    for (const Flag& flag : kFlags)
        ::CheckDlgButton(m_hWnd, flag.id, m_values.*flag.field ? BST_CHECKED : BST_UNCHECKED);
    ::SetDlgItemTextA(m_hWnd, IDC_TEXT_X_OFFSET, std::to_string(m_values.xOffset).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_TEXT_Y_OFFSET, std::to_string(m_values.yOffset).c_str());
    for (int i = 0; i < 3; ++i)
        ::SetDlgItemTextA(m_hWnd, kColourIds[i], std::to_string(m_values.colours[i] & 0xFFFFFF).c_str());
    return result;
}

void ESetTextValuesDlg::OnOK()
{
    TextValues values;
    for (const Flag& flag : kFlags)
        values.*flag.field = ::IsDlgButtonChecked(m_hWnd, flag.id) == BST_CHECKED;
    if (!ReadOffset(m_hWnd, IDC_TEXT_X_OFFSET, &values.xOffset) || !ReadOffset(m_hWnd, IDC_TEXT_Y_OFFSET, &values.yOffset))
        return;
    for (int i = 0; i < 3; ++i) {
        const editing::ColourEntry colour = editing::ColourFromCombined(Field(m_hWnd, kColourIds[i]));
        if (!colour.accepted) {
            Refused(colour.message.c_str(), colour.caption.c_str());
            return;
        }
        values.colours[i] = colour.colour;
    }
    m_values = values;
    EndDialog(IDOK);
}

}  // namespace lorvane
