// The encoder code against the virtual card in Wine: what reaches the driver (read back from
// the card's property log), the older driver's 40-byte block, the mode sent ahead of the
// block, the limits, and recordings of every preset for ffprobe (encoder_recordings_probe).
#include "EncoderCardFixture.h"
#include "EncoderDerivation.h"
#include "EncoderDevice.h"
#include "EncoderSetup.h"
#include "EncoderState.h"

#include <cstring>
#include <fstream>
#include <vector>

using namespace encoder;

namespace {

std::vector<vcap::PropertyCall> EncoderCalls(int card, DWORD id)
{
    std::vector<vcap::PropertyCall> out;
    for (const vcap::PropertyCall& c : vcap::ReadPropertyLog(card)) {
        if (c.propertySet == kEncoderPropertySet && c.id == id)
            out.push_back(c);
    }
    return out;
}

const HRESULT kTooSmall = HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);

// Records `seconds` of the stream filter's output through Wine's File Writer into `file`.
void Record(IBaseFilter* source, const std::string& file, int seconds)
{
    win::ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()), S_OK);
    win::ComPtr<IBaseFilter> writer;
    ASSERT_EQ(CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, writer.PutVoid()), S_OK);
    ASSERT_EQ(graph->AddFilter(source, L"Encoder"), S_OK);
    ASSERT_EQ(graph->AddFilter(writer.Get(), L"Writer"), S_OK);
    win::ComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(writer.As(sink), S_OK);
    DeleteFileA(file.c_str());
    ASSERT_EQ(sink->SetFileName(std::wstring(file.begin(), file.end()).c_str(), nullptr), S_OK);
    win::ComPtr<IEnumPins> pins;
    win::ComPtr<IPin> out, in, pin;
    ASSERT_EQ(source->EnumPins(pins.Put()), S_OK);
    while (!out && pins->Next(1, pin.Put(), nullptr) == S_OK) {
        PIN_DIRECTION d;
        AM_MEDIA_TYPE* type = nullptr;
        win::ComPtr<IEnumMediaTypes> types;
        if (SUCCEEDED(pin->QueryDirection(&d)) && d == PINDIR_OUTPUT && SUCCEEDED(pin->EnumMediaTypes(types.Put())) &&
            types->Next(1, &type, nullptr) == S_OK) {
            if (type->majortype == MEDIATYPE_Stream)
                out = pin;
            if (type->pbFormat)
                CoTaskMemFree(type->pbFormat);
            CoTaskMemFree(type);
        }
    }
    ASSERT_TRUE(out) << "no stream output";
    ASSERT_EQ(writer->EnumPins(pins.Put()), S_OK);
    ASSERT_EQ(pins->Next(1, in.Put(), nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(out.Get(), in.Get(), nullptr), S_OK);
    win::ComPtr<IAMStreamControl> control;
    ASSERT_EQ(out.As(control), S_OK);
    const REFERENCE_TIME stop = seconds * 10000000LL;
    ASSERT_EQ(control->StopAt(&stop, FALSE, 0), S_OK);
    win::ComPtr<IMediaControl> mc;
    win::ComPtr<IMediaEvent> me;
    ASSERT_EQ(graph.As(mc), S_OK);
    ASSERT_EQ(graph->QueryInterface(IID_IMediaEvent, me.PutVoid()), S_OK);
    ASSERT_TRUE(SUCCEEDED(mc->Run()));
    long code = 0;
    EXPECT_EQ(me->WaitForCompletion((seconds + 20) * 1000, &code), S_OK);
    mc->Stop();
    graph->RemoveFilter(source);
    graph->RemoveFilter(writer.Get());
}

}  // namespace

TEST_F(EncoderCardTest, OlderDriverGetsExactlyTheFirstTenWords)
{
    const vcap::CardRecord card = Install(1, 3, 40);
    vcap::EncoderState state;
    ASSERT_TRUE(vcap::LoadEncoderState(1, state));
    state.params.pullDown32 = 1;
    ASSERT_TRUE(vcap::SaveEncoderState(1, state));
    win::ComPtr<IBaseFilter> capture = Capture(card);
    ASSERT_TRUE(capture);
    EncoderDevice device;
    device.Attach(capture.Get(), 3);
    ASSERT_TRUE(vcap::ClearPropertyLog(1));

    EncoderParams p;
    ASSERT_EQ(device.GetEncoderParams(p), S_OK);
    EXPECT_EQ(p.HorzResolution, 720u);
    EXPECT_EQ(p.PullDown32, 0u) << "the eleventh word was never read";
    std::vector<vcap::PropertyCall> reads = EncoderCalls(1, kPropParams);
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0].size, 44u);
    EXPECT_EQ(reads[0].result, kTooSmall);
    EXPECT_EQ(reads[1].size, 40u);
    EXPECT_EQ(reads[1].result, S_OK);
    EXPECT_EQ(reads[1].data.size(), 40u);

    ASSERT_TRUE(vcap::ClearPropertyLog(1));
    p.BitRate = 4000000;
    p.dwPeakBitRate = 5000000;
    p.PullDown32 = 0;
    ASSERT_EQ(device.SetEncoderParams(p), S_OK);
    std::vector<vcap::PropertyCall> writes = EncoderCalls(1, kPropParams);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_TRUE(writes[0].set && writes[1].set);
    EXPECT_EQ(writes[0].size, 44u);
    EXPECT_EQ(writes[0].result, kTooSmall);
    EXPECT_EQ(writes[1].size, 40u);
    ASSERT_EQ(writes[1].data.size(), 40u);
    EXPECT_EQ(std::memcmp(writes[1].data.data(), &p, 40), 0);
    ASSERT_TRUE(vcap::LoadEncoderState(1, state));
    EXPECT_EQ(state.params.bitRate, 4000000u);
    EXPECT_EQ(state.params.pullDown32, 1u) << "the older driver's own eleventh word is untouched";
}

TEST_F(EncoderCardTest, CurrentDriverTakesTheWholeBlockAtOnce)
{
    const vcap::CardRecord card = Install(1, 1);
    win::ComPtr<IBaseFilter> capture = Capture(card);
    ASSERT_TRUE(capture);
    EncoderDevice device;
    device.Attach(capture.Get(), 1);
    ASSERT_TRUE(vcap::ClearPropertyLog(1));
    EncoderParams p;
    ASSERT_EQ(device.GetEncoderParams(p), S_OK);
    p.PullDown32 = 1;
    ASSERT_EQ(device.SetEncoderParams(p), S_OK);
    const std::vector<vcap::PropertyCall> calls = EncoderCalls(1, kPropParams);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].size, 44u);
    EXPECT_EQ(calls[1].size, 44u);
    EXPECT_EQ(std::memcmp(calls[1].data.data(), &p, 44), 0);

    // No property interface at all: E_FAIL, and Apply reports 1.
    EncoderDevice none;
    none.Attach(nullptr, 1);
    EXPECT_EQ(none.GetEncoderParams(p), E_FAIL);
    ModeAndStandard pair;
    EXPECT_EQ(none.ApplyEncoderParams(pair, p), 1);
}

TEST_F(EncoderCardTest, ModeAndStandardGoAheadOfTheBlockAndARefusedBlockRestoresThem)
{
    const vcap::CardRecord card = Install(1, 1);
    win::ComPtr<IBaseFilter> capture = Capture(card);
    ASSERT_TRUE(capture);
    EncoderDevice device;
    device.Attach(capture.Get(), 1);
    settings::CaptureSettings vcd;
    vcd.setupMode = 1;
    vcd.capture = 1;
    vcd.qualityMpeg1 = 0;
    const DerivedEncoderSetup setup = DeriveForDevice(device, vcd, kStandard625, false);
    ASSERT_TRUE(vcap::ClearPropertyLog(1));
    ModeAndStandard pair = setup.pair;
    ASSERT_EQ(device.ApplyEncoderParams(pair, setup.params), 0);
    EXPECT_EQ(pair.mode, kModeVcd);
    EXPECT_EQ(device.CurrentPair().mode, kModeVcd);

    // The log: the pair is set, then the block, in that order.
    int pairAt = -1, blockAt = -1, index = 0;
    for (const vcap::PropertyCall& c : vcap::ReadPropertyLog(1)) {
        if (c.set && c.propertySet == kEncoderPropertySet && c.id == kPropModeAndStandard && pairAt < 0) {
            pairAt = index;
            ASSERT_EQ(c.data.size(), 8u);
            uint32_t sent[2];
            std::memcpy(sent, c.data.data(), 8);
            EXPECT_EQ(sent[0], kModeVcd);
            EXPECT_EQ(sent[1], kStandard625);
        }
        if (c.set && c.propertySet == kEncoderPropertySet && c.id == kPropParams)
            blockAt = index;
        ++index;
    }
    ASSERT_GE(pairAt, 0);
    EXPECT_LT(pairAt, blockAt);
    vcap::EncoderState state;
    ASSERT_TRUE(vcap::LoadEncoderState(1, state));
    EXPECT_EQ(state.captureMode, kModeVcd);
    EXPECT_EQ(state.params.bitRate, 1150000u);

    // A block the encoder refuses in the new mode (12 Mbit/s DVD) leaves the previous mode.
    ModeAndStandard dvd{kModeMpeg2, kStandard625};
    EncoderParams tooFast = setup.params;
    tooFast.BitRate = 12000000;
    EXPECT_EQ(device.ApplyEncoderParams(dvd, tooFast), 1);
    ASSERT_TRUE(vcap::LoadEncoderState(1, state));
    EXPECT_EQ(state.captureMode, kModeVcd);
    EXPECT_EQ(state.params.bitRate, 1150000u);
}

TEST_F(EncoderCardTest, LimitsAreQuestionsThatLeaveTheModeAlone)
{
    const vcap::CardRecord card = Install(1, 1);
    win::ComPtr<IBaseFilter> capture = Capture(card);
    ASSERT_TRUE(capture);
    EncoderDevice device;
    device.Attach(capture.Get(), 1);
    uint32_t minimum = 0, maximum = 0, average = 0, peak = 0;
    ASSERT_EQ(device.GetBitRateRange(minimum, maximum), S_OK);
    EXPECT_EQ(minimum, 2000000u);
    EXPECT_EQ(maximum, 9000000u);
    ASSERT_EQ(device.GetBitRateLimits(average, peak), S_OK);
    EXPECT_EQ(average, 8000000u);
    EXPECT_EQ(peak, 8800000u) << "1.1 x the average, under the maximum";
    ModeAndStandard pair;
    ASSERT_EQ(device.GetModeAndStandard(pair), S_OK);
    EXPECT_EQ(pair.mode, kModeMpeg2);
    EXPECT_EQ(pair.standard, kStandard625) << "asking for mode 2, standard 0 switched nothing";

    // The graph-clock flag is read from the capability block (word 83), not the 44-byte block.
    ASSERT_TRUE(vcap::ClearPropertyLog(1));
    EXPECT_FALSE(AudioRendererClocksGraph(device)) << "the card clocks its own stream";
    bool readCapabilities = false;
    for (const vcap::PropertyCall& c : vcap::ReadPropertyLog(1)) {
        EXPECT_FALSE(c.propertySet == kEncoderPropertySet && c.id == kPropParams);
        readCapabilities |= c.propertySet == kEncoderPropertySet && c.id == kPropCapabilities && c.size == kCapabilityBytes;
    }
    EXPECT_TRUE(readCapabilities);

    ModeAndStandard svcd{kModeSvcd, kStandard625};
    EncoderParams p;
    ASSERT_EQ(device.GetEncoderParams(p), S_OK);
    p.HorzResolution = 480;
    p.BitRate = 2000000;
    ASSERT_EQ(device.ApplyEncoderParams(svcd, p), 0);
    ASSERT_EQ(device.GetBitRateLimits(average, peak), S_OK);
    EXPECT_EQ(average, 2520000u);
    EXPECT_EQ(peak, 2600000u) << "the maximum, under 1.1 x the average";
}

TEST_F(EncoderCardTest, SamplingRateProcAmpAndDataLossRegistration)
{
    const vcap::CardRecord card = Install(1, 1);
    win::ComPtr<IBaseFilter> capture = Capture(card);
    ASSERT_TRUE(capture);
    EncoderDevice device;
    device.Attach(capture.Get(), 1);
    ASSERT_EQ(device.SetSamplingFreq(32000), S_OK);
    vcap::EncoderState state;
    ASSERT_TRUE(vcap::LoadEncoderState(1, state));
    EXPECT_EQ(state.params.audSamplingFreq, 32000u);
    EXPECT_EQ(state.params.horzResolution, 720u) << "the rest of the block went back unchanged";

    ProcAmpRecord r;
    ASSERT_EQ(device.GetVideoProcAmp(VideoProcAmp_Brightness, r), S_OK);
    EXPECT_EQ(r.minimum, 0);
    EXPECT_EQ(r.maximum, 255);
    EXPECT_EQ(r.value, r.defaultValue);
    ASSERT_EQ(device.SetVideoProcAmp(VideoProcAmp_Brightness, 90), S_OK);
    ASSERT_EQ(device.GetVideoProcAmp(VideoProcAmp_Brightness, r), S_OK);
    EXPECT_EQ(r.value, 90);
    EXPECT_EQ(r.flags, VideoProcAmp_Flags_Manual);
    EXPECT_TRUE(FAILED(device.SetVideoProcAmp(VideoProcAmp_Brightness, 999)));

    // The frames-dropped registration is rewritten only when its enable word changes.
    win::ComPtr<IKsPropertySet> ks;
    ASSERT_EQ(capture.As(ks), S_OK);
    HANDLE ev = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    uint32_t reg[2] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(ev)), 1};
    ASSERT_EQ(ks->Set(kEventPropertySet, kEventFramesDropped, nullptr, 0, reg, 8), S_OK);
    ASSERT_TRUE(vcap::ClearPropertyLog(1));
    EXPECT_EQ(device.EnableDataLossEvent(true), S_OK);
    EXPECT_EQ(device.EnableDataLossEvent(false), S_OK);
    int writes = 0;
    for (const vcap::PropertyCall& c : vcap::ReadPropertyLog(1)) {
        if (c.set && c.propertySet == kEventPropertySet) {
            ++writes;
            ASSERT_EQ(c.data.size(), 8u);
            uint32_t sent[2];
            std::memcpy(sent, c.data.data(), 8);
            EXPECT_EQ(sent[0], reg[0]) << "the same handle, re-registered";
            EXPECT_EQ(sent[1], 0u);
        }
    }
    EXPECT_EQ(writes, 1);
    reg[1] = 0;
    ks->Set(kEventPropertySet, kEventFramesDropped, nullptr, 0, reg, 8);
    CloseHandle(ev);
}

// Each quality selection is derived, applied, read back, and recorded; the probe test checks
// every recording's codec, size, video bit rate and audio with ffprobe.
TEST_F(EncoderCardTest, EveryPresetChangesTheRecordedStream)
{
    struct Take {
        const char* name;
        int setupMode, capture, quality;
        uint32_t standard;
        const char* vcodec;
        const char* acodec;
    };
    const Take takes[] = {
        {"preset_vcd", 1, 1, 0, kStandard625, "mpeg1video", "mp2"},
        {"preset_email", 1, 1, 1, kStandard625, "mpeg1video", "mp2"},
        {"preset_normal", 1, 1, 2, kStandard625, "mpeg1video", "mp2"},
        {"preset_svcd", 2, 2, 0, kStandard625, "mpeg2video", "mp2"},
        {"preset_dvd", 2, 2, 1, kStandard625, "mpeg2video", "mp2"},
        {"custom_pcm_525", 3, 2, 1, kStandard525, "mpeg2video", "pcm_dvd"},
    };
    const std::string dir = testsupport::OutputDir();
    std::ofstream manifest(dir + "encoder_streams.txt", std::ios::binary);
    for (const Take& t : takes) {
        SCOPED_TRACE(t.name);
        RemoveAll();
        const vcap::CardRecord card = Install(1, 1);
        win::ComPtr<IBaseFilter> capture = Capture(card);
        ASSERT_TRUE(capture);
        EncoderDevice device;
        device.Attach(capture.Get(), 1);
        settings::CaptureSettings s;
        s.setupMode = t.setupMode;
        s.capture = t.capture;
        s.qualityMpeg1 = t.quality;
        s.qualityMpeg2 = t.quality;
        s.emailBitrate = 384000;
        s.normalBitrate = 5000000;
        s.svcdBitrate = 2400000;
        s.dvdBitrate = 6000000;
        s.forceCbr = false;
        s.custom = settings::CustomTemplate{2, 1, 720, 576, 3000000, 4000000, 15, 3, 1, 1, 48000, 224, 0};
        const DerivedEncoderSetup setup = DeriveForDevice(device, s, t.standard, false);
        ModeAndStandard pair = setup.pair;
        ASSERT_EQ(device.ApplyEncoderParams(pair, setup.params), 0);
        EncoderParams back;
        ASSERT_EQ(device.GetEncoderParams(back), S_OK);
        EXPECT_EQ(std::memcmp(&back, &setup.params, sizeof back), 0) << "read back as written";
        ModeAndStandard applied;
        ASSERT_EQ(device.GetModeAndStandard(applied), S_OK);
        EXPECT_EQ(applied.mode, setup.pair.mode);
        EXPECT_EQ(applied.standard, t.standard);
        EXPECT_EQ(setup.pcmAudio, std::string(t.acodec) == "pcm_dvd");

        Record(Bind(card, vcap::FilterRole::Encoder, devices::kCategoryEncoder).Get(), dir + t.name + ".mpg", 4);
        manifest << t.name << ' ' << t.vcodec << ' ' << setup.params.HorzResolution << ' ' << setup.params.VertResolution << ' '
                 << setup.params.BitRate << ' ' << t.acodec << ' ' << setup.params.ulAudSamplingFreq << '\n';
    }
}
