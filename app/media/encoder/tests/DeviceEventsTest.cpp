// The device event thread on the virtual card in Wine: copy protection, dropped frames, the
// flow-control flush, and stopping while the thread is busy or the stream has stopped.
#include "DeviceEvents.h"
#include "EncoderCardFixture.h"
#include "EncoderDevice.h"
#include "EncoderTypes.h"

#include "CardControl.h"

#include <atomic>

using namespace encoder;

namespace {

// The flow-control interface of the preview's filter: counts flushes, can hold the caller
// inside Flush, and notes any call after its last reference went.
class FakeFlow : public IVideoFlowControl {
public:
    FakeFlow() : entered_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), release_(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}
    ~FakeFlow()
    {
        CloseHandle(entered_);
        CloseHandle(release_);
    }
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == kIidVideoFlowControl) {
            *out = static_cast<IVideoFlowControl*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs_); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs_); }
    STDMETHODIMP Flush() override
    {
        if (refs_ <= 0)
            ++callsAfterRelease_;
        ++flushes_;
        SetEvent(entered_);
        WaitForSingleObject(release_, INFINITE);
        return S_OK;
    }
    STDMETHODIMP SetMode(BYTE) override { return S_OK; }
    STDMETHODIMP GetMode(BYTE* pass) override
    {
        *pass = 1;
        return S_OK;
    }

    void Hold() { ResetEvent(release_); }
    void Let() { SetEvent(release_); }
    bool WaitEntered(DWORD ms) const { return WaitForSingleObject(entered_, ms) == WAIT_OBJECT_0; }

    std::atomic<long> refs_{0};
    std::atomic<int> flushes_{0};
    std::atomic<int> callsAfterRelease_{0};

private:
    HANDLE entered_;
    HANDLE release_;
};

// The main window's stand-in: counts timer 10001 ticks (killing the timer at the first, as the
// main window does) and message 1041.
int g_timerTicks = 0;
int g_dropMessages = 0;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TIMER && wp == kTimerCopyProtection) {
        KillTimer(hwnd, kTimerCopyProtection);
        ++g_timerTicks;
        return 0;
    }
    if (msg == kMsgFramesDropped) {
        ++g_dropMessages;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

class DeviceEventsTest : public EncoderCardTest {
protected:
    void SetUp() override
    {
        EncoderCardTest::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"EncoderEventsTestWindow";
        RegisterClassW(&wc);
        window_ = CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(window_);
        g_timerTicks = 0;
        g_dropMessages = 0;
        card_ = Install(1, 1);
        capture_ = Capture(card_);
        ASSERT_TRUE(capture_);
    }
    void TearDown() override
    {
        capture_.Reset();
        DestroyWindow(window_);
        EncoderCardTest::TearDown();
    }
    DeviceEventTargets Targets()
    {
        DeviceEventTargets t;
        t.mainWindow = window_;
        t.copyProtected = &copyProtected_;
        t.recording = &recording_;
        t.dataLossWarnings = &warnings_;
        return t;
    }
    uint32_t DropRegistrationEnabled()
    {
        win::ComPtr<IKsPropertySet> ks;
        capture_.As(ks);
        uint32_t reg[2] = {};
        DWORD returned = 0;
        ks->Get(kEventPropertySet, kEventFramesDropped, nullptr, 0, reg, 8, &returned);
        return reg[1];
    }

    HWND window_ = nullptr;
    vcap::CardRecord card_;
    win::ComPtr<IBaseFilter> capture_;
    std::atomic<bool> copyProtected_{false};
    std::atomic<bool> recording_{false};
    std::atomic<bool> warnings_{false};
};

}  // namespace

TEST_F(DeviceEventsTest, CopyProtectionSetsTheFlagAndStopsARecordingOnce)
{
    DeviceEvents events;
    recording_ = true;
    ASSERT_EQ(events.Start(capture_.Get(), Targets()), S_OK);
    ASSERT_TRUE(vcap::SetCopyProtection(1, true));
    EXPECT_TRUE(testsupport::PumpMessages(3000, [&] { return g_timerTicks > 0; }));
    EXPECT_TRUE(copyProtected_);
    testsupport::PumpMessages(400);
    EXPECT_EQ(g_timerTicks, 1);

    ASSERT_TRUE(vcap::SetCopyProtection(1, false));
    EXPECT_TRUE(testsupport::PumpMessages(3000, [&] { return !copyProtected_; }));

    // Not recording: the flag only.
    recording_ = false;
    ASSERT_TRUE(vcap::SetCopyProtection(1, true));
    EXPECT_TRUE(testsupport::PumpMessages(3000, [&] { return copyProtected_.load(); }));
    testsupport::PumpMessages(400);
    EXPECT_EQ(g_timerTicks, 1);
    events.Stop();
    EXPECT_FALSE(events.Running());
}

TEST_F(DeviceEventsTest, DroppedFramesWarnOnceOnlyWhenWarningsAreOn)
{
    DeviceEvents events;
    ASSERT_EQ(events.Start(capture_.Get(), Targets()), S_OK);
    ASSERT_TRUE(vcap::ReportDroppedFrames(1));
    testsupport::PumpMessages(1200);
    EXPECT_EQ(g_dropMessages, 0);
    EXPECT_EQ(DropRegistrationEnabled(), 1u) << "warnings off change nothing";

    warnings_ = true;
    ASSERT_TRUE(vcap::ReportDroppedFrames(1));
    EXPECT_TRUE(testsupport::PumpMessages(3000, [&] { return g_dropMessages > 0; }));
    ASSERT_TRUE(vcap::ReportDroppedFrames(1));
    testsupport::PumpMessages(1200);
    EXPECT_EQ(g_dropMessages, 1) << "the event stays off until the warning re-enables it";
    EXPECT_EQ(DropRegistrationEnabled(), 0u);
    events.Stop();
}

TEST_F(DeviceEventsTest, StoppedFlowFlushesThePreviewAndEndsTheThread)
{
    FakeFlow flow;
    {
        DeviceEvents events;
        DeviceEventTargets t = Targets();
        t.flowControl = win::ComPtr<IVideoFlowControl>::Share(&flow);
        ASSERT_EQ(events.Start(capture_.Get(), std::move(t)), S_OK);
        ASSERT_TRUE(vcap::ReportFlowStopped(1));
        EXPECT_TRUE(flow.WaitEntered(3000));
        ASSERT_TRUE(vcap::ReportFlowStopped(1));
        Sleep(500);
        EXPECT_EQ(flow.flushes_, 1) << "the thread ended after the flush";
        events.Stop();
    }
    EXPECT_EQ(flow.refs_, 0);
}

// The graph goes (flow control and capture filter released) while the card holds event 0
// signalled: the thread's own references keep what it may still call alive.
TEST_F(DeviceEventsTest, ReleasingTheGraphWithEventZeroPendingIsSafe)
{
    for (int round = 0; round < 5; ++round) {
        FakeFlow flow;
        {
            DeviceEvents events;
            DeviceEventTargets t = Targets();
            t.flowControl = win::ComPtr<IVideoFlowControl>::Share(&flow);
            win::ComPtr<IBaseFilter> capture = Capture(card_);
            ASSERT_EQ(events.Start(capture.Get(), std::move(t)), S_OK);
            ASSERT_TRUE(vcap::ReportFlowStopped(1));
            Sleep(round * 60);
            events.Stop();
            capture.Reset();
        }
        Sleep(100);
        EXPECT_EQ(flow.callsAfterRelease_, 0);
        EXPECT_EQ(flow.refs_, 0);
    }
}

TEST_F(DeviceEventsTest, StopReturnsInTimeAndKeepsTheHandlesOfABusyThread)
{
    FakeFlow flow;
    flow.Hold();
    DeviceEvents events;
    DeviceEventTargets t = Targets();
    t.flowControl = win::ComPtr<IVideoFlowControl>::Share(&flow);
    ASSERT_EQ(events.Start(capture_.Get(), std::move(t)), S_OK);
    ASSERT_TRUE(vcap::ReportFlowStopped(1));
    ASSERT_TRUE(flow.WaitEntered(3000));

    const DWORD asked = GetTickCount();
    events.Stop();
    const DWORD took = GetTickCount() - asked;
    EXPECT_GE(took, 1900u);
    EXPECT_LT(took, 2600u);
    EXPECT_FALSE(events.Running());
    // The busy thread still owns its named events and its reference.
    HANDLE stillThere = OpenEventA(SYNCHRONIZE, FALSE, "KSPROPERTY_EVENT_FRAMES_DROPPED");
    EXPECT_TRUE(stillThere);
    if (stillThere)
        CloseHandle(stillThere);
    EXPECT_GT(flow.refs_, 0);

    flow.Let();
    EXPECT_TRUE(testsupport::PumpMessages(3000, [&] { return flow.refs_ == 0; }));
    HANDLE gone = OpenEventA(SYNCHRONIZE, FALSE, "KSPROPERTY_EVENT_FRAMES_DROPPED");
    EXPECT_FALSE(gone) << "closed once the thread ended";
    if (gone)
        CloseHandle(gone);
}

TEST_F(DeviceEventsTest, RestartReplacesTheRunningThreadAndStopIsIdempotent)
{
    DeviceEvents events;
    events.Stop();
    ASSERT_EQ(events.Start(capture_.Get(), Targets()), S_OK);
    ASSERT_EQ(events.Start(capture_.Get(), Targets()), S_OK);
    EXPECT_TRUE(events.Running());
    EXPECT_EQ(DropRegistrationEnabled(), 1u);
    events.Stop();
    events.Stop();
    EXPECT_EQ(DropRegistrationEnabled(), 0u) << "unregistered at stop";
    EXPECT_EQ(events.Start(nullptr, Targets()), E_POINTER);
}
