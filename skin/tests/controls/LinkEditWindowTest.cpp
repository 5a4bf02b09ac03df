// The linked edit and slider as real windows: typing, slider scrolling, values and focus loss.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "EQorEdit.h"
#include "PlainParent.h"
#include "TestSupport.h"

namespace {

constexpr int kEditId = 301, kSliderId = 302, kOtherId = 303;

class CountingLinkEdit : public EQorLinkEdit {
public:
    int badInputs = 0;
    void OnBadInput() override
    {
        ++badInputs;
        EQorLinkEdit::OnBadInput();
    }
};

class LinkEditWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(controltest::CreatePlainParent(parent, "LinkEditTestParent", "Link", RECT{40, 300, 400, 420}));
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, RECT{10, 10, 110, 34}, &parent, kEditId));
        ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_AUTOTICKS, RECT{10, 50, 250, 80}, &parent,
                                  kSliderId));
        ASSERT_TRUE(other.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, RECT{150, 10, 250, 34}, &parent, kOtherId));
        edit.SetSlideLink(parent.GetSafeHwnd(), kSliderId);
    }

    void TearDown() override
    {
        edit.DestroyWindow();
        slider.DestroyWindow();
        other.DestroyWindow();
        parent.DestroyWindow();
    }

    std::string EditText() const
    {
        char text[64] = {};
        GetWindowTextA(edit.GetSafeHwnd(), text, sizeof(text));
        return text;
    }

    void Type(char ch) { SendMessageA(edit.GetSafeHwnd(), WM_CHAR, static_cast<unsigned char>(ch), 1); }

    void ScrollTo(int position)
    {
        SendMessageA(slider.GetSafeHwnd(), TBM_SETPOS, TRUE, position);
        SendMessageA(parent.GetSafeHwnd(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                     reinterpret_cast<LPARAM>(slider.GetSafeHwnd()));
    }

    CWnd parent;
    CountingLinkEdit edit;
    EQorLinkSlider slider;
    CEdit other;
};

}  // namespace

TEST_F(LinkEditWindowTest, NegativeRangeTakesLeadingMinusAndTicksOnlyAtTheEnds)
{
    edit.SetParams(-10, 10, 0);
    EXPECT_EQ(-10, slider.GetRangeMin());
    EXPECT_EQ(10, slider.GetRangeMax());
    // A tick frequency of 20 over a range of 20 leaves only the two end ticks.
    EXPECT_EQ(2, SendMessageA(slider.GetSafeHwnd(), TBM_GETNUMTICS, 0, 0));
    edit.SetFocus();
    Type('-');
    Type('7');
    EXPECT_EQ("-7", EditText());
    EXPECT_EQ(-7, edit.GetValue());
    EXPECT_EQ(0, edit.badInputs);
    Type('-');  // a second minus
    EXPECT_EQ(1, edit.badInputs);
    EXPECT_EQ("-7", EditText());
}

TEST_F(LinkEditWindowTest, PointInIntegerModeIsRefusedWithBadInput)
{
    edit.SetParams(0, 100, 10);
    EXPECT_EQ(11, SendMessageA(slider.GetSafeHwnd(), TBM_GETNUMTICS, 0, 0));
    edit.SetFocus();
    Type('4');
    Type('.');
    Type('5');
    EXPECT_EQ(1, edit.badInputs);
    EXPECT_EQ("45", EditText());
}

TEST_F(LinkEditWindowTest, SliderScrollingWritesTheEdit)
{
    edit.SetParams(0, 100, 10);
    ScrollTo(30);
    EXPECT_EQ("30", EditText());

    edit.SetResolution(200);
    edit.SetParams(0.0, 2.0, 1, "%.2f");
    EXPECT_EQ(200, slider.GetRangeMax());
    ScrollTo(50);
    EXPECT_EQ("0.50", EditText());
    EXPECT_TRUE(edit.SetValue(1.5));
    EXPECT_EQ("1.50", EditText());
    EXPECT_FALSE(edit.SetValue(2.5));
    EXPECT_EQ("1.50", EditText());
    EXPECT_EQ(0, edit.GetValue());  // no integer in floating mode
}

TEST_F(LinkEditWindowTest, ValueFunctionMapsSliderPositions)
{
    edit.SetParams(0, 1000, 1);
    slider.SetValueFunction([](long position) { return position * 10; });
    slider.SetSlidePos(7);
    EXPECT_EQ("70", EditText());
}

TEST_F(LinkEditWindowTest, FocusLossBelowMinimumWritesMinimumAndToSliderRefreshes)
{
    edit.SetParams(-10, 10, 1);
    EXPECT_TRUE(edit.SetValue(50));
    EXPECT_EQ("10", EditText());  // clamped
    SetWindowTextA(edit.GetSafeHwnd(), "-50");
    edit.SetFocus();
    other.SetFocus();
    EXPECT_EQ("-10", EditText());

    ScrollTo(4);
    SetWindowTextA(edit.GetSafeHwnd(), "8");
    edit.SetFocus();
    slider.SetFocus();
    EXPECT_EQ("4", EditText());
}

namespace {

// Watches for the "Error" box from another thread, notes its owner and text, and presses OK.
struct ErrorBoxWatcher {
    HWND owner = nullptr;
    std::string text;
    bool seen = false;
    static DWORD WINAPI Run(void* self)
    {
        auto* watcher = static_cast<ErrorBoxWatcher*>(self);
        for (int i = 0; i < 300 && !watcher->seen; ++i) {
            HWND box = FindWindowA("#32770", "Error");
            if (box) {
                watcher->seen = true;
                watcher->owner = GetWindow(box, GW_OWNER);
                char text[64] = {};
                GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
                watcher->text = text;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(20);
        }
        return 0;
    }
};

}  // namespace

TEST_F(LinkEditWindowTest, FocusLossAboveMaximumShowsTheErrorBoxRestoresAndTakesTheFocusBack)
{
    edit.SetParams(0, 100, 1);
    ScrollTo(30);
    ASSERT_EQ("30", EditText());
    SetWindowTextA(edit.GetSafeHwnd(), "250");
    edit.SetFocus();
    ErrorBoxWatcher watcher;
    HANDLE thread = CreateThread(nullptr, 0, ErrorBoxWatcher::Run, &watcher, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    other.SetFocus();  // the box runs its own loop until the watcher presses OK
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    testsupport::PumpMessages(100);
    EXPECT_TRUE(watcher.seen) << "an \"Error\" box appeared";
    EXPECT_EQ(watcher.owner, parent.GetSafeHwnd()) << "owned by the edit's dialog";
    EXPECT_EQ(watcher.text, "Error");
    EXPECT_EQ("30", EditText()) << "the last value the slider gave";
    EXPECT_EQ(GetFocus(), edit.GetSafeHwnd()) << "the focus is taken back";
}
