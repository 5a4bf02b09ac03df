// Every kind of skinned control created, painted in its states and destroyed again and again
// leaves the process's GDI object count where it was.
#include <gtest/gtest.h>

#include <cstdio>

#include "ControlDialog.h"
#include "ControlTestIds.h"
#include "GdiObjectCount.h"
#include "TestSupport.h"

using namespace controltest;

namespace {

// Each round builds the whole dialog from the skin (about a quarter second under a loaded Wine),
// so the loop stays short; a leak of one object per round still stands out.
constexpr int kRounds = 40;

// One life of the dialog: its controls loaded, painted in several states and destroyed.
bool OneRound()
{
    ControlsDialog dialog;
    if (!dialog.Create(IDD_CONTROLS_TEST) || !dialog.initialised)
        return false;
    dialog.SetWindowPos(nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    dialog.button.SetState(1);
    dialog.mixedButton.SetState(2);
    dialog.brokenButton.SetIdentity(2);
    dialog.slider.SetRange(0, 10);
    dialog.slider.SetPos(7);
    dialog.combo.AddString("one");
    dialog.combo.SetCurSel(0);
    dialog.list.InsertColumn(0, "Channel", LVCFMT_LEFT, 80);
    dialog.list.InsertItem(0, "2");
    dialog.progress.SetRange32(0, 10);
    dialog.progress.SetPos(4);
    dialog.combo.SetBrushColor(RGB(1, 2, 3));
    dialog.placement.EnableForChanging(true);
    dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    ::SetFocus(dialog.brokenSlider.GetSafeHwnd());
    dialog.brokenSlider.UpdateWindow();
    dialog.DestroyWindow();
    return true;
}

}  // namespace

TEST(ControlLeaks, CreatingPaintingAndDestroyingEveryKindLeavesNoGdiObjects)
{
    ASSERT_TRUE(EngineEnvironment::Running()) << "engine did not start";
    // Warm up: the first rounds create the system's shared objects (fonts, class brushes).
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(OneRound());
    testsupport::PumpMessages(50);
    const DWORD before = testsupport::GdiObjectCount();
    ASSERT_GT(before, 0u);
    const DWORD start = GetTickCount();
    for (int i = 0; i < kRounds; ++i)
        ASSERT_TRUE(OneRound()) << "round " << i;
    testsupport::PumpMessages(50);
    const DWORD after = testsupport::GdiObjectCount();
    std::printf("%d rounds of %d controls: GDI objects %lu -> %lu in %lu ms\n", kRounds, 14, before, after,
                GetTickCount() - start);
    // A leak of one object per round would add 40.
    EXPECT_LE(after, before + 10);
}

// A button loads only its primary bitmap with the dialog; each other state's picture is
// loaded the first time it is asked for and kept, and a picture that will not load is not
// tried again at every paint.
TEST(ControlLeaks, StateBitmapsLoadWhenFirstAskedForAndOnlyOnce)
{
    ASSERT_TRUE(EngineEnvironment::Running()) << "engine did not start";
    ControlsDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_CONTROLS_TEST) && dialog.initialised);
    ASSERT_TRUE(dialog.mixedButton.PrimaryBitmapAndRegionSet());
    const DWORD loaded = testsupport::GdiObjectCount();
    const HBITMAP focus = dialog.mixedButton.StateBitmap(2);
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(testsupport::GdiObjectCount(), loaded + 1) << "the focus picture was loaded with the dialog";
    EXPECT_EQ(dialog.mixedButton.StateBitmap(2), focus);
    EXPECT_EQ(testsupport::GdiObjectCount(), loaded + 1) << "the focus picture was loaded again";
    // The broken button's down picture is damaged: nothing, every time, and no object made.
    EXPECT_EQ(dialog.brokenButton.StateBitmap(1), nullptr);
    EXPECT_EQ(dialog.brokenButton.StateBitmap(1), nullptr);
    EXPECT_EQ(testsupport::GdiObjectCount(), loaded + 1);
    // Slots without a file and out of range stay empty.
    EXPECT_EQ(dialog.mixedButton.StateBitmap(7), nullptr);
    EXPECT_EQ(dialog.mixedButton.StateBitmap(16), nullptr);
    EXPECT_EQ(dialog.mixedButton.StateBitmap(-1), nullptr);
    dialog.DestroyWindow();
}
