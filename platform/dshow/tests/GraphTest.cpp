// A source, an in-place pass-through and a renderer built on the library, run by Wine's own
// Filter Graph: connection, state changes, end of stream, seeking with flushes, and
// reconnection with another media type.
#include <windows.h>
#include <evcode.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include "GraphHelpers.h"
#include "dshowbase/MediaType.h"

using namespace graphtest;
using namespace testfilters;

namespace {

constexpr DWORD kWaitMs = 15000;

// Samples must be numbered first, first+1, ... with their times and one stamp each.
void ExpectContiguous(const std::vector<Received>& samples, long first)
{
    for (size_t i = 0; i < samples.size(); ++i) {
        const long expected = first + static_cast<long>(i);
        ASSERT_EQ(samples[i].sequence, expected) << "at " << i;
        EXPECT_EQ(samples[i].start, expected * kSampleDuration);
        EXPECT_EQ(samples[i].stop, (expected + 1) * kSampleDuration);
        EXPECT_EQ(samples[i].stamp, 1);
    }
}

GUID ConnectedSubtype(IPin* pin)
{
    AM_MEDIA_TYPE type{};
    if (FAILED(pin->ConnectionMediaType(&type)))
        return GUID_NULL;
    const GUID subtype = type.subtype;
    dshow::FreeMediaType(type);
    return subtype;
}

FILTER_STATE StateOf(IBaseFilter* filter)
{
    FILTER_STATE state = State_Stopped;
    filter->GetState(0, &state);
    return state;
}

class GraphTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(com_.hr()));
        ASSERT_EQ(BuildChain(chain_), S_OK);
    }
    void TearDown() override
    {
        if (chain_.control)
            chain_.control->Stop();
    }

    ComApartment com_;
    Chain chain_;
};

TEST_F(GraphTest, RunsToCompletionWithSamplesInOrder)
{
    ASSERT_EQ(ConnectChain(chain_), S_OK);
    EXPECT_EQ(ConnectedSubtype(chain_.RendererIn()), kSubtypeA);  // the source's first choice
    EXPECT_TRUE(chain_.stamp->SharesAllocator());

    win::ComPtr<IMediaSeeking> seeking;
    ASSERT_EQ(chain_.graph.As(seeking), S_OK);
    for (int run = 0; run < 2; ++run) {
        chain_.renderer->Clear();
        // A stopped graph stays where it stopped; the second run starts from the beginning.
        LONGLONG start = 0;
        ASSERT_EQ(seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
                  S_OK);
        ASSERT_TRUE(RunToCompletion(chain_, kWaitMs)) << "run " << run;
        ASSERT_EQ(chain_.control->Stop(), S_OK);

        const auto samples = chain_.renderer->Samples();
        ASSERT_EQ(samples.size(), 50u) << "run " << run;
        ExpectContiguous(samples, 0);
        EXPECT_EQ(chain_.renderer->endOfStreams.load(), 1);
    }
    EXPECT_EQ(chain_.stamp->stamped.load(), 100);
}

TEST_F(GraphTest, FollowsTheGraphsPauseRunAndStop)
{
    chain_.source->Stream()->sampleCount = 1000000;
    chain_.source->Stream()->paceMs = 2;
    ASSERT_EQ(ConnectChain(chain_), S_OK);
    auto received = [this] { return chain_.renderer->Samples().size(); };

    ASSERT_TRUE(SUCCEEDED(chain_.control->Pause()));
    for (IBaseFilter* filter : {chain_.sourceFilter.Get(), chain_.stampFilter.Get(), chain_.rendererFilter.Get()})
        EXPECT_EQ(StateOf(filter), State_Paused);
    // A file-like source delivers while paused.
    EXPECT_TRUE(WaitUntil([&] { return received() >= 5; }, kWaitMs));

    ASSERT_TRUE(SUCCEEDED(chain_.control->Run()));
    OAFilterState state = State_Stopped;
    EXPECT_EQ(chain_.control->GetState(kWaitMs, &state), S_OK);
    EXPECT_EQ(state, State_Running);
    for (IBaseFilter* filter : {chain_.sourceFilter.Get(), chain_.stampFilter.Get(), chain_.rendererFilter.Get()})
        EXPECT_EQ(StateOf(filter), State_Running);
    size_t before = received();
    EXPECT_TRUE(WaitUntil([&] { return received() >= before + 10; }, kWaitMs));

    ASSERT_TRUE(SUCCEEDED(chain_.control->Pause()));
    ASSERT_TRUE(SUCCEEDED(chain_.control->Run()));
    before = received();
    EXPECT_TRUE(WaitUntil([&] { return received() >= before + 10; }, kWaitMs));

    ASSERT_EQ(chain_.control->Stop(), S_OK);
    for (IBaseFilter* filter : {chain_.sourceFilter.Get(), chain_.stampFilter.Get(), chain_.rendererFilter.Get()})
        EXPECT_EQ(StateOf(filter), State_Stopped);
    const size_t atStop = received();
    Sleep(100);
    EXPECT_EQ(received(), atStop) << "the streaming thread must end with Stop";
    ExpectContiguous(chain_.renderer->Samples(), 0);
    EXPECT_EQ(chain_.renderer->endOfStreams.load(), 0);
}

TEST_F(GraphTest, SeekingFlushesAndRestartsAtTheNewPosition)
{
    chain_.source->Stream()->sampleCount = 1000000;
    chain_.source->Stream()->paceMs = 2;
    ASSERT_EQ(ConnectChain(chain_), S_OK);
    ASSERT_TRUE(SUCCEEDED(chain_.control->Run()));
    ASSERT_TRUE(WaitUntil([&] { return chain_.renderer->Samples().size() >= 5; }, kWaitMs));

    // The graph reaches the source through the renderer's and the stamper's pass-throughs.
    win::ComPtr<IMediaSeeking> seeking;
    ASSERT_EQ(chain_.graph.As(seeking), S_OK);
    LONGLONG target = 5000 * kSampleDuration;
    ASSERT_EQ(seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
              S_OK);
    ASSERT_TRUE(WaitUntil(
        [&] {
            const auto samples = chain_.renderer->Samples();
            return !samples.empty() && samples.back().sequence >= 5010;
        },
        kWaitMs));
    ASSERT_EQ(chain_.control->Stop(), S_OK);

    EXPECT_GE(chain_.renderer->beginFlushes.load(), 1);
    EXPECT_EQ(chain_.renderer->beginFlushes.load(), chain_.renderer->endFlushes.load());
    EXPECT_GE(chain_.renderer->segments.load(), 1);
    const auto samples = chain_.renderer->Samples();
    size_t first = 0;
    while (first < samples.size() && samples[first].sequence != 5000)
        ++first;
    ASSERT_LT(first, samples.size());
    EXPECT_TRUE(samples[first].discontinuity);
    ExpectContiguous(std::vector<Received>(samples.begin() + static_cast<std::ptrdiff_t>(first), samples.end()),
                     5000);
    // Before the seek: the run from 0, in order.
    ExpectContiguous(std::vector<Received>(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(first)),
                     0);
}

TEST_F(GraphTest, ReconnectsWithAnotherMediaType)
{
    ASSERT_EQ(ConnectChain(chain_), S_OK);
    ASSERT_TRUE(RunToCompletion(chain_, kWaitMs));
    EXPECT_EQ(chain_.graph->Disconnect(chain_.RendererIn()), VFW_E_NOT_STOPPED);
    ASSERT_EQ(chain_.control->Stop(), S_OK);

    ASSERT_EQ(DisconnectChain(chain_), S_OK);
    IPin* peer = nullptr;
    EXPECT_EQ(chain_.RendererIn()->ConnectedTo(&peer), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(peer, nullptr);

    // The renderer now refuses the first type, so negotiation settles on the second.
    chain_.renderer->acceptA = false;
    chain_.renderer->Clear();
    ASSERT_EQ(chain_.graph->ConnectDirect(chain_.SourceOut(), chain_.StampIn(), nullptr), S_OK);
    const dshow::MediaType typeB(MEDIATYPE_Stream, kSubtypeB, FORMAT_None);
    EXPECT_NE(chain_.graph->ConnectDirect(chain_.StampOut(), chain_.RendererIn(), nullptr), S_OK)
        << "the stamper offers only its input's type A";
    ASSERT_EQ(chain_.graph->Disconnect(chain_.SourceOut()), S_OK);
    ASSERT_EQ(chain_.graph->Disconnect(chain_.StampIn()), S_OK);
    ASSERT_EQ(ConnectChain(chain_, &typeB), S_OK);
    EXPECT_EQ(ConnectedSubtype(chain_.SourceOut()), kSubtypeB);
    EXPECT_EQ(ConnectedSubtype(chain_.RendererIn()), kSubtypeB);

    win::ComPtr<IMediaSeeking> seeking;
    ASSERT_EQ(chain_.graph.As(seeking), S_OK);
    LONGLONG start = 0;
    ASSERT_EQ(seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning), S_OK);
    ASSERT_TRUE(RunToCompletion(chain_, kWaitMs));
    ASSERT_EQ(chain_.control->Stop(), S_OK);
    EXPECT_EQ(chain_.renderer->Samples().size(), 50u);
    ExpectContiguous(chain_.renderer->Samples(), 0);
}

TEST_F(GraphTest, RefusesBadConnections)
{
    // Same direction, unacceptable type, and a second connection on a connected pin.
    EXPECT_EQ(chain_.SourceOut()->Connect(chain_.StampOut(), nullptr), VFW_E_INVALID_DIRECTION);
    const dshow::MediaType video(MEDIATYPE_Video, MEDIASUBTYPE_RGB24, FORMAT_None);
    EXPECT_EQ(chain_.SourceOut()->Connect(chain_.StampIn(), &video), VFW_E_TYPE_NOT_ACCEPTED);
    chain_.renderer->acceptA = false;
    chain_.renderer->acceptB = false;
    ASSERT_EQ(chain_.graph->ConnectDirect(chain_.SourceOut(), chain_.StampIn(), nullptr), S_OK);
    EXPECT_EQ(chain_.StampOut()->Connect(chain_.RendererIn(), nullptr), VFW_E_NO_ACCEPTABLE_TYPES);
    EXPECT_EQ(chain_.SourceOut()->Connect(chain_.RendererIn(), nullptr), VFW_E_ALREADY_CONNECTED);
    IPin* peer = nullptr;
    EXPECT_EQ(chain_.StampOut()->ConnectedTo(&peer), VFW_E_NOT_CONNECTED);
    AM_MEDIA_TYPE type{};
    EXPECT_EQ(chain_.StampOut()->ConnectionMediaType(&type), VFW_E_NOT_CONNECTED);
    // A failed attempt leaves nothing half-connected on either side.
    EXPECT_EQ(chain_.RendererIn()->ConnectedTo(&peer), VFW_E_NOT_CONNECTED);
}

TEST_F(GraphTest, EndOfStreamWhilePausedCompletesOnRun)
{
    chain_.source->Stream()->sampleCount = 3;
    ASSERT_EQ(ConnectChain(chain_), S_OK);
    ASSERT_TRUE(SUCCEEDED(chain_.control->Pause()));
    ASSERT_TRUE(WaitUntil([&] { return chain_.renderer->endOfStreams.load() == 1; }, kWaitMs));
    EXPECT_FALSE(WaitForEvent(chain_.events.Get(), EC_COMPLETE, 200)) << "no completion while paused";
    ASSERT_TRUE(SUCCEEDED(chain_.control->Run()));
    EXPECT_TRUE(WaitForEvent(chain_.events.Get(), EC_COMPLETE, kWaitMs));
    EXPECT_EQ(chain_.renderer->Samples().size(), 3u);
}

TEST_F(GraphTest, FilterAndPinInformation)
{
    FILTER_INFO info{};
    ASSERT_EQ(chain_.rendererFilter->QueryFilterInfo(&info), S_OK);
    EXPECT_STREQ(info.achName, L"Renderer");
    EXPECT_NE(info.pGraph, nullptr);
    if (info.pGraph)
        info.pGraph->Release();

    win::ComPtr<IPin> found;
    EXPECT_EQ(chain_.stampFilter->FindPin(L"Output", found.Put()), S_OK);
    EXPECT_EQ(found.Get(), chain_.StampOut());
    EXPECT_EQ(chain_.stampFilter->FindPin(L"Nothing", found.Put()), VFW_E_NOT_FOUND);

    win::ComPtr<IEnumPins> pins;
    ASSERT_EQ(chain_.stampFilter->EnumPins(pins.Put()), S_OK);
    IPin* got[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(pins->Next(3, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    for (ULONG i = 0; i < fetched; ++i)
        got[i]->Release();
    EXPECT_EQ(pins->Reset(), S_OK);
    EXPECT_EQ(pins->Skip(2), S_OK);
    EXPECT_EQ(pins->Skip(1), S_FALSE);

    win::ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(chain_.SourceOut()->EnumMediaTypes(types.Put()), S_OK);
    AM_MEDIA_TYPE* offered[3] = {};
    EXPECT_EQ(types->Next(3, offered, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(offered[0]->subtype, kSubtypeA);
    EXPECT_EQ(offered[1]->subtype, kSubtypeB);
    for (ULONG i = 0; i < fetched; ++i)
        dshow::DeleteMediaType(offered[i]);

    LPWSTR id = nullptr;
    ASSERT_EQ(chain_.RendererIn()->QueryId(&id), S_OK);
    EXPECT_STREQ(id, L"In");
    CoTaskMemFree(id);
    PIN_INFO pin{};
    ASSERT_EQ(chain_.RendererIn()->QueryPinInfo(&pin), S_OK);
    EXPECT_EQ(pin.dir, PINDIR_INPUT);
    EXPECT_EQ(pin.pFilter, chain_.rendererFilter.Get());
    pin.pFilter->Release();
}

}  // namespace

namespace {

// Quality messages from downstream travel through the stamper to the upstream pin, and from
// there to the sink set on it.
TEST_F(GraphTest, QualityMessagesPassUpstream)
{
    struct Sink : IQualityControl {
        long notified = 0;
        STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
        STDMETHODIMP_(ULONG) AddRef() override { return 2; }
        STDMETHODIMP_(ULONG) Release() override { return 1; }
        STDMETHODIMP Notify(IBaseFilter*, Quality) override
        {
            ++notified;
            return S_OK;
        }
        STDMETHODIMP SetSink(IQualityControl*) override { return S_OK; }
    } sink;
    ASSERT_EQ(ConnectChain(chain_), S_OK);
    win::ComPtr<IQualityControl> stampOut, sourceOut;
    ASSERT_EQ(chain_.StampOut()->QueryInterface(IID_IQualityControl, stampOut.PutVoid()), S_OK);
    ASSERT_EQ(chain_.SourceOut()->QueryInterface(IID_IQualityControl, sourceOut.PutVoid()), S_OK);
    const Quality late{Famine, 900, 400000, 0};
    EXPECT_EQ(stampOut->Notify(chain_.rendererFilter.Get(), late), VFW_E_NOT_FOUND) << "nobody upstream handles it";
    ASSERT_EQ(sourceOut->SetSink(&sink), S_OK);
    EXPECT_EQ(stampOut->Notify(chain_.rendererFilter.Get(), late), S_OK);
    EXPECT_EQ(sink.notified, 1);
    sourceOut->SetSink(nullptr);
}

}  // namespace
