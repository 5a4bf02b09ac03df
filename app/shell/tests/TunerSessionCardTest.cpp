// The tuner session on the virtual card's tuner, TV sound decoder and analog decoder: country
// and range, typed entry, channel up/down, choice by name, fine tuning and the TV sound mode,
// each checked against what the card's tuner holds afterwards (the scan is tested in the real
// window).
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "CardInstaller.h"
#include "CardControl.h"
#include "CrossbarModel.h"
#include "DeviceCategories.h"
#include "MediaGraph.h"
#include "TestSupport.h"
#include "TunerSession.h"
#include "TunerState.h"

namespace {

constexpr int kCard = 1;
constexpr long kGranularity = 62500;

void RemoveAllCards()
{
    std::wstring error;
    for (const vcap::CardRecord& card : vcap::LoadAllCards())
        vcap::UninstallCard(card.number, error);
}

std::string PathOf(const vcap::CardRecord& card, vcap::FilterRole role)
{
    const std::wstring& path = card.paths[static_cast<int>(role)];
    return std::string(path.begin(), path.end());
}

vcap::TunerRecord CardTuner()
{
    vcap::TunerRecord t;
    EXPECT_TRUE(vcap::LoadTuner(kCard, t));
    return t;
}

// The window's part, over a graph that holds the card's front end.
class CardHost : public shell::TunerSessionHost {
public:
    std::map<UINT_PTR, UINT> timers;
    std::vector<std::uint32_t> standards;
    std::uint32_t language = 0x0409;
    bool withTuner = true;
    int changes = 0;
    media::MediaGraph graph;
    win::ComPtr<IBaseFilter> tuner, tvAudio, crossbar, capture;

    void StartTimer(UINT_PTR id, UINT periodMs) override { timers[id] = periodMs; }
    void StopTimer(UINT_PTR id) override { timers.erase(id); }
    std::optional<tunerdev::TunerDevice> OpenTuner() override
    {
        return withTuner ? tunerdev::TunerDevice::FromGraph(graph.Graph()) : std::nullopt;
    }
    bool GraphRunning() override { return false; }
    bool SetVideoStandard(std::uint32_t standard) override
    {
        standards.push_back(standard);
        win::ComPtr<IAMAnalogVideoDecoder> decoder;
        return SUCCEEDED(capture->QueryInterface(IID_IAMAnalogVideoDecoder, decoder.PutVoid())) &&
               SUCCEEDED(decoder->put_TVFormat(static_cast<long>(standard)));
    }
    std::uint32_t SystemLanguage() override { return language; }
    void TunerChanged() override { ++changes; }
};

class TunerSessionCard : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(testsupport::RegisterTestBedFilters()); }

    void SetUp() override
    {
        RemoveAllCards();
        vcap::CardRecord card;
        std::wstring error;
        ASSERT_TRUE(vcap::InstallCard(kCard, vcap::Personality{}, card, error));
        ASSERT_TRUE(SUCCEEDED(host_.graph.CreateGraph()));
        ASSERT_TRUE(SUCCEEDED(host_.graph.AddDeviceFilterByPath(PathOf(card, vcap::FilterRole::Tuner).c_str(),
                                                                 devices::kCategoryTvTuner, host_.tuner.Put())));
        ASSERT_TRUE(SUCCEEDED(host_.graph.AddDeviceFilterByPath(PathOf(card, vcap::FilterRole::TvAudio).c_str(),
                                                                 devices::kCategoryTvAudio, host_.tvAudio.Put())));
        ASSERT_TRUE(SUCCEEDED(host_.graph.AddDeviceFilterByPath(PathOf(card, vcap::FilterRole::Crossbar).c_str(),
                                                                 devices::kCategoryCrossbar, host_.crossbar.Put())));
        ASSERT_TRUE(SUCCEEDED(host_.graph.AddDeviceFilterByPath(PathOf(card, vcap::FilterRole::Capture).c_str(),
                                                                 devices::kCategoryCapture, host_.capture.Put())));
        ASSERT_TRUE(vcap::WriteRoute(kCard, vcap::kTunerVideoInput, vcap::kTunerVideoInput + vcap::kVideoInputCount));
        // The stations of these tests only.
        for (long channel : vcap::ReadStations(kCard))
            vcap::SetStation(kCard, channel, false);
        for (long channel : {4L, 9L, 33L})
            vcap::SetStation(kCard, channel, true);
    }

    void TearDown() override
    {
        host_.tuner.Reset();
        host_.tvAudio.Reset();
        host_.crossbar.Reset();
        host_.capture.Reset();
        host_.graph.DestroyGraph();
        RemoveAllCards();
    }

    void Type(const char* digits)
    {
        for (const char* d = digits; *d; ++d)
            session_.Digit(*d - '0');
    }

    std::vector<int> Named() const
    {
        std::vector<int> named;
        for (const tuner::ChannelEntry& e : session_.Settings().CurrentList())
            if (!e.name.empty())
                named.push_back(e.number);
        return named;
    }

    static bool Settle(DWORD ms)
    {
        Sleep(ms);
        return true;
    }

    CardHost host_;
    shell::TunerSession session_{host_};
};

}  // namespace

TEST_F(TunerSessionCard, FirstStartOnUsEnglishChoosesUsaAndNtscM)
{
    ASSERT_EQ(session_.Initialise(), S_OK);
    EXPECT_EQ(session_.Settings().country, "USA");
    EXPECT_EQ(session_.Settings().videoStandard, 0x1u);
    EXPECT_EQ(host_.standards, (std::vector<std::uint32_t>{0x1}));
    EXPECT_EQ(session_.Range().minimum, 2);
    EXPECT_EQ(session_.Range().maximum, 69);
    EXPECT_EQ(CardTuner().country, 1);
    EXPECT_EQ(CardTuner().mode, 1);  // TV
    // The last channel is tuned at set-up.
    EXPECT_EQ(CardTuner().channel, 2);
}

TEST_F(TunerSessionCard, TheRangeComesFromTheTunerEvenWhenItKeptItsCountry)
{
    vcap::TunerRecord t = CardTuner();
    t.country = 44;
    ASSERT_TRUE(vcap::SaveTuner(kCard, t));
    session_.Settings().country = "United Kingdom";
    session_.Settings().videoStandard = 0x80;
    session_.Settings().lastChannel = 30;
    ASSERT_EQ(session_.Initialise(), S_OK);
    EXPECT_EQ(session_.Range().minimum, 21);
    EXPECT_EQ(session_.Range().maximum, 69);
    EXPECT_EQ(session_.Settings().videoStandard, 0x80u);
    EXPECT_EQ(CardTuner().channel, 30);
}

TEST_F(TunerSessionCard, AStoredUnknownCountryLeavesCountryAndStandard)
{
    session_.Settings().country = "Atlantis";
    session_.Settings().videoStandard = 0x10;
    session_.Initialise();
    EXPECT_EQ(session_.Settings().country, "Atlantis");
    EXPECT_EQ(session_.Settings().videoStandard, 0x10u);
    EXPECT_TRUE(host_.standards.empty());
}

TEST_F(TunerSessionCard, TypedChannelsTuneAtOnceOrWhenTheTimerExpires)
{
    ASSERT_EQ(session_.Initialise(), S_OK);
    Type("007");
    EXPECT_EQ(session_.Settings().lastChannel, 7);
    EXPECT_EQ(CardTuner().channel, 7);
    EXPECT_EQ(host_.timers.count(shell::TunerSession::kEntryTimer), 0u);

    Type("12");
    EXPECT_EQ(session_.DisplayText(), "12");
    EXPECT_EQ(CardTuner().channel, 7) << "two digits wait for a third";
    ASSERT_EQ(host_.timers.count(shell::TunerSession::kEntryTimer), 1u);
    EXPECT_EQ(host_.timers[shell::TunerSession::kEntryTimer], 3000u);
    session_.OnEntryTimer();
    EXPECT_EQ(CardTuner().channel, 12);
    EXPECT_EQ(session_.Settings().lastChannel, 12);
    EXPECT_EQ(host_.timers.count(shell::TunerSession::kEntryTimer), 0u);

    Type("999");
    EXPECT_EQ(session_.Settings().lastChannel, 12) << "above the maximum: the previous channel stays";
    EXPECT_EQ(CardTuner().channel, 12);
    EXPECT_EQ(session_.DisplayText(), "12");
}

TEST_F(TunerSessionCard, ChannelUpFromTheMaximumGoesToTheLowestNamedChannel)
{
    ASSERT_EQ(session_.Initialise(), S_OK);
    session_.CommitChannel(69);
    session_.StepChannel(1);
    EXPECT_EQ(CardTuner().channel, 2) << "no named channel: the next number";

    session_.Settings().CurrentList()[9].name = "Nine";
    session_.Settings().CurrentList()[33].name = "Thirty-three";
    session_.CommitChannel(69);
    session_.StepChannel(1);
    EXPECT_EQ(CardTuner().channel, 9);
    session_.StepChannel(1);
    EXPECT_EQ(CardTuner().channel, 33);
    session_.StepChannel(-1);
    session_.StepChannel(-1);
    EXPECT_EQ(CardTuner().channel, 33) << "down from 9 wraps to the highest named channel";
}

TEST_F(TunerSessionCard, ChoiceByNameTunesTheFirstChannelOfThatName)
{
    ASSERT_EQ(session_.Initialise(), S_OK);
    session_.Settings().CurrentList()[9].name = "News";
    session_.Settings().CurrentList()[33].name = "News";
    EXPECT_TRUE(session_.ChooseByName("News"));
    EXPECT_EQ(CardTuner().channel, 9);
    EXPECT_FALSE(session_.ChooseByName("news"));
    EXPECT_FALSE(session_.ChooseByName(" "));
    EXPECT_EQ(CardTuner().channel, 9);
}

TEST_F(TunerSessionCard, FineTuneStopsAtFiftyAndTunesBasePlusSteps)
{
    ASSERT_EQ(session_.Initialise(), S_OK);
    ASSERT_TRUE(session_.CommitChannel(9));
    const long base = CardTuner().frequency;
    ASSERT_GT(base, 0);
    EXPECT_EQ(session_.Current().frequency, static_cast<std::uint32_t>(base));
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(session_.StepFineTune(1)) << i;
    EXPECT_FALSE(session_.StepFineTune(1));
    EXPECT_EQ(session_.Current().fineTune, 50);
    EXPECT_EQ(CardTuner().frequency, base + 50 * kGranularity);
    ASSERT_TRUE(session_.StepFineTune(-1));
    EXPECT_EQ(CardTuner().frequency, base + 49 * kGranularity);

    // The fine tune belongs to the channel: leaving and coming back applies it again.
    session_.CommitChannel(4);
    EXPECT_EQ(session_.Settings().CurrentList()[4].fineTune, 0);
    session_.CommitChannel(9);
    EXPECT_EQ(CardTuner().frequency, base + 49 * kGranularity);
}

TEST_F(TunerSessionCard, SoundModesAreSetAndReadBack)
{
    ASSERT_EQ(session_.Initialise(), S_OK);
    ASSERT_EQ(session_.SetTvAudio({true, true, false}), S_OK);
    EXPECT_EQ(CardTuner().audioMode, 0x40);
    ASSERT_EQ(session_.SetTvAudio({false, false, true}), S_OK);
    EXPECT_EQ(CardTuner().audioMode, 0x12);
    session_.CommitChannel(9);
    EXPECT_FALSE(session_.TvAudio().sap);
    EXPECT_TRUE(session_.TvAudio().stereo);

    // Another program changed the card's sound: the next tune reads it back.
    vcap::TunerRecord t = CardTuner();
    t.audioMode = 0x20;
    ASSERT_TRUE(vcap::SaveTuner(kCard, t));
    session_.CommitChannel(4);
    EXPECT_TRUE(session_.TvAudio().sap);
    EXPECT_FALSE(session_.TvAudio().secondLanguage);
    EXPECT_FALSE(session_.TvAudio().stereo);
}

TEST_F(TunerSessionCard, WithoutATunerNothingChanges)
{
    host_.withTuner = false;
    session_.Settings().CurrentList()[9].name = "Nine";
    EXPECT_EQ(session_.Initialise(), E_FAIL);
    Type("007");
    EXPECT_EQ(session_.Settings().lastChannel, 2);
    EXPECT_FALSE(session_.StepFineTune(1));
    EXPECT_EQ(session_.Current().fineTune, 0);
    const tuner::ScanResult r = session_.Scan(Settle, {});
    EXPECT_EQ(r.probed, 0);
    EXPECT_EQ(Named(), (std::vector<int>{9}));
    EXPECT_EQ(session_.SetTvAudio({true, false, false}), E_FAIL);
}
