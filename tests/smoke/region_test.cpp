// A window region applied to a real window: the system keeps it, hit-tests by it, and the
// screen shows the window only inside it.
#include <windows.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

constexpr COLORREF kFill = RGB(200, 30, 40);

LRESULT CALLBACK FillProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(hwnd, &r);
        HBRUSH brush = CreateSolidBrush(kFill);
        FillRect(reinterpret_cast<HDC>(wp), &r, brush);
        DeleteObject(brush);
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

struct RegionWindow {
    HWND hwnd = nullptr;
    RegionWindow(int x, int y, int size)
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = FillProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SmokeRegionWindow";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "region", WS_POPUP | WS_VISIBLE,
                               x, y, size, size, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~RegionWindow() { if (hwnd) DestroyWindow(hwnd); }
};

TEST(SmokeRegion, RegionIsKeptAndHitTested)
{
    RegionWindow w(300, 300, 200);
    ASSERT_NE(w.hwnd, nullptr);
    ASSERT_NE(SetWindowRgn(w.hwnd, CreateEllipticRgn(0, 0, 200, 200), TRUE), 0);

    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(w.hwnd, copy), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(copy, 100, 100));
    EXPECT_FALSE(PtInRegion(copy, 3, 3));
    EXPECT_FALSE(PtInRegion(copy, 196, 196));
    DeleteObject(copy);

    testsupport::PumpMessages(100);
    EXPECT_EQ(WindowFromPoint(POINT{400, 400}), w.hwnd);
    EXPECT_NE(WindowFromPoint(POINT{302, 302}), w.hwnd);
}

TEST(SmokeRegion, ScreenShowsTheWindowOnlyInsideItsRegion)
{
    RegionWindow w(500, 300, 200);
    ASSERT_NE(w.hwnd, nullptr);
    SetWindowRgn(w.hwnd, CreateEllipticRgn(0, 0, 200, 200), TRUE);
    RedrawWindow(w.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    testsupport::PumpMessages(300);

    const testsupport::ScreenImage shot = testsupport::CaptureScreen(RECT{500, 300, 700, 500});
    ASSERT_EQ(shot.width, 200);
    shot.SaveBmp(testsupport::OutputDir() + "smoke_region.bmp");
    EXPECT_EQ(shot.Pixel(100, 100), kFill);
    EXPECT_EQ(shot.Pixel(100, 5), kFill);
    EXPECT_NE(shot.Pixel(2, 2), kFill);
    EXPECT_NE(shot.Pixel(197, 197), kFill);
}

}  // namespace
