// The card's input switch as the program drives it: the crossbar's pins and routing rules,
// its connection to the capture filter by mediums, and lock detection on the routed input.
#include "CardControl.h"
#include "CardInstaller.h"
#include "CardTestSupport.h"
#include "CrossbarModel.h"
#include "FrontEnd.h"
#include "TunerState.h"
#include "KsPinInterfaces.h"

#include <win/ComPtr.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

using cardtest::ConnectByMedium;
using cardtest::MediumSets;
using cardtest::Pins;
using win::ComPtr;
using vcap::CardRecord;
using vcap::CrossbarModel;
using vcap::FilterRole;

namespace {

std::wstring PeerName(IPin* pin)
{
    ComPtr<IPin> peer;
    PIN_INFO info{};
    if (pin->ConnectedTo(peer.Put()) != S_OK || FAILED(peer->QueryPinInfo(&info)))
        return {};
    if (info.pFilter)
        info.pFilter->Release();
    return info.achName;
}

// The n-th crossbar input of a connector type, as the program finds an input for a source.
long FindInput(IAMCrossbar* xbar, long type, int n)
{
    long outs = 0, ins = 0;
    xbar->get_PinCounts(&outs, &ins);
    for (long i = 0; i < ins; ++i) {
        long related = 0, t = 0;
        if (SUCCEEDED(xbar->get_CrossbarPinInfo(TRUE, i, &related, &t)) && t == type && n-- == 0)
            return i;
    }
    return -1;
}

bool LocksWithinOneSecond(IAMAnalogVideoDecoder* dec)
{
    dec->put_TVFormat(0);
    for (int i = 0; i < 10; ++i) {
        long locked = 0;
        if (SUCCEEDED(dec->get_HorizontalLocked(&locked)) && locked)
            return true;
        Sleep(80);
    }
    return false;
}

class CrossbarTest : public cardtest::CardTest {};

}  // namespace

TEST(CrossbarModelTest, RoutesVideoToVideoAndAudioToAudioWithAudioFollowingVideo)
{
    CrossbarModel m;
    EXPECT_EQ(m.RoutedTo(vcap::kVideoOutput), vcap::kDefaultVideoInput);
    EXPECT_EQ(m.RoutedTo(vcap::kAudioOutput), vcap::CrossbarInput(vcap::kDefaultVideoInput).related);
    for (long i = 0; i < vcap::kCrossbarInputs; ++i) {
        EXPECT_EQ(CrossbarModel::CanRoute(vcap::kVideoOutput, i), vcap::IsVideoInput(i)) << i;
        EXPECT_EQ(CrossbarModel::CanRoute(vcap::kAudioOutput, i), !vcap::IsVideoInput(i)) << i;
        EXPECT_EQ(vcap::CrossbarInput(vcap::CrossbarInput(i).related).related, i) << "related pins pair up";
    }
    EXPECT_FALSE(CrossbarModel::CanRoute(2, 0));
    EXPECT_FALSE(CrossbarModel::CanRoute(vcap::kVideoOutput, vcap::kCrossbarInputs));

    ASSERT_TRUE(m.Route(vcap::kVideoOutput, 4));
    EXPECT_EQ(m.RoutedTo(vcap::kAudioOutput), vcap::CrossbarInput(4).related) << "audio follows video";
    ASSERT_TRUE(m.Route(vcap::kAudioOutput, 7));  // tuner sound behind the second S-Video picture
    EXPECT_EQ(m.RoutedTo(vcap::kVideoOutput), 4);
    EXPECT_EQ(m.RoutedTo(vcap::kAudioOutput), 7);
    EXPECT_FALSE(m.Route(vcap::kVideoOutput, 9)) << "an audio input cannot feed the video decoder";
    EXPECT_EQ(m.RoutedTo(vcap::kVideoOutput), 4) << "a refused route changes nothing";
    ASSERT_TRUE(m.Route(vcap::kVideoOutput, -1));
    EXPECT_EQ(m.RoutedTo(vcap::kVideoOutput), -1);

    m.Restore(12, 99);  // values from a damaged record
    EXPECT_EQ(m.RoutedTo(vcap::kVideoOutput), vcap::kDefaultVideoInput);
    EXPECT_EQ(m.RoutedTo(vcap::kAudioOutput), vcap::CrossbarInput(vcap::kDefaultVideoInput).related);
    EXPECT_EQ(vcap::VideoInputByKey(L"SVideo2"), 4);
    EXPECT_EQ(vcap::VideoInputByKey(L"speaker"), -1);
    EXPECT_EQ(vcap::VideoInputByKey(nullptr), -1);
}

TEST_F(CrossbarTest, InputsRoutingAndPinInformation)
{
    const CardRecord card = Install(1);
    ComPtr<IBaseFilter> f = Bind(card, FilterRole::Crossbar);
    ASSERT_TRUE(f) << "the crossbar binds through its device moniker";
    ComPtr<IAMCrossbar> xbar;
    ASSERT_EQ(f.As(xbar), S_OK);

    long outs = 0, ins = 0;
    ASSERT_EQ(xbar->get_PinCounts(&outs, &ins), S_OK);
    EXPECT_EQ(outs, 2);
    EXPECT_EQ(ins, 14);
    EXPECT_EQ(Pins(f.Get(), PINDIR_INPUT).size(), 14u);
    EXPECT_EQ(Pins(f.Get(), PINDIR_OUTPUT).size(), 2u);

    // Every source the program offers exists, with an audio input related to it.
    const struct { long type; int n; } sources[] = {
        {PhysConn_Video_SVideo, 0}, {PhysConn_Video_Composite, 0}, {PhysConn_Video_Composite, 1}, {PhysConn_Video_AUX, 0},
        {PhysConn_Video_Tuner, 0},  {PhysConn_Video_SVideo, 1},    {PhysConn_Video_YRYBY, 0}};
    for (const auto& s : sources) {
        const long in = FindInput(xbar.Get(), s.type, s.n);
        ASSERT_GE(in, 0) << "connector type " << s.type << " #" << s.n;
        long related = 0, type = 0;
        ASSERT_EQ(xbar->get_CrossbarPinInfo(TRUE, in, &related, &type), S_OK);
        long back = 0;
        ASSERT_EQ(xbar->get_CrossbarPinInfo(TRUE, related, &back, &type), S_OK);
        EXPECT_GE(type, PhysConn_Audio_Tuner) << "the related pin is an audio input";
        EXPECT_EQ(back, in);
    }
    EXPECT_EQ(FindInput(xbar.Get(), PhysConn_Video_SVideo, 2), -1);
    long related = 0, type = 0;
    EXPECT_EQ(xbar->get_CrossbarPinInfo(FALSE, 0, &related, &type), S_OK);
    EXPECT_EQ(type, PhysConn_Video_VideoDecoder);
    EXPECT_EQ(related, 1);
    EXPECT_EQ(xbar->get_CrossbarPinInfo(TRUE, 14, &related, &type), E_INVALIDARG);
    EXPECT_EQ(xbar->get_CrossbarPinInfo(TRUE, 0, nullptr, &type), E_POINTER);

    // The program's routing: the first output that can take the input, then audio follows.
    const long svideo2 = FindInput(xbar.Get(), PhysConn_Video_SVideo, 1);
    EXPECT_EQ(xbar->CanRoute(1, svideo2), S_FALSE);
    EXPECT_EQ(xbar->CanRoute(0, svideo2), S_OK);
    ASSERT_EQ(xbar->Route(0, svideo2), S_OK);
    long routed = -1;
    ASSERT_EQ(xbar->get_IsRoutedTo(0, &routed), S_OK);
    EXPECT_EQ(routed, svideo2);
    xbar->get_CrossbarPinInfo(TRUE, svideo2, &related, &type);
    ASSERT_EQ(xbar->Route(1, related), S_OK);
    ASSERT_EQ(xbar->get_IsRoutedTo(1, &routed), S_OK);
    EXPECT_EQ(routed, related);

    EXPECT_TRUE(FAILED(xbar->Route(0, related))) << "audio into the video decoder";
    EXPECT_EQ(xbar->Route(2, 0), E_INVALIDARG);
    EXPECT_EQ(xbar->get_IsRoutedTo(2, &routed), E_INVALIDARG);
    EXPECT_EQ(xbar->get_IsRoutedTo(0, nullptr), E_POINTER);

    // The route is the card's: a crossbar bound again sees the switch where it was left.
    f.Reset();
    xbar.Reset();
    ComPtr<IBaseFilter> again = Bind(card, FilterRole::Crossbar);
    ASSERT_TRUE(again);
    ASSERT_EQ(again.As(xbar), S_OK);
    ASSERT_EQ(xbar->get_IsRoutedTo(0, &routed), S_OK);
    EXPECT_EQ(routed, svideo2);
}

TEST_F(CrossbarTest, ConnectsToItsOwnCaptureFilterByMediums)
{
    const CardRecord card1 = Install(1);
    const CardRecord card2 = Install(2);
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()), S_OK);
    ComPtr<IBaseFilter> xbar1 = Bind(card1, FilterRole::Crossbar);
    ComPtr<IBaseFilter> capture1 = Bind(card1, FilterRole::Capture);
    ComPtr<IBaseFilter> capture2 = Bind(card2, FilterRole::Capture);
    ASSERT_TRUE(xbar1 && capture1 && capture2);
    ASSERT_EQ(graph->AddFilter(xbar1.Get(), L"Crossbar"), S_OK);
    ASSERT_EQ(graph->AddFilter(capture1.Get(), L"Capture"), S_OK);
    ASSERT_EQ(graph->AddFilter(capture2.Get(), L"Capture 2"), S_OK);

    EXPECT_EQ(ConnectByMedium(graph.Get(), xbar1.Get(), capture2.Get()), E_FAIL) << "another card's wires";
    ASSERT_EQ(ConnectByMedium(graph.Get(), xbar1.Get(), capture1.Get()), S_OK);
    const std::vector<ComPtr<IPin>> outs = Pins(xbar1.Get(), PINDIR_OUTPUT);
    ASSERT_EQ(outs.size(), 2u);
    EXPECT_EQ(PeerName(outs[0].Get()), L"Analog Video In");
    EXPECT_EQ(PeerName(outs[1].Get()), L"Analog Audio In");
    AM_MEDIA_TYPE mt{};
    ASSERT_EQ(outs[1]->ConnectionMediaType(&mt), S_OK);
    EXPECT_EQ(mt.majortype, MEDIATYPE_AnalogAudio);
    EXPECT_EQ(ConnectByMedium(graph.Get(), xbar1.Get(), capture1.Get()), E_FAIL) << "nothing left to connect";

    // The tuner's wires end on the crossbar's tuner inputs; the sockets carry the standard medium.
    for (const ComPtr<IPin>& in : Pins(xbar1.Get(), PINDIR_INPUT)) {
        PIN_INFO info{};
        ASSERT_EQ(in->QueryPinInfo(&info), S_OK);
        info.pFilter->Release();
        const bool tuner = std::wcsstr(info.achName, L"Tuner") != nullptr;
        EXPECT_EQ(MediumSets(in.Get()).size(), tuner ? 1u : 0u) << "pin " << std::string(info.achName, info.achName + wcslen(info.achName));
    }

    ComPtr<IKsControl> control;
    ASSERT_EQ(xbar1->QueryInterface(vcap::kIidKsControl, control.PutVoid()), S_OK);
    KSP_PIN prop{};
    prop.Property.Set = vcap::kPropSetPin;
    prop.Property.Id = KSPROPERTY_PIN_NECESSARYINSTANCES;
    prop.Property.Flags = KSPROPERTY_TYPE_GET;
    prop.PinId = 99;
    ULONG value = 0, returned = 0;
    EXPECT_TRUE(FAILED(control->KsProperty(&prop.Property, sizeof prop, &value, sizeof value, &returned))) << "no pin 99";
    prop.PinId = 15;
    EXPECT_EQ(control->KsProperty(&prop.Property, sizeof prop, &value, 2, &returned), HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
    graph->RemoveFilter(xbar1.Get());
    graph->RemoveFilter(capture1.Get());
    graph->RemoveFilter(capture2.Get());
}

TEST_F(CrossbarTest, DecoderLocksOnlyOnARoutedInputWithASignal)
{
    const CardRecord card = Install(1);
    ComPtr<IBaseFilter> xf = Bind(card, FilterRole::Crossbar);
    ComPtr<IBaseFilter> cf = Bind(card, FilterRole::Capture);
    ComPtr<IAMCrossbar> xbar;
    ComPtr<IAMAnalogVideoDecoder> dec;
    ASSERT_TRUE(xf && cf);
    ASSERT_EQ(xf.As(xbar), S_OK);
    ASSERT_EQ(cf->QueryInterface(IID_IAMAnalogVideoDecoder, dec.PutVoid()), S_OK);

    ASSERT_TRUE(vcap::SetSignal(1, false));
    const long svideo1 = FindInput(xbar.Get(), PhysConn_Video_SVideo, 0);
    const long composite1 = FindInput(xbar.Get(), PhysConn_Video_Composite, 0);
    ASSERT_TRUE(vcap::SetInputSignal(1, svideo1, true));
    ASSERT_TRUE(vcap::SetInputStandard(1, svideo1, 0x1));  // NTSC M on S-Video, PAL B elsewhere

    ASSERT_EQ(xbar->Route(0, composite1), S_OK);
    EXPECT_FALSE(LocksWithinOneSecond(dec.Get())) << "no signal on composite";
    long format = -1;
    ASSERT_EQ(dec->get_TVFormat(&format), S_OK);
    EXPECT_EQ(format, 0) << "still searching";

    ASSERT_EQ(xbar->Route(0, svideo1), S_OK);
    EXPECT_TRUE(LocksWithinOneSecond(dec.Get()));
    ASSERT_EQ(dec->get_TVFormat(&format), S_OK);
    EXPECT_EQ(format, 0x1) << "the S-Video input's own standard";
    long lines = 0;
    ASSERT_EQ(dec->get_NumberOfLines(&lines), S_OK);
    EXPECT_EQ(lines, 525);

    // Switching inputs makes the decoder settle again, even with the standard fixed.
    ASSERT_EQ(dec->put_TVFormat(0x1), S_OK);
    ASSERT_EQ(xbar->Route(0, composite1), S_OK);
    ASSERT_TRUE(vcap::SetInputSignal(1, composite1, true));
    ASSERT_TRUE(vcap::SetInputStandard(1, composite1, 0x1));
    long locked = OATRUE;
    ASSERT_EQ(dec->get_HorizontalLocked(&locked), S_OK);
    EXPECT_EQ(locked, OAFALSE) << "not at the instant of the switch";
    bool lockedLater = false;
    for (int i = 0; i < 10 && !lockedLater; ++i) {
        Sleep(80);
        lockedLater = SUCCEEDED(dec->get_HorizontalLocked(&locked)) && locked;
    }
    EXPECT_TRUE(lockedLater);

    ASSERT_EQ(xbar->Route(0, -1), S_OK);
    EXPECT_FALSE(LocksWithinOneSecond(dec.Get())) << "nothing routed to the decoder";
}

TEST(FrontEndTest, CaptionsNameTheInputsAndStandards)
{
    EXPECT_EQ(vcap::InputCaption(vcap::kDefaultVideoInput), "COMPOSITE 1");
    EXPECT_EQ(vcap::InputCaption(vcap::kTunerVideoInput), "TUNER");
    EXPECT_EQ(vcap::InputCaption(4), "SVIDEO 2");
    EXPECT_EQ(vcap::InputCaption(-1), "NONE");
    EXPECT_EQ(vcap::InputCaption(9), "NONE") << "an audio input feeds no picture";
    EXPECT_EQ(vcap::StandardCaption(0x10), "PAL B");
    EXPECT_EQ(vcap::StandardCaption(0x1), "NTSC M");
    EXPECT_EQ(vcap::StandardCaption(0x80000), "SECAM L1");
    EXPECT_EQ(vcap::StandardCaption(0x11), "UNKNOWN") << "one standard at a time";
}

// What the capture chip (and so the encoder's picture) gets: the routed input's own signal and
// standard; from the tuner, a picture only on a station, in the country's standard.
TEST_F(CrossbarTest, RoutedVideoIsTheRoutedInputsSignal)
{
    Install(1);
    vcap::RoutedVideo r = vcap::ReadRoutedVideo(1, GetTickCount());
    EXPECT_EQ(r.input, vcap::kDefaultVideoInput);
    EXPECT_TRUE(r.state.signal);
    EXPECT_EQ(r.state.standard, 0x10);

    ASSERT_TRUE(vcap::SetInputSignal(1, 2, false));
    ASSERT_TRUE(vcap::SetInputStandard(1, 2, 0x1));
    ASSERT_TRUE(vcap::WriteRoute(1, 2, 9));
    r = vcap::ReadRoutedVideo(1, GetTickCount());
    EXPECT_EQ(r.input, 2);
    EXPECT_FALSE(r.state.signal);
    EXPECT_EQ(r.state.standard, 0x1);

    ASSERT_TRUE(vcap::WriteRoute(1, -1, 9));
    EXPECT_FALSE(vcap::ReadRoutedVideo(1, GetTickCount()).state.signal) << "nothing routed";

    ASSERT_TRUE(vcap::WriteRoute(1, vcap::kTunerVideoInput, 7));
    vcap::TunerRecord tuner;
    ASSERT_TRUE(vcap::LoadTuner(1, tuner));
    ASSERT_TRUE(vcap::SetStation(1, tuner.channel, false));
    const DWORD settled = GetTickCount() + 1000;  // long after any retune
    EXPECT_FALSE(vcap::ReadRoutedVideo(1, settled).state.signal) << "noise between stations";
    ASSERT_TRUE(vcap::SetStation(1, tuner.channel, true));
    r = vcap::ReadRoutedVideo(1, settled);
    EXPECT_TRUE(r.state.signal);
    EXPECT_EQ(r.state.standard, vcap::ModelOf(tuner).CountryRow().standard);
    EXPECT_EQ(vcap::RoutedCaption(r), "TUNER CH " + std::to_string(tuner.channel)) << "the picture names the channel";
    ASSERT_TRUE(vcap::WriteRoute(1, 2, 9));
    EXPECT_EQ(vcap::RoutedCaption(vcap::ReadRoutedVideo(1, settled)), "SVIDEO 1");
}
