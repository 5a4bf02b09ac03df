// The control classes bound to the items of a real dialog.
#include <gtest/gtest.h>

#include "TestDialogs.h"
#include "TestSupport.h"

namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dlg.Create(IDD_FW_MAIN)); }
    void TearDown() override { dlg.DestroyWindow(); }
    EventLog log;
    TestDialog dlg{log};
};

TEST_F(Controls, SliderProgressAndSpinKeepTheirRangesAndPositions)
{
    dlg.level.SetRange(-10, 10);
    dlg.level.SetPos(25);
    EXPECT_EQ(dlg.level.GetRangeMin(), -10);
    EXPECT_EQ(dlg.level.GetRangeMax(), 10);
    EXPECT_EQ(dlg.level.GetPos(), 10);  // clamped by the control
    CRect thumb;
    dlg.level.GetThumbRect(thumb);
    EXPECT_FALSE(thumb.IsRectEmpty());

    dlg.progress.SetRange32(0, 1000);
    dlg.progress.SetPos(250);
    dlg.progress.SetStep(50);
    dlg.progress.StepIt();
    EXPECT_EQ(dlg.progress.GetPos(), 300);

    dlg.spin.SetRange32(-5, 500);
    dlg.spin.SetPos32(321);
    int lower = 0, upper = 0;
    dlg.spin.GetRange32(lower, upper);
    EXPECT_EQ(lower, -5);
    EXPECT_EQ(upper, 500);
    EXPECT_EQ(dlg.spin.GetPos32(), 321);
}

TEST_F(Controls, ComboAndListHoldTheirItems)
{
    dlg.combo.AddString("NTSC");
    dlg.combo.AddString("PAL");
    dlg.combo.SetItemData(1, 0x1234);
    EXPECT_EQ(dlg.combo.GetCount(), 2);
    EXPECT_EQ(dlg.combo.SelectString(-1, "PAL"), 1);
    EXPECT_EQ(dlg.combo.GetCurSel(), 1);
    EXPECT_EQ(dlg.combo.GetLBText(1), "PAL");
    EXPECT_EQ(dlg.combo.GetLBText(7), "");
    EXPECT_EQ(dlg.combo.GetItemData(1), 0x1234u);

    ASSERT_EQ(dlg.list.InsertColumn(0, "File", LVCFMT_LEFT, 80), 0);
    ASSERT_EQ(dlg.list.InsertColumn(1, "Size", LVCFMT_LEFT, 40), 1);
    ASSERT_EQ(dlg.list.InsertItem(0, "clip1.mpg"), 0);
    dlg.list.SetItemText(0, 1, "12 MB");
    const std::string longText(700, 'w');
    ASSERT_EQ(dlg.list.InsertItem(1, longText.c_str()), 1);
    EXPECT_EQ(dlg.list.GetItemCount(), 2);
    EXPECT_EQ(dlg.list.GetItemText(0, 1), "12 MB");
    EXPECT_EQ(dlg.list.GetItemText(1, 0), longText);
    dlg.list.SetTextColor(RGB(0, 255, 0));
    EXPECT_EQ(dlg.list.GetTextColor(), RGB(0, 255, 0));
    dlg.list.DeleteAllItems();
    EXPECT_EQ(dlg.list.GetItemCount(), 0);
}

TEST_F(Controls, ButtonAndEditOperations)
{
    dlg.check.SetCheck(BST_UNCHECKED);
    EXPECT_EQ(dlg.check.GetCheck(), BST_UNCHECKED);
    dlg.check.SendMessage(BM_CLICK);
    EXPECT_EQ(dlg.check.GetCheck(), BST_CHECKED);
    EXPECT_EQ(dlg.check.GetButtonStyle(), static_cast<UINT>(BS_AUTOCHECKBOX));

    dlg.name.SetWindowText("hello");
    dlg.name.SetSel(0, -1);
    dlg.name.ReplaceSel("bye");
    EXPECT_EQ(dlg.name.GetWindowText(), "bye");
    dlg.name.SetLimitText(4);
    EXPECT_EQ(dlg.name.GetLimitText(), 4u);
}

TEST_F(Controls, TooltipsKnowTheirTools)
{
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&dlg));
    HWND go = dlg.GetDlgItem(IDC_FW_GO);
    ASSERT_TRUE(tips.AddTool(go, "Starts it"));
    EXPECT_EQ(tips.GetToolCount(), 1);
    EXPECT_EQ(tips.GetText(go), "Starts it");
    tips.UpdateTipText("Starts it now", go);
    EXPECT_EQ(tips.GetText(go), "Starts it now");
    tips.DelTool(go);
    EXPECT_EQ(tips.GetToolCount(), 0);
    tips.DestroyWindow();
}

}  // namespace
