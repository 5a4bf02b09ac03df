// Marovin around system events, sent as the system sends them: a suspend during a recording
// finishes and lists the recording and only the preview returns after the resume; two
// queries stop once; a refused query brings the preview back at once and a later suspend still
// stops a new recording; a display change rebuilds the preview; logging off finishes a
// recording. Unplugging the card ends a recording with a message that names the card, and
// during a preview the window waits for the card, a different card does not end the wait, and
// the card is taken back when it returns. Dropped
// frames in DVD quality offer a lower rate that the next recording uses; in SVCD quality the
// warning is only a message.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "CardInstaller.h"
#include "RecordingFixture.h"
#include "EncoderState.h"
#include "TestSupport.h"
#include "VcapctlRunner.h"

using namespace marovintest;

namespace {

constexpr WPARAM kQuerySuspend = 0, kQueryFailed = 2, kSuspend = 4, kResume = 7;

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Waits until `what` occurs `times` times in the program's output.
bool WaitForCount(Running& running, const std::string& what, size_t times, DWORD ms)
{
    return testsupport::PumpMessages(ms, [&] { return Count(running.Output(), what) >= times; });
}

void Power(HWND window, WPARAM code)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_POWERBROADCAST, code, 0, SMTO_NORMAL, 20000, &result);
}

// What the system does after a resume: the windows are painted again, frames included.
void PaintAfterResume(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

class MarovinSystemEvents : public MarovinRecording {};

TEST_F(MarovinSystemEvents, ASuspendFinishesTheRecordingAndOnlyThePreviewReturns)
{
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    ASSERT_NO_FATAL_FAILURE(StartRecording(running, window, "clip1.mpg", 2000));
    Power(window, kSuspend);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg finished", 15000)) << running.Output();
    EXPECT_EQ(GetString(kRecentKey, "file1"), folder_ + "clip1.mpg");
    Manifest("clip1.mpg");
    const size_t previews = Count(running.Output(), "preview of source");

    Power(window, kResume);
    PaintAfterResume(window);
    EXPECT_TRUE(WaitForCount(running, "preview of source", previews + 1, 20000)) << running.Output();
    testsupport::PumpMessages(1500);
    EXPECT_EQ(Count(running.Output(), "resume: preview on"), 1u);
    EXPECT_EQ(running.Output().find("recording " + folder_ + "clip2.mpg"), std::string::npos)
        << "a recording stopped for the suspend is not restarted";
    CloseMarovin(running, window);
}

TEST_F(MarovinSystemEvents, TwoQueriesStopOnceARefusedOneRestartsAndALaterSuspendStillStops)
{
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    Power(window, kQuerySuspend);
    Power(window, kQuerySuspend);
    EXPECT_EQ(Count(running.Output(), "suspend: capture stopped"), 1u);
    const size_t previews = Count(running.Output(), "preview of source");
    Power(window, kQueryFailed);
    ASSERT_TRUE(WaitForCount(running, "preview of source", previews + 1, 20000)) << running.Output();

    ASSERT_NO_FATAL_FAILURE(StartRecording(running, window, "clip1.mpg", 1500));
    Power(window, kSuspend);
    EXPECT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg finished", 15000)) << running.Output();
    EXPECT_EQ(Count(running.Output(), "suspend: capture stopped"), 2u);
    Manifest("clip1.mpg");
    CloseMarovin(running, window);
}

TEST_F(MarovinSystemEvents, ADisplayChangeRebuildsThePreviewAndLoggingOffFinishesARecording)
{
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    const size_t previews = Count(running.Output(), "preview of source");
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768), SMTO_NORMAL, 20000, &result);
    EXPECT_TRUE(WaitForCount(running, "preview of source", previews + 1, 20000)) << running.Output();

    ASSERT_NO_FATAL_FAILURE(StartRecording(running, window, "clip1.mpg", 1500));
    result = 0;
    SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &result);
    EXPECT_EQ(result, TRUE) << "the session may end";
    EXPECT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg finished", 5000)) << running.Output();
    EXPECT_EQ(GetString(kRecentKey, "file1"), folder_ + "clip1.mpg");
    Manifest("clip1.mpg");
    CloseMarovin(running, window);
}

// The name the program gave the removed device in its output.
std::string RemovedDeviceName(Running& running)
{
    const std::string out = running.Output();
    const std::string marker = "capture device removed: ";
    const size_t at = out.find(marker);
    if (at == std::string::npos)
        return {};
    const size_t end = out.find_first_of("\r\n", at);
    return out.substr(at + marker.size(), end - at - marker.size());
}

// The program's visible dialog other than its main window, null when none comes in time.
HWND WaitForDialog(HWND main, DWORD ms)
{
    HWND found = nullptr;
    testsupport::PumpMessages(ms, [&] {
        found = nullptr;
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr))
            if (w != main && IsWindowVisible(w) && GetWindow(w, GW_OWNER) == main)
                found = w;
        return found != nullptr;
    });
    return found;
}

TEST_F(MarovinSystemEvents, UnpluggingDuringARecordingFinishesItAndNamesTheCard)
{
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    ASSERT_NO_FATAL_FAILURE(StartRecording(running, window, "clip1.mpg", 2000));
    ASSERT_EQ(testsupport::RunVcapctl("--card 1 remove"), 0u);
    const std::string message = DismissMessageBox(window, 15000);
    const std::string name = RemovedDeviceName(running);
    ASSERT_FALSE(name.empty()) << running.Output();
    EXPECT_EQ(message, "Capture device \"" + name + "\" was removed. The recording has been stopped.");
    EXPECT_NE(running.Output().find("recording " + folder_ + "clip1.mpg finished"), std::string::npos);
    EXPECT_EQ(GetString(kRecentKey, "file1"), folder_ + "clip1.mpg");
    Manifest("clip1.mpg");
    EXPECT_EQ(WaitForDialog(window, 1500), nullptr) << "no wait for the card after a recording";
    ASSERT_EQ(testsupport::RunVcapctl("--card 1 readd"), 0u);
    CloseMarovin(running, window);
}

TEST_F(MarovinSystemEvents, UnpluggingDuringAPreviewWaitsForTheCardAndCancelGivesUp)
{
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    const size_t previews = Count(running.Output(), "preview of source");
    ASSERT_EQ(testsupport::RunVcapctl("--card 1 remove"), 0u);
    HWND wait = WaitForDialog(window, 15000);
    ASSERT_NE(wait, nullptr) << running.Output();
    char text[256] = {};
    GetDlgItemTextA(wait, 1751, text, sizeof text);
    EXPECT_NE(std::string(text).find(RemovedDeviceName(running) + "\" was removed.\r\nPlug it in again"), std::string::npos)
        << text;
    testsupport::CaptureWindow(wait).SaveBmp(testsupport::OutputDir() + "reconnect-dialog.bmp");

    // Another card plugged in meanwhile is not the one waited for: well past ten polls, the
    // dialog still waits.
    {
        vcap::CardRecord other;
        std::wstring error;
        ASSERT_TRUE(vcap::InstallCard(2, vcap::Personality{}, other, error)) << std::string(error.begin(), error.end());
        testsupport::PumpMessages(3000);
        EXPECT_TRUE(IsWindow(wait) && IsWindowVisible(wait)) << "a different card ended the wait";
        EXPECT_EQ(Count(running.Output(), "capture device back"), 0u) << running.Output();
    }
    // The other card stays: removed, its device instance would be the returning card's.
    ASSERT_EQ(testsupport::RunVcapctl("--card 1 readd"), 0u);
    EXPECT_TRUE(WaitForOutput(running, "capture device back", 15000)) << running.Output();
    EXPECT_TRUE(WaitForCount(running, "preview of source", previews + 1, 20000)) << running.Output();
    EXPECT_FALSE(IsWindow(wait) && IsWindowVisible(wait));
    std::wstring error;
    ASSERT_TRUE(vcap::UninstallCard(2, error));

    // Gone again, and the user gives up: the window stays idle.
    ASSERT_EQ(testsupport::RunVcapctl("--card 1 remove"), 0u);
    wait = WaitForDialog(window, 15000);
    ASSERT_NE(wait, nullptr);
    PostMessageA(wait, WM_COMMAND, IDCANCEL, 0);
    testsupport::PumpMessages(3000, [&] { return !IsWindow(wait); });
    EXPECT_EQ(Count(running.Output(), "capture device back"), 1u);
    ASSERT_EQ(testsupport::RunVcapctl("--card 1 readd"), 0u);
    testsupport::PumpMessages(2000);
    EXPECT_EQ(Count(running.Output(), "preview of source"), previews + 1) << "no preview without the user";
    CloseMarovin(running, window);
}

DWORD GetNumber(const char* key, const char* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

TEST_F(MarovinSystemEvents, DroppedFramesOfferALowerRateInDvdQualityAndOnlyAMessageInSvcd)
{
    constexpr int kRateEdit = 1723;
    constexpr int kRateSlider = 1722;
    SetNumber(kCaptureKey, "DisplayDataLossWarnings", 1);
    for (const bool dvd : {true, false}) {
        SCOPED_TRACE(dvd ? "DVD" : "SVCD");
        SetNumber(kCaptureKey, "QualityMPEG2", dvd ? 1 : 0);
        SetNumber(kCaptureKey, "DVDBitrate", 6000000);
        Running running;
        HWND window = nullptr;
        ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
        const std::string clip = dvd ? "clip1.mpg" : "clip2.mpg";
        ASSERT_NO_FATAL_FAILURE(StartRecording(running, window, clip, 1500));
        ASSERT_EQ(testsupport::RunVcapctl("--card 1 dropframes"), 0u);
        const HWND warning = WaitForDialog(window, 15000);
        ASSERT_NE(warning, nullptr) << running.Output();
        EXPECT_EQ(IsWindowVisible(GetDlgItem(warning, kRateSlider)) != FALSE, dvd);
        testsupport::PumpMessages(500);  // painted before the picture is taken
        testsupport::CaptureWindow(warning).SaveBmp(testsupport::OutputDir() + (dvd ? "framedrop-dvd.bmp" : "framedrop-svcd.bmp"));
        if (dvd) {
            char shown[32] = {};
            GetDlgItemTextA(warning, kRateEdit, shown, sizeof shown);
            EXPECT_STREQ(shown, "6000000") << "the DVD rate, within the card's range";
            SetDlgItemTextA(warning, kRateEdit, "5000000");
        }
        PostMessageA(warning, WM_COMMAND, IDOK, 0);
        if (dvd) {
            EXPECT_TRUE(WaitForOutput(running, "frames dropped: bit rate 5000000", 10000)) << running.Output();
            EXPECT_TRUE(WaitForOutput(running, "recording " + folder_ + clip + " finished", 10000));
            EXPECT_TRUE(WaitForCount(running, "preview of source", 2, 20000)) << "rebuilt with the new rate";
            EXPECT_EQ(GetNumber(kCaptureKey, "DVDBitrate"), 5000000u);
            vcap::EncoderState state{};
            ASSERT_TRUE(vcap::LoadEncoderState(1, state));
            EXPECT_EQ(state.params.bitRate, 5000000u) << "the card encodes at the new rate";
        } else {
            testsupport::PumpMessages(2000);
            EXPECT_EQ(running.Output().find("recording " + folder_ + clip + " finished"), std::string::npos)
                << "OK on the message changes nothing";
            EXPECT_EQ(GetNumber(kCaptureKey, "DVDBitrate"), 6000000u);
            PostMessageA(window, WM_COMMAND, kRecordControl, 0);
            EXPECT_TRUE(WaitForOutput(running, "recording " + folder_ + clip + " finished", 10000));
        }
        if (dvd)
            Manifest(clip);  // the probe knows the DVD picture size
        CloseMarovin(running, window);
    }
}

TEST_F(MarovinSystemEvents, ClosingTheWindowWithTheFrameDropWarningOpenEndsTheProgram)
{
    SetNumber(kCaptureKey, "DisplayDataLossWarnings", 1);
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    ASSERT_EQ(testsupport::RunVcapctl("--card 1 dropframes"), 0u);
    ASSERT_NE(WaitForDialog(window, 15000), nullptr) << running.Output();
    // As the session's end or the taskbar closes it: the warning goes with the window.
    CloseMarovin(running, window);
}

}  // namespace
