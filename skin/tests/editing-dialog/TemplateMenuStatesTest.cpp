// Which text template entries the control menus offer, for each control kind and for a
// control with and without a text template.
#include <gtest/gtest.h>

#include <iterator>

#include "EditMenus.h"

using namespace skelda::editing;

TEST(TemplateMenuStates, EachKindOffersItsTemplateEntriesByWhetherItUsesATemplate)
{
    enum Offer { kAbsent, kGreyed, kEnabled };
    constexpr int kCommands[] = {kChooseTextTemplate, kEditButtonTextTemplates, kAlterNonTemplateText,
                                 kStopUsingTextTemplate, kCopyTextTemplate, kCreateTextTemplate, kCopyTextToTemplate};
    struct Row {
        eControlType type;
        bool usesTemplate;
        Offer offers[7];  // in the order of kCommands
        const char* chooseText;
    } rows[] = {
        {eQorButton, false, {kEnabled, kEnabled, kAbsent, kAbsent, kEnabled, kEnabled, kEnabled}, "Use Text Template"},
        {eQorButton, true, {kEnabled, kEnabled, kEnabled, kEnabled, kEnabled, kEnabled, kAbsent},
         "Choose a Different Text Template"},
        {eQorTransparentStatic, false, {kEnabled, kEnabled, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent},
         "Use Text Template"},
        {eQorTransparentStatic, true, {kEnabled, kEnabled, kEnabled, kEnabled, kAbsent, kAbsent, kAbsent},
         "Choose a Different Text Template"},
        {eQorEdit, false, {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent}, nullptr},
        {eQorSlider, true, {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent}, nullptr},
        {eQorGenericComboBox, false, {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent}, nullptr},
    };
    for (const Row& row : rows) {
        ControlMenuState state;
        state.type = row.type;
        state.usesTextTemplate = row.usesTemplate;
        state.graphicsEditing = state.textEditing = true;
        const auto menu = ControlMenu(state);
        for (size_t i = 0; i < std::size(kCommands); ++i) {
            SCOPED_TRACE(::testing::Message() << "kind " << row.type << ", template " << row.usesTemplate
                                              << ", command " << kCommands[i]);
            const MenuItem* item = FindItem(menu, kCommands[i]);
            const Offer offer = !item ? kAbsent : item->enabled ? kEnabled : kGreyed;
            EXPECT_EQ(offer, row.offers[i]);
        }
        if (row.chooseText)
            EXPECT_EQ(FindItem(menu, kChooseTextTemplate)->text, row.chooseText);
    }

    ControlMenuState graphicsOnly;
    graphicsOnly.graphicsEditing = true;
    EXPECT_EQ(FindItem(ControlMenu(graphicsOnly), kChooseTextTemplate), nullptr) << "text editing not allowed";
    ControlMenuState label;
    label.type = eQorTransparentStatic;
    label.textEditing = true;
    EXPECT_EQ(FindItem(ControlMenu(label), kEditButtonTextTemplates)->text, "Edit Static Text Templates");
}
