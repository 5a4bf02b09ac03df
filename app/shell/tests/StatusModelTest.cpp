// The status display's time arithmetic, redraw rules and information line.
#include <gtest/gtest.h>

#include "QualityText.h"
#include "StatusModel.h"

namespace {

using shell::StatusModel;

TEST(StatusModel, EngineTimeToClockAndSlider)
{
    const struct {
        std::int64_t time;
        const char* clock;
        unsigned slider;
    } cases[] = {
        {36000000000LL, "01:00:00", 360000},
        {35999999999LL, "00:59:59", 359990},
        {3600000000000LL, "100:00:00", 36000000},
        {0, "00:00:00", 0},
        {9999999, "00:00:00", 90},
        {10000000, "00:00:01", 100},
        {37237000000LL, "01:02:03", 372370},
        {-20000000, "00:00:00", 0},
    };
    for (const auto& c : cases) {
        StatusModel model;
        const std::optional<unsigned> slider = model.SetEngineTime(c.time);
        ASSERT_TRUE(slider.has_value()) << "the first time is always drawn";
        EXPECT_EQ(*slider, c.slider) << c.time;
        EXPECT_EQ(model.Redraw(false, {}).elapsedClock, c.clock) << c.time;
    }
}

TEST(StatusModel, RedrawOnlyWhenTheTenthChanges)
{
    StatusModel model;
    ASSERT_TRUE(model.SetEngineTime(12300000));
    EXPECT_FALSE(model.SetEngineTime(12999999)) << "two ticks in one tenth";
    EXPECT_FALSE(model.SetEngineTime(12000000));
    EXPECT_EQ(model.SetEngineTime(13000000), 130u);
    EXPECT_EQ(model.SetEngineTime(12000000), 120u) << "a step back is a change too";
    model.ClearTime();
    EXPECT_EQ(model.SetEngineTime(0), 0u) << "after clearing, even zero is drawn";
    EXPECT_FALSE(model.SetEngineTime(5));
}

TEST(StatusModel, LabelShowsTheRecordingOrTheCountdown)
{
    StatusModel model;
    model.SetCountdown({0, 10, 0});
    shell::StatusFrame idle = model.Redraw(false, {});
    EXPECT_EQ(idle.countdownClock, "00:10:00");
    EXPECT_EQ(idle.recordingLabel, "00:10:00") << "no recording: the countdown";

    model.ResetRecordingElapsedText();
    model.SetEngineTime(0);
    shell::StatusFrame start = model.Redraw(true, {});
    EXPECT_EQ(start.recordingLabel, "") << "zero elapsed empties the label";
    EXPECT_EQ(model.RecordingElapsedText(), "00:00:00");

    model.SetEngineTime(650000000);
    shell::StatusFrame running = model.Redraw(true, {});
    EXPECT_EQ(running.recordingLabel, "00:01:05");
    EXPECT_EQ(running.countdownClock, "00:10:00");
    EXPECT_EQ(model.RecordingElapsedText(), "00:01:05");
    // The stop keeps the last elapsed text for the recent list.
    model.Redraw(false, {});
    EXPECT_EQ(model.RecordingElapsedText(), "00:01:05");
}

TEST(StatusModel, InformationLineRebuiltOnStateOrStandardChange)
{
    settings::CaptureSettings s;
    s.setupMode = 2;
    s.capture = 2;
    s.qualityMpeg2 = 1;
    s.dvdBitrate = 6000000;
    shell::InformationContext context{&s, "2.10.37", "Playing", -1, -1};
    StatusModel model;
    EXPECT_EQ(model.Redraw(false, context).informationLine, "Version: 2.10.37");
    EXPECT_FALSE(model.Redraw(false, context).informationLine) << "nothing changed";
    model.SetInformationState(shell::kInfoCaptureStopped);
    model.SetStandardIndex(0);
    EXPECT_EQ(model.Redraw(false, context).informationLine, "NTSC DVD 6.00 MBps");
    model.SetInformationState(shell::kInfoRecording);
    EXPECT_EQ(model.Redraw(true, context).informationLine, "NTSC DVD 6.00 MBps");
    model.SetStandardIndex(1);
    EXPECT_EQ(model.Redraw(true, context).informationLine, "PAL DVD 6.00 MBps");
    s.dvdBitrate = 8000000;
    EXPECT_FALSE(model.Redraw(true, context).informationLine);
    model.InvalidateInformation();
    EXPECT_EQ(model.Redraw(true, context).informationLine, "PAL DVD 8.00 MBps");
    model.SetInformationState(shell::kInfoPlayback);
    EXPECT_EQ(model.Redraw(false, context).informationLine, "Playing");
    context.videoWidth = 720;
    context.videoHeight = 576;
    model.InvalidateInformation();
    EXPECT_EQ(model.Redraw(false, context).informationLine, "Playing 720x576");
}

TEST(QualityText, FormatNameAndBitRateOfTheChosenQuality)
{
    const struct {
        int setupMode, capture, q1, q2, customMode, customRate;
        const char* line;  // standard index 1 (PAL), custom standard 0
    } cases[] = {
        {2, 1, 0, 0, 0, 0, "PAL VCD 1.15 MBps"},
        {2, 1, 1, 0, 0, 0, "PAL MPEG1 0.51 MBps"},   // "EmailBitrate" 512000
        {2, 1, 2, 0, 0, 0, "PAL MPEG1 5.00 MBps"},   // "NormalBitrate"
        {2, 1, 3, 0, 0, 0, "PAL  "},                 // a quality the table does not list
        {2, 2, 0, 0, 0, 0, "PAL SVCD 2.20 MBps"},
        {2, 2, 0, 1, 0, 0, "PAL DVD 4.00 MBps"},
        {2, 2, 0, 7, 0, 0, "PAL MPEG2 0.00 MBps"},
        {1, 3, 0, 0, 0, 0, "PAL  "},
        {3, 2, 0, 0, 1, 64000, "NTSC MPEG1 64.00 KBps"},
        {3, 2, 0, 0, 3, 99999, "NTSC VCD 99.99 KBps"},
        {3, 2, 0, 0, 1, 100000, "NTSC MPEG1 0.10 MBps"},
        {3, 2, 0, 0, 2, 64000, "NTSC MPEG2 0.06 MBps"},
        {3, 2, 0, 0, 4, 2520000, "NTSC SVCD 2.52 MBps"},
        {3, 2, 0, 0, 5, 2520000, "NTSC  "},
        {3, 1, 0, 0, 1, -5, "NTSC MPEG1 0.00 KBps"},
    };
    for (const auto& c : cases) {
        settings::CaptureSettings s;
        s.setupMode = c.setupMode;
        s.capture = c.capture;
        s.qualityMpeg1 = c.q1;
        s.qualityMpeg2 = c.q2;
        s.custom.captureMode = c.customMode;
        s.custom.bitRate = c.customRate;
        s.custom.captureStandard = 0;
        shell::InformationContext context{&s, "", "", -1, -1};
        EXPECT_EQ(shell::InformationLine(shell::kInfoCaptureStopped, 1, context), c.line)
            << c.setupMode << "/" << c.capture << "/" << c.q1 << "/" << c.q2 << "/" << c.customMode;
    }
    // A DVD quality at 4,000,000 bit/s, and an MPEG-1 low rate in KBps.
    settings::CaptureSettings low;
    low.capture = 1;
    low.qualityMpeg1 = 1;
    low.emailBitrate = 64000;
    EXPECT_EQ(shell::StatusBitRateText(shell::ChosenQuality(low)), "64.00 KBps");
}

TEST(QualityText, StandardNames)
{
    settings::CaptureSettings s;
    const struct {
        int setupMode, customStandard, index;
        const char* name;
    } cases[] = {
        {2, 0, 0, "NTSC"}, {2, 0, 1, "PAL"}, {2, 0, 2, "SECAM"}, {2, 0, 3, ""}, {2, 0, -1, ""},
        {3, 0, 2, "NTSC"}, {3, 1, 0, "PAL"}, {3, 2, 0, ""},
    };
    for (const auto& c : cases) {
        s.setupMode = c.setupMode;
        s.custom.captureStandard = c.customStandard;
        EXPECT_EQ(shell::StandardName(s, c.index), c.name) << c.setupMode << c.customStandard << c.index;
    }
    EXPECT_EQ(shell::InformationLine(shell::kInfoRecording, 0, {}), "") << "no settings, no line";
    EXPECT_EQ(shell::InformationLine(9, 0, {}), "");
}

}  // namespace
