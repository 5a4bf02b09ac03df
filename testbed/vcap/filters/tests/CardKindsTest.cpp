// The two card kinds whose stream the host helps make: type 2, whose encoder chip delivers
// video only (the host compresses the sound and multiplexes in software), and type 4, whose
// stream filter speaks the codec API. Recordings go through Wine's File Writer and are
// checked by ffmpeg on the host (check_cardkinds.sh).
#include "CardInstaller.h"
#include "CardTestSupport.h"
#include "CodecEncoderFilter.h"
#include "EncoderState.h"
#include "FilterIds.h"
#include "KsPropertySets.h"
#include "TestSupport.h"

#include "win/ComPtr.h"

#include <windows.h>
#include <dshow.h>
#include <dvdmedia.h>
#include <mmreg.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

using win::ComPtr;
using vcap::CardRecord;
using vcap::FilterRole;

namespace {

const GUID kIidCodecApi = {0x901DB4C7, 0x31CE, 0x41A2, {0x85, 0xDC, 0x8F, 0xA0, 0xBF, 0x41, 0xB8, 0xDA}};
const HRESULT kSetNotFound = HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);

ComPtr<IPin> PinNamed(IBaseFilter* f, const wchar_t* name)
{
    ComPtr<IPin> pin;
    f->FindPin(name, pin.Put());
    return pin;
}

bool Offers(IPin* pin, const GUID& major, const GUID& sub)
{
    ComPtr<IEnumMediaTypes> types;
    if (FAILED(pin->EnumMediaTypes(types.Put())))
        return false;
    AM_MEDIA_TYPE* t = nullptr;
    bool found = false;
    while (!found && types->Next(1, &t, nullptr) == S_OK) {
        found = t->majortype == major && (sub == GUID_NULL || t->subtype == sub);
        dshow::DeleteMediaType(t);
    }
    return found;
}

uint32_t ConnectedRate(IPin* pin)
{
    AM_MEDIA_TYPE t{};
    if (FAILED(pin->ConnectionMediaType(&t)))
        return 0;
    const uint32_t rate = t.cbFormat >= sizeof(WAVEFORMATEX) ? reinterpret_cast<WAVEFORMATEX*>(t.pbFormat)->nSamplesPerSec : 0;
    dshow::FreeMediaType(t);
    return rate;
}

ComPtr<IBaseFilter> Create(const CLSID& clsid)
{
    ComPtr<IBaseFilter> f;
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, f.PutVoid());
    return f;
}

ComPtr<IBaseFilter> FileWriter(const std::string& file)
{
    ComPtr<IBaseFilter> writer = Create(CLSID_FileWriter);
    ComPtr<IFileSinkFilter> sink;
    if (!writer || FAILED(writer.As(sink)))
        return {};
    DeleteFileA(file.c_str());
    sink->SetFileName(std::wstring(file.begin(), file.end()).c_str(), nullptr);
    return writer;
}

// The mode and standard (property 1), then the block, as the program does.
HRESULT Configure(IBaseFilter* capture, uint32_t mode, const vcap::EncoderParams& p)
{
    ComPtr<IKsPropertySet> ks;
    HRESULT hr = capture->QueryInterface(IID_IKsPropertySet, ks.PutVoid());
    if (FAILED(hr))
        return hr;
    uint32_t pair[2] = {mode, 1};
    if (FAILED(hr = ks->Set(vcap::kEncoderPropertySet, 1, nullptr, 0, pair, sizeof pair)))
        return hr;
    return ks->Set(vcap::kEncoderPropertySet, 2, nullptr, 0, const_cast<vcap::EncoderParams*>(&p), 44);
}

void Manifest(const std::string& line)
{
    std::ofstream(testsupport::OutputDir() + "kinds.txt", std::ios::app | std::ios::binary) << line << "\n";
}

class CardKinds : public cardtest::CardTest {
protected:
    static void SetUpTestSuite()
    {
        CardTest::SetUpTestSuite();
        std::remove((testsupport::OutputDir() + "kinds.txt").c_str());
    }
};

}  // namespace

TEST_F(CardKinds, TypeTwoEncoderHasVideoOutOnlyAndTheCaptureFilterHandsOverPcm)
{
    const CardRecord card = Install(1, 2);
    EXPECT_FALSE(card.paths[int(FilterRole::Encoder)].empty());
    EXPECT_TRUE(card.paths[int(FilterRole::Multiplexer)].empty()) << "an encoder that does not multiplex";
    ComPtr<IBaseFilter> encoder = Bind(card, FilterRole::Encoder);
    ComPtr<IBaseFilter> capture = Bind(card, FilterRole::Capture);
    ASSERT_TRUE(encoder && capture);

    for (const ComPtr<IPin>& out : cardtest::Pins(encoder.Get(), PINDIR_OUTPUT))
        EXPECT_FALSE(Offers(out.Get(), MEDIATYPE_Stream, GUID_NULL));
    ComPtr<IPin> video = PinNamed(encoder.Get(), L"MPEG Video Out");
    ASSERT_TRUE(video);
    EXPECT_TRUE(Offers(video.Get(), MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO)) << "the card starts in MPEG-2";
    EXPECT_TRUE(PinNamed(encoder.Get(), L"Video In"));
    EXPECT_FALSE(PinNamed(encoder.Get(), L"Audio In")) << "the sound goes to a software compressor";

    ComPtr<IPin> pcm = PinNamed(capture.Get(), L"Virtual Audio Out");
    ASSERT_TRUE(pcm);
    EXPECT_TRUE(Offers(pcm.Get(), MEDIATYPE_Audio, MEDIASUBTYPE_PCM));
    ComPtr<IAMStreamConfig> config;
    ASSERT_EQ(pcm.As(config), S_OK);
    int count = 0, size = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(&count, &size), S_OK);
    AUDIO_STREAM_CONFIG_CAPS caps{};
    AM_MEDIA_TYPE* t = nullptr;
    ASSERT_EQ(config->GetStreamCaps(0, &t, reinterpret_cast<BYTE*>(&caps)), S_OK);
    dshow::DeleteMediaType(t);
    EXPECT_EQ(caps.MinimumSampleFrequency, 32000u);
    EXPECT_EQ(caps.MaximumSampleFrequency, 48000u);

    ComPtr<IKsPropertySet> ks;
    ASSERT_EQ(capture.As(ks), S_OK);
    uint32_t words[84] = {2, 1};
    DWORD returned = 0;
    ASSERT_EQ(ks->Get(vcap::kEncoderPropertySet, 0, nullptr, 0, words, sizeof words, &returned), S_OK);
    EXPECT_EQ(words[12], 0u) << "no multiplexing encoder";
    // The encoder follows the capture mode: MPEG-1 after a VCD selection.
    const vcap::EncoderParams vcd = {352, 288, 1150000, 15, 3, 0, 1150000, 0, 44100, 224, 0};
    ASSERT_EQ(Configure(capture.Get(), 3, vcd), S_OK);
    EXPECT_TRUE(Offers(video.Get(), MEDIATYPE_Video, MEDIASUBTYPE_MPEG1Payload));
}

TEST_F(CardKinds, CompressorAndMultiplexerTakeOnlyWhatTheyCanCarry)
{
    const CardRecord card = Install(1, 2);
    ComPtr<IBaseFilter> capture = Bind(card, FilterRole::Capture);
    ComPtr<IBaseFilter> compressor = Create(testbed::kClsidMpegAudioCompressor);
    ComPtr<IBaseFilter> mux = Create(testbed::kClsidMpegMultiplexer);
    ASSERT_TRUE(capture && compressor && mux);
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()), S_OK);
    ASSERT_EQ(graph->AddFilter(capture.Get(), L"Capture"), S_OK);
    ASSERT_EQ(graph->AddFilter(compressor.Get(), L"MPEG Audio Compressor"), S_OK);
    ASSERT_EQ(graph->AddFilter(mux.Get(), L"MPEG Multiplexer"), S_OK);

    // The multiplexer's mode: DVD packs until told otherwise, and only the two modes.
    ComPtr<IMpegMuxConfig> muxConfig;
    ASSERT_EQ(mux->QueryInterface(__uuidof(IMpegMuxConfig), muxConfig.PutVoid()), S_OK);
    DWORD mode = 7;
    ASSERT_EQ(muxConfig->GetOutputMode(&mode), S_OK);
    EXPECT_EQ(mode, 1u);
    EXPECT_EQ(muxConfig->SetOutputMode(2), E_INVALIDARG);
    ASSERT_EQ(muxConfig->SetOutputMode(0), S_OK);
    ASSERT_EQ(muxConfig->GetOutputMode(&mode), S_OK);
    EXPECT_EQ(mode, 0u);
    EXPECT_EQ(muxConfig->GetOutputMode(nullptr), E_POINTER);

    // The program's fallback: the compressor set to 32000 Hz takes the card's sound at that
    // rate although the card was at 48000.
    ComPtr<IPin> compressorOut = PinNamed(compressor.Get(), L"MPEG Audio Output");
    ASSERT_TRUE(compressorOut);
    ComPtr<IAMStreamConfig> format;
    ASSERT_EQ(compressorOut.As(format), S_OK);
    AM_MEDIA_TYPE* current = nullptr;
    ASSERT_EQ(format->GetFormat(&current), S_OK);
    ASSERT_GE(current->cbFormat, sizeof(MPEG1WAVEFORMAT));
    auto* mpeg = reinterpret_cast<MPEG1WAVEFORMAT*>(current->pbFormat);
    EXPECT_EQ(mpeg->wfx.wFormatTag, WAVE_FORMAT_MPEG);
    mpeg->wfx.nSamplesPerSec = 22050;
    EXPECT_EQ(format->SetFormat(current), VFW_E_INVALIDMEDIATYPE) << "no Layer II at 22050 Hz";
    mpeg->wfx.nSamplesPerSec = 32000;
    ASSERT_EQ(format->SetFormat(current), S_OK);
    dshow::DeleteMediaType(current);
    ComPtr<IPin> pcm = PinNamed(capture.Get(), L"Virtual Audio Out");
    ComPtr<IPin> compressorIn = PinNamed(compressor.Get(), L"PCM Input");
    ASSERT_TRUE(pcm && compressorIn);
    ASSERT_EQ(graph->ConnectDirect(pcm.Get(), compressorIn.Get(), nullptr), S_OK);
    EXPECT_EQ(ConnectedRate(pcm.Get()), 32000u);
    ASSERT_EQ(graph->ConnectDirect(compressorOut.Get(), PinNamed(mux.Get(), L"Audio").Get(), nullptr), S_OK);
    EXPECT_EQ(ConnectedRate(compressorOut.Get()), 32000u);

    // PCM straight into the multiplexer, or MPEG audio into its video input, is refused.
    ComPtr<IPin> muxVideo = PinNamed(mux.Get(), L"Video");
    ASSERT_TRUE(muxVideo);
    EXPECT_TRUE(FAILED(graph->ConnectDirect(compressorOut.Get(), muxVideo.Get(), nullptr)));
    for (IBaseFilter* f : {capture.Get(), compressor.Get(), mux.Get()})
        graph->RemoveFilter(f);
}

// Card, compressor and multiplexer in one graph, as the program builds it for a type 2
// card, recorded for about four seconds in each of the multiplexer's modes.
TEST_F(CardKinds, TypeTwoRecordsThroughTheSoftwareMultiplex)
{
    struct Take {
        const char* name;
        uint32_t captureMode;
        DWORD muxMode;
        vcap::EncoderParams p;
        const char* codec;
    };
    const Take takes[] = {
        {"type2_dvd", 2, 1, {720, 576, 4000000, 15, 3, 0, 4000000, 0, 48000, 224, 0}, "mpeg2video"},
        {"type2_svcd", 4, 0, {480, 576, 2500000, 12, 3, 0, 2500000, 0, 44100, 224, 0}, "mpeg2video"},
        {"type2_vcd", 3, 0, {352, 288, 1150000, 15, 3, 0, 1150000, 0, 44100, 224, 0}, "mpeg1video"},
    };
    for (const Take& t : takes) {
        SCOPED_TRACE(t.name);
        RemoveAll();
        const CardRecord card = Install(1, 2);
        ComPtr<IBaseFilter> capture = Bind(card, FilterRole::Capture);
        ComPtr<IBaseFilter> encoder = Bind(card, FilterRole::Encoder);
        ComPtr<IBaseFilter> compressor = Create(testbed::kClsidMpegAudioCompressor);
        ComPtr<IBaseFilter> mux = Create(testbed::kClsidMpegMultiplexer);
        const std::string file = testsupport::OutputDir() + t.name + ".mpg";
        ComPtr<IBaseFilter> writer = FileWriter(file);
        ASSERT_TRUE(capture && encoder && compressor && mux && writer);
        ASSERT_EQ(Configure(capture.Get(), t.captureMode, t.p), S_OK);
        ComPtr<IMpegMuxConfig> muxConfig;
        ASSERT_EQ(mux->QueryInterface(__uuidof(IMpegMuxConfig), muxConfig.PutVoid()), S_OK);
        ASSERT_EQ(muxConfig->SetOutputMode(t.muxMode), S_OK);

        ComPtr<IGraphBuilder> graph;
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()), S_OK);
        for (auto [f, name] : {std::pair{capture.Get(), L"Capture"}, {encoder.Get(), L"Encoder"},
                               {compressor.Get(), L"MPEG Audio Compressor"}, {mux.Get(), L"MPEG Multiplexer"},
                               {writer.Get(), L"FileWriter"}})
            ASSERT_EQ(graph->AddFilter(f, name), S_OK);
        ASSERT_EQ(graph->ConnectDirect(PinNamed(capture.Get(), L"Virtual Video Out").Get(), PinNamed(encoder.Get(), L"Video In").Get(),
                                       nullptr),
                  S_OK);
        ASSERT_EQ(graph->Connect(PinNamed(capture.Get(), L"Virtual Audio Out").Get(), PinNamed(compressor.Get(), L"PCM Input").Get()),
                  S_OK);
        ASSERT_EQ(graph->ConnectDirect(PinNamed(compressor.Get(), L"MPEG Audio Output").Get(), PinNamed(mux.Get(), L"Audio").Get(),
                                       nullptr),
                  S_OK);
        ASSERT_EQ(graph->ConnectDirect(PinNamed(encoder.Get(), L"MPEG Video Out").Get(), PinNamed(mux.Get(), L"Video").Get(), nullptr),
                  S_OK);
        ComPtr<IPin> in = cardtest::Pins(writer.Get(), PINDIR_INPUT).front();
        ASSERT_EQ(graph->ConnectDirect(PinNamed(mux.Get(), L"Program Stream").Get(), in.Get(), nullptr), S_OK);
        EXPECT_EQ(muxConfig->SetOutputMode(1 - t.muxMode), S_OK) << "stopped, the mode may still change";
        ASSERT_EQ(muxConfig->SetOutputMode(t.muxMode), S_OK);

        // Both sources end at four seconds: the multiplexer finishes the stream and the
        // writer reports completion.
        const REFERENCE_TIME stop = 4 * 10000000LL;
        for (ComPtr<IPin> source : {PinNamed(capture.Get(), L"Virtual Audio Out"), PinNamed(encoder.Get(), L"MPEG Video Out")}) {
            ComPtr<IAMStreamControl> control;
            ASSERT_EQ(source.As(control), S_OK);
            ASSERT_EQ(control->StopAt(&stop, FALSE, 0), S_OK);
        }
        ComPtr<IMediaControl> mc;
        ComPtr<IMediaEvent> me;
        ASSERT_EQ(graph.As(mc), S_OK);
        ASSERT_EQ(graph->QueryInterface(IID_IMediaEvent, me.PutVoid()), S_OK);
        ASSERT_TRUE(SUCCEEDED(mc->Run()));
        Sleep(1000);
        EXPECT_EQ(muxConfig->SetOutputMode(1 - t.muxMode), VFW_E_NOT_STOPPED);
        long code = 0;
        EXPECT_EQ(me->WaitForCompletion(15000, &code), S_OK);
        EXPECT_EQ(mc->Stop(), S_OK);
        for (IBaseFilter* f : {capture.Get(), encoder.Get(), compressor.Get(), mux.Get(), writer.Get()})
            graph->RemoveFilter(f);
        WIN32_FILE_ATTRIBUTE_DATA a{};
        ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &a));
        const size_t packSize = t.muxMode == 0 ? 2324 : 2048;
        EXPECT_GT(a.nFileSizeLow, 0u);
        EXPECT_EQ(a.nFileSizeLow % packSize, 4u) << "whole packs of the mode's size and the end code";
        char line[200];
        std::snprintf(line, sizeof line, "%s %s %u %u 3.85 4.2 mp2 %u - -", t.name, t.codec, t.p.horzResolution, t.p.vertResolution,
                      t.p.audSamplingFreq);
        Manifest(line);
    }
}

namespace {

uint32_t Value(ICodecAPI* api, const GUID& id)
{
    VARIANT v;
    VariantInit(&v);
    if (FAILED(api->GetValue(&id, &v)) || v.vt != VT_UI4)
        return 0;
    return v.ulVal;
}

HRESULT SetUi4(ICodecAPI* api, const GUID& id, uint32_t value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_UI4;
    v.ulVal = value;
    return api->SetValue(&id, &v);
}

}  // namespace

TEST_F(CardKinds, TypeFourCaptureFilterHasNoEncoderSet)
{
    const CardRecord card = Install(1, 4);
    EXPECT_TRUE(card.paths[int(FilterRole::Encoder)].empty());
    EXPECT_TRUE(card.paths[int(FilterRole::Multiplexer)].empty());
    EXPECT_FALSE(card.paths[int(FilterRole::CodecEncoder)].empty());
    ComPtr<IBaseFilter> capture = Bind(card, FilterRole::Capture);
    ASSERT_TRUE(capture);
    ComPtr<IKsPropertySet> ks;
    ASSERT_EQ(capture.As(ks), S_OK);
    DWORD support = 0, returned = 0;
    EXPECT_TRUE(FAILED(ks->QuerySupported(vcap::kEncoderPropertySet, 0, &support)));
    uint32_t words[84] = {3, 0};
    EXPECT_EQ(ks->Get(vcap::kEncoderPropertySet, 0, nullptr, 0, words, sizeof words, &returned), kSetNotFound);
    vcap::EncoderParams p{};
    EXPECT_EQ(ks->Set(vcap::kEncoderPropertySet, 2, nullptr, 0, &p, 44), kSetNotFound);
    uint8_t extended[32] = {};
    EXPECT_EQ(ks->Get(vcap::kExtendedControlSet, 1, nullptr, 0, extended, 32, &returned), kSetNotFound);
    // The device events stay: the program still watches a codec-API card.
    EXPECT_EQ(ks->QuerySupported(vcap::kEventPropertySet, 3, &support), S_OK);
}

TEST_F(CardKinds, CodecApiReadsAndSetsModeRateAndPeak)
{
    const CardRecord card = Install(1, 4);
    ComPtr<IBaseFilter> stream = Bind(card, FilterRole::CodecEncoder);
    ASSERT_TRUE(stream);
    ComPtr<ICodecAPI> api;
    ASSERT_EQ(stream->QueryInterface(kIidCodecApi, api.PutVoid()), S_OK);
    for (const GUID* id : {&vcap::kCodecApiBitRateMode, &vcap::kCodecApiBitRate, &vcap::kCodecApiPeakBitRate})
        EXPECT_EQ(api->IsSupported(id), S_OK);
    EXPECT_EQ(api->IsSupported(&vcap::kEncoderPropertySet), E_NOTIMPL);
    EXPECT_EQ(Value(api.Get(), vcap::kCodecApiBitRateMode), 0u);
    EXPECT_EQ(Value(api.Get(), vcap::kCodecApiBitRate), 6000000u);
    EXPECT_EQ(Value(api.Get(), vcap::kCodecApiPeakBitRate), 6600000u);

    struct Step {
        const GUID* id;
        uint32_t value;
        HRESULT result;
        uint32_t mode, rate, peak;  // what the encoder holds afterwards
    };
    const Step steps[] = {
        {&vcap::kCodecApiBitRate, 4000000, S_OK, 0, 4000000, 6600000},
        {&vcap::kCodecApiBitRate, 1000000, E_INVALIDARG, 0, 4000000, 6600000},  // below the range
        {&vcap::kCodecApiBitRate, 9500000, E_INVALIDARG, 0, 4000000, 6600000},  // above it
        {&vcap::kCodecApiPeakBitRate, 3000000, S_OK, 0, 4000000, 4000000},      // a peak under the rate is raised
        {&vcap::kCodecApiPeakBitRate, 12000000, S_OK, 0, 4000000, 9800000},     // and one over the ceiling lowered
        {&vcap::kCodecApiBitRate, 8000000, S_OK, 0, 8000000, 9800000},
        {&vcap::kCodecApiPeakBitRate, 6000000, S_OK, 0, 8000000, 8000000},
        {&vcap::kCodecApiBitRate, 9000000, S_OK, 0, 9000000, 9000000},          // the average lifts the peak
        {&vcap::kCodecApiBitRateMode, 3, E_INVALIDARG, 0, 9000000, 9000000},
        {&vcap::kCodecApiBitRateMode, 2, S_OK, 2, 9000000, 9000000},
        {&vcap::kCodecApiBitRateMode, 0, S_OK, 0, 9000000, 9000000},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.value);
        EXPECT_EQ(SetUi4(api.Get(), *s.id, s.value), s.result);
        EXPECT_EQ(Value(api.Get(), vcap::kCodecApiBitRateMode), s.mode);
        EXPECT_EQ(Value(api.Get(), vcap::kCodecApiBitRate), s.rate);
        EXPECT_EQ(Value(api.Get(), vcap::kCodecApiPeakBitRate), s.peak);
    }
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"fast");
    EXPECT_EQ(api->SetValue(&vcap::kCodecApiBitRate, &text), E_INVALIDARG);
    VariantClear(&text);

    // The same identifiers as property sets, four bytes at property 0, as the program reads them.
    ComPtr<IKsPropertySet> ks;
    ASSERT_EQ(stream.As(ks), S_OK);
    uint32_t word = 5000000;
    DWORD returned = 0;
    ASSERT_EQ(ks->Set(vcap::kCodecApiBitRate, 0, nullptr, 0, &word, 4), S_OK);
    word = 0;
    ASSERT_EQ(ks->Get(vcap::kCodecApiBitRate, 0, nullptr, 0, &word, 4, &returned), S_OK);
    EXPECT_EQ(word, 5000000u);
    EXPECT_EQ(returned, 4u);
    word = 5400000;  // the program's BitRate + 400000
    ASSERT_EQ(ks->Set(vcap::kCodecApiPeakBitRate, 0, nullptr, 0, &word, 4), S_OK);
    ASSERT_EQ(ks->Get(vcap::kCodecApiPeakBitRate, 0, nullptr, 0, &word, 4, &returned), S_OK);
    EXPECT_EQ(word, 5400000u);
    word = 4000000;
    ASSERT_EQ(ks->Set(vcap::kCodecApiPeakBitRate, 0, nullptr, 0, &word, 4), S_OK);
    ASSERT_EQ(ks->Get(vcap::kCodecApiPeakBitRate, 0, nullptr, 0, &word, 4, &returned), S_OK);
    EXPECT_EQ(word, 5000000u) << "the peak never goes below the rate";
    EXPECT_EQ(ks->Get(vcap::kCodecApiBitRate, 0, nullptr, 0, &word, 2, &returned), HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(ks->Get(vcap::kCodecApiBitRate, 1, nullptr, 0, &word, 4, &returned), HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
    DWORD support = 0;
    ASSERT_EQ(ks->QuerySupported(vcap::kCodecApiBitRateMode, 0, &support), S_OK);
    EXPECT_EQ(support, DWORD(KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET));

    VARIANT lo, hi, step;
    ASSERT_EQ(api->GetParameterRange(&vcap::kCodecApiBitRate, &lo, &hi, &step), S_OK);
    EXPECT_EQ(lo.ulVal, vcap::kCodecMinBitRate);
    EXPECT_EQ(hi.ulVal, vcap::kCodecMaxBitRate);
    EXPECT_EQ(api->GetParameterRange(&vcap::kCodecApiBitRateMode, &lo, &hi, &step), VFW_E_CODECAPI_ENUMERATED);
    VARIANT* values = nullptr;
    ULONG count = 0;
    ASSERT_EQ(api->GetParameterValues(&vcap::kCodecApiBitRateMode, &values, &count), S_OK);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(values[2].ulVal, 2u);
    CoTaskMemFree(values);

    // Raising the average past the peak reports both as changed.
    ASSERT_EQ(SetUi4(api.Get(), vcap::kCodecApiBitRate, 2000000), S_OK);
    ASSERT_EQ(SetUi4(api.Get(), vcap::kCodecApiPeakBitRate, 2000000), S_OK);
    VARIANT up;
    VariantInit(&up);
    up.vt = VT_I4;
    up.lVal = 3000000;
    GUID* changed = nullptr;
    ASSERT_EQ(api->SetValueWithNotify(&vcap::kCodecApiBitRate, &up, &changed, &count), S_OK);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(changed[1], vcap::kCodecApiPeakBitRate);
    CoTaskMemFree(changed);
    ASSERT_EQ(api->SetAllDefaults(), S_OK);
    EXPECT_EQ(Value(api.Get(), vcap::kCodecApiBitRate), 6000000u);
}

// Made by class identifier, as the program adds a stream filter it found by searching, the
// filter knows no card until a card's capture filter is wired to it.
TEST_F(CardKinds, CodecFilterMadeByClassLearnsItsCardFromTheWire)
{
    const CardRecord other = Install(1, 1);
    const CardRecord card = Install(2, 4);
    ComPtr<IBaseFilter> stream = Create(*vcap::Role(FilterRole::CodecEncoder).filterClsid);
    ASSERT_TRUE(stream);
    ComPtr<ICodecAPI> api;
    ASSERT_EQ(stream->QueryInterface(kIidCodecApi, api.PutVoid()), S_OK);
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(api->GetValue(&vcap::kCodecApiBitRate, &v), VFW_E_NOT_CONNECTED);

    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()), S_OK);
    ComPtr<IBaseFilter> wrongCapture = Bind(other, FilterRole::Capture);
    ComPtr<IBaseFilter> capture = Bind(card, FilterRole::Capture);
    ASSERT_TRUE(wrongCapture && capture);
    ASSERT_EQ(graph->AddFilter(stream.Get(), L"Stream"), S_OK);
    ASSERT_EQ(graph->AddFilter(wrongCapture.Get(), L"Other Capture"), S_OK);
    ASSERT_EQ(graph->AddFilter(capture.Get(), L"Capture"), S_OK);
    ComPtr<IPin> videoIn = PinNamed(stream.Get(), L"Video In");
    ASSERT_TRUE(videoIn);
    EXPECT_TRUE(FAILED(graph->ConnectDirect(PinNamed(wrongCapture.Get(), L"Virtual Video Out").Get(), videoIn.Get(), nullptr)))
        << "a type 1 card's wire is not this encoder's";
    ASSERT_EQ(graph->ConnectDirect(PinNamed(capture.Get(), L"Virtual Video Out").Get(), videoIn.Get(), nullptr), S_OK);
    EXPECT_EQ(Value(api.Get(), vcap::kCodecApiBitRate), 6000000u);
    EXPECT_EQ(cardtest::MediumSets(videoIn.Get()), cardtest::MediumSets(PinNamed(capture.Get(), L"Virtual Video Out").Get()))
        << "bound, its inputs carry the card's wires";
    ASSERT_EQ(graph->ConnectDirect(PinNamed(capture.Get(), L"Virtual Audio Out").Get(), PinNamed(stream.Get(), L"Audio In").Get(), nullptr),
              S_OK);
    for (IBaseFilter* f : {stream.Get(), wrongCapture.Get(), capture.Get()})
        graph->RemoveFilter(f);
}

// The stream follows the codec-API settings: a constant rate announces the rate, a variable
// one its peak, while the stream's average stays the rate (ffprobe checks both).
TEST_F(CardKinds, TypeFourStreamFollowsModeRateAndPeak)
{
    struct Take {
        const char* name;
        uint32_t mode, rate, peak;
        uint32_t announced;
    };
    const Take takes[] = {
        {"type4_cbr_3m", 0, 3000000, 3400000, 3000000},
        {"type4_vbr_3m_6m", 1, 3000000, 6000000, 6000000},
        {"type4_cbr_7m", 0, 7000000, 7400000, 7000000},
    };
    for (const Take& t : takes) {
        SCOPED_TRACE(t.name);
        RemoveAll();
        const CardRecord card = Install(1, 4);
        ComPtr<IBaseFilter> capture = Bind(card, FilterRole::Capture);
        ComPtr<IBaseFilter> stream = Bind(card, FilterRole::CodecEncoder);
        const std::string file = testsupport::OutputDir() + t.name + ".mpg";
        ComPtr<IBaseFilter> writer = FileWriter(file);
        ASSERT_TRUE(capture && stream && writer);
        ComPtr<ICodecAPI> api;
        ASSERT_EQ(stream->QueryInterface(kIidCodecApi, api.PutVoid()), S_OK);
        ASSERT_EQ(SetUi4(api.Get(), vcap::kCodecApiBitRate, t.rate), S_OK);
        ASSERT_EQ(SetUi4(api.Get(), vcap::kCodecApiPeakBitRate, t.peak), S_OK);
        ASSERT_EQ(SetUi4(api.Get(), vcap::kCodecApiBitRateMode, t.mode), S_OK);

        ComPtr<IGraphBuilder> graph;
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()), S_OK);
        for (auto [f, name] : {std::pair{capture.Get(), L"Capture"}, {stream.Get(), L"Stream"}, {writer.Get(), L"FileWriter"}})
            ASSERT_EQ(graph->AddFilter(f, name), S_OK);
        ASSERT_EQ(cardtest::ConnectByMedium(graph.Get(), capture.Get(), stream.Get()), S_OK);
        ComPtr<IPin> out = PinNamed(stream.Get(), L"MPEG Stream Out");
        ASSERT_TRUE(out);
        ASSERT_EQ(graph->ConnectDirect(out.Get(), cardtest::Pins(writer.Get(), PINDIR_INPUT).front().Get(), nullptr), S_OK);
        ComPtr<IAMStreamControl> control;
        ASSERT_EQ(out.As(control), S_OK);
        const REFERENCE_TIME stop = 4 * 10000000LL;
        ASSERT_EQ(control->StopAt(&stop, FALSE, 0), S_OK);
        ComPtr<IMediaControl> mc;
        ComPtr<IMediaEvent> me;
        ASSERT_EQ(graph.As(mc), S_OK);
        ASSERT_EQ(graph->QueryInterface(IID_IMediaEvent, me.PutVoid()), S_OK);
        ASSERT_TRUE(SUCCEEDED(mc->Run()));
        long code = 0;
        EXPECT_EQ(me->WaitForCompletion(15000, &code), S_OK);
        EXPECT_EQ(mc->Stop(), S_OK);
        for (IBaseFilter* f : {capture.Get(), stream.Get(), writer.Get()})
            graph->RemoveFilter(f);
        char line[200];
        std::snprintf(line, sizeof line, "%s mpeg2video 720 576 3.85 4.15 mp2 48000 %u %u", t.name, t.announced, t.rate);
        Manifest(line);
    }
}
