// What the frame-drop warning offers for each quality, and where the chosen rate goes.
#include <gtest/gtest.h>

#include "FrameDropRules.h"

namespace {

using shell::FrameDropOfferFor;

TEST(FrameDropRules, OfferByQuality)
{
    const std::pair<std::uint32_t, std::uint32_t> card{2000000, 9000000};
    const struct {
        const char* name;
        int setupMode, capture, qualityMpeg1, qualityMpeg2, customMode, customRate, dvdRate;
        std::optional<std::pair<std::uint32_t, std::uint32_t>> range;
        bool withRate;
        int minimum, maximum, current;
    } cases[] = {
        {"DVD", 2, 2, 0, 1, 2, 0, 6000000, card, true, 2000000, 9000000, 6000000},
        {"DVD, the card cannot say", 2, 2, 0, 1, 2, 0, 6000000, std::nullopt, true, 2000000, 6500000, 6000000},
        {"DVD above the card's maximum", 2, 2, 0, 1, 2, 0, 12000000, card, true, 2000000, 9000000, 9000000},
        {"a nonsense range", 2, 2, 0, 1, 2, 0, 6000000, std::make_pair(9000000u, 2000000u), true, 2000000, 6500000,
         6000000},
        {"plain MPEG-2", 2, 2, 0, 2, 2, 0, 4000000, card, true, 2000000, 9000000, 4000000},
        {"SVCD", 2, 2, 0, 0, 2, 0, 6000000, card, false, 0, 0, 0},
        {"VCD", 1, 1, 0, 1, 2, 0, 6000000, card, false, 0, 0, 0},
        {"MPEG-1", 1, 1, 2, 1, 2, 0, 6000000, card, false, 0, 0, 0},
        {"custom MPEG-2 template", 3, 2, 0, 1, 2, 7000000, 4000000, card, true, 2000000, 9000000, 7000000},
        {"custom template without a rate", 3, 2, 0, 1, 2, 0, 4000000, card, true, 2000000, 9000000, 2000000},
        {"custom SVCD template", 3, 2, 0, 1, 4, 2500000, 4000000, card, false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings::CaptureSettings s;
        s.setupMode = c.setupMode;
        s.capture = c.capture;
        s.qualityMpeg1 = c.qualityMpeg1;
        s.qualityMpeg2 = c.qualityMpeg2;
        s.custom.captureMode = c.customMode;
        s.custom.bitRate = c.customRate;
        s.dvdBitrate = c.dvdRate;
        const shell::FrameDropOffer offer = FrameDropOfferFor(s, c.range);
        EXPECT_EQ(offer.withRate, c.withRate);
        if (!c.withRate)
            continue;
        EXPECT_EQ(offer.minimum, c.minimum);
        EXPECT_EQ(offer.maximum, c.maximum);
        EXPECT_EQ(offer.current, c.current);
    }
}

TEST(FrameDropRules, TheRateGoesToTheQualityInUse)
{
    settings::CaptureSettings s;
    s.setupMode = 2;
    shell::ApplyFrameDropRate(s, 5000000);
    EXPECT_EQ(s.dvdBitrate, 5000000);
    s.setupMode = 3;
    s.custom.bitRate = 8000000;
    shell::ApplyFrameDropRate(s, 4500000);
    EXPECT_EQ(s.custom.bitRate, 4500000);
    EXPECT_EQ(s.dvdBitrate, 5000000);
}

}  // namespace
