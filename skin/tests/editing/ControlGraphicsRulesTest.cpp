// The control graphics commands' menu states and the editing dialogs' field rules, without
// windows.
#include <gtest/gtest.h>

#include "EditMenus.h"
#include "FieldRules.h"

using namespace skelda::editing;

namespace {

struct Kind {
    const char* name;
    eControlType type;
    bool radio, stretch, onTemplate;
};

}  // namespace

TEST(ControlGraphicsMenus, EachKindOffersItsGraphicsCommandsEnabledAndNoOthers)
{
    const Kind button{"button", eQorButton, false, false, false}, radio{"radio", eQorButton, true, false, false},
        stretch{"stretch button", eQorButton, false, true, false}, templated{"on a template", eQorButton, false, false, true},
        label{"static", eQorTransparentStatic}, edit{"edit", eQorEdit}, slider{"slider", eQorSlider},
        combo{"combo", eQorGenericComboBox};
    struct Row {
        const Kind& kind;
        int command;
        const char* text;  // null: not in the menu
        bool enabled;
    } rows[] = {
        {button, kChooseGraphicsTemplate, "Change Bitmap Files", true},
        {templated, kChooseGraphicsTemplate, "Select A Different Button Graphics Template", true},
        {button, kToggleGraphicsTemplate, "Switch to Using a Graphics Template", true},
        {templated, kToggleGraphicsTemplate, "Switch to Not Using a Graphics Template", true},
        {button, kCopyGraphicsTemplate, "Copy a Graphics Template into Graphics Settings", true},
        {button, kEditButtonGraphicsTemplates, "Edit Button Graphics Templates", true},
        {button, kAlternateXY, "Set Alternate XY Coordinates", true},
        {button, kTransparentRadioSettings, nullptr, false},
        {radio, kTransparentRadioSettings, "Change Transparent Radio Settings", true},
        {button, kEdgeTracking, nullptr, false},
        {stretch, kEdgeTracking, "Set Control Edge Tracking Values", true},
        {label, kChangeGraphicsSettings, "Change Graphics Settings", true},
        {edit, kChangeGraphicsSettings, "Change Graphics Settings", true},
        {slider, kChangeGraphicsSettings, "Change Slider Graphics Settings", true},
        {combo, kChangeGraphicsSettings, "Resize Control", true},
        {label, kAlternateXY, nullptr, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.kind.name) + " / " + std::to_string(row.command));
        ControlMenuState s;
        s.type = row.kind.type;
        s.transparentRadio = row.kind.radio;
        s.stretchDialog = row.kind.stretch;
        s.usesGraphicsTemplate = row.kind.onTemplate;
        s.graphicsEditing = true;
        const std::vector<MenuItem> menu = ControlMenu(s);
        const MenuItem* item = FindItem(menu, row.command);
        if (!row.text) {
            EXPECT_EQ(item, nullptr);
            continue;
        }
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text, row.text);
        EXPECT_EQ(item->enabled, row.enabled);
        s.graphicsEditing = false;
        s.textEditing = true;
        EXPECT_EQ(FindItem(ControlMenu(s), row.command), nullptr) << "graphics commands need graphics editing";
    }
}

TEST(ControlGraphicsFields, NumbersSizesAndColoursAreCheckedAndStoredPlain)
{
    const char* const notANumber = "Please enter a number";
    struct Row {
        FieldKind kind;
        const char* typed;
        const char* stored;  // null: refused
        const char* caption;
    } rows[] = {
        {FieldKind::kNumber, " -12 ", "-12", nullptr},
        {FieldKind::kNumber, "+7", "7", nullptr},
        {FieldKind::kNumber, "2147483647", "2147483647", nullptr},
        {FieldKind::kNumber, "-2147483648", "-2147483648", nullptr},
        {FieldKind::kNumber, "2147483648", nullptr, "Number out of range"},
        {FieldKind::kNumber, "99999999999999999999999", nullptr, "Number out of range"},
        {FieldKind::kNumber, "1.5", nullptr, notANumber},
        {FieldKind::kNumber, "", nullptr, notANumber},
        {FieldKind::kNumber, "-", nullptr, notANumber},
        {FieldKind::kNumber, "12a", nullptr, notANumber},
        {FieldKind::kSize, "0", "0", nullptr},
        {FieldKind::kSize, "32767", "32767", nullptr},
        {FieldKind::kSize, "32768", nullptr, "Number out of range"},
        {FieldKind::kSize, "-1", nullptr, notANumber},
        {FieldKind::kColour, "16777215", "16777215", nullptr},
        {FieldKind::kColour, "16777216", nullptr, "Color out of range"},
        {FieldKind::kColour, "4294967296", nullptr, "Color out of range"},
        {FieldKind::kColour, "-1", nullptr, notANumber},
        {FieldKind::kColour, "0x10", nullptr, notANumber},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        const FieldCheck check = CheckNumberField(row.kind, row.typed);
        EXPECT_EQ(check.accepted, row.stored != nullptr);
        if (row.stored)
            EXPECT_EQ(check.value, row.stored);
        else
            EXPECT_EQ(check.caption, row.caption);
    }
    EXPECT_EQ(CheckNumberField(FieldKind::kSize, "x").message, "Please enter a number (no non-numeric chars)");
    EXPECT_EQ(CheckNumberField(FieldKind::kColour, "16777216").message, "The combined color is invalid (out of range)");
}

TEST(ControlGraphicsFields, ButtonBitmapAttributesFollowStateAndIdentity)
{
    EXPECT_EQ(ButtonBitmapAttribute(0, 0), "ControlUpBitmapFile");
    EXPECT_EQ(ButtonBitmapAttribute(3, 0), "ControlDisabledBitmapFile");
    EXPECT_EQ(ButtonBitmapAttribute(1, 2), "ControlDownBitmapFile2");
    EXPECT_EQ(ButtonBitmapAttribute(2, 3), "ControlFocusBitmapFile3");
    EXPECT_EQ(ButtonBitmapAttribute(4, 0), "");
    EXPECT_EQ(ButtonBitmapAttribute(0, -1), "");
}
