// The capture chip's outputs to the encoder chip, found and connected the way the program's
// capture graph does: by name, by media type, and pin to pin onto the stream filter's inputs.
#include "CardInstaller.h"
#include "CardTestSupport.h"
#include "EncoderState.h"
#include "KsPropertySets.h"

#include <win/ComPtr.h>

#include <mmreg.h>

#include <gtest/gtest.h>

using win::ComPtr;
using vcap::CardRecord;
using vcap::FilterRole;

namespace {

ComPtr<IPin> PinNamed(IBaseFilter* f, const wchar_t* name)
{
    ComPtr<IPin> p;
    f->FindPin(name, p.Put());
    return p;
}

bool Offers(IPin* pin, const GUID& major)
{
    ComPtr<IEnumMediaTypes> e;
    if (FAILED(pin->EnumMediaTypes(e.Put())))
        return false;
    AM_MEDIA_TYPE* mt = nullptr;
    bool found = false;
    while (!found && e->Next(1, &mt, nullptr) == S_OK) {
        found = mt->majortype == major;
        if (mt->pbFormat)
            CoTaskMemFree(mt->pbFormat);
        CoTaskMemFree(mt);
    }
    return found;
}

void FreeType(AM_MEDIA_TYPE* mt)
{
    if (mt && mt->pbFormat)
        CoTaskMemFree(mt->pbFormat);
    CoTaskMemFree(mt);
}

class VirtualPinsTest : public cardtest::CardTest {};

}  // namespace

TEST_F(VirtualPinsTest, AudioCapabilitiesAndTheSamplingRate)
{
    const CardRecord card = Install(1, 1);
    ComPtr<IBaseFilter> capture = Bind(card, FilterRole::Capture);
    ASSERT_TRUE(capture);
    ASSERT_TRUE(PinNamed(capture.Get(), L"Virtual Video Out")) << "the program's DirectX 9 probe looks for it";
    ComPtr<IPin> audio = PinNamed(capture.Get(), L"Virtual Audio Out");
    ASSERT_TRUE(audio);
    ComPtr<IAMStreamConfig> config;
    ASSERT_EQ(audio->QueryInterface(IID_IAMStreamConfig, config.PutVoid()), S_OK);

    int count = 0, size = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(&count, &size), S_OK);
    ASSERT_EQ(count, 1);
    ASSERT_EQ(size, int(sizeof(AUDIO_STREAM_CONFIG_CAPS)));
    AUDIO_STREAM_CONFIG_CAPS caps{};
    AM_MEDIA_TYPE* mt = nullptr;
    ASSERT_EQ(config->GetStreamCaps(0, &mt, reinterpret_cast<BYTE*>(&caps)), S_OK);
    EXPECT_EQ(caps.MinimumSampleFrequency, 32000u);
    EXPECT_EQ(caps.MaximumSampleFrequency, 48000u);
    EXPECT_EQ(mt->formattype, FORMAT_WaveFormatEx);
    FreeType(mt);
    mt = nullptr;
    EXPECT_EQ(config->GetStreamCaps(1, &mt, reinterpret_cast<BYTE*>(&caps)), S_FALSE);

    // A rate set on the pin is the encoder's: the parameter block reports it.
    ASSERT_EQ(config->GetFormat(&mt), S_OK);
    ASSERT_EQ(mt->formattype, FORMAT_WaveFormatEx);
    auto* w = reinterpret_cast<WAVEFORMATEX*>(mt->pbFormat);
    w->nSamplesPerSec = 44100;
    w->nAvgBytesPerSec = 44100 * 4;
    ASSERT_EQ(config->SetFormat(mt), S_OK);
    w->nSamplesPerSec = 22050;
    EXPECT_EQ(config->SetFormat(mt), VFW_E_INVALIDMEDIATYPE) << "the encoder takes 32, 44.1 and 48 kHz";
    FreeType(mt);
    EXPECT_EQ(config->SetFormat(nullptr), E_POINTER);

    ComPtr<IKsPropertySet> ks;
    ASSERT_EQ(capture->QueryInterface(IID_IKsPropertySet, ks.PutVoid()), S_OK);
    vcap::EncoderParams p{};
    DWORD returned = 0;
    ASSERT_EQ(ks->Get(vcap::kEncoderPropertySet, 2, nullptr, 0, &p, sizeof p, &returned), S_OK);
    EXPECT_EQ(p.audSamplingFreq, 44100u);
    ASSERT_EQ(config->GetFormat(&mt), S_OK);
    EXPECT_EQ(reinterpret_cast<WAVEFORMATEX*>(mt->pbFormat)->nSamplesPerSec, 44100u);
    FreeType(mt);
}

TEST_F(VirtualPinsTest, CaptureOutputsConnectToTheStreamFiltersInputs)
{
    const CardRecord card = Install(1, 1);
    ComPtr<IBaseFilter> capture = Bind(card, FilterRole::Capture);
    ComPtr<IBaseFilter> encoder = Bind(card, FilterRole::Encoder);
    ASSERT_TRUE(capture && encoder);

    // The video-typed output, as the program picks it on a device with the extended control.
    ComPtr<IPin> video;
    for (const ComPtr<IPin>& p : cardtest::Pins(capture.Get(), PINDIR_OUTPUT)) {
        if (Offers(p.Get(), MEDIATYPE_Video))
            video = p;
    }
    ASSERT_TRUE(video);
    PIN_INFO info{};
    ASSERT_EQ(video->QueryPinInfo(&info), S_OK);
    info.pFilter->Release();
    EXPECT_STREQ(info.achName, L"Virtual Video Out");

    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()), S_OK);
    ASSERT_EQ(graph->AddFilter(capture.Get(), L"Capture"), S_OK);
    ASSERT_EQ(graph->AddFilter(encoder.Get(), L"Encoder"), S_OK);
    ComPtr<IPin> videoIn = PinNamed(encoder.Get(), L"Video In");
    ComPtr<IPin> audioIn = PinNamed(encoder.Get(), L"Audio In");
    ComPtr<IPin> audioOut = PinNamed(capture.Get(), L"Virtual Audio Out");
    ASSERT_TRUE(videoIn && audioIn && audioOut);
    EXPECT_TRUE(FAILED(graph->ConnectDirect(audioOut.Get(), videoIn.Get(), nullptr))) << "sound into the video input";
    ASSERT_EQ(graph->ConnectDirect(video.Get(), videoIn.Get(), nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(audioOut.Get(), audioIn.Get(), nullptr), S_OK);
    AM_MEDIA_TYPE mt{};
    ASSERT_EQ(audioIn->ConnectionMediaType(&mt), S_OK);
    EXPECT_EQ(mt.subtype, MEDIASUBTYPE_PCM);
    if (mt.pbFormat)
        CoTaskMemFree(mt.pbFormat);

    // The whole front end runs: crossbar wired to the capture chip, the stream into a sink.
    ComPtr<IBaseFilter> xbar = Bind(card, FilterRole::Crossbar);
    ASSERT_TRUE(xbar);
    ASSERT_EQ(graph->AddFilter(xbar.Get(), L"Crossbar"), S_OK);
    ASSERT_EQ(cardtest::ConnectByMedium(graph.Get(), xbar.Get(), capture.Get()), S_OK);
    ComPtr<IPin> stream = PinNamed(encoder.Get(), L"MPEG Stream Out");
    ASSERT_TRUE(stream);
    ComPtr<IBaseFilter> sink;
    ASSERT_EQ(CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, sink.PutVoid()), S_OK);
    ASSERT_EQ(graph->AddFilter(sink.Get(), L"Sink"), S_OK);
    ComPtr<IFileSinkFilter> fileSink;
    ASSERT_EQ(sink->QueryInterface(IID_IFileSinkFilter, fileSink.PutVoid()), S_OK);
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string file = std::string(temp) + "vcap-frontend.mpg";
    DeleteFileA(file.c_str());
    ASSERT_EQ(fileSink->SetFileName(std::wstring(file.begin(), file.end()).c_str(), nullptr), S_OK);
    ComPtr<IPin> sinkIn = cardtest::Pins(sink.Get(), PINDIR_INPUT).front();
    ASSERT_EQ(graph->ConnectDirect(stream.Get(), sinkIn.Get(), nullptr), S_OK);
    ComPtr<IMediaControl> control;
    ASSERT_EQ(graph->QueryInterface(IID_IMediaControl, control.PutVoid()), S_OK);
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    OAFilterState state = State_Stopped;
    EXPECT_EQ(control->GetState(3000, &state), S_OK);
    EXPECT_EQ(state, State_Running);
    Sleep(1000);
    EXPECT_EQ(control->Stop(), S_OK);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data));
    EXPECT_GT(data.nFileSizeLow, 100000u) << "a second of the stream with the front end connected";
    graph->RemoveFilter(sink.Get());
    graph->RemoveFilter(xbar.Get());
    graph->RemoveFilter(capture.Get());
    graph->RemoveFilter(encoder.Get());
}
