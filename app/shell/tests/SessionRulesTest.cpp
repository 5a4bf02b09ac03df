// The capture and playback sessions against a recording stand-in for the main window:
// which timers they own, the one-shot preview start, device removal, and closing.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "CaptureSession.h"
#include "PlaybackSession.h"

namespace {

using shell::CaptureSession;

class RecordingHost : public shell::SessionHost {
public:
    std::map<UINT_PTR, UINT> armed;  // timer id to period
    std::vector<std::string> calls;
    bool devicePresent = false;
    bool deviceGone = false;
    shell::MainMode mode = shell::MODE_IDLE;
    bool deviceComesBack = false;

    void StartTimer(UINT_PTR id, UINT periodMs) override
    {
        armed[id] = periodMs;
        calls.push_back("start " + std::to_string(id));
    }
    void StopTimer(UINT_PTR id) override
    {
        armed.erase(id);
        calls.push_back("stop " + std::to_string(id));
    }
    bool CaptureDevicePresent() const override { return devicePresent; }
    bool CaptureDeviceGone() const override { return deviceGone; }
    void ShowIdlePicture() override { calls.push_back("idle picture"); }
    shell::MainMode Mode() const override { return mode; }
    void SetMode(shell::MainMode m) override { mode = m; }
    bool WaitForReconnect(const std::string& name) override
    {
        calls.push_back("wait for " + name);
        return deviceComesBack;
    }
    void ShowNoVideoLabel(bool show) override { calls.push_back(show ? "label shown" : "label hidden"); }
    void TraceLine(const std::string& line) override { calls.push_back("trace " + line); }
    shell::PowerSuppression& Power() override { return power; }
    HWND MainWindow() const override { return nullptr; }
    std::string AppText(int id) override { return "text " + std::to_string(id); }
    void ShowMessage(const std::string& text) override { calls.push_back("message " + text); }
    void LogError(const std::string& text) override { calls.push_back("log " + text); }
    void StopCaptureForPlayback() override { calls.push_back("capture off"); }
    void PlaybackEnded() override { calls.push_back("playback ended"); }
    shell::PowerSuppression power;

    int Count(const std::string& prefix) const
    {
        int n = 0;
        for (const std::string& call : calls)
            n += call.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
        return n;
    }
};

class CaptureSessionTest : public ::testing::Test {
protected:
    RecordingHost host;
    settings::CaptureSettings settings;
    CaptureSession session{host, settings};
};

TEST(CaptureSessionTimers, OwnsExactlyTheCaptureTimers)
{
    const struct {
        UINT_PTR id;
        bool owned;
    } cases[] = {
        {1, true},         {10001, true}, {10013, true}, {10016, true}, {10017, true},
        {10018, true},     {10019, true}, {10020, true}, {10021, true}, {0, false},    {2, false},
        {10000, false},    {10002, false}, {10012, false}, {10014, false}, {10015, false},
        {10022, false},    {0x7FFFFFFF, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CaptureSession::OwnsTimer(c.id), c.owned) << c.id;
}

TEST_F(CaptureSessionTest, BeginArmsTheRefreshAndTheDelayedPreviewStartOnly)
{
    session.Begin(GetTickCount());
    EXPECT_EQ(host.armed, (std::map<UINT_PTR, UINT>{{1, 100}, {10016, 1000}}));
    EXPECT_FALSE(session.PreviewStartAttempted());
    // The refresh tick belongs to the session but has nothing to do without a recording.
    host.calls.clear();
    EXPECT_TRUE(session.OnTimer(CaptureSession::kRefreshTimer));
    EXPECT_TRUE(host.calls.empty());
    // A second Begin arms nothing more.
    session.Begin(GetTickCount());
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(CaptureSessionTest, PreviewStartWithoutADeviceShowsWhyTheScreenStaysEmpty)
{
    const DWORD init = GetTickCount() - 1200;
    session.Begin(init);
    EXPECT_TRUE(session.OnTimer(CaptureSession::kPreviewStartTimer));
    EXPECT_TRUE(session.PreviewStartAttempted());
    EXPECT_EQ(host.armed.count(10016), 0u);  // one-shot
    EXPECT_EQ(host.armed.count(1), 1u);      // the refresh keeps running
    ASSERT_EQ(host.calls.size(), 7u);
    EXPECT_EQ(host.calls[2], "stop 10016");
    const std::string& timing = host.calls[3];
    EXPECT_EQ(timing.rfind("trace preview start ", 0), 0u) << timing;
    EXPECT_GE(std::stoul(timing.substr(20)), 1200u) << timing;
    EXPECT_EQ(host.calls[4], "trace no capture device present; the preview did not start");
    EXPECT_EQ(host.calls[5], "label shown");
    EXPECT_EQ(host.calls[6], "idle picture");
}

TEST_F(CaptureSessionTest, PreviewStartWithADeviceLeavesTheLabelHidden)
{
    host.devicePresent = true;
    session.Begin(GetTickCount());
    session.OnTimer(CaptureSession::kPreviewStartTimer);
    EXPECT_EQ(host.Count("trace preview start"), 1);
    EXPECT_EQ(host.Count("label"), 0);
    EXPECT_EQ(host.Count("idle picture"), 0);
}

TEST_F(CaptureSessionTest, ATickAlreadyQueuedDoesNotStartThePreviewTwice)
{
    session.Begin(GetTickCount());
    session.OnTimer(CaptureSession::kPreviewStartTimer);
    session.OnTimer(CaptureSession::kPreviewStartTimer);
    EXPECT_EQ(host.Count("trace preview start"), 1);
    EXPECT_EQ(host.Count("label shown"), 1);
}

TEST_F(CaptureSessionTest, DeviceRemovalInCaptureModeShowsTheIdlePictureAndWaitsForTheDevice)
{
    settings.deviceName = "Card Two";
    session.Begin(GetTickCount());
    host.StartTimer(CaptureSession::kDeviceRemovedTimer, 10);  // as the device watch does
    host.calls.clear();

    // Another device went: the session's own stays, nothing changes on screen.
    EXPECT_TRUE(session.OnTimer(CaptureSession::kDeviceRemovedTimer));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"stop 10013"}));

    // Gone, but nothing was shown from it: nothing to stop or to wait for.
    host.deviceGone = true;
    host.calls.clear();
    EXPECT_TRUE(session.OnTimer(CaptureSession::kDeviceRemovedTimer));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"stop 10013", "trace capture device removed: Card Two"}));

    // Gone from a preview: the preview goes and the window waits; the user gave up.
    host.mode = shell::MODE_CAPTURE;
    host.calls.clear();
    EXPECT_TRUE(session.OnTimer(CaptureSession::kDeviceRemovedTimer));
    EXPECT_EQ(host.mode, shell::MODE_IDLE);
    EXPECT_EQ(host.Count("trace capture device removed: Card Two"), 1);
    EXPECT_GE(host.Count("idle picture"), 1);
    EXPECT_EQ(host.Count("wait for Card Two"), 1);
    EXPECT_EQ(host.Count("trace capture device back"), 0);
}

TEST_F(CaptureSessionTest, CloseStopsEveryTimerOfTheSessionAndNothingActsAfterIt)
{
    session.Begin(GetTickCount());
    // Timers armed from other threads (device events, the graph) are the session's too.
    for (UINT_PTR id : {10001u, 10013u, 10017u, 10018u, 10019u})
        host.StartTimer(id, 100);
    host.StartTimer(4242, 50);  // not the session's
    session.Close();
    EXPECT_TRUE(session.Closed());
    EXPECT_EQ(host.armed, (std::map<UINT_PTR, UINT>{{4242, 50}}));

    host.calls.clear();
    host.deviceGone = true;
    for (UINT_PTR id : {1u, 10001u, 10013u, 10016u, 10017u, 10018u, 10019u})
        EXPECT_TRUE(session.OnTimer(id)) << id;
    EXPECT_FALSE(session.OnTimer(4242));
    EXPECT_TRUE(host.calls.empty());
    EXPECT_FALSE(session.PreviewStartAttempted());

    // Closing again, or beginning after the close, changes nothing.
    session.Close();
    session.Begin(GetTickCount());
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(CaptureSessionTest, ASessionClosedBeforeItBeganNeverBegins)
{
    session.Close();
    host.calls.clear();
    session.Begin(GetTickCount());
    EXPECT_FALSE(session.Begun());
    EXPECT_TRUE(host.armed.empty());
    EXPECT_TRUE(session.OnTimer(CaptureSession::kPreviewStartTimer));
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(CaptureSessionTest, ForeignTimersAreLeftToTheWindow)
{
    session.Begin(GetTickCount());
    host.calls.clear();
    EXPECT_FALSE(session.OnTimer(2));
    EXPECT_FALSE(session.OnTimer(10015));
    EXPECT_TRUE(host.calls.empty());
}

TEST(PlaybackSession, ClosesOnce)
{
    RecordingHost host;
    settings::CaptureSettings settings;
    shell::PlaybackSession session(host, settings);
    EXPECT_FALSE(session.Closed());
    session.Close();
    session.Close();
    EXPECT_TRUE(session.Closed());
    EXPECT_EQ(host.calls, (std::vector<std::string>{"trace closing: playback session closed"}));
}

}  // namespace
