// The capture engine's graph-free decisions: layout, preference indexes, the sinks' file
// names, the preview's place, the multiplexer mode, and the generated MPEG-2 sequence header.
#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <dvdmedia.h>
#include <uuids.h>

#include "CaptureRules.h"
#include "MpegTypes.h"

namespace {

using capture::Layout;
using capture::SinkKind;

TEST(CaptureRules, LayoutFollowsTheQualitySelection)
{
    struct Case {
        int setupMode, capture, customMode;
        Layout expected;
    } cases[] = {
        {3, 2, 1, Layout::Mpeg1}, {3, 2, 3, Layout::Mpeg1}, {3, 1, 2, Layout::Mpeg2}, {3, 1, 4, Layout::Mpeg2},
        {2, 1, 2, Layout::Mpeg1}, {1, 1, 2, Layout::Mpeg1}, {2, 2, 1, Layout::Mpeg2}, {2, 7, 1, Layout::Mpeg2},
    };
    for (const Case& c : cases) {
        settings::CaptureSettings s;
        s.setupMode = c.setupMode;
        s.capture = c.capture;
        s.custom.captureMode = c.customMode;
        EXPECT_EQ(capture::ChooseLayout(s), c.expected) << c.setupMode << "/" << c.capture << "/" << c.customMode;
    }
}

TEST(CaptureRules, SeparateStreamsNeedTheSwitchAndAQualityOfTheMode)
{
    struct Case {
        int separate, setupMode, q1, q2;
        bool expected;
    } cases[] = {
        {0, 1, 1, 1, false}, {1, 1, 1, 0, true}, {1, 1, 0, 1, false}, {1, 2, 0, 1, true},
        {1, 2, 1, 0, false}, {1, 3, 1, 1, true}, {1, 3, 1, 0, false}, {1, 4, 1, 1, false},
    };
    for (const Case& c : cases) {
        settings::CaptureSettings s;
        s.separateAudioVideo = c.separate;
        s.setupMode = c.setupMode;
        s.qualityMpeg1 = c.q1;
        s.qualityMpeg2 = c.q2;
        EXPECT_EQ(capture::SeparateStreamsMode(s), c.expected) << c.separate << c.setupMode << c.q1 << c.q2;
    }
}

TEST(CaptureRules, PreferenceIndexesStayInsideTheirLists)
{
    EXPECT_EQ(capture::DemultiplexerIndex(2, 3), 2);
    EXPECT_EQ(capture::DemultiplexerIndex(3, 3), 0);
    EXPECT_EQ(capture::DemultiplexerIndex(-1, 3), 0);
    EXPECT_EQ(capture::DecoderIndex(4, 5), 4);
    EXPECT_FALSE(capture::DecoderIndex(5, 5));
    EXPECT_FALSE(capture::DecoderIndex(6, 5));
    EXPECT_FALSE(capture::DecoderIndex(-2, 5));
    EXPECT_FALSE(capture::DecoderIndex(4, 3)) << "Decoder1 has three entries";

    std::vector<settings::FilterChoice> decoders = {{"{A}", "a"}, {"", ""}, {"{C}", "c"}};
    EXPECT_EQ(capture::DecoderChoice(decoders, 2)->name, "c");
    EXPECT_FALSE(capture::DecoderChoice(decoders, 1)) << "an empty entry is no decoder";
    EXPECT_FALSE(capture::DecoderChoice(decoders, 3));

    std::vector<settings::FilterChoice> demuxes = {{"", ""}, {"{B}", "b"}};
    EXPECT_EQ(capture::DemultiplexerChoice(demuxes, 1, Layout::Mpeg2).name, "b");
    EXPECT_EQ(capture::DemultiplexerChoice(demuxes, 9, Layout::Mpeg2).name, "MPEG-2 Demultiplexer");
    EXPECT_EQ(capture::DemultiplexerChoice(demuxes, 0, Layout::Mpeg1).clsid, "{C624B842-7FC3-40E9-8BAF-FD3F5EB8E7C6}");
}

TEST(CaptureRules, SinkFileNames)
{
    struct Case {
        const char* name;
        SinkKind kind;
        const char* expected;
    } cases[] = {
        {"C:\\rec\\clip1.mpg", SinkKind::Stream, "C:\\rec\\clip1.mpg"},
        {"C:\\rec\\clip1.mpg", SinkKind::DumpVideo, "C:\\rec\\clip1.m2v"},
        {"C:\\rec\\clip1.MPG", SinkKind::DumpAudio, "C:\\rec\\clip1.mpa"},
        {"C:\\rec\\clip1.m2v", SinkKind::Wave, "C:\\rec\\clip1.wav"},
        {"C:\\rec\\clip1.M1V", SinkKind::Mpeg1Video, "C:\\rec\\clip1.m1v"},
        {"C:\\rec\\clip1.mpg", SinkKind::Mpeg1Audio, "C:\\rec\\clip1.mpa"},
        // A name of the user's own keeps it for the video; the sound never shares it.
        {"C:\\rec\\show.mpeg", SinkKind::DumpVideo, "C:\\rec\\show.mpeg"},
        {"C:\\rec\\show.mpeg", SinkKind::DumpAudio, "C:\\rec\\show.mpa"},
        {"C:\\rec\\show.mpeg", SinkKind::Wave, "C:\\rec\\show.wav"},
        {"C:\\rec\\show", SinkKind::Wave, "C:\\rec\\show.wav"},
        {"C:\\rec\\show.mpa", SinkKind::DumpAudio, "C:\\rec\\show.mpa.mpa"},
        {"C:\\rec.d\\show", SinkKind::DumpAudio, "C:\\rec.d\\show.mpa"},
        {"C:\\rec.d\\show", SinkKind::DumpVideo, "C:\\rec.d\\show"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(capture::SinkFileName(c.name, c.kind), c.expected) << c.name;
}

TEST(CaptureRules, NamesTooLongForTheWriterAreRefusedNotCut)
{
    const std::string longest = "C:\\" + std::string(capture::kMaxRecordingPath - 3 - 4, 'a') + ".mpg";
    ASSERT_EQ(longest.size(), capture::kMaxRecordingPath);
    EXPECT_EQ(capture::SinkFileName(longest, SinkKind::DumpVideo).size(), capture::kMaxRecordingPath);
    const std::string noExtension = longest.substr(0, longest.size() - 4) + "abcd";
    EXPECT_EQ(capture::SinkFileName(noExtension, SinkKind::DumpAudio), "") << "appending .mpa would not fit";
    EXPECT_EQ(capture::SinkFileName(longest + "x", SinkKind::Stream), "");
}

TEST(CaptureRules, PreviewRectangleInTheVideoArea)
{
    struct Case {
        uint32_t w, h;
        RECT expected;
    } cases[] = {
        {720, 576, {1, 0, 353, 288}},  {720, 480, {1, 24, 353, 264}}, {352, 288, {1, 0, 353, 288}},
        {352, 240, {1, 24, 353, 264}}, {160, 144, {97, 0, 257, 288}}, {160, 112, {97, 24, 257, 264}},
        {480, 576, {1, 0, 353, 288}},  {160, 120, {1, 24, 353, 264}},
    };
    for (const Case& c : cases) {
        const RECT r = capture::PreviewRectangle(c.w, c.h);
        EXPECT_TRUE(EqualRect(&r, &c.expected)) << c.w << "x" << c.h << " gave " << r.left << "," << r.top << " "
                                                << r.right << "," << r.bottom;
    }
}

TEST(CaptureRules, MultiplexerModeAndStillInterface)
{
    settings::CaptureSettings s;
    s.setupMode = 3;
    s.custom.captureMode = 4;
    EXPECT_EQ(capture::MultiplexerOutputMode(s), 0u);
    s.custom.captureMode = 2;
    EXPECT_EQ(capture::MultiplexerOutputMode(s), 1u);
    s.custom.captureMode = 1;
    EXPECT_FALSE(capture::MultiplexerOutputMode(s));
    s.setupMode = 2;
    s.qualityMpeg2 = 0;
    EXPECT_EQ(capture::MultiplexerOutputMode(s), 0u);
    s.qualityMpeg2 = 1;
    EXPECT_EQ(capture::MultiplexerOutputMode(s), 1u);
    s.setupMode = 1;
    EXPECT_FALSE(capture::MultiplexerOutputMode(s));

    s.decoder = 3;
    s.decoder1 = 1;
    s.capture = 1;
    EXPECT_EQ(capture::StillDecoderIndex(s), 1);
    s.capture = 2;
    EXPECT_EQ(capture::StillDecoderIndex(s), 3);
    s.capture = 5;
    EXPECT_EQ(capture::StillDecoderIndex(s), -1);
    s.setupMode = 3;
    s.custom.captureMode = 3;
    EXPECT_EQ(capture::StillDecoderIndex(s), 1);
}

// Reads `bits` bits from a byte string, most significant first.
struct Bits {
    const std::vector<uint8_t>& b;
    size_t at = 0;
    uint32_t Get(int bits)
    {
        uint32_t v = 0;
        for (int i = 0; i < bits; ++i, ++at)
            v = (v << 1) | ((b[at / 8] >> (7 - at % 8)) & 1);
        return v;
    }
};

TEST(MpegTypes, SequenceHeaderDescribesThePicture)
{
    struct Case {
        uint32_t w, h;
        REFERENCE_TIME frame;
        uint32_t rate;
        uint32_t rateCode;
    } cases[] = {{720, 576, 400000, 4000000, 3}, {720, 480, 333333, 8000000, 4}, {480, 576, 400000, 2200000, 3},
                 {352, 288, 400000, 1150000, 3}};
    for (const Case& c : cases) {
        const std::vector<uint8_t> h = capture::Mpeg2SequenceHeader(c.w, c.h, c.frame, c.rate);
        ASSERT_EQ(h.size(), 22u);
        Bits r{h};
        EXPECT_EQ(r.Get(32), 0x1B3u);
        EXPECT_EQ(r.Get(12), c.w);
        EXPECT_EQ(r.Get(12), c.h);
        EXPECT_EQ(r.Get(4), 2u) << "4:3";
        EXPECT_EQ(r.Get(4), c.rateCode);
        const uint32_t low = r.Get(18);
        EXPECT_EQ(r.Get(1), 1u) << "marker";
        r.Get(10 + 3);
        EXPECT_EQ(r.Get(32), 0x1B5u);
        EXPECT_EQ(r.Get(4), 1u) << "sequence extension";
        EXPECT_EQ(r.Get(8), 0x48u) << "main profile, main level";
        r.Get(1);
        EXPECT_EQ(r.Get(2), 1u) << "4:2:0";
        r.Get(4);
        const uint32_t high = r.Get(12);
        EXPECT_EQ(((high << 18) | low) * 400, (c.rate + 399) / 400 * 400);
    }
    const dshow::MediaType t = capture::Mpeg2VideoType(720, 576, 400000, 4000000);
    ASSERT_EQ(t.formattype, FORMAT_MPEG2Video);
    const auto* info = reinterpret_cast<const MPEG2VIDEOINFO*>(t.pbFormat);
    EXPECT_EQ(info->cbSequenceHeader, 22u);
    EXPECT_EQ(t.cbFormat, offsetof(MPEG2VIDEOINFO, dwSequenceHeader) + 22u);
    EXPECT_EQ(info->hdr.AvgTimePerFrame, 400000);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(info->dwSequenceHeader)[3], 0xB3);
}

}  // namespace
