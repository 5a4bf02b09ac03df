// The stretch settings dialogs' checks and the dialog menu's stretch, message box and menu
// entries, without windows.
#include <gtest/gtest.h>

#include "EditMenus.h"
#include "StretchSettingsRules.h"

using namespace skelda::editing;
using skelda::QorStretchSettings;

namespace {

QorStretchSettings Offsets(int left, int right, int top, int bottom)
{
    QorStretchSettings s;
    s.left = left;
    s.right = right;
    s.top = top;
    s.bottom = bottom;
    return s;
}

QorStretchSettings Limits(bool horizontal, int begin, int min, int max, int borders = 10)
{
    QorStretchSettings s = Offsets(borders, borders, borders, borders);
    s.allowHorizontal = horizontal;
    s.allowVertical = true;
    s.beginningWidth = begin;
    s.minWidth = min;
    s.maxWidth = max;
    s.beginningHeight = 100;
    s.minHeight = 50;
    s.maxHeight = 200;
    return s;
}

}  // namespace

TEST(StretchSettingsRules, RegionOffsetsMustBePositiveAndLeaveAMiddleBand)
{
    struct Row {
        QorStretchSettings settings;
        bool accepted;
        const char* says;  // a part of the refusal
    } rows[] = {
        {Offsets(0, 0, 0, 0), true, ""},
        {Offsets(48, 50, 20, 38), true, ""},  // a 100 x 60 face keeps one middle pixel each way
        {Offsets(49, 50, 20, 20), false, "left and right region offsets (49 + 50)"},
        {Offsets(10, 10, 30, 29), false, "top and bottom region offsets (30 + 29)"},
        {Offsets(-1, 0, 0, 0), false, "cannot be negative"},
        {Offsets(0, 0, 0, -5), false, "cannot be negative"},
        {Offsets(2147483647, 2147483647, 0, 0), false, "no middle band"},  // no wrap to a small sum
    };
    for (const Row& row : rows) {
        const FieldCheck check = CheckRegionOffsets(row.settings, 100, 60);
        SCOPED_TRACE(check.message);
        EXPECT_EQ(check.accepted, row.accepted);
        EXPECT_NE(check.message.find(row.says), std::string::npos);
        if (!row.accepted)
            EXPECT_EQ(check.caption, "Bad Region Offsets");
    }
}

TEST(StretchSettingsRules, SizingLimitsKeepMinimumBelowMaximumBeginningInsideAndTheBorders)
{
    const std::string badValues = "There is an error with the values.";
    struct Row {
        QorStretchSettings settings;
        const char* says;  // null when accepted
    } rows[] = {
        {Limits(true, 150, 100, 300), nullptr},
        {Limits(true, 150, 300, 100), "There is an error with the values."},      // minimum above maximum
        {Limits(true, 150, 150, 150), "There is an error with the values."},      // no room to stretch
        {Limits(true, 400, 100, 300), "There is an error with the values."},      // beginning outside
        {Limits(true, 30, 20, 300, 10), "The minimum width must be at least 21 pixels"},
        {Limits(false, 0, 300, 100), nullptr},  // a direction that does not stretch is not checked
    };
    for (const Row& row : rows) {
        const FieldCheck check = CheckSizingLimits(row.settings);
        SCOPED_TRACE(check.message);
        EXPECT_EQ(check.accepted, row.says == nullptr);
        if (row.says) {
            EXPECT_EQ(check.message.rfind(row.says, 0), 0u);
            EXPECT_EQ(check.caption, "Bad Values");
        }
    }
    QorStretchSettings tall = Limits(false, 0, 0, 0, 40);
    tall.minHeight = 80;
    EXPECT_NE(CheckSizingLimits(tall).message.find("minimum height must be at least 81"), std::string::npos);
}

TEST(StretchSettingsMenus, StretchEntriesOnlyOnStretchDialogsAndNoSampleInsideASample)
{
    enum Offer { kAbsent, kGreyed, kEnabled };
    struct Row {
        const char* dialog;
        bool stretch, grabbers, highlighted, messageBox, menu;
        Offer regions, sizing, grabberMark, messageBoxSample, menuSample;
        const char* grabberText;
    } rows[] = {
        {"plain", false, false, false, false, false, kAbsent, kAbsent, kAbsent, kEnabled, kEnabled, nullptr},
        {"stretch", true, true, false, false, false, kEnabled, kEnabled, kEnabled, kEnabled, kEnabled,
         "Highlight Drag Buttons"},
        {"marked", true, true, true, false, false, kEnabled, kEnabled, kEnabled, kEnabled, kEnabled,
         "Unhighlight Drag Buttons"},
        {"no grabbers", true, false, false, false, false, kEnabled, kEnabled, kGreyed, kEnabled, kEnabled,
         "Highlight Drag Buttons"},
        {"message box", true, false, false, true, false, kEnabled, kEnabled, kGreyed, kGreyed, kGreyed, nullptr},
        {"menu", true, false, false, false, true, kEnabled, kEnabled, kGreyed, kGreyed, kEnabled, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dialog);
        DialogMenuState state;
        state.graphicsEditing = true;
        state.stretchDialog = row.stretch;
        state.hasGrabbers = row.grabbers;
        state.grabbersHighlighted = row.highlighted;
        state.messageBox = row.messageBox;
        state.menu = row.menu;
        const auto menu = DialogMenu(state);
        const auto offer = [&](int command) {
            const MenuItem* item = FindItem(menu, command);
            return !item ? kAbsent : item->enabled ? kEnabled : kGreyed;
        };
        EXPECT_EQ(offer(kStretchRegions), row.regions);
        EXPECT_EQ(offer(kStretchSizing), row.sizing);
        EXPECT_EQ(offer(kHighlightGrabbers), row.grabberMark);
        EXPECT_EQ(offer(kMessageBoxSettings), row.messageBoxSample);
        EXPECT_EQ(offer(kMenuSettings), row.menuSample);
        if (row.grabberText)
            EXPECT_EQ(FindItem(menu, kHighlightGrabbers)->text, row.grabberText);
    }
    DialogMenuState textOnly;
    textOnly.textEditing = textOnly.stretchDialog = true;
    EXPECT_EQ(FindItem(DialogMenu(textOnly), kStretchRegions), nullptr) << "graphics editing not allowed";
}
