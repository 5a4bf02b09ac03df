// Streaming through the demultiplexer's outputs under state changes: a pin that refuses gets
// nothing more until the next start, a graph paused after running holds and resumes, and
// many graph start/teardown cycles with the MPEG audio path leave nothing behind.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include "CollectingSink.h"
#include "GraphFixture.h"

using namespace graphtest;

namespace {

// A pin that refuses a sample (S_FALSE: it wants no more) gets no further call from its
// output until the graph starts again, and the other outputs go on meanwhile.
TEST_F(FilterGraphs, RefusedOutputGetsNothingMoreUntilRestart)
{
    ASSERT_NO_FATAL_FAILURE(BuildFront("m2_graph.mpg", false));
    auto* video = CollectingSink::Create(MEDIATYPE_Video);
    ComPtr<IBaseFilter> videoSink = ComPtr<IBaseFilter>::Adopt(video);
    ASSERT_EQ(graph_->AddFilter(videoSink.Get(), L"Video sink"), S_OK);
    ASSERT_EQ(Connect(graph_.Get(), videoPin_.Get(), videoSink.Get()), S_OK);
    ComPtr<IPin> audioPin;
    ASSERT_NO_FATAL_FAILURE(AddMpegAudioOutput(audioPin));
    auto* audio = CollectingSink::Create(MEDIATYPE_Audio);
    ComPtr<IBaseFilter> audioSink = ComPtr<IBaseFilter>::Adopt(audio);
    ASSERT_EQ(graph_->AddFilter(audioSink.Get(), L"Audio sink"), S_OK);
    ASSERT_EQ(Connect(graph_.Get(), audioPin.Get(), audioSink.Get()), S_OK);
    ComPtr<IMediaFilter> mf;
    ASSERT_EQ(graph_.As(mf), S_OK);
    mf->SetSyncSource(nullptr);  // as fast as it comes

    video->RefuseAfter(3);
    ASSERT_TRUE(SUCCEEDED(control_->Run()));
    ASSERT_TRUE(testsupport::PumpMessages(20000, [&] { return audio->AtEnd(); }));
    EXPECT_EQ(video->Samples(), 3);
    EXPECT_EQ(video->Calls(), 4);  // the refused one, then nothing
    EXPECT_FALSE(video->AtEnd());
    const long audioSamples = audio->Samples();
    EXPECT_GT(audioSamples, 20);

    // A new start delivers to it again, from the start of the stream.
    ASSERT_EQ(control_->Stop(), S_OK);
    video->RefuseAfter(-1);
    ASSERT_TRUE(SUCCEEDED(control_->Run()));
    ASSERT_TRUE(testsupport::PumpMessages(20000, [&] { return audio->AtEnd() && video->AtEnd(); }));
    EXPECT_GT(video->Samples(), 3 + 50);
    EXPECT_EQ(audio->Samples(), 2 * audioSamples);
}

// Paused after running, the demultiplexer starts no delivery (the graph pauses before it
// stops downstream filters), yet Wine's renderers complete the pause, and Run resumes the
// stream where it was: every picture is decoded and both renderers reach the end.
TEST_F(FilterGraphs, PauseAfterRunningHoldsThenResumes)
{
    ASSERT_NO_FATAL_FAILURE(BuildFront("m2_graph.mpg", true, 4.0));
    ASSERT_NO_FATAL_FAILURE(RenderMpegAudio());
    decoder_ = AddFilter(graph_.Get(), testbed::kClsidCorvaleDecoder, L"Decoder");
    ASSERT_TRUE(decoder_);
    ASSERT_NO_FATAL_FAILURE(RenderVideo(videoPin_.Get()));
    ASSERT_NO_FATAL_FAILURE(UseDemuxClock());

    ASSERT_TRUE(SUCCEEDED(control_->Run()));
    ASSERT_TRUE(testsupport::PumpMessages(10000, [&] { return PicturesDecoded() > 10; }));
    ASSERT_TRUE(SUCCEEDED(control_->Pause()));
    OAFilterState state = State_Running;
    EXPECT_EQ(control_->GetState(5000, &state), S_OK);
    EXPECT_EQ(state, State_Paused);
    const LONG held = PicturesDecoded();
    testsupport::PumpMessages(1000);
    EXPECT_LE(PicturesDecoded() - held, 1);  // at most a delivery already under way

    ASSERT_TRUE(SUCCEEDED(control_->Run()));
    long code = 0;
    EXPECT_EQ(events_->WaitForCompletion(15000, &code), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    EXPECT_GE(PicturesDecoded(), 95);
}

// The preview graph of a capture (tee, demultiplexer, video decoder, flow control, MPEG audio
// through Wine's decoder and audio renderer) built, run for a varying moment and torn down
// again many times: the graph stops while data flows into every branch. Every other cycle
// the demultiplexer's clock drives the graph, as in the capture graph.
TEST_F(FilterGraphs, ManyStartsAndTeardownsLeaveNothingBehind)
{
    PROCESS_MEMORY_COUNTERS before = {}, after = {};
    int cyclesWithPictures = 0;
    auto cycle = [&](int i) {
        ComPtr<IGraphBuilder> graph;
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()), S_OK);
        graph_ = graph;
        ASSERT_NO_FATAL_FAILURE(BuildFront("m2_intra.mpg"));
        ComPtr<IBaseFilter> flow = AddFilter(graph_.Get(), testbed::kClsidFlowControl, L"Video Flow Control");
        decoder_ = AddFilter(graph_.Get(), testbed::kClsidCorvaleDecoder, L"Decoder");
        auto* sink = CollectingSink::Create(MEDIATYPE_Video);
        ComPtr<IBaseFilter> sinkFilter = ComPtr<IBaseFilter>::Adopt(sink);
        graph_->AddFilter(sinkFilter.Get(), L"Sink");
        ASSERT_EQ(Connect(graph_.Get(), videoPin_.Get(), decoder_.Get()), S_OK);
        ASSERT_EQ(Connect(graph_.Get(), LastPin(decoder_.Get(), PINDIR_OUTPUT).Get(), flow.Get()), S_OK);
        ASSERT_EQ(Connect(graph_.Get(), LastPin(flow.Get(), PINDIR_OUTPUT).Get(), sinkFilter.Get()), S_OK);
        ASSERT_NO_FATAL_FAILURE(RenderMpegAudio());
        ComPtr<IMediaControl> mc;
        ASSERT_EQ(graph_.As(mc), S_OK);
        if (i % 2 == 0) {
            ASSERT_NO_FATAL_FAILURE(UseDemuxClock());
        } else {
            ComPtr<IMediaFilter> mf;
            ASSERT_EQ(graph_.As(mf), S_OK);
            mf->SetSyncSource(nullptr);
        }
        ASSERT_TRUE(SUCCEEDED(mc->Run()));
        // Most cycles stop at once or mid-start; every fifth waits for its first picture, so
        // that streaming graphs are torn down too however busy the machine is.
        if (i % 5 == 4)
            testsupport::PumpMessages(10000, [&] { return sink->Samples() > 0; });
        else
            testsupport::PumpMessages(5 + 15 * (i % 5));
        ASSERT_EQ(mc->Stop(), S_OK);
        cyclesWithPictures += sink->Samples() > 0;
        source_.Reset(); tee_.Reset(); demux_.Reset(); decoder_.Reset(); videoPin_.Reset();
        graph_.Reset();
    };
    // MAROVIN_GRAPH_CYCLES sets a longer soak run.
    char value[16] = {};
    const int kCycles = GetEnvironmentVariableA("MAROVIN_GRAPH_CYCLES", value, sizeof value) ? std::atoi(value) : 200;
    ASSERT_GT(kCycles, 20);
    for (int i = 0; i < kCycles; ++i) {
        if (i == 20) GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
        cycle(i);
        if (HasFatalFailure()) return;
    }
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    const double growthMb = (double(after.PagefileUsage) - double(before.PagefileUsage)) / 1048576.0;
    std::printf("%d graph cycles (%d with pictures): private memory %.1f MB after 20, %.1f MB at the end (%+.1f MB)\n",
                kCycles, cyclesWithPictures, before.PagefileUsage / 1048576.0, after.PagefileUsage / 1048576.0,
                growthMb);
    EXPECT_GE(cyclesWithPictures, kCycles / 5);  // the graphs really streamed
    EXPECT_EQ(LiveObjectsIn(L"TestbedFilters.ax"), 0);
    // Each cycle allocates megabytes of sample buffers; a leak of one cycle's worth would
    // show as hundreds of megabytes.
    EXPECT_LT(growthMb, 24.0);
}

}  // namespace
