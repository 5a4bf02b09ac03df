#pragma once
// What the capture engine asks of the main window. Every default does nothing, so a test or a
// partial program supplies only what it has. All calls come on the window's thread.
#include <windows.h>

#include <cstdint>
#include <string>

namespace capture {

// The failure texts of the capture engine (the text library's numbers).
enum CaptureText : int {
    kTextRunFailed = 103,
    kTextVideoWindowFailed = 104,
    kTextGraphFailed = 106,
    kTextCrossbarFailed = 107,
    kTextCaptureFilterFailed = 108,
    kTextFrontEndConnectFailed = 109,
    kTextDemuxNotAdded = 110,
    kTextMpeg1DemuxNotConnected = 111,
    kTextSmartTeeNotAdded = 112,
    kTextSmartTeeNotConnected = 113,
    kTextSmartTeePreviewMissing = 114,
    kTextSinkNotAdded = 116,
    kTextSinkNotConnected = 117,  // also the smart tee's capture output missing
    kTextNoFileSink = 118,
    kTextFileNameRefused = 119,
    kTextVideoPinNotCreated = 120,
    kTextVideoPinNoMap = 121,
    kTextVideoMapFailed = 122,
    kTextFallbackDecoderNotAdded = 123,
    kTextPreviewNotRendered = 124,
    kTextAudioPinNotCreated = 126,
    kTextAudioPinNoMap = 127,
    kTextAudioMapFailed = 128,
    kTextOverlayMixerNotAdded = 139,
    kTextNoReferenceClock = 145,
    kTextInfiniteTeeNotAdded = 146,
    kTextInfiniteTeeNotConnected = 147,
    kTextInfiniteTeePreviewMissing = 148,
    kTextInfiniteTeeCaptureMissing = 149,
    kTextMpeg1DemuxNotAdded = 202,
    kTextMpeg1WriterNotConnected = 203,
    kTextMpeg1WriterNotAdded = 204,
    kTextFlowControlNotAdded = 229,
    kTextWriteError = 231,
    kTextDiskFull = 232,
    kTextVolumeLimit = 233,
    kTextCompressorConnectFailed = 3033,
    kTextCompressorFormatFailed = 3042,
};

// Main-window message that carries the capture graph's events.
constexpr UINT kMsgCaptureGraphEvent = 1038;

class CaptureHost {
public:
    virtual ~CaptureHost() = default;

    // The window that receives the graph's events, and the video area (control 1000) that
    // owns the preview's video window.
    virtual HWND EventWindow() { return nullptr; }
    virtual HWND VideoArea() { return nullptr; }
    // The window shows the capture device (MODE_CAPTURE).
    virtual bool InCaptureMode() { return false; }
    // The user's preview display switch.
    virtual bool PreviewOn() { return true; }

    // A numbered failure text with the result code as its first argument (and `name` as the
    // second for the texts that name a filter).
    virtual void ReportError(int /*textId*/, HRESULT /*hr*/, const char* /*name*/ = nullptr) {}
    // Only the log part of a numbered text.
    virtual void LogError(int /*textId*/, HRESULT /*hr*/) {}
    // A failure the engine words itself, shown in a message box titled with the program's name.
    virtual void ShowFailure(const std::string& /*text*/) {}
    // A line for the log only.
    virtual void LogLine(const std::string& /*text*/) {}

    // The preview's rectangle in the video area, remembered by the window.
    virtual void PreviewPlaced(const RECT& /*rect*/) {}
    virtual void RedrawNow() {}
    virtual void ShowIdlePicture() {}
    // Separate streams: the recording's video file is now called `name`.
    virtual void CaptureFileRenamed(const std::string& /*name*/) {}
    // The tuner input needs the tuner set up once per graph.
    virtual void InitialiseTuner() {}

    // A writer stopped the recording: the window stops it through its record command and
    // reports `textId` (0: stopped without a message).
    virtual void WriterStopped(int /*textId*/) {}
    virtual void ShowWrittenSize(uint64_t /*bytes*/) {}

    // The graph is being released (capture ended), and released (refresh the controls).
    virtual void CaptureEnded() {}
    virtual void RefreshControls() {}
    // The auto-record request of a detected signal: arm the window's timer 10017.
    virtual void StartAutoRecordTimer() {}
};

}  // namespace capture
