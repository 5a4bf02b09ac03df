// File-size limit choices and the details of a recent recording.
#include <gtest/gtest.h>

#include "FileSizeLimit.h"
#include "FolderBrowser.h"
#include "RecentDetails.h"
#include "ClipName.h"

namespace {

using namespace recording;

TEST(FileSizeLimit, FixedChoicesInListOrder)
{
    const struct {
        int index;
        const char* text;
        std::uint64_t limit;
    } cases[] = {
        {0, "Available Space (37 GB)", ~0ull},
        {1, "Maximum FAT32 File Size (4GB)", 4294967295ull},
        {2, "DVD Disk Size (4.38GB)", 4700000000ull},
        {3, "VCD Disk Size (800MB)", 800000000ull},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LimitChoiceText(c.index, "37 GB"), c.text);
        EXPECT_EQ(LimitOfChoice(c.index), c.limit);
    }
    for (int bad : {-1, 4, 100}) {
        EXPECT_EQ(LimitChoiceText(bad, "1 GB"), "");
        EXPECT_FALSE(LimitOfChoice(bad).has_value());
    }
}

TEST(FileSizeLimit, FreeSpaceText)
{
    const struct {
        std::uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0 Bytes"},
        {1023, "1023 Bytes"},
        {1024, "1 KB"},
        {0xFFFFF, "1023 KB"},
        {0x100000, "1 MB"},
        {0x3FFFFFFF, "1023 MB"},
        {0x40000000, "1 GB"},
        {0x100000000ull, "4 GB"},
        {5000000000000ull, "4656 GB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FreeSpaceText(c.bytes, true), c.text) << c.bytes;
    EXPECT_EQ(FreeSpaceText(123456, false), "<set rec. folder>");
}

TEST(FileSizeLimit, CustomSizeInGigaOrMegabytesCappedAtFreeSpace)
{
    const struct {
        double value;
        int unit;
        std::uint64_t freeSpace;
        std::optional<std::uint64_t> limit;
    } cases[] = {
        {2, kUnitGigabytes, 0, 2147483648ull},
        {1.5, kUnitGigabytes, 0, 1610612736ull},
        {700, kUnitMegabytes, 0, 734003200ull},
        {4.38, kUnitGigabytes, 0, 4702989189ull},
        {10, kUnitGigabytes, 5000000000ull, 5000000000ull},
        {100, kUnitMegabytes, 5000000000ull, 104857600ull},
        {0, kUnitGigabytes, 0, std::nullopt},
        {-3, kUnitMegabytes, 0, std::nullopt},
        {1, 2, 0, std::nullopt},
        {1e-12, kUnitMegabytes, 0, std::nullopt},
        {1e30, kUnitGigabytes, 0, 9200000000000000000ull},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CustomLimit(c.value, c.unit, c.freeSpace), c.limit) << c.value << " unit " << c.unit;
}

TEST(FileSizeLimit, CustomSizeText)
{
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"2", 2.0}, {"1.50", 1.5}, {" 700 ", 700.0}, {".5", 0.5},
        {"", std::nullopt}, {"0", std::nullopt}, {"-1", std::nullopt}, {"+1", std::nullopt},
        {"1.5 GB", std::nullopt}, {"abc", std::nullopt}, {"0x10", std::nullopt},
        {"inf", std::nullopt}, {"nan", std::nullopt}, {"1e3", std::nullopt}, {"1..5", std::nullopt},
        {".", std::nullopt}, {"   ", std::nullopt}, {"1 5", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseCustomSize(c.text), c.value) << '"' << c.text << '"';
    EXPECT_FALSE(ParseCustomSize(std::string(400, '9')).has_value()) << "beyond a double";
}

TEST(RecentDetails, TextsOfTheAppliedBlock)
{
    const struct {
        AppliedFormat format;
        const char* sf;
        const char* res;
        const char* vbr;
        const char* br;
        const char* asr;
        const char* abr;
    } cases[] = {
        {{3, 352, 240, false, 1150000, 44100, 224}, "VCD", "352x240", "Constant", "1.15 Mbps", "44.1 KHz", "224 Kbps"},
        {{2, 720, 576, true, 6000000, 48000, 384}, "MPEG2", "720x576", "Variable", "6.00 Mbps", "48.0 KHz", "384 Kbps"},
        {{1, 352, 288, false, 64000, 32000, 0}, "MPEG1", "352x288", "Constant", "64.00 Kbps", "32.0 KHz", "384 Kbps"},
        {{4, 480, 480, false, 99999, 44056, 128}, "SVCD", "480x480", "Constant", "99.99 Kbps", "44.0 KHz", "128 Kbps"},
        {{7, 720, 480, false, 100000, 48000, 224}, "MPEG2", "720x480", "Constant", "0.10 Mbps", "48.0 KHz", "224 Kbps"},
        {{1, 0, 0, false, -5, -1, -2}, "MPEG1", "0x0", "Constant", "0.00 Kbps", "0.0 KHz", "0 Kbps"},
    };
    for (const auto& c : cases) {
        const settings::RecentEntry e = RecentEntryFor("D:\\rec\\clip1.mpg", c.format, "00:00:05");
        EXPECT_EQ(e.path, "D:\\rec\\clip1.mpg");
        EXPECT_EQ(e.streamFormat, c.sf);
        EXPECT_EQ(e.resolution, c.res);
        EXPECT_EQ(e.vbr, c.vbr);
        EXPECT_EQ(e.videoBitrate, c.br);
        EXPECT_EQ(e.samplingRate, c.asr);
        EXPECT_EQ(e.audioBitrate, c.abr) << "kbit/s shown as kept, not divided";
        EXPECT_EQ(e.duration, "00:00:05");
    }
}

// `count` copies of `c`, then `tail`.
std::string Repeated(size_t count, char c, const std::string& tail)
{
    std::string text(count, c);
    text += tail;
    return text;
}

TEST(FolderBrowser, StatusLineShowsAtMost35Characters)
{
    const auto japanese = [](unsigned char c) { return IsJapaneseLeadByte(c); };
    const std::string k = "\x95\x5C";
    const struct {
        std::string path;
        std::string text;
    } cases[] = {
        {"", ""},
        {"C:\\", "C:\\"},
        {Repeated(35, 'a', ""), Repeated(35, 'a', "")},
        {Repeated(36, 'a', ""), Repeated(35, 'a', "...")},
        {Repeated(200, 'b', ""), Repeated(35, 'b', "...")},
        // The 35th byte would be the first half of a character: the cut moves before it.
        {Repeated(34, 'c', k + "tail"), Repeated(34, 'c', "...")},
        {Repeated(33, 'c', k + "tail"), Repeated(33, 'c', k + "...")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BrowserStatusText(c.path, japanese), c.text) << c.path.size();
}

}  // namespace
