// Editing the text document: new control elements, colours, fonts, templates and saving.
#include <gtest/gtest.h>

#include <cstring>

#include "EngineTestSupport.h"
#include "QorText_API.h"
#include "TextDocumentTest.h"
#include "QorXML_API.h"
#include "QorXmlDom.h"

using namespace enginetest;

namespace {

class TextEdit : public TextDocumentTest {
protected:
    TextEdit() : TextDocumentTest("TextEditNoKey") {}
};

TEST_F(TextEdit, AddControlNodeMakesEveryKindWithDefaults)
{
    EXPECT_FALSE(text.TextChanged());
    for (int kind = QorTextButton; kind <= QorTextGenericWithTextInfo; ++kind) {
        IXMLDOMNode* element = nullptr;
        ASSERT_TRUE(text.AddControlNode(100, 2000 + kind, &element, kind, "New" + std::to_string(kind))) << kind;
        std::string tag, name;
        QorXML_API::GetXmlElementTagName(element, &tag);
        QorXML_API::GetXmlStringAttribute(element, "ControlName", &name);
        EXPECT_EQ(name, "New" + std::to_string(kind));
        element->Release();
        std::string caption = "x";
        EXPECT_TRUE(text.GetControlCaptionText(100, 2000 + kind, &caption)) << tag << ": the element exists";
        EXPECT_EQ(caption, "");
    }
    EXPECT_TRUE(text.TextChanged());

    QorButtonTextSettings s;
    EXPECT_TRUE(text.GetButtonCtrlInfo(100, 2000, &s)) << "a new button has every setting";
    QorTextColors c;
    EXPECT_TRUE(text.GetCtrlTextColors(100, 2000, &c));
    QorStaticTextSettings st;
    EXPECT_TRUE(text.GetStaticCtrlInfo(100, 2002, &st));
    QorEditTextSettings ed;
    EXPECT_TRUE(text.GetEditCtrlInfo(100, 2001, &ed));
    LOGFONTA font;
    ASSERT_TRUE(text.GetFontInfo(100, 2005, &font));
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");

    IXMLDOMNode* element = nullptr;
    EXPECT_FALSE(text.AddControlNode(100, 2010, &element, 6, "BadKind"));
    ASSERT_TRUE(text.AddControlNode(777, 1, &element, QorTextSlider, "InANewDialog"));
    element->Release();
    std::string tooltip = "x";
    EXPECT_TRUE(text.GetSliderControlTooltip(777, 1, &tooltip));
}

TEST_F(TextEdit, MainTextColorAndFonts)
{
    ASSERT_TRUE(text.SetMainTextColor(100, 1001, 0x123456));
    COLORREF color = 0;
    ASSERT_TRUE(text.GetMainTextColor(100, 1001, &color));
    EXPECT_EQ(color, 0x123456u);
    EXPECT_FALSE(text.SetMainTextColor(100, 4242, 1));

    IXMLDOMNode* fontElement = nullptr;
    ASSERT_TRUE(text.GetControlFontInfo(100, 1001, &fontElement));
    LOGFONTA font{};
    font.lfHeight = -20;
    font.lfWeight = 600;
    font.lfCharSet = 238;
    std::memset(font.lfFaceName, 'W', LF_FACESIZE);  // no terminator: at most 31 characters are kept
    ASSERT_TRUE(text.SetLogFontInfo(fontElement, font));
    LOGFONTA back;
    ASSERT_TRUE(text.GetLogFontInfo(fontElement, &back));
    fontElement->Release();
    EXPECT_EQ(back.lfHeight, -20);
    EXPECT_EQ(back.lfCharSet, 238);
    EXPECT_EQ(std::string(back.lfFaceName), std::string(31, 'W'));
}

TEST_F(TextEdit, TemplatesAddCopyAndEdit)
{
    EXPECT_FALSE(text.AddButtonTemplateNode("Shiny")) << "names are unique";
    EXPECT_FALSE(text.AddButtonTemplateNode(""));
    ASSERT_TRUE(text.AddButtonTemplateNode("Fresh"));
    ASSERT_TRUE(text.AddStaticTemplateNode("FreshLabel"));
    EXPECT_TRUE(text.ButtonTemplateExists("Fresh"));
    EXPECT_TRUE(text.TransStaticTemplateExists("FreshLabel"));
    QorButtonTextSettings s;
    ASSERT_TRUE(text.GetButtonTemplateInfo("Fresh", &s));

    ASSERT_TRUE(text.CopyButtonButtonSettingsToTemplateVals(100, 1001, "FromRecord"));
    ASSERT_TRUE(text.GetButtonTemplateInfo("FromRecord", &s));
    EXPECT_EQ(s.xOffsetDisabled, 7);
    LOGFONTA font;
    ASSERT_TRUE(text.GetTemplateLogFontInfo(QorButtonTemplateKind, "FromRecord", &font));
    EXPECT_STREQ(font.lfFaceName, "Tahoma");

    s.xOffsetUp = 42;
    ASSERT_TRUE(text.EditTemplate("FromRecord", s));
    ASSERT_TRUE(text.CopyButtonTemplateValsToButtonSettingsForApp("FromRecord", 100, 1003));
    QorButtonTextSettings play;
    ASSERT_TRUE(text.GetButtonCtrlInfo(100, 1003, &play)) << "the copy fills the missing attributes";
    EXPECT_EQ(play.xOffsetUp, 42);
    EXPECT_FALSE(text.CopyButtonTemplateValsToButtonSettingsForApp("NoSuchTemplate", 100, 1003));

    ASSERT_TRUE(text.SetControlToNotUseTextTemplate(100, 1003));
    bool uses = true;
    std::string name;
    ASSERT_TRUE(text.IsControlUsingTemplate(100, 1003, &uses, &name));
    EXPECT_FALSE(uses);

    LOGFONTA bold{};
    bold.lfWeight = 800;
    ASSERT_TRUE(text.SetTemplateLogFontInfo(QorStaticTemplateKind, "Label", bold));
    ASSERT_TRUE(text.GetTemplateLogFontInfo(QorStaticTemplateKind, "Label", &font));
    EXPECT_EQ(font.lfWeight, 800);
}

TEST_F(TextEdit, SaveCurrentWorkReportsSuccessAndFailure)
{
    ASSERT_TRUE(text.SetMainTextColor(100, 1001, 99));
    const std::string target = OutputDirFile("edited-text");
    ui.saveAnswer = target;
    ASSERT_TRUE(text.SaveCurrentWork());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Work saved to " + target + ".xml successfully");
    EXPECT_FALSE(text.TextChanged());

    QorText_API reopened;
    ASSERT_TRUE(reopened.OpenTextFile("TextEditNoKey", target + ".xml", 1033));
    COLORREF color = 0;
    ASSERT_TRUE(reopened.GetMainTextColor(100, 1001, &color));
    EXPECT_EQ(color, 99u);

    ui.messages.clear();
    ui.saveAnswer = DataDir() + "no\\such\\folder\\x.xml";
    EXPECT_FALSE(reopened.SaveCurrentWork());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Error saving to:  " + ui.saveAnswer + "\r\r    Make sure the file is not write protected.");
    EXPECT_EQ(ui.messages[0].caption, "File Save Error");

    ui.messages.clear();
    ui.saveAnswer.clear();
    EXPECT_FALSE(reopened.SaveCurrentWork()) << "cancelled";
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace

TEST_F(TextEdit, TheWholeDialogsValuesGiveEveryControlWithoutATemplateOneColourAndFont)
{
    QorDialogTextValues values;
    EXPECT_FALSE(text.GetDialogTextValues(4242, &values)) << "a dialog the file does not have";
    ASSERT_TRUE(text.GetDialogTextValues(100, &values));
    // Proposed from the first control that has them: the record button.
    EXPECT_EQ(values.name, "MainDialog");
    EXPECT_EQ(values.colour, 255u);
    EXPECT_EQ(values.face, "Tahoma");
    EXPECT_EQ(values.size, 13);

    values.setColour = values.setFont = true;
    values.colour = RGB(0, 128, 0);
    values.face = "Arial";
    ASSERT_TRUE(text.SetDialogTextValues(100, values));
    QorTextColors colours;
    ASSERT_TRUE(text.GetCtrlTextColors(100, 1001, &colours));
    EXPECT_EQ(colours.down[0], RGB(0, 128, 0)) << "every state that shows the main colour";
    EXPECT_EQ(colours.disabled[0], 8421504u) << "a disabled caption keeps its own colour";
    LOGFONTA font{};
    ASSERT_TRUE(text.GetFontInfo(100, 1001, &font));
    EXPECT_EQ(font.lfPitchAndFamily, 34) << "what the dialog does not set stays";
    // A button that had no colours gets the whole set, so that it draws the new one.
    ASSERT_TRUE(text.GetCtrlTextColors(100, 1008, &colours));
    EXPECT_EQ(colours.text[0], RGB(0, 128, 0));
    QorEditTextSettings edit;
    text.GetEditCtrlInfo(100, 1004, &edit);
    EXPECT_EQ(edit.textColor, RGB(0, 128, 0)) << "an edit's colour is \"TextColor\"";
    COLORREF templated = 0;
    text.GetMainTextColor(100, 1003, &templated);
    EXPECT_NE(templated, RGB(0, 128, 0)) << "a control using a template is left to it";
}

TEST_F(TextEdit, TheMessageBoxsOwnMessageFontFollowsTheDialogsFont)
{
    QorDialogTextValues values;
    ASSERT_TRUE(text.GetDialogTextValues(99, &values));
    ASSERT_TRUE(values.messageBox);
    values.setFont = true;
    values.face = "Arial";
    values.size = 15;
    values.bold = true;
    ASSERT_TRUE(text.SetDialogTextValues(99, values));

    win::ComPtr<IXMLDOMNode> box, fontElement;
    ASSERT_TRUE(text.GetQorMsgDlglNode(box.Put()));
    ASSERT_TRUE(qorxml::SelectSingle(box.Get(), "QorFontInfo", &fontElement)) << "the box draws its message in it";
    LOGFONTA font{};
    ASSERT_TRUE(text.GetLogFontInfo(fontElement.Get(), &font));
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(font.lfHeight, -15);
    EXPECT_EQ(font.lfWeight, FW_BOLD);

    values.setFont = false;
    values.face = "Courier New";
    ASSERT_TRUE(text.SetDialogTextValues(99, values));
    ASSERT_TRUE(text.GetLogFontInfo(fontElement.Get(), &font));
    EXPECT_STREQ(font.lfFaceName, "Arial") << "a font not asked for is not given";
}
