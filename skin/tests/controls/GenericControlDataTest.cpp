// The generic controls' skin entries on a small document: type names, placement, the
// placement control's child and damaged values, and writing an entry back.
#include <gtest/gtest.h>
#include <objbase.h>

#include <cstring>

#include "GenericControlData.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"

using namespace skelda::controls;

namespace {

const char kSkin[] = R"(<?xml version="1.0"?>
<QorAppGraphics>
  <QorDlg DlgName="Main" DlgIdValue="130">
    <QorGenericControl ControlIdValue="1" ControlType="GenericComboBox" ControlXOffset="12" ControlYOffset="34"
                       ControlWidth="150" ControlHeight="200" ControlIsVisible="0"/>
    <QorGenericControl ControlIdValue="2" ControlType="GenericPlacementControl" ChildControlId="1000"
                       ControlXOffset="5" ControlYOffset=""/>
    <QorGenericControl ControlIdValue="3" ControlType="GenericPlacementControl" ChildControlId="NONE"
                       ControlWidth="-4" ControlHeight="20"/>
    <QorGenericControl ControlIdValue="4" ChildControlId="junk"/>
    <QorGenericControl ControlIdValue="5" ChildControlId="-3" ControlWidth="30"/>
  </QorDlg>
</QorAppGraphics>)";

class GenericControlDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(SUCCEEDED(qorxml::CreateDocument(&document_)));
        ASSERT_TRUE(SUCCEEDED(qorxml::LoadFromBytes(document_.Get(), kSkin, std::strlen(kSkin))));
        ASSERT_TRUE(skelda::skinfile::FindDialogByName(document_.Get(), "Main", &dialog_));
    }
    void TearDown() override
    {
        dialog_.Reset();
        document_.Reset();
        CoUninitialize();
    }
    GenericControlData Read(int id)
    {
        win::ComPtr<IXMLDOMNode> element;
        EXPECT_TRUE(skelda::skinfile::FindControlById(dialog_.Get(), id, &element));
        GenericControlData data;
        data.childControlId = 77;  // reading starts from the defaults
        ReadGenericControl(element.Get(), &data);
        return data;
    }

    win::ComPtr<IXMLDOMDocument> document_;
    win::ComPtr<IXMLDOMNode> dialog_;
};

}  // namespace

TEST(GenericControlTypes, NamesAndCodesGoBothWays)
{
    for (int type = eQorGenericComboBox; type <= eQorGenericPlacementControl; ++type)
        EXPECT_EQ(type, GenericTypeFromName(GenericTypeName(type))) << type;
    EXPECT_EQ("GenericSpinButton", GenericTypeName(eQorGenericSpinControl));
    EXPECT_EQ("", GenericTypeName(eQorGenericFirst));
    EXPECT_EQ("", GenericTypeName(eQorSlider));
    EXPECT_EQ(-1, GenericTypeFromName("genericcombobox"));
    EXPECT_EQ(-1, GenericTypeFromName(""));
}

TEST(GenericControlTypes, TheSkinsTypeDecidesTheWrapperAndTheWindowClassStandsInWithoutOne)
{
    // The skin's word wins over the template's window: a frame drawn as a static, or a
    // slider the skin calls a progress bar, binds as the skin says.
    EXPECT_EQ(eQorGenericPlacementControl, GenericKindToBind("GenericPlacementControl", "Static"));
    EXPECT_EQ(eQorGenericProgressBar, GenericKindToBind("GenericProgressBar", "msctls_trackbar32"));
    EXPECT_EQ(eQorGenericSpinControl, GenericKindToBind("GenericSpinButton", ""));
    // Without a type, or with one no kind answers to, the window class decides, in any case.
    EXPECT_EQ(eQorGenericComboBox, GenericKindToBind("", "ComboBox"));
    EXPECT_EQ(eQorGenericComboBox, GenericKindToBind("", "COMBOBOX"));
    EXPECT_EQ(eQorGenericProgressBar, GenericKindToBind("GenericGauge", "msctls_progress32"));
    EXPECT_EQ(eQorGenericSlider, GenericKindToBind("", "msctls_trackbar32"));
    EXPECT_EQ(eQorGenericListControl, GenericKindToBind("", "SysListView32"));
    EXPECT_EQ(eQorGenericSpinControl, GenericKindToBind("", "msctls_updown32"));
    EXPECT_EQ(eQorGenericPlacementControl, GenericKindToBind("", "button"));
    // Neither says: nothing is bound. A class name is matched whole.
    EXPECT_EQ(-1, GenericKindToBind("", "Static"));
    EXPECT_EQ(-1, GenericKindToBind("genericcombobox", "Edit"));
    EXPECT_EQ(-1, GenericKindToBind("", "ComboBoxEx32"));
    EXPECT_EQ(-1, GenericKindToBind("", "Combo"));
    EXPECT_EQ(-1, GenericKindToBind("", ""));
}

TEST_F(GenericControlDataTest, ReadsPlacementVisibilityAndType)
{
    const GenericControlData combo = Read(1);
    EXPECT_TRUE(combo.hasPosition);
    EXPECT_TRUE(combo.hasSize);
    EXPECT_EQ(12, combo.x);
    EXPECT_EQ(34, combo.y);
    EXPECT_EQ(150, combo.width);
    EXPECT_EQ(200, combo.height);
    EXPECT_FALSE(combo.visible);
    EXPECT_EQ("GenericComboBox", combo.typeName);
    EXPECT_EQ(0, combo.childControlId);
}

TEST_F(GenericControlDataTest, HalfAPlacementOrANegativeSizeIsIgnored)
{
    const GenericControlData half = Read(2);
    EXPECT_FALSE(half.hasPosition);  // an empty offset counts as absent
    EXPECT_FALSE(half.hasSize);
    EXPECT_TRUE(half.visible);
    const GenericControlData negative = Read(3);
    EXPECT_FALSE(negative.hasSize);
    EXPECT_FALSE(Read(5).hasSize);  // width without height
}

TEST_F(GenericControlDataTest, ChildIsAnIdOrNone)
{
    EXPECT_EQ(1000, Read(2).childControlId);
    EXPECT_EQ(0, Read(3).childControlId);
    EXPECT_EQ(0, Read(4).childControlId);
    EXPECT_EQ(0, Read(5).childControlId);
}

TEST_F(GenericControlDataTest, WrittenEntryReadsBackTheSame)
{
    win::ComPtr<IXMLDOMNode> element;
    ASSERT_TRUE(qorxml::AppendChildElement(dialog_.Get(), "QorGenericControl", &element));
    GenericControlData data;
    data.x = -5;
    data.y = 7;
    data.width = 40;
    data.height = 22;
    data.visible = false;
    data.childControlId = 1732;
    ASSERT_TRUE(WriteGenericControl(element.Get(), eQorGenericPlacementControl, 1731, data));
    const GenericControlData back = Read(1731);
    EXPECT_TRUE(back.hasPosition && back.hasSize);
    EXPECT_EQ(-5, back.x);
    EXPECT_EQ(7, back.y);
    EXPECT_EQ(40, back.width);
    EXPECT_EQ(22, back.height);
    EXPECT_FALSE(back.visible);
    EXPECT_EQ("GenericPlacementControl", back.typeName);
    EXPECT_EQ(1732, back.childControlId);

    // Without a child a placement control writes "NONE"; other kinds write no child at all.
    data.childControlId = 0;
    ASSERT_TRUE(WriteGenericControl(element.Get(), eQorGenericPlacementControl, 1731, data));
    std::string child;
    ASSERT_TRUE(qorxml::GetAttribute(element.Get(), "ChildControlId", &child));
    EXPECT_EQ("NONE", child);
    win::ComPtr<IXMLDOMNode> list;
    ASSERT_TRUE(qorxml::AppendChildElement(dialog_.Get(), "QorGenericControl", &list));
    ASSERT_TRUE(WriteGenericControl(list.Get(), eQorGenericListControl, 1589, data));
    EXPECT_FALSE(skelda::skinfile::ReadText(list.Get(), "ChildControlId", &child));
    EXPECT_FALSE(WriteGenericControl(nullptr, eQorGenericListControl, 1, data));
}
