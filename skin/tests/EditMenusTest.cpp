// The editing mode's menus as tables: entries, command numbers, texts that follow the state,
// and which entries are offered at all.
#include <gtest/gtest.h>

#include "EditMenus.h"

using namespace skelda::editing;

namespace {

ControlMenuState Button(bool locked)
{
    ControlMenuState s;
    s.type = eQorButton;
    s.locked = locked;
    s.graphicsEditing = s.textEditing = true;
    return s;
}

}  // namespace

TEST(EditMenus, TheButtonMenuHasAGraphicsAndATextSubMenuAndTheLockTextFollowsTheLock)
{
    const auto locked = ControlMenu(Button(true));
    ASSERT_EQ(locked.size(), 2u);
    EXPECT_EQ(locked[0].text, "Edit Graphics Settings");
    EXPECT_EQ(locked[1].text, "Edit Text Fields");
    ASSERT_FALSE(locked[0].items.empty());
    EXPECT_EQ(locked[0].items[0].command, 1);
    EXPECT_EQ(locked[0].items[0].text, "Unlock Control (Allow Drag)");
    EXPECT_EQ(ControlMenu(Button(false))[0].items[0].text, "Lock Control in Place");

    struct Expect {
        int command;
        const char* text;
        bool enabled;
    } entries[] = {{9, "Set Visibilty at Startup", true},  {8, "Change Tooltips", true},
                   {15, "Change Captions", true},          {7, "Change Text Settings", true},
                   {31, "Set Alternate XY Coordinates", true}, {11, "Edit Button Graphics Templates", true}};
    for (const Expect& e : entries) {
        SCOPED_TRACE(e.text);
        const MenuItem* item = FindItem(locked, e.command);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text, e.text);
        EXPECT_EQ(item->enabled, e.enabled) << "only what the editor carries out is offered";
    }
    EXPECT_EQ(FindItem(locked, 10), nullptr) << "edge tracking only in stretch dialogs";
    EXPECT_EQ(FindItem(locked, 30), nullptr) << "radio settings only for transparent radios";
}

TEST(EditMenus, OnlyTheAllowedKindOfEditingIsOffered)
{
    ControlMenuState graphicsOnly = Button(true);
    graphicsOnly.textEditing = false;
    const auto menu = ControlMenu(graphicsOnly);
    ASSERT_EQ(menu.size(), 1u);
    EXPECT_EQ(menu[0].text, "Edit Graphics Settings");

    ControlMenuState slider;
    slider.type = eQorSlider;
    slider.textEditing = true;
    const auto textOnly = ControlMenu(slider);
    ASSERT_EQ(textOnly.size(), 1u);
    EXPECT_EQ(textOnly[0].command, 8);
    EXPECT_EQ(textOnly[0].text, "Change Tooltip");
}

TEST(EditMenus, EveryControlKindStartsWithItsLockEntry)
{
    for (eControlType type : {eQorTransparentStatic, eQorEdit, eQorSlider, eQorGenericComboBox}) {
        SCOPED_TRACE(static_cast<int>(type));
        ControlMenuState s;
        s.type = type;
        s.locked = false;
        s.graphicsEditing = s.textEditing = true;
        const auto menu = ControlMenu(s);
        ASSERT_GE(menu.size(), 3u);
        EXPECT_EQ(menu[0].command, 1);
        EXPECT_EQ(menu[0].text, "Lock Control in Place");
        EXPECT_NE(FindItem(menu, 9), nullptr);
        const MenuItem* textSettings = FindItem(menu, 7);
        EXPECT_EQ(textSettings != nullptr, type != eQorSlider) << "a slider keeps only its tooltip";
        if (textSettings) {
            EXPECT_TRUE(textSettings->enabled) << "statics, edits and generic controls have text settings";
        }
    }
}

TEST(EditMenus, TheDialogMenuTogglesItsTextsAndGreysWhatHasNothingToDo)
{
    DialogMenuState s;
    s.graphicsEditing = s.textEditing = true;
    auto menu = DialogMenu(s);
    EXPECT_EQ(FindItem(menu, 4001)->text, "Change Bitmap File");
    EXPECT_EQ(FindItem(menu, 4003)->text, "Highlight Static Controls");
    EXPECT_EQ(FindItem(menu, 4012)->text, "Show All QorControls (For Invisible Controls)");
    EXPECT_FALSE(FindItem(menu, 4004)->enabled) << "nothing to save";
    EXPECT_FALSE(FindItem(menu, 4005)->enabled);
    EXPECT_FALSE(FindItem(menu, 4011)->enabled) << "no auxiliary bitmaps";
    EXPECT_EQ(FindItem(menu, 4014), nullptr) << "stretch entries only for stretch dialogs";

    s.staticsHighlighted = s.invisibleShown = s.graphicsChanged = s.textChanged = s.stretchDialog = true;
    menu = DialogMenu(s);
    EXPECT_EQ(FindItem(menu, 4003)->text, "Un-Highlight Static Controls");
    EXPECT_EQ(FindItem(menu, 4012)->text, "Hide All previously invisible QorControls");
    EXPECT_TRUE(FindItem(menu, 4004)->enabled);
    EXPECT_TRUE(FindItem(menu, 4005)->enabled);
    EXPECT_NE(FindItem(menu, 4014), nullptr);

    EXPECT_TRUE(FindItem(menu, 4006)->enabled);

    DialogMenuState textOnly;
    textOnly.textEditing = textOnly.textChanged = true;
    menu = DialogMenu(textOnly);
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0].command, 4008);
    EXPECT_TRUE(menu[0].enabled);
    EXPECT_EQ(menu[1].command, 4005);
}

TEST(EditMenus, AControlWithoutSkinDataOffersOnlyToAddItsPreliminaryInfo)
{
    for (eControlType type : {eQorButton, eQorTransparentStatic, eQorEdit, eQorSlider, eQorGenericComboBox}) {
        ControlMenuState s = Button(true);
        s.type = type;
        s.hasElement = false;
        const auto menu = ControlMenu(s);
        ASSERT_EQ(menu.size(), 1u) << type;
        EXPECT_EQ(menu[0].command, kAddPreliminaryControlInfo);
        EXPECT_EQ(menu[0].text, "Add Preliminary Control Info To QorDialog Script Data");
        EXPECT_TRUE(menu[0].enabled);
        s.graphicsEditing = false;
        EXPECT_TRUE(ControlMenu(s).empty()) << "adding skin data is graphics editing";
    }
}
