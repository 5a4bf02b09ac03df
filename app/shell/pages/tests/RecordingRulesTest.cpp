// The recording page's rules: the size-limit choices, the custom size, the stop rule and the
// recording folder's parent and existence.
#include <windows.h>

#include <gtest/gtest.h>

#include "ColourRules.h"
#include "FileSizeLimit.h"
#include "RecordingRules.h"
#include "TestSupport.h"

namespace {

using namespace pages;
using settings::kNoLimit;

TEST(SizeLimitChoices, OfferedTexts)
{
    EXPECT_EQ(recording::LimitChoiceText(2, "58 GB"), "DVD Disk Size (4.38GB)");
    EXPECT_EQ(recording::LimitChoiceText(0, recording::FreeSpaceText(0, false)), "Available Space (<set rec. folder>)");
    EXPECT_EQ(recording::LimitOfChoice(2), 4700000000ull);
    EXPECT_EQ(recording::LimitOfChoice(0), kNoLimit) << "the writer gets no limit of its own";
}

TEST(SizeLimitChoices, WhatAStoredLimitShows)
{
    const std::uint64_t custom = 100ull * 1048576;
    const struct {
        std::uint64_t limit, custom;
        bool isCustom;
        int index;
        bool reset;
    } cases[] = {
        {0xFFFFFFFFull, custom, false, 1, false},
        {4700000000ull, custom, false, 2, false},
        {800000000ull, custom, false, 3, false},
        {custom, custom, true, 0, false},
        {kNoLimit, custom, false, 0, false},
        {kNoLimit, kNoLimit, false, 0, false},
        {0, 0, false, 0, true},
        {123456789ull, custom, false, 0, true},
        {0x1FFFFFFFFull, custom, false, 0, true},
    };
    for (const auto& c : cases) {
        const LimitSelection s = SelectionFor(c.limit, c.custom);
        EXPECT_EQ(s.custom, c.isCustom) << c.limit;
        EXPECT_EQ(s.listIndex, c.index) << c.limit;
        EXPECT_EQ(s.resetStored, c.reset) << c.limit;
    }
}

TEST(SizeLimitChoices, CustomSizes)
{
    // 4 GB: high word 1, low word 0; nothing wraps in 32 bits.
    const std::optional<std::uint64_t> four = recording::CustomLimit(4, recording::kUnitGigabytes, 0);
    ASSERT_TRUE(four);
    EXPECT_EQ(SplitLimit(*four).high, 1u);
    EXPECT_EQ(SplitLimit(*four).low, 0u);
    EXPECT_EQ(recording::CustomLimit(1.5, recording::kUnitGigabytes, 0), 1610612736ull);
    const std::uint64_t threeGb = 3ull << 30;
    EXPECT_EQ(recording::CustomLimit(5, recording::kUnitGigabytes, threeGb), threeGb) << "capped at the free space";
    EXPECT_EQ(SplitLimit(4700000000ull).high, 1u);
    EXPECT_EQ(SplitLimit(4700000000ull).low, 0x18244F00u);
    EXPECT_EQ(SplitLimit(kNoLimit).high, 0xFFFFFFFFu);

    const struct {
        std::uint64_t bytes;
        const char* text;
        int unit;
    } shown[] = {
        {1610612736ull, "1.50", recording::kUnitGigabytes},
        {4ull << 30, "4.00", recording::kUnitGigabytes},
        {0x40000001ull, "1.00", recording::kUnitGigabytes},
        {0x40000000ull, "1024.00", recording::kUnitMegabytes},
        {100ull << 20, "100.00", recording::kUnitMegabytes},
        {800000000ull, "762.94", recording::kUnitMegabytes},
    };
    for (const auto& c : shown) {
        const CustomSizeShown s = CustomSizeText(c.bytes);
        EXPECT_EQ(s.text, c.text) << c.bytes;
        EXPECT_EQ(s.unit, c.unit) << c.bytes;
    }
}

TEST(StopRule, TakenFromThePage)
{
    const struct {
        StopRuleEdits edits;
        int stopTime, hour, minute, second, noVideo;
    } cases[] = {
        {{kStopManually, 1, 2, 3, 10}, 1, 1, 2, 3, 10},
        {{kStopAfterDuration, 1, 75, 99, 10}, 0, 1, 59, 59, 10},
        {{kStopWithoutVideo, 0, 10, 0, 30}, 2, 0, 10, 0, 30},
        {{kStopAfterDuration, 40, -3, 0, 1500}, 0, 23, 0, 0, 999},
        {{kStopWithoutVideo, 0, 0, 0, -4}, 2, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        settings::CaptureSettings s;
        ApplyStopRule(c.edits, s);
        EXPECT_EQ(s.stopTime, c.stopTime);
        EXPECT_EQ(s.setTimeHour, c.hour);
        EXPECT_EQ(s.setTimeMin, c.minute);
        EXPECT_EQ(s.setTimeSec, c.second);
        EXPECT_EQ(s.stopNoVideoSec, c.noVideo);
        const StopRuleEdits back = StopRuleOf(s);
        EXPECT_EQ(back.choice, c.edits.choice);
    }
    settings::CaptureSettings s;
    s.stopTime = 7;
    EXPECT_EQ(StopRuleOf(s).choice, kStopManually) << "an unknown rule shows as manual";
}

TEST(RecordingFolder, ParentAndTrailingBackslash)
{
    // 0x83 0x5C is a Japanese character whose second byte is a backslash.
    const std::string katakana = "\x83\x5C";
    const struct {
        std::string path;
        std::optional<std::string> parent;
    } cases[] = {
        {"C:\\video\\new", std::string("C:\\video")},
        {"C:\\video\\new\\", std::string("C:\\video\\new")},
        {"C:\\new", std::string("C:")},
        {"new", std::nullopt},
        {"\\new", std::nullopt},
        {"", std::nullopt},
        {"C:\\" + katakana + "x", std::string("C:")},
        {"C:\\dir" + katakana, std::string("C:")},
        {"C:\\a\\" + katakana + "\\b", "C:\\a\\" + katakana},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParentFolder(c.path, IsJapaneseLeadByte), c.parent) << c.path;
    EXPECT_EQ(WithTrailingBackslash("C:\\a", IsJapaneseLeadByte), "C:\\a\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\a\\", IsJapaneseLeadByte), "C:\\a\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\" + katakana, IsJapaneseLeadByte), "C:\\" + katakana + "\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\" + katakana, {}), "C:\\" + katakana) << "without the double-byte test";
}

TEST(RecordingFolder, ExistenceTestRestoresTheCurrentDirectory)
{
    const std::string base = testsupport::OutputDir() + "folders\\";
    CreateDirectoryA(base.c_str(), nullptr);
    const std::string present = base + "Present";
    CreateDirectoryA(present.c_str(), nullptr);
    const std::string file = base + "file.txt";
    CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof before, before);

    const struct {
        std::string path;
        bool exists;
    } cases[] = {
        {present, true},          {present + "\\", true},    {base + "PRESENT", true},
        {base + "Missing", false}, {file, false},            {"", false},
        {base + "Missing\\deeper", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderExists(c.path), c.exists) << c.path;
        char after[MAX_PATH] = {};
        GetCurrentDirectoryA(sizeof after, after);
        EXPECT_STREQ(after, before) << c.path;
    }
}

TEST(ColourSliders, PositionsOnTheDeviceSteps)
{
    const struct {
        long value, minimum, maximum, step, snapped;
    } cases[] = {
        {50, 0, 255, 1, 50},   {300, 0, 255, 1, 255}, {-5, 0, 255, 1, 0},     {7, 0, 100, 5, 5},
        {8, 0, 100, 5, 10},    {99, 0, 100, 10, 100}, {-100, -128, 127, 1, -100}, {-200, -128, 127, 1, -128},
        {126, -128, 127, 10, 122}, {5, 0, 0, 1, 0},   {5, 10, 0, 1, 10},      {3, 0, 10, 0, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SnapToStep(c.value, c.minimum, c.maximum, c.step), c.snapped)
            << c.value << " in " << c.minimum << ".." << c.maximum << " step " << c.step;
}

}  // namespace
