// The real Marovin main window with skinned buttons bound to every button the skin describes:
// each is substituted, loaded from the skin and text files and painted from its bitmaps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <vector>

#include "ControlIds.h"
#include "EQorButton.h"
#include "EQorDialog.h"
#include "EQorEdit.h"
#include "EQorSkinnedControlSet.h"
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

// File by file: copying the folder onto the existing skin folder is refused here.
void CopyRealSkin(const enginetest::SkinFolder& folder)
{
    for (const auto& entry : fs::recursive_directory_iterator(MAROVIN_SKIN_DIR)) {
        const fs::path target = fs::path(folder.Path()) / fs::relative(entry.path(), MAROVIN_SKIN_DIR);
        if (entry.is_directory())
            fs::create_directories(target);
        else
            fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
    }
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

// The main window as the program builds it: every control the skin describes bound by the
// control set, from the whole template or from a copy without its buttons and labels.
class SetBoundMainDialog : public EQorDialog {
public:
    SetBoundMainDialog() : EQorDialog(IDD_MAIN_DIALOG) {}
    std::vector<skelda::DialogTemplateItem> items, later;
    EQorSkinnedControlSet controls;

protected:
    BOOL OnInitDialog() override
    {
        EQorDialog::OnInitDialog();
        controls.CreateAndBind(*this, "MainDialog", items,
                               {IDC_VIDEO_AREA, IDC_STATUS_DISPLAY, IDC_RECENT_1, IDC_RECENT_2, IDC_RECENT_3, IDC_RECENT_4},
                               later);
        InitializeQorDialog("MainDialog", SKIN_TRANSPARENT_COLOR);
        return TRUE;
    }
};

// Everything of each child that the template and the skin decide, in z-order.
std::vector<std::string> DescribeChildren(HWND dialog)
{
    std::vector<std::string> children;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {}, text[300] = {};
        ::GetClassNameA(child, className, sizeof(className));
        ::GetWindowTextA(child, text, sizeof(text));
        RECT rect{};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        char line[512];
        std::snprintf(line, sizeof(line), "%s id %d style %08lx ex %08lx at %ld,%ld %ldx%ld font %d region %d \"%s\"",
                      className, ::GetDlgCtrlID(child), ::GetWindowLongA(child, GWL_STYLE),
                      ::GetWindowLongA(child, GWL_EXSTYLE), rect.left, rect.top, rect.right - rect.left,
                      rect.bottom - rect.top, ::SendMessageA(child, WM_GETFONT, 0, 0) != 0,
                      ::GetWindowRgn(child, ::CreateRectRgn(0, 0, 0, 0)), text);
        children.push_back(line);
    }
    return children;
}

}  // namespace

// Made once from the template copy, the controls are the ones the dialog manager's items
// became before: same classes, ids, styles, places, texts, fonts, shapes and order.
TEST(MainDialogControls, ButtonsAndLabelsMadeOnceEqualTheSubstitutedItems)
{
    enginetest::RecordingUi ui;
    enginetest::SkinFolder folder;
    CopyRealSkin(folder);
    enginetest::AppKey app("MainDialogControlsTests", false);
    QorGraphicsEngineAPI api;
    ASSERT_TRUE(api.InitializeGraphicsEngine(app.Name(), "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient", 1033));
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDD_MAIN_DIALOG), RT_DIALOG);
    ASSERT_NE(found, nullptr);
    std::vector<BYTE> copy;
    std::vector<skelda::DialogTemplateItem> items;
    const auto buttonOrLabel = [](const skelda::DialogTemplateItem& item) {
        return _wcsicmp(item.className.c_str(), L"Button") == 0 || _wcsicmp(item.className.c_str(), L"Static") == 0;
    };
    ASSERT_TRUE(skelda::SplitDialogTemplate(LockResource(LoadResource(module, found)), SizeofResource(module, found),
                                            buttonOrLabel, &copy, &items));
    ASSERT_GT(items.size(), 100u);
    // A cut or altered template is refused whole, never read in part.
    const BYTE* whole = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    std::vector<BYTE> damaged(whole, whole + SizeofResource(module, found));
    std::vector<BYTE> fullCopy, partCopy;
    std::vector<skelda::DialogTemplateItem> partItems;
    ASSERT_TRUE(skelda::SplitDialogTemplate(damaged.data(), damaged.size(), {}, &fullCopy, &partItems));
    EXPECT_TRUE(partItems.empty());
    int accepted = 0;
    for (size_t size = 0; size < damaged.size(); ++size)
        if (skelda::SplitDialogTemplate(damaged.data(), size, {}, &partCopy, &partItems)) {
            ++accepted;  // only the padding after the last item may go
            EXPECT_EQ(partCopy, fullCopy) << size;
        }
    EXPECT_LE(accepted, 3);
    damaged[2] = 0;  // no longer the extended kind's signature
    EXPECT_FALSE(skelda::SplitDialogTemplate(damaged.data(), damaged.size(), {}, &partCopy, &partItems));
    EXPECT_TRUE(partCopy.empty() && partItems.empty());

    std::vector<std::string> before;
    int controlsBefore = 0;
    {
        SetBoundMainDialog dialog;
        ASSERT_TRUE(dialog.Create(IDD_MAIN_DIALOG));
        before = DescribeChildren(dialog.GetSafeHwnd());
        controlsBefore = dialog.GetNumControls();
        dialog.DestroyWindow();
    }
    // Hidden pages may also be left out of what is made at start and made later, a page at a
    // time in any order: the window ends up the same. The recording page lies between items
    // made at start, the colour page comes last.
    const auto colourPage = [](const skelda::DialogTemplateItem& item) {
        return item.id >= IDC_BRIGHTNESS_LABEL && item.id <= IDC_COLOR_DEFAULTS;
    };
    const auto laterPage = [&](const skelda::DialogTemplateItem& item) {
        return colourPage(item) || item.id == IDC_RECORDING_FOLDER || item.id == IDC_BROWSE_FOLDER ||
               (item.id >= IDC_FOLDER_LABEL && item.id <= IDC_ASK_FILE_NAME);
    };
    // Buttons and labels taken from the dialog manager, or every item as the main window does
    // (sliders then made once in their skinned class, the rest as the dialog manager makes them).
    for (const auto& [every, later] : {std::pair{false, false}, {false, true}, {true, false}, {true, true}}) {
        SCOPED_TRACE(std::string(every ? "every item" : "buttons and labels") +
                     (later ? ", pages made later" : ", all made at start"));
        SetBoundMainDialog dialog;
        std::vector<BYTE> kept;
        std::vector<skelda::DialogTemplateItem> taken, colour, otherPages;
        ASSERT_TRUE(skelda::SplitDialogTemplate(
            LockResource(LoadResource(module, found)), SizeofResource(module, found),
            [&, every = every, later = later](const skelda::DialogTemplateItem& item) {
                return every || buttonOrLabel(item) || (later && laterPage(item));
            },
            &kept, &taken));
        for (const skelda::DialogTemplateItem& item : taken)
            (!later || !laterPage(item) ? dialog.items : colourPage(item) ? colour : otherPages).push_back(item);
        dialog.later = colour;
        dialog.later.insert(dialog.later.end(), otherPages.begin(), otherPages.end());
        if (later)
            ASSERT_EQ(otherPages.size(), 26u);
        ASSERT_TRUE(dialog.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATEA>(kept.data()), nullptr, module));
        EXPECT_FALSE(dialog.InitializeAddedControls());
        if (later) {
            EXPECT_EQ(nullptr, dialog.GetDlgItem(IDC_SIZE_LIST));
            EXPECT_GT(dialog.controls.CreateLater(dialog, "MainDialog", colour), 0);
            EXPECT_GT(dialog.controls.CreateLater(dialog, "MainDialog", otherPages), 0);
            EXPECT_TRUE(dialog.InitializeAddedControls());
        }
        const std::vector<std::string> after = DescribeChildren(dialog.GetSafeHwnd());
        EXPECT_EQ(controlsBefore, dialog.GetNumControls());
        dialog.DestroyWindow();
        EXPECT_GT(std::count_if(after.begin(), after.end(),
                                [](const std::string& line) { return line.rfind("QORBUTTON", 0) == 0; }),
                  60);
        ASSERT_EQ(before.size(), after.size());
        for (size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(before[i], after[i]) << "child " << i;
    }
    api.ShutdownCleanup();
}

TEST(MainDialogControls, EveryButtonIsSkinnedFromTheRealSkin)
{
    const std::vector<int> ids = MainDialogButtonIds();
    ASSERT_GT(ids.size(), 10u);
    enginetest::RecordingUi ui;
    enginetest::SkinFolder folder;
    CopyRealSkin(folder);
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
        // The ten digits share one picture: one shape, each button with a region of its own.
        std::vector<HRGN> digits;
        for (const auto& button : dialog.buttons)
            if (button->ControlId() >= 1600 && button->ControlId() <= 1609 && button->PrimaryBitmapAndRegionSet())
                digits.push_back(button->GetPimaryRgn());
        ASSERT_EQ(digits.size(), 10u);
        for (HRGN digit : digits)
            EXPECT_TRUE(EqualRgn(digit, digits.front()));
        EXPECT_EQ(std::set<HRGN>(digits.begin(), digits.end()).size(), digits.size());

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
