// The player's plain rules as tables.
#include "PlaybackRules.h"
#include "Volume.h"

#include <gtest/gtest.h>

#include <vector>

using namespace media;

TEST(VideoWindowPlacement, FitsThePictureIntoTheVideoArea)
{
    struct Case {
        long w, h, num, den;
        VideoPlacement want;
    };
    const Case cases[] = {
        {720, 576, 1, 1, {1, 1, 352, 288}},   // PAL D1
        {352, 288, 1, 1, {1, 1, 352, 288}},   // CIF
        {352, 240, 1, 1, {1, 25, 352, 240}},  // NTSC SIF
        {720, 480, 1, 1, {1, 13, 352, 264}},  // NTSC D1
        {160, 120, 1, 1, {1, 25, 352, 240}},  // only 112 and 144 keep the width 160
        {160, 144, 1, 1, {97, 73, 160, 144}},
        {160, 112, 1, 1, {97, 89, 160, 112}},
        {320, 240, 1, 2, {1, 25, 352, 240}},  // scaled to 160 x 120
        {352, 288, 1, 2, {1, 1, 352, 288}},   // 176 x 144: only the width 160 stays small
        {480, 576, 1, 0, {1, 1, 352, 288}},   // a zero denominator counts as 1
        {640, 360, 1, 1, {1, 13, 352, 264}},
    };
    for (const Case& c : cases) {
        const VideoPlacement p = PlaceVideoWindow(c.w, c.h, c.num, c.den);
        EXPECT_EQ(p.left, c.want.left) << c.w << "x" << c.h << " " << c.num << "/" << c.den;
        EXPECT_EQ(p.top, c.want.top) << c.w << "x" << c.h;
        EXPECT_EQ(p.width, c.want.width) << c.w << "x" << c.h;
        EXPECT_EQ(p.height, c.want.height) << c.w << "x" << c.h;
    }
}

TEST(Volume, LevelToVolumeFollowsThreePieces)
{
    const struct {
        int level;
        long volume;
    } cases[] = {{0, -10000}, {1, -2970}, {15, -2550}, {16, -1680}, {25, -1500},
                 {26, -1110}, {50, -750},  {99, -15},   {100, 0},    {120, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(LevelToVolume(c.level), c.volume) << "level " << c.level;
    static_assert(LevelToVolume(100) == 0, "usable in constant expressions");
}

namespace {

std::vector<unsigned char> BufferWithHeaderAt(size_t size, size_t offset, unsigned char b4, unsigned char b5,
                                              unsigned char b6)
{
    std::vector<unsigned char> data(size, 0xFF);
    if (offset + 7 <= size) {
        const unsigned char header[] = {0, 0, 1, 0xB3, b4, b5, b6};
        std::copy(std::begin(header), std::end(header), data.begin() + static_cast<long>(offset));
    }
    return data;
}

}  // namespace

TEST(PictureSize, FindsTheFirstSequenceHeaderInTheSearchedRange)
{
    struct Case {
        size_t size, offset;
        unsigned char b4, b5, b6;
        bool found;
        long w, h;
    };
    const Case cases[] = {
        {4096, 0, 0x2D, 0x02, 0x40, true, 720, 576},
        {4096, 4083, 0x2D, 0x02, 0x40, true, 720, 576},   // last searched offset
        {4096, 4084, 0x2D, 0x02, 0x40, false, 0, 0},      // past count - 13
        {4096, 100, 0x16, 0x00, 0xF0, true, 352, 240},
        {4096, 7, 0x2D, 0x01, 0xE0, true, 720, 480},
        {12, 0, 0x2D, 0x02, 0x40, false, 0, 0},           // too short to hold a header
        {13, 0, 0x16, 0x01, 0x20, true, 352, 288},
        {0, 0, 0, 0, 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        const auto data = BufferWithHeaderAt(c.size, c.offset, c.b4, c.b5, c.b6);
        long w = -1, h = -1;
        EXPECT_EQ(FindSequenceHeaderSize(data.data(), data.size(), &w, &h), c.found) << c.size << "@" << c.offset;
        if (c.found) {
            EXPECT_EQ(w, c.w);
            EXPECT_EQ(h, c.h);
        } else {
            EXPECT_EQ(w, -1) << "sizes untouched on failure";
        }
    }
    EXPECT_FALSE(FindSequenceHeaderSize(nullptr, 100, nullptr, nullptr));
}

TEST(MediaPaths, ExtensionsAnywhereInAnyCase)
{
    const struct {
        const char* path;
        bool accepted, mpegVideo;
    } cases[] = {
        {"C:\\rec\\clip1.mpg", true, true},    {"C:\\rec\\CLIP1.MPG", true, true},
        {"C:\\rec\\notes.mpg.txt", true, true}, {"song.mp3", true, false},
        {"a.Wav", true, false},                 {"movie.avi", true, false},
        {"x.wmv", true, false},                 {"clip.mpeg", true, true},
        {"e.m2v", true, true},                  {"e.M1V", true, true},
        {"s.mpa", true, false},                 {"C:\\rec\\clip1.txt", false, false},
        {"", false, false},                     {"mpg", false, false},
        {"C:\\a.mpgfolder\\x.doc", true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsAcceptedMediaPath(c.path), c.accepted) << c.path;
        EXPECT_EQ(IsMpegVideoPath(c.path), c.mpegVideo) << c.path;
    }
}

TEST(Timing, UnitsPerFrameNeverZero)
{
    const struct {
        std::int64_t frames, units, avg, want;
    } cases[] = {
        {1500, 600000000, 0, 400000},    // 25 fps from the durations
        {1798, 600000000, 333667, 333704},
        {0, 600000000, 333667, 333667},  // frame count unknown: the stream's frame time
        {0, 0, 0, 400000},               // truncated recording: nothing known
        {100, 0, 0, 400000},
        {-1, -1, -5, 400000},
        {600000001, 600000000, 400000, 400000},  // a ratio below one unit
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnitsPerFrame(c.frames, c.units, c.avg), c.want) << c.frames << "/" << c.units;
}

TEST(Timing, SeekLandsWhereTheUserPointed)
{
    const std::int64_t minute = 600000000;
    const struct {
        std::int64_t tenths, current, duration, want;
    } cases[] = {
        {300, 0, minute, 300000001},          // forward: one unit past the pointed time
        {300, 400000000, minute, 299999999},  // back: one unit before it
        {0, 0, minute, 1},                    // the start, never below 1
        {0, 250000000, minute, 1},
        {600, 0, minute, minute},             // the end, never beyond it
        {900, 0, minute, minute},             // beyond the end: the end
        {-5, 100, minute, 1},
        {0, 0, 0, 0},                         // header only: duration 0
        {50, 0, 0, 50000001},                 // duration unknown caps nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(SeekTarget(c.tenths, c.current, c.duration, 1), c.want)
            << c.tenths << " from " << c.current << " in " << c.duration;
    EXPECT_EQ(NudgeAgain(300000001, 0, minute, 1), 300000002);
    EXPECT_EQ(NudgeAgain(minute, 0, minute, 1), minute);
}

TEST(Timing, StepsStayInsideTheFile)
{
    const struct {
        std::int64_t current, frames, unit, duration, want;
    } cases[] = {
        {1000000, 1, 400000, 600000000, 1400000},
        {1000000, 3, 400000, 600000000, 2200000},
        {1000000, -3, 400000, 600000000, 0},
        {599900000, 3, 400000, 600000000, 600000000},
        {0, -1, 333667, 0, 0},
        {0, 1, 333667, 0, 333667},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StepTarget(c.current, c.frames, c.unit, c.duration), c.want) << c.current << "+" << c.frames;
}

TEST(Title, NamesFileKindMuteAndPause)
{
    const struct {
        const char* path;
        bool audio, muted, paused;
        const char* want;
    } cases[] = {
        {"C:\\rec\\clip1.mpg", false, false, false, "clip1.mpg [Video] "},
        {"C:\\rec\\clip1.mpg", false, true, false, "clip1.mpg [Video] (Muted)"},
        {"C:\\rec\\clip1.mpg", false, false, true, "clip1.mpg [Video] (Paused)"},
        {"Z:/tmp/song.mp3", true, true, true, "song.mp3 [Audio] (Muted)(Paused)"},
        {"bare.wav", true, false, false, "bare.wav [Audio] "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaybackTitle(c.path, c.audio, c.muted, c.paused), c.want);
}

TEST(SizeText, GigabytesOnlyWhereAllowed)
{
    const struct {
        std::uint64_t bytes;
        bool gb;
        const char* want;
    } cases[] = {
        {524288000, true, "500.00 MB"},
        {2147483648ull, true, "2.00 GB"},
        {2147483648ull, false, "2048.00 MB"},
        {1073741824ull, true, "1024.00 MB"},
        {0, true, "0.00 MB"},
        {8589934592ull, true, "8.00 GB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MediaSizeText(c.bytes, c.gb), c.want) << c.bytes;
}
