// Skinned buttons in a stretch dialog follow its right and bottom edges by their tracking data
// while the dialog is dragged bigger or smaller, stepped by its timer, or placed from its edges.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "StretchGeometry.h"
#include "TestSkin.h"
#include "TestSupport.h"

using namespace dialogtest;

namespace {

RECT RectInParent(const EQorButton& button)
{
    RECT rect{};
    GetWindowRect(button.GetSafeHwnd(), &rect);
    MapWindowPoints(nullptr, GetParent(button.GetSafeHwnd()), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

struct Placed {
    RECT right, corner, still, bottom;
};

Placed Measure(TrackingTestDialog& d)
{
    return {RectInParent(d.right), RectInParent(d.corner), RectInParent(d.still), RectInParent(d.bottom)};
}

// `now` is `start` moved by (dx, dy), same size.
void ExpectMoved(const RECT& start, const RECT& now, int dx, int dy, const char* which)
{
    EXPECT_EQ(now.left - start.left, dx) << which;
    EXPECT_EQ(now.top - start.top, dy) << which;
    EXPECT_EQ(now.right - now.left, start.right - start.left) << which << " keeps its width";
    EXPECT_EQ(now.bottom - now.top, start.bottom - start.top) << which << " keeps its height";
}

void ExpectAll(const Placed& start, const Placed& now, int dx, int dy)
{
    ExpectMoved(start.right, now.right, dx, 0, "right edge (2)");
    ExpectMoved(start.corner, now.corner, dx, dy, "both edges (10)");
    ExpectMoved(start.still, now.still, 0, 0, "no edge (0)");
    ExpectMoved(start.bottom, now.bottom, 0, dy, "bottom edge (8)");
}

class EdgeTracking : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(EngineEnvironment::Running()) << "engine did not start";
        EngineEnvironment::Ui().messages.clear();
    }
};

}  // namespace

TEST_F(EdgeTracking, ButtonsFollowTheDraggedEdgesTheirTrackingNames)
{
    Shown<TrackingTestDialog> shown;
    ASSERT_TRUE(shown.created);
    TrackingTestDialog& d = shown.dialog;
    ASSERT_TRUE(d.initialised);
    ASSERT_TRUE(d.IsStretchable());
    const Placed start = Measure(d);
    EXPECT_EQ(start.right.left, 150);
    EXPECT_EQ(start.corner.top, 100);

    RECT window{};
    GetWindowRect(d.m_hWnd, &window);
    const POINT grab{window.right - 5, window.bottom - 5};
    d.BeginGrab(skelda::kEdgeRight | skelda::kEdgeBottom, grab);
    d.TrackGrab(POINT{grab.x + 30, grab.y + 20});
    ExpectAll(start, Measure(d), 30, 20);
    d.TrackGrab(POINT{grab.x + 50, grab.y + 60});
    ExpectAll(start, Measure(d), 50, 60);
    // Below the minimum (200 x 120 from 260 x 160) the edges and the buttons stop there.
    d.TrackGrab(POINT{grab.x - 200, grab.y - 200});
    ExpectAll(start, Measure(d), -60, -40);
    d.TrackGrab(POINT{grab.x + 40, grab.y + 10});
    d.EndGrab();
    ExpectAll(start, Measure(d), 40, 10);

    SetWindowPos(d.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    testsupport::PumpMessages(150);
    GetWindowRect(d.m_hWnd, &window);
    testsupport::CaptureScreen(window).SaveBmp(testsupport::OutputDir() + "tracking-stretched.bmp");

    // A second drag starts from where the first one left the buttons.
    const Placed second = Measure(d);
    const POINT grab2{window.right - 5, window.bottom - 5};
    d.BeginGrab(skelda::kEdgeRight, grab2);
    d.TrackGrab(POINT{grab2.x - 25, grab2.y + 50});
    d.EndGrab();
    ExpectAll(second, Measure(d), -25, 0);
}

TEST_F(EdgeTracking, ButtonsFollowATimedExpansion)
{
    Shown<TrackingTestDialog> shown;
    ASSERT_TRUE(shown.created);
    TrackingTestDialog& d = shown.dialog;
    const Placed start = Measure(d);
    ASSERT_TRUE(d.ExpandTo(skelda::kEdgeRight | skelda::kEdgeBottom, 15, 320, 200, 0));
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return !d.IsAutoStretching(); }));
    ExpectAll(start, Measure(d), 60, 40);
}

TEST_F(EdgeTracking, AnAdjustRequestPlacesButtonsByTheirOffsetsFromTheEdges)
{
    Shown<TrackingTestDialog> shown;
    ASSERT_TRUE(shown.created);
    TrackingTestDialog& d = shown.dialog;
    const Placed start = Measure(d);
    RECT client{};
    GetClientRect(d.m_hWnd, &client);
    for (EQorButton* button : {&d.right, &d.corner, &d.still, &d.bottom})
        button->AdjustToParentEdges();
    const Placed now = Measure(d);
    EXPECT_EQ(now.right.right, client.right - 20) << "RightOffset";
    EXPECT_EQ(now.right.top, start.right.top);
    EXPECT_EQ(now.corner.right, client.right - 20);
    EXPECT_EQ(now.corner.bottom, client.bottom - 12) << "BottomOffset";
    ExpectMoved(start.still, now.still, 0, 0, "no edge");
    EXPECT_EQ(now.bottom.bottom, client.bottom - 40);
    EXPECT_EQ(now.bottom.left, start.bottom.left);
    EXPECT_EQ(now.corner.right - now.corner.left, start.corner.right - start.corner.left);
}

TEST_F(EdgeTracking, DraggingTheGrabberStretchesTheDialogAndMovesTheButtons)
{
    Shown<TrackingTestDialog> shown;
    ASSERT_TRUE(shown.created);
    TrackingTestDialog& d = shown.dialog;
    SetWindowPos(d.m_hWnd, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    testsupport::PumpMessages(100);
    const Placed start = Measure(d);
    const RECT grabberStart = RectInParent(d.grabber);
    RECT before{};
    GetWindowRect(d.m_hWnd, &before);
    RECT handle{};
    GetWindowRect(d.grabber.GetSafeHwnd(), &handle);
    const POINT from{(handle.left + handle.right) / 2, (handle.top + handle.bottom) / 2};
    ASSERT_EQ(WindowFromPoint(from), d.grabber.GetSafeHwnd());

    DragWithMouse(from, POINT{from.x + 40, from.y + 30});
    RECT after{};
    GetWindowRect(d.m_hWnd, &after);
    EXPECT_EQ(after.left, before.left) << "the left and top edges stay";
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, 300);
    EXPECT_EQ(after.bottom - after.top, 190);
    ExpectAll(start, Measure(d), 40, 30);
    ExpectMoved(grabberStart, RectInParent(d.grabber), 40, 30, "the grabber follows the corner it drags");
    EXPECT_EQ(d.grabber.GetCurrentState(), 0);
    EXPECT_NE(GetCapture(), d.grabber.GetSafeHwnd());
    testsupport::CaptureScreen(after).SaveBmp(testsupport::OutputDir() + "tracking-grabber-drag.bmp");
}
