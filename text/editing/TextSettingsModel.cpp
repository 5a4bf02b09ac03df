// The text settings of each element kind and how the dialog's values map onto them.
#include "TextSettingsModel.h"

#include <cstdint>
#include <cstring>

#include "ColourNumbers.h"
#include "FontLimits.h"

namespace lorvane::editing {
namespace {

constexpr long kBlack = 0, kGrey = 8421504, kWhite = 16777215;

using T = SettingType;

// What the controls draw with when their element lacks a value (the values new elements get).
const std::vector<SettingSlot> kButtonSlots = {
    {"CenterTextHorizontally", T::kFlag, 0, kFlagCentreH, 1},
    {"CenterTextVertically", T::kFlag, 0, kFlagCentreV, 1},
    {"ThreeD", T::kFlag, 0, kFlagThreeD, 0},
    {"Indented", T::kFlag, 0, kFlagIndented, 0},
    {"UseHilite", T::kFlag, 0, kFlagUseHilite, 0},
    {"UseShadow", T::kFlag, 0, kFlagUseShadow, 0},
    {"XoffsetUp", T::kOffset, kRowUp, 0, 0},
    {"YoffsetUp", T::kOffset, kRowUp, 1, 0},
    {"XoffsetDown", T::kOffset, kRowDown, 0, 1},
    {"YoffsetDown", T::kOffset, kRowDown, 1, 1},
    {"XoffsetFocus", T::kOffset, kRowFocus, 0, 0},
    {"YoffsetFocus", T::kOffset, kRowFocus, 1, 0},
    {"XoffsetDisabled", T::kOffset, kRowDisabled, 0, 0},
    {"YoffsetDisabled", T::kOffset, kRowDisabled, 1, 0},
    {"TextColor1", T::kColour, kRowUp, 0, kBlack},
    {"TextColor2", T::kColour, kRowUp, 1, kGrey},
    {"TextColor3", T::kColour, kRowUp, 2, kWhite},
    {"DownTextColor1", T::kColour, kRowDown, 0, kBlack},
    {"DownTextColor2", T::kColour, kRowDown, 1, kGrey},
    {"DownTextColor3", T::kColour, kRowDown, 2, kWhite},
    {"FocusTextColor1", T::kColour, kRowFocus, 0, kBlack},
    {"FocusTextColor2", T::kColour, kRowFocus, 1, kGrey},
    {"FocusTextColor3", T::kColour, kRowFocus, 2, kWhite},
    {"DisabledTextColor1", T::kColour, kRowDisabled, 0, kGrey},
    {"DisabledTextColor2", T::kColour, kRowDisabled, 1, kBlack},
    {"DisabledTextColor3", T::kColour, kRowDisabled, 2, kWhite},
};

const std::vector<SettingSlot> kStaticSlots = {
    {"CenterTextHorizontally", T::kFlag, 0, kFlagCentreH, 0},
    {"CenterTextVertically", T::kFlag, 0, kFlagCentreV, 1},
    {"ThreeD", T::kFlag, 0, kFlagThreeD, 0},
    {"Indented", T::kFlag, 0, kFlagIndented, 0},
    {"UseHilite", T::kFlag, 0, kFlagUseHilite, 0},
    {"UseShadow", T::kFlag, 0, kFlagUseShadow, 0},
    {"Xoffset", T::kOffset, kRowUp, 0, 0},
    {"Yoffset", T::kOffset, kRowUp, 1, 0},
    {"TextColor1", T::kColour, kRowUp, 0, kBlack},
    {"TextColor2", T::kColour, kRowUp, 1, kGrey},
    {"TextColor3", T::kColour, kRowUp, 2, kWhite},
    {"DisabledTextColor1", T::kColour, kRowDisabled, 0, kGrey},
    {"DisabledTextColor2", T::kColour, kRowDisabled, 1, kBlack},
    {"DisabledTextColor3", T::kColour, kRowDisabled, 2, kWhite},
};

const std::vector<SettingSlot> kGenericSimpleSlots = {{"TextColor1", T::kColour, kRowUp, 0, kBlack}};

const std::vector<SettingSlot> kGenericWithTextInfoSlots = {
    {"TextColor1", T::kColour, kRowUp, 0, kBlack},
    {"BackgroundColor", T::kColour, kRowBackground, 0, kWhite},
};

const std::vector<FontField> kFontFields = {
    {"FontHeight", -kMaxFontPixels, kMaxFontPixels, false},
    {"FontWidth", -kMaxFontPixels, kMaxFontPixels, false},
    {"FontEscapement", -3600, 3600, false},
    {"FontOrientation", -3600, 3600, false},
    {"FontWeight", 0, kMaxFontWeight, false},
    {"FontItalic", 0, 255, true},
    {"FontUnderline", 0, 255, true},
    {"FontStrikeOut", 0, 255, true},
    {"FontCharSet", 0, 255, false},
    {"FontOutPrecision", 0, 255, false},
    {"FontClipPrecision", 0, 255, false},
    {"FontQuality", 0, 255, false},
    {"FontPitchAndFamily", 0, 255, false},
};

long Shown(const SettingSlot& slot, const SettingValues& stored)
{
    const auto it = stored.find(slot.attribute);
    if (it == stored.end())
        return slot.missing;
    switch (slot.type) {
    case T::kFlag: return it->second != 0 ? 1 : 0;
    case T::kColour: return static_cast<long>(static_cast<std::uint32_t>(it->second) & 0xFFFFFF);
    default: return it->second;
    }
}

}  // namespace

const std::vector<SettingSlot>& SlotsOf(TextSettingsKind kind)
{
    switch (kind) {
    case TextSettingsKind::kButton:
    case TextSettingsKind::kButtonTemplate: return kButtonSlots;
    case TextSettingsKind::kStatic:
    case TextSettingsKind::kStaticTemplate: return kStaticSlots;
    case TextSettingsKind::kGenericSimple: return kGenericSimpleSlots;
    default: return kGenericWithTextInfoSlots;
    }
}

const SettingSlot* SlotAt(TextSettingsKind kind, SettingType type, int row, int column)
{
    for (const SettingSlot& slot : SlotsOf(kind))
        if (slot.type == type && slot.column == column && (type == T::kFlag || slot.row == row))
            return &slot;
    return nullptr;
}

bool HasFont(TextSettingsKind kind)
{
    return kind != TextSettingsKind::kGenericSimple;
}

const char* TitleOf(TextSettingsKind kind)
{
    switch (kind) {
    case TextSettingsKind::kButton: return "Set Button Control Values";
    case TextSettingsKind::kStatic: return "Set Static Control Values";
    case TextSettingsKind::kButtonTemplate: return "Edit Button Control Template";
    case TextSettingsKind::kStaticTemplate: return "Edit Static Control Template";
    default: return "Set Generic Control Values";
    }
}

SettingValues ShownValues(TextSettingsKind kind, const SettingValues& stored)
{
    SettingValues shown;
    for (const SettingSlot& slot : SlotsOf(kind))
        shown[slot.attribute] = Shown(slot, stored);
    return shown;
}

SettingChanges ChangedSettings(TextSettingsKind kind, const SettingValues& stored, const SettingValues& shown,
                               const SettingValues& edited)
{
    SettingChanges changes;
    bool anyEdit = false;
    for (const SettingSlot& slot : SlotsOf(kind)) {
        const auto before = shown.find(slot.attribute), after = edited.find(slot.attribute);
        anyEdit = anyEdit || (after != edited.end() && (before == shown.end() || before->second != after->second));
    }
    if (!anyEdit)
        return changes;
    for (const SettingSlot& slot : SlotsOf(kind)) {
        const auto before = shown.find(slot.attribute), after = edited.find(slot.attribute);
        const long value = after != edited.end() ? after->second : before != shown.end() ? before->second : slot.missing;
        const bool edit = before == shown.end() || before->second != value;
        if (edit || stored.find(slot.attribute) == stored.end())
            changes.emplace_back(slot.attribute, value);
    }
    return changes;
}

OffsetEntry OffsetFromText(const std::string& text)
{
    OffsetEntry entry;
    std::int64_t value = 0;
    if (!ParseDecimal(text, &value)) {
        entry.message = "Please enter a number (no non-numeric chars)";
        entry.caption = "Please enter a number";
    } else if (value < -kMaxOffset || value > kMaxOffset) {
        entry.message = "An offset must be between -" + std::to_string(kMaxOffset) + " and " +
                        std::to_string(kMaxOffset) + " pixels";
        entry.caption = "Offset out of range";
    } else {
        entry.accepted = true;
        entry.value = static_cast<long>(value);
    }
    return entry;
}

const std::vector<FontField>& FontFields()
{
    return kFontFields;
}

long FontFieldValue(const LOGFONTA& font, int index)
{
    switch (index) {
    case 0: return font.lfHeight;
    case 1: return font.lfWidth;
    case 2: return font.lfEscapement;
    case 3: return font.lfOrientation;
    case 4: return font.lfWeight;
    case 5: return font.lfItalic;
    case 6: return font.lfUnderline;
    case 7: return font.lfStrikeOut;
    case 8: return font.lfCharSet;
    case 9: return font.lfOutPrecision;
    case 10: return font.lfClipPrecision;
    case 11: return font.lfQuality;
    case 12: return font.lfPitchAndFamily;
    default: return 0;
    }
}

void SetFontField(LOGFONTA* font, int index, long value)
{
    const BYTE byte = static_cast<BYTE>(value);
    switch (index) {
    case 0: font->lfHeight = value; break;
    case 1: font->lfWidth = value; break;
    case 2: font->lfEscapement = value; break;
    case 3: font->lfOrientation = value; break;
    case 4: font->lfWeight = value; break;
    case 5: font->lfItalic = byte; break;
    case 6: font->lfUnderline = byte; break;
    case 7: font->lfStrikeOut = byte; break;
    case 8: font->lfCharSet = byte; break;
    case 9: font->lfOutPrecision = byte; break;
    case 10: font->lfClipPrecision = byte; break;
    case 11: font->lfQuality = byte; break;
    case 12: font->lfPitchAndFamily = byte; break;
    default: break;
    }
}

BYTE FlagByte(bool checked, BYTE shown)
{
    if (!checked)
        return 0;
    return shown != 0 ? shown : 1;
}

bool SameFont(const LOGFONTA& a, const LOGFONTA& b)
{
    for (int i = 0; i < static_cast<int>(kFontFields.size()); ++i)
        if (FontFieldValue(a, i) != FontFieldValue(b, i))
            return false;
    return std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE - 1) == 0;
}

}  // namespace lorvane::editing
