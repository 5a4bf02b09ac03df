#pragma once
// The details a finished recording is listed with in the recent recordings: taken from the
// encoder block that was actually applied when the recording started, so a preset recording
// is not listed with the custom template's values.
#include <string>

#include "CustomTemplate.h"
#include "RecentRecordings.h"

namespace recording {

// The values of the applied block that the list shows.
struct AppliedFormat {
    int captureMode = 2;       // 1 MPEG-1, 2 MPEG-2, 3 VCD, 4 SVCD
    int width = 0;
    int height = 0;
    bool variableBitRate = false;
    int bitRate = 0;           // bit/s
    int samplingFrequency = 0; // Hz
    int audioBitRate = 0;      // kbit/s, as the encoder keeps it

    static AppliedFormat FromTemplate(const settings::CustomTemplate& block);
};

// Whole units and two decimals of a rate, truncated, then a blank and `unit`: "%d.%d%d <unit>"
// with `divisor` 1000 or 1,000,000. A negative rate reads as 0.
std::string RateText(int value, int divisor, const char* unit);
// "%d.%d%d Mbps", or "%d.%d%d Kbps" below 100,000 bit/s.
std::string VideoBitRateText(int bitRate);
// "%d.%d KHz": thousands and hundreds of Hz.
std::string SamplingRateText(int hertz);
// "%d Kbps" of a rate already in kbit/s; 0 reads "384 Kbps".
std::string AudioBitRateText(int kbps);

// The entry for a recording at `path` that lasted `duration` ("hh:mm:ss").
settings::RecentEntry RecentEntryFor(const std::string& path, const AppliedFormat& format,
                                     const std::string& duration);

}  // namespace recording
