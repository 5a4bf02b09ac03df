// Marovin with a virtual card: the preview starts by itself, the record control records
// clip1 and clip2 while the preview runs on, each lands at the top of the recent list, and
// closing the window during a recording finishes and lists that recording too. The probe
// script checks the files afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "CardControl.h"
#include "RecordingFixture.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

constexpr int kStatusDisplay = 1046;

TEST_F(MarovinRecording, RecordStopRecordAgainAndCloseWhileRecording)
{
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));

    // The picture settings start as the device's own and are kept.
    for (const char* name : {"Brightness", "Contrast", "Hue", "Saturation"})
        EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Halvark\\Marovin\\Color", name, RRF_RT_REG_DWORD, nullptr,
                               nullptr, nullptr),
                  ERROR_SUCCESS)
            << name;
    Record(running, window, "clip1.mpg", 2500);
    EXPECT_EQ(GetString(kRecentKey, "file1"), folder_ + "clip1.mpg");
    EXPECT_EQ(GetString(kRecentKey, "file1res"), "720x576") << "the details of the block the recording used";
    testsupport::PumpMessages(1000);
    Record(running, window, "clip2.mpg", 2000);
    EXPECT_EQ(GetString(kRecentKey, "file1"), folder_ + "clip2.mpg");
    EXPECT_EQ(GetString(kRecentKey, "file2"), folder_ + "clip1.mpg");

    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip3.mpg", 15000));
    // Once the data rate is known, the status line says how long the disk lasts.
    char status[256] = {};
    EXPECT_TRUE(testsupport::PumpMessages(10000, [&] {
        GetDlgItemTextA(window, kStatusDisplay, status, sizeof status);
        return std::string(status).find(" left") != std::string::npos;
    })) << status;
    testsupport::CaptureWindow(window).SaveBmp(testsupport::OutputDir() + "recording-time-left.bmp");
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 0;
    ASSERT_TRUE(WaitForExit(running, 20000, &code)) << Describe(running);
    EXPECT_EQ(code, 0u);
    EXPECT_NE(running.Output().find("recording " + folder_ + "clip3.mpg finished"), std::string::npos);
    EXPECT_EQ(GetString(kRecentKey, "file1"), folder_ + "clip3.mpg") << "closing lists the recording it finished";
    Manifest("clip3.mpg");
    for (const char* name : {"clip1.mpg", "clip2.mpg", "clip3.mpg"})
        EXPECT_TRUE(Exists(folder_ + name)) << name;
}

}  // namespace

namespace {

TEST_F(MarovinRecording, ASignalLostForLongerThanTheRuleAllowsEndsTheRecordingAndThePictureComesBack)
{
    SetNumber(kCaptureKey, "StopTime", 2);
    SetNumber(kCaptureKey, "StopNoVideoSec", 2);
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg", 15000));
    testsupport::PumpMessages(1500);
    vcap::SetSignal(1, false);
    const DWORD lost = GetTickCount();
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg finished", 10000)) << running.Output();
    const DWORD stoppedAfter = GetTickCount() - lost;
    EXPECT_GE(stoppedAfter, 1800u) << "the rule's two seconds without video";
    EXPECT_LT(stoppedAfter, 6000u);
    ASSERT_TRUE(WaitForOutput(running, "waiting for a signal", 5000));
    vcap::SetSignal(1, true);
    EXPECT_TRUE(WaitForOutput(running, "signal back", 10000)) << running.Output();
    Manifest("clip1.mpg");
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, 20000, nullptr)) << Describe(running);
}

TEST_F(MarovinRecording, AutoRecordStartsByItselfAndCopyProtectionStopsAndRefuses)
{
    SetNumber(kCaptureKey, "AutoRecord", 1);
    Running running;
    ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", running));
    HWND window = WaitForMainWindow(20000);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg", 20000)) << "started by itself\n"
                                                                                    << running.Output();
    testsupport::PumpMessages(1500);
    vcap::SetCopyProtection(1, true);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg finished", 10000)) << running.Output();
    EXPECT_NE(DismissMessageBox(window, 5000), "<no message box>") << "text 1003";
    // A protected input refuses a new recording.
    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    EXPECT_NE(DismissMessageBox(window, 5000), "<no message box>") << "text 1004";
    testsupport::PumpMessages(500);
    EXPECT_EQ(running.Output().find("recording " + folder_ + "clip2.mpg"), std::string::npos);
    vcap::SetCopyProtection(1, false);
    Manifest("clip1.mpg");
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, 20000, nullptr)) << Describe(running);
}

}  // namespace

namespace {

TEST_F(MarovinRecording, TheDurationRuleStopsByTheEnginesClock)
{
    SetNumber(kCaptureKey, "StopTime", 0);
    SetNumber(kCaptureKey, "SetTimeHour", 0);
    SetNumber(kCaptureKey, "SetTimeMin", 0);
    SetNumber(kCaptureKey, "SetTimeSec", 10);
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg", 15000));
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg finished", 20000)) << "stopped by itself";
    const std::string output = running.Output();
    const size_t at = output.find("recording stopped at ");
    ASSERT_NE(at, std::string::npos) << output;
    const double stoppedAt = std::atof(output.c_str() + at + 21);
    std::printf("the engine's clock at the stop: %.2f s\n", stoppedAt);
    EXPECT_NEAR(stoppedAt, 10.0, 0.2) << "by the engine's clock";
    // Under a heavy load the card drops frames it could not hand over (as a real one would),
    // so the file may hold less than the engine's clock counted: its length is not checked.
    Manifest("clip1.mpg");
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, 20000, nullptr)) << Describe(running);
}

}  // namespace

namespace {

constexpr int kInputList = 1501;
constexpr int kVideoArea = 1000;

// Chooses the list's entry for source `source` as the user's click would.
bool ChooseInput(HWND window, int source)
{
    const HWND combo = GetDlgItem(window, kInputList);
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) != source)
            continue;
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(kInputList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        return true;
    }
    return false;
}

testsupport::ScreenImage VideoArea(HWND window)
{
    RECT r;
    GetWindowRect(GetDlgItem(window, kVideoArea), &r);
    return testsupport::CaptureScreen(r);
}

TEST_F(MarovinRecording, ChoosingAnotherInputSwitchesThePictureAndADeadOneSaysSo)
{
    constexpr long kCrossbarComposite1 = 1;
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    testsupport::PumpMessages(1000);
    const testsupport::ScreenImage before = VideoArea(window);
    before.SaveBmp(testsupport::OutputDir() + "input-before.bmp");

    // The card's picture names its input: another input gives another picture.
    const std::string first = running.Output();
    const int previous = first.find("preview of source 0") != std::string::npos ? 0 : 1;
    const int next = previous == 0 ? 1 : 0;
    ASSERT_TRUE(ChooseInput(window, next));
    ASSERT_TRUE(WaitForOutput(running, "preview of source " + std::to_string(next) + " running", 20000)) << running.Output();
    testsupport::PumpMessages(1500);
    const testsupport::ScreenImage after = VideoArea(window);
    after.SaveBmp(testsupport::OutputDir() + "input-after.bmp");
    int differing = 0;
    for (int y = 0; y < 40 && y < after.height; ++y)
        for (int x = 0; x < 160 && x < after.width; ++x)
            differing += before.Pixel(x, y) != after.Pixel(x, y);
    EXPECT_GT(differing, 200) << "the caption of the other input";

    // An input without a signal still previews, says so and recovers with the signal.
    vcap::SetInputSignal(1, kCrossbarComposite1, false);
    if (next == 1)
        ASSERT_TRUE(ChooseInput(window, 0));
    ASSERT_TRUE(ChooseInput(window, 1));
    ASSERT_TRUE(WaitForOutput(running, "waiting for a signal on source 1", 20000)) << running.Output();
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, 1338))) << "the no-video label";
    vcap::SetInputSignal(1, kCrossbarComposite1, true);
    EXPECT_TRUE(WaitForOutput(running, "signal back on source 1", 10000)) << running.Output();
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, 20000, nullptr)) << Describe(running);
}

}  // namespace

namespace {

constexpr WPARAM kFirstRecentThumbnail = 1426;

TEST_F(MarovinRecording, PlayingARecentRecordingWhileRecordingFinishesTheRecordingFirst)
{
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    Record(running, window, "clip1.mpg", 1500);
    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip2.mpg", 15000));
    testsupport::PumpMessages(1500);
    // The newest recent entry is clip1: playing it ends clip2 through the one stop path.
    PostMessageA(window, WM_COMMAND, kFirstRecentThumbnail, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip2.mpg finished", 15000)) << running.Output();
    EXPECT_EQ(GetString(kRecentKey, "file1"), folder_ + "clip2.mpg");
    char title[512] = {};
    for (int i = 0; i < 50 && std::string(title).find("clip1") == std::string::npos; ++i) {
        testsupport::PumpMessages(100);
        GetWindowTextA(window, title, sizeof title);
    }
    EXPECT_NE(std::string(title).find("clip1"), std::string::npos) << "playing clip1: " << title;
    Manifest("clip2.mpg");
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, 20000, nullptr)) << Describe(running);
}

}  // namespace

namespace {

TEST_F(MarovinRecording, TheSizeLimitStopsQuietlyAndTheNextRecordingTakesTheNextNumber)
{
    SetNumber(kCaptureKey, "FileSizeLimitHi", 0);
    SetNumber(kCaptureKey, "FileSizeLimitLo", 1500000);
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg", 15000));
    // About three seconds of the 4 Mbit/s stream reach the limit: the writer stops it.
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg finished", 15000)) << running.Output();
    WIN32_FILE_ATTRIBUTE_DATA a{};
    ASSERT_TRUE(GetFileAttributesExA((folder_ + "clip1.mpg").c_str(), GetFileExInfoStandard, &a));
    EXPECT_LE(a.nFileSizeLow, 1500000u);
    EXPECT_GT(a.nFileSizeLow, 1000000u);
    // The writer ends the stream it cut on a whole picture: the clip decodes without a fault.
    Manifest("clip1.mpg");
    EXPECT_EQ(DismissMessageBox(window, 1000), "<no message box>") << "the size limit stops without a word";
    Record(running, window, "clip2.mpg", 1000);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, 20000, nullptr)) << Describe(running);
}

}  // namespace
