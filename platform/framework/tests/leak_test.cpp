// A few hundred dialogs created and destroyed leave no windows, bindings or GDI and USER
// objects behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "GdiObjectCount.h"
#include "TestDialogs.h"
#include "TestSupport.h"

namespace {

struct Counts {
    DWORD gdi = 0;
    DWORD user = 0;
    int windows = 0;
    size_t bound = 0;
    DWORD handles = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM counter)
{
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hWnd, LPARAM counter)
{
    ++*reinterpret_cast<int*>(counter);
    EnumChildWindows(hWnd, CountChild, counter);
    return TRUE;
}

Counts Measure()
{
    testsupport::PumpMessages(20);
    Counts c;
    c.gdi = testsupport::GdiObjectCount();
    c.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&c.windows));
    c.bound = CWnd::GetBoundWindowCount();
    GetProcessHandleCount(GetCurrentProcess(), &c.handles);
    return c;
}

void Print(const char* what, const Counts& before, const Counts& after)
{
    std::printf("%s: GDI objects %lu -> %lu, USER objects %lu -> %lu, windows %d -> %d, bound %zu -> %zu, "
                "kernel handles %lu -> %lu\n",
                what, before.gdi, after.gdi, before.user, after.user, before.windows, after.windows,
                before.bound, after.bound, before.handles, after.handles);
}

void ExpectNoGrowth(const Counts& before, const Counts& after)
{
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_EQ(after.bound, before.bound);
    // A leak of one object per dialog would show as hundreds; caches may settle by a few.
    EXPECT_LE(after.gdi, before.gdi + 8);
    EXPECT_LE(after.user, before.user + 8);
    EXPECT_LE(after.handles, before.handles + 8);
}

void OneModeless(bool withPainting)
{
    EventLog log;
    TestDialog dlg(log);
    ASSERT_TRUE(dlg.Create(IDD_FW_MAIN));
    if (withPainting) {
        dlg.ShowWindow(SW_SHOWNA);
        dlg.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    dlg.SendDlgItemMessage(IDC_FW_GO, BM_CLICK);
    dlg.DestroyWindow();
}

void OneModal()
{
    EventLog log;
    TestDialog dlg(log);
    dlg.timerMs = 1;
    dlg.onTimer = [&](UINT_PTR) {
        dlg.KillTimer(7);
        dlg.EndDialog(IDOK);
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
}

TEST(Leaks, TheMeasureSeesLeakedObjects)
{
    const Counts before = Measure();
    std::vector<HBRUSH> leaked;
    for (int i = 0; i < 40; ++i)
        leaked.push_back(CreateSolidBrush(RGB(i, 1, 2)));
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const Counts during = Measure();
    for (HBRUSH brush : leaked)
        DeleteObject(brush);
    DestroyWindow(window);
    EXPECT_GE(during.gdi, before.gdi + 40);
    EXPECT_GT(during.windows, before.windows);  // the system may add a helper window of its own
    const Counts after = Measure();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.windows, before.windows);
}

TEST(Leaks, ModelessDialogsCreatedAndDestroyedLeaveNothing)
{
    for (int i = 0; i < 5; ++i)
        OneModeless(true);  // let caches (fonts, classes) settle
    const Counts before = Measure();
    for (int i = 0; i < 200; ++i)
        OneModeless(i % 10 == 0);
    const Counts after = Measure();
    Print("200 modeless dialogs", before, after);
    ExpectNoGrowth(before, after);
}

TEST(Leaks, ModalDialogsRunAndEndedLeaveNothing)
{
    for (int i = 0; i < 3; ++i)
        OneModal();
    const Counts before = Measure();
    for (int i = 0; i < 60; ++i)
        OneModal();
    const Counts after = Measure();
    Print("60 modal dialogs", before, after);
    ExpectNoGrowth(before, after);
}

TEST(Leaks, GdiOwnersInALoopLeaveNothing)
{
    const Counts before = Measure();
    for (int i = 0; i < 500; ++i) {
        CBitmap bitmap;
        bitmap.CreateDIBSection32(16, 16);
        CRgn region;
        region.CreateRectRgn(0, 0, i % 50 + 1, 10);
        CBrush brush;
        brush.CreateSolidBrush(RGB(i % 255, 0, 0));
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CSelectObject selected(dc, bitmap);
        CClientDC screen(nullptr);
    }
    const Counts after = Measure();
    Print("500 rounds of GDI owners", before, after);
    ExpectNoGrowth(before, after);
}

}  // namespace
