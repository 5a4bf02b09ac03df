// Reading the text file: messages, captions, tooltips, control settings, fonts and templates.
#include <gtest/gtest.h>

#include <cstring>

#include "EngineTestSupport.h"
#include "QorText_API.h"
#include "QorXML_API.h"

using namespace enginetest;

namespace {

class TextRead : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(text.OpenTextFile("TextReadNoKey", DataDir() + "Text1033.xml", 1033));
    }
    void TearDown() override
    {
        text.ReleaseAllNodes();
        CoUninitialize();
    }

    RecordingUi ui;
    QorText_API text;
};

TEST_F(TextRead, MessagesByNumberTheLaterOfTwoWins)
{
    std::string value = "untouched";
    ASSERT_TRUE(text.GetText(102, &value));
    EXPECT_EQ(value, "Marovin");
    ASSERT_TRUE(text.GetText(108, &value));
    EXPECT_EQ(value, "Second wording");
    ASSERT_TRUE(text.GetText(231, &value));
    EXPECT_EQ(value, "Cannot record.|Record failed with code %d") << "user and log parts stay together";

    value = "untouched";
    EXPECT_FALSE(text.GetText(4242, &value));
    EXPECT_EQ(value, "untouched");
    EXPECT_FALSE(text.GetText(600, &value)) << "a message without text is no message";
    EXPECT_FALSE(text.GetText(0, &value)) << "a non-numeric id is skipped";
}

TEST_F(TextRead, WideMessagesKeepCharactersOutsideTheCodePage)
{
    wchar_t buffer[64];
    ASSERT_TRUE(text.GetWideText(500, buffer));
    EXPECT_STREQ(buffer, L"Caf\u00e9 \u20acuro");
    buffer[0] = L'X';
    EXPECT_FALSE(text.GetWideText(4242, buffer));
    EXPECT_EQ(buffer[0], L'\0') << "the buffer is emptied first";
}

TEST_F(TextRead, CaptionsAndTooltips)
{
    std::string value;
    ASSERT_TRUE(text.GetControlCaptionText(100, 1001, &value));
    EXPECT_EQ(value, "Record");
    ASSERT_TRUE(text.GetControlTooltipText(100, 1002, &value));
    EXPECT_EQ(value, "Status line");
    ASSERT_TRUE(text.GetSliderControlTooltip(100, 1005, &value));
    EXPECT_EQ(value, "Volume");
    EXPECT_FALSE(text.GetControlCaptionText(100, 9999, &value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(text.GetControlCaptionText(101, 1001, &value)) << "keyed by dialog and control";

    std::string four[4];
    ASSERT_TRUE(text.GetButtonControlCaptions(100, 1001, four));
    EXPECT_EQ(four[0], "Record");
    EXPECT_EQ(four[3], "Resume");
    ASSERT_TRUE(text.GetButtonControlTooltips(100, 1001, four));
    EXPECT_EQ(four[1], "Stop recording");
    EXPECT_EQ(four[2], "");
    ASSERT_TRUE(text.GetButtonControlCaptions(100, 1003, four));
    EXPECT_EQ(four[1], "") << "missing identities read as empty";
}

TEST_F(TextRead, ButtonSettingsInTheirFixedOrder)
{
    QorButtonTextSettings s;
    ASSERT_TRUE(text.GetButtonCtrlInfo(100, 1001, &s));
    EXPECT_TRUE(s.centerHorizontally);
    EXPECT_FALSE(s.centerVertically);
    EXPECT_EQ(s.xOffsetUp, 1);
    EXPECT_EQ(s.yOffsetDisabled, 8);
    EXPECT_EQ(s.textColor[0], 255u);
    EXPECT_EQ(s.textColor[2], 16711680u);
    EXPECT_EQ(s.disabledTextColor[0], 8421504u);
    EXPECT_TRUE(s.threeD);
    EXPECT_TRUE(s.useHilite);
    EXPECT_FALSE(s.useShadow);

    QorTextColors c;
    ASSERT_TRUE(text.GetCtrlTextColors(100, 1001, &c));
    EXPECT_EQ(c.down[1], 2u);
    EXPECT_EQ(c.focus[2], 6u);
    EXPECT_EQ(c.disabled[2], 16777215u);
}

TEST_F(TextRead, AButtonWithoutXoffsetDownStopsThereKeepingEarlierValues)
{
    QorButtonTextSettings s;
    s.xOffsetDown = -5;
    s.yOffsetDown = -6;
    EXPECT_FALSE(text.GetButtonCtrlInfo(100, 1003, &s));
    EXPECT_TRUE(s.centerHorizontally);
    EXPECT_TRUE(s.centerVertically);
    EXPECT_EQ(s.xOffsetUp, 11);
    EXPECT_EQ(s.yOffsetUp, 12);
    EXPECT_EQ(s.xOffsetDown, -5) << "not read";
    EXPECT_EQ(s.yOffsetDown, -6) << "reading stopped before it";
}

TEST_F(TextRead, NonNumericAttributesReadAsMissing)
{
    QorButtonTextSettings s;
    EXPECT_FALSE(text.GetButtonCtrlInfo(100, 1008, &s));
    EXPECT_FALSE(s.centerHorizontally);
    COLORREF color = 77;
    EXPECT_FALSE(text.GetMainTextColor(100, 1008, &color));
    EXPECT_EQ(color, 77u);
}

TEST_F(TextRead, StaticEditAndGenericSettings)
{
    QorStaticTextSettings st;
    ASSERT_TRUE(text.GetStaticCtrlInfo(100, 1002, &st));
    EXPECT_EQ(st.xOffset, 2);
    EXPECT_EQ(st.yOffset, 3);
    EXPECT_TRUE(st.indented);
    EXPECT_EQ(st.disabledTextColor[2], 60u);

    QorEditTextSettings ed;
    ASSERT_TRUE(text.GetEditCtrlInfo(100, 1004, &ed));
    EXPECT_EQ(ed.alignment, 2);
    EXPECT_EQ(ed.textColor, 100u);
    EXPECT_EQ(ed.backgroundColor, 16777215u);

    COLORREF color = 0;
    ASSERT_TRUE(text.GetMainTextColor(100, 1007, &color));
    EXPECT_EQ(color, 123u);
    ASSERT_TRUE(text.GetBackgroundColor(100, 1007, &color));
    EXPECT_EQ(color, 456u);
}

TEST_F(TextRead, FontsAreClearedBeforeReading)
{
    LOGFONTA font;
    ASSERT_TRUE(text.GetFontInfo(100, 1001, &font));
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_EQ(font.lfPitchAndFamily, 34);
    EXPECT_STREQ(font.lfFaceName, "Tahoma");

    std::memset(&font, 0x55, sizeof(font));
    ASSERT_TRUE(text.GetFontInfo(100, 1007, &font));
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_EQ(font.lfItalic, 0) << "absent attributes read as 0";
    EXPECT_EQ(font.lfQuality, 0);

    std::memset(&font, 0x55, sizeof(font));
    EXPECT_FALSE(text.GetFontInfo(100, 1002, &font)) << "no QorFontInfo";
    EXPECT_EQ(font.lfHeight, 0);
    EXPECT_EQ(font.lfFaceName[0], '\0');
}

TEST_F(TextRead, TemplatesAreFoundByExactNameFirstInDocumentOrder)
{
    EXPECT_TRUE(text.ButtonTemplateExists("Shiny"));
    EXPECT_FALSE(text.ButtonTemplateExists("shiny"));
    EXPECT_TRUE(text.TransStaticTemplateExists("Label"));
    EXPECT_FALSE(text.TransStaticTemplateExists("Shiny"));

    QorButtonTextSettings s;
    ASSERT_TRUE(text.GetButtonTemplateInfo("Shiny", &s));
    EXPECT_EQ(s.textColor[0], 111u) << "the first of two templates named Shiny";
    QorTextColors c;
    ASSERT_TRUE(text.GetButtonTemplateTextColors("Shiny", &c));
    EXPECT_EQ(c.disabled[2], 666u);
    QorStaticTextSettings st;
    ASSERT_TRUE(text.GetStaticTemplateInfo("Label", &st));
    EXPECT_EQ(st.yOffset, 5);
    LOGFONTA font;
    ASSERT_TRUE(text.GetTemplateLogFontInfo(QorButtonTemplateKind, "Shiny", &font));
    EXPECT_STREQ(font.lfFaceName, "Verdana");

    bool uses = false;
    std::string name;
    ASSERT_TRUE(text.IsControlUsingTemplate(100, 1003, &uses, &name));
    EXPECT_TRUE(uses);
    EXPECT_EQ(name, "Shiny");
    ASSERT_TRUE(text.IsControlUsingTemplate(100, 1001, &uses, &name));
    EXPECT_FALSE(uses);
    EXPECT_FALSE(text.IsControlUsingTemplate(100, 4242, &uses, &name));
}

TEST_F(TextRead, MessageBoxTexts)
{
    IXMLDOMNode* element = nullptr;
    ASSERT_TRUE(text.GetQorMsgDlglNode(&element));
    std::string caption;
    EXPECT_TRUE(QorXML_API::GetXmlStringAttribute(element, "ID_RETRY_Caption", &caption));
    EXPECT_EQ(caption, "Retry");
    int color = 0;
    EXPECT_TRUE(QorXML_API::GetXmlIntAttribute(element, "CaptionTextColor", &color));
    EXPECT_EQ(color, 16777215);
    element->Release();
}

}  // namespace
