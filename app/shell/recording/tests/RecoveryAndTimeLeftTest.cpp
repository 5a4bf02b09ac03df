// The time left before a recording's binding limit, the details a recovered recording is
// listed with, and the user's message about it.
#include <gtest/gtest.h>

#include <vector>

#include "RecordingRecovery.h"
#include "TimeLeft.h"
#include "WriteLimit.h"

namespace {

using recording::TimeLeft;

constexpr std::uint64_t kMiB = 1 << 20;

TEST(TimeLeft, TheBindingLimitAtTheMeasuredRate)
{
    constexpr std::uint64_t kGiB = 1ull << 30;
    const struct {
        const char* name;
        std::uint64_t freeBytes;
        bool fat;
        std::int64_t userLimit;
        std::uint64_t bytesPerSecond;
        const char* expected;
    } cases[] = {
        // 1 GiB free less the 2 MiB reserve at 750,000 B/s: 1429 s.
        {"free space less the reserve", kGiB, false, scrivet::kNoSizeLimit, 750000, "00:23 left"},
        {"the FAT ceiling", 100 * kGiB, true, scrivet::kNoSizeLimit, 750000, "01:35 left"},
        {"no ceiling on NTFS", 100 * kGiB, false, scrivet::kNoSizeLimit, 750000, "39:46 left"},
        {"the user's limit", 100 * kGiB, true, 100 * static_cast<std::int64_t>(kMiB), 750000, "00:02 left"},
        {"the reserve eats everything", 2 * kMiB, false, scrivet::kNoSizeLimit, 750000, "00:00 left"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TimeLeft left(scrivet::ComputeWriteLimit(c.freeBytes, c.fat, c.userLimit).bytes);
        EXPECT_FALSE(left.Add(0, 1000));
        EXPECT_FALSE(left.Add(c.bytesPerSecond / 2, 1500)) << "half a second gives no rate yet";
        EXPECT_TRUE(left.Add(c.bytesPerSecond, 2000));
        EXPECT_EQ(left.Text(), c.expected);
    }
}

TEST(TimeLeft, UpdatedAtMostOnceASecondFromTheLastSeconds)
{
    TimeLeft left(static_cast<std::int64_t>(3600) * 1000000);  // an hour at 1 MB/s
    std::uint64_t bytes = 0;
    std::uint32_t tick = 0;
    // Ten reports a second for 20 s, the rate jumping between reports: the text may change
    // only once a second.
    int changes = 0;
    for (int i = 0; i < 200; ++i) {
        bytes += (i % 2) ? 100000 : 1900000;
        tick += 100;
        changes += left.Add(bytes, tick) ? 1 : 0;
    }
    EXPECT_LE(changes, 20);
    EXPECT_GE(changes, 1);
    // A steady 500,000 B/s for 10 s: the estimate follows the last five seconds only.
    // 3,600,000,000 - 205,000,000 bytes at 500,000 B/s: 6790 s.
    for (int i = 0; i < 100; ++i) {
        bytes += 50000;
        tick += 100;
        left.Add(bytes, tick);
    }
    EXPECT_EQ(bytes, 205000000u);
    EXPECT_EQ(left.Text(), "01:53 left");
    TimeLeft unknown(-1);
    EXPECT_FALSE(unknown.Add(0, 0));
    EXPECT_FALSE(unknown.Add(5000000, 5000));
    EXPECT_EQ(unknown.Text(), "") << "no limit known, nothing to say";
}

// A program stream's first bytes: an MPEG-2 pack with clock 0, then a sequence header of
// 720x576 at 6,000,000 bit/s.
std::vector<std::uint8_t> Head()
{
    return {0x00, 0x00, 0x01, 0xBA, 0x44, 0x00, 0x04, 0x00, 0x04, 0x01, 0x01, 0x89, 0xC3, 0xF8,
            0x00, 0x00, 0x01, 0xB3, 0x2D, 0x02, 0x40, 0x33, 0x0E, 0xA6, 0x20, 0x00};
}

// The same pack header with a clock of `seconds`.
std::vector<std::uint8_t> TailAt(std::uint64_t seconds)
{
    const std::uint64_t scr = seconds * 90000;
    std::vector<std::uint8_t> t = {0x12, 0x34, 0x00, 0x00, 0x01, 0xBA};
    t.push_back(static_cast<std::uint8_t>(0x44 | ((scr >> 27) & 0x38) | ((scr >> 28) & 0x03)));
    t.push_back(static_cast<std::uint8_t>(scr >> 20));
    t.push_back(static_cast<std::uint8_t>(((scr >> 12) & 0xF8) | 0x04 | ((scr >> 13) & 0x03)));
    t.push_back(static_cast<std::uint8_t>(scr >> 5));
    t.push_back(static_cast<std::uint8_t>(((scr << 3) & 0xF8) | 0x04));
    t.insert(t.end(), {0x01, 0x89, 0xC3, 0xF8, 0x00, 0x00, 0x01, 0xB9});
    return t;
}

TEST(RecordingRecovery, DetailsComeFromTheStreamItself)
{
    const std::vector<std::uint8_t> head = Head();
    const std::vector<std::uint8_t> tail = TailAt(3725);
    const settings::RecentEntry e =
        recording::RecoveredEntry("C:\\rec\\clip7.mpg", head.data(), head.size(), tail.data(), tail.size());
    EXPECT_EQ(e.path, "C:\\rec\\clip7.mpg");
    EXPECT_EQ(e.streamFormat, "MPEG2");
    EXPECT_EQ(e.resolution, "720x576");
    EXPECT_EQ(e.videoBitrate, "6.00 Mbps");
    EXPECT_EQ(e.duration, "01:02:05 (recovered)");
    EXPECT_EQ(e.samplingRate, "") << "not guessed";

    // No pack at the end (a cut inside the first pack): the time is not known.
    const std::vector<std::uint8_t> none = {0x00, 0x00, 0x01};
    EXPECT_EQ(recording::RecoveredEntry("x.mpg", head.data(), head.size(), none.data(), none.size()).duration,
              "(recovered)");
    EXPECT_EQ(recording::RecoveredEntry("x.mpg", nullptr, 0, nullptr, 0).duration, "(recovered)");
}

TEST(RecordingRecovery, TheMessageFillsOnlyItsTwoPlaces)
{
    recording::RecoveryReport report;
    report.path = "C:\\rec\\clip7.mpg";
    report.length = 3 * kMiB / 2;
    EXPECT_EQ(recording::RecoveryMessage("%s was saved (%s).", report), "C:\\rec\\clip7.mpg was saved (1.5 MB).");
    EXPECT_EQ(recording::RecoveryMessage("%d %s %s %s %n", report), "%d C:\\rec\\clip7.mpg 1.5 MB %s %n");
    report.length = 5ull << 30;
    EXPECT_EQ(recording::RecoveredSizeText(report.length), "5.00 GB");
}

}  // namespace
