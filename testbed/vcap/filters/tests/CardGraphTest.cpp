// The card's filters as the program meets them: bound through the system device enumerator
// by device path, configured through IKsPropertySet, and recorded through Wine's File Writer.
#include "CardControl.h"
#include "CardTestSupport.h"
#include "DecoderModel.h"
#include "CardInstaller.h"
#include "EncoderState.h"
#include "KsPropertySets.h"
#include "TestSupport.h"

#include <win/ComPtr.h>

#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>

using win::ComPtr;
using vcap::CardRecord;
using vcap::FilterRole;

namespace {

const HRESULT kInsufficientBuffer = HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
const HRESULT kInvalidParameter = HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);

ComPtr<IPin> FirstOutput(IBaseFilter* f)
{
    ComPtr<IEnumPins> pins;
    if (FAILED(f->EnumPins(pins.Put())))
        return {};
    ComPtr<IPin> p;
    while (pins->Next(1, p.Put(), nullptr) == S_OK) {
        PIN_DIRECTION d;
        if (SUCCEEDED(p->QueryDirection(&d)) && d == PINDIR_OUTPUT)
            return p;
    }
    return {};
}

class CardGraphTest : public cardtest::CardTest {
protected:
    static CardRecord Install(int number, uint32_t type, vcap::Bus bus, uint32_t paramsBytes)
    {
        return CardTest::Install(number, vcap::Personality{type, bus, paramsBytes});
    }
    static ComPtr<IKsPropertySet> CaptureProperties(const CardRecord& card)
    {
        ComPtr<IBaseFilter> f = Bind(card, FilterRole::Capture);
        ComPtr<IKsPropertySet> ks;
        if (f)
            f.As(ks);
        return ks;
    }
};

// Sends the mode and standard ahead of the block, as the program does, then writes the block.
HRESULT Configure(IKsPropertySet* ks, uint32_t mode, uint32_t standard, const vcap::EncoderParams& p, DWORD size = 44)
{
    uint32_t pair[2] = {mode, standard};
    HRESULT hr = ks->Set(vcap::kEncoderPropertySet, 1, nullptr, 0, pair, sizeof pair);
    if (FAILED(hr))
        return hr;
    return ks->Set(vcap::kEncoderPropertySet, 2, nullptr, 0, const_cast<vcap::EncoderParams*>(&p), size);
}

}  // namespace

TEST_F(CardGraphTest, EncoderPropertySetAnswersAsTheDriverDoes)
{
    const CardRecord card = Install(1, 1, vcap::Bus::Usb20, 44);
    ComPtr<IKsPropertySet> ks = CaptureProperties(card);
    ASSERT_TRUE(ks);

    uint32_t caps[84] = {3, 0};
    DWORD returned = 0;
    ASSERT_EQ(ks->Get(vcap::kEncoderPropertySet, 0, nullptr, 0, caps, 336, &returned), S_OK);
    EXPECT_EQ(returned, 336u);
    EXPECT_EQ(caps[0], 3u);
    EXPECT_EQ(caps[1], 0u);
    EXPECT_EQ(caps[2], 1150000u);
    EXPECT_NE(caps[12], 0u) << "type 1: the stream filter multiplexes";
    EXPECT_EQ(ks->Get(vcap::kEncoderPropertySet, 0, nullptr, 0, caps, 300, &returned), kInsufficientBuffer);

    uint32_t pair[2] = {};
    ASSERT_EQ(ks->Get(vcap::kEncoderPropertySet, 1, nullptr, 0, pair, 8, &returned), S_OK);
    EXPECT_EQ(pair[0], 2u) << "asking for a mode's capabilities does not switch to it";
    EXPECT_EQ(pair[1], 1u);
    uint32_t vcd[2] = {3, 0};
    ASSERT_EQ(ks->Set(vcap::kEncoderPropertySet, 1, nullptr, 0, vcd, 8), S_OK);
    ASSERT_EQ(ks->Get(vcap::kEncoderPropertySet, 1, nullptr, 0, pair, 8, &returned), S_OK);
    EXPECT_EQ(pair[0], 3u) << "the mode and standard sent ahead of the block switch the encoder";
    EXPECT_EQ(pair[1], 0u);
    uint32_t badPair[2] = {5, 0};
    EXPECT_EQ(ks->Set(vcap::kEncoderPropertySet, 1, nullptr, 0, badPair, 8), kInvalidParameter);
    badPair[0] = 2;
    badPair[1] = 2;
    EXPECT_EQ(ks->Set(vcap::kEncoderPropertySet, 1, nullptr, 0, badPair, 8), kInvalidParameter);
    EXPECT_EQ(ks->Set(vcap::kEncoderPropertySet, 1, nullptr, 0, vcd, 4), kInsufficientBuffer);
    uint32_t mpeg2[2] = {2, 1};
    ASSERT_EQ(ks->Set(vcap::kEncoderPropertySet, 1, nullptr, 0, mpeg2, 8), S_OK);

    caps[0] = 2;
    caps[1] = 1;
    ASSERT_EQ(ks->Get(vcap::kEncoderPropertySet, 0, nullptr, 0, caps, 336, &returned), S_OK);
    EXPECT_EQ(caps[2], 2000000u);
    EXPECT_EQ(caps[3], 9000000u);

    vcap::EncoderParams p = {720, 576, 5000000, 15, 3, 1, 7500000, 1, 48000, 224, 1};
    ASSERT_EQ(ks->Set(vcap::kEncoderPropertySet, 2, nullptr, 0, &p, 44), S_OK);
    vcap::EncoderParams back{};
    ASSERT_EQ(ks->Get(vcap::kEncoderPropertySet, 2, nullptr, 0, &back, 44, &returned), S_OK);
    EXPECT_EQ(returned, 44u);
    EXPECT_EQ(std::memcmp(&p, &back, 44), 0);

    vcap::EncoderParams bad = p;
    bad.audSamplingFreq = 22050;
    EXPECT_EQ(ks->Set(vcap::kEncoderPropertySet, 2, nullptr, 0, &bad, 44), kInvalidParameter);
    bad = p;
    bad.bitRate = 12000000;  // above the mode's maximum
    EXPECT_EQ(ks->Set(vcap::kEncoderPropertySet, 2, nullptr, 0, &bad, 44), kInvalidParameter);
    ASSERT_EQ(ks->Get(vcap::kEncoderPropertySet, 2, nullptr, 0, &back, 44, &returned), S_OK);
    EXPECT_EQ(back.bitRate, 5000000u) << "a refused block leaves the previous one";

    uint32_t bus[3] = {};
    ASSERT_EQ(ks->Get(vcap::kBusPropertySet, 0, nullptr, 0, bus, 12, &returned), S_OK);
    EXPECT_EQ(bus[1], 2u);
    uint32_t ext[8] = {};
    EXPECT_EQ(ks->Get(vcap::kExtendedControlSet, 1, nullptr, 0, ext, 32, &returned), S_OK);
    const GUID unknownSet = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_TRUE(FAILED(ks->Get(unknownSet, 0, nullptr, 0, ext, 32, &returned)));
}

TEST_F(CardGraphTest, OlderDriverKnowsOnlyTheFortyByteBlock)
{
    const CardRecord card = Install(1, 3, vcap::Bus::Pci, 40);
    ComPtr<IKsPropertySet> ks = CaptureProperties(card);
    ASSERT_TRUE(ks);
    vcap::EncoderParams p{};
    DWORD returned = 0;
    EXPECT_EQ(ks->Get(vcap::kEncoderPropertySet, 2, nullptr, 0, &p, 44, &returned), kInsufficientBuffer);
    ASSERT_EQ(ks->Get(vcap::kEncoderPropertySet, 2, nullptr, 0, &p, 40, &returned), S_OK);
    EXPECT_EQ(returned, 40u);
    EXPECT_EQ(p.horzResolution, 720u);
    p.bitRate = 4000000;
    EXPECT_EQ(ks->Set(vcap::kEncoderPropertySet, 2, nullptr, 0, &p, 44), kInsufficientBuffer);
    EXPECT_EQ(ks->Set(vcap::kEncoderPropertySet, 2, nullptr, 0, &p, 40), S_OK);
    uint32_t caps[84] = {3, 1};
    ASSERT_EQ(ks->Get(vcap::kEncoderPropertySet, 0, nullptr, 0, caps, 336, &returned), S_OK);
    EXPECT_EQ(caps[12], 0u) << "type 3 has no multiplexing stream filter";
    uint32_t bus[3] = {};
    ASSERT_EQ(ks->Get(vcap::kBusPropertySet, 0, nullptr, 0, bus, 12, &returned), S_OK);
    EXPECT_EQ(bus[1], 0u);
}

TEST_F(CardGraphTest, EventRegistrationsAreKeptAndDropped)
{
    const CardRecord card = Install(1, 1, vcap::Bus::Usb11, 44);
    ComPtr<IKsPropertySet> ks = CaptureProperties(card);
    ASSERT_TRUE(ks);
    HANDLE ev = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    uint32_t reg[2] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(ev)), 1};
    ASSERT_EQ(ks->Set(vcap::kEventPropertySet, 3, nullptr, 0, reg, 8), S_OK);
    uint32_t back[2] = {};
    DWORD returned = 0;
    ASSERT_EQ(ks->Get(vcap::kEventPropertySet, 3, nullptr, 0, back, 8, &returned), S_OK);
    EXPECT_EQ(back[0], reg[0]);
    EXPECT_EQ(back[1], 1u);
    reg[1] = 0;
    ASSERT_EQ(ks->Set(vcap::kEventPropertySet, 3, nullptr, 0, reg, 8), S_OK);
    ASSERT_EQ(ks->Get(vcap::kEventPropertySet, 3, nullptr, 0, back, 8, &returned), S_OK);
    EXPECT_EQ(back[1], 0u);
    uint32_t junk[2] = {0x7FFFFFF0u, 1};
    EXPECT_EQ(ks->Set(vcap::kEventPropertySet, 1, nullptr, 0, junk, 8), kInvalidParameter) << "not a handle";
    EXPECT_EQ(ks->Set(vcap::kEventPropertySet, 4, nullptr, 0, reg, 8), HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
    CloseHandle(ev);
}

TEST_F(CardGraphTest, RegisteredEventsFireOnCopyProtectionAndDroppedFrames)
{
    const CardRecord card = Install(1, 1, vcap::Bus::Usb20, 44);
    const CardRecord other = Install(2, 1, vcap::Bus::Usb20, 44);
    ComPtr<IKsPropertySet> ks = CaptureProperties(card);
    ComPtr<IKsPropertySet> otherKs = CaptureProperties(other);
    ASSERT_TRUE(ks && otherKs);
    HANDLE ev[4] = {};
    for (int i = 1; i < 4; ++i) {
        ev[i] = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        uint32_t reg[2] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(ev[i])), 1};
        ASSERT_EQ(ks->Set(vcap::kEventPropertySet, static_cast<DWORD>(i), nullptr, 0, reg, 8), S_OK);
    }
    HANDLE otherDrop = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    uint32_t otherReg[2] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(otherDrop)), 1};
    ASSERT_EQ(otherKs->Set(vcap::kEventPropertySet, 3, nullptr, 0, otherReg, 8), S_OK);

    ASSERT_TRUE(vcap::SetCopyProtection(1, true));
    EXPECT_EQ(WaitForSingleObject(ev[1], 3000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(ev[2], 0), WAIT_TIMEOUT);
    ASSERT_TRUE(vcap::SetCopyProtection(1, false));
    EXPECT_EQ(WaitForSingleObject(ev[2], 3000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(ev[1], 0), WAIT_TIMEOUT);

    ASSERT_TRUE(vcap::ReportDroppedFrames(1));
    EXPECT_EQ(WaitForSingleObject(ev[3], 3000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(otherDrop, 300), WAIT_TIMEOUT) << "the other card dropped nothing";

    // Disabled (as the program does while its warning is shown): no signal.
    uint32_t off[2] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(ev[3])), 0};
    ASSERT_EQ(ks->Set(vcap::kEventPropertySet, 3, nullptr, 0, off, 8), S_OK);
    ASSERT_TRUE(vcap::ReportDroppedFrames(1));
    EXPECT_EQ(WaitForSingleObject(ev[3], 500), WAIT_TIMEOUT);
    for (HANDLE h : ev)
        if (h)
            CloseHandle(h);
    CloseHandle(otherDrop);
}

namespace {

// Polls the lock as the program's detection does; the milliseconds it took, or -1.
long PollLock(IAMAnalogVideoDecoder* d, DWORD limitMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        long locked = OAFALSE;
        if (SUCCEEDED(d->get_HorizontalLocked(&locked)) && locked == OATRUE)
            return static_cast<long>(GetTickCount() - start);
        if (GetTickCount() - start > limitMs)
            return -1;
        Sleep(20);
    }
}

}  // namespace

TEST_F(CardGraphTest, DecoderLocksOnASignalAndNeverOnADeadInput)
{
    const CardRecord card = Install(1, 1, vcap::Bus::Usb20, 44);
    ComPtr<IBaseFilter> f = Bind(card, FilterRole::Capture);
    ASSERT_TRUE(f);
    ComPtr<IAMAnalogVideoDecoder> d;
    ASSERT_EQ(f->QueryInterface(IID_IAMAnalogVideoDecoder, d.PutVoid()), S_OK);
    long formats = 0;
    ASSERT_EQ(d->get_AvailableTVFormats(&formats), S_OK);
    EXPECT_TRUE(formats & AnalogVideo_PAL_B);
    EXPECT_TRUE(formats & AnalogVideo_NTSC_M);

    long format = -1, lines = 0;
    ASSERT_EQ(d->put_TVFormat(0), S_OK);  // automatic detection
    const long took = PollLock(d.Get(), 1000);
    EXPECT_GE(took, 0) << "no lock within a second";
    EXPECT_LT(took, 1000);
    ASSERT_EQ(d->get_TVFormat(&format), S_OK);
    EXPECT_EQ(format, AnalogVideo_PAL_B);
    ASSERT_EQ(d->get_NumberOfLines(&lines), S_OK);
    EXPECT_EQ(lines, 625);

    ASSERT_TRUE(vcap::SetInputStandard(1, AnalogVideo_NTSC_M));
    ASSERT_EQ(d->put_TVFormat(0), S_OK);
    EXPECT_GE(PollLock(d.Get(), 1000), 0);
    ASSERT_EQ(d->get_TVFormat(&format), S_OK);
    EXPECT_EQ(format, AnalogVideo_NTSC_M);
    ASSERT_EQ(d->get_NumberOfLines(&lines), S_OK);
    EXPECT_EQ(lines, 525);

    // A 625-line standard forced on a 525-line input does not lock.
    ASSERT_EQ(d->put_TVFormat(AnalogVideo_PAL_B), S_OK);
    EXPECT_EQ(PollLock(d.Get(), 800), -1);

    ASSERT_TRUE(vcap::SetSignal(1, false));
    ASSERT_EQ(d->put_TVFormat(0), S_OK);
    EXPECT_EQ(PollLock(d.Get(), 1500), -1) << "a dead input never locks";
    ASSERT_EQ(d->get_TVFormat(&format), S_OK);
    EXPECT_EQ(format, 0);

    EXPECT_EQ(d->put_TVFormat(AnalogVideo_PAL_B | AnalogVideo_NTSC_M), E_INVALIDARG);
    EXPECT_EQ(d->put_TVFormat(0x200000), E_INVALIDARG);
}

TEST_F(CardGraphTest, ProcAmpHasRangesDefaultsAndRefusesOutOfRange)
{
    const CardRecord card = Install(1, 1, vcap::Bus::Usb20, 44);
    ComPtr<IBaseFilter> f = Bind(card, FilterRole::Capture);
    ASSERT_TRUE(f);
    ComPtr<IAMVideoProcAmp> amp;
    ASSERT_EQ(f->QueryInterface(IID_IAMVideoProcAmp, amp.PutVoid()), S_OK);
    long mn, mx, step, def, caps, value, flags;
    ASSERT_EQ(amp->GetRange(VideoProcAmp_Brightness, &mn, &mx, &step, &def, &caps), S_OK);
    EXPECT_EQ(mn, 0);
    EXPECT_EQ(mx, 255);
    EXPECT_EQ(def, 128);
    ASSERT_EQ(amp->Get(VideoProcAmp_Brightness, &value, &flags), S_OK);
    EXPECT_EQ(value, def);
    ASSERT_EQ(amp->GetRange(VideoProcAmp_Hue, &mn, &mx, &step, &def, &caps), S_OK);
    EXPECT_LT(mn, 0);
    EXPECT_EQ(def, 0);
    EXPECT_EQ(amp->Set(VideoProcAmp_Brightness, 300, VideoProcAmp_Flags_Manual), E_INVALIDARG);
    ASSERT_EQ(amp->Set(VideoProcAmp_Brightness, 200, VideoProcAmp_Flags_Manual), S_OK);
    ASSERT_EQ(amp->Get(VideoProcAmp_Brightness, &value, &flags), S_OK);
    EXPECT_EQ(value, 200);
    EXPECT_EQ(flags, VideoProcAmp_Flags_Manual);
    EXPECT_TRUE(FAILED(amp->GetRange(VideoProcAmp_Gain, &mn, &mx, &step, &def, &caps)));

    // The chip's register: another filter bound to the card sees the value, and the picture
    // follows it.
    ComPtr<IBaseFilter> other = Bind(card, FilterRole::Capture);
    ComPtr<IAMVideoProcAmp> otherAmp;
    ASSERT_EQ(other->QueryInterface(IID_IAMVideoProcAmp, otherAmp.PutVoid()), S_OK);
    ASSERT_EQ(otherAmp->Get(VideoProcAmp_Brightness, &value, &flags), S_OK);
    EXPECT_EQ(value, 200);
    EXPECT_EQ(vcap::CardPictureAdjust(1).brightness, 200);

    // A chip without saturation: range, value and setting all fail.
    ASSERT_TRUE(vcap::SetProcAmpMissing(1, VideoProcAmp_Saturation, true));
    EXPECT_TRUE(FAILED(amp->GetRange(VideoProcAmp_Saturation, &mn, &mx, &step, &def, &caps)));
    EXPECT_TRUE(FAILED(amp->Get(VideoProcAmp_Saturation, &value, &flags)));
    EXPECT_TRUE(FAILED(amp->Set(VideoProcAmp_Saturation, 10, VideoProcAmp_Flags_Manual)));
    ASSERT_TRUE(vcap::SetProcAmpMissing(1, VideoProcAmp_Saturation, false));
    EXPECT_EQ(amp->Set(VideoProcAmp_Saturation, 10, VideoProcAmp_Flags_Manual), S_OK);
}

// Two cards recorded at once for ten seconds of stream each into Wine's File Writer: card 1
// through its encoder filter (type 1), card 2 through the capture filter's own stream output
// (type 3). The files are checked by ffmpeg on the host (vcap_recordings_decode).
TEST_F(CardGraphTest, RecordsTenSecondsThroughTheFileWriter)
{
    struct Take {
        const char* name1;
        uint32_t mode1;
        vcap::EncoderParams p1;
        const char* name2;
        uint32_t mode2;
        vcap::EncoderParams p2;
    };
    const Take takes[] = {
        {"rec_mpeg1_mp2", 1, {352, 288, 1150000, 15, 3, 0, 1150000, 0, 44100, 224, 0},
         "rec_mpeg2_lpcm", 2, {720, 576, 4000000, 15, 3, 0, 6000000, 1, 48000, 224, 0}},
        {"rec_mpeg2_mp2", 4, {480, 576, 2500000, 12, 3, 0, 2500000, 0, 44100, 224, 0},
         "rec_mpeg1_lpcm", 3, {352, 288, 1150000, 15, 3, 0, 1150000, 1, 44100, 224, 0}},
    };
    const std::string dir = testsupport::OutputDir();
    std::ofstream manifest(dir + "streams.txt", std::ios::binary);
    for (const Take& t : takes) {
        RemoveAll();
        const CardRecord card1 = Install(1, 1, vcap::Bus::Usb20, 44);
        const CardRecord card2 = Install(2, 3, vcap::Bus::Pci, 40);
        ASSERT_EQ(Configure(CaptureProperties(card1).Get(), t.mode1, 1, t.p1), S_OK);
        ASSERT_EQ(Configure(CaptureProperties(card2).Get(), t.mode2, 1, t.p2, 40), S_OK);

        ComPtr<IGraphBuilder> graph;
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()), S_OK);
        ComPtr<IBaseFilter> sources[2] = {Bind(card1, FilterRole::Encoder),
                                          Bind(card2, FilterRole::Capture)};
        const char* names[2] = {t.name1, t.name2};
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(sources[i]);
            ASSERT_EQ(graph->AddFilter(sources[i].Get(), i == 0 ? L"Encoder" : L"Capture"), S_OK);
            ComPtr<IBaseFilter> writer;
            ASSERT_EQ(CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, writer.PutVoid()), S_OK);
            ASSERT_EQ(graph->AddFilter(writer.Get(), i == 0 ? L"Writer 1" : L"Writer 2"), S_OK);
            ComPtr<IFileSinkFilter> sink;
            ASSERT_EQ(writer.As(sink), S_OK);
            const std::string file = dir + names[i] + ".mpg";
            DeleteFileA(file.c_str());
            const std::wstring wfile(file.begin(), file.end());
            ASSERT_EQ(sink->SetFileName(wfile.c_str(), nullptr), S_OK);
            ComPtr<IPin> out = FirstOutput(sources[i].Get());
            ASSERT_TRUE(out);
            ComPtr<IPin> in;
            ComPtr<IEnumPins> pins;
            ASSERT_EQ(writer->EnumPins(pins.Put()), S_OK);
            ASSERT_EQ(pins->Next(1, in.Put(), nullptr), S_OK);
            ASSERT_EQ(graph->ConnectDirect(out.Get(), in.Get(), nullptr), S_OK);
            ComPtr<IAMStreamControl> control;
            ASSERT_EQ(out.As(control), S_OK);
            const REFERENCE_TIME stop = 10 * 10000000LL;
            ASSERT_EQ(control->StopAt(&stop, FALSE, 0), S_OK);
        }
        ComPtr<IMediaControl> mc;
        ComPtr<IMediaEvent> me;
        ASSERT_EQ(graph.As(mc), S_OK);
        ASSERT_EQ(graph->QueryInterface(IID_IMediaEvent, me.PutVoid()), S_OK);
        const DWORD started = GetTickCount();
        ASSERT_TRUE(SUCCEEDED(mc->Run()));
        long code = 0;
        EXPECT_EQ(me->WaitForCompletion(30000, &code), S_OK);
        EXPECT_EQ(code, EC_COMPLETE);
        const DWORD elapsed = GetTickCount() - started;
        mc->Stop();
        // Real time: ten seconds of stream take about ten seconds.
        EXPECT_GT(elapsed, 9500u);
        std::printf("take %s + %s ran %lu ms\n", t.name1, t.name2, static_cast<unsigned long>(elapsed));
        for (int i = 0; i < 2; ++i) {
            const vcap::EncoderParams& p = i == 0 ? t.p1 : t.p2;
            const uint32_t mode = i == 0 ? t.mode1 : t.mode2;
            manifest << names[i] << ' ' << (mode == 2 || mode == 4 ? "mpeg2video" : "mpeg1video") << ' ' << p.horzResolution
                     << ' ' << p.vertResolution << " 10 " << (p.audioType == 1 ? "pcm_dvd" : "mp2") << ' '
                     << p.audSamplingFreq << " tone\n";
        }
    }
}

// A capture driver's filters are live sources: paused, they cannot cue, and a graph that holds
// them runs at once instead of waiting for its sink to receive a first sample.
TEST_F(CardGraphTest, StreamFiltersCannotCueWhilePaused)
{
    const CardRecord card = Install(1, 1, vcap::Bus::Usb20, 44);
    ComPtr<IBaseFilter> encoder = Bind(card, FilterRole::Encoder);
    ComPtr<IBaseFilter> capture = Bind(card, FilterRole::Capture);
    ComPtr<IBaseFilter> tuner = Bind(card, FilterRole::Tuner);
    ASSERT_TRUE(encoder && capture && tuner);
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()), S_OK);
    ComPtr<IBaseFilter> writer;
    ASSERT_EQ(CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, writer.PutVoid()), S_OK);
    ComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(writer.As(sink), S_OK);
    const std::string file = testsupport::OutputDir() + "cue.mpg";
    ASSERT_EQ(sink->SetFileName(std::wstring(file.begin(), file.end()).c_str(), nullptr), S_OK);
    for (auto [f, name] : {std::pair{encoder.Get(), L"Encoder"}, {capture.Get(), L"Capture"}, {tuner.Get(), L"Tuner"},
                           {writer.Get(), L"Writer"}})
        ASSERT_EQ(graph->AddFilter(f, name), S_OK);
    ComPtr<IPin> in;
    ComPtr<IEnumPins> pins;
    ASSERT_EQ(writer->EnumPins(pins.Put()), S_OK);
    ASSERT_EQ(pins->Next(1, in.Put(), nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(FirstOutput(encoder.Get()).Get(), in.Get(), nullptr), S_OK);

    ComPtr<IMediaControl> mc;
    ASSERT_EQ(graph.As(mc), S_OK);
    FILTER_STATE fs = State_Stopped;
    EXPECT_EQ(encoder->GetState(0, &fs), S_OK) << "stopped: nothing to say";
    ASSERT_TRUE(SUCCEEDED(mc->Pause()));
    OAFilterState state = State_Stopped;
    const DWORD asked = GetTickCount();
    EXPECT_EQ(mc->GetState(5000, &state), VFW_S_CANT_CUE);
    EXPECT_LT(GetTickCount() - asked, 2000u) << "the graph does not wait for a sample";
    EXPECT_EQ(state, State_Paused);
    for (IBaseFilter* live : {encoder.Get(), capture.Get()}) {
        EXPECT_EQ(live->GetState(0, &fs), VFW_S_CANT_CUE);
        EXPECT_EQ(fs, State_Paused);
    }
    EXPECT_EQ(tuner->GetState(0, &fs), S_OK) << "the tuner carries no stream";
    ASSERT_TRUE(SUCCEEDED(mc->Run()));
    EXPECT_EQ(mc->GetState(5000, &state), S_OK);
    EXPECT_EQ(state, State_Running);
    EXPECT_EQ(encoder->GetState(0, &fs), S_OK);
    Sleep(500);
    EXPECT_EQ(mc->Stop(), S_OK);
    WIN32_FILE_ATTRIBUTE_DATA a{};
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &a));
    EXPECT_GT(a.nFileSizeLow, 0u) << "the stream flowed once the graph ran";
    for (IBaseFilter* f : {encoder.Get(), capture.Get(), tuner.Get(), writer.Get()})
        graph->RemoveFilter(f);
}
