// The device events as the program's event thread meets them: handles registered through the
// capture filter's event set, signalled when the card's stream stops flowing (end of stream,
// the card removed), when the host falls too far behind the encoder, and never for a stop
// the graph asked for.
#include "CardControl.h"
#include "CardInstaller.h"
#include "CardTestSupport.h"
#include "KsPropertySets.h"
#include "TestSupport.h"

#include "dshowbase/ComPtr.h"

#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include <gtest/gtest.h>

#include <string>

using dshow::ComPtr;
using vcap::CardRecord;
using vcap::FilterRole;

namespace {

const CLSID kClsidSampleGrabber = {0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const CLSID kClsidNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

// A host that stops taking samples for a while: the first sample holds the stream up.
class StallingCallback : public ISampleGrabberCB {
public:
    explicit StallingCallback(DWORD stallMs) : stallMs_(stallMs) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_ISampleGrabberCB) {
            *out = static_cast<ISampleGrabberCB*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives on the test's stack
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double, IMediaSample*) override
    {
        if (InterlockedIncrement(&samples_) == 1)
            Sleep(stallMs_);
        return S_OK;
    }
    STDMETHODIMP BufferCB(double, BYTE*, long) override { return S_OK; }

private:
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

class DeviceEventsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(cardtest::RegisterFilters());
    }
    static void TearDownTestSuite() { CoUninitialize(); }
    void SetUp() override { RemoveAll(); }
    void TearDown() override
    {
        if (mc_)
            mc_->Stop();
        mc_.Reset();
        graph_.Reset();
        RemoveAll();
    }
    static void RemoveAll()
    {
        std::wstring error;
        for (const CardRecord& c : vcap::LoadAllCards())
            vcap::UninstallCard(c.number, error);
    }
    static CardRecord Install(int number, uint32_t type)
    {
        vcap::Personality p;
        p.deviceType = type;
        CardRecord card;
        std::wstring error;
        EXPECT_TRUE(vcap::InstallCard(number, p, card, error));
        return card;
    }
    static ComPtr<IBaseFilter> Bind(const CardRecord& card, FilterRole role)
    {
        return cardtest::BindByPath(*vcap::Role(role).category, card.paths[static_cast<int>(role)]);
    }

    // The card's stream output (the encoder's for type 1, the capture filter's own for type 3)
    // into a null renderer, optionally through a sample grabber with a callback.
    void BuildStreamGraph(const CardRecord& card, IBaseFilter* capture, ISampleGrabberCB* callback = nullptr)
    {
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph_.PutVoid()), S_OK);
        ComPtr<IBaseFilter> source = card.personality.deviceType == 3 ? ComPtr<IBaseFilter>(capture) : Bind(card, FilterRole::Encoder);
        ASSERT_TRUE(source);
        ASSERT_EQ(graph_->AddFilter(source.Get(), L"Source"), S_OK);
        ComPtr<IPin> out = PinOf(source.Get(), PINDIR_OUTPUT);
        ASSERT_TRUE(out);
        stream_ = out;
        if (callback) {
            ComPtr<IBaseFilter> grabber;
            ASSERT_EQ(CoCreateInstance(kClsidSampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, grabber.PutVoid()), S_OK);
            ASSERT_EQ(graph_->AddFilter(grabber.Get(), L"Grabber"), S_OK);
            ComPtr<ISampleGrabber> sg;
            ASSERT_EQ(grabber.As(sg), S_OK);
            ASSERT_EQ(sg->SetCallback(callback, 0), S_OK);
            ASSERT_EQ(graph_->ConnectDirect(out.Get(), PinOf(grabber.Get(), PINDIR_INPUT).Get(), nullptr), S_OK);
            out = PinOf(grabber.Get(), PINDIR_OUTPUT);
        }
        ComPtr<IBaseFilter> sink;
        ASSERT_EQ(CoCreateInstance(kClsidNullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, sink.PutVoid()), S_OK);
        ASSERT_EQ(graph_->AddFilter(sink.Get(), L"Sink"), S_OK);
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
    StallingCallback stall(2500);
    BuildStreamGraph(card, capture.Get(), &stall);
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
