// The device events as the program's event thread meets them: handles registered through the
// capture filter's event set, signalled when the card's stream stops flowing (end of stream,
// the card removed), when the host falls too far behind the encoder, and never for a stop
// the graph asked for.
#include "CardControl.h"
#include "CardInstaller.h"
#include "CardTestSupport.h"
#include "KsPropertySets.h"
#include "TestSupport.h"

#include <win/ComPtr.h>
#include "dshowbase/TransformFilter.h"

#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <string>

using win::ComPtr;
using vcap::CardRecord;
using vcap::FilterRole;

namespace {


// {3F2B7C61-0D4E-4A8B-9C15-6E7D2A1B8F40}, never registered: made directly by the test.
constexpr CLSID kClsidStall = {0x3F2B7C61, 0x0D4E, 0x4A8B, {0x9C, 0x15, 0x6E, 0x7D, 0x2A, 0x1B, 0x8F, 0x40}};

// A host that stops taking samples for a while: the first sample holds the stream up.
class StallingFilter : public dshow::InPlaceTransformFilter {
public:
    static ComPtr<IBaseFilter> Create(DWORD stallMs)
    {
        auto* f = new StallingFilter(stallMs);
        IBaseFilter* out = nullptr;
        f->NonDelegatingQueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&out));
        return ComPtr<IBaseFilter>::Adopt(out);
    }
    HRESULT CheckInputType(const dshow::MediaType&) override { return S_OK; }
    HRESULT Transform(IMediaSample*) override
    {
        if (InterlockedIncrement(&samples_) == 1)
            Sleep(stallMs_);
        return S_OK;
    }

private:
    explicit StallingFilter(DWORD stallMs) : InPlaceTransformFilter(nullptr, kClsidStall), stallMs_(stallMs) {}
    DWORD stallMs_;
    LONG samples_ = 0;
};

class Event {
public:
    Event() : h_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~Event() { CloseHandle(h_); }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    HANDLE Get() const { return h_; }
    bool Signalled(DWORD ms) const { return WaitForSingleObject(h_, ms) == WAIT_OBJECT_0; }

private:
    HANDLE h_;
};

HRESULT Register(IKsPropertySet* ks, int id, const Event& e, uint32_t enable = 1)
{
    uint32_t data[2] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(e.Get())), enable};
    return ks->Set(vcap::kEventPropertySet, static_cast<DWORD>(id), nullptr, 0, data, 8);
}

ComPtr<IPin> PinOf(IBaseFilter* f, PIN_DIRECTION dir)
{
    std::vector<ComPtr<IPin>> pins = cardtest::Pins(f, dir);
    return pins.empty() ? ComPtr<IPin>() : pins.front();
}

class DeviceEventsTest : public cardtest::CardTest {
protected:
    // The graph goes before the cards it streams from.
    void TearDown() override
    {
        if (mc_)
            mc_->Stop();
        mc_.Reset();
        graph_.Reset();
        CardTest::TearDown();
    }

    // The card's stream output (the encoder's for type 1, the capture filter's own for type 3)
    // into a file writer, optionally through a filter in between.
    void BuildStreamGraph(const CardRecord& card, IBaseFilter* capture, IBaseFilter* between = nullptr)
    {
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph_.PutVoid()), S_OK);
        ComPtr<IBaseFilter> source = card.personality.deviceType == 3 ? ComPtr<IBaseFilter>::Share(capture) : Bind(card, FilterRole::Encoder);
        ASSERT_TRUE(source);
        ASSERT_EQ(graph_->AddFilter(source.Get(), L"Source"), S_OK);
        ComPtr<IPin> out = PinOf(source.Get(), PINDIR_OUTPUT);
        ASSERT_TRUE(out);
        stream_ = out;
        if (between) {
            ASSERT_EQ(graph_->AddFilter(between, L"Between"), S_OK);
            ASSERT_EQ(graph_->ConnectDirect(out.Get(), PinOf(between, PINDIR_INPUT).Get(), nullptr), S_OK);
            out = PinOf(between, PINDIR_OUTPUT);
        }
        // The system File Writer takes a stream as fast as it comes (a renderer would pace it).
        ComPtr<IBaseFilter> sink;
        ASSERT_EQ(CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, sink.PutVoid()), S_OK);
        ASSERT_EQ(graph_->AddFilter(sink.Get(), L"Sink"), S_OK);
        ComPtr<IFileSinkFilter> file;
        ASSERT_EQ(sink.As(file), S_OK);
        const std::string path = testsupport::OutputDir() + "events.mpg";
        ASSERT_EQ(file->SetFileName(std::wstring(path.begin(), path.end()).c_str(), nullptr), S_OK);
        ASSERT_EQ(graph_->ConnectDirect(out.Get(), PinOf(sink.Get(), PINDIR_INPUT).Get(), nullptr), S_OK);
        ASSERT_EQ(graph_.As(mc_), S_OK);
    }

    ComPtr<IGraphBuilder> graph_;
    ComPtr<IMediaControl> mc_;
    ComPtr<IPin> stream_;
};

}  // namespace

TEST_F(DeviceEventsTest, FlowStoppedFiresAtTheEndOfTheStreamButNotWhenTheGraphStops)
{
    for (uint32_t type : {1u, 3u}) {
        SCOPED_TRACE(type);
        RemoveAll();
        const CardRecord card = Install(1, type);
        ComPtr<IBaseFilter> capture = Bind(card, FilterRole::Capture);
        ComPtr<IKsPropertySet> ks;
        ASSERT_TRUE(capture && SUCCEEDED(capture.As(ks)));
        Event flow, dropped;
        ASSERT_EQ(Register(ks.Get(), vcap::kEventFlowStopped, flow), S_OK);
        ASSERT_EQ(Register(ks.Get(), vcap::kEventFramesDropped, dropped), S_OK);

        // The graph stops the stream: nothing to report.
        BuildStreamGraph(card, capture.Get());
        ASSERT_TRUE(SUCCEEDED(mc_->Run()));
        Sleep(700);
        ASSERT_TRUE(SUCCEEDED(mc_->Stop()));
        EXPECT_FALSE(flow.Signalled(800)) << "a stop the graph asked for is no flow stop";

        // The stream ends by itself (a stop time reached): the card reports it.
        ComPtr<IAMStreamControl> control;
        ASSERT_EQ(stream_.As(control), S_OK);
        const REFERENCE_TIME stopAt = 5000000;  // half a second of stream
        ASSERT_EQ(control->StopAt(&stopAt, FALSE, 0), S_OK);
        ASSERT_TRUE(SUCCEEDED(mc_->Run()));
        EXPECT_TRUE(flow.Signalled(6000));
        EXPECT_FALSE(dropped.Signalled(0)) << "a host that keeps up loses nothing";
        mc_->Stop();
        mc_.Reset();
        graph_.Reset();
        stream_.Reset();
    }
}

TEST_F(DeviceEventsTest, FramesDroppedFiresWhenTheHostFallsBehindTheEncoder)
{
    const CardRecord card = Install(1, 1);
    ComPtr<IBaseFilter> capture = Bind(card, FilterRole::Capture);
    ComPtr<IKsPropertySet> ks;
    ASSERT_TRUE(capture && SUCCEEDED(capture.As(ks)));
    Event dropped, flow;
    ASSERT_EQ(Register(ks.Get(), vcap::kEventFramesDropped, dropped), S_OK);
    ASSERT_EQ(Register(ks.Get(), vcap::kEventFlowStopped, flow), S_OK);
    ComPtr<IBaseFilter> stall = StallingFilter::Create(2500);
    BuildStreamGraph(card, capture.Get(), stall.Get());
    ASSERT_TRUE(SUCCEEDED(mc_->Run()));
    EXPECT_TRUE(dropped.Signalled(8000));
    EXPECT_FALSE(dropped.Signalled(1500)) << "one report for one stall";
    EXPECT_FALSE(flow.Signalled(0)) << "the stream keeps flowing after the stall";
    vcap::CardControlState state;
    ASSERT_TRUE(vcap::ReadControl(1, state));
    EXPECT_EQ(state.framesDropped, 1u);
}

TEST_F(DeviceEventsTest, FlowStoppedFiresWhenTheCardIsRemovedAndEveryEventFromVcapctl)
{
    const CardRecord card = Install(1, 1);
    ComPtr<IBaseFilter> capture = Bind(card, FilterRole::Capture);
    ComPtr<IBaseFilter> second = Bind(card, FilterRole::Capture);  // a second binding of the same card
    ComPtr<IKsPropertySet> ks, ks2;
    ASSERT_TRUE(capture && second && SUCCEEDED(capture.As(ks)) && SUCCEEDED(second.As(ks2)));
    Event flow, on, off, dropped, secondDropped;
    ASSERT_EQ(Register(ks.Get(), vcap::kEventFlowStopped, flow), S_OK);
    ASSERT_EQ(Register(ks.Get(), vcap::kEventCopyProtectionOn, on), S_OK);
    ASSERT_EQ(Register(ks.Get(), vcap::kEventCopyProtectionOff, off), S_OK);
    ASSERT_EQ(Register(ks.Get(), vcap::kEventFramesDropped, dropped), S_OK);
    ASSERT_EQ(Register(ks2.Get(), vcap::kEventFramesDropped, secondDropped), S_OK);

    const std::string ctl = "\"" + testsupport::ModuleDir() + "vcapctl.exe\" --card 1 ";
    ASSERT_EQ(testsupport::RunProcess(ctl + "copyprotect on"), 0);
    EXPECT_TRUE(on.Signalled(3000));
    ASSERT_EQ(testsupport::RunProcess(ctl + "copyprotect off"), 0);
    EXPECT_TRUE(off.Signalled(3000));
    ASSERT_EQ(testsupport::RunProcess(ctl + "dropframes"), 0);
    EXPECT_TRUE(dropped.Signalled(3000));
    EXPECT_TRUE(secondDropped.Signalled(3000)) << "every filter bound to the card hears it";
    EXPECT_FALSE(flow.Signalled(0));

    ASSERT_EQ(testsupport::RunProcess(ctl + "remove"), 0);
    EXPECT_TRUE(flow.Signalled(3000)) << "a removed card's stream has stopped";
    EXPECT_FALSE(flow.Signalled(600)) << "once";
    ASSERT_EQ(testsupport::RunProcess(ctl + "readd"), 0);
    ASSERT_EQ(testsupport::RunProcess(ctl + "copyprotect on"), 0);
    EXPECT_TRUE(on.Signalled(3000)) << "the filter follows the card when it comes back";
}

// vcapctl stopflow: the encoder stops handing its stream over while the graph runs. The stream
// ends downstream and the card reports a stopped flow; with nothing running there is no flow
// to stop, and a stream started afterwards flows again.
TEST_F(DeviceEventsTest, FlowStoppedFiresWhenVcapctlStopsTheFlow)
{
    for (uint32_t type : {1u, 3u}) {
        SCOPED_TRACE(type);
        RemoveAll();
        const CardRecord card = Install(1, type);
        ComPtr<IBaseFilter> capture = Bind(card, FilterRole::Capture);
        ComPtr<IKsPropertySet> ks;
        ASSERT_TRUE(capture && SUCCEEDED(capture.As(ks)));
        Event flow;
        ASSERT_EQ(Register(ks.Get(), vcap::kEventFlowStopped, flow), S_OK);
        const std::string stopflow = "\"" + testsupport::ModuleDir() + "vcapctl.exe\" --card 1 stopflow";
        ASSERT_EQ(testsupport::RunProcess(stopflow), 0);
        EXPECT_FALSE(flow.Signalled(600)) << "nothing was flowing";

        BuildStreamGraph(card, capture.Get());
        ComPtr<IMediaEvent> events;
        ASSERT_EQ(graph_->QueryInterface(IID_IMediaEvent, events.PutVoid()), S_OK);
        ASSERT_TRUE(SUCCEEDED(mc_->Run()));
        EXPECT_FALSE(flow.Signalled(800)) << "an earlier break does not end a new stream";
        ASSERT_EQ(testsupport::RunProcess(stopflow), 0);
        EXPECT_TRUE(flow.Signalled(3000));
        long code = 0;
        EXPECT_EQ(events->WaitForCompletion(3000, &code), S_OK) << "the end of the stream reached the writer";
        EXPECT_EQ(code, EC_COMPLETE);
        mc_->Stop();

        // The next run streams again, and runs until the graph stops it.
        ASSERT_TRUE(SUCCEEDED(mc_->Run()));
        EXPECT_FALSE(flow.Signalled(1000));
        mc_->Stop();
        WIN32_FILE_ATTRIBUTE_DATA a{};
        ASSERT_TRUE(GetFileAttributesExA((testsupport::OutputDir() + "events.mpg").c_str(), GetFileExInfoStandard, &a));
        EXPECT_GT(a.nFileSizeLow, 200000u) << "a second of the stream at 6 Mbit/s";
        mc_.Reset();
        graph_.Reset();
        stream_.Reset();
    }
    EXPECT_EQ(testsupport::RunProcess("\"" + testsupport::ModuleDir() + "vcapctl.exe\" --card 5 stopflow"), 1) << "no such card";
}
