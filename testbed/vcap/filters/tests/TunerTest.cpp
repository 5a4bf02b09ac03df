// The card's tuner as the program's channel code drives it: IAMTVTuner, the tuner property
// set, and the channel map that decides which channels carry a station.
#include "CardControl.h"
#include "CardInstaller.h"
#include "CardTestSupport.h"
#include "CrossbarModel.h"
#include "KsPinInterfaces.h"
#include "TunerState.h"

#include <win/ComPtr.h>

#include <gtest/gtest.h>

using win::ComPtr;
using vcap::CardRecord;
using vcap::FilterRole;
using vcap::TunerModel;

namespace {

const HRESULT kInvalidParameter = HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);

// The program's tune with signal check: STATUS until not busy, +-2 means no station.
bool TuneWithSignal(IAMTVTuner* tuner, IKsPropertySet* ks, long channel, long& pll)
{
    if (FAILED(tuner->put_Channel(channel, -1, -1)))
        return false;
    for (int i = 0; i < 10; ++i) {
        KSPROPERTY_TUNER_STATUS_S status{};
        DWORD returned = 0;
        if (FAILED(ks->Get(vcap::kPropSetTuner, KSPROPERTY_TUNER_STATUS, &status.Property + 1,
                           sizeof status - sizeof(KSPROPERTY), &status, sizeof status, &returned)))
            return false;
        if (!status.Busy) {
            pll = static_cast<long>(status.PLLOffset);
            return true;
        }
        Sleep(50);
    }
    return false;
}

class TunerTest : public cardtest::CardTest {};

}  // namespace

TEST(TunerModelTest, ChannelPlansStationsAndThePll)
{
    EXPECT_EQ(vcap::ChannelFrequency(vcap::ChannelPlan::UsBroadcast, 2), 55250000);
    EXPECT_EQ(vcap::ChannelFrequency(vcap::ChannelPlan::UsBroadcast, 7), 175250000);
    EXPECT_EQ(vcap::ChannelFrequency(vcap::ChannelPlan::UsBroadcast, 14), 471250000);
    EXPECT_EQ(vcap::ChannelFrequency(vcap::ChannelPlan::UsBroadcast, 70), 0);
    EXPECT_EQ(vcap::ChannelFrequency(vcap::ChannelPlan::EuropeBroadcast, 21), 471250000);
    EXPECT_EQ(vcap::ChannelFrequency(vcap::ChannelPlan::EuropeBroadcast, 15), 0) << "no channel 13-20 in the plan";
    vcap::CountryInfo c;
    EXPECT_FALSE(vcap::FindCountry(999, c));
    ASSERT_TRUE(vcap::FindCountry(44, c));
    EXPECT_EQ(c.minChannel, 21);

    TunerModel m(1);
    const std::set<long> stations = {3, 5};
    ASSERT_TRUE(m.TuneChannel(3, 1000));
    EXPECT_TRUE(m.Status(1000, stations).busy) << "the PLL settles first";
    EXPECT_FALSE(m.HasSignal(1000, stations));
    EXPECT_FALSE(m.Status(1000 + vcap::kTunerSettleMs, stations).busy);
    EXPECT_EQ(m.Status(2000, stations).pllOffset, 0);
    EXPECT_TRUE(m.HasSignal(2000, stations));

    ASSERT_TRUE(m.TuneChannel(4, 3000));
    EXPECT_EQ(std::labs(m.Status(4000, stations).pllOffset), 2) << "a dead channel";
    EXPECT_FALSE(m.HasSignal(4000, stations));

    // Fine tuning near a station: the PLL still follows it; far off it loses it.
    ASSERT_TRUE(m.TuneFrequency(vcap::ChannelFrequency(vcap::ChannelPlan::UsBroadcast, 5) + 2 * vcap::kTunerGranularityHz, 5000));
    EXPECT_EQ(m.Status(6000, stations).pllOffset, 1);
    EXPECT_TRUE(m.HasSignal(6000, stations));
    ASSERT_TRUE(m.TuneFrequency(vcap::ChannelFrequency(vcap::ChannelPlan::UsBroadcast, 5) - 10 * vcap::kTunerGranularityHz, 7000));
    EXPECT_FALSE(m.HasSignal(8000, stations));

    EXPECT_FALSE(m.TuneChannel(1, 9000)) << "below the country's range";
    EXPECT_FALSE(m.TuneFrequency(10000000, 9000)) << "below the tuner's band";
    EXPECT_EQ(m.Channel(), 4);

    std::set<long> parsed;
    EXPECT_TRUE(vcap::ParseChannelList(L"3,5,12", parsed));
    EXPECT_EQ(parsed, (std::set<long>{3, 5, 12}));
    EXPECT_EQ(vcap::FormatChannelList(parsed), L"3,5,12");
    EXPECT_FALSE(vcap::ParseChannelList(L"3;5", parsed));
    EXPECT_FALSE(vcap::ParseChannelList(L"300", parsed));
    EXPECT_TRUE(vcap::ParseChannelList(L"", parsed));
    EXPECT_TRUE(parsed.empty());
}

TEST_F(TunerTest, CountriesInputsChannelsAndFrequency)
{
    const CardRecord card = Install(1);
    ComPtr<IBaseFilter> f = Bind(card, FilterRole::Tuner);
    ASSERT_TRUE(f) << "the tuner binds through its device moniker";
    ComPtr<IAMTVTuner> tuner;
    ASSERT_EQ(f->QueryInterface(IID_IAMTVTuner, tuner.PutVoid()), S_OK);

    AMTunerModeType mode = AMTUNER_MODE_DEFAULT;
    ASSERT_EQ(tuner->put_Mode(AMTUNER_MODE_TV), S_OK);
    ASSERT_EQ(tuner->get_Mode(&mode), S_OK);
    EXPECT_EQ(mode, AMTUNER_MODE_TV);
    EXPECT_EQ(tuner->put_Mode(AMTUNER_MODE_FM_RADIO), E_INVALIDARG);

    long min = 0, max = 0, code = 0;
    ASSERT_EQ(tuner->put_CountryCode(49), S_OK);
    ASSERT_EQ(tuner->get_CountryCode(&code), S_OK);
    EXPECT_EQ(code, 49);
    ASSERT_EQ(tuner->ChannelMinMax(&min, &max), S_OK);
    EXPECT_EQ(min, 2);
    EXPECT_EQ(max, 69);
    ASSERT_EQ(tuner->put_CountryCode(44), S_OK);
    ASSERT_EQ(tuner->ChannelMinMax(&min, &max), S_OK);
    EXPECT_EQ(min, 21);
    EXPECT_EQ(tuner->put_CountryCode(999), E_INVALIDARG);
    ASSERT_EQ(tuner->get_CountryCode(&code), S_OK);
    EXPECT_EQ(code, 44) << "a refused country leaves the tuner as it was";
    ASSERT_EQ(tuner->put_CountryCode(1), S_OK);

    long inputs = 0;
    ASSERT_EQ(tuner->get_NumInputConnections(&inputs), S_OK);
    EXPECT_EQ(inputs, 2);
    TunerInputType type = TunerInputCable;
    ASSERT_EQ(tuner->put_InputType(0, TunerInputAntenna), S_OK);
    ASSERT_EQ(tuner->get_InputType(0, &type), S_OK);
    EXPECT_EQ(type, TunerInputAntenna);
    EXPECT_EQ(tuner->get_InputType(2, &type), E_INVALIDARG);
    long connected = -1;
    ASSERT_EQ(tuner->put_ConnectInput(0), S_OK);
    ASSERT_EQ(tuner->get_ConnectInput(&connected), S_OK);
    EXPECT_EQ(connected, 0);
    EXPECT_EQ(tuner->put_ConnectInput(5), E_INVALIDARG);

    long hz = 0, ch = 0, vsub = 0, asub = 0;
    ASSERT_EQ(tuner->put_Channel(7, -1, -1), S_OK);
    ASSERT_EQ(tuner->get_VideoFrequency(&hz), S_OK);
    EXPECT_EQ(hz, 175250000);
    ASSERT_EQ(tuner->get_Channel(&ch, &vsub, &asub), S_OK);
    EXPECT_EQ(ch, 7);
    EXPECT_EQ(tuner->put_Channel(70, -1, -1), E_INVALIDARG);
    ASSERT_EQ(tuner->get_VideoFrequency(&hz), S_OK);
    EXPECT_EQ(hz, 175250000) << "a refused channel keeps the tuned one";

    // The tuner's wires lead to the crossbar's tuner inputs.
    ComPtr<IBaseFilter> xbar = Bind(card, FilterRole::Crossbar);
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()), S_OK);
    ASSERT_EQ(graph->AddFilter(f.Get(), L"Tuner"), S_OK);
    ASSERT_EQ(graph->AddFilter(xbar.Get(), L"Crossbar"), S_OK);
    EXPECT_EQ(cardtest::ConnectByMedium(graph.Get(), f.Get(), xbar.Get()), S_OK);
    const auto outs = cardtest::Pins(f.Get(), PINDIR_OUTPUT);
    ASSERT_EQ(outs.size(), 2u);
    ComPtr<IPin> peer;
    EXPECT_EQ(outs[0]->ConnectedTo(peer.Put()), S_OK) << "video to the crossbar's tuner input";
    EXPECT_EQ(outs[1]->ConnectedTo(peer.Put()), VFW_E_NOT_CONNECTED) << "tuner sound goes through the TV audio chip";
    graph->RemoveFilter(f.Get());
    graph->RemoveFilter(xbar.Get());
}

TEST_F(TunerTest, PropertySetCapsFrequencyStatusAndStandard)
{
    const CardRecord card = Install(1);
    ComPtr<IBaseFilter> f = Bind(card, FilterRole::Tuner);
    ASSERT_TRUE(f);
    ComPtr<IAMTVTuner> tuner;
    ComPtr<IKsPropertySet> ks;
    ASSERT_EQ(f->QueryInterface(IID_IAMTVTuner, tuner.PutVoid()), S_OK);
    ASSERT_EQ(f->QueryInterface(IID_IKsPropertySet, ks.PutVoid()), S_OK);
    DWORD support = 0, returned = 0;
    ASSERT_EQ(ks->QuerySupported(vcap::kPropSetTuner, KSPROPERTY_TUNER_FREQUENCY, &support), S_OK);
    EXPECT_EQ(support, DWORD(KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET));

    KSPROPERTY_TUNER_MODE_CAPS_S caps{};
    caps.Mode = KSPROPERTY_TUNER_MODE_TV;
    ASSERT_EQ(ks->Get(vcap::kPropSetTuner, KSPROPERTY_TUNER_MODE_CAPS, &caps.Mode, sizeof caps - sizeof(KSPROPERTY), &caps,
                      sizeof caps, &returned), S_OK);
    EXPECT_EQ(returned, sizeof caps);
    EXPECT_EQ(caps.TuningGranularity, 62500u);
    EXPECT_TRUE(caps.StandardsSupported & 0x1);
    EXPECT_TRUE(caps.StandardsSupported & 0x10);
    EXPECT_EQ(ks->Get(vcap::kPropSetTuner, KSPROPERTY_TUNER_MODE_CAPS, nullptr, 0, &caps, 20, &returned),
              HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
    caps.Mode = KSPROPERTY_TUNER_MODE_FM_RADIO;
    EXPECT_EQ(ks->Get(vcap::kPropSetTuner, KSPROPERTY_TUNER_MODE_CAPS, nullptr, 0, &caps, sizeof caps, &returned), kInvalidParameter);

    // Stations from the channel map: 3 and 5 carry one, 4 does not until the map says so.
    ASSERT_EQ(tuner->put_CountryCode(1), S_OK);
    ASSERT_TRUE(vcap::SetStation(1, 3, true));
    ASSERT_TRUE(vcap::SetStation(1, 4, false));
    long pll = 99;
    ASSERT_TRUE(TuneWithSignal(tuner.Get(), ks.Get(), 3, pll));
    EXPECT_EQ(pll, 0);
    ASSERT_TRUE(TuneWithSignal(tuner.Get(), ks.Get(), 4, pll));
    EXPECT_EQ(std::labs(pll), 2);
    ASSERT_TRUE(vcap::SetStation(1, 4, true));
    ASSERT_TRUE(TuneWithSignal(tuner.Get(), ks.Get(), 4, pll));
    EXPECT_EQ(pll, 0);

    // Fine tuning: read the frequency, set it a granularity step higher, exact.
    KSPROPERTY_TUNER_FREQUENCY_S freq{};
    ASSERT_EQ(ks->Get(vcap::kPropSetTuner, KSPROPERTY_TUNER_FREQUENCY, &freq.Frequency, sizeof freq - sizeof(KSPROPERTY), &freq,
                      sizeof freq, &returned), S_OK);
    EXPECT_EQ(freq.Frequency, 67250000u);
    freq.Frequency += caps.TuningGranularity;
    freq.TuningFlags = KS_TUNER_TUNING_EXACT;
    ASSERT_EQ(ks->Set(vcap::kPropSetTuner, KSPROPERTY_TUNER_FREQUENCY, &freq.Frequency, sizeof freq - sizeof(KSPROPERTY), &freq,
                      sizeof freq), S_OK);
    long hz = 0;
    ASSERT_EQ(tuner->get_VideoFrequency(&hz), S_OK);
    EXPECT_EQ(hz, 67312500);
    freq.Frequency = 1000;
    EXPECT_EQ(ks->Set(vcap::kPropSetTuner, KSPROPERTY_TUNER_FREQUENCY, nullptr, 0, &freq, sizeof freq), kInvalidParameter);

    // The standard: the full structure or the bare value; one known standard at a time.
    KSPROPERTY_TUNER_STANDARD_S std{};
    std.Standard = 0x10;
    ASSERT_EQ(ks->Set(vcap::kPropSetTuner, KSPROPERTY_TUNER_STANDARD, nullptr, 0, &std, sizeof std), S_OK);
    ULONG bare[2] = {};
    ASSERT_EQ(ks->Get(vcap::kPropSetTuner, KSPROPERTY_TUNER_STANDARD, nullptr, 0, bare, sizeof bare, &returned), S_OK);
    EXPECT_EQ(bare[0], 0x10u);
    bare[0] = 0x11;
    EXPECT_EQ(ks->Set(vcap::kPropSetTuner, KSPROPERTY_TUNER_STANDARD, nullptr, 0, bare, sizeof bare), kInvalidParameter);
    long format = 0;
    ASSERT_EQ(tuner->get_TVFormat(&format), S_OK);
    EXPECT_EQ(format, 0x10);
}

TEST_F(TunerTest, DecoderLocksOnATunedStationOnly)
{
    const CardRecord card = Install(1);
    ComPtr<IBaseFilter> tf = Bind(card, FilterRole::Tuner);
    ComPtr<IBaseFilter> xf = Bind(card, FilterRole::Crossbar);
    ComPtr<IBaseFilter> cf = Bind(card, FilterRole::Capture);
    ASSERT_TRUE(tf && xf && cf);
    ComPtr<IAMTVTuner> tuner;
    ComPtr<IAMCrossbar> xbar;
    ComPtr<IAMAnalogVideoDecoder> dec;
    ASSERT_EQ(tf->QueryInterface(IID_IAMTVTuner, tuner.PutVoid()), S_OK);
    ASSERT_EQ(xf->QueryInterface(IID_IAMCrossbar, xbar.PutVoid()), S_OK);
    ASSERT_EQ(cf->QueryInterface(IID_IAMAnalogVideoDecoder, dec.PutVoid()), S_OK);
    ASSERT_EQ(xbar->Route(0, vcap::kTunerVideoInput), S_OK);
    ASSERT_EQ(tuner->put_CountryCode(1), S_OK);
    ASSERT_TRUE(vcap::SetStation(1, 5, true));
    ASSERT_TRUE(vcap::SetStation(1, 6, false));

    auto locks = [&] {
        dec->put_TVFormat(0);
        for (int i = 0; i < 12; ++i) {
            long locked = 0;
            if (SUCCEEDED(dec->get_HorizontalLocked(&locked)) && locked)
                return true;
            Sleep(80);
        }
        return false;
    };
    ASSERT_EQ(tuner->put_Channel(6, -1, -1), S_OK);
    EXPECT_FALSE(locks()) << "no station on channel 6";
    ASSERT_EQ(tuner->put_Channel(5, -1, -1), S_OK);
    EXPECT_TRUE(locks());
    long format = 0;
    ASSERT_EQ(dec->get_TVFormat(&format), S_OK);
    EXPECT_EQ(format, 0x1) << "the USA's stations send NTSC M";
}

TEST(TvAudioModeTest, OneChannelChoiceAndOneLanguageAtMost)
{
    for (long mode : {0x11L, 0x12L, 0x20L, 0x40L, 0x01L, 0x22L})
        EXPECT_TRUE(vcap::IsValidTvAudioMode(mode)) << mode;
    for (long mode : {0L, 0x03L, 0x30L, 0x13L, 0x80L, 0x104L})
        EXPECT_FALSE(vcap::IsValidTvAudioMode(mode)) << mode;
    EXPECT_EQ(vcap::AvailableTvAudioModes(false), 0x11);
}

TEST_F(TunerTest, TvAudioModesFollowTheStationAndSitBetweenTunerAndCrossbar)
{
    const CardRecord card = Install(1);
    ComPtr<IBaseFilter> af = Bind(card, FilterRole::TvAudio);
    ComPtr<IBaseFilter> tf = Bind(card, FilterRole::Tuner);
    ComPtr<IBaseFilter> xf = Bind(card, FilterRole::Crossbar);
    ASSERT_TRUE(af && tf && xf) << "the TV audio filter binds through its device moniker";
    ComPtr<IAMTVAudio> audio;
    ComPtr<IAMTVTuner> tuner;
    ASSERT_EQ(af->QueryInterface(IID_IAMTVAudio, audio.PutVoid()), S_OK);
    ASSERT_EQ(tf->QueryInterface(IID_IAMTVTuner, tuner.PutVoid()), S_OK);

    long modes = 0, mode = 0;
    ASSERT_EQ(audio->GetHardwareSupportedTVAudioModes(&modes), S_OK);
    EXPECT_EQ(modes, 0x73);
    ASSERT_EQ(tuner->put_CountryCode(1), S_OK);
    ASSERT_TRUE(vcap::SetStation(1, 5, true));
    ASSERT_TRUE(vcap::SetStation(1, 6, false));
    ASSERT_EQ(tuner->put_Channel(5, -1, -1), S_OK);
    Sleep(vcap::kTunerSettleMs + 30);
    ASSERT_EQ(audio->GetAvailableTVAudioModes(&modes), S_OK);
    EXPECT_EQ(modes & 0x22, 0x22) << "stereo and a second language on a station";
    ASSERT_EQ(tuner->put_Channel(6, -1, -1), S_OK);
    Sleep(vcap::kTunerSettleMs + 30);
    ASSERT_EQ(audio->GetAvailableTVAudioModes(&modes), S_OK);
    EXPECT_EQ(modes, 0x11) << "noise decodes as mono";

    // The modes the program puts: SAP second language, SAP, stereo, mono.
    for (long m : {0x40L, 0x20L, 0x12L, 0x11L}) {
        ASSERT_EQ(audio->put_TVAudioMode(m), S_OK);
        ASSERT_EQ(audio->get_TVAudioMode(&mode), S_OK);
        EXPECT_EQ(mode, m);
    }
    EXPECT_EQ(audio->put_TVAudioMode(0x33), E_INVALIDARG);
    ASSERT_EQ(audio->get_TVAudioMode(&mode), S_OK);
    EXPECT_EQ(mode, 0x11) << "a refused mode leaves the decoder as it was";
    EXPECT_EQ(audio->get_TVAudioMode(nullptr), E_POINTER);

    // Tuner sound into the TV audio chip, its output into the crossbar's tuner audio input.
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()), S_OK);
    ASSERT_EQ(graph->AddFilter(tf.Get(), L"Tuner"), S_OK);
    ASSERT_EQ(graph->AddFilter(af.Get(), L"TV Audio"), S_OK);
    ASSERT_EQ(graph->AddFilter(xf.Get(), L"Crossbar"), S_OK);
    EXPECT_EQ(cardtest::ConnectByMedium(graph.Get(), tf.Get(), af.Get()), S_OK);
    EXPECT_EQ(cardtest::ConnectByMedium(graph.Get(), tf.Get(), xf.Get()), S_OK);
    EXPECT_EQ(cardtest::ConnectByMedium(graph.Get(), af.Get(), xf.Get()), S_OK);
    long connected = 0;
    for (const auto& p : cardtest::Pins(xf.Get(), PINDIR_INPUT)) {
        ComPtr<IPin> peer;
        connected += p->ConnectedTo(peer.Put()) == S_OK;
    }
    EXPECT_EQ(connected, 2) << "the crossbar's tuner video and tuner audio inputs";
    graph->RemoveFilter(tf.Get());
    graph->RemoveFilter(af.Get());
    graph->RemoveFilter(xf.Get());
}
