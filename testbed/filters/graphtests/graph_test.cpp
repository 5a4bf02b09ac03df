// The stand-ins in real Wine graphs: an encoder's program stream through the infinite tee and
// the demultiplexer into the decoder and Wine's video renderer (screenshots), MPEG audio into
// Wine's MPEG audio decoder and audio renderer, the still picture, flow control, the tee
// feeding a file writer and the preview at once, LPCM through private stream 1, and many
// graph start/teardown cycles.
#include <windows.h>
#include <dshow.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstring>

#include "CollectingSink.h"
#include "FilterIds.h"
#include "GraphHelpers.h"
#include "StreamFileSource.h"
#include "TestFiles.h"
#include "TestSupport.h"

using namespace graphtest;

namespace {

// {4A2286E0-7BEF-11CE-9BD9-0000E202599C}
constexpr CLSID kClsidMpegAudioDecoder = {0x4A2286E0, 0x7BEF, 0x11CE, {0x9B, 0xD9, 0x00, 0x00, 0xE2, 0x02, 0x59, 0x9C}};

class FilterGraphs : public ::testing::Test {
protected:
    static void SetUpTestSuite() { registered_ = RegisterStandIns(); }

    void SetUp() override
    {
        ASSERT_TRUE(registered_);
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                   graph_.PutVoid()), S_OK);
        graph_.As(control_);
        graph_->QueryInterface(IID_IMediaEvent, events_.PutVoid());
    }
    void TearDown() override
    {
        if (control_) control_->Stop();
        control_.Reset();
        events_.Reset();
        graph_.Reset();
        if (window_) DestroyWindow(window_);
        CoUninitialize();
    }

    // Source -> tee -> demultiplexer, with a "Video" pin mapped to 0xE0. With `seconds` (the
    // stream's length) the source delivers in real time.
    void BuildFront(const std::string& file, bool withTee = true, double seconds = 0)
    {
        bytes_ = filtertest::ReadWholeFile(StreamPath(file));
        ASSERT_FALSE(bytes_.empty()) << file;
        const double rate = seconds > 0 ? double(bytes_.size()) / seconds : 0;
        source_ = ComPtr<IBaseFilter>::Adopt(StreamFileSource::Create(StreamPath(file), 4096, rate));
        ASSERT_TRUE(source_);
        ASSERT_EQ(graph_->AddFilter(source_.Get(), L"Source"), S_OK);
        demux_ = AddFilter(graph_.Get(), testbed::kClsidMpeg2Demultiplexer, L"MPEG-2 Demultiplexer");
        ASSERT_TRUE(demux_);
        if (withTee) {
            tee_ = AddFilter(graph_.Get(), testbed::kClsidInfiniteTee, L"Infinite Pin Tee");
            ASSERT_TRUE(tee_);
            ASSERT_EQ(Connect(graph_.Get(), LastPin(source_.Get(), PINDIR_OUTPUT).Get(), tee_.Get()), S_OK);
            ASSERT_EQ(Connect(graph_.Get(), LastPin(tee_.Get(), PINDIR_OUTPUT, false).Get(), demux_.Get()), S_OK);
        } else {
            ASSERT_EQ(Connect(graph_.Get(), LastPin(source_.Get(), PINDIR_OUTPUT).Get(), demux_.Get()), S_OK);
        }
        ComPtr<IMpeg2Demultiplexer> dmx;
        ASSERT_EQ(demux_.As(dmx), S_OK);
        dshow::MediaType video = Mpeg2VideoType(352, 288, FirstSequenceHeader(bytes_));
        ASSERT_EQ(dmx->CreateOutputPin(&video, const_cast<LPWSTR>(L"Video"), videoPin_.Put()), S_OK);
        ComPtr<IMPEG2StreamIdMap> map;
        ASSERT_EQ(videoPin_->QueryInterface(IID_IMPEG2StreamIdMap, map.PutVoid()), S_OK);
        ASSERT_EQ(map->MapStreamId(0xE0, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0), S_OK);
    }

    // Decoder and video renderer behind `out`, the renderer's window inside our own window.
    // Wine's GDI video renderer, named: the default one (VMR-7) presents through Direct3D,
    // which a GDI screen capture does not see under Xvfb.
    void RenderVideo(IPin* out)
    {
        ASSERT_EQ(Connect(graph_.Get(), out, decoder_.Get()), S_OK);
        ComPtr<IBaseFilter> renderer = AddFilter(graph_.Get(), CLSID_VideoRenderer, L"Video Renderer");
        ASSERT_TRUE(renderer);
        ASSERT_EQ(Connect(graph_.Get(), LastPin(decoder_.Get(), PINDIR_OUTPUT).Get(), renderer.Get()), S_OK);
        window_ = CreateWindowExA(0, "STATIC", "preview", WS_POPUP | WS_VISIBLE, 40, 40, 352, 288,
                                  nullptr, nullptr, nullptr, nullptr);
        ComPtr<IVideoWindow> vw;
        ASSERT_EQ(graph_->QueryInterface(IID_IVideoWindow, vw.PutVoid()), S_OK);
        vw->put_Owner(reinterpret_cast<OAHWND>(window_));
        vw->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        vw->SetWindowPosition(0, 0, 352, 288);
        vw->put_Visible(OATRUE);
    }

    LONG PicturesDecoded()
    {
        ComPtr<IDecoderStillImage> still;
        LONG n = -1;
        if (SUCCEEDED(decoder_.As(still))) still->GetPicturesDecoded(&n);
        return n;
    }

    void UseDemuxClock()
    {
        ComPtr<IReferenceClock> clock;
        ASSERT_EQ(demux_.As(clock), S_OK);
        ComPtr<IMediaFilter> mf;
        ASSERT_EQ(graph_.As(mf), S_OK);
        ASSERT_EQ(mf->SetSyncSource(clock.Get()), S_OK);
    }

    static bool registered_;
    ComPtr<IGraphBuilder> graph_;
    ComPtr<IMediaControl> control_;
    ComPtr<IMediaEvent> events_;
    ComPtr<IBaseFilter> source_, tee_, demux_, decoder_;
    ComPtr<IPin> videoPin_;
    std::vector<uint8_t> bytes_;
    HWND window_ = nullptr;
};

bool FilterGraphs::registered_ = false;

// Both renderers preroll while paused, each holding its first sample until the graph runs:
// the demultiplexer must feed the audio branch while the video branch holds its picture.
TEST_F(FilterGraphs, PreviewShowsMovingPictureAndPlaysMpegAudio)
{
    ASSERT_NO_FATAL_FAILURE(BuildFront("m2_graph.mpg"));
    // The tee always keeps one free output, and it is the last one enumerated.
    ComPtr<IPin> free = LastPin(tee_.Get(), PINDIR_OUTPUT, false);
    ComPtr<IPin> peer;
    EXPECT_EQ(free->ConnectedTo(peer.Put()), VFW_E_NOT_CONNECTED);

    ComPtr<IMpeg2Demultiplexer> dmx;
    demux_.As(dmx);
    dshow::MediaType audio = MpegAudioType(48000, 192000);
    ComPtr<IPin> audioPin;
    ASSERT_EQ(dmx->CreateOutputPin(&audio, const_cast<LPWSTR>(L"Audio"), audioPin.Put()), S_OK);
    ComPtr<IMPEG2StreamIdMap> map;
    audioPin->QueryInterface(IID_IMPEG2StreamIdMap, map.PutVoid());
    ASSERT_EQ(map->MapStreamId(0xC0, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0), S_OK);
    ComPtr<IBaseFilter> audioDecoder = AddFilter(graph_.Get(), kClsidMpegAudioDecoder, L"MS Audio Decoder");
    ASSERT_TRUE(audioDecoder);
    ASSERT_EQ(Connect(graph_.Get(), audioPin.Get(), audioDecoder.Get()), S_OK);
    ASSERT_EQ(graph_->Render(LastPin(audioDecoder.Get(), PINDIR_OUTPUT).Get()), S_OK);

    decoder_ = AddFilter(graph_.Get(), testbed::kClsidCorvaleDecoder, L"Corvale MPEG 1 n 2 Decoder");
    ASSERT_TRUE(decoder_);
    ASSERT_NO_FATAL_FAILURE(RenderVideo(videoPin_.Get()));
    ASSERT_NO_FATAL_FAILURE(UseDemuxClock());

    // Paused, the graph is ready only once every renderer holds a sample: the audio
    // renderer one that Wine's MPEG audio decoder made, the video renderer a picture.
    ASSERT_TRUE(SUCCEEDED(control_->Pause()));
    OAFilterState state = State_Stopped;
    EXPECT_EQ(control_->GetState(10000, &state), S_OK);
    EXPECT_EQ(state, State_Paused);
    ASSERT_TRUE(SUCCEEDED(control_->Run()));
    testsupport::PumpMessages(1500);
    const testsupport::ScreenImage first = testsupport::CaptureWindow(window_);
    testsupport::PumpMessages(800);
    const testsupport::ScreenImage second = testsupport::CaptureWindow(window_);
    first.SaveBmp(testsupport::OutputDir() + "preview-1.bmp");
    second.SaveBmp(testsupport::OutputDir() + "preview-2.bmp");
    EXPECT_GT(first.DistinctColours(), 20u);  // the test picture's bars, not a blank window
    EXPECT_NE(first.bgr, second.bgr);         // and it moves

    // Both renderers reach the end: the audio went through Wine's decoder and renderer.
    long code = 0;
    EXPECT_EQ(events_->WaitForCompletion(15000, &code), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    EXPECT_GE(PicturesDecoded(), 95);
}

TEST_F(FilterGraphs, StillInterfacesReturnThePicture)
{
    ASSERT_NO_FATAL_FAILURE(BuildFront("m2_graph.mpg", false));
    decoder_ = AddFilter(graph_.Get(), testbed::kClsidDecoderB, L"Decoder");
    ASSERT_TRUE(decoder_);
    ASSERT_NO_FATAL_FAILURE(RenderVideo(videoPin_.Get()));
    ComPtr<IDecoderStillImage> still;
    ASSERT_EQ(decoder_.As(still), S_OK);
    LONG size = 0;
    EXPECT_EQ(still->GetCurrentImage(&size, nullptr), E_FAIL);  // nothing decoded yet
    ASSERT_TRUE(SUCCEEDED(control_->Run()));
    testsupport::PumpMessages(10000, [&] { return PicturesDecoded() > 5; });
    for (const IID* iid : {&__uuidof(IDecoderStillImage), &kIidDecoderStillImage2}) {
        ComPtr<IDecoderStillImage> s;
        ASSERT_EQ(decoder_->QueryInterface(*iid, s.PutVoid()), S_OK);
        size = 0;
        ASSERT_EQ(s->GetCurrentImage(&size, nullptr), S_OK);
        EXPECT_EQ(size, LONG(sizeof(BITMAPINFOHEADER) + 352 * 3 * 288));
        std::vector<BYTE> dib(static_cast<size_t>(size));
        LONG small = size - 1;
        EXPECT_EQ(s->GetCurrentImage(&small, dib.data()), E_OUTOFMEMORY);
        ASSERT_EQ(s->GetCurrentImage(&size, dib.data()), S_OK);
        const auto* bih = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
        EXPECT_EQ(bih->biWidth, 352);
        EXPECT_EQ(bih->biHeight, 288);
        EXPECT_EQ(bih->biBitCount, 24);
        // The test picture's top row holds its colour bars: white-ish, yellow, cyan... read
        // from the bottom-up DIB, the last stored row is the top of the picture.
        const BYTE* top = dib.data() + sizeof(BITMAPINFOHEADER) + size_t(287) * 352 * 3;
        size_t bright = 0;
        for (int x = 0; x < 352; ++x) bright += top[x * 3] + top[x * 3 + 1] + top[x * 3 + 2] > 300;
        EXPECT_GT(bright, 100u);
        // Saved as the program saves a snapshot, for looking at.
        BITMAPFILEHEADER fh = {0x4D42, DWORD(size + 14), 0, 0, 54};
        if (FILE* f = std::fopen((testsupport::OutputDir() + "still.bmp").c_str(), "wb")) {
            std::fwrite(&fh, 14, 1, f);
            std::fwrite(dib.data(), 1, dib.size(), f);
            std::fclose(f);
        }
    }
    ComPtr<IDecoderOption> option;
    ASSERT_EQ(decoder_.As(option), S_OK);
    EXPECT_EQ(option->SetOption(1), S_OK);
    DWORD value = 0;
    EXPECT_EQ(option->GetOption(&value), S_OK);
    EXPECT_EQ(value, 1u);
}

// The source plays in real time, as the device does: held samples are dropped, so a faster
// source would be at its end before the preview is switched on again.
TEST_F(FilterGraphs, FlowControlStopsAndResumesVideo)
{
    ASSERT_NO_FATAL_FAILURE(BuildFront("m2_graph.mpg", true, 4.0));
    ComPtr<IBaseFilter> flow = AddFilter(graph_.Get(), testbed::kClsidFlowControl, L"Video Flow Control");
    decoder_ = AddFilter(graph_.Get(), testbed::kClsidDecoderC, L"Decoder");
    ASSERT_TRUE(flow && decoder_);
    ASSERT_EQ(Connect(graph_.Get(), videoPin_.Get(), flow.Get()), S_OK);
    ASSERT_NO_FATAL_FAILURE(RenderVideo(LastPin(flow.Get(), PINDIR_OUTPUT).Get()));
    ComPtr<IFlowControl> fc;
    ASSERT_EQ(flow.As(fc), S_OK);
    ASSERT_NO_FATAL_FAILURE(UseDemuxClock());
    ASSERT_TRUE(SUCCEEDED(control_->Run()));
    ASSERT_TRUE(testsupport::PumpMessages(10000, [&] { return PicturesDecoded() > 10; }));

    // As the capture engine switches the preview off: flush, mode, flush.
    BYTE mode = 0;
    ASSERT_EQ(fc->GetMode(&mode), S_OK);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(fc->Flush(), S_OK);
    EXPECT_EQ(fc->SetMode(0), S_OK);
    EXPECT_EQ(fc->Flush(), S_OK);
    testsupport::PumpMessages(200);
    const LONG held = PicturesDecoded();
    testsupport::PumpMessages(800);
    EXPECT_LE(PicturesDecoded() - held, 1);

    EXPECT_EQ(fc->SetMode(1), S_OK);
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return PicturesDecoded() > held + 5; }));
}

TEST_F(FilterGraphs, TeeFeedsFileWriterAndPreviewAtOnce)
{
    ASSERT_NO_FATAL_FAILURE(BuildFront("m2_graph.mpg"));
    decoder_ = AddFilter(graph_.Get(), testbed::kClsidCorvaleDecoder, L"Decoder");
    ASSERT_TRUE(decoder_);
    ASSERT_NO_FATAL_FAILURE(RenderVideo(videoPin_.Get()));
    ComPtr<IBaseFilter> writer = AddFilter(graph_.Get(), CLSID_FileWriter, L"FileWriter");
    ASSERT_TRUE(writer);
    ComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(writer.As(sink), S_OK);
    const std::string path = testsupport::OutputDir() + "recorded.mpg";
    DeleteFileA(path.c_str());
    std::wstring wide(path.begin(), path.end());
    dshow::MediaType stream(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM);
    ASSERT_EQ(sink->SetFileName(wide.c_str(), &stream), S_OK);
    ASSERT_EQ(Connect(graph_.Get(), LastPin(tee_.Get(), PINDIR_OUTPUT).Get(), writer.Get()), S_OK);

    ASSERT_TRUE(SUCCEEDED(control_->Run()));
    long code = 0;
    EXPECT_EQ(events_->WaitForCompletion(20000, &code), S_OK);
    control_->Stop();
    EXPECT_GE(PicturesDecoded(), 95);
    sink.Reset();
    graph_->RemoveFilter(writer.Get());
    writer.Reset();  // the writer closes its file
    EXPECT_EQ(filtertest::ReadWholeFile(path), bytes_);  // the recording is the stream, byte for byte
}

TEST_F(FilterGraphs, LpcmMapsThroughPrivateStream1)
{
    ASSERT_NO_FATAL_FAILURE(BuildFront("m2_lpcm.mpg", false));
    ComPtr<IMpeg2Demultiplexer> dmx;
    demux_.As(dmx);
    dshow::MediaType pcm = PcmType(48000, 2);
    ComPtr<IPin> audioPin;
    ASSERT_EQ(dmx->CreateOutputPin(&pcm, const_cast<LPWSTR>(L"Audio"), audioPin.Put()), S_OK);
    ComPtr<IMPEG2StreamIdMap> map;
    audioPin->QueryInterface(IID_IMPEG2StreamIdMap, map.PutVoid());
    ASSERT_EQ(map->MapStreamId(0xBD, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0xA0, 0), S_OK);
    ComPtr<IEnumStreamIdMap> maps;
    ASSERT_EQ(map->EnumStreamIdMap(maps.Put()), S_OK);
    STREAM_ID_MAP entry = {};
    ULONG got = 0;
    ASSERT_EQ(maps->Next(1, &entry, &got), S_OK);
    EXPECT_EQ(entry.stream_id, 0xBDu);
    EXPECT_EQ(entry.ulSubstreamFilterValue, 0xA0u);

    auto* collector = CollectingSink::Create(MEDIATYPE_Audio);
    ComPtr<IBaseFilter> sinkFilter = ComPtr<IBaseFilter>::Adopt(collector);
    ASSERT_EQ(graph_->AddFilter(sinkFilter.Get(), L"Collector"), S_OK);
    ASSERT_EQ(Connect(graph_.Get(), audioPin.Get(), sinkFilter.Get()), S_OK);
    ComPtr<IMediaFilter> mf;
    graph_.As(mf);
    mf->SetSyncSource(nullptr);  // as fast as it comes
    ASSERT_TRUE(SUCCEEDED(control_->Run()));
    long code = 0;
    EXPECT_EQ(events_->WaitForCompletion(20000, &code), S_OK);
    control_->Stop();
    const std::vector<uint8_t> expected = filtertest::ReadWholeFile(StreamPath("m2_lpcm.pcm"));
    ASSERT_GT(expected.size(), 48000u * 4);
    EXPECT_EQ(collector->Bytes(), expected);  // little-endian samples, no sub-stream headers
}

TEST_F(FilterGraphs, ManyStartsAndTeardownsLeaveNothingBehind)
{
    PROCESS_MEMORY_COUNTERS before = {}, after = {};
    auto cycle = [&] {
        ComPtr<IGraphBuilder> graph;
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()), S_OK);
        graph_ = graph;
        ASSERT_NO_FATAL_FAILURE(BuildFront("m2_intra.mpg"));
        ComPtr<IBaseFilter> flow = AddFilter(graph_.Get(), testbed::kClsidFlowControl, L"Video Flow Control");
        decoder_ = AddFilter(graph_.Get(), testbed::kClsidCorvaleDecoder, L"Decoder");
        ComPtr<IBaseFilter> sink = ComPtr<IBaseFilter>::Adopt(CollectingSink::Create(MEDIATYPE_Video));
        graph_->AddFilter(sink.Get(), L"Sink");
        ASSERT_EQ(Connect(graph_.Get(), videoPin_.Get(), decoder_.Get()), S_OK);
        ASSERT_EQ(Connect(graph_.Get(), LastPin(decoder_.Get(), PINDIR_OUTPUT).Get(), flow.Get()), S_OK);
        ASSERT_EQ(Connect(graph_.Get(), LastPin(flow.Get(), PINDIR_OUTPUT).Get(), sink.Get()), S_OK);
        // The audio path of the preview: MPEG audio through Wine's decoder to its renderer.
        ComPtr<IMpeg2Demultiplexer> dmx;
        ASSERT_EQ(demux_.As(dmx), S_OK);
        dshow::MediaType audio = MpegAudioType(48000, 192000);
        ComPtr<IPin> audioPin;
        ASSERT_EQ(dmx->CreateOutputPin(&audio, const_cast<LPWSTR>(L"Audio"), audioPin.Put()), S_OK);
        ComPtr<IMPEG2StreamIdMap> map;
        ASSERT_EQ(audioPin->QueryInterface(IID_IMPEG2StreamIdMap, map.PutVoid()), S_OK);
        ASSERT_EQ(map->MapStreamId(0xC0, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0), S_OK);
        ComPtr<IBaseFilter> audioDecoder = AddFilter(graph_.Get(), kClsidMpegAudioDecoder, L"MS Audio Decoder");
        ASSERT_TRUE(audioDecoder);
        ASSERT_EQ(Connect(graph_.Get(), audioPin.Get(), audioDecoder.Get()), S_OK);
        ASSERT_EQ(graph_->Render(LastPin(audioDecoder.Get(), PINDIR_OUTPUT).Get()), S_OK);
        ComPtr<IMediaControl> mc;
        graph_.As(mc);
        ComPtr<IMediaFilter> mf;
        graph_.As(mf);
        mf->SetSyncSource(nullptr);
        mc->Run();
        testsupport::PumpMessages(5);
        mc->Stop();
        source_.Reset(); tee_.Reset(); demux_.Reset(); decoder_.Reset(); videoPin_.Reset();
        graph_.Reset();
    };
    const int kCycles = 200;
    for (int i = 0; i < kCycles; ++i) {
        if (i == 20) GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
        cycle();
        if (HasFatalFailure()) return;
    }
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    const double growthMb = (double(after.PagefileUsage) - double(before.PagefileUsage)) / 1048576.0;
    std::printf("%d graph cycles: private memory %.1f MB after 20, %.1f MB at the end (%+.1f MB)\n",
                kCycles, before.PagefileUsage / 1048576.0, after.PagefileUsage / 1048576.0, growthMb);
    EXPECT_EQ(LiveObjectsIn(L"TestbedFilters.ax"), 0);
    // Each cycle allocates megabytes of sample buffers; a leak of one cycle's worth would
    // show as hundreds of megabytes.
    EXPECT_LT(growthMb, 24.0);
}

}  // namespace
