#pragma once
// The fixture of the graph tests: a graph with the stand-ins registered, the stream source,
// tee and demultiplexer in front, and the decoder and renderers behind.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FilterIds.h"
#include "GraphHelpers.h"
#include "StreamFileSource.h"
#include "TestFiles.h"
#include "TestSupport.h"

namespace graphtest {

// {4A2286E0-7BEF-11CE-9BD9-0000E202599C}
inline constexpr CLSID kClsidMpegAudioDecoder = {0x4A2286E0, 0x7BEF, 0x11CE, {0x9B, 0xD9, 0x00, 0x00, 0xE2, 0x02, 0x59, 0x9C}};

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

    // An "Audio" output for MPEG audio, mapped to stream 0xC0.
    void AddMpegAudioOutput(ComPtr<IPin>& pin)
    {
        ComPtr<IMpeg2Demultiplexer> dmx;
        ASSERT_EQ(demux_.As(dmx), S_OK);
        dshow::MediaType audio = MpegAudioType(48000, 192000);
        ASSERT_EQ(dmx->CreateOutputPin(&audio, const_cast<LPWSTR>(L"Audio"), pin.Put()), S_OK);
        ComPtr<IMPEG2StreamIdMap> map;
        ASSERT_EQ(pin->QueryInterface(IID_IMPEG2StreamIdMap, map.PutVoid()), S_OK);
        ASSERT_EQ(map->MapStreamId(0xC0, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0), S_OK);
    }

    // An MPEG audio output through Wine's MPEG audio decoder to the default audio renderer.
    void RenderMpegAudio()
    {
        ComPtr<IPin> audioPin;
        ASSERT_NO_FATAL_FAILURE(AddMpegAudioOutput(audioPin));
        ComPtr<IBaseFilter> audioDecoder = AddFilter(graph_.Get(), kClsidMpegAudioDecoder, L"MS Audio Decoder");
        ASSERT_TRUE(audioDecoder);
        ASSERT_EQ(Connect(graph_.Get(), audioPin.Get(), audioDecoder.Get()), S_OK);
        ASSERT_EQ(graph_->Render(LastPin(audioDecoder.Get(), PINDIR_OUTPUT).Get()), S_OK);
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

    static inline bool registered_ = false;
    ComPtr<IGraphBuilder> graph_;
    ComPtr<IMediaControl> control_;
    ComPtr<IMediaEvent> events_;
    ComPtr<IBaseFilter> source_, tee_, demux_, decoder_;
    ComPtr<IPin> videoPin_;
    std::vector<uint8_t> bytes_;
    HWND window_ = nullptr;
};

}  // namespace graphtest
