// The quality selection turned into the encoder's mode, standard and block, without a device.
#include "EncoderDerivation.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace encoder;

namespace {

// A device block whose every field is distinct, so a field the selection does not name is
// seen to keep its value.
EncoderParams DeviceBlock()
{
    EncoderParams p;
    p.HorzResolution = 111;
    p.VertResolution = 222;
    p.BitRate = 3333333;
    p.IFrameDist = 12;
    p.PFrameDist = 4;
    p.bVBR = 0;
    p.dwPeakBitRate = 4444444;
    p.AudioType = 0;
    p.ulAudSamplingFreq = 48000;
    p.ulAudioMpegBitRate = 192;
    p.PullDown32 = 1;
    return p;
}

DeviceFacts Facts(uint32_t standard = kStandard625)
{
    DeviceFacts d;
    d.current = DeviceBlock();
    d.standard = standard;
    d.maxBitRate = 9000000;
    d.capabilityFlags = 0;
    return d;
}

settings::CaptureSettings Mpeg2(int quality, int dvdBitrate, bool forceCbr)
{
    settings::CaptureSettings s;
    s.setupMode = 2;
    s.capture = 2;
    s.qualityMpeg2 = quality;
    s.dvdBitrate = dvdBitrate;
    s.forceCbr = forceCbr;
    return s;
}

settings::CaptureSettings Mpeg1(int quality)
{
    settings::CaptureSettings s;
    s.setupMode = 1;
    s.capture = 1;
    s.qualityMpeg1 = quality;
    return s;
}

settings::CaptureSettings Custom(int mode, int height)
{
    settings::CaptureSettings s;
    s.setupMode = 3;
    s.custom.captureMode = mode;
    s.custom.captureStandard = 1;
    s.custom.horzResolution = 720;
    s.custom.vertResolution = height;
    s.custom.bitRate = 6000000;
    s.custom.peakBitRate = 8000000;
    s.custom.iFrameDist = 15;
    s.custom.pFrameDist = 3;
    s.custom.vbr = 1;
    s.custom.audioType = 1;
    s.custom.audSamplingFreq = 44100;
    s.custom.audioMpegBitRate = 384;
    s.custom.pullDown32 = 0;
    return s;
}

}  // namespace

TEST(DeriveEncoderParams, DvdPeakFollowsForceCbrAndTheDeviceMaximum)
{
    struct Case {
        int bitRate;
        bool forceCbr;
        std::optional<uint32_t> deviceMax;
        uint32_t peak;
    };
    const Case cases[] = {
        {8000000, false, 9000000, 9000000},   // 1.5 x would be 12000000: the device caps it
        {5000000, false, 9000000, 7500000},
        {6000000, false, 9000000, 9000000},
        {8000000, true, 9000000, 8000000},    // constant rate: peak = rate
        {4000000, true, 9000000, 4000000},
        {8000000, false, std::nullopt, 12000000},  // maximum unknown: uncapped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bitRate << " cbr " << c.forceCbr);
        DeviceFacts d = Facts();
        d.maxBitRate = c.deviceMax;
        const DerivedEncoderSetup r = DeriveEncoderParams(Mpeg2(1, c.bitRate, c.forceCbr), d);
        EXPECT_EQ(r.params.BitRate, static_cast<uint32_t>(c.bitRate));
        EXPECT_EQ(r.params.dwPeakBitRate, c.peak);
        EXPECT_EQ(r.pair.mode, kModeMpeg2);
    }
}

TEST(DeriveEncoderParams, PresetsFillSizeAudioAndModeByStandard)
{
    struct Case {
        const char* name;
        settings::CaptureSettings s;
        uint32_t standard;
        uint32_t mode, width, height, rate, kbps, bitRate;
    };
    settings::CaptureSettings email = Mpeg1(1);
    email.emailBitrate = 384000;
    settings::CaptureSettings normal = Mpeg1(2);
    normal.normalBitrate = 3000000;
    settings::CaptureSettings svcd = Mpeg2(0, 0, true);
    svcd.svcdBitrate = 2200000;
    const Case cases[] = {
        {"VCD 625", Mpeg1(0), 1, kModeVcd, 352, 288, 44100, 224, 1150000},
        {"VCD 525", Mpeg1(0), 0, kModeVcd, 352, 240, 44100, 224, 1150000},
        {"e-mail 625", email, 1, kModeMpeg1, 160, 144, 32000, 64, 384000},
        {"e-mail 525", email, 0, kModeMpeg1, 160, 112, 32000, 64, 384000},
        {"normal", normal, 1, kModeMpeg1, 352, 288, 44100, 224, 3000000},
        {"SVCD 625", svcd, 1, kModeSvcd, 480, 576, 44100, 224, 2200000},
        {"SVCD 525", svcd, 0, kModeSvcd, 480, 480, 44100, 224, 2200000},
        {"DVD 625", Mpeg2(1, 6000000, true), 1, kModeMpeg2, 720, 576, 48000, 224, 6000000},
        {"DVD 525", Mpeg2(1, 6000000, true), 0, kModeMpeg2, 720, 480, 48000, 224, 6000000},
        // An MPEG-1 selection beyond the three takes preset 4 and keeps the device's rate.
        {"MPEG-1 s=3", Mpeg1(3), 1, kModeMpeg1, 720, 576, 48000, 224, 3333333},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DerivedEncoderSetup r = DeriveEncoderParams(c.s, Facts(c.standard));
        EXPECT_EQ(r.pair.mode, c.mode);
        EXPECT_EQ(r.pair.standard, c.standard);
        EXPECT_EQ(r.params.HorzResolution, c.width);
        EXPECT_EQ(r.params.VertResolution, c.height);
        EXPECT_EQ(r.params.ulAudSamplingFreq, c.rate);
        EXPECT_EQ(r.params.ulAudioMpegBitRate, c.kbps);
        EXPECT_EQ(r.params.BitRate, c.bitRate);
        // Never named by a preset: the device's own values stay (no zero goes out by accident).
        EXPECT_EQ(r.params.IFrameDist, 12u);
        EXPECT_EQ(r.params.PFrameDist, 4u);
        EXPECT_EQ(r.params.PullDown32, 1u);
        EXPECT_FALSE(r.pcmAudio);
    }
}

TEST(DeriveEncoderParams, Mpeg1IsConstantRateAndKeepsTheDevicePeak)
{
    DeviceFacts d = Facts();
    d.current.bVBR = 1;
    const DerivedEncoderSetup r = DeriveEncoderParams(Mpeg1(0), d);
    EXPECT_EQ(r.params.bVBR, 0u);
    EXPECT_EQ(r.params.dwPeakBitRate, 4444444u);
}

TEST(DeriveEncoderParams, ControlSwitchesTurnVcdAndSvcdIntoPlainModes)
{
    struct Case {
        int setupMode, capture, quality, customMode;
        bool vcdControl, svcdControl;
        uint32_t mode;
    };
    const Case cases[] = {
        {1, 1, 0, 0, true, true, kModeVcd},
        {1, 1, 0, 0, false, true, kModeMpeg1},
        {2, 2, 0, 0, true, true, kModeSvcd},
        {2, 2, 0, 0, true, false, kModeMpeg2},
        {2, 2, 1, 0, true, true, kModeMpeg2},
        {3, 0, 0, kModeVcd, true, true, kModeVcd},
        {3, 0, 0, kModeVcd, false, true, kModeMpeg1},
        {3, 0, 0, kModeSvcd, true, true, kModeSvcd},
        {3, 0, 0, kModeSvcd, true, false, kModeMpeg2},
        {3, 0, 0, kModeMpeg1, false, false, kModeMpeg1},
        {3, 0, 0, 9, true, true, kModeMpeg2},  // a damaged template mode records MPEG-2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "setup " << c.setupMode << " custom mode " << c.customMode << " vcd " << c.vcdControl
                                        << " svcd " << c.svcdControl);
        settings::CaptureSettings s = c.setupMode == 3 ? Custom(c.customMode, 576) : (c.capture == 1 ? Mpeg1(c.quality) : Mpeg2(c.quality, 4000000, true));
        s.vcdControl = c.vcdControl;
        s.svcdControl = c.svcdControl;
        EXPECT_EQ(SelectedCaptureMode(s), c.mode);
        EXPECT_EQ(DeriveEncoderParams(s, Facts()).pair.mode, c.mode);
    }
}

TEST(DeriveEncoderParams, CustomTemplateTakesItsValuesTheStandardAndThePcmFlag)
{
    const DerivedEncoderSetup r = DeriveEncoderParams(Custom(kModeMpeg2, 576), Facts(kStandard525));
    EXPECT_EQ(r.custom.captureStandard, 0) << "the standard is written back to the template";
    EXPECT_EQ(r.pair.standard, kStandard525);
    EXPECT_EQ(r.params.VertResolution, 480u);
    EXPECT_EQ(r.params.HorzResolution, 720u);
    EXPECT_EQ(r.params.BitRate, 6000000u);
    EXPECT_EQ(r.params.dwPeakBitRate, 8000000u);
    EXPECT_EQ(r.params.bVBR, 1u);
    EXPECT_EQ(r.params.ulAudSamplingFreq, 44100u);
    EXPECT_EQ(r.params.ulAudioMpegBitRate, 384u);
    EXPECT_EQ(r.params.PullDown32, 0u);
    EXPECT_EQ(r.params.AudioType, 1u);
    EXPECT_TRUE(r.pcmAudio);

    // A value the template never stored (-1) leaves the device's own.
    settings::CaptureSettings partial = Custom(kModeMpeg2, 576);
    partial.custom.iFrameDist = -1;
    EXPECT_EQ(DeriveEncoderParams(partial, Facts()).params.IFrameDist, 12u);
}

TEST(DeriveEncoderParams, ElementaryEncoderAlwaysGetsMpegAudio)
{
    for (int setupMode : {1, 2, 3}) {
        SCOPED_TRACE(setupMode);
        settings::CaptureSettings s = setupMode == 3 ? Custom(kModeMpeg2, 576) : (setupMode == 1 ? Mpeg1(2) : Mpeg2(1, 4000000, true));
        DeviceFacts d = Facts();
        d.current.AudioType = 1;
        d.deviceType = kDeviceTypeElementary;
        const DerivedEncoderSetup r = DeriveEncoderParams(s, d);
        EXPECT_EQ(r.params.AudioType, 0u);
        EXPECT_FALSE(r.pcmAudio);
        d.deviceType = 1;
        EXPECT_EQ(DeriveEncoderParams(s, d).params.AudioType, 1u) << "other devices keep PCM";
    }
}

TEST(DeriveEncoderParams, CodecApiEncoderRecordsMpeg2WhateverIsSelected)
{
    struct Case {
        settings::CaptureSettings selected;
        uint32_t width, bitRate;
    };
    settings::CaptureSettings normal = Mpeg1(2);
    normal.dvdBitrate = 5000000;
    settings::CaptureSettings vcd = Mpeg1(0);
    vcd.dvdBitrate = 5000000;
    const Case cases[] = {
        {normal, 720, 5000000},                       // MPEG-1 choices record at the DVD quality
        {vcd, 720, 5000000},
        {Mpeg2(1, 6000000, true), 720, 6000000},      // MPEG-2 choices are unchanged
        {Custom(kModeMpeg1, 576), 720, 6000000},      // a template keeps its values, not its mode
        {Custom(kModeVcd, 576), 720, 6000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "setup " << c.selected.setupMode << " capture " << c.selected.capture);
        DeviceFacts d = Facts();
        d.deviceType = kDeviceTypeCodecApi;
        const DerivedEncoderSetup r = DeriveEncoderParams(c.selected, d);
        EXPECT_FALSE(IsMpeg1(r.pair.mode));
        EXPECT_EQ(r.params.HorzResolution, c.width);
        EXPECT_EQ(r.params.BitRate, c.bitRate);
        d.deviceType = 1;
        EXPECT_EQ(DeriveEncoderParams(c.selected, d).pair.mode, SelectedCaptureMode(c.selected)) << "other devices follow the selection";
    }
}

TEST(DeriveEncoderParams, AudioCompressorFallbackTakes32000Hz)
{
    for (const settings::CaptureSettings& s : {Mpeg1(0), Mpeg1(2), Mpeg2(0, 0, true), Mpeg2(1, 4000000, false)}) {
        DeviceFacts d = Facts();
        d.audioCompressorFallback = true;
        EXPECT_EQ(DeriveEncoderParams(s, d).params.ulAudSamplingFreq, 32000u);
        d.audioCompressorFallback = false;
        EXPECT_NE(DeriveEncoderParams(s, d).params.ulAudSamplingFreq, 32000u);
    }
}

TEST(DeriveEncoderParams, VbrFromTheCapabilityFlags)
{
    struct Case {
        std::optional<uint32_t> flags;
        uint32_t deviceVbr, vbr;
    };
    const Case cases[] = {
        {std::nullopt, 0, 1},  // capabilities unreadable: variable
        {kFlagVbrForced, 0, 1},
        {kFlagVbrForced | kFlagAudioClock, 0, 1},
        {0, 0, 0},             // not forced: the device's own choice
        {0, 1, 1},
        {kFlagAudioClock, 0, 0},
    };
    for (const Case& c : cases) {
        for (int quality : {0, 1}) {
            DeviceFacts d = Facts();
            d.capabilityFlags = c.flags;
            d.current.bVBR = c.deviceVbr;
            EXPECT_EQ(DeriveEncoderParams(Mpeg2(quality, 4000000, false), d).params.bVBR, c.vbr);
        }
    }
}

TEST(AdjustHeightForStandard, EveryPairBothWaysAndOtherHeights)
{
    struct Case {
        uint32_t height, standard, result;
    };
    const Case cases[] = {
        {112, 0, 112}, {112, 1, 144}, {144, 0, 112}, {144, 1, 144},
        {240, 0, 240}, {240, 1, 288}, {288, 0, 240}, {288, 1, 288},
        {480, 0, 480}, {480, 1, 576}, {576, 0, 480}, {576, 1, 576},
        {577, 0, 480}, {577, 1, 576}, {0, 1, 576},   {360, 0, 480},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AdjustHeightForStandard(c.height, c.standard), c.result) << c.height << " for standard " << c.standard;
}

TEST(CodecApiRules, StandardFromFormatAndPeakAboveRate)
{
    struct Format {
        long format;
        uint32_t standard;
    };
    const Format formats[] = {{0x1, 0},   {0x2, 0},  {0x4, 0},   {0x200, 0}, {0x800, 0},
                              {0x10, 1},  {0x20, 1}, {0x1000, 1}, {0x100000, 1}, {0, 1}};
    for (const Format& f : formats)
        EXPECT_EQ(StandardFromTvFormat(f.format), f.standard) << std::hex << f.format;
    EXPECT_EQ(CodecApiPeak(5000000, 5000000), 5400000u);
    EXPECT_EQ(CodecApiPeak(5000000, 4000000), 5400000u);
    EXPECT_EQ(CodecApiPeak(5000000, 5000001), 5000001u);
}
