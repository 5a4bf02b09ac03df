// Stretch dialogs end to end: the beginning size, grabber drags within the limits with the
// three messages to the controls, and timed expansion.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "QorGraphicsEngineAPI.h"
#include "StretchGeometry.h"
#include "TestSkin.h"
#include "TestSupport.h"

using namespace dialogtest;

namespace {

SIZE WindowSize(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void ExpectMessage(const ReceivedMessage& m, UINT message, int wParam, int lParam)
{
    EXPECT_EQ(m.message, message);
    EXPECT_EQ(m.wParam, wParam);
    EXPECT_EQ(m.lParam, lParam);
}

}  // namespace

TEST(StretchDialog, DragsFollowTheMouseWithinTheLimitsAndTellTheControls)
{
    ASSERT_TRUE(EngineEnvironment::Running());
    StretchTestDialog d;
    ASSERT_TRUE(d.Create(IDD_STRETCH_TEST));
    d.ShowWindow(SW_SHOWNOACTIVATE);
    ASSERT_TRUE(d.initialised);
    EXPECT_EQ(d.GetQorDlgType(), 1);
    EXPECT_TRUE(d.IsStretchable());
    EXPECT_TRUE(d.VerifyGraphicsValues());
    SIZE size = WindowSize(d.m_hWnd);
    EXPECT_EQ(size.cx, 260) << "beginning width";
    EXPECT_EQ(size.cy, 160);

    RECT start{};
    GetWindowRect(d.m_hWnd, &start);
    const POINT grab{start.right - 5, start.bottom - 5};
    const int edges = skelda::kEdgeRight | skelda::kEdgeBottom;
    d.BeginGrab(edges, grab);
    d.TrackGrab(POINT{grab.x + 30, grab.y + 20});
    size = WindowSize(d.m_hWnd);
    EXPECT_EQ(size.cx, 290);
    EXPECT_EQ(size.cy, 180);
    d.TrackGrab(POINT{grab.x - 200, grab.y});
    size = WindowSize(d.m_hWnd);
    EXPECT_EQ(size.cx, 200) << "held at the minimum width";
    EXPECT_EQ(size.cy, 160);
    RECT now{};
    GetWindowRect(d.m_hWnd, &now);
    EXPECT_EQ(now.left, start.left) << "the opposite edge stays";
    EXPECT_EQ(now.top, start.top);
    d.EndGrab();

    for (auto* control : {&d.first, &d.second}) {
        ASSERT_EQ(control->received.size(), 4u);
        ExpectMessage(control->received[0], WM_USER + 100, edges, 0);
        ExpectMessage(control->received[1], WM_USER + 101, 30, 20);
        ExpectMessage(control->received[2], WM_USER + 101, -90, -20);
        ExpectMessage(control->received[3], WM_USER + 102, -60, 0);
    }

    // The region follows the new face: the rounded corner moved with the edge.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(d.m_hWnd, region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 199, 80));
    EXPECT_FALSE(PtInRegion(region, 200, 80));
    EXPECT_FALSE(PtInRegion(region, 198, 158)) << "corner cut at the new size";
    DeleteObject(region);

    // The face: corners unchanged, the stripe continued across the new width.
    HDC screen = GetDC(nullptr);
    HBITMAP part = nullptr;
    ASSERT_TRUE(d.GetPartialBitmap(screen, RECT{0, 0, 200, 160}, &part));
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, part);
    EXPECT_EQ(GetPixel(memory, 190, 75), kStripe);
    EXPECT_EQ(GetPixel(memory, 190, 60), kFace);
    EXPECT_EQ(GetPixel(memory, 199, 1), kTransparent) << "top-right corner as in the background";
    // The stripe is one line: the left edge, the middle and the right edge agree on every row
    // of it and next to it.
    for (int y = 66; y < 84; ++y) {
        EXPECT_EQ(GetPixel(memory, 5, y), GetPixel(memory, 100, y)) << "left edge, row " << y;
        EXPECT_EQ(GetPixel(memory, 190, y), GetPixel(memory, 100, y)) << "right edge, row " << y;
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(part);
    ReleaseDC(nullptr, screen);
    d.DestroyWindow();
}

TEST(StretchDialog, ExpandToStepsToTheTargetOnATimer)
{
    ASSERT_TRUE(EngineEnvironment::Running());
    StretchTestDialog d;
    ASSERT_TRUE(d.Create(IDD_STRETCH_TEST));
    ASSERT_TRUE(d.ExpandTo(skelda::kEdgeRight, 15, 320, 0, 0));
    EXPECT_TRUE(d.IsAutoStretching());
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return !d.IsAutoStretching(); }));
    EXPECT_EQ(WindowSize(d.m_hWnd).cx, 320);
    EXPECT_EQ(WindowSize(d.m_hWnd).cy, 160);
    ASSERT_GE(d.first.received.size(), 3u);
    EXPECT_EQ(d.first.received.front().message, static_cast<UINT>(WM_USER + 100));
    int sum = 0;
    for (const auto& m : d.first.received)
        if (m.message == WM_USER + 101)
            sum += m.wParam;
    EXPECT_EQ(sum, 60);
    ExpectMessage(d.first.received.back(), WM_USER + 102, 60, 0);
    ASSERT_TRUE(d.ContractTo(skelda::kEdgeRight, 100, 230, 0, 0));
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return !d.IsAutoStretching(); }));
    EXPECT_EQ(WindowSize(d.m_hWnd).cx, 230);
    d.DestroyWindow();
}

// The composite face is made top-down; its region must keep the one-sided tab where the
// background has it, at every size.
TEST(StretchDialog, AOneSidedTabStaysOnTheUpperLeftOfTheStretchedShape)
{
    ASSERT_TRUE(EngineEnvironment::Running());
    StretchTestDialog d("OneSidedStretch");
    ASSERT_TRUE(d.Create(IDD_STRETCH_TEST));
    ASSERT_TRUE(d.initialised);
    for (SIZE size : {SIZE{300, 200}, SIZE{220, 130}, SIZE{390, 290}}) {
        SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy));
        ASSERT_TRUE(d.ResizeFace(size.cx, size.cy));
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(d.m_hWnd, region), ERROR);
        EXPECT_TRUE(PtInRegion(region, kTabLeft + 5, 2)) << "the tab";
        EXPECT_FALSE(PtInRegion(region, kTabRight + 20, 2)) << "beside the tab";
        EXPECT_FALSE(PtInRegion(region, size.cx - 10, 2)) << "the upper right has no tab";
        EXPECT_TRUE(PtInRegion(region, 2, kTabHeight + 2)) << "the body's upper left";
        EXPECT_TRUE(PtInRegion(region, size.cx - 3, size.cy - 3)) << "the body's lower right";
        EXPECT_TRUE(PtInRegion(region, 2, size.cy - 3)) << "the lower left is body, not a mirrored tab";
        DeleteObject(region);
    }
    d.DestroyWindow();
}
