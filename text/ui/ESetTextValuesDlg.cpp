// The text values dialog: a grid of states (offsets and colour triples), the flags and the font.
#include "ESetTextValuesDlg.h"

#include <commdlg.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "ColourNumbers.h"
#include "ESetRGBByNumbersDlg.h"
#include "QorTextUserInterface.h"
#include "TextDialogIds.h"
#include "TextDialogSupport.h"
#include "TextLibraryState.h"

namespace lorvane {

using editing::SettingSlot;
using editing::SettingType;
using editing::SlotAt;

namespace {

constexpr int kFlagItems[editing::kFlagCount] = {IDC_TEXT_CENTRE_H, IDC_TEXT_CENTRE_V,  IDC_TEXT_THREE_D,
                                                 IDC_TEXT_INDENTED, IDC_TEXT_USE_HILITE, IDC_TEXT_USE_SHADOW};

int OffsetItem(int row, int column)
{
    if (row == editing::kRowUp)
        return column == 0 ? IDC_TEXT_X_OFFSET : IDC_TEXT_Y_OFFSET;
    return IDC_TEXT_OFFSET_BASE + 2 * row + column;
}

int ColourItem(int row, int column)
{
    return row == editing::kRowUp ? IDC_TEXT_COLOUR1 + column : IDC_TEXT_COLOUR_BASE + 3 * row + column;
}

int SwatchItem(int row, int column) { return IDC_TEXT_SWATCH_BASE + 3 * row + column; }
int PickItem(int row, int column) { return IDC_TEXT_PICK_BASE + 3 * row + column; }
int FontItem(int field) { return IDC_TEXT_FONT_FIELD_BASE + field; }

bool Refused(const std::string& message, const std::string& caption)
{
    ShowRefusal(message, caption);
    return false;
}

void Hide(HWND dialog, int item)
{
    ::ShowWindow(::GetDlgItem(dialog, item), SW_HIDE);
}

// Hides every child lying inside the group box `group`, the box included.
void HideGroup(HWND dialog, int group)
{
    RECT box{};
    ::GetWindowRect(::GetDlgItem(dialog, group), &box);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        ::GetWindowRect(child, &rect);
        if (rect.left >= box.left && rect.right <= box.right && rect.top >= box.top && rect.bottom <= box.bottom)
            ::ShowWindow(child, SW_HIDE);
    }
}

// Moves OK and Cancel up under the lowest item still shown and shrinks the dialog by as much.
void CloseUpBelowShownItems(HWND dialog)
{
    RECT ok{};
    ::GetWindowRect(::GetDlgItem(dialog, IDOK), &ok);
    LONG lowest = LONG_MIN;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(child);
        RECT rect{};
        // The dialog itself is not shown yet: each item's own style tells whether it is.
        if (id == IDOK || id == IDCANCEL || !(::GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE) ||
            !::GetWindowRect(child, &rect))
            continue;
        lowest = std::max(lowest, rect.bottom);
    }
    const int gap = (ok.bottom - ok.top) / 2;
    const int shift = lowest == LONG_MIN ? 0 : ok.top - (lowest + gap);
    if (shift <= 0)
        return;
    MoveButtonsUp(dialog, shift);
}

}  // namespace

ESetTextValuesDlg::ESetTextValuesDlg(editing::TextSettingsKind kind, const editing::SettingValues& values,
                                     const LOGFONTA& font)
    : CDialog(IDD_SET_TEXT_VALUES), m_kind(kind), m_values(values), m_font(font)
{
    SetResourceModule(TextDialogModule());
    for (int row = 0; row < editing::kRowCount; ++row)
        for (int column = 0; column < 3; ++column) {
            MapCommand(ColourItem(row, column), EN_CHANGE, [this, row, column] { ColourTyped(row, column); });
            MapCommand(PickItem(row, column), BN_CLICKED, [this, row, column] { PickColour(row, column); });
        }
    MapCommand(IDC_TEXT_FONT_FACE, EN_CHANGE, [this] { FontTyped(); });
    for (int field = 0; field < static_cast<int>(editing::FontFields().size()); ++field)
        MapCommand(FontItem(field), editing::FontFields()[field].flag ? BN_CLICKED : EN_CHANGE, [this] { FontTyped(); });
    MapCommand(IDC_TEXT_FONT_CHOOSE, BN_CLICKED, [this] { ChooseFont(); });
}

BOOL ESetTextValuesDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    m_filling = true;
    ::SetWindowTextA(m_hWnd, editing::TitleOf(m_kind));
    for (int row = 0; row < editing::kRowCount; ++row)
        for (int column = 0; column < 3; ++column)
            if (::GetDlgItem(m_hWnd, SwatchItem(row, column))) {
                m_swatches[row][column] = std::make_unique<CColorStatic>();
                m_swatches[row][column]->SubclassDlgItem(SwatchItem(row, column), this);
            }
    m_sample.SubclassDlgItem(IDC_TEXT_FONT_SAMPLE, this);
    for (const SettingSlot& slot : editing::SlotsOf(m_kind)) {
        const long value = m_values[slot.attribute];
        switch (slot.type) {
        case SettingType::kFlag:
            ::CheckDlgButton(m_hWnd, kFlagItems[slot.column], value ? BST_CHECKED : BST_UNCHECKED);
            break;
        case SettingType::kOffset:
            ::SetDlgItemTextA(m_hWnd, OffsetItem(slot.row, slot.column), std::to_string(value).c_str());
            break;
        case SettingType::kColour:
            ::SetDlgItemTextA(m_hWnd, ColourItem(slot.row, slot.column), std::to_string(value).c_str());
            m_swatches[slot.row][slot.column]->SetColour(static_cast<COLORREF>(value));
            break;
        }
    }
    ::SendDlgItemMessageA(m_hWnd, IDC_TEXT_FONT_FACE, EM_LIMITTEXT, LF_FACESIZE - 1, 0);
    ShowFont(m_font);
    ShowOnlyWhatTheKindKeeps();
    m_filling = false;
    return result;
}

void ESetTextValuesDlg::ShowOnlyWhatTheKindKeeps()
{
    for (int flag = 0; flag < editing::kFlagCount; ++flag)
        if (!SlotAt(m_kind, SettingType::kFlag, 0, flag))
            Hide(m_hWnd, kFlagItems[flag]);
    bool offsets = false, columns[3] = {};
    for (int row = 0; row < editing::kRowCount; ++row) {
        bool rowUsed = false;
        for (int column = 0; column < 3; ++column) {
            const bool offset = column < 2 && SlotAt(m_kind, SettingType::kOffset, row, column);
            const bool colour = SlotAt(m_kind, SettingType::kColour, row, column) != nullptr;
            if (column < 2 && !offset && row < editing::kRowBackground)
                Hide(m_hWnd, OffsetItem(row, column));
            if (!colour)
                for (int item : {ColourItem(row, column), SwatchItem(row, column), PickItem(row, column)})
                    Hide(m_hWnd, item);
            rowUsed = rowUsed || offset || colour;
            offsets = offsets || offset;
            columns[column] = columns[column] || colour;
        }
        if (!rowUsed)
            Hide(m_hWnd, IDC_TEXT_ROW_LABEL_BASE + row);
    }
    if (!offsets)
        Hide(m_hWnd, IDC_TEXT_OFFSET_HEADER);
    if (!columns[1])
        Hide(m_hWnd, IDC_TEXT_SHADOW_HEADER);
    if (!columns[2])
        Hide(m_hWnd, IDC_TEXT_HILITE_HEADER);
    // A control with one state draws it in its normal look.
    if (m_kind != editing::TextSettingsKind::kButton && m_kind != editing::TextSettingsKind::kButtonTemplate)
        ::SetDlgItemTextA(m_hWnd, IDC_TEXT_ROW_LABEL_BASE + editing::kRowUp, "Normal:");
    if (!editing::HasFont(m_kind))
        HideGroup(m_hWnd, IDC_TEXT_FONT_GROUP);
    CloseUpBelowShownItems(m_hWnd);
}

void ESetTextValuesDlg::ShowFont(const LOGFONTA& font)
{
    const bool filling = m_filling;
    m_filling = true;
    const std::string face(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE - 1));
    ::SetDlgItemTextA(m_hWnd, IDC_TEXT_FONT_FACE, face.c_str());
    for (int field = 0; field < static_cast<int>(editing::FontFields().size()); ++field) {
        const long value = editing::FontFieldValue(font, field);
        if (editing::FontFields()[field].flag)
            ::CheckDlgButton(m_hWnd, FontItem(field), value ? BST_CHECKED : BST_UNCHECKED);
        else
            ::SetDlgItemTextA(m_hWnd, FontItem(field), std::to_string(value).c_str());
    }
    m_sample.SetSampleFont(font);
    m_filling = filling;
}

bool ESetTextValuesDlg::ReadFont(LOGFONTA* font, std::string* message, std::string* caption) const
{
    LOGFONTA read = m_font;
    const std::string face = GetDlgItemText(IDC_TEXT_FONT_FACE);
    if (face.size() >= LF_FACESIZE) {
        *message = "A font face name has at most " + std::to_string(LF_FACESIZE - 1) + " characters";
        *caption = "Font face";
        return false;
    }
    std::memset(read.lfFaceName, 0, sizeof(read.lfFaceName));
    std::memcpy(read.lfFaceName, face.data(), face.size());
    for (int field = 0; field < static_cast<int>(editing::FontFields().size()); ++field) {
        const editing::FontField& f = editing::FontFields()[field];
        if (f.flag) {
            const bool checked = ::IsDlgButtonChecked(m_hWnd, FontItem(field)) == BST_CHECKED;
            editing::SetFontField(&read, field, editing::FlagByte(checked, static_cast<BYTE>(editing::FontFieldValue(m_font, field))));
            continue;
        }
        std::int64_t value = 0;
        if (!editing::ParseDecimal(GetDlgItemText(FontItem(field)), &value)) {
            *message = "Please enter a number (no non-numeric chars)";
            *caption = "Please enter a number";
            return false;
        }
        if (value < f.lowest || value > f.highest) {
            *message = std::string(f.attribute) + " must be between " + std::to_string(f.lowest) + " and " +
                       std::to_string(f.highest);
            *caption = "Font value out of range";
            return false;
        }
        editing::SetFontField(&read, field, static_cast<long>(value));
    }
    *font = read;
    return true;
}

void ESetTextValuesDlg::ColourTyped(int row, int column)
{
    const editing::ColourEntry entry = editing::ColourFromCombined(GetDlgItemText(ColourItem(row, column)));
    if (entry.accepted && m_swatches[row][column])
        m_swatches[row][column]->SetColour(entry.colour);
}

void ESetTextValuesDlg::PickColour(int row, int column)
{
    const editing::ColourEntry typed = editing::ColourFromCombined(GetDlgItemText(ColourItem(row, column)));
    const COLORREF start = typed.accepted ? typed.colour : m_swatches[row][column] ? m_swatches[row][column]->Colour() : 0;
    ESetRGBByNumbersDlg picker(start);
    if (picker.DoModal() == IDOK)
        ::SetDlgItemTextA(m_hWnd, ColourItem(row, column), std::to_string(picker.Colour()).c_str());
}

void ESetTextValuesDlg::FontTyped()
{
    if (m_filling)
        return;
    LOGFONTA font{};
    std::string message, caption;
    // A half-typed field leaves the sample as it was.
    if (ReadFont(&font, &message, &caption))
        m_sample.SetSampleFont(font);
}

void ESetTextValuesDlg::ChooseFont()
{
    LOGFONTA font = m_font;
    std::string message, caption;
    ReadFont(&font, &message, &caption);  // what is not valid yet starts from the shown font
    CHOOSEFONTA choice{};
    choice.lStructSize = sizeof(choice);
    choice.hwndOwner = m_hWnd;
    choice.lpLogFont = &font;
    choice.Flags = CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_EFFECTS;
    if (::ChooseFontA(&choice)) {
        ShowFont(font);
        return;
    }
    if (::CommDlgExtendedError() != 0)
        ShowRefusal("The system's font chooser could not be opened; type the font's values instead.", "Font");
}

void ESetTextValuesDlg::OnOK()
{
    editing::SettingValues values = m_values;
    for (const SettingSlot& slot : editing::SlotsOf(m_kind)) {
        switch (slot.type) {
        case SettingType::kFlag:
            values[slot.attribute] = ::IsDlgButtonChecked(m_hWnd, kFlagItems[slot.column]) == BST_CHECKED ? 1 : 0;
            break;
        case SettingType::kOffset: {
            const editing::OffsetEntry entry = editing::OffsetFromText(GetDlgItemText(OffsetItem(slot.row, slot.column)));
            if (!entry.accepted) {
                Refused(entry.message, entry.caption);
                return;
            }
            values[slot.attribute] = entry.value;
            break;
        }
        case SettingType::kColour: {
            const editing::ColourEntry entry = editing::ColourFromCombined(GetDlgItemText(ColourItem(slot.row, slot.column)));
            if (!entry.accepted) {
                Refused(entry.message, entry.caption);
                return;
            }
            values[slot.attribute] = static_cast<long>(entry.colour);
            break;
        }
        }
    }
    LOGFONTA font = m_font;
    std::string message, caption;
    if (editing::HasFont(m_kind) && !ReadFont(&font, &message, &caption)) {
        Refused(message, caption);
        return;
    }
    m_values = std::move(values);
    m_font = font;
    EndDialog(IDOK);
}

}  // namespace lorvane
