// Skinned dialogs end to end under the test display: the shaped face, dragging, controls
// placed, hidden and prompted for, tooltips, auxiliary bitmaps, hidden dialogs and bad skins.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "QorGraphicsEngineAPI.h"
#include "QorXmlDom.h"
#include "TestSkin.h"
#include "TestSupport.h"
#include "WindowDriver.h"

using namespace dialogtest;

namespace {

class Environment : public ::testing::Environment {
public:
    void SetUp() override { EngineEnvironment::Start(); }
    void TearDown() override { EngineEnvironment::Stop(); }
};

[[maybe_unused]] auto* const g_environment = ::testing::AddGlobalTestEnvironment(new Environment);

int CountMessages(const std::string& caption)
{
    const auto& messages = EngineEnvironment::Ui().messages;
    return static_cast<int>(std::count_if(messages.begin(), messages.end(),
                                          [&](const auto& m) { return m.caption == caption; }));
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

struct WithUnknown : SkinTestDialog {
    WithUnknown() { bindUnknown = true; }
};

class SkinnedDialog : public RunningEngineTest {};

}  // namespace

TEST_F(SkinnedDialog, TheWindowIsShapedToItsBackgroundAndPaintedWithIt)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    SkinTestDialog& d = shown.dialog;
    EXPECT_TRUE(d.initialised);
    EXPECT_EQ(d.GetQorDlgType(), 0);
    const RECT rect = WindowRect(d.m_hWnd);
    EXPECT_EQ(rect.right - rect.left, kFaceWidth);
    EXPECT_EQ(rect.bottom - rect.top, kFaceHeight);

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(d.m_hWnd, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 1, 1)) << "rounded corner cut away";
    EXPECT_FALSE(PtInRegion(region, kFaceWidth - 2, kFaceHeight - 2));
    EXPECT_TRUE(PtInRegion(region, kFaceWidth / 2, 1));
    EXPECT_TRUE(PtInRegion(region, kFaceWidth - 1, kFaceHeight / 2)) << "last opaque column covered";
    DeleteObject(region);

    // Make sure nothing else sits on top, then look at the screen.
    SetWindowPos(d.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    testsupport::PumpMessages(200);
    const auto image = testsupport::CaptureScreen(rect);
    image.SaveBmp(testsupport::OutputDir() + "shaped-dialog.bmp");
    EXPECT_EQ(image.Pixel(220, 60), kFace);
    EXPECT_EQ(image.Pixel(220, 75), kStripe);
    EXPECT_NE(image.Pixel(1, 1), kFace) << "the desktop shows through the cut corner";
    EXPECT_NE(image.Pixel(1, 1), kTransparent) << "the transparent colour is never drawn";
    EXPECT_NE(image.Pixel(kFaceWidth - 2, kFaceHeight - 2), kFace);
}

TEST_F(SkinnedDialog, ControlsArePlacedHiddenAndGivenTheirTooltips)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    SkinTestDialog& d = shown.dialog;
    char className[32] = {};
    GetClassNameA(d.first.m_hWnd, className, sizeof(className));
    EXPECT_STREQ(className, "QORBUTTON") << "the item is replaced by the framework's class";
    GetClassNameA(d.label.m_hWnd, className, sizeof(className));
    EXPECT_STREQ(className, "QORSTATIC");
    EXPECT_EQ(GetDlgItem(d.m_hWnd, IDC_FIRST), d.first.m_hWnd);
    EXPECT_TRUE(d.first.loaded);

    RECT placed = WindowRect(d.first.m_hWnd);
    MapWindowPoints(nullptr, d.m_hWnd, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 40);
    EXPECT_EQ(placed.top, 30);

    EXPECT_TRUE(IsWindowVisible(d.first.m_hWnd));
    EXPECT_FALSE(IsWindowVisible(d.hidden.m_hWnd)) << "ControlIsVisible 0";
    EXPECT_EQ(d.GetToolTipText(d.first.m_hWnd), "The first button");
    EXPECT_EQ(d.GetToolTipText(d.second.m_hWnd), "The second button");
    EXPECT_EQ(d.GetToolTipText(d.label.m_hWnd), "") << "transparent statics get no tooltip";
    EXPECT_EQ(d.GetNumControls(), 4);
    EXPECT_EQ(d.GetOneControlHWnd(0), d.first.m_hWnd);
    EXPECT_EQ(d.GetOneControlHWnd(4), nullptr);
    EXPECT_EQ(CountMessages("Add New Control Entries in XML Files?"), 0);

    EXPECT_TRUE(d.QorDlg_EnableControl(IDC_SECOND, false));
    EXPECT_FALSE(d.QorDlg_CtrlIsEnabled(IDC_SECOND));
    EXPECT_FALSE(d.QorDlg_EnableControl(4242, false));
    EXPECT_FALSE(d.QorDlg_CtrlSetIsToggleButton(IDC_FIRST, true)) << "the test button has no button options";
}

TEST_F(SkinnedDialog, TheFirstOfTwoEqualNamesAndItsAuxiliaryBitmapsAreUsed)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    SkinTestDialog& d = shown.dialog;
    std::string path;
    ASSERT_TRUE(d.GetAuxBitmapFilename(7, &path));
    EXPECT_EQ(path, EngineEnvironment::SkinPath() + "\\extra.bmp");
    HBITMAP aux = d.LoadAuxBitmap(7, 0, 0);
    ASSERT_NE(aux, nullptr);
    BITMAP info{};
    GetObjectA(aux, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 16);
    EXPECT_EQ(info.bmHeight, 12);
    DeleteObject(aux);
    EXPECT_EQ(d.LoadAuxBitmap(8, 0, 0), nullptr);
    EXPECT_EQ(d.LoadAuxLargeIcon(8, 0, 0), nullptr);
    EXPECT_EQ(CountMessages("Unable to Initialize Graphics Engine"), 0);
}

TEST_F(SkinnedDialog, PartialBitmapHoldsTheFaceUnderARectangle)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    HDC screen = GetDC(nullptr);
    HBITMAP part = nullptr;
    ASSERT_TRUE(shown.dialog.GetPartialBitmap(screen, RECT{200, 60, 230, 80}, &part));
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, part);
    EXPECT_EQ(GetPixel(memory, 5, 5), kFace);
    EXPECT_EQ(GetPixel(memory, 5, 15), kStripe) << "row 75 of the face";
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(part);
    EXPECT_FALSE(shown.dialog.GetPartialBitmap(screen, RECT{10, 10, 10, 20}, &part)) << "empty rectangle";
    ReleaseDC(nullptr, screen);
}

TEST_F(SkinnedDialog, ADragOnTheFaceMovesTheWindow)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    SkinTestDialog& d = shown.dialog;
    d.SetMouseMovesDialog(true);
    SetWindowPos(d.m_hWnd, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    testsupport::PumpMessages(100);
    const RECT before = WindowRect(d.m_hWnd);
    const POINT grab{before.left + 220, before.top + 60};
    DragWithMouse(grab, {grab.x + 80, grab.y + 40});
    const RECT after = WindowRect(d.m_hWnd);
    EXPECT_EQ(after.left - before.left, 80);
    EXPECT_EQ(after.top - before.top, 40);
}

TEST_F(SkinnedDialog, AControlMissingFromTheSkinFileIsOfferedOnceAndAddedOnYes)
{
    auto& ui = EngineEnvironment::Ui();
    ui.messageAnswer = IDYES;
    Shown<WithUnknown> shown;
    ASSERT_TRUE(shown.created);
    EXPECT_EQ(CountMessages("Add New Control Entries in XML Files?"), 1);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages[0].text,
              "There is a new control that is not in the XML files:  \n\r\n\r      Control ID:    1099"
              "\n\r\n\r      Control Type:  Button\n\r\n\r   Would you like to add an entry for this control?");
    EXPECT_EQ(ui.messages[0].style & MB_YESNO, static_cast<unsigned>(MB_YESNO));
    EXPECT_EQ(CountMessages("Control Added Successfully"), 1);
    EXPECT_TRUE(shown.dialog.GetDialogDataChanged());
    EXPECT_TRUE(shown.dialog.IsControlEntryInScriptFile(IDC_UNKNOWN));

    // Put the document back as the other tests expect it.
    win::ComPtr<IXMLDOMNode> added, removed;
    ASSERT_TRUE(skelda::skinfile::FindControlById(shown.dialog.GetDlgRootNode(), IDC_UNKNOWN, &added));
    shown.dialog.GetDlgRootNode()->removeChild(added.Get(), removed.Put());
    shown.dialog.SetDialogDataChanged(false);
    QorGraphicsEngineAPI().SetGraphicsChanged(false);
}

TEST_F(SkinnedDialog, TheRealQuestionIsShownAndNoLeavesTheControlWithoutSkinData)
{
    QorEngineUserInterface* recording = QorSetEngineUserInterface(nullptr);  // the real message box
    enginetest::WindowDriver driver("Add New Control Entries in XML Files?", "", [](HWND box) {
        PostMessageA(box, WM_COMMAND, IDNO, 0);
    });
    {
        Shown<WithUnknown> shown;
        ASSERT_TRUE(shown.created);
        EXPECT_TRUE(driver.Found());
        EXPECT_FALSE(shown.dialog.IsControlEntryInScriptFile(IDC_UNKNOWN));
        EXPECT_FALSE(shown.dialog.unknown.loaded);
        EXPECT_TRUE(shown.dialog.first.loaded) << "the other controls are initialised";
    }
    QorSetEngineUserInterface(recording);
}
