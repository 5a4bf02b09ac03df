// The numeric rules of the linked edit: ranges, accepted characters, texts and focus loss.
#include <gtest/gtest.h>

#include "LinkEditLogic.h"

using namespace skelda::controls;
using Action = LinkEditLogic::FocusLossAction;

TEST(LinkEditLogic, NegativeRangeAcceptsLeadingMinusAndTicksEveryStep)
{
    LinkEditLogic logic;
    logic.SetParams(-10, 10, 0);
    EXPECT_EQ(kParseSigned, logic.ParseType());
    EXPECT_EQ(20, logic.TickFrequency());
    EXPECT_EQ(-10, logic.SliderMin());
    EXPECT_EQ(10, logic.SliderMax());
    EXPECT_TRUE(logic.Accepts('-', "", 0));
    EXPECT_TRUE(logic.Accepts('-', "5", 0));
    EXPECT_FALSE(logic.Accepts('-', "-5", 0));  // one minus only
    EXPECT_FALSE(logic.Accepts('-', "5", 1));   // and only in front
    EXPECT_TRUE(logic.Accepts('7', "-", 1));
    EXPECT_TRUE(logic.Accepts('\b', "-5", 2));
}

TEST(LinkEditLogic, IntegerModeRefusesPointLettersAndMinusWhenRangeIsPositive)
{
    LinkEditLogic logic;
    logic.SetParams(0, 100, 10);
    EXPECT_EQ(kParseUnsigned, logic.ParseType());
    EXPECT_EQ(10, logic.TickFrequency());
    EXPECT_FALSE(logic.Accepts('.', "1", 1));
    EXPECT_FALSE(logic.Accepts('-', "", 0));
    EXPECT_FALSE(logic.Accepts('a', "", 0));
    EXPECT_FALSE(logic.Accepts(' ', "", 0));
    EXPECT_TRUE(logic.Accepts('0', "", 0));
}

TEST(LinkEditLogic, CharacterClasses)
{
    EXPECT_EQ(kCharControl, ClassifyLinkChar('\r', "", 0));
    EXPECT_EQ(kCharDigit, ClassifyLinkChar('9', "", 0));
    EXPECT_EQ(kCharHexLetter, ClassifyLinkChar('x', "", 0));
    EXPECT_EQ(kCharHexLetter, ClassifyLinkChar('F', "", 0));
    EXPECT_EQ(kCharExponent, ClassifyLinkChar('e', "", 0));
    EXPECT_EQ(kCharLetter, ClassifyLinkChar('q', "", 0));
    EXPECT_EQ(kCharPoint, ClassifyLinkChar('.', "", 0));
    EXPECT_EQ(kCharUnderscore, ClassifyLinkChar('_', "", 0));
    EXPECT_EQ(kCharMinus, ClassifyLinkChar('-', "12", 0));
    EXPECT_EQ(kCharOther, ClassifyLinkChar('-', "1-2", 0));
    EXPECT_EQ(kCharOther, ClassifyLinkChar('+', "", 0));
}

TEST(LinkEditLogic, FloatingModeMapsPositionsOntoTheRangeWithTheFormat)
{
    LinkEditLogic logic;
    logic.SetResolution(200);
    logic.SetParams(-1.0, 1.0, 0, "%.2f");
    EXPECT_EQ(kParseFloat, logic.ParseType());
    EXPECT_EQ(0, logic.SliderMin());
    EXPECT_EQ(200, logic.SliderMax());
    EXPECT_TRUE(logic.Accepts('.', "0", 1));
    EXPECT_TRUE(logic.Accepts('E', "1", 1));
    EXPECT_FALSE(logic.Accepts('x', "1", 1));
    std::string text;
    ASSERT_TRUE(logic.TextForPosition(150, &text));
    EXPECT_EQ("0.50", text);
    EXPECT_FALSE(logic.TextForPosition(150, &text));  // same position: nothing to write
    ASSERT_TRUE(logic.TextForPosition(0, &text));
    EXPECT_EQ("-1.00", text);
    EXPECT_EQ(0, logic.ValueOf("0.5"));
}

TEST(LinkEditLogic, SetValueClampsIntegersAndRefusesOutOfRangeFloats)
{
    LinkEditLogic logic;
    logic.SetParams(0, 50, 5);
    std::string text;
    ASSERT_TRUE(logic.TextForValue(80, &text));
    EXPECT_EQ("50", text);
    ASSERT_TRUE(logic.TextForValue(-3, &text));
    EXPECT_EQ("0", text);
    EXPECT_FALSE(logic.TextForValue(0.5, &text));  // no floating value in integer mode
    EXPECT_EQ(42, logic.ValueOf("42"));

    logic.SetParams(0.0, 2.0, 1, "%.1f");
    text = "unchanged";
    EXPECT_FALSE(logic.TextForValue(2.5, &text));
    EXPECT_EQ("unchanged", text);
    EXPECT_FALSE(logic.TextForValue(3, &text));  // no integer value in floating mode
    ASSERT_TRUE(logic.TextForValue(1.25, &text));
    EXPECT_EQ("1.2", text.substr(0, 3));
}

TEST(LinkEditLogic, UnsafeFormatsFallBackToPlainConversions)
{
    LinkEditLogic logic;
    logic.SetParams(0.0, 1.0, 1, "%s%s%n");
    std::string text;
    ASSERT_TRUE(logic.TextForValue(0.5, &text));
    EXPECT_EQ("0.5", text);
    logic.SetParams(0, 10, 1);
    logic.SetFormatString("%d of %d");
    ASSERT_TRUE(logic.TextForValue(3, &text));
    EXPECT_EQ("3", text);
    logic.SetFormatString("%d%%");
    ASSERT_TRUE(logic.TextForValue(3, &text));
    EXPECT_EQ("3%", text);
}

TEST(LinkEditLogic, FocusLossRules)
{
    LinkEditLogic logic;
    logic.SetParams(5, 50, 1);
    std::string slider;
    logic.TextForPosition(20, &slider);

    auto loss = logic.OnFocusLoss("2", false, false);
    EXPECT_EQ(Action::kReplace, loss.action);
    EXPECT_EQ("5", loss.text);
    EXPECT_EQ(Action::kReplace, logic.OnFocusLoss("", false, false).action);

    EXPECT_EQ(Action::kRefreshFromSlider, logic.OnFocusLoss("30", true, false).action);
    EXPECT_EQ(Action::kRefreshFromSlider, logic.OnFocusLoss("99", true, false).action);

    loss = logic.OnFocusLoss("99", false, false);
    EXPECT_EQ(Action::kReportTooLarge, loss.action);
    EXPECT_EQ("20", loss.text);  // the last value the slider gave
    EXPECT_EQ(Action::kKeep, logic.OnFocusLoss("99", false, true).action);  // going to Cancel
    EXPECT_EQ(Action::kKeep, logic.OnFocusLoss("30", false, false).action);

    logic.SetParams(1.0, 2.0, 1, "%.3f");
    loss = logic.OnFocusLoss("0.5", false, false);
    EXPECT_EQ(Action::kReplace, loss.action);
    EXPECT_EQ("1.000", loss.text);
}
