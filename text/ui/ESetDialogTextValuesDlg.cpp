// The whole dialog's text values; colours follow the colour number rules.
#include "ESetDialogTextValuesDlg.h"

#include <cstdint>
#include <utility>

#include "ColourNumbers.h"
#include "FontLimits.h"
#include "QorTextUserInterface.h"
#include "TextDialogIds.h"
#include "TextDialogSupport.h"
#include "TextLibraryState.h"

namespace lorvane {

namespace {

bool Refused(const std::string& message, const std::string& caption)
{
    ShowRefusal(message, caption);
    return false;
}

constexpr int kBoxItems[] = {IDC_DLGTEXT_MESSAGE_LABEL, IDC_DLGTEXT_MESSAGE_COLOUR, IDC_DLGTEXT_CAPTION_LABEL,
                             IDC_DLGTEXT_CAPTION_COLOUR};

// Other dialogs have no colours of their own: the box's rows go, and the buttons move up.
void DropMessageBoxRows(HWND dialog)
{
    RECT first{}, ok{};
    ::GetWindowRect(::GetDlgItem(dialog, IDC_DLGTEXT_MESSAGE_LABEL), &first);
    ::GetWindowRect(::GetDlgItem(dialog, IDOK), &ok);
    for (int item : kBoxItems)
        ::ShowWindow(::GetDlgItem(dialog, item), SW_HIDE);
    MoveButtonsUp(dialog, ok.top - first.top);
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

ESetDialogTextValuesDlg::ESetDialogTextValuesDlg(const DialogTextValues& values)
    : CDialog(IDD_SET_DIALOG_TEXT_VALUES), m_values(values)
{
    SetResourceModule(TextDialogModule());
}

BOOL ESetDialogTextValuesDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_DLGTEXT_NAME, m_values.name.c_str());
    ::CheckDlgButton(m_hWnd, IDC_DLGTEXT_SET_COLOUR, m_values.setColour ? BST_CHECKED : BST_UNCHECKED);
    ::SetDlgItemTextA(m_hWnd, IDC_DLGTEXT_COLOUR, std::to_string(m_values.colour & 0xFFFFFF).c_str());
    ::CheckDlgButton(m_hWnd, IDC_DLGTEXT_SET_FONT, m_values.setFont ? BST_CHECKED : BST_UNCHECKED);
    ::SetDlgItemTextA(m_hWnd, IDC_DLGTEXT_FACE, m_values.face.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_DLGTEXT_SIZE, std::to_string(m_values.size).c_str());
    ::CheckDlgButton(m_hWnd, IDC_DLGTEXT_BOLD, m_values.bold ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_DLGTEXT_ITALIC, m_values.italic ? BST_CHECKED : BST_UNCHECKED);
    if (m_values.messageBox) {
        ::SetDlgItemTextA(m_hWnd, IDC_DLGTEXT_MESSAGE_COLOUR, std::to_string(m_values.messageColour & 0xFFFFFF).c_str());
        ::SetDlgItemTextA(m_hWnd, IDC_DLGTEXT_CAPTION_COLOUR, std::to_string(m_values.captionColour & 0xFFFFFF).c_str());
    } else {
        DropMessageBoxRows(m_hWnd);
    }
    return result;
}

void ESetDialogTextValuesDlg::OnOK()
{
    DialogTextValues v;
    v.name = Trimmed(GetDlgItemText(IDC_DLGTEXT_NAME));
    v.setColour = ::IsDlgButtonChecked(m_hWnd, IDC_DLGTEXT_SET_COLOUR) == BST_CHECKED;
    v.setFont = ::IsDlgButtonChecked(m_hWnd, IDC_DLGTEXT_SET_FONT) == BST_CHECKED;
    v.bold = ::IsDlgButtonChecked(m_hWnd, IDC_DLGTEXT_BOLD) == BST_CHECKED;
    v.italic = ::IsDlgButtonChecked(m_hWnd, IDC_DLGTEXT_ITALIC) == BST_CHECKED;
    v.face = Trimmed(GetDlgItemText(IDC_DLGTEXT_FACE));
    v.messageBox = m_values.messageBox;
    v.messageColour = m_values.messageColour;
    v.captionColour = m_values.captionColour;
    if (v.messageBox) {
        for (const auto& [item, colour] : {std::pair{IDC_DLGTEXT_MESSAGE_COLOUR, &v.messageColour},
                                           std::pair{IDC_DLGTEXT_CAPTION_COLOUR, &v.captionColour}}) {
            const editing::ColourEntry entry = editing::ColourFromCombined(GetDlgItemText(item));
            if (!entry.accepted) {
                Refused(entry.message, entry.caption);
                return;
            }
            *colour = entry.colour;
        }
    }
    // Only what is to be applied must be valid; the rest is not written.
    if (v.setColour) {
        const editing::ColourEntry colour = editing::ColourFromCombined(GetDlgItemText(IDC_DLGTEXT_COLOUR));
        if (!colour.accepted) {
            Refused(colour.message, colour.caption);
            return;
        }
        v.colour = colour.colour;
    }
    if (v.setFont) {
        std::int64_t size = 0;
        if (!editing::ParseDecimal(GetDlgItemText(IDC_DLGTEXT_SIZE), &size)) {
            Refused("Please enter a number (no non-numeric chars)", "Please enter a number");
            return;
        }
        if (size < 1 || size > kMaxFontPixels) {
            Refused("The font size must be between 1 and " + std::to_string(kMaxFontPixels) + " pixels", "Font size");
            return;
        }
        if (v.face.empty() || v.face.size() >= LF_FACESIZE) {
            Refused("Enter a font face name of at most " + std::to_string(LF_FACESIZE - 1) + " characters", "Font face");
            return;
        }
        v.size = static_cast<int>(size);
    }
    m_values = v;
    EndDialog(IDOK);
}

}  // namespace lorvane
