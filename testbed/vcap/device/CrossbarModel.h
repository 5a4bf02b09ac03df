#pragma once
// The card's analog front end as the crossbar chip sees it: its video inputs (each with the
// audio input that belongs to it), its two decoder outputs, and what may be routed where.
// Plain logic; the crossbar filter persists the route with the card so the capture filter
// knows which input the decoder sees.
#include <windows.h>
#include <strmif.h>

#include <cstddef>

namespace vcap {

struct CrossbarPin {
    const wchar_t* name;
    long physicalType;   // PhysicalConnectorType
    long related;        // index of the related pin on the same side (-1: none)
    const wchar_t* key;  // control-channel name of a video input ("svideo1"), else null
};

constexpr long kCrossbarInputs = 14;
constexpr long kCrossbarOutputs = 2;
constexpr long kVideoOutput = 0;
constexpr long kAudioOutput = 1;
constexpr long kVideoInputCount = 7;  // inputs 0..6 are video, 7..13 their audio
constexpr long kTunerVideoInput = 0;
constexpr long kDefaultVideoInput = 1;  // first composite input

const CrossbarPin& CrossbarInput(long index);
const CrossbarPin& CrossbarOutput(long index);
bool IsVideoInput(long input);
// The video input named by its control-channel key, or -1.
long VideoInputByKey(const wchar_t* key);

class CrossbarModel {
public:
    // Video inputs reach the video decoder output only, audio inputs the audio output only;
    // -1 (nothing) may be routed to either output.
    static bool CanRoute(long output, long input);

    // Routes and returns true, or false when the route is not possible. Routing a video input
    // brings its related audio input along, as the card's audio switch follows the video.
    bool Route(long output, long input);
    long RoutedTo(long output) const;

    void Restore(long video, long audio);

private:
    long video_ = kDefaultVideoInput;
    long audio_ = kDefaultVideoInput + kVideoInputCount;
};

}  // namespace vcap
