// The control graphics editing tests' engine, skin, dialogs and menu driver.
#include "EditingTestSupport.h"

#include <atomic>
#include <fstream>
#include <memory>
#include <thread>

#include "EditingTestIds.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"
#include "TestSkin.h"
#include "TestSupport.h"

namespace editingtest {
namespace {

const char kGraphics[] = R"(<?xml version="1.0" encoding="windows-1252"?>
<QorAppGraphics>
  <QorDlg DlgName="EditControls" DlgIdValue="920" DlgBitmapFile="face.bmp">
    <QorBtnControl ControlIdValue="2201" ControlName="Plain" ControlXOffset="10" ControlYOffset="10"
      ControlUpBitmapFile="up.bmp" ControlDownBitmapFile="down.bmp"/>
    <QorBtnControl ControlIdValue="2202" ControlName="Templated" ControlXOffset="10" ControlYOffset="50"
      GraphicsTemplate="Blue" ControlUpBitmapFile="up.bmp"/>
    <QorBtnControl ControlIdValue="2203" ControlName="Picture" ControlXOffset="10" ControlYOffset="90"
      ControlUpBitmapFile="pic.bmp"/>
    <QorSliderControl ControlIdValue="2204" ControlName="Slider" ControlXOffset="100" ControlYOffset="10"
      ControlWidth="200" ControlHeight="20" ThumbUpBitmapFile="thumb.bmp" BackgroundBitmapFile="channel.bmp"
      ThumbShadowLeftOffset="0" ThumbShadowRightOffset="0" ThumbTopOffset="0" PositionToHitPoint="1"/>
    <QorEditControl ControlIdValue="2205" ControlName="Edit" ControlXOffset="100" ControlYOffset="50" Width="100"
      Height="20" BackgroundStyle="0" BackgroundColor="12632256" DrawBorder="1" BackgroundBitmapFile="pattern.bmp"/>
    <QorTransStaticControl ControlIdValue="2206" ControlName="Label" ControlXOffset="100" ControlYOffset="90"
      ControlWidth="100" ControlHeight="24" TextColor="65280"/>
    <QorBtnControl ControlIdValue="2207" ControlName="Radio" ControlXOffset="100" ControlYOffset="130"
      TransparentRadioWidth="90" TransparentRadioHeight="20" TransparentRadioBtnLeftJustified="1"
      TransparentRadioTextLeftJustified="1"/>
    <QorGenericControl ControlIdValue="2208" ControlType="GenericProgressBar" ControlXOffset="220"
      ControlYOffset="130" ControlWidth="120" ControlHeight="12"/>
  </QorDlg>
  <QorDlg DlgName="EditStretch" DlgIdValue="921" DlgBitmapFile="face.bmp">
    <QorBtnControl ControlIdValue="2201" ControlName="Plain" ControlXOffset="10" ControlYOffset="10"
      ControlUpBitmapFile="up.bmp"/>
    <QorStretchDlgData AllowHorzStretching="1" AllowVertStretching="1" BeginningWidth="400" BeginningHeight="260"
      MinimumWidth="200" MaximumWidth="600" MinimumHeight="120" MaximumHeight="400"
      LeftRegionOffset="40" RightRegionOffset="40" TopRegionOffset="40" BottomRegionOffset="40"/>
  </QorDlg>
  <QorMessageDlg DlgName="MessageBox" DlgIdValue="300" DlgBitmapFile="face.bmp"/>
  <QorTemplates><QorButtonTemplates>TEMPLATES</QorButtonTemplates></QorTemplates>
</QorAppGraphics>
)";

const char kTemplates[] = R"(
    <QorButtonTemplate TemplateName="Blue" ControlUpBitmapFile="blue.bmp"/>
    <QorButtonTemplate TemplateName="Green" ControlUpBitmapFile="green.bmp"/>
  )";

const char kText[] = R"(<?xml version="1.0" encoding="windows-1252"?>
<QorAppText>
  <QorDlg DlgName="EditControls" DlgIdValue="920">
    <QorEditControl ControlId="2205" ControlName="Edit" Allignment="0" CenterTextHorizontally="0"
      CenterTextVertically="1" TextColor="0" DisabledTextColor="8421504" BackgroundColor="16777215"/>
  </QorDlg>
  <QorAppMessages><QorMessage MessageId="102" Text="Marovin"/></QorAppMessages>
  <QorTemplates><QorButtonTemplates/><TransparentStaticTemplates/><QorEditTemplates/></QorTemplates>
</QorAppText>
)";

void Solid(const std::string& path, SIZE size, COLORREF colour)
{
    dialogtest::WriteBmp(path, size.cx, size.cy, 24, [colour](int, int) { return colour; });
}

void WriteSkin(const std::string& folder, bool withTemplates)
{
    const std::string base = folder + "\\";
    std::string graphics = kGraphics;
    graphics.replace(graphics.find("TEMPLATES"), 9, withTemplates ? kTemplates : "");
    std::ofstream(base + "Graphics1033.xml", std::ios::binary) << graphics;
    std::ofstream(base + "Text1033.xml", std::ios::binary) << kText;
    Solid(base + "face.bmp", {400, 260}, RGB(60, 60, 90));
    Solid(base + "up.bmp", kOwnSize, RGB(200, 40, 40));
    Solid(base + "down.bmp", kOwnSize, RGB(40, 200, 40));
    Solid(base + "blue.bmp", kBlueSize, RGB(40, 40, 200));
    Solid(base + "green.bmp", kGreenSize, RGB(40, 160, 40));
    Solid(base + "pic.bmp", kPictureSize, RGB(200, 200, 40));
    Solid(base + "big.bmp", kBigSize, RGB(0, 200, 200));
    Solid(base + "thumb.bmp", {10, 20}, RGB(250, 250, 250));
    Solid(base + "channel.bmp", {200, 20}, RGB(20, 20, 20));
    Solid(base + "pattern.bmp", {16, 16}, RGB(90, 170, 210));
    std::ofstream(base + "garbage.bmp", std::ios::binary) << "BM this is not a bitmap at all";
}

}  // namespace

void EngineEnvironment::Start(bool withTemplates)
{
    auto& env = Slot();
    env.reset();
    env = std::make_unique<enginetest::RunningEngine>("ControlEditingTests");
    WriteSkin(env->folder.Path(), withTemplates);
    env->app.SetDword("AllowEditingOfGraphicsSettings", 1);
    env->ui.messageAnswer = IDNO;  // shutdown offers no save
    env->Start();
}

void EngineEnvironment::Restart()
{
    auto& env = Slot();
    env->api.ShutdownCleanup();
    env->Start();
}

ControlsDialog::ControlsDialog() : EQorDialog(IDD_EDIT_CONTROLS) {}

BOOL ControlsDialog::OnInitDialog()
{
    button.SubclassDlgItem(IDC_E_BUTTON, this);
    templated.SubclassDlgItem(IDC_E_TEMPLATED, this);
    picture.SubclassDlgItem(IDC_E_PICTURE, this);
    slider.SubclassDlgItem(IDC_E_SLIDER, this);
    edit.SubclassDlgItem(IDC_E_EDIT, this);
    label.SubclassDlgItem(IDC_E_LABEL, this);
    radio.SubclassDlgItem(IDC_E_RADIO, this);
    progress.SubclassDlgItem(IDC_E_PROGRESS, this);
    EQorDialog::OnInitDialog();
    initialised = InitializeQorDialog("EditControls", kTransparent);
    return TRUE;
}

StretchDialog::StretchDialog() : EQorStretchDlg(IDD_EDIT_STRETCH) {}

BOOL StretchDialog::OnInitDialog()
{
    button.SubclassDlgItem(IDC_E_BUTTON, this);
    EQorStretchDlg::OnInitDialog();
    initialised = InitializeQorDialog("EditStretch", kTransparent);
    return TRUE;
}

MenuEdit EditFromMenu(EQorDialog& dialog, int controlId, const std::string& entry, const std::string& title,
                      const std::function<void(HWND)>& answer)
{
    MenuEdit run;
    std::atomic<bool> menuDone{false};
    std::thread driver([&] {
        HWND menu = nullptr;
        enginetest::WaitFor([&] { return (menu = enginetest::VisibleMenuWindow()) != nullptr || menuDone; });
        if (!menu)
            return;
        const enginetest::MenuOutcome outcome = enginetest::ChooseEntry(menu, {0, entry});
        run.entryFound = outcome != enginetest::MenuOutcome::kNotFound;
        run.entryEnabled = outcome == enginetest::MenuOutcome::kChosen;
        if (!run.entryEnabled || title.empty())
            return;
        HWND found = enginetest::WaitForDialog(title.c_str());
        if (!found)
            return;
        run.dialogShown = true;
        // A picture of each dialog as it opened, among the test's artefacts, for a look.
        Sleep(100);
        testsupport::CaptureWindow(found).SaveBmp(testsupport::OutputDir() + title + ".bmp");
        answer(found);
    });
    // As from the dialog's message loop: what the last command left queued is handled first.
    testsupport::PumpMessages(100);
    HMENU menu = dialog.CreateControlEditMenu(controlId);
    // The keys pick the entry; a cursor resting over the menu would pick whatever lies under it.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    const int command = dialog.TrackEditMenu(menu, enginetest::ScreenCentre(GetDlgItem(dialog.GetSafeHwnd(), controlId)));
    menuDone = true;
    if (menu)
        DestroyMenu(menu);
    run.result = command != 0 && dialog.RunControlEditCommand(controlId, command);
    driver.join();
    return run;
}

std::string Attribute(const EQorDialog& dialog, int controlId, const char* name)
{
    win::ComPtr<IXMLDOMNode> element;
    std::string value;
    if (!skelda::skinfile::FindControlById(dialog.GetDlgRootNode(), controlId, &element) ||
        !qorxml::GetAttribute(element.Get(), name, &value))
        return "<absent>";
    return value;
}

void ControlEditing::SetUp()
{
    EngineEnvironment::Start();  // a fresh document for each test
    ASSERT_TRUE(EngineEnvironment::Running()) << "engine did not start";
    EngineEnvironment::Ui().messages.clear();
    engine.SetGraphicsChanged(false);
}

}  // namespace editingtest
