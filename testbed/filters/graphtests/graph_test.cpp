// The stand-ins in real Wine graphs: an encoder's program stream through the infinite tee and
// the demultiplexer into the decoder and Wine's video renderer (screenshots), MPEG audio into
// Wine's MPEG audio decoder and audio renderer, the still picture, flow control, the tee
// feeding a file writer and the preview at once, LPCM through private stream 1.
#include <cstdio>

#include "CollectingSink.h"
#include "GraphFixture.h"

using namespace graphtest;

namespace {

// Both renderers preroll while paused, each holding its first sample until the graph runs:
// the demultiplexer must feed the audio branch while the video branch holds its picture.
TEST_F(FilterGraphs, PreviewShowsMovingPictureAndPlaysMpegAudio)
{
    ASSERT_NO_FATAL_FAILURE(BuildFront("m2_graph.mpg"));
    // The tee always keeps one free output, and it is the last one enumerated.
    ComPtr<IPin> free = LastPin(tee_.Get(), PINDIR_OUTPUT, false);
    ComPtr<IPin> peer;
    EXPECT_EQ(free->ConnectedTo(peer.Put()), VFW_E_NOT_CONNECTED);

    ASSERT_NO_FATAL_FAILURE(RenderMpegAudio());

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
    // The 4-second stream is handed over in 8 s, so a slow start under load still leaves
    // stream to come when the flow resumes.
    ASSERT_NO_FATAL_FAILURE(BuildFront("m2_graph.mpg", true, 8.0));
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

}  // namespace
