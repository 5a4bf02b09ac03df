// What a skinned dialog gives its children and its menu: the colour answers for each kind of
// child, tooltips that appear because the dialog relays the mouse to them, and the hidden
// dialogs' sub-menu and commands.
#include <gtest/gtest.h>

#include <functional>

#include "DialogTestSupport.h"
#include "EQorEdit.h"
#include "TestSkin.h"
#include "TestSupport.h"

using namespace dialogtest;
using testsupport::PumpMessages;

namespace {

// A 32-bit memory context of a given size, filled black, to hand to colour requests.
class Canvas {
public:
    Canvas(int width, int height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bitmap_);
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    HDC dc() const { return dc_; }

private:
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ old_;
};

HBRUSH AskColour(HWND dialog, UINT message, HDC dc, HWND child)
{
    return reinterpret_cast<HBRUSH>(
        SendMessageA(dialog, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
}

COLORREF BrushColour(HBRUSH brush)
{
    LOGBRUSH info{};
    GetObjectA(brush, sizeof(info), &info);
    return info.lbColor;
}

const HBRUSH kNullBrush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));

HWND MakeChild(HWND dialog, const char* className, DWORD style, int id)
{
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 5, 130, 60, 20, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

// Dispatches messages for up to `ms` as the application's loop does: each one first goes
// through the PreTranslateMessage chain of its window and the window's parents.
bool PumpTranslated(DWORD ms, const std::function<bool()>& done)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!CWnd::WalkPreTranslateTree(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        if (done())
            return true;
        Sleep(10);
    }
    return done();
}

void MouseTo(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

POINT CentreOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class DialogBehaviour : public RunningEngineTest {};

}  // namespace

TEST_F(DialogBehaviour, SkinnedTextsAndButtonsGetTheNullBrushAndPaintTheirFacePart)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    SkinTestDialog& d = shown.dialog;
    Canvas canvas(100, 24);
    SetBkMode(canvas.dc(), OPAQUE);
    EXPECT_EQ(AskColour(d.m_hWnd, WM_CTLCOLORSTATIC, canvas.dc(), d.label.m_hWnd), kNullBrush);
    EXPECT_EQ(GetBkMode(canvas.dc()), TRANSPARENT);
    // The static was told to erase into the context: its part of the face is there now.
    EXPECT_EQ(GetPixel(canvas.dc(), 2, 2), kFace);
    EXPECT_EQ(GetPixel(canvas.dc(), 97, 21), kFace);

    SetBkMode(canvas.dc(), OPAQUE);
    EXPECT_EQ(AskColour(d.m_hWnd, WM_CTLCOLORSTATIC, canvas.dc(), d.first.m_hWnd), kNullBrush) << "QORBUTTON";
    EXPECT_EQ(GetBkMode(canvas.dc()), TRANSPARENT);
}

TEST_F(DialogBehaviour, EditsListsSlidersAndButtonRequestsGetTheirDefaultAnswer)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    SkinTestDialog& d = shown.dialog;
    Canvas canvas(60, 20);

    EQorEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, RECT{5, 130, 65, 150}, &d, 2001));
    edit.SetBackgroundColor(RGB(10, 20, 30));
    edit.SetTextColors(RGB(200, 0, 0), RGB(0, 0, 200));
    HBRUSH brush = AskColour(d.m_hWnd, WM_CTLCOLOREDIT, canvas.dc(), edit.m_hWnd);
    ASSERT_NE(brush, kNullBrush);
    EXPECT_EQ(BrushColour(brush), RGB(10, 20, 30)) << "style 0: the edit's own solid brush";
    EXPECT_EQ(GetTextColor(canvas.dc()), RGB(200, 0, 0));
    EXPECT_EQ(GetBkMode(canvas.dc()), TRANSPARENT);

    // Disabled, an edit asks with the static kind; it keeps its brush and shows its
    // disabled colour.
    edit.EnableWindow(FALSE);
    brush = AskColour(d.m_hWnd, WM_CTLCOLORSTATIC, canvas.dc(), edit.m_hWnd);
    EXPECT_EQ(BrushColour(brush), RGB(10, 20, 30));
    EXPECT_EQ(GetTextColor(canvas.dc()), RGB(0, 0, 200));
    edit.EnableWindow(TRUE);
    ASSERT_TRUE(edit.SetBackgroundStyle(2));
    EXPECT_EQ(AskColour(d.m_hWnd, WM_CTLCOLOREDIT, canvas.dc(), edit.m_hWnd), kNullBrush) << "see-through edit";

    HWND slider = MakeChild(d.m_hWnd, "msctls_trackbar32", 0, 2002);
    HWND list = MakeChild(d.m_hWnd, "LISTBOX", 0, 2003);
    HWND button = MakeChild(d.m_hWnd, "BUTTON", BS_PUSHBUTTON, 2004);
    ASSERT_TRUE(slider && list && button);
    for (auto [message, child] : {std::pair{WM_CTLCOLORSTATIC, slider}, std::pair{WM_CTLCOLORLISTBOX, list},
                                  std::pair{WM_CTLCOLORBTN, button}}) {
        brush = AskColour(d.m_hWnd, message, canvas.dc(), child);
        EXPECT_NE(brush, nullptr) << message;
        EXPECT_NE(brush, kNullBrush) << "the system's answer for message " << message;
    }
}

TEST_F(DialogBehaviour, EveryOtherRequestGetsTheNullBrush)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    SkinTestDialog& d = shown.dialog;
    Canvas canvas(60, 20);
    SetBkMode(canvas.dc(), OPAQUE);
    HWND plain = MakeChild(d.m_hWnd, "STATIC", SS_LEFT, 2005);
    HWND scroll = MakeChild(d.m_hWnd, "SCROLLBAR", SBS_HORZ, 2006);
    ASSERT_TRUE(plain && scroll);
    EXPECT_EQ(AskColour(d.m_hWnd, WM_CTLCOLORSTATIC, canvas.dc(), plain), kNullBrush) << "a plain system static";
    EXPECT_EQ(GetBkMode(canvas.dc()), OPAQUE) << "only skinned texts are switched to transparent";
    EXPECT_EQ(GetPixel(canvas.dc(), 2, 2), RGB(0, 0, 0)) << "and only they paint a face part";
    EXPECT_EQ(AskColour(d.m_hWnd, WM_CTLCOLORSCROLLBAR, canvas.dc(), scroll), kNullBrush);
    EXPECT_EQ(AskColour(d.m_hWnd, WM_CTLCOLORDLG, canvas.dc(), d.m_hWnd), kNullBrush);
}

TEST_F(DialogBehaviour, TooltipsFromTheTextFileAppearBecauseTheDialogRelaysTheMouse)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    SkinTestDialog& d = shown.dialog;
    SetWindowPos(d.m_hWnd, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    // Tooltips show for the active window, as the running program's window is.
    SetActiveWindow(d.m_hWnd);
    CToolTipCtrl& tip = d.ToolTip();
    ASSERT_NE(tip.m_hWnd, nullptr);
    tip.SetDelayTime(TTDT_INITIAL, 50);
    EXPECT_EQ(tip.GetToolCount(), 2) << "the two buttons with texts; the hidden one has none";
    const auto tipShown = [&] { return IsWindowVisible(tip.m_hWnd) != FALSE; };

    // Moves over the button that nobody relays leave the tooltip alone.
    MouseTo(POINT{20, 20});
    PumpMessages(200);
    MouseTo(CentreOf(d.first.m_hWnd));
    EXPECT_FALSE(PumpMessages(800, tipShown)) << "without the relay no tooltip appears";

    MouseTo(POINT{20, 20});
    PumpTranslated(200, [] { return false; });
    MouseTo(CentreOf(d.first.m_hWnd));
    ASSERT_TRUE(PumpTranslated(3000, tipShown)) << "the relayed moves bring the tooltip up";
    TOOLINFOA current{};
    current.cbSize = TTTOOLINFOA_V2_SIZE;
    char text[80] = {};
    current.lpszText = text;
    ASSERT_TRUE(SendMessageA(tip.m_hWnd, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&current)));
    EXPECT_EQ(reinterpret_cast<HWND>(current.uId), d.first.m_hWnd);
    EXPECT_STREQ(text, "The first button");
    RECT area{};
    GetWindowRect(tip.m_hWnd, &area);
    const RECT face{100, 100, 100 + kFaceWidth, 100 + kFaceHeight};
    UnionRect(&area, &area, &face);
    testsupport::CaptureScreen(area).SaveBmp(testsupport::OutputDir() + "dialog-tooltip.bmp");

    // A replaced tooltip is the one the control shows from then on.
    d.SetToolTipText(IDC_FIRST, d.first.m_hWnd, "Replaced");
    EXPECT_EQ(d.GetToolTipText(d.first.m_hWnd), "Replaced");
    MouseTo(POINT{20, 20});
    PumpTranslated(300, [&] { return !tipShown(); });
}

TEST_F(DialogBehaviour, HiddenDialogsMakeTheirSubMenuAndItsChoicesShowThem)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    SkinTestDialog& d = shown.dialog;
    EXPECT_EQ(d.CreateHiddenDialogMenu(), nullptr) << "no sub-menu while hidden dialogs are not handled";
    d.HandlingHiddenDialogs();
    EXPECT_EQ(d.CreateHiddenDialogMenu(), nullptr) << "nor without entries";
    d.AddHiddenDlg(391, "Snapshot");
    d.AddHiddenDlg(396, "Remote");

    HMENU menu = d.CreateHiddenDialogMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    char name[32] = {};
    GetMenuStringA(menu, 0, name, sizeof(name), MF_BYPOSITION);
    EXPECT_STREQ(name, "Snapshot");
    EXPECT_EQ(GetMenuItemID(menu, 0), 5000u);
    GetMenuStringA(menu, 1, name, sizeof(name), MF_BYPOSITION);
    EXPECT_STREQ(name, "Remote");
    EXPECT_EQ(GetMenuItemID(menu, 1), 5001u);

    // Choosing an entry sends its id as a menu command (no control window).
    d.SendMessage(WM_COMMAND, GetMenuItemID(menu, 1), 0);
    ASSERT_EQ(d.shownHidden.size(), 1u);
    EXPECT_EQ(d.shownHidden[0], 396);
    DestroyMenu(menu);

    // A control whose id happens to lie in the range is not a menu choice.
    d.SendMessage(WM_COMMAND, MAKEWPARAM(5000, BN_CLICKED), reinterpret_cast<LPARAM>(d.first.m_hWnd));
    EXPECT_EQ(d.shownHidden.size(), 1u);
    ASSERT_EQ(d.commands.size(), 1u);
    EXPECT_EQ(LOWORD(d.commands[0]), 5000);

    // Each dialog numbers its own entries from 5000.
    SkinTestDialog other;
    ASSERT_TRUE(other.Create(IDD_SKIN_TEST));
    other.AddHiddenDlg(100, "Other");
    EXPECT_EQ(other.GetHiddenDlgCommandId(100), 5000);
    other.DestroyWindow();
}
