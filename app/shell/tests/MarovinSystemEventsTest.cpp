// Marovin around system events, sent as the system sends them: a suspend during a recording
// finishes and lists the recording and only the preview returns after the resume; two
// queries stop once; a refused query brings the preview back at once and a later suspend still
// stops a new recording; a display change rebuilds the preview; logging off finishes a
// recording.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "RecordingFixture.h"
#include "TestSupport.h"

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
    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg", 15000));
    testsupport::PumpMessages(2000);
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
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, 20000, nullptr)) << Describe(running);
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

    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg", 15000));
    testsupport::PumpMessages(1500);
    Power(window, kSuspend);
    EXPECT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg finished", 15000)) << running.Output();
    EXPECT_EQ(Count(running.Output(), "suspend: capture stopped"), 2u);
    Manifest("clip1.mpg");
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, 20000, nullptr)) << Describe(running);
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

    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg", 15000));
    testsupport::PumpMessages(1500);
    result = 0;
    SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &result);
    EXPECT_EQ(result, TRUE) << "the session may end";
    EXPECT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg finished", 5000)) << running.Output();
    EXPECT_EQ(GetString(kRecentKey, "file1"), folder_ + "clip1.mpg");
    Manifest("clip1.mpg");
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, 20000, nullptr)) << Describe(running);
}

}  // namespace
