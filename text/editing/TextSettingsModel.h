#pragma once
// What "Text Settings" shows for one control or template element, and what it writes back.
// Every text attribute the element kind keeps has a place in the dialog: a flag, an offset of
// one state, or a colour of one state's triple. Values are compared with what was shown, so a
// dialog closed with OK and no edit writes nothing and the document stays exactly as it was.
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lorvane::editing {

enum class TextSettingsKind {
    kButton,               // QorBtnControl
    kStatic,               // QorTransparentStaticControl
    kGenericSimple,        // QorGenericControlSimple, QorSliderControl
    kGenericWithTextInfo,  // QorGenericControlWithTextInfo
    kButtonTemplate,
    kStaticTemplate,
};

enum class SettingType { kFlag, kOffset, kColour };

// Rows of the state grid: offsets and colour triples of one state each.
enum SettingRow { kRowUp = 0, kRowDown = 1, kRowFocus = 2, kRowDisabled = 3, kRowBackground = 4, kRowCount = 5 };
// Flags by their place in the dialog.
enum SettingFlag { kFlagCentreH, kFlagCentreV, kFlagThreeD, kFlagIndented, kFlagUseHilite, kFlagUseShadow, kFlagCount };

struct SettingSlot {
    const char* attribute;
    SettingType type;
    int row;     // offsets and colours: the SettingRow
    int column;  // offsets: 0 x, 1 y; colours: 0 text, 1 shadow, 2 hilite; flags: the SettingFlag
    long missing;  // shown when the element lacks the attribute: what the control draws with
};

// Attribute name to number: what an element holds (only attributes present and numeric), or
// what the dialog shows and returns (every slot of the kind).
using SettingValues = std::map<std::string, long>;
using SettingChanges = std::vector<std::pair<std::string, long>>;

const std::vector<SettingSlot>& SlotsOf(TextSettingsKind kind);
// The slot at a place in the dialog, or null when the kind has nothing there.
const SettingSlot* SlotAt(TextSettingsKind kind, SettingType type, int row, int column);
// Whether the kind keeps a font ("QorFontInfo").
bool HasFont(TextSettingsKind kind);
// The dialog's title by what is edited.
const char* TitleOf(TextSettingsKind kind);

// What the dialog shows: the stored value, flags as 0 or 1 and colours as their RGB bytes, and
// the drawing default for what is missing.
SettingValues ShownValues(TextSettingsKind kind, const SettingValues& stored);

// What OK writes: nothing when `edited` equals `shown`; otherwise every value the designer
// changed, and every value the element lacks, since a control reads its values in one run that
// stops at the first missing one (and would ignore the change).
SettingChanges ChangedSettings(TextSettingsKind kind, const SettingValues& stored, const SettingValues& shown,
                               const SettingValues& edited);

// A typed offset; refused with a message and caption when it is no number or beyond what a
// control's text can be moved by.
struct OffsetEntry {
    bool accepted = false;
    long value = 0;
    std::string message, caption;
};
constexpr long kMaxOffset = 32767;
OffsetEntry OffsetFromText(const std::string& text);

// The fields of a font structure after the face, in the order the file keeps them.
struct FontField {
    const char* attribute;
    long lowest, highest;  // what the dialog accepts
    bool flag;             // shown as a check box (italic, underline, strike-out)
};
const std::vector<FontField>& FontFields();
long FontFieldValue(const LOGFONTA& font, int index);
void SetFontField(LOGFONTA* font, int index, long value);
// A check box's state back into its byte: a set byte keeps its value while checked.
BYTE FlagByte(bool checked, BYTE shown);
bool SameFont(const LOGFONTA& a, const LOGFONTA& b);

}  // namespace lorvane::editing
