// Transparent radio buttons, check boxes and menu radio buttons on a skinned dialog: their
// marks and texts over the face, by check state, from drawn marks or from state bitmaps.
#include <gtest/gtest.h>

#include <climits>

#include "DialogTestSupport.h"
#include "TestSkin.h"
#include "TestSupport.h"

using namespace dialogtest;
using testsupport::PumpMessages;
using testsupport::ScreenImage;

namespace {

// How often `colour` occurs in the part [left, right) x [top, bottom) of a picture, and
// where its leftmost and rightmost pixels are.
struct Count {
    int count = 0, left = INT_MAX, right = -1;
};

Count CountColour(const ScreenImage& image, COLORREF colour, RECT part = {0, 0, INT_MAX, INT_MAX})
{
    Count found;
    for (int y = std::max(0, static_cast<int>(part.top)); y < std::min(image.height, static_cast<int>(part.bottom)); ++y)
        for (int x = std::max(0, static_cast<int>(part.left)); x < std::min(image.width, static_cast<int>(part.right));
             ++x)
            if (image.Pixel(x, y) == colour) {
                ++found.count;
                found.left = std::min(found.left, x);
                found.right = std::max(found.right, x);
            }
    return found;
}

RECT RectInParent(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Click(HWND window, int x, int y)
{
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PumpMessages(50);
}

class TransparentRadio : public RunningEngineTest {
protected:
    static ScreenImage Picture(RadioTestDialog& d, const EQorButton& button, const std::string& saveAs)
    {
        SetWindowPos(d.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        PumpMessages(150);
        ScreenImage image = testsupport::CaptureWindow(button.GetSafeHwnd());
        image.SaveBmp(testsupport::OutputDir() + saveAs + ".bmp");
        return image;
    }
};

// The drawn mark of a 20 pixel high button: 13 pixels square, centred vertically.
constexpr int kMark = 13, kMarkTop = 3, kMarkMiddle = 9;
constexpr RECT kMarkArea{0, kMarkTop, kMark, kMarkTop + kMark};
constexpr RECT kMarkInside{2, kMarkTop + 2, kMark - 2, kMarkTop + kMark - 2};

}  // namespace

TEST_F(TransparentRadio, AreSizedAndPlacedByTheSkinWithoutAShape)
{
    Shown<RadioTestDialog> shown;
    ASSERT_TRUE(shown.created);
    RadioTestDialog& d = shown.dialog;
    EXPECT_TRUE(d.initialised);
    for (const auto& m : EngineEnvironment::Ui().messages)
        EXPECT_NE(m.caption, "Add New Control Entries in XML Files?") << "the menu radio shares element 50";
    const struct {
        const EQorButton* button;
        RECT expected;
    } cases[] = {{&d.one, {30, 20, 130, 40}}, {&d.two, {30, 45, 130, 65}}, {&d.check, {140, 20, 230, 40}},
                 {&d.menu, {140, 45, 230, 65}}};
    for (const auto& c : cases) {
        const RECT placed = RectInParent(c.button->GetSafeHwnd());
        EXPECT_TRUE(EqualRect(&placed, &c.expected))
            << c.button->ControlId() << ": " << placed.left << "," << placed.top << "," << placed.right << ","
            << placed.bottom;
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetWindowRgn(c.button->GetSafeHwnd(), region), ERROR) << "no window region";
        DeleteObject(region);
    }
    EXPECT_EQ(d.menu.GetKind(), EQorButton::kMenuRadio);
    EXPECT_EQ(d.menu.CurrentCaption(), "Item") << "the shared element's texts";
}

TEST_F(TransparentRadio, RadioMarkIsARingThatFillsWhenChecked)
{
    Shown<RadioTestDialog> shown;
    ASSERT_TRUE(shown.created);
    RadioTestDialog& d = shown.dialog;
    ScreenImage image = Picture(d, d.one, "radio-off");
    EXPECT_EQ(image.Pixel(0, kMarkMiddle), kTextWhite) << "left of the ring";
    EXPECT_EQ(image.Pixel(kMark - 1, kMarkMiddle), kTextWhite) << "right of the ring";
    EXPECT_EQ(image.Pixel(6, kMarkMiddle), kFace) << "an empty ring";
    EXPECT_EQ(image.Pixel(99, 1), kFace) << "the face shows around mark and text";
    const Count text = CountColour(image, kTextWhite, RECT{kMark, 0, 100, 20});
    EXPECT_GT(text.count, 10);
    EXPECT_GE(text.left, kMark + 4) << "text left-aligned after the mark and the gap";
    EXPECT_LE(text.left, kMark + 6);

    Click(d.one.GetSafeHwnd(), 50, 10);
    EXPECT_TRUE(d.one.GetChecked());
    image = Picture(d, d.one, "radio-on");
    EXPECT_EQ(image.Pixel(6, kMarkMiddle), kTextYellow) << "the dot, in the checked text colour";
    EXPECT_EQ(image.Pixel(0, kMarkMiddle), kTextYellow);
    EXPECT_GT(CountColour(image, kTextYellow, RECT{kMark, 0, 100, 20}).count, 10) << "text in the down colour";
    EXPECT_EQ(CountColour(image, kTextWhite).count, 0);
}

TEST_F(TransparentRadio, BitmapMarksFollowTheCheckAtTheRightWithRightAlignedText)
{
    Shown<RadioTestDialog> shown;
    ASSERT_TRUE(shown.created);
    RadioTestDialog& d = shown.dialog;
    ScreenImage image = Picture(d, d.two, "radio-bitmap-off");
    const RECT markArea{100 - kMarkSide, 5, 100, 5 + kMarkSide};
    EXPECT_EQ(CountColour(image, kMarkOff, markArea).count, kMarkSide * kMarkSide) << "the up bitmap, whole";
    EXPECT_EQ(image.Pixel(100 - kMarkSide - 1, 10), kFace);
    const Count text = CountColour(image, kTextWhite);
    ASSERT_GT(text.count, 10);
    EXPECT_LE(text.right, 100 - kMarkSide - 4) << "right-aligned before the gap";
    EXPECT_GE(text.right, 100 - kMarkSide - 8);

    Click(d.one.GetSafeHwnd(), 50, 10);
    Click(d.two.GetSafeHwnd(), 20, 10);
    EXPECT_TRUE(d.two.GetChecked());
    EXPECT_FALSE(d.one.GetChecked()) << "one radio of the group at a time";
    image = Picture(d, d.two, "radio-bitmap-on");
    EXPECT_EQ(CountColour(image, kMarkOn, markArea).count, kMarkSide * kMarkSide) << "the down bitmap";
    image = Picture(d, d.one, "radio-unchecked-again");
    EXPECT_EQ(image.Pixel(6, kMarkMiddle), kFace);
    EXPECT_EQ(image.Pixel(0, kMarkMiddle), kTextWhite);
}

TEST_F(TransparentRadio, CheckBoxMarkIsABoxWithATick)
{
    Shown<RadioTestDialog> shown;
    ASSERT_TRUE(shown.created);
    RadioTestDialog& d = shown.dialog;
    ScreenImage image = Picture(d, d.check, "check-off");
    EXPECT_EQ(image.Pixel(0, kMarkTop), kTextWhite) << "box corner";
    EXPECT_EQ(image.Pixel(kMark - 1, kMarkTop + kMark - 1), kTextWhite);
    EXPECT_EQ(image.Pixel(6, kMarkTop), kTextWhite) << "box edge";
    EXPECT_EQ(CountColour(image, kTextWhite, kMarkInside).count, 0) << "empty box";

    Click(d.check.GetSafeHwnd(), 40, 10);
    EXPECT_TRUE(d.check.GetChecked());
    image = Picture(d, d.check, "check-on");
    EXPECT_GT(CountColour(image, kTextYellow, kMarkInside).count, 8) << "the tick";
    Click(d.check.GetSafeHwnd(), 40, 10);
    EXPECT_FALSE(d.check.GetChecked());
    image = Picture(d, d.check, "check-off-again");
    EXPECT_EQ(CountColour(image, kTextYellow, kMarkInside).count, 0);
    EXPECT_EQ(CountColour(image, kTextWhite, kMarkInside).count, 0);
}

TEST_F(TransparentRadio, MenuRadioShowsAnArrowOnlyAtTheCheckedItem)
{
    Shown<RadioTestDialog> shown;
    ASSERT_TRUE(shown.created);
    RadioTestDialog& d = shown.dialog;
    ScreenImage image = Picture(d, d.menu, "menu-radio-off");
    EXPECT_EQ(CountColour(image, kFace, kMarkArea).count, kMark * kMark) << "no mark on an unchosen item";
    EXPECT_GT(CountColour(image, kTextWhite).count, 10);

    d.menu.SetChecked(true);
    image = Picture(d, d.menu, "menu-radio-on");
    const Count arrow = CountColour(image, kTextYellow, kMarkArea);
    EXPECT_GT(arrow.count, 20) << "a filled arrow";
    EXPECT_EQ(image.Pixel(3, kMarkMiddle), kTextYellow) << "its base";
    EXPECT_EQ(image.Pixel(kMark - 4, kMarkMiddle), kTextYellow) << "its tip, pointing at the text";
    EXPECT_EQ(image.Pixel(kMark - 4, kMarkTop + 2), kFace) << "narrowing towards the tip";
    EXPECT_GT(CountColour(image, kTextYellow, RECT{kMark, 0, 90, 20}).count, 10) << "the chosen item's text";
}

TEST_F(TransparentRadio, DisabledRadioShowsTheDisabledColour)
{
    Shown<RadioTestDialog> shown;
    ASSERT_TRUE(shown.created);
    RadioTestDialog& d = shown.dialog;
    EnableWindow(d.one.GetSafeHwnd(), FALSE);
    ScreenImage image = Picture(d, d.one, "radio-disabled");
    EXPECT_EQ(image.Pixel(0, kMarkMiddle), kTextGrey);
    EXPECT_GT(CountColour(image, kTextGrey).count, 10);
    EXPECT_EQ(CountColour(image, kTextWhite).count, 0);
    Click(d.one.GetSafeHwnd(), 50, 10);
    EXPECT_FALSE(d.one.GetChecked()) << "a disabled radio ignores presses";
}

TEST_F(TransparentRadio, ADialogShownAgainSkinsItsControlsAgain)
{
    RadioTestDialog d;
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(d.Create(IDD_RADIO_TEST)) << round;
        EXPECT_EQ(d.GetNumControls(), 4) << "every control registered once, round " << round;
        char className[32] = {};
        GetClassNameA(d.two.GetSafeHwnd(), className, sizeof(className));
        EXPECT_STREQ(className, "QORBUTTON") << round;
        const RECT placed = RectInParent(d.two.GetSafeHwnd());
        EXPECT_EQ(placed.left, 30) << round;
        EXPECT_EQ(placed.right - placed.left, 100) << round;
        d.DestroyWindow();
        PumpMessages(20);
    }
}

TEST_F(TransparentRadio, DisabledBitmapRadioKeepsItsCheckedMarkAndGreysItsText)
{
    Shown<RadioTestDialog> shown;
    ASSERT_TRUE(shown.created);
    RadioTestDialog& d = shown.dialog;
    const RECT markArea{100 - kMarkSide, 5, 100, 5 + kMarkSide};
    const int wholeMark = kMarkSide * kMarkSide;
    EnableWindow(d.two.GetSafeHwnd(), FALSE);
    ScreenImage image = Picture(d, d.two, "radio-bitmap-disabled-off");
    EXPECT_EQ(CountColour(image, kMarkDisabled, markArea).count, wholeMark) << "an unchecked one: the disabled bitmap";

    d.two.SetChecked(true);
    image = Picture(d, d.two, "radio-bitmap-disabled-on");
    EXPECT_EQ(CountColour(image, kMarkOn, markArea).count, wholeMark) << "the checked mark stays";
    EXPECT_GT(CountColour(image, kTextGrey).count, 10) << "the caption in the disabled colour";
    EXPECT_EQ(CountColour(image, kTextYellow).count, 0);

    EnableWindow(d.two.GetSafeHwnd(), TRUE);
    image = Picture(d, d.two, "radio-bitmap-enabled-on");
    EXPECT_EQ(CountColour(image, kMarkOn, markArea).count, wholeMark);
    EXPECT_EQ(CountColour(image, kTextGrey).count, 0);
}
