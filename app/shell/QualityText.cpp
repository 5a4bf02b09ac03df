#include "QualityText.h"

#include <cstdio>

#include "RecentDetails.h"
#include "StatusText.h"

namespace shell {

namespace {

constexpr int kVcdBitRate = 1150000;

}  // namespace

std::string StandardName(const settings::CaptureSettings& s, int standardIndex)
{
    if (s.setupMode == 3) {
        switch (s.custom.captureStandard) {
        case 0: return "NTSC";
        case 1: return "PAL";
        default: return "";
        }
    }
    switch (standardIndex) {
    case 0: return "NTSC";
    case 1: return "PAL";
    case 2: return "SECAM";
    default: return "";
    }
}

QualityFormat ChosenQuality(const settings::CaptureSettings& s)
{
    QualityFormat q;
    if (s.setupMode == 3) {
        static const char* const kNames[] = {"MPEG1", "MPEG2", "VCD", "SVCD"};
        const int mode = s.custom.captureMode;
        if (mode < 1 || mode > 4)
            return q;
        q = {true, kNames[mode - 1], s.custom.bitRate, mode == 1 || mode == 3};
        return q;
    }
    if (s.capture == 1) {
        switch (s.qualityMpeg1) {
        case 0: return {true, "VCD", kVcdBitRate, false};
        case 1: return {true, "MPEG1", s.emailBitrate, true};
        case 2: return {true, "MPEG1", s.normalBitrate, true};
        default: return q;
        }
    }
    if (s.capture == 2) {
        switch (s.qualityMpeg2) {
        case 0: return {true, "SVCD", s.svcdBitrate, false};
        case 1: return {true, "DVD", s.dvdBitrate, false};
        default: return {true, "MPEG2", 0, false};
        }
    }
    return q;
}

std::string StatusBitRateText(const QualityFormat& quality)
{
    if (!quality.known)
        return "";
    if (quality.mpeg1 && quality.bitRate < 100000)
        return recording::RateText(quality.bitRate, 1000, "KBps");
    return recording::RateText(quality.bitRate, 1000000, "MBps");
}

std::string InformationLine(int state, int standardIndex, const InformationContext& context)
{
    switch (state) {
    case kInfoVersion:
        return VersionLine(context.version);
    case kInfoCaptureStopped:
    case kInfoRecording: {
        if (!context.settings)
            return "";
        const QualityFormat quality = ChosenQuality(*context.settings);
        std::string line = StandardName(*context.settings, standardIndex) + " " + quality.name + " " +
                           StatusBitRateText(quality);
        if (state == kInfoRecording && !context.timeLeft.empty())
            line += "  " + context.timeLeft;
        return line;
    }
    case kInfoPlayback: {
        if (context.videoWidth <= 0 || context.videoHeight <= 0)
            return context.playbackCaption;
        char size[48];
        std::snprintf(size, sizeof size, " %ldx%ld", context.videoWidth, context.videoHeight);
        return context.playbackCaption + size;
    }
    default:
        return "";
    }
}

}  // namespace shell
