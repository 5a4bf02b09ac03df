// A display change during playback puts the file back on its whole second: a paused file at
// 12.34 s stays paused at 12.00 s, a playing one plays on from 12.00 s.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "ControlIds.h"
#include "RecordingFixture.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

class MarovinDisplayChange : public MarovinRecording {};

LRESULT SliderPosition(HWND window)
{
    return SendMessageA(GetDlgItem(window, IDC_POSITION_SLIDER), TBM_GETPOS, 0, 0);
}

// The renderer reports the frame it shows: a seek to 12 s may read a hundredth earlier.
bool AtTwelveSeconds(LRESULT hundredths)
{
    return hundredths >= 1196 && hundredths <= 1200;
}

void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 20000, &result);
}

// Moves the position slider to `hundredths` as a drag of its thumb ends.
void SeekWithSlider(HWND window, int hundredths)
{
    const HWND slider = GetDlgItem(window, IDC_POSITION_SLIDER);
    SendMessageA(slider, TBM_SETPOS, TRUE, hundredths);
    Send(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, hundredths), reinterpret_cast<LPARAM>(slider));
}

void ChangeDisplay(HWND window)
{
    Send(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
}

TEST_F(MarovinDisplayChange, PlaybackResumesOnTheWholeSecondAndAPausedFileStaysPaused)
{
    const std::string media = testsupport::OutputDir() + "display-60s.mpg";
    ASSERT_TRUE(CopyFileA((std::string(KEYS_MEDIA) + "mpeg2-60s.mpg").c_str(), media.c_str(), FALSE));
    SetString(kRecentKey, "file1", media);
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    PostMessageA(window, WM_COMMAND, IDC_RECENT_1, 0);
    ASSERT_TRUE(testsupport::PumpMessages(20000, [&] { return IsWindowEnabled(GetDlgItem(window, IDC_POSITION_SLIDER)) != FALSE; }))
        << running.Output();
    ASSERT_TRUE(testsupport::PumpMessages(20000, [&] { return SliderPosition(window) > 0; })) << "playing";

    // Paused at 12.34 s (the slider seeks in tenths: 12.3 s).
    Send(window, WM_COMMAND, IDC_PLAY, 0);
    SeekWithSlider(window, 1234);
    testsupport::PumpMessages(500);
    ChangeDisplay(window);
    EXPECT_TRUE(testsupport::PumpMessages(10000, [&] { return AtTwelveSeconds(SliderPosition(window)); })) << SliderPosition(window);
    const LRESULT paused = SliderPosition(window);
    testsupport::PumpMessages(1500);
    EXPECT_EQ(SliderPosition(window), paused) << "still paused";
    EXPECT_TRUE(WaitForOutput(running, "display change: playback at 12 s", 5000)) << running.Output();

    // Playing from 12.34 s: back to 12.00 s and on.
    SeekWithSlider(window, 1234);
    testsupport::PumpMessages(500);
    Send(window, WM_COMMAND, IDC_PLAY, 0);
    ChangeDisplay(window);
    const std::string said = "display change: playback at ";
    ASSERT_TRUE(testsupport::PumpMessages(10000, [&] {
        const std::string out = running.Output();
        return out.find(said) != out.rfind(said);
    })) << running.Output();
    const std::string out = running.Output();
    EXPECT_EQ(out.substr(out.rfind(said), said.size() + 4), said + "12 s");
    EXPECT_TRUE(testsupport::PumpMessages(10000, [&] { return SliderPosition(window) > 1300; }))
        << "plays on: " << SliderPosition(window);
    CloseMarovin(running, window);
}

}  // namespace
