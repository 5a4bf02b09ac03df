// The vendor MPEG-1 demultiplexer as the MPEG-1 capture layout uses it: the virtual card's
// system stream in, its own audio output (typed through its configuration interface) into the
// system MPEG audio decoder or, for LPCM, straight on, and "Corvale Wav Dest" into the File
// Writer. The WAV files are listed for ffprobe (check_wavs.sh).
#include "CardBinding.h"
#include "CardControl.h"
#include "CardInstaller.h"
#include "EncoderState.h"
#include "FilterIds.h"
#include "TestSupport.h"

#include <win/ComPtr.h>

#include <windows.h>
#include <dshow.h>
#include <mmreg.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using win::ComPtr;
using vcap::CardRecord;
using vcap::FilterRole;

namespace {

// The card's encoder property set: capabilities (0) and the parameter block (2).
const GUID kEncoderPropertySet = {0xC7486006, 0x6674, 0x4542, {0x9E, 0x3C, 0xA9, 0x35, 0xB9, 0x8C, 0x37, 0xB3}};
const CLSID kClsidMpegAudioDecoder = {0x4A2286E0, 0x7BEF, 0x11CE, {0x9B, 0xD9, 0x00, 0x00, 0xE2, 0x02, 0x59, 0x9C}};
const CLSID kClsidNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

ComPtr<IPin> PinNamed(IBaseFilter* f, const wchar_t* name)
{
    ComPtr<IPin> p;
    f->FindPin(name, p.Put());
    return p;
}

ComPtr<IPin> FirstPin(IBaseFilter* f, PIN_DIRECTION dir)
{
    ComPtr<IEnumPins> e;
    f->EnumPins(e.Put());
    ComPtr<IPin> p;
    while (e->Next(1, p.Put(), nullptr) == S_OK) {
        PIN_DIRECTION d;
        if (SUCCEEDED(p->QueryDirection(&d)) && d == dir)
            return p;
    }
    return {};
}

ComPtr<IBaseFilter> Make(const CLSID& clsid)
{
    ComPtr<IBaseFilter> f;
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, f.PutVoid());
    return f;
}

WAVEFORMATEX Pcm(DWORD rate)
{
    WAVEFORMATEX wf{};
    wf.wFormatTag = WAVE_FORMAT_PCM;
    wf.nChannels = 2;
    wf.nSamplesPerSec = rate;
    wf.wBitsPerSample = 16;
    wf.nBlockAlign = 4;
    wf.nAvgBytesPerSec = rate * 4;
    return wf;
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t Read32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

class VendorDemuxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(testsupport::RegisterTestBedFilters());
        manifest_.open(testsupport::OutputDir() + "wavs.txt", std::ios::binary | std::ios::trunc);
    }
    static void TearDownTestSuite()
    {
        manifest_.close();
        CoUninitialize();
    }
    void SetUp() override
    {
        RemoveAll();
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph_.PutVoid()), S_OK);
        demux_ = Make(testbed::kClsidVendorDemultiplexer);
        ASSERT_TRUE(demux_);
        ASSERT_EQ(graph_->AddFilter(demux_.Get(), L"Push Mode Mpeg1 Dmux"), S_OK);
        ASSERT_EQ(demux_->QueryInterface(__uuidof(IDemuxOutputConfig), config_.PutVoid()), S_OK);
    }
    void TearDown() override
    {
        ComPtr<IMediaControl> mc;
        if (graph_ && SUCCEEDED(graph_.As(mc)))
            mc->Stop();
        config_.Reset();
        demux_.Reset();
        graph_.Reset();
        RemoveAll();
    }
    static void RemoveAll()
    {
        std::wstring error;
        for (const CardRecord& c : vcap::LoadAllCards())
            vcap::UninstallCard(c.number, error);
    }

    // A type-1 card recording MPEG-1 with the given audio, its stream into the demultiplexer
    // and stopping by itself after `seconds`.
    void AddCard(const vcap::EncoderParams& params, double seconds)
    {
        CardRecord card;
        std::wstring error;
        ASSERT_TRUE(vcap::InstallCard(1, vcap::Personality{}, card, error));
        ComPtr<IBaseFilter> encoder = vcap::BindCardFilter(card, FilterRole::Encoder);
        ASSERT_TRUE(encoder);
        ComPtr<IKsPropertySet> ks;
        ASSERT_EQ(encoder.As(ks), S_OK);
        uint32_t mpeg1[2] = {1, 1};
        ASSERT_EQ(ks->Set(kEncoderPropertySet, 1, nullptr, 0, mpeg1, sizeof mpeg1), S_OK);
        ASSERT_EQ(ks->Set(kEncoderPropertySet, 2, nullptr, 0, const_cast<vcap::EncoderParams*>(&params), 44), S_OK);
        ASSERT_EQ(graph_->AddFilter(encoder.Get(), L"Encoder"), S_OK);
        ComPtr<IPin> out = FirstPin(encoder.Get(), PINDIR_OUTPUT);
        ASSERT_EQ(graph_->ConnectDirect(out.Get(), FirstPin(demux_.Get(), PINDIR_INPUT).Get(), nullptr), S_OK);
        ComPtr<IAMStreamControl> control;
        ASSERT_EQ(out.As(control), S_OK);
        const REFERENCE_TIME stop = static_cast<REFERENCE_TIME>(seconds * 10000000);
        ASSERT_EQ(control->StopAt(&stop, FALSE, 0), S_OK);
    }

    // `from` -> "Corvale Wav Dest" -> File Writer on `name`.wav.
    void AddWavSink(IPin* from, const std::string& name)
    {
        file_ = testsupport::OutputDir() + name + ".wav";
        DeleteFileA(file_.c_str());
        ComPtr<IBaseFilter> wav = Make(testbed::kClsidWavDest);
        ComPtr<IBaseFilter> writer = Make(CLSID_FileWriter);
        ASSERT_TRUE(wav && writer);
        ASSERT_EQ(graph_->AddFilter(wav.Get(), L"Corvale Wav Dest"), S_OK);
        ASSERT_EQ(graph_->AddFilter(writer.Get(), L"FileWriter Wave"), S_OK);
        ComPtr<IFileSinkFilter> sink;
        ASSERT_EQ(writer.As(sink), S_OK);
        const std::wstring wide(file_.begin(), file_.end());
        ASSERT_EQ(sink->SetFileName(wide.c_str(), nullptr), S_OK);
        ASSERT_EQ(graph_->ConnectDirect(from, FirstPin(wav.Get(), PINDIR_INPUT).Get(), nullptr), S_OK);
        ASSERT_EQ(graph_->ConnectDirect(FirstPin(wav.Get(), PINDIR_OUTPUT).Get(), FirstPin(writer.Get(), PINDIR_INPUT).Get(), nullptr), S_OK);
    }

    void RunToCompletion()
    {
        ComPtr<IMediaControl> mc;
        ComPtr<IMediaEvent> me;
        ASSERT_EQ(graph_.As(mc), S_OK);
        ASSERT_EQ(graph_->QueryInterface(IID_IMediaEvent, me.PutVoid()), S_OK);
        ASSERT_TRUE(SUCCEEDED(mc->Run()));
        long code = 0;
        EXPECT_EQ(me->WaitForCompletion(30000, &code), S_OK);
        EXPECT_EQ(code, EC_COMPLETE);
        mc->Stop();
    }

    // The WAV's seconds of audio, after checking its header against its length, and the
    // loudest sample (the card's tone is there, not silence).
    double CheckWav(DWORD rate, const char* name, int* peak)
    {
        const std::vector<uint8_t> f = ReadFile(file_);
        EXPECT_GT(f.size(), 44u);
        if (f.size() <= 44)
            return 0;
        EXPECT_EQ(Read32(f, 4), f.size() - 8);
        EXPECT_EQ(Read32(f, 24), rate);
        EXPECT_EQ(Read32(f, 40), f.size() - 44);
        *peak = 0;
        for (size_t i = 44; i + 1 < f.size(); i += 2) {
            const int v = static_cast<int16_t>(f[i] | (f[i + 1] << 8));
            *peak = std::max(*peak, v < 0 ? -v : v);
        }
        const double seconds = (f.size() - 44) / (rate * 4.0);
        char line[96];
        std::snprintf(line, sizeof line, "%s pcm_s16le %lu 2 %.4f\n", name, static_cast<unsigned long>(rate), seconds);
        manifest_ << line;
        return seconds;
    }

    static std::ofstream manifest_;
    ComPtr<IGraphBuilder> graph_;
    ComPtr<IBaseFilter> demux_;
    ComPtr<IDemuxOutputConfig> config_;
    std::string file_;
};

std::ofstream VendorDemuxTest::manifest_;

}  // namespace

TEST_F(VendorDemuxTest, ConfigurationInterfaceTypesTheVideoAndAudioOutputs)
{
    ComPtr<IPin> audio = PinNamed(demux_.Get(), L"Audio Out");
    ASSERT_TRUE(audio) << "the filter's own audio output";
    ASSERT_TRUE(PinNamed(demux_.Get(), L"Stream")) << "and the stream output for recording";
    AM_MEDIA_TYPE mt{};
    ASSERT_EQ(config_->GetOutputType(1, &mt), S_OK);
    EXPECT_EQ(mt.subtype, MEDIASUBTYPE_MPEG1AudioPayload) << "MPEG audio until told otherwise";
    ASSERT_GE(mt.cbFormat, sizeof(MPEG1WAVEFORMAT));
    EXPECT_EQ(reinterpret_cast<WAVEFORMATEX*>(mt.pbFormat)->wFormatTag, WAVE_FORMAT_MPEG);
    CoTaskMemFree(mt.pbFormat);

    EXPECT_EQ(config_->GetOutputType(0, &mt), VFW_E_NOT_FOUND) << "no video output yet";
    EXPECT_EQ(config_->SetOutputType(2, &mt), E_INVALIDARG);
    EXPECT_EQ(config_->SetOutputType(1, nullptr), E_POINTER);

    // The program's "Video" pin: made through IMpeg2Demultiplexer, mapped to 0xE0, typed here too.
    ComPtr<IMpeg2Demultiplexer> demux;
    ASSERT_EQ(demux_->QueryInterface(IID_IMpeg2Demultiplexer, demux.PutVoid()), S_OK);
    AM_MEDIA_TYPE video{};
    video.majortype = MEDIATYPE_Video;
    video.subtype = MEDIASUBTYPE_MPEG2_VIDEO;
    ComPtr<IPin> videoPin;
    ASSERT_EQ(demux->CreateOutputPin(&video, const_cast<LPWSTR>(L"Video"), videoPin.Put()), S_OK);
    EXPECT_EQ(demux->CreateOutputPin(&video, const_cast<LPWSTR>(L"Audio Out"), ComPtr<IPin>().Put()), E_INVALIDARG)
        << "the name is taken by the filter's own output";
    EXPECT_EQ(config_->SetOutputType(0, &video), VFW_E_NOT_FOUND) << "not mapped to the video stream yet";
    ComPtr<IMPEG2StreamIdMap> map;
    ASSERT_EQ(videoPin->QueryInterface(IID_IMPEG2StreamIdMap, map.PutVoid()), S_OK);
    ASSERT_EQ(map->MapStreamId(0xE0, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0), S_OK);
    video.subtype = MEDIASUBTYPE_MPEG1Payload;
    video.formattype = FORMAT_MPEGVideo;
    ASSERT_EQ(config_->SetOutputType(0, &video), S_OK);
    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(videoPin->EnumMediaTypes(types.Put()), S_OK);
    AM_MEDIA_TYPE* offered = nullptr;
    ASSERT_EQ(types->Next(1, &offered, nullptr), S_OK);
    EXPECT_EQ(offered->subtype, MEDIASUBTYPE_MPEG1Payload);
    CoTaskMemFree(offered->pbFormat);
    CoTaskMemFree(offered);
    EXPECT_EQ(config_->SetOutputType(1, &video), VFW_E_TYPE_NOT_ACCEPTED) << "video is no audio type";
    AM_MEDIA_TYPE audioType{};
    audioType.majortype = MEDIATYPE_Audio;
    audioType.subtype = MEDIASUBTYPE_MPEG1AudioPayload;
    EXPECT_EQ(config_->SetOutputType(0, &audioType), VFW_E_TYPE_NOT_ACCEPTED);

    // PCM moves the audio output to the LPCM of private stream 1.
    WAVEFORMATEX wf = Pcm(48000);
    AM_MEDIA_TYPE pcm{};
    pcm.majortype = MEDIATYPE_Audio;
    pcm.subtype = MEDIASUBTYPE_PCM;
    pcm.formattype = FORMAT_WaveFormatEx;
    pcm.cbFormat = sizeof wf;
    pcm.pbFormat = reinterpret_cast<BYTE*>(&wf);
    ASSERT_EQ(config_->SetOutputType(1, &pcm), S_OK);
    ComPtr<IMPEG2StreamIdMap> audioMap;
    ASSERT_EQ(audio->QueryInterface(IID_IMPEG2StreamIdMap, audioMap.PutVoid()), S_OK);
    ComPtr<IEnumStreamIdMap> maps;
    ASSERT_EQ(audioMap->EnumStreamIdMap(maps.Put()), S_OK);
    STREAM_ID_MAP entry{};
    ULONG got = 0;
    ASSERT_EQ(maps->Next(1, &entry, &got), S_OK);
    EXPECT_EQ(entry.stream_id, 0xBDu);
    EXPECT_EQ(entry.ulSubstreamFilterValue, 0xA0u);
    EXPECT_NE(maps->Next(1, &entry, &got), S_OK) << "and only there";
    wf.wBitsPerSample = 8;
    EXPECT_EQ(config_->SetOutputType(1, &pcm), VFW_E_TYPE_NOT_ACCEPTED) << "the stream's LPCM is 16-bit";

    // Connected outputs keep their type.
    ComPtr<IBaseFilter> sink = Make(kClsidNullRenderer);
    ASSERT_TRUE(sink);
    ASSERT_EQ(graph_->AddFilter(sink.Get(), L"Sink"), S_OK);
    ASSERT_EQ(graph_->ConnectDirect(audio.Get(), FirstPin(sink.Get(), PINDIR_INPUT).Get(), nullptr), S_OK);
    wf.wBitsPerSample = 16;
    EXPECT_EQ(config_->SetOutputType(1, &pcm), VFW_E_ALREADY_CONNECTED);
}

TEST_F(VendorDemuxTest, MpegAudioOutputThroughTheDecoderIntoAWavFile)
{
    AddCard({352, 288, 1150000, 15, 3, 0, 1150000, 0, 44100, 224, 0}, 3.0);
    ComPtr<IBaseFilter> decoder = Make(kClsidMpegAudioDecoder);
    ASSERT_TRUE(decoder) << "the system's MPEG audio decoder";
    ASSERT_EQ(graph_->AddFilter(decoder.Get(), L"MS Audio Decoder"), S_OK);
    ASSERT_EQ(graph_->ConnectDirect(PinNamed(demux_.Get(), L"Audio Out").Get(), FirstPin(decoder.Get(), PINDIR_INPUT).Get(), nullptr), S_OK);
    AddWavSink(FirstPin(decoder.Get(), PINDIR_OUTPUT).Get(), "vendor_mp2_44k");
    RunToCompletion();
    int peak = 0;
    const double seconds = CheckWav(44100, "vendor_mp2_44k", &peak);
    EXPECT_GT(seconds, 2.5);
    EXPECT_LT(seconds, 3.5);
    EXPECT_GT(peak, 1000) << "the card's tone, decoded";
}

TEST_F(VendorDemuxTest, LpcmAudioOutputStraightIntoAWavFile)
{
    AddCard({352, 288, 1150000, 15, 3, 0, 1150000, 1, 48000, 224, 0}, 2.0);
    WAVEFORMATEX wf = Pcm(48000);
    AM_MEDIA_TYPE pcm{};
    pcm.majortype = MEDIATYPE_Audio;
    pcm.subtype = MEDIASUBTYPE_PCM;
    pcm.formattype = FORMAT_WaveFormatEx;
    pcm.cbFormat = sizeof wf;
    pcm.pbFormat = reinterpret_cast<BYTE*>(&wf);
    ASSERT_EQ(config_->SetOutputType(1, &pcm), S_OK);
    AddWavSink(PinNamed(demux_.Get(), L"Audio Out").Get(), "vendor_lpcm_48k");
    RunToCompletion();
    int peak = 0;
    const double seconds = CheckWav(48000, "vendor_lpcm_48k", &peak);
    EXPECT_GT(seconds, 1.5);
    EXPECT_LT(seconds, 2.5);
    EXPECT_GT(peak, 1000) << "the card's tone, as little-endian PCM";
}
