// A dialog built from a resource template under Xvfb, driven by messages as a user would
// drive it, read back, and captured from the screen.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "smoke_ids.h"

namespace {

INT_PTR CALLBACK SmokeDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dlg, IDC_SMOKE_LEVEL, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDC_SMOKE_GREET && HIWORD(wp) == BN_CLICKED) {
            char name[64] = {};
            GetDlgItemTextA(dlg, IDC_SMOKE_NAME, name, sizeof(name));
            const bool loud = IsDlgButtonChecked(dlg, IDC_SMOKE_LOUD) == BST_CHECKED;
            const int level = static_cast<int>(SendDlgItemMessageA(dlg, IDC_SMOKE_LEVEL, TBM_GETPOS, 0, 0));
            std::string text = std::string("Hello, ") + name + (loud ? "!" : ".") +
                               " Level " + std::to_string(level);
            SetDlgItemTextA(dlg, IDC_SMOKE_OUTPUT, text.c_str());
            return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
            EndDialog(dlg, 77);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

std::string ItemText(HWND dlg, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dlg, id, text, sizeof(text));
    return text;
}

class SmokeDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        dlg_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SMOKE),
                                  nullptr, SmokeDialogProc, 0);
        ASSERT_NE(dlg_, nullptr) << "template not found or dialog failed, error " << GetLastError();
        SetWindowPos(dlg_, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        UpdateWindow(dlg_);
        testsupport::PumpMessages(100);
    }
    void TearDown() override
    {
        if (dlg_)
            DestroyWindow(dlg_);
    }
    HWND dlg_ = nullptr;
};

TEST_F(SmokeDialog, TemplateControlsExistWithTheirClasses)
{
    char cls[64] = {};
    GetClassNameA(GetDlgItem(dlg_, IDC_SMOKE_NAME), cls, sizeof(cls));
    EXPECT_STREQ(cls, "Edit");
    GetClassNameA(GetDlgItem(dlg_, IDC_SMOKE_LEVEL), cls, sizeof(cls));
    EXPECT_STREQ(cls, TRACKBAR_CLASSA);
    GetClassNameA(dlg_, cls, sizeof(cls));
    EXPECT_STREQ(cls, "#32770");
    char title[64] = {};
    GetWindowTextA(dlg_, title, sizeof(title));
    EXPECT_STREQ(title, "Platform smoke");
}

TEST_F(SmokeDialog, ClicksAndTextAreReadBack)
{
    SetDlgItemTextA(dlg_, IDC_SMOKE_NAME, "Wine");
    SendDlgItemMessageA(dlg_, IDC_SMOKE_LEVEL, TBM_SETPOS, TRUE, 7);
    SendDlgItemMessageA(dlg_, IDC_SMOKE_GREET, BM_CLICK, 0, 0);
    EXPECT_EQ(ItemText(dlg_, IDC_SMOKE_OUTPUT), "Hello, Wine. Level 7");

    SendDlgItemMessageA(dlg_, IDC_SMOKE_LOUD, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_SMOKE_LOUD), BST_CHECKED);
    SendDlgItemMessageA(dlg_, IDC_SMOKE_GREET, BM_CLICK, 0, 0);
    EXPECT_EQ(ItemText(dlg_, IDC_SMOKE_OUTPUT), "Hello, Wine! Level 7");
}

TEST_F(SmokeDialog, KeyboardInputReachesTheEdit)
{
    HWND edit = GetDlgItem(dlg_, IDC_SMOKE_NAME);
    SetFocus(edit);
    for (char c : std::string("Xvfb"))
        SendMessageA(edit, WM_CHAR, c, 1);
    EXPECT_EQ(ItemText(dlg_, IDC_SMOKE_NAME), "Xvfb");
}

TEST_F(SmokeDialog, ScreenShowsTheDrawnDialog)
{
    SetDlgItemTextA(dlg_, IDC_SMOKE_NAME, "Screenshot");
    SendDlgItemMessageA(dlg_, IDC_SMOKE_GREET, BM_CLICK, 0, 0);
    RedrawWindow(dlg_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testsupport::PumpMessages(200);

    const testsupport::ScreenImage shot = testsupport::CaptureWindow(dlg_);
    ASSERT_GT(shot.width, 100);
    EXPECT_TRUE(shot.SaveBmp(testsupport::OutputDir() + "smoke_dialog.bmp"));
    // A drawn dialog has a face colour, text, frames and a caption: many colours.
    EXPECT_GT(shot.DistinctColours(), 8u);

    RECT face{};
    GetWindowRect(GetDlgItem(dlg_, IDC_SMOKE_LOUD), &face);
    RECT window{};
    GetWindowRect(dlg_, &window);
    // Right of the check box caption the dialog shows its plain face colour.
    EXPECT_EQ(shot.Pixel(face.right - window.left + 30, face.top - window.top + 2),
              GetSysColor(COLOR_BTNFACE));
}

TEST(SmokeModalDialog, EndsWithTheResultOfEndDialog)
{
    // The modal loop is ended by a posted Cancel, as a user's Escape would.
    struct Closer {
        static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
        {
            KillTimer(nullptr, id);
            HWND dlg = FindWindowA("#32770", "Platform smoke");
            if (dlg)
                PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        }
    };
    SetTimer(nullptr, 0, 200, Closer::Fire);
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SMOKE),
                                           nullptr, SmokeDialogProc, 0);
    EXPECT_EQ(result, 77);
}

}  // namespace
