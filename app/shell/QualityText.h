#pragma once
// The information line of the status display: the video standard, the stream format and the
// bit rate of the chosen quality, or the version or playback caption, by display state.
// Plain text rules over the settings record, no window.
#include <string>

#include "CaptureSettings.h"

namespace shell {

// What the information line shows.
enum InformationState { kInfoVersion = 0, kInfoCaptureStopped = 1, kInfoRecording = 2, kInfoPlayback = 3 };

// "NTSC", "PAL", "SECAM" or empty. With a custom template its own standard code decides
// (0 NTSC, 1 PAL); otherwise the engine's standard index (0 NTSC, 1 PAL, 2 SECAM).
std::string StandardName(const settings::CaptureSettings& s, int standardIndex);

// The chosen quality as the status display names it.
struct QualityFormat {
    bool known = false;   // false for a quality value the table does not list
    std::string name;     // "MPEG1", "MPEG2", "VCD", "SVCD", "DVD"
    int bitRate = 0;      // bit/s
    bool mpeg1 = false;   // an MPEG-1 quality other than VCD: small rates are shown in KBps
};
QualityFormat ChosenQuality(const settings::CaptureSettings& s);

// "%d.%d%d KBps" below 100,000 bit/s for an MPEG-1 quality, else "%d.%d%d MBps"; empty for an
// unknown quality.
std::string StatusBitRateText(const QualityFormat& quality);

// What the information line needs besides the settings.
struct InformationContext {
    const settings::CaptureSettings* settings = nullptr;
    std::string version;          // the program's version string
    std::string playbackCaption;  // text 141
    long videoWidth = -1;         // playback picture size, -1 when not known
    long videoHeight = -1;
    std::string timeLeft;         // while recording: "hh:mm left", empty while not known
};

// The line for a state: the version line, "<standard> <format> <bit rate>" while capturing
// (and the time left while recording), or the playback caption with "<width>x<height>" when
// the size is known.
std::string InformationLine(int state, int standardIndex, const InformationContext& context);

}  // namespace shell
