// The "Text Settings" value mapping without a window: what each kind of element offers, what is
// shown for damaged or missing values, and what OK writes back.
#include <gtest/gtest.h>

#include <cstring>

#include "TextSettingsModel.h"

using namespace lorvane::editing;

TEST(TextSettingsModel, StaticsAndGenericControlsOfferOnlyWhatTheirElementsKeep)
{
    EXPECT_STREQ(SlotAt(TextSettingsKind::kStatic, SettingType::kOffset, kRowUp, 0)->attribute, "Xoffset");
    EXPECT_STREQ(SlotAt(TextSettingsKind::kStatic, SettingType::kColour, kRowDisabled, 2)->attribute,
                 "DisabledTextColor3");
    EXPECT_EQ(SlotAt(TextSettingsKind::kStatic, SettingType::kOffset, kRowDown, 0), nullptr);
    EXPECT_EQ(SlotAt(TextSettingsKind::kStatic, SettingType::kColour, kRowFocus, 0), nullptr);
    EXPECT_EQ(SlotsOf(TextSettingsKind::kStaticTemplate).size(), 14u);

    ASSERT_EQ(SlotsOf(TextSettingsKind::kGenericSimple).size(), 1u);
    EXPECT_STREQ(SlotAt(TextSettingsKind::kGenericSimple, SettingType::kColour, kRowUp, 0)->attribute, "TextColor1");
    EXPECT_EQ(SlotAt(TextSettingsKind::kGenericSimple, SettingType::kFlag, 0, kFlagCentreH), nullptr);
    EXPECT_FALSE(HasFont(TextSettingsKind::kGenericSimple));
    EXPECT_STREQ(SlotAt(TextSettingsKind::kGenericWithTextInfo, SettingType::kColour, kRowBackground, 0)->attribute,
                 "BackgroundColor");
    EXPECT_TRUE(HasFont(TextSettingsKind::kGenericWithTextInfo));

    const std::pair<TextSettingsKind, const char*> titles[] = {
        {TextSettingsKind::kButton, "Set Button Control Values"},
        {TextSettingsKind::kStatic, "Set Static Control Values"},
        {TextSettingsKind::kGenericSimple, "Set Generic Control Values"},
        {TextSettingsKind::kGenericWithTextInfo, "Set Generic Control Values"},
        {TextSettingsKind::kButtonTemplate, "Edit Button Control Template"},
        {TextSettingsKind::kStaticTemplate, "Edit Static Control Template"},
    };
    for (const auto& [kind, title] : titles)
        EXPECT_STREQ(TitleOf(kind), title);
}

TEST(TextSettingsModel, OkWithoutAnEditWritesNothingEvenOverDamagedOrMissingValues)
{
    // A flag stored as 2, a colour with its high byte set, a negative colour, most values absent.
    const SettingValues stored = {{"ThreeD", 2}, {"TextColor1", 0x7F0000FF}, {"TextColor2", -1}, {"XoffsetUp", -3}};
    const SettingValues shown = ShownValues(TextSettingsKind::kButton, stored);
    EXPECT_EQ(shown.at("ThreeD"), 1);
    EXPECT_EQ(shown.at("TextColor1"), 0xFF);
    EXPECT_EQ(shown.at("TextColor2"), 0xFFFFFF);
    EXPECT_EQ(shown.at("XoffsetUp"), -3);
    EXPECT_EQ(shown.at("XoffsetDown"), 1) << "a missing value shows what the button draws with";
    EXPECT_EQ(shown.at("DisabledTextColor1"), 8421504);
    EXPECT_TRUE(ChangedSettings(TextSettingsKind::kButton, stored, shown, shown).empty());
    EXPECT_TRUE(ChangedSettings(TextSettingsKind::kButton, {}, ShownValues(TextSettingsKind::kButton, {}),
                                ShownValues(TextSettingsKind::kButton, {}))
                    .empty());
}

TEST(TextSettingsModel, AnEditAlsoFillsWhatTheElementLacksSoTheControlReadsIt)
{
    const SettingValues stored = {{"CenterTextHorizontally", 0}, {"ThreeD", 2}, {"TextColor1", 5}};
    const SettingValues shown = ShownValues(TextSettingsKind::kButton, stored);
    SettingValues edited = shown;
    edited["YoffsetDown"] = 7;
    const SettingChanges changes = ChangedSettings(TextSettingsKind::kButton, stored, shown, edited);
    EXPECT_EQ(changes.size(), SlotsOf(TextSettingsKind::kButton).size() - stored.size());
    const auto value = [&](const char* name) {
        for (const auto& c : changes)
            if (c.first == name)
                return c.second;
        return -999L;
    };
    EXPECT_EQ(value("YoffsetDown"), 7);
    EXPECT_EQ(value("XoffsetDown"), 1) << "missing: written with what was shown";
    EXPECT_EQ(value("ThreeD"), -999) << "present and untouched: the stored 2 stays";
    EXPECT_EQ(value("TextColor1"), -999);
}

TEST(TextSettingsModel, OffsetsAreNumbersWithinWhatAControlCanBeMovedBy)
{
    const struct {
        const char* text;
        bool accepted;
        long value;
        const char* caption;
    } cases[] = {
        {"0", true, 0, ""},          {" -12 ", true, -12, ""},
        {"32767", true, 32767, ""},  {"-32767", true, -32767, ""},
        {"32768", false, 0, "Offset out of range"},
        {"-99999999999999999999", false, 0, "Offset out of range"},
        {"", false, 0, "Please enter a number"},
        {"1.5", false, 0, "Please enter a number"},
        {"x1", false, 0, "Please enter a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const OffsetEntry entry = OffsetFromText(c.text);
        EXPECT_EQ(entry.accepted, c.accepted);
        EXPECT_EQ(entry.caption, c.caption);
        if (c.accepted)
            EXPECT_EQ(entry.value, c.value);
        else
            EXPECT_FALSE(entry.message.empty());
    }
}

TEST(TextSettingsModel, FontFieldsMapOntoTheStructureAndFlagsKeepTheirStoredByte)
{
    LOGFONTA font{};
    ASSERT_EQ(FontFields().size(), 13u);
    for (int i = 0; i < static_cast<int>(FontFields().size()); ++i)
        SetFontField(&font, i, 100 + i);
    EXPECT_EQ(font.lfHeight, 100);
    EXPECT_EQ(font.lfWeight, 104);
    EXPECT_EQ(font.lfItalic, 105);
    EXPECT_EQ(font.lfPitchAndFamily, 112);
    for (int i = 0; i < static_cast<int>(FontFields().size()); ++i)
        EXPECT_EQ(FontFieldValue(font, i), 100 + i) << FontFields()[i].attribute;
    EXPECT_STREQ(FontFields()[5].attribute, "FontItalic");
    EXPECT_TRUE(FontFields()[5].flag);

    EXPECT_EQ(FlagByte(true, 255), 255) << "a checked box keeps the stored byte";
    EXPECT_EQ(FlagByte(true, 0), 1);
    EXPECT_EQ(FlagByte(false, 255), 0);

    LOGFONTA other = font;
    EXPECT_TRUE(SameFont(font, other));
    other.lfUnderline = 0;
    EXPECT_FALSE(SameFont(font, other));
    other = font;
    std::strcpy(other.lfFaceName, "Arial");
    EXPECT_FALSE(SameFont(font, other));
}
