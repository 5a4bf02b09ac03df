// The status display in real windows: which texts its clocks and label get on each tick, the
// information line by state, and the line painted in green.
#include <windows.h>

#include <gtest/gtest.h>

#include "StatusDisplay.h"
#include "TestSupport.h"

namespace {

std::string TextOf(HWND w)
{
    char text[256] = {};
    GetWindowTextA(w, text, sizeof text);
    return text;
}

class StatusDisplayWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 20, 20, 320, 100, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        const auto child = [&](int id, int y) {
            return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, y, 300, 20, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        };
        status = child(1046, 0);
        elapsed = child(1, 25);
        countdown = child(2, 50);
        label = child(3, 75);
        ASSERT_TRUE(display.SubclassWindow(status));
        display.SetClockTargets(elapsed, countdown);
        display.SetLabelTarget(label);
        s.setupMode = 2;
        s.capture = 2;
        s.qualityMpeg2 = 1;
        s.dvdBitrate = 4000000;
        display.SetInformationContext({&s, "2.10.37", "Playing", -1, -1});
    }
    void TearDown() override
    {
        if (display.m_hWnd)
            display.UnsubclassWindow();
        DestroyWindow(parent);
    }

    settings::CaptureSettings s;
    HWND parent = nullptr, status = nullptr, elapsed = nullptr, countdown = nullptr, label = nullptr;
    shell::StatusDisplay display;
};

TEST_F(StatusDisplayWindows, TicksWriteTheClocksAndTheLabel)
{
    display.Model().SetCountdown({0, 10, 0});
    display.Redraw(false);
    EXPECT_EQ(TextOf(status), "Version: 2.10.37");
    EXPECT_EQ(TextOf(countdown), "00:10:00");
    EXPECT_EQ(TextOf(label), "00:10:00");
    EXPECT_EQ(TextOf(elapsed), "00:00:00");

    display.Model().SetInformationState(shell::kInfoRecording);
    display.Model().SetStandardIndex(1);
    EXPECT_EQ(display.ShowEngineTime(36000000000LL, true), 360000u);
    EXPECT_EQ(TextOf(elapsed), "01:00:00");
    EXPECT_EQ(TextOf(label), "01:00:00");
    EXPECT_EQ(TextOf(status), "PAL DVD 4.00 MBps");

    // A second tick in the same tenth writes nothing.
    SetWindowTextA(elapsed, "untouched");
    EXPECT_FALSE(display.ShowEngineTime(36000500000LL, true).has_value());
    EXPECT_EQ(TextOf(elapsed), "untouched");
    EXPECT_TRUE(display.ShowEngineTime(36001000000LL, true).has_value());
    EXPECT_EQ(TextOf(elapsed), "01:00:00");
    EXPECT_EQ(display.Model().RecordingElapsedText(), "01:00:00");

    // The clocks alone leave the line; the next full redraw brings the playback caption.
    display.Model().SetInformationState(shell::kInfoPlayback);
    display.ShowTime();
    EXPECT_EQ(TextOf(status), "PAL DVD 4.00 MBps");
    display.Redraw(false);
    EXPECT_EQ(TextOf(status), "Playing");
    EXPECT_EQ(TextOf(label), "00:10:00") << "no recording: the label shows the countdown";
}

TEST_F(StatusDisplayWindows, LineIsPaintedInGreen)
{
    EXPECT_EQ(display.TextColour(), RGB(0, 0xFF, 0));
    display.Model().SetInformationState(shell::kInfoCaptureStopped);
    display.Redraw(false);
    RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testsupport::PumpMessages(200);
    const testsupport::ScreenImage image = testsupport::CaptureWindow(status);
    image.SaveBmp(testsupport::OutputDir() + "status-line.bmp");
    int green = 0, other = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const COLORREF c = image.Pixel(x, y);
            if (GetGValue(c) > 0x80 && GetRValue(c) < 0x40 && GetBValue(c) < 0x40)
                ++green;
            else if (GetRValue(c) > 0x40 || GetBValue(c) > 0x40)
                ++other;
        }
    EXPECT_GT(green, 30) << "the line is drawn in green";
    EXPECT_EQ(other, 0) << "on black, with no other colour";
}

}  // namespace
