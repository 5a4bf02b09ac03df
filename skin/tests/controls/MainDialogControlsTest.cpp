// The real Marovin main window with skinned buttons bound to every button the skin describes:
// each is substituted, loaded from the skin and text files and painted from its bitmaps.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <vector>

#include "ControlIds.h"
#include "EQorButton.h"
#include "EQorDialog.h"
#include "EQorEdit.h"
#include "EngineTestSupport.h"
#include "QorGraphicsEngineAPI.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

// The ids of the buttons the skin file lists for "MainDialog".
std::vector<int> MainDialogButtonIds()
{
    const std::string dialog =
        enginetest::DialogElementText((fs::path(MAROVIN_SKIN_DIR) / "Graphics1033.xml").string(), "MainDialog");
    std::vector<int> ids;
    const std::regex button("<QorBtnControl ControlIdValue=\"([0-9]+)\"");
    for (std::sregex_iterator it(dialog.begin(), dialog.end(), button), last; it != last; ++it)
        ids.push_back(std::stoi((*it)[1].str()));
    return ids;
}

class SkinnedMainDialog : public EQorDialog {
public:
    SkinnedMainDialog() : EQorDialog(IDD_MAIN_DIALOG) {}
    std::vector<std::unique_ptr<EQorButton>> buttons;
    EQorEdit fileName;  // the one edit shown at start
    std::vector<int> ids;
    bool initialised = false;

protected:
    BOOL OnInitDialog() override
    {
        EQorDialog::OnInitDialog();
        for (int id : ids) {
            if (!::GetDlgItem(m_hWnd, id))
                continue;
            buttons.push_back(std::make_unique<EQorButton>());
            buttons.back()->SubclassDlgItem(static_cast<UINT>(id), this);
        }
        fileName.SubclassDlgItem(IDC_FILE_NAME, this);
        initialised = InitializeQorDialog("MainDialog", SKIN_TRANSPARENT_COLOR);
        return TRUE;
    }
};

}  // namespace

TEST(MainDialogControls, EveryButtonIsSkinnedFromTheRealSkin)
{
    const std::vector<int> ids = MainDialogButtonIds();
    ASSERT_GT(ids.size(), 10u);
    enginetest::RecordingUi ui;
    enginetest::SkinFolder folder;
    // File by file: copying the folder onto the existing skin folder is refused here.
    for (const auto& entry : fs::recursive_directory_iterator(MAROVIN_SKIN_DIR)) {
        const fs::path target = fs::path(folder.Path()) / fs::relative(entry.path(), MAROVIN_SKIN_DIR);
        if (entry.is_directory())
            fs::create_directories(target);
        else
            fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
    }
    enginetest::AppKey app("MainDialogControlsTests", false);
    QorGraphicsEngineAPI api;
    ASSERT_TRUE(api.InitializeGraphicsEngine(app.Name(), "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient", 1033));
    {
        SkinnedMainDialog dialog;
        dialog.ids = ids;
        ASSERT_TRUE(dialog.Create(IDD_MAIN_DIALOG));
        ASSERT_TRUE(dialog.initialised);
        ASSERT_FALSE(dialog.buttons.empty());
        int withBitmaps = 0;
        for (const auto& button : dialog.buttons) {
            char className[32] = {};
            GetClassNameA(button->GetSafeHwnd(), className, sizeof(className));
            EXPECT_STREQ("QORBUTTON", className) << button->ControlId();
            if (!button->PrimaryBitmapAndRegionSet())
                continue;
            ++withBitmaps;
            BITMAP info{};
            GetObjectA(button->StateBitmap(0), sizeof(info), &info);
            RECT rect{};
            button->GetQorRect(&rect);
            EXPECT_EQ(info.bmWidth, rect.right - rect.left) << button->ControlId();
            int x = 0, y = 0;
            button->GetQor_X_Y(&x, &y);
            EXPECT_EQ(x, rect.left) << button->ControlId();
            EXPECT_EQ(y, rect.top) << button->ControlId();
        }
        EXPECT_GT(withBitmaps, 10);

        RECT rect{};
        dialog.GetWindowRect(&rect);
        dialog.SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        testsupport::PumpMessages(400);
        EXPECT_TRUE(testsupport::CaptureScreen(rect).SaveBmp(testsupport::OutputDir() + "main-dialog-controls.bmp"));

        // The file name edit: the skin's one-pixel border in the edit's text colour (the text
        // file's 15722982) around its background colour (1709330), no frame of the template.
        ASSERT_TRUE(dialog.fileName.GetDrawBorder());
        const auto edit = testsupport::CaptureWindow(dialog.fileName.GetSafeHwnd());
        const COLORREF border = 15722982, background = 1709330;
        EXPECT_EQ(border, edit.Pixel(0, 0));
        EXPECT_EQ(border, edit.Pixel(231, 19));
        EXPECT_EQ(border, edit.Pixel(100, 0));
        EXPECT_EQ(background, edit.Pixel(1, 1));
        EXPECT_EQ(background, edit.Pixel(200, 10));

        // The record button in another identity and pressed look, and a disabled one.
        for (const auto& button : dialog.buttons) {
            if (button->ControlId() == 1014) {
                EXPECT_TRUE(button->SetIdentity(1));
                button->SetState(1);
            }
            if (button->ControlId() == 1043)
                ::EnableWindow(button->GetSafeHwnd(), FALSE);
        }
        testsupport::PumpMessages(300);
        EXPECT_TRUE(
            testsupport::CaptureScreen(rect).SaveBmp(testsupport::OutputDir() + "main-dialog-controls-changed.bmp"));
        dialog.DestroyWindow();
    }
    api.ShutdownCleanup();
}
