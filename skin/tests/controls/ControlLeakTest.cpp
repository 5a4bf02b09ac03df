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
