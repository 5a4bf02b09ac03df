// The device layer's rules on plain values: names, bus texts, device types, relatives.
#include "DeviceNaming.h"

#include <gtest/gtest.h>

#include <map>

using namespace devices;

TEST(DisplayName, FollowsTheEnumerator)
{
    EXPECT_EQ(FormatDisplayName("TV Card", "PCI", 3, 0x44), "TV Card (PCI Slot 3)");
    EXPECT_EQ(FormatDisplayName("TV Card", "pci", 3, 0x44), "TV Card (PCI Slot 3)") << "case-insensitive";
    EXPECT_EQ(FormatDisplayName("TV Card", "USB", 3, 0x1A2B), "TV Card (USB:1A2B)");
    EXPECT_EQ(FormatDisplayName("TV Card", "usb", 0, 0xFFFFFFFF), "TV Card (USB:FFFFFFFF)");
    EXPECT_EQ(FormatDisplayName("TV Card", "ROOT", 3, 0x2C), "TV Card (DevNode:2C)");
    EXPECT_EQ(FormatDisplayName("TV Card", "", 3, 0x2C), "TV Card (DevNode:2C)") << "unknown enumerator";
    EXPECT_EQ(FormatDisplayName("TV Card", "PCIX", 3, 0x2C), "TV Card (DevNode:2C)") << "whole-word comparison";
}

TEST(DisplayName, LongAndEmptyDescriptionsFit)
{
    const std::string longText(300, 'x');
    EXPECT_EQ(FormatDisplayName(longText, "PCI", 4294967295u, 0), longText + " (PCI Slot -1)");
    EXPECT_EQ(FormatDisplayName(longText, "USB", 0, 0xFFFFFFFF), longText + " (USB:FFFFFFFF)");
    EXPECT_EQ(FormatDisplayName("", "USB", 0, 0x10), " (USB:10)");
}

TEST(BusText, EveryCodeAndTheRest)
{
    EXPECT_STREQ(BusTypeText(0), "PCI Bus");
    EXPECT_STREQ(BusTypeText(1), "USB 1.1 Bus");
    EXPECT_STREQ(BusTypeText(2), "USB 2.0 Bus");
    EXPECT_STREQ(BusTypeText(3), "FireWire Bus");
    EXPECT_STREQ(BusTypeText(4), "Not Connected");
    EXPECT_STREQ(BusTypeText(-1), "Not Connected") << "a failed query";
}

TEST(DeviceType, DecidedFromWhatTheDriverAnswers)
{
    ClassifyFacts f;
    EXPECT_EQ(DecideDeviceType(f), kTypeCodecApi) << "no encoder property set";
    f.encoderSetSupported = true;
    EXPECT_EQ(DecideDeviceType(f), kTypeCaptureStream) << "no stream filter";
    f.hasStreamFilter = true;
    EXPECT_EQ(DecideDeviceType(f), kTypeElementaryEncoder) << "stream filter without a stream output";
    f.streamFilterHasStreamOutput = true;
    EXPECT_EQ(DecideDeviceType(f), kTypeCodecApi) << "stream output but the encoder does not multiplex";
    f.multiplexingWord = true;
    EXPECT_EQ(DecideDeviceType(f), kTypeMultiplexingEncoder);
}

TEST(Relatives, AncestorsAndDescendantsButNotCousins)
{
    // 1 <- 2 <- 3, 1 <- 4
    const std::map<DWORD, DWORD> parent = {{2, 1}, {3, 2}, {4, 1}};
    auto parentOf = [&](DWORD d) -> DWORD {
        auto it = parent.find(d);
        return it == parent.end() ? 0 : it->second;
    };
    EXPECT_TRUE(AreRelatives(3, 1, parentOf));
    EXPECT_TRUE(AreRelatives(1, 3, parentOf));
    EXPECT_TRUE(AreRelatives(2, 3, parentOf));
    EXPECT_FALSE(AreRelatives(3, 4, parentOf)) << "siblings' children are not relatives";
    EXPECT_FALSE(AreRelatives(5, 1, parentOf));
}

TEST(Relatives, ALoopInTheTreeEnds)
{
    auto loop = [](DWORD d) -> DWORD { return d == 7 ? 8 : d == 8 ? 7 : 0; };
    EXPECT_FALSE(AreRelatives(7, 9, loop));
    auto none = [](DWORD) -> DWORD { return 0; };  // what a configuration manager stub gives
    EXPECT_FALSE(AreRelatives(1, 2, none));
}
