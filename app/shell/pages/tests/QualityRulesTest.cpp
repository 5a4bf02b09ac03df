// The quality page's rules: the description lines, the DVD bit-rate box, the device's
// highest rate, the device family and what each may record.
#include <gtest/gtest.h>

#include "QualityRules.h"

namespace {

using namespace pages;

TEST(QualityDescription, ThreeLines)
{
    const struct {
        DescribedQuality quality;
        const char* line1;
        const char* line2;
        const char* line3;
    } cases[] = {
        {{2, "S-Video", 720, 576, 6000000, 48000, 224}, "MPEG2 S-Video", "720x576 6.00 Mbps", "48.0 KHz 224 Kbps"},
        {{3, "Composite", 352, 288, 1150000, 44100, 224}, "VCD  Composite", "352x288 1.15 Mbps", "44.1 KHz 224 Kbps"},
        {{1, "", 160, 144, 384000, 32000, 64}, "MPEG1 ", "160x144 384.00 Kbps", "32.0 KHz 64 Kbps"},
        {{1, "TV Tuner", 352, 240, 512000, 44100, 0}, "MPEG1  TV Tuner", "352x240 512.00 Kbps", "44.1 KHz 384 Kbps"},
        {{4, "", 480, 480, 2200000, 44100, 224}, "SVCD", "480x480 2.20 Mbps", "44.1 KHz 224 Kbps"},
        {{7, "", 720, 480, 384000, 48000, 0}, "MPEG2", "720x480 0.38 Mbps", "48.0 KHz 384 Kbps"},
        {{2, "", 720, 576, 6500000, 44100, 192}, "MPEG2", "720x576 6.50 Mbps", "44.1 KHz 192 Kbps"},
    };
    for (const auto& c : cases) {
        const auto lines = DescriptionLines(c.quality);
        EXPECT_EQ(lines[0], c.line1);
        EXPECT_EQ(lines[1], c.line2);
        EXPECT_EQ(lines[2], c.line3);
    }
}

TEST(QualityDescription, KilobitsBelowOneMillionForMpeg1Only)
{
    const struct {
        int mode;
        int rate;
        const char* text;
    } cases[] = {
        {1, 384000, "384.00 Kbps"},   {3, 384000, "384.00 Kbps"}, {1, 999999, "999.99 Kbps"},
        {1, 1000000, "1.00 Mbps"},    {1, 100000, "100.00 Kbps"}, {1, 99999, "99.99 Kbps"},
        {1, 5000000, "5.00 Mbps"},    {2, 6000000, "6.00 Mbps"},  {4, 2200000, "2.20 Mbps"},
        {2, 384000, "0.38 Mbps"},     {2, 15000000, "15.00 Mbps"}, {1, 0, "0.00 Kbps"},
        {1, -5, "0.00 Kbps"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DescriptionBitRate(c.mode, c.rate), c.text) << c.mode << " " << c.rate;
}

TEST(DvdBitRateBox, EntriesByBus)
{
    const auto usb11 = DvdRateEntries(true);
    EXPECT_STREQ(usb11[0].text, "4 Mbps");
    EXPECT_STREQ(usb11[1].text, "6 Mbps");
    EXPECT_STREQ(usb11[2].text, "6.5 Mbps");
    EXPECT_EQ(usb11[0].rate, 4000000);
    EXPECT_EQ(usb11[1].rate, 6000000);
    EXPECT_EQ(usb11[2].rate, 6500000);
    const auto other = DvdRateEntries(false);
    EXPECT_STREQ(other[2].text, "8 Mbps");
    EXPECT_EQ(other[2].rate, 8000000);
    // An unreadable bus is USB 1.1, for the box as for the cap.
    EXPECT_TRUE(TreatAsUsb11(std::nullopt));
    EXPECT_TRUE(TreatAsUsb11(1));
    EXPECT_FALSE(TreatAsUsb11(2));
    EXPECT_FALSE(TreatAsUsb11(0));
}

TEST(DvdBitRateBox, EntryOfAStoredRate)
{
    const struct {
        int rate;
        int entry;
    } cases[] = {{0, 0}, {3000000, 0}, {4000000, 0}, {4000001, 1}, {6000000, 1}, {6000001, 2},
                 {6500000, 2}, {7000000, 2}, {8000000, 2}, {15000000, 2}, {-1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(DvdEntryFor(c.rate), c.entry) << c.rate;
}

TEST(DvdBitRateBox, HighestRateOfTheDevice)
{
    const struct {
        bool usb11;
        std::optional<std::uint32_t> driver;
        bool unchanged;
        std::uint32_t maximum;
    } cases[] = {
        {true, std::nullopt, false, 6500000},  {false, std::nullopt, false, 15000000},
        {true, 9000000, false, 6500000},        {false, 9000000, false, 9000000},
        {true, 9000000, true, 9000000},         {false, 20000000, false, 15000000},
        {false, 20000000, true, 20000000},      {false, 0, false, 15000000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DeviceMaxBitRate(c.usb11, c.driver, c.unchanged), c.maximum)
            << c.usb11 << " " << c.driver.value_or(0) << " " << c.unchanged;
    // A driver whose maximum cannot be read: 4 Mbps, entry 0.
    EXPECT_EQ(DvdRateForDevice(8000000, std::nullopt), 4000000);
    EXPECT_EQ(DvdEntryFor(DvdRateForDevice(8000000, std::nullopt)), 0);
    EXPECT_EQ(DvdRateForDevice(8000000, 6500000u), 6500000);
    EXPECT_EQ(DvdRateForDevice(6000000, 6500000u), 6000000);
    EXPECT_EQ(DvdEntryFor(7000000), 2) << "a stored 7,000,000 shows entry 2";
}

TEST(DeviceFamilies, ByName)
{
    const struct {
        const char* name;
        int family;
    } cases[] = {{"Nerida USB 2.0 Box", 2}, {"Corvale Ehome Tuner", 1}, {"WinTV PVR 250", 1},
                 {"Nerida PVR", 2},         {"Virtual MPEG Card", 3},    {"", 3},
                 {"nerida lower case", 3}};
    for (const auto& c : cases)
        EXPECT_EQ(DeviceFamily(c.name), c.family) << c.name;
}

TEST(DeviceFamilies, WhatEachMayRecord)
{
    using Row = std::array<bool, kChoiceCount>;  // VCD, low, normal, SVCD, DVD, custom
    const struct {
        DeviceOffer offer;
        Row enabled;
    } cases[] = {
        {{3, true, true, true, std::nullopt, std::nullopt}, {true, true, true, true, true, true}},
        {{1, true, true, true, std::nullopt, std::nullopt}, {false, false, false, true, true, true}},
        {{2, true, true, true, true, 15000000u}, {true, true, true, true, true, true}},
        {{3, false, false, true, std::nullopt, std::nullopt}, {false, true, true, false, true, true}},
        {{3, true, true, false, std::nullopt, std::nullopt}, {true, true, true, true, false, true}},
        {{3, true, true, true, false, std::nullopt}, {false, false, false, true, true, true}},
        {{3, true, true, true, std::nullopt, 3000000u}, {true, true, true, true, false, true}},
        {{3, true, true, true, std::nullopt, 4000000u}, {true, true, true, true, true, true}},
        {{3, true, true, true, true, 9000000u, true}, {false, false, false, true, true, true}},  // codec API
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(EnabledChoices(cases[i].offer), cases[i].enabled) << "case " << i;
}

TEST(DeviceFamilies, ADisabledChoiceGivesWay)
{
    using Row = std::array<bool, kChoiceCount>;
    const Row all = {true, true, true, true, true, true};
    const Row mpeg2Only = {false, false, false, true, true, true};
    const Row noDvd = {true, true, true, true, false, true};
    const Row customOnly = {false, false, false, false, false, true};
    EXPECT_EQ(ReplaceDisabled(kChoiceVcd, all), kChoiceVcd);
    EXPECT_EQ(ReplaceDisabled(kChoiceVcd, mpeg2Only), kChoiceDvd);
    EXPECT_EQ(ReplaceDisabled(kChoiceMpeg1Low, mpeg2Only), kChoiceDvd);
    EXPECT_EQ(ReplaceDisabled(kChoiceDvd, noDvd), kChoiceSvcd);
    EXPECT_EQ(ReplaceDisabled(kChoiceDvd, customOnly), kChoiceCustom);
    EXPECT_EQ(ReplaceDisabled(kChoiceCustom, mpeg2Only), kChoiceCustom);
}

TEST(QualityChoices, StoredAsModeFamilyAndPreset)
{
    const struct {
        QualityChoice choice;
        int setupMode, capture, mpeg1, mpeg2;
    } cases[] = {
        {kChoiceVcd, 1, 1, 0, 1},        {kChoiceMpeg1Low, 1, 1, 1, 1}, {kChoiceMpeg1Normal, 1, 1, 2, 1},
        {kChoiceSvcd, 2, 2, 0, 0},       {kChoiceDvd, 2, 2, 0, 1},
    };
    for (const auto& c : cases) {
        settings::CaptureSettings s;
        SetChoice(s, c.choice);
        EXPECT_EQ(s.setupMode, c.setupMode) << c.choice;
        EXPECT_EQ(s.capture, c.capture) << c.choice;
        EXPECT_EQ(s.qualityMpeg1, c.mpeg1) << c.choice;
        EXPECT_EQ(s.qualityMpeg2, c.mpeg2) << c.choice;
        EXPECT_EQ(ChoiceOf(s), c.choice);
    }
    settings::CaptureSettings s;
    SetChoice(s, kChoiceSvcd);
    SetChoice(s, kChoiceCustom);
    EXPECT_EQ(s.setupMode, 3);
    EXPECT_EQ(ChoiceOf(s), kChoiceCustom);
    EXPECT_EQ(s.qualityMpeg2, 0) << "the custom choice keeps the presets";
    s.setupMode = 1;
    s.capture = 1;
    s.qualityMpeg1 = 9;
    EXPECT_EQ(ChoiceOf(s), kChoiceMpeg1Normal) << "an unknown preset shows as the normal one";
}

}  // namespace
