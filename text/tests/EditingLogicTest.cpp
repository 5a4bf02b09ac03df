// The rules of the text editing dialogs without a window: colours by numbers and the search
// of a header file for a control's symbolic name.
#include <gtest/gtest.h>

#include <sstream>

#include "ColourNumbers.h"
#include "HeaderSearch.h"
#include "TemplateNames.h"

using namespace lorvane::editing;

TEST(ColourNumbers, ComponentsCombineAndOnlyZeroTo255IsAccepted)
{
    const ColourEntry purple = ColourFromComponents("255", "0", "128");
    ASSERT_TRUE(purple.accepted);
    EXPECT_EQ(purple.colour, 8388863u);
    EXPECT_EQ(ColourFromComponents(" 0", "0 ", "0").colour, 0u);
    EXPECT_EQ(ColourFromComponents("255", "255", "255").colour, 0xFFFFFFu);

    struct Case {
        const char *red, *green, *blue, *message, *caption;
    } refused[] = {
        {"256", "0", "0", "Red, Green, and Blue must be between 0 and 255", "Color out of range"},
        {"0", "-1", "0", "Red, Green, and Blue must be between 0 and 255", "Color out of range"},
        {"0", "0", "4294967296", "Red, Green, and Blue must be between 0 and 255", "Color out of range"},
        {"0", "0", "99999999999999999999999", "Red, Green, and Blue must be between 0 and 255", "Color out of range"},
        {"abc", "0", "0", "Please enter a number (no non-numeric chars)", "Please enter a number"},
        {"1", "", "0", "Please enter a number (no non-numeric chars)", "Please enter a number"},
        {"1", "2", "0x10", "Please enter a number (no non-numeric chars)", "Please enter a number"},
        {"1", "-", "3", "Please enter a number (no non-numeric chars)", "Please enter a number"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(std::string(c.red) + "/" + c.green + "/" + c.blue);
        const ColourEntry entry = ColourFromComponents(c.red, c.green, c.blue);
        EXPECT_FALSE(entry.accepted);
        EXPECT_EQ(entry.message, c.message);
        EXPECT_EQ(entry.caption, c.caption);
    }
}

TEST(ColourNumbers, TheCombinedValueIsRefusedOutsideTheColourRangeWithoutWrapping)
{
    EXPECT_EQ(ColourFromCombined("8388863").colour, 8388863u);
    EXPECT_TRUE(ColourFromCombined("16777215").accepted);
    EXPECT_TRUE(ColourFromCombined("0").accepted);
    for (const char* text : {"16777216", "4294967296", "-1", "18446744073709551616", "-9223372036854775809"}) {
        SCOPED_TRACE(text);
        const ColourEntry entry = ColourFromCombined(text);
        EXPECT_FALSE(entry.accepted) << "would wrap into a colour";
        EXPECT_EQ(entry.message, "The combined color is invalid (out of range)");
    }
    EXPECT_EQ(ColourFromCombined("abc").message, "Please enter a number (no non-numeric chars)");
    EXPECT_EQ(ColourFromCombined("12 34").message, "Please enter a number (no non-numeric chars)");

    int r = 0, g = 0, b = 0;
    SplitColour(8388863u, &r, &g, &b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 128);
}

TEST(HeaderSearch, TheDigitsAnywhereInALineMatchAndFindNextMovesOn)
{
    std::istringstream header("// ids\r\n#define IDC_A 1001\r\n#define IDC_B 100\r\n#define IDC_C 7\r\n");
    HeaderSearch search(header);
    EXPECT_EQ(search.FindNext(100), "IDC_A") << "1001 holds the digits of 100";
    EXPECT_EQ(search.FindNext(100), "IDC_B");
    EXPECT_EQ(search.FindNext(100), HeaderSearch::kNotFound);
    EXPECT_EQ(search.FindNext(100), HeaderSearch::kNotFound) << "it stays at the end";
    EXPECT_TRUE(search.AtEnd());
    search.Restart();
    EXPECT_EQ(search.FindNext(100), "IDC_A");
}

TEST(HeaderSearch, TabsAreBlanksAndNamesHaveNoFixedLength)
{
    const std::string longName(400, 'N');
    std::istringstream header("#define\tIDC_TABBED\t\t4301\n#define " + longName + " 4302\r4303");
    HeaderSearch search(header);
    EXPECT_EQ(search.FindNext(4301), "IDC_TABBED");
    EXPECT_EQ(search.FindNext(4302), longName);
    EXPECT_EQ(search.FindNext(4303), "") << "nothing before the digits";
    EXPECT_EQ(HeaderSearch::NameBefore("  spaced   name    12  ", "12"), "name");
    EXPECT_EQ(HeaderSearch::NameBefore("no digits here", "12"), "");
}

TEST(TemplateNames, ANewNameIsGivenHasNoBlanksAndIsNotTaken)
{
    const std::vector<std::string> existing{"Shiny", "Round"};
    struct Case {
        const char *name, *caption, *message;
    } refused[] = {{"", "No Name Entered", "You must enter a name"},
                   {"Two words", "Name has Blanks", "Blanks are not allowed in Template Name."},
                   {"Tab\tbed", "Name has Blanks", "Blanks are not allowed in Template Name."},
                   {"Shiny", "Template Name Already Exists", "You must enter a unique name"}};
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        const NameCheck check = CheckNewTemplateName(c.name, existing);
        EXPECT_FALSE(check.accepted);
        EXPECT_EQ(check.caption, c.caption);
        EXPECT_EQ(check.message, c.message);
    }
    EXPECT_TRUE(CheckNewTemplateName("shiny", existing).accepted) << "names match exactly";
    EXPECT_TRUE(CheckNewTemplateName("Fresh", {}).accepted);
}
