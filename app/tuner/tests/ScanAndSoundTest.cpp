#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ChannelScan.h"
#include "TvAudioMode.h"

using namespace tuner;

TEST(ScanChannelName, PadsOneDigitNumbersAndRightAlignsInThree)
{
    EXPECT_EQ(ScanChannelName(5), "Channel  05");
    EXPECT_EQ(ScanChannelName(4), "Channel  04");
    EXPECT_EQ(ScanChannelName(12), "Channel  12");
    EXPECT_EQ(ScanChannelName(123), "Channel 123");
    EXPECT_EQ(ScanChannelName(0), "Channel  00");
}

namespace {

struct FakeAir {
    std::set<int> stations;
    int cancelAt = -1;        // the probe of this channel reports a cancel
    int cancelBefore = -1;    // the user cancels before this channel is probed
    std::vector<int> probed;
    std::vector<int> progressed;

    ScanProbe Probe()
    {
        ScanProbe p;
        p.probe = [this](int channel) -> std::optional<bool> {
            probed.push_back(channel);
            if (channel == cancelAt)
                return std::nullopt;
            return stations.count(channel) > 0;
        };
        p.cancelled = [this] { return !probed.empty() && probed.back() + 1 == cancelBefore; };
        p.progress = [this](int channel, bool) { progressed.push_back(channel); };
        return p;
    }
};

std::vector<int> Named(const ChannelList& list)
{
    std::vector<int> named;
    for (const ChannelEntry& e : list)
        if (!e.name.empty())
            named.push_back(e.number);
    return named;
}

}  // namespace

TEST(ScanChannels, NamesExactlyTheChannelsWithASignalAndClearsTheRest)
{
    ChannelList list = EmptyChannelList();
    list[7].name = "Old seven";  // no signal any more: loses its name
    list[9].name = "News";       // found again: keeps the user's name
    list[9].fineTune = 12;
    list[9].frequency = 187250000;
    list[150].name = "Beyond";   // outside the range: untouched
    FakeAir air{{4, 9, 33}};
    const ScanResult r = ScanChannels(list, ChannelRange{2, 69}, air.Probe());
    EXPECT_FALSE(r.cancelled);
    EXPECT_EQ(r.probed, 68);
    EXPECT_EQ(r.found, 3);
    EXPECT_EQ(Named(list), (std::vector<int>{4, 9, 33, 150}));
    EXPECT_EQ(list[4].name, "Channel  04");
    EXPECT_EQ(list[33].name, "Channel  33");
    EXPECT_EQ(list[9].name, "News");
    EXPECT_EQ(list[9].fineTune, 0);
    EXPECT_EQ(list[9].frequency, 0u);
    EXPECT_EQ(air.probed.front(), 2);
    EXPECT_EQ(air.probed.back(), 69);
    EXPECT_EQ(air.progressed.size(), 68u);
}

TEST(ScanChannels, ACancelKeepsEveryChannelNotYetScanned)
{
    for (const bool duringProbe : {false, true}) {
        SCOPED_TRACE(duringProbe ? "cancelled during the probe of 20" : "cancelled before 20");
        ChannelList list = EmptyChannelList();
        for (int n : {3, 12, 20, 25, 60})
            list[static_cast<std::size_t>(n)].name = "Mine " + std::to_string(n);
        list[25].fineTune = -7;
        FakeAir air{{4, 9, 33}};
        (duringProbe ? air.cancelAt : air.cancelBefore) = 20;
        const ScanResult r = ScanChannels(list, ChannelRange{2, 69}, air.Probe());
        EXPECT_TRUE(r.cancelled);
        EXPECT_EQ(r.probed, 18);  // 2..19
        EXPECT_EQ(Named(list), (std::vector<int>{4, 9, 20, 25, 60}));
        EXPECT_EQ(list[20].name, "Mine 20");
        EXPECT_EQ(list[25].fineTune, -7);
        EXPECT_EQ(air.progressed.back(), 19);
    }
}

TEST(ScanChannels, ATunerRangeBeyondTheListsStopsAtTheLastEntry)
{
    ChannelList list = EmptyChannelList();
    FakeAir air{{0, 199, 250}};
    const ScanResult r = ScanChannels(list, ChannelRange{-5, 400}, air.Probe());
    EXPECT_EQ(r.probed, 200);
    EXPECT_EQ(air.probed.front(), 0);
    EXPECT_EQ(air.probed.back(), 199);
    EXPECT_EQ(Named(list), (std::vector<int>{0, 199}));
}

TEST(TvAudioMode, ChoicesGiveTheFilterModes)
{
    struct Case {
        TvAudioChoice choice;
        long mode;
    };
    const Case cases[] = {
        {{false, false, false}, 0x11},
        {{false, true, false}, 0x11},
        {{false, false, true}, 0x12},
        {{true, false, false}, 0x20},
        {{true, false, true}, 0x20},
        {{true, true, false}, 0x40},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TvAudioModeFor(c.choice), c.mode) << c.choice.sap << c.choice.secondLanguage << c.choice.stereo;
}

TEST(TvAudioMode, ModesReadBackAsChoices)
{
    const TvAudioChoice none{};
    const TvAudioChoice all{true, true, true};
    struct Case {
        long mode;
        TvAudioChoice previous;
        TvAudioChoice expected;
    };
    const Case cases[] = {
        {0x11, all, {false, false, false}},
        {0x12, all, {false, false, true}},
        {0x20, none, {true, false, false}},
        {0x22, none, {true, false, true}},
        {0x40, none, {true, true, true}},
        {0x02, none, {false, false, true}},  // no language: the SAP choice stays
        {0x02, {true, true, false}, {true, true, true}},
        {0x01, all, {false, true, true}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TvAudioChoiceFrom(c.mode, c.previous), c.expected) << std::hex << c.mode;
}
