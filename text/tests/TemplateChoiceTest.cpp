// The "Choose Template" dialog's pending edits and the editing menu's wording of the name rules.
#include <gtest/gtest.h>

#include <tuple>

#include "TemplateChoice.h"

using namespace lorvane::editing;

TEST(TemplateChoice, EditsWaitInOrderAndTheChoiceFollowsAddsCopiesDeletesAndStop)
{
    TemplateChoice choice({"Shiny", "Round", "Shared"}, "Round", {"Shared"});
    EXPECT_EQ(choice.CurrentText(), "Round");
    EXPECT_FALSE(choice.Changed("Round"));

    EXPECT_EQ(choice.Add("Shiny").caption, "Template Name Already Exists");
    EXPECT_EQ(choice.Add("").caption, "No Name Entered");
    EXPECT_TRUE(choice.Add("Fresh").accepted);
    EXPECT_EQ(choice.Current(), "Fresh") << "a new template becomes the choice";
    EXPECT_EQ(choice.CopyTo("Missing", "Other").message, "Choose the template to copy in the list first.");
    EXPECT_EQ(choice.CopyTo("Round", "Fresh").caption, "Template Name Already Exists");
    EXPECT_TRUE(choice.CopyTo("Fresh", "Copied").accepted) << "a template added here can be copied";

    const NameCheck used = choice.Delete("Shared");
    EXPECT_FALSE(used.accepted);
    EXPECT_EQ(used.caption, "Delete Template");
    EXPECT_EQ(used.message, "This template is used by other controls and cannot be deleted.");
    EXPECT_FALSE(choice.Delete("Nothing").accepted);
    EXPECT_TRUE(choice.Delete("Shiny").accepted);
    EXPECT_EQ(choice.Current(), "Copied") << "deleting another keeps the choice";
    EXPECT_TRUE(choice.Delete("Copied").accepted);
    EXPECT_EQ(choice.CurrentText(), "<none defined>") << "deleting the choice leaves none";
    EXPECT_TRUE(choice.Add("Shiny").accepted) << "a deleted name is free again";

    EXPECT_FALSE(choice.Choose("Copied"));
    EXPECT_TRUE(choice.Choose("Round"));
    choice.StopUsing();
    EXPECT_EQ(choice.Current(), "");
    EXPECT_EQ(choice.Names(), (std::vector<std::string>{"Round", "Shared", "Fresh", "Shiny"}));

    using E = TemplateEdit;
    const std::vector<std::tuple<E::Action, std::string, std::string>> expected{
        {E::kAdd, "Fresh", ""},   {E::kCopy, "Copied", "Fresh"}, {E::kDelete, "Shiny", ""},
        {E::kDelete, "Copied", ""}, {E::kAdd, "Shiny", ""}};
    ASSERT_EQ(choice.Edits().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(choice.Edits()[i].action, std::get<0>(expected[i])) << i;
        EXPECT_EQ(choice.Edits()[i].name, std::get<1>(expected[i])) << i;
        EXPECT_EQ(choice.Edits()[i].from, std::get<2>(expected[i])) << i;
    }
    EXPECT_TRUE(choice.Changed(""));
}

TEST(TemplateNames, TheEditingMenuWordsTheSameRulesItsOwnWay)
{
    struct Case {
        const char *name, *caption, *message;
    } refused[] = {{"", "Name is Empty", "You must enter a name for the new template."},
                   {"Two words", "Name has Blanks", "Blanks are not allowed in Template Name."},
                   {"Shiny", "New Template Name Not Unique", "A template with this name already exists."}};
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        const NameCheck check = CheckNewTemplateName(c.name, {"Shiny"}, NameTexts::kEditingMenu);
        EXPECT_FALSE(check.accepted);
        EXPECT_EQ(check.caption, c.caption);
        EXPECT_EQ(check.message, c.message);
    }
    EXPECT_TRUE(CheckNewTemplateName("Fresh", {"Shiny"}, NameTexts::kEditingMenu).accepted);
}
