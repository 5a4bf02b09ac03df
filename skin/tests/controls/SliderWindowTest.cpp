// The skinned slider as a real window: channel, filled part and thumb of each state painted
// from the real skin's bitmaps, a click on the channel moving the thumb there, switched keys.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "EQorSlider.h"
#include "PlainParent.h"
#include "TestSupport.h"

namespace {

const std::string kSkinMain = std::string(MAROVIN_SKIN_DIR) + "/main/";

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const COLORREF colour = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colour;
}

class SliderWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(controltest::CreatePlainParent(parent, "SliderTestParent", "Slider", RECT{40, 500, 440, 560}));
        ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_NOTICKS, RECT{10, 10, 130, 28}, &parent, 401));
        const char* names[] = {"thumb_up", "thumb_down", "thumb_focus", "thumb_disabled", "channel", "filled"};
        for (int slot = 0; slot < 6; ++slot)
            ASSERT_TRUE(slider.LoadNewBitmapFile(kSkinMain + "volume_slider_" + names[slot] + ".bmp", slot));
        slider.SetRange(0, 100);
    }

    void TearDown() override
    {
        slider.DestroyWindow();
        parent.DestroyWindow();
    }

    CWnd parent;
    EQorSlider slider;
};

}  // namespace

TEST_F(SliderWindowTest, PaintsChannelFilledPartAndThumbFromBitmaps)
{
    EXPECT_FALSE(slider.LoadNewBitmapFile(kSkinMain + "missing.bmp", EQorSlider::kThumbShadow));
    EXPECT_FALSE(slider.LoadNewBitmapFile(kSkinMain + "volume_slider_channel.bmp", 7));
    slider.SetPos(50);
    testsupport::PumpMessages(200);
    const testsupport::ScreenImage shot = testsupport::CaptureWindow(slider.GetSafeHwnd());
    shot.SaveBmp(testsupport::OutputDir() + "slider_volume_50.bmp");
    const RECT thumb = slider.ThumbPaintRect();
    const int tx = (thumb.left + thumb.right) / 2, ty = (thumb.top + thumb.bottom) / 2;
    EXPECT_EQ(BitmapPixel(slider.SlotBitmap(EQorSlider::kThumbUp), tx - thumb.left, ty - thumb.top), shot.Pixel(tx, ty));
    // Past the thumb the channel shows, before it the filled part.
    EXPECT_EQ(BitmapPixel(slider.SlotBitmap(EQorSlider::kChannel), 115, 9), shot.Pixel(115, 9));
    EXPECT_EQ(BitmapPixel(slider.SlotBitmap(EQorSlider::kChannelLeft), 3, 9), shot.Pixel(3, 9));
}

TEST_F(SliderWindowTest, ClickOnTheChannelMovesTheThumbThere)
{
    slider.SetPos(0);
    SendMessageA(slider.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 9));
    SendMessageA(slider.GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(100, 9));
    // Without the option a click pages towards the point: one page, a fifth of the range.
    EXPECT_EQ(SendMessageA(slider.GetSafeHwnd(), TBM_GETPAGESIZE, 0, 0), slider.GetPos());
    EXPECT_EQ(20, slider.GetPos());
    slider.SetPos(0);
    slider.SetPositionToChannelClick(true);
    SendMessageA(slider.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 9));
    SendMessageA(slider.GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(100, 9));
    EXPECT_GT(slider.GetPos(), 70);
}

TEST_F(SliderWindowTest, SwitchedKeysReverseUpAndDown)
{
    slider.SetPos(50);
    SendMessageA(slider.GetSafeHwnd(), WM_KEYDOWN, VK_UP, 0);
    const int plain = slider.GetPos();
    slider.SetPos(50);
    slider.SwitchUpDownKeys(true);
    SendMessageA(slider.GetSafeHwnd(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_NE(plain, slider.GetPos());
    EXPECT_EQ(100 - plain, slider.GetPos());
}

TEST_F(SliderWindowTest, ThumbShowsTheBitmapOfItsState)
{
    slider.SetPos(50);
    const RECT thumb = slider.ThumbPaintRect();
    auto shownAtThumb = [&] {
        RedrawWindow(slider.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        testsupport::PumpMessages(100);
        return testsupport::CaptureWindow(slider.GetSafeHwnd()).Pixel(thumb.left + 5, thumb.top + 9);
    };
    auto bitmapAt = [&](int slot) { return BitmapPixel(slider.SlotBitmap(slot), 5, 9); };
    // The real skin's thumbs differ at this point in every state.
    ASSERT_NE(bitmapAt(EQorSlider::kThumbUp), bitmapAt(EQorSlider::kThumbFocus));
    ASSERT_NE(bitmapAt(EQorSlider::kThumbDown), bitmapAt(EQorSlider::kThumbFocus));
    EXPECT_EQ(bitmapAt(EQorSlider::kThumbUp), shownAtThumb());
    SetFocus(slider.GetSafeHwnd());
    EXPECT_EQ(bitmapAt(EQorSlider::kThumbFocus), shownAtThumb());
    SetCapture(slider.GetSafeHwnd());
    EXPECT_EQ(bitmapAt(EQorSlider::kThumbDown), shownAtThumb());
    ReleaseCapture();
    slider.EnableWindow(FALSE);
    EXPECT_EQ(bitmapAt(EQorSlider::kThumbDisabled), shownAtThumb());
}

TEST_F(SliderWindowTest, WithoutBitmapsItPaintsAPlainFace)
{
    for (int slot = 0; slot < EQorSlider::kSlots; ++slot)
        EXPECT_FALSE(slider.LoadNewBitmapFile("", slot));
    slider.SetPos(30);
    RedrawWindow(slider.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    testsupport::PumpMessages(100);
    const testsupport::ScreenImage shot = testsupport::CaptureWindow(slider.GetSafeHwnd());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), shot.Pixel(3, 3));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), shot.Pixel(110, 15));
    EXPECT_EQ(1u, shot.DistinctColours());
}
