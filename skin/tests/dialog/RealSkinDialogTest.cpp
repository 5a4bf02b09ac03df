// The real Marovin skin: its main window built as a skinned dialog from the program's own
// template, looked at on the test display. Controls stay plain until skinned controls bind.
#include <gtest/gtest.h>

#include <filesystem>

#include "ControlIds.h"
#include "EQorDialog.h"
#include "EngineTestSupport.h"
#include "QorGraphicsEngineAPI.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

class MainDialogFace : public EQorDialog {
public:
    MainDialogFace() : EQorDialog(IDD_MAIN_DIALOG) {}
    bool initialised = false;

protected:
    BOOL OnInitDialog() override
    {
        EQorDialog::OnInitDialog();
        initialised = InitializeQorDialog("MainDialog", SKIN_TRANSPARENT_COLOR);
        return TRUE;
    }
};

}  // namespace

TEST(RealSkin, MainDialogIsShapedAndPaintedFromTheSkin)
{
    enginetest::RecordingUi ui;
    enginetest::SkinFolder folder;
    fs::copy(MAROVIN_SKIN_DIR, folder.Path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    enginetest::AppKey app("RealSkinDialogTests", false);
    QorGraphicsEngineAPI api;
    ASSERT_TRUE(api.InitializeGraphicsEngine(app.Name(), "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient", 1033));
    {
        MainDialogFace dialog;
        ASSERT_TRUE(dialog.Create(IDD_MAIN_DIALOG));
        EXPECT_TRUE(dialog.initialised);
        HBITMAP background = nullptr;
        ASSERT_TRUE(api.GetBitmap("main\\background.bmp", &background));
        BITMAP info{};
        GetObjectA(background, sizeof(info), &info);
        DeleteObject(background);
        RECT rect{};
        dialog.GetWindowRect(&rect);
        EXPECT_EQ(rect.right - rect.left, info.bmWidth);
        EXPECT_EQ(rect.bottom - rect.top, info.bmHeight);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(GetWindowRgn(dialog.m_hWnd, region), ERROR);
        DeleteObject(region);
        dialog.SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        testsupport::PumpMessages(400);
        const auto image = testsupport::CaptureScreen(rect);
        EXPECT_TRUE(image.SaveBmp(testsupport::OutputDir() + "main-dialog.bmp"));
        EXPECT_GT(image.DistinctColours(), 20u);
        dialog.DestroyWindow();
    }
    api.ShutdownCleanup();
}
