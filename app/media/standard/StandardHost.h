#pragma once
// What the standard and input code needs from the program around it. The main window (the
// host) and the encoder configuration (the encoder link) implement these; every default does
// nothing, so a partial program or a test supplies only what it has.
#include <windows.h>
#include <dshow.h>

namespace media {

// Texts of the failures this code reports through the host.
constexpr int kCrossbarPinCountsText = 136;
constexpr int kCrossbarPinInfoText = 137;
constexpr int kCrossbarRouteText = 138;

// The encoder's stream family and line standard, sent ahead of the parameter block:
// `captureMode` 1..4, `captureStandard` 0 = 525-line, 1 = 625-line.
struct StandardPair {
    int captureMode = 2;
    int captureStandard = 1;
};

class StandardHost {
public:
    virtual ~StandardHost() = default;
    // The main window shows the capture device's preview (MODE_CAPTURE).
    virtual bool InCaptureMode() { return false; }
    // The tuner input's standard belongs to the current channel.
    virtual long ChannelStandard() { return 0; }
    virtual void StoreChannelStandard(long /*standard*/) {}
    // "AutoRecord" is on and the main window's auto-record-done flag is clear.
    virtual bool AutoRecordWanted() { return false; }
    // Arms the main window's 100 ms timer 10017, which begins the automatic recording.
    virtual void StartAutoRecordTimer() {}
    // Around a stop and run of the graph: the device events stop before it; after it they
    // restart and the preview visibility is applied again.
    virtual void GraphStopping() {}
    virtual void GraphRestarted() {}
    // The standard in force changed: the main window refreshes what it shows of it.
    virtual void StandardChanged() {}
    // A numbered error text (136-138) with the result code as its first argument.
    virtual void ReportError(int /*textId*/, HRESULT /*hr*/) {}
};

// The encoder configuration's share in applying a standard.
class EncoderLink {
public:
    virtual ~EncoderLink() = default;
    // Reads the device's mode pair and copies the stored encoder block into the engine.
    virtual bool LoadDeviceState(StandardPair* pair) = 0;
    // Applies the encoder's sampling rate, clamped to the "Virtual Audio Out" pin's range.
    virtual void ApplySamplingRate(IBaseFilter* capture) = 0;
    // Derives the encoder parameter block again for the pair's standard and keeps it.
    virtual void Rederive(const StandardPair& pair) = 0;
};

}  // namespace media
