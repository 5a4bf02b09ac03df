// The skinned control tests' skin.
#include "ControlTestSkin.h"

#include <fstream>

#include "ControlTestIds.h"
#include "TestSkin.h"

namespace controltest {

namespace {

std::string N(long value)
{
    return std::to_string(value);
}

// A button's text settings and colours: the caption centred, in the caption colour for every
// state, without three-dimensional copies.
std::string ButtonText()
{
    std::string text = R"(CenterTextHorizontally="1" CenterTextVertically="1" ThreeD="0" Indented="0" UseHilite="0" UseShadow="0")";
    for (const char* offset : {"XoffsetUp", "YoffsetUp", "XoffsetDown", "YoffsetDown", "XoffsetFocus", "YoffsetFocus",
                               "XoffsetDisabled", "YoffsetDisabled"})
        text += std::string(" ") + offset + R"(="0")";
    for (const char* state : {"", "Down", "Focus", "Disabled"})
        for (int i = 1; i <= 3; ++i)
            text += " " + std::string(state) + "TextColor" + N(i) + "=\"" + N(kCaptionColour) + "\"";
    return text;
}

std::string EditText(bool centred)
{
    return R"(Allignment="0" CenterTextHorizontally="0" CenterTextVertically=")" + N(centred ? 1 : 0) +
           R"(" TextColor=")" + N(kEditText) + R"(" DisabledTextColor="0" BackgroundColor=")" + N(kEditBackground) + "\"";
}

std::string Graphics()
{
    return R"(<?xml version="1.0" encoding="windows-1252"?>
<QorAppGraphics>
  <QorDlg DlgName="ControlsDialog" DlgIdValue=")" + N(IDD_CONTROLS_TEST) + R"(" DlgBitmapFile="face.bmp">
    <QorBtnControl ControlIdValue=")" + N(IDC_SKIN_BUTTON) + R"(" ControlName="Skin" ControlXOffset="10" ControlYOffset="10"
      ControlUpBitmapFile="btn_up.bmp" ControlDownBitmapFile="btn_down.bmp" ControlFocusBitmapFile="btn_focus.bmp"
      ControlDisabledBitmapFile="btn_disabled.bmp"/>
    <QorBtnControl ControlIdValue=")" + N(IDC_BROKEN_BUTTON) + R"(" ControlName="Broken" ControlXOffset="10" ControlYOffset="40"
      ControlUpBitmapFile="nothere.bmp" ControlDownBitmapFile="garbage.bmp"/>
    <QorBtnControl ControlIdValue=")" + N(IDC_MIXED_BUTTON) + R"(" ControlName="Mixed" ControlXOffset="10" ControlYOffset="70"
      ControlUpBitmapFile="btn_up.bmp" ControlDownBitmapFile="small.bmp" ControlFocusBitmapFile="large.bmp"/>
    <QorSliderControl ControlIdValue=")" + N(IDC_SKIN_SLIDER) + R"(" ControlName="Slider" ControlXOffset="10" ControlYOffset="110"
      ControlWidth=")" + N(kChannelWidth) + R"(" ControlHeight=")" + N(kChannelHeight) + R"("
      ThumbUpBitmapFile="thumb_up.bmp" ThumbDownBitmapFile="thumb_down.bmp" ThumbFocusBitmapFile="thumb_focus.bmp"
      ThumbDisabledBitmapFile="thumb_disabled.bmp" ThumbShadowBitmapFile="shadow.bmp" BackgroundBitmapFile="channel.bmp"
      BackgroundLeftBitmapFile="filled.bmp" ThumbShadowLeftOffset=")" + N(kShadowLeft) + R"(" ThumbShadowRightOffset=")" +
           N(kShadowDown) + R"(" ThumbTopOffset="0" PositionToHitPoint="1"/>
    <QorSliderControl ControlIdValue=")" + N(IDC_BROKEN_SLIDER) + R"(" ControlName="Broken slider" ControlXOffset="10"
      ControlYOffset="140" ControlWidth="200" ControlHeight="20" ThumbUpBitmapFile="nothere.bmp"
      ThumbDownBitmapFile="large.bmp" BackgroundBitmapFile="garbage.bmp" BackgroundLeftBitmapFile="small.bmp"
      ThumbShadowLeftOffset="-400" ThumbShadowRightOffset="900" ThumbTopOffset="-50"/>
    <QorEditControl ControlIdValue=")" + N(IDC_SKIN_EDIT) + R"(" ControlName="Edit" ControlXOffset="10" ControlYOffset="170"
      Width="100" Height="20" BackgroundStyle="0" BackgroundColor=")" + N(kComboBackground) + R"("
      DrawBorder="1" BackgroundBitmapFile="editbg.bmp"/>
    <QorGenericControl ControlIdValue=")" + N(IDC_GENERIC_COMBO) + R"(" ControlType="GenericComboBox" ControlXOffset="230"
      ControlYOffset="10" ControlWidth="150" ControlHeight="120"/>
    <QorGenericControl ControlIdValue=")" + N(IDC_GENERIC_PROGRESS) + R"(" ControlType="GenericProgressBar" ControlXOffset="230"
      ControlYOffset="40" ControlWidth="150" ControlHeight="12"/>
    <QorGenericControl ControlIdValue=")" + N(IDC_GENERIC_SLIDER) + R"(" ControlType="GenericSlider" ControlXOffset="230"
      ControlYOffset="60" ControlWidth="150" ControlHeight="26"/>
    <QorGenericControl ControlIdValue=")" + N(IDC_GENERIC_LIST) + R"(" ControlType="GenericListControl" ControlXOffset="230"
      ControlYOffset="90" ControlWidth="150" ControlHeight="80"/>
    <QorGenericControl ControlIdValue=")" + N(IDC_GENERIC_SPIN) + R"(" ControlType="GenericSpinButton" ControlXOffset="230"
      ControlYOffset="175" ControlWidth="14" ControlHeight="22" ControlIsVisible="0"/>
    <QorGenericControl ControlIdValue=")" + N(IDC_PLACEMENT) + R"(" ControlType="GenericPlacementControl" ControlXOffset="260"
      ControlYOffset="200" ControlWidth="120" ControlHeight="60" ChildControlId=")" + N(IDC_PLACED_CHILD) + R"("/>
    <QorGenericControl ControlIdValue=")" + N(IDC_PLACEMENT_NONE) + R"(" ControlType="GenericPlacementControl" ControlXOffset="20"
      ControlYOffset="210" ControlWidth="50" ControlHeight="30" ChildControlId="NONE"/>
    <QorGenericControl ControlIdValue=")" + N(IDC_PLAIN_COMBO) + R"(" ControlType="GenericComboBox" ControlXOffset="100"
      ControlYOffset="210" ControlWidth="100" ControlHeight="100"/>
  </QorDlg>
  <QorDlg DlgName="ControlSetDialog" DlgIdValue=")" + N(IDD_CONTROL_SET_TEST) + R"(" DlgBitmapFile="face.bmp">
    <QorBtnControl ControlIdValue=")" + N(IDC_SET_TEMPLATE_BUTTON) + R"(" ControlName="Template" ControlXOffset="10"
      ControlYOffset="10" ControlUpBitmapFile="big_up.bmp"/>
    <QorBtnControl ControlIdValue=")" + N(IDC_SET_PLAIN_BUTTON) + R"(" ControlName="Plain" ControlXOffset="140"
      ControlYOffset="10" ControlUpBitmapFile="big_up.bmp"/>
    <QorEditControl ControlIdValue=")" + N(IDC_SET_CENTRED_EDIT) + R"(" ControlName="Centred" ControlXOffset="10"
      ControlYOffset="60" Width=")" + N(kEditWidth) + R"(" Height=")" + N(kEditHeight) + R"(" BackgroundStyle="0"
      BackgroundColor=")" + N(kEditBackground) + R"("/>
    <QorEditControl ControlIdValue=")" + N(IDC_SET_TOP_EDIT) + R"(" ControlName="Top" ControlXOffset="140"
      ControlYOffset="60" Width=")" + N(kEditWidth) + R"(" Height=")" + N(kEditHeight) + R"(" BackgroundStyle="0"
      BackgroundColor=")" + N(kEditBackground) + R"("/>
    <QorGenericControl ControlIdValue=")" + N(IDC_SET_FRAME) + R"(" ControlType="GenericPlacementControl"
      ControlXOffset=")" + N(kFrameRect.left) + R"(" ControlYOffset=")" + N(kFrameRect.top) + R"("
      ControlWidth=")" + N(kFrameRect.right - kFrameRect.left) + R"(" ControlHeight=")" +
           N(kFrameRect.bottom - kFrameRect.top) + R"(" ChildControlId="NONE"/>
    <QorGenericControl ControlIdValue=")" + N(IDC_SET_COMBO) + R"(" ControlXOffset="140" ControlYOffset="110"
      ControlWidth="120" ControlHeight="100"/>
    <QorGenericControl ControlIdValue=")" + N(IDC_SET_GAUGE) + R"(" ControlType="GenericGauge" ControlXOffset="10"
      ControlYOffset="170" ControlWidth="120" ControlHeight="12"/>
    <QorGenericControl ControlIdValue=")" + N(IDC_SET_LABEL) + R"(" ControlXOffset="140" ControlYOffset="170"
      ControlWidth="60" ControlHeight="14"/>
  </QorDlg>
  <QorMessageDlg DlgName="MessageBox" DlgIdValue="300" DlgBitmapFile="face.bmp"/>
  <QorTemplates><QorButtonTemplates/></QorTemplates>
</QorAppGraphics>
)";
}

std::string Text()
{
    return R"(<?xml version="1.0" encoding="windows-1252"?>
<QorAppText>
  <QorDlg DlgName="ControlsDialog" DlgIdValue=")" + N(IDD_CONTROLS_TEST) + R"(">
    <QorBtnControl ControlId=")" + N(IDC_SKIN_BUTTON) + R"(" ControlName="Skin" Caption="Skin" ToolTipText="Skinned"
      Caption1="Stop" ToolTipText1="Stops it" Caption2="" ToolTipText2=""/>
    <QorBtnControl ControlId=")" + N(IDC_MIXED_BUTTON) + R"(" ControlName="Mixed" Caption="Mixed"/>
    <QorSliderControl ControlId=")" + N(IDC_SKIN_SLIDER) + R"(" ControlName="Slider" Caption="" TextColor1="0" ToolTipText="Volume"/>
    <QorEditControl ControlId=")" + N(IDC_SKIN_EDIT) + R"(" ControlName="Edit" Allignment="0" CenterTextHorizontally="0"
      CenterTextVertically="0" TextColor=")" + N(kComboText) + R"(" DisabledTextColor="8421504" BackgroundColor=")" +
           N(kComboBackground) + R"("/>
    <QorGenericControlWithTextInfo ControlId=")" + N(IDC_GENERIC_COMBO) + R"(" ControlName="Combo" Caption=""
      TextColor1=")" + N(kComboText) + R"(" BackgroundColor=")" + N(kComboBackground) + R"(" ToolTipText="Pick one">
      <QorFontInfo FontHeight=")" + N(kComboFontHeight) + R"(" FontWeight="700" FaceName="Tahoma"/>
    </QorGenericControlWithTextInfo>
    <QorGenericControlSimple ControlId=")" + N(IDC_GENERIC_PROGRESS) + R"(" ControlName="Progress" Caption="" TextColor1="0" ToolTipText=""/>
    <QorGenericControlSimple ControlId=")" + N(IDC_GENERIC_SLIDER) + R"(" ControlName="Rate" Caption="" ToolTipText="Rate"/>
    <QorGenericControlWithTextInfo ControlId=")" + N(IDC_GENERIC_LIST) + R"(" ControlName="List" Caption=""
      TextColor1=")" + N(kListText) + R"(" BackgroundColor=")" + N(kListBackground) + R"(" ToolTipText="Channels"/>
    <QorGenericControlSimple ControlId=")" + N(IDC_PLACEMENT) + R"(" ControlName="Frame" Caption="Video frame" ToolTipText=""/>
  </QorDlg>
  <QorDlg DlgName="ControlSetDialog" DlgIdValue=")" + N(IDD_CONTROL_SET_TEST) + R"(">
    <QorBtnControl ControlId=")" + N(IDC_SET_TEMPLATE_BUTTON) + R"(" ControlName="Template" Caption="W" UseTemplate="Big"/>
    <QorBtnControl ControlId=")" + N(IDC_SET_PLAIN_BUTTON) + R"(" ControlName="Plain" Caption="W" )" + ButtonText() + R"(/>
    <QorEditControl ControlId=")" + N(IDC_SET_CENTRED_EDIT) + R"(" ControlName="Centred" )" + EditText(true) + R"(/>
    <QorEditControl ControlId=")" + N(IDC_SET_TOP_EDIT) + R"(" ControlName="Top" )" + EditText(false) + R"(/>
  </QorDlg>
  <QorAppMessages>
    <QorMessage MessageId="102" Text="Marovin"/>
  </QorAppMessages>
  <QorTemplates>
    <QorButtonTemplates>
      <QorButtonTemplate TemplateName="Big" )" + ButtonText() + R"(>
        <QorFontInfo FontHeight="-26" FontWeight="700" FaceName="Tahoma"/>
      </QorButtonTemplate>
    </QorButtonTemplates>
    <TransparentStaticTemplates/><QorEditTemplates/>
  </QorTemplates>
</QorAppText>
)";
}

void Solid(const std::string& path, int width, int height, COLORREF colour)
{
    dialogtest::WriteBmp(path, width, height, 24, [colour](int, int) { return colour; });
}

}  // namespace

void WriteControlSkin(const std::string& folder)
{
    const std::string base = folder + "\\";
    std::ofstream(base + "Graphics1033.xml", std::ios::binary) << Graphics();
    std::ofstream(base + "Text1033.xml", std::ios::binary) << Text();
    Solid(base + "face.bmp", 420, 300, kFace);
    const char* const states[4] = {"up", "down", "focus", "disabled"};
    for (int state = 0; state < 4; ++state) {
        Solid(base + "btn_" + states[state] + ".bmp", kButtonWidth, kButtonHeight, kButtonColours[state]);
        Solid(base + "thumb_" + states[state] + ".bmp", kThumbWidth, kThumbHeight, kThumbColours[state]);
    }
    Solid(base + "big_up.bmp", kBigButtonWidth, kBigButtonHeight, kBigButtonFace);
    Solid(base + "channel.bmp", kChannelWidth, kChannelHeight, kChannel);
    Solid(base + "filled.bmp", kChannelWidth, kChannelHeight, kFilled);
    Solid(base + "shadow.bmp", kThumbWidth, kThumbHeight, kShadow);
    Solid(base + "editbg.bmp", 16, 16, kEditPattern);
    Solid(base + "small.bmp", 30, 12, RGB(255, 255, 0));
    Solid(base + "large.bmp", 90, 36, RGB(0, 255, 255));
    std::ofstream(base + "garbage.bmp", std::ios::binary) << "BM this is not a bitmap at all";
}

}  // namespace controltest
