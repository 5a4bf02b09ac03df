// The skin file model on a small document: lookups, absent and empty attributes, templates,
// paths and the auxiliary bitmap list.
#include <gtest/gtest.h>
#include <objbase.h>

#include <cstring>

#include "QorControlTypes.h"
#include "QorXmlDom.h"
#include "ControlIndex.h"
#include "SkinFileModel.h"

using namespace skelda::skinfile;

namespace {

const char kSkin[] = R"(<?xml version="1.0"?>
<QorAppGraphics>
  <QorDlg DlgName="Main" DlgIdValue="130" DlgBitmapFile="bmp\main.bmp">
    <QorBtnControl ControlIdValue="007" ControlName="Seven"/>
    <QorBtnControl ControlIdValue="1001" ControlName="Record" ControlXOffset="10" ControlYOffset="12"
                   ControlXOffset3="30" ControlYOffset3="" GraphicsTemplate="Round"
                   ControlUpBitmapFile="own up.bmp" TransparentRadioHeight="9"/>
    <QorBtnControl ControlIdValue="1002" ControlName="Stop" GraphicsTemplate="Missing"
                   ControlUpBitmapFile="bmp\stop up.bmp" ControlDisabledBitmapFile3="bmp\stop off3.bmp"
                   TransparentRadioHeight="9" TransparentRadioWidth="40" TransparentRadioBtnLeftJustified="1"/>
    <QorTransStaticControl ControlIdValue="1003" ControlIsVisible="0"/>
    <QorSliderControl ControlIdValue="1004"/>
    <QorEditControl ControlIdValue="1005" ControlIsVisible="7"/>
    <QorGenericControl ControlIdValue="1006" ControlType="GenericComboBox"/>
    <QorEditControl ControlIdValue="1001"/>
    <QorAuxBitmapFilename BitmapFile="bmp\logo.bmp" EntryId="1" EntryName="Logo"/>
    <QorAuxBitmapFilename BitmapFile="bmp\nameless.bmp"/>
    <QorAuxBitmapFilename EntryId="3"/>
    <QorAuxBitmapFilename BitmapFile="bmp\empty id.bmp" EntryId=""/>
    <QorAuxBitmapFilename BitmapFile="bmp\icon.ico" EntryId="4"/>
  </QorDlg>
  <QorDlg DlgName="Main" DlgIdValue="999" DlgBitmapFile="second.bmp"/>
  <QorDlg DlgName="main" DlgIdValue="131"/>
  <QorMessageDlg DlgName="MessageBox" DlgIdValue="300"/>
  <QorTemplates><QorButtonTemplates>
    <QorButtonTemplate TemplateName="Round" ControlUpBitmapFile="round up.bmp" ControlFocusBitmapFile2="round f2.bmp"/>
  </QorButtonTemplates></QorTemplates>
</QorAppGraphics>)";

class SkinFileModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(SUCCEEDED(qorxml::CreateDocument(&document_)));
        ASSERT_TRUE(SUCCEEDED(qorxml::LoadFromBytes(document_.Get(), kSkin, std::strlen(kSkin))));
        ASSERT_TRUE(FindDialogByName(document_.Get(), "Main", &dialog_));
        ASSERT_TRUE(qorxml::SelectSingle(document_.Get(), "QorAppGraphics/QorTemplates/QorButtonTemplates/QorButtonTemplate",
                                         &round_));
    }
    void TearDown() override
    {
        round_.Reset();
        dialog_.Reset();
        document_.Reset();
        CoUninitialize();
    }
    TemplateLookup Templates()
    {
        return [this](const std::string& name) { return name == "Round" ? round_.Get() : nullptr; };
    }
    static std::string Text(IXMLDOMNode* node, const char* name)
    {
        std::string value;
        ReadText(node, name, &value);
        return value;
    }

    win::ComPtr<IXMLDOMDocument> document_;
    win::ComPtr<IXMLDOMNode> dialog_, round_;
    const PathContext paths_{"C:\\Skin\\", false};
};

}  // namespace

TEST_F(SkinFileModel, DuplicateDialogNamesTakeTheFirstAndNamesAreCaseSensitive)
{
    EXPECT_EQ(Text(dialog_.Get(), "DlgIdValue"), "130");
    win::ComPtr<IXMLDOMNode> other;
    ASSERT_TRUE(FindDialogByName(document_.Get(), "main", &other));
    EXPECT_EQ(Text(other.Get(), "DlgIdValue"), "131");
    EXPECT_FALSE(FindDialogByName(document_.Get(), "MAIN", &other));
    EXPECT_FALSE(FindDialogByName(document_.Get(), "MessageBox", &other)) << "the message box is not a QorDlg";
}

TEST_F(SkinFileModel, DialogsByIdentifierAndTheMessageBox)
{
    win::ComPtr<IXMLDOMNode> found;
    ASSERT_TRUE(FindDialogById(document_.Get(), 999, &found));
    EXPECT_EQ(Text(found.Get(), "DlgBitmapFile"), "second.bmp");
    EXPECT_FALSE(FindDialogById(document_.Get(), 300, &found));
    ASSERT_TRUE(FindMessageDialog(document_.Get(), &found));
    EXPECT_EQ(Text(found.Get(), "DlgName"), "MessageBox");
}

TEST_F(SkinFileModel, ControlsAreFoundOnTheDecimalTextOfTheirIdentifier)
{
    win::ComPtr<IXMLDOMNode> found;
    EXPECT_FALSE(FindButtonById(dialog_.Get(), 7, &found)) << "\"007\" is not 7";
    EXPECT_FALSE(FindControlById(dialog_.Get(), 7, &found));
    ASSERT_TRUE(FindButtonByName(dialog_.Get(), "Seven", &found));
    EXPECT_EQ(Text(found.Get(), "ControlIdValue"), "007");
    ASSERT_TRUE(FindButtonById(dialog_.Get(), 1002, &found));
    EXPECT_EQ(Text(found.Get(), "ControlName"), "Stop");
}

TEST_F(SkinFileModel, AnyControlIsSearchedAcrossTheFiveKindsInOrder)
{
    win::ComPtr<IXMLDOMNode> found;
    std::string tag;
    for (int id : {1003, 1004, 1005, 1006}) {
        EXPECT_TRUE(FindControlById(dialog_.Get(), id, &found)) << id;
    }
    ASSERT_TRUE(FindControlById(dialog_.Get(), 1001, &found));
    ASSERT_TRUE(qorxml::NodeName(found.Get(), &tag));
    EXPECT_EQ(tag, "QorBtnControl") << "buttons come before edits";
    ASSERT_TRUE(FindControlById(dialog_.Get(), 1006, &found));
    ASSERT_TRUE(qorxml::NodeName(found.Get(), &tag));
    EXPECT_EQ(tag, "QorGenericControl");
    EXPECT_FALSE(FindControlById(dialog_.Get(), kSharedControlEntryId, &found));
    EXPECT_FALSE(FindControlById(nullptr, 1001, &found));
}

TEST_F(SkinFileModel, AbsentAndEmptyAttributesKeepTheDefault)
{
    win::ComPtr<IXMLDOMNode> button;
    ASSERT_TRUE(FindButtonById(dialog_.Get(), 1001, &button));
    int value = -5;
    EXPECT_FALSE(ReadInt(button.Get(), "ControlYOffset3", &value));
    EXPECT_FALSE(ReadInt(button.Get(), "NoSuchAttribute", &value));
    EXPECT_EQ(value, -5);
    EXPECT_TRUE(ReadInt(button.Get(), "ControlXOffset3", &value));
    EXPECT_EQ(value, 30);
}

TEST_F(SkinFileModel, ATemplateSuppliesTheBitmapsAndTheButtonItsPositions)
{
    win::ComPtr<IXMLDOMNode> button;
    ASSERT_TRUE(FindButtonById(dialog_.Get(), 1001, &button));
    ButtonDataStruct data;
    ReadButtonData(button.Get(), Templates(), paths_, false, &data);
    EXPECT_TRUE(data.usingTemplate);
    EXPECT_EQ(data.controlName, "Record");
    EXPECT_EQ(data.templateName, "Round");
    EXPECT_EQ(data.bitmapFiles[0], "C:\\Skin\\round up.bmp") << "not the button's own up bitmap";
    EXPECT_EQ(data.bitmapFiles[2 + 4 * 2], "C:\\Skin\\round f2.bmp") << "focus of identity 2";
    EXPECT_EQ(data.bitmapFiles[1], "");
    EXPECT_EQ(data.x[0], 10);
    EXPECT_EQ(data.y[0], 12);
    EXPECT_EQ(data.x[2], 30);
    EXPECT_EQ(data.y[2], 0);
    EXPECT_EQ(data.transparentRadioHeight, 0) << "read only for transparent radio kinds";
}

TEST_F(SkinFileModel, AMissingTemplateFallsBackToTheButtonsOwnBitmaps)
{
    win::ComPtr<IXMLDOMNode> button;
    ASSERT_TRUE(FindButtonById(dialog_.Get(), 1002, &button));
    ButtonDataStruct data;
    ReadButtonData(button.Get(), Templates(), paths_, true, &data);
    EXPECT_FALSE(data.usingTemplate);
    EXPECT_EQ(data.templateName, "Missing");
    EXPECT_EQ(data.bitmapFiles[0], "C:\\Skin\\bmp\\stop up.bmp");
    EXPECT_EQ(data.bitmapFiles[3 + 4 * 3], "C:\\Skin\\bmp\\stop off3.bmp");
    EXPECT_EQ(data.transparentRadioHeight, 9);
    EXPECT_EQ(data.transparentRadioWidth, 40);
    EXPECT_TRUE(data.transparentRadioBtnLeftJustified);
    EXPECT_FALSE(data.transparentRadioTextLeftJustified);
}

TEST_F(SkinFileModel, StoredPathsFromAResourceLibraryStayResourceNames)
{
    win::ComPtr<IXMLDOMNode> button;
    ASSERT_TRUE(FindButtonById(dialog_.Get(), 1002, &button));
    ButtonDataStruct data;
    ReadButtonData(button.Get(), Templates(), PathContext{"", true}, false, &data);
    EXPECT_EQ(data.bitmapFiles[0], "bmp\\stop up.bmp");
    std::string outside = "D:\\elsewhere\\x.bmp";
    EXPECT_FALSE(ResolveStoredPath("C:\\Skin\\", false, &outside)) << "absolute outside the skin folder";
}

TEST_F(SkinFileModel, AuxiliaryBitmapsNeedBothTheFileAndTheEntryId)
{
    const auto entries = ReadAuxBitmapEntries(dialog_.Get(), paths_);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].entryId, 1);
    EXPECT_EQ(entries[0].entryName, "Logo");
    EXPECT_EQ(entries[0].path, "C:\\Skin\\bmp\\logo.bmp");
    EXPECT_EQ(entries[1].entryId, 4);
    EXPECT_EQ(entries[1].entryName, "");
}

TEST_F(SkinFileModel, VisibilityIsHiddenOnlyByZero)
{
    win::ComPtr<IXMLDOMNode> control;
    bool visible = true;
    ASSERT_TRUE(FindControlById(dialog_.Get(), 1003, &control));
    EXPECT_TRUE(ReadBool(control.Get(), "ControlIsVisible", &visible));
    EXPECT_FALSE(visible);
    ASSERT_TRUE(FindControlById(dialog_.Get(), 1005, &control));
    EXPECT_TRUE(ReadBool(control.Get(), "ControlIsVisible", &visible));
    EXPECT_TRUE(visible);
    EXPECT_TRUE(ReadControlIsVisible(nullptr)) << "absent means visible";
}

TEST(SkinFileModelNames, ControlTypeDisplayNames)
{
    EXPECT_EQ(ControlTypeDisplayName(0), "Button");
    EXPECT_EQ(ControlTypeDisplayName(1), "TransparentStatic");
    EXPECT_EQ(ControlTypeDisplayName(26), "Generic Placement Control");
    EXPECT_EQ(ControlTypeDisplayName(2), " <Unknown>");
    EXPECT_EQ(ControlTypeDisplayName(20), " <Unknown>");
}

// The one-walk index answers every lookup as the document search does, on the test skin and
// on a dialog whose kinds and duplicates come in an awkward order.
TEST_F(SkinFileModel, ControlIndexAnswersAsTheDocumentSearch)
{
    const char kOrder[] = R"(<QorDlg DlgName="Order">
      <QorGenericControl ControlIdValue="20" ControlName="generic first"/>
      <QorEditControl ControlIdValue="20" ControlName="edit"/>
      <QorBtnControl ControlIdValue="20" ControlName="button last"/>
      <QorBtnControl ControlIdValue="21" ControlName="first button"/>
      <QorBtnControl ControlIdValue="21" ControlName="second button"/>
      <QorAuxBitmapFilename ControlIdValue="22" BitmapFile="x.bmp" EntryId="1"/>
      <QorStretchDlgData ControlIdValue="23"/>
      <QorSliderControl ControlIdValue=""/>
      <QorTransStaticControl ControlIdValue="-4"/>
    </QorDlg>)";
    win::ComPtr<IXMLDOMDocument> other;
    ASSERT_TRUE(SUCCEEDED(qorxml::CreateDocument(&other)));
    ASSERT_TRUE(SUCCEEDED(qorxml::LoadFromBytes(other.Get(), kOrder, std::strlen(kOrder))));
    win::ComPtr<IXMLDOMNode> order;
    ASSERT_TRUE(qorxml::SelectSingle(other.Get(), "QorDlg", &order));

    struct Case {
        IXMLDOMNode* dialog;
        int id;
    };
    const Case cases[] = {{dialog_.Get(), 7},    {dialog_.Get(), 1001}, {dialog_.Get(), 1002}, {dialog_.Get(), 1003},
                          {dialog_.Get(), 1004}, {dialog_.Get(), 1005}, {dialog_.Get(), 1006}, {dialog_.Get(), 1007},
                          {dialog_.Get(), 0},    {order.Get(), 20},     {order.Get(), 21},     {order.Get(), 22},
                          {order.Get(), 23},     {order.Get(), 0},      {order.Get(), -4}};
    const ControlIndex main(dialog_.Get()), awkward(order.Get());
    for (const Case& c : cases) {
        const ControlIndex& index = c.dialog == dialog_.Get() ? main : awkward;
        win::ComPtr<IXMLDOMNode> searched, indexed;
        std::string tag, indexedTag;
        const bool found = FindControlById(c.dialog, c.id, &searched);
        ASSERT_EQ(index.Find(c.id, &indexed, &indexedTag), found) << c.id;
        if (!found)
            continue;
        ASSERT_TRUE(qorxml::NodeName(searched.Get(), &tag));
        EXPECT_EQ(indexedTag, tag) << c.id;
        EXPECT_EQ(Text(indexed.Get(), "ControlName"), Text(searched.Get(), "ControlName")) << c.id;
        EXPECT_EQ(Text(indexed.Get(), "ControlIdValue"), Text(searched.Get(), "ControlIdValue")) << c.id;
    }
    std::string tag;
    win::ComPtr<IXMLDOMNode> found;
    ASSERT_TRUE(awkward.Find(20, &found, &tag));
    EXPECT_EQ(tag, "QorBtnControl") << "a button wins over kinds before it in the document";
    ASSERT_TRUE(awkward.Find(21, &found));
    EXPECT_EQ(Text(found.Get(), "ControlName"), "first button");
    EXPECT_FALSE(awkward.Find(22, &found)) << "only control elements count";
    EXPECT_EQ(ControlIndex(nullptr).Size(), 0u);
}
