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
    for (const auto& entry : fs::directory_iterator(MAROVIN_SKIN_DIR))
        fs::copy(entry.path(), fs::path(folder.Path()) / entry.path().filename(), fs::copy_options::recursive);
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
        RECT client{};
        dialog.GetClientRect(&client);
        EXPECT_EQ(client.right, info.bmWidth) << "the template's caption and frame give way to the face";
        EXPECT_EQ(client.bottom, info.bmHeight);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(GetWindowRgn(dialog.m_hWnd, region), ERROR);
        EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the key-coloured corner is cut";
        EXPECT_TRUE(PtInRegion(region, info.bmWidth / 2, info.bmHeight / 2));
        DeleteObject(region);
        dialog.SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        testsupport::PumpMessages(400);
        const auto image = testsupport::CaptureScreen(rect);
        EXPECT_TRUE(image.SaveBmp(testsupport::OutputDir() + "main-dialog.bmp"));
        EXPECT_GT(image.DistinctColours(), 20u);
        EXPECT_NE(image.Pixel(1, 1), RGB(255, 0, 0)) << "the transparent colour is never drawn";
        dialog.DestroyWindow();
    }
    api.ShutdownCleanup();
}
